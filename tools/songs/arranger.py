"""Lays melody, accompaniment, bass and drums of one song out section by section."""

from midi_writer import (DRUM_CHANNEL, Humanizer, Track, parse_chords, parse_melody, seconds,
                         voice, write_midi)

# General MIDI percussion keys used by the grooves.
KICK, SIDE, SNARE, CLAP, HAT, PEDAL_HAT, OPEN_HAT, CRASH, RIDE = 36, 37, 38, 39, 42, 44, 46, 49, 51
TAMBOURINE, COWBELL, CLAVES, SHAKER, TRIANGLE, LOW_TOM, MID_TOM = 54, 56, 75, 70, 81, 45, 47

_HITS = {"X": 112, "x": 88, "o": 62, "-": 40}


class Arrangement:
    def __init__(self, title, numerator, denominator, bpm, seed):
        self.title = title
        self.numerator, self.denominator = numerator, denominator
        self.bar = numerator * 4.0 / denominator
        self.tempos = [(0.0, bpm)]
        self.tracks = {}
        self.now = 0.0
        self.human = Humanizer(seed)

    # ---- set-up -------------------------------------------------------------------------
    def add(self, role, program, channel, volume=100, pan=64, reverb=45):
        self.tracks[role] = Track(role, channel, program, volume, pan, reverb)

    def drums(self, volume=90, reverb=35):
        self.tracks["drums"] = Track("drums", DRUM_CHANNEL, 0, volume, 64, reverb)

    def tempo(self, bpm):
        self.tempos.append((self.now, bpm))

    def program(self, role, program):
        self.tracks[role].program(self.now, program)

    # ---- sections -----------------------------------------------------------------------
    def section(self, melody, chords, lead="lead", velocity=96, shift=0, comp="pad",
                bass="root", groove=None, fill=True, crash=False, gate=0.92, extra=()):
        """One stretch of music; `extra` adds (role, melody text, velocity, shift) voices."""
        notes, length = parse_melody(melody, self.bar)
        harmony, harmony_length = parse_chords(chords, self.bar)
        if abs(length - harmony_length) > 1e-6:
            raise ValueError(f"{self.title}: melody {length} beats, chords {harmony_length}")
        self._lead(lead, notes, velocity, shift, gate)
        for role, text, voice_velocity, voice_shift in extra:
            extra_notes, extra_length = parse_melody(text, self.bar)
            if abs(extra_length - length) > 1e-6:
                raise ValueError(f"{self.title}: voice {role} is {extra_length} beats")
            self._lead(role, extra_notes, voice_velocity, voice_shift, gate)
        if comp:
            COMP[comp](self, harmony)
        if bass:
            BASS[bass](self, harmony)
        if groove:
            self._groove(groove, length, fill, crash)
        self.now += length

    def ending(self, chord, beats, velocity=90):
        """The final chord, held, with a cymbal."""
        harmony, _ = parse_chords(f"{chord}:{beats}", beats)
        root, intervals, _, _ = harmony[0]
        for key in voice(root, intervals, 55, 67):
            self._note("comp", key, 0, beats, velocity - 20, 0.98)
        for key in voice(root, intervals, 67, 79):
            self._note("lead", key, 0, beats, velocity, 0.98)
        self._note("bass", 36 + (root - 36) % 12, 0, beats, velocity, 0.98)
        if "drums" in self.tracks:
            self._note("drums", CRASH, 0, 1, velocity + 10)
            self._note("drums", KICK, 0, 1, velocity + 10)
        self.now += beats

    def seconds(self):
        return seconds(self.tempos, self.now)

    def write(self, path):
        write_midi(path, self.title, self.numerator, self.denominator, self.tempos,
                   list(self.tracks.values()), self.now + 1.0)

    # ---- helpers ------------------------------------------------------------------------
    def _note(self, role, key, offset, beats, velocity, gate=0.92):
        self.tracks[role].note(key, self.now + offset, beats, self.human(velocity), gate)

    def _lead(self, role, notes, velocity, shift, gate):
        for key, start, beats in notes:
            accent = 8 if abs(start % self.bar) < 1e-6 else 0
            self._note(role, key + shift, start, beats, velocity + accent, gate)

    def _groove(self, pattern, length, fill, crash):
        bars = round(length / self.bar)
        for bar in range(bars):
            last = fill and bar == bars - 1 and bars > 1
            for key, hits in pattern.items():
                step = self.bar / len(hits)
                for index, hit in enumerate(hits):
                    offset = index * step
                    if hit == "." or (last and offset >= self.bar - 1 and key != KICK):
                        continue
                    self._note("drums", key, bar * self.bar + offset, step, _HITS[hit], 0.5)
            if last:
                for index in range(4):
                    self._note("drums", SNARE if index < 2 else MID_TOM,
                               bar * self.bar + self.bar - 1 + index * 0.25, 0.25, 70 + 10 * index, 0.5)
        if crash:
            self._note("drums", CRASH, 0, 1, 100)

    def beats(self, harmony):
        """(root, intervals, offset, beats, position in bar) for every beat of the harmony."""
        for root, intervals, start, beats in harmony:
            position = start
            while position < start + beats - 1e-6:
                step = min(1.0, start + beats - position)
                yield root, intervals, position, step, (self.now + position) % self.bar
                position += step


# ---- accompaniment ----------------------------------------------------------------------
def comp_pad(song, harmony, velocity=54):
    for root, intervals, start, beats in harmony:
        if root is not None:
            for key in voice(root, intervals, 55, 67):
                song._note("comp", key, start, beats, velocity, 0.98)


def comp_afterbeat(song, harmony):
    """Chords between the bass notes: beats 2 and 3 of a waltz, the second half of each beat
    otherwise."""
    for root, intervals, offset, beats, position in song.beats(harmony):
        if root is None:
            continue
        if song.numerator == 3 and song.denominator == 4:
            if position >= 1 - 1e-6:
                for key in voice(root, intervals, 57, 69):
                    song._note("comp", key, offset, beats, 58, 0.55)
        elif beats >= 1 - 1e-6:
            for key in voice(root, intervals, 57, 69):
                song._note("comp", key, offset + 0.5, 0.5, 60, 0.6)


def comp_arpeggio(song, harmony, step=0.5, low=52):
    for root, intervals, start, beats in harmony:
        if root is None:
            continue
        tones = voice(root, intervals, low, low + 12)
        figure = tones + [tones[0] + 12] + tones[1:][::-1]
        count = round(beats / step)
        for index in range(count):
            song._note("comp", figure[index % len(figure)], start + index * step, step,
                       56 if index % 2 else 64, 0.98)


def comp_sixteenths(song, harmony):
    comp_arpeggio(song, harmony, 0.25, 55)


def comp_strum(song, harmony):
    for root, intervals, offset, beats, position in song.beats(harmony):
        if root is not None:
            accent = 8 if position < 1e-6 else 0
            for key in voice(root, intervals, 55, 67):
                song._note("comp", key, offset, beats, 56 + accent, 0.7)


COMP = {"pad": comp_pad, "after": comp_afterbeat, "arp": comp_arpeggio,
        "arp16": comp_sixteenths, "strum": comp_strum}


# ---- bass -------------------------------------------------------------------------------
def _bass_key(root, interval=0):
    return 36 + (root + interval - 36) % 12


def bass_root(song, harmony):
    for root, intervals, start, beats in harmony:
        if root is not None:
            song._note("bass", _bass_key(root), start, beats, 88, 0.95)


def bass_downbeats(song, harmony):
    """Root on the first beat of a bar (and on each new chord), fifth on the middle beat."""
    middle = song.bar / 2 if song.numerator % 2 == 0 else None
    for root, intervals, offset, beats, position in song.beats(harmony):
        if root is None:
            continue
        if position < 1e-6 or abs(offset - _chord_start(harmony, offset)) < 1e-6:
            song._note("bass", _bass_key(root), offset, beats, 92, 0.8)
        elif middle is not None and abs(position - middle) < 1e-6:
            song._note("bass", _bass_key(root, intervals[2]), offset, beats, 84, 0.8)


def bass_walking(song, harmony):
    """Root, chord tones, and a step towards the next root."""
    pattern = (0, 2, 1)
    for index, (root, intervals, start, beats) in enumerate(harmony):
        if root is None:
            continue
        following = next((h[0] for h in harmony[index + 1:] if h[0] is not None), root)
        count = max(1, round(beats))
        for step in range(count):
            if step == count - 1 and count > 1:
                target = _bass_key(following)
                key = target - 1 if _bass_key(root) < target else target + 1
            else:
                key = _bass_key(root, intervals[pattern[step % 3]] if step else 0)
            song._note("bass", key, start + step, beats / count, 88 if step == 0 else 78, 0.85)


def bass_eighths(song, harmony):
    for root, intervals, start, beats in harmony:
        if root is None:
            continue
        for index in range(round(beats / 0.5)):
            song._note("bass", _bass_key(root), start + index * 0.5, 0.5, 90 if index % 2 == 0 else 74, 0.7)


def bass_habanera(song, harmony):
    """Dotted eighth, sixteenth, two eighths: root, root, fifth, root."""
    for root, intervals, offset, beats, position in song.beats(harmony):
        if root is None:
            continue
        if position % 2 < 1e-6:
            song._note("bass", _bass_key(root), offset, 0.75, 94, 0.9)
            song._note("bass", _bass_key(root), offset + 0.75, 0.25, 78, 0.9)
        else:
            song._note("bass", _bass_key(root, intervals[2]), offset, 0.5, 86, 0.9)
            song._note("bass", _bass_key(root), offset + 0.5, 0.5, 80, 0.9)


def _chord_start(harmony, offset):
    return max(start for _, _, start, _ in harmony if start <= offset + 1e-6)


BASS = {"root": bass_root, "down": bass_downbeats, "walk": bass_walking,
        "eighths": bass_eighths, "habanera": bass_habanera}
