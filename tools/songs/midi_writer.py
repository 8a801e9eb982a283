"""Arranging helpers and a standard MIDI file (format 1) writer for the song generator.

Times are in beats (quarter notes) until the file is written. Melodies are written as text:
notes like "f#5:8" (pitch with octave, C4 = 60; ':' then 1 2 4 8 16 for the note value, a
trailing '.' dots it, the value carries over to the next notes), "r" for a rest and a
trailing '~' to tie into the next note of the same pitch. '|' separates bars, and every bar
is checked against the time signature.
"""

import random
import re
import struct

PPQ = 480
DRUM_CHANNEL = 9

_STEPS = {"c": 0, "d": 2, "e": 4, "f": 5, "g": 7, "a": 9, "b": 11}
_NOTE = re.compile(r"^(r|[a-g](?:#|b)?-?\d)(?::(\d+)(\.?))?(~?)$")
_CHORD = re.compile(r"^([A-G](?:#|b)?)(m7|maj7|m|7|\+|dim)?(?::([\d.]+))?$")
_QUALITIES = {None: (0, 4, 7), "m": (0, 3, 7), "7": (0, 4, 7, 10), "m7": (0, 3, 7, 10),
              "maj7": (0, 4, 7, 11), "+": (0, 4, 8), "dim": (0, 3, 6)}


def pitch(name):
    """MIDI key of a note name such as 'c4', 'f#5' or 'bb3'."""
    letter, rest = name[0], name[1:]
    shift = 0
    if rest.startswith("#"):
        shift, rest = 1, rest[1:]
    elif rest.startswith("b") and len(rest) > 1:
        shift, rest = -1, rest[1:]
    return 12 * (int(rest) + 1) + _STEPS[letter] + shift


def parse_melody(text, bar_beats):
    """[(key or None, start, beats)] from melody text; ties merged, bar lengths checked."""
    notes, now, value = [], 0.0, 1.0
    tie_open = False
    for number, bar in enumerate(text.split("|")):
        tokens = bar.split()
        if not tokens:
            continue
        bar_start = now
        for token in tokens:
            m = _NOTE.match(token)
            if not m:
                raise ValueError(f"bad note {token!r}")
            name, denominator, dot, tie = m.groups()
            if denominator:
                value = 4.0 / int(denominator) * (1.5 if dot else 1.0)
            key = None if name == "r" else pitch(name)
            if tie_open and notes and notes[-1][0] == key:
                k, s, d = notes[-1]
                notes[-1] = (k, s, d + value)
            else:
                notes.append((key, now, value))
            tie_open = bool(tie)
            now += value
        if abs((now - bar_start) - bar_beats) > 1e-6:
            raise ValueError(f"bar {number + 1} holds {now - bar_start} beats: {bar.strip()!r}")
    return [n for n in notes if n[0] is not None], now


def parse_chords(text, bar_beats):
    """[(root pitch class or None, intervals, start, beats)] from 'C | G7 C | Am:2 E:1'."""
    chords, now = [], 0.0
    for bar in text.split("|"):
        names = bar.split()
        if not names:
            continue
        explicit = [_CHORD.match(n) for n in names]
        fixed = sum(float(m.group(3)) for m in explicit if m and m.group(3))
        free = sum(1 for n, m in zip(names, explicit) if n == "-" or not m.group(3))
        for name, m in zip(names, explicit):
            if name == "-":
                beats = (bar_beats - fixed) / free
                chords.append((None, (), now, beats))
            else:
                if not m:
                    raise ValueError(f"bad chord {name!r}")
                root, quality, length = m.groups()
                beats = float(length) if length else (bar_beats - fixed) / free
                chords.append(((pitch(root.lower() + "4") % 12), _QUALITIES[quality], now, beats))
            now += beats
    return chords, now


def voice(root, intervals, low, high):
    """The chord's tones placed inside [low, high)."""
    keys = []
    for interval in intervals:
        key = low + (root + interval - low) % 12
        keys.append(key if key < high else key - 12)
    return sorted(keys)


class Track:
    def __init__(self, name, channel, program, volume=100, pan=64, reverb=40):
        self.name, self.channel = name, channel
        self.events = []  # (tick, order, bytes): note-offs sort before note-ons at one tick
        self.sounding = {}
        self.controls(0, program, volume, pan, reverb)

    def controls(self, beat, program, volume, pan, reverb):
        tick = round(beat * PPQ)
        ch = self.channel
        if ch != DRUM_CHANNEL:
            self.events.append((tick, 1, bytes([0xC0 | ch, program])))
        for cc, value in ((7, volume), (10, pan), (91, reverb)):
            self.events.append((tick, 1, bytes([0xB0 | ch, cc, value])))

    def program(self, beat, program):
        self.events.append((round(beat * PPQ), 1, bytes([0xC0 | self.channel, program])))

    def note(self, key, start, beats, velocity, gate=0.92):
        if not 0 <= key <= 127:
            raise ValueError(f"key {key} out of range in {self.name}")
        velocity = max(1, min(127, int(velocity)))
        on = round(start * PPQ)
        off = max(on + 1, round((start + beats * gate) * PPQ))
        self.events.append((on, 2, bytes([0x90 | self.channel, key, velocity])))
        self.events.append((off, 0, bytes([0x80 | self.channel, key, 0])))

    def end_tick(self):
        return max((e[0] for e in self.events), default=0)


def _varlen(value):
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.append(0x80 | (value & 0x7F))
        value >>= 7
    return bytes(reversed(out))


def _chunk(tag, data):
    return tag + struct.pack(">I", len(data)) + data


def _track_bytes(name, events, end_tick):
    data = bytearray(b"\x00\xff\x03" + _varlen(len(name)) + name.encode("ascii"))
    last = 0
    for tick, _, message in sorted(events, key=lambda e: (e[0], e[1])):
        data += _varlen(tick - last) + message
        last = tick
    data += _varlen(end_tick - last) + b"\xff\x2f\x00"
    return bytes(data)


def write_midi(path, title, numerator, denominator, tempos, tracks, end_beat):
    """tempos: [(beat, beats per minute)]; the file ends at end_beat."""
    end_tick = max([round(end_beat * PPQ)] + [t.end_tick() for t in tracks])
    conductor = [(0, 0, bytes([0xFF, 0x58, 4, numerator, denominator.bit_length() - 1, 24, 8]))]
    for beat, bpm in tempos:
        micros = round(60_000_000 / bpm)
        conductor.append((round(beat * PPQ), 1, bytes([0xFF, 0x51, 3]) + micros.to_bytes(3, "big")))
    body = _chunk(b"MThd", struct.pack(">HHH", 1, len(tracks) + 1, PPQ))
    body += _chunk(b"MTrk", _track_bytes(title, conductor, end_tick))
    for track in tracks:
        body += _chunk(b"MTrk", _track_bytes(track.name, track.events, end_tick))
    with open(path, "wb") as out:
        out.write(body)
    return end_tick


def seconds(tempos, beats):
    """Playing time of the first `beats` beats under a tempo list."""
    total, points = 0.0, sorted(tempos) + [(beats, None)]
    for (start, bpm), (stop, _) in zip(points, points[1:]):
        if start < beats:
            total += (min(stop, beats) - start) * 60.0 / bpm
    return total


class Humanizer:
    """Small, repeatable velocity variation so that repeated notes do not sound mechanical."""

    def __init__(self, seed):
        self.random = random.Random(seed)

    def __call__(self, velocity, spread=6):
        return velocity + self.random.randint(-spread, spread)
