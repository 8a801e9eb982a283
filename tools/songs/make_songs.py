#!/usr/bin/env python3
"""Writes the game's nineteen background songs to resources/music/1.mid .. 19.mid.

Every song is arranged here from a public-domain melody: a lead voice, chords, bass and drums
on channel 10, General MIDI instruments. The output is deterministic: running this again gives
the same bytes. The order must match the captions in core/music/playlist.cpp.

    python3 tools/songs/make_songs.py [output directory]
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from arranger import (CLAP, CLAVES, COWBELL, HAT, KICK, OPEN_HAT, PEDAL_HAT, RIDE, SHAKER, SIDE,  # noqa: E402
                      SNARE, TAMBOURINE, TRIANGLE, Arrangement)

# General MIDI programs (0-based).
PIANO, HONKY_TONK, HARPSICHORD, CELESTA, GLOCKENSPIEL, MUSIC_BOX, VIBES, MARIMBA = 0, 3, 6, 8, 9, 10, 11, 12
XYLOPHONE, ORGAN, ACCORDION, NYLON_GUITAR, STEEL_GUITAR = 13, 16, 21, 24, 25
ACOUSTIC_BASS, FINGER_BASS, PICK_BASS, CONTRABASS = 32, 33, 34, 43
VIOLIN, CELLO, TREMOLO_STRINGS, PIZZICATO, HARP, STRINGS, SLOW_STRINGS = 40, 42, 44, 45, 46, 48, 49
TRUMPET, TROMBONE, TUBA, HORN, BRASS = 56, 57, 58, 60, 61
OBOE, BASSOON, CLARINET, PICCOLO, FLUTE, RECORDER = 68, 70, 71, 72, 73, 74
BANJO, FIDDLE = 105, 110


def band(song, lead, comp, bass, lead_volume=110, comp_volume=78, bass_volume=100):
    song.add("lead", lead, 0, lead_volume, 64, 55)
    song.add("comp", comp, 1, comp_volume, 44, 60)
    song.add("bass", bass, 2, bass_volume, 64, 30)
    song.drums()


def ode_to_joy():
    s = Arrangement("Ode to Joy", 4, 4, 112, 1)
    band(s, PIANO, STRINGS, ACOUSTIC_BASS)
    s.add("second", FLUTE, 3, 90, 84, 60)
    a1 = "f#5:4 f#5 g5 a5 | a5 g5 f#5 e5 | d5 d5 e5 f#5 | f#5:4. e5:8 e5:2"
    a2 = "f#5:4 f#5 g5 a5 | a5 g5 f#5 e5 | d5 d5 e5 f#5 | e5:4. d5:8 d5:2"
    b = "e5:4 e5 f#5 d5 | e5 f#5:8 g5 f#5:4 d5 | e5 f#5:8 g5 f#5:4 e5 | d5:4 e5 a4:2"
    ca1, ca2, cb = "D | A7 | D | A", "D | A7 | D | A D", "A D | A D | A | D A"
    rock = {KICK: "x...x...", SNARE: "..x...x.", HAT: "xoxoxoxo"}
    soft = {KICK: "x.......", SIDE: "..o...o.", HAT: "o.o.o.o."}
    s.section("r:1", "D", comp="pad", bass="root", groove=soft, fill=False)
    for round_ in range(3):
        groove = soft if round_ == 0 else rock
        comp = "arp" if round_ == 0 else "strum"
        # From the second round on the flute doubles the tune an octave higher.
        def double(melody):
            return () if round_ == 0 else (("second", melody, 72, 12),)
        s.section(a1, ca1, comp=comp, bass="down", groove=groove, crash=round_ > 0, extra=double(a1))
        s.section(a2, ca2, comp=comp, bass="down", groove=groove, extra=double(a2))
        s.section(b, cb, comp=comp, bass="walk", groove=groove, extra=double(b))
        s.section(a2, ca2, comp=comp, bass="down", groove=groove, extra=double(a2))
    s.ending("D", 4)
    return s


def mountain_king():
    s = Arrangement("In the Hall of the Mountain King", 4, 4, 126, 2)
    band(s, BASSOON, PIZZICATO, CONTRABASS, comp_volume=90)
    a = ("b3:4 c#4 d4 e4 | f#4 d4 f#4:2 | e#4:4 c#4 e#4:2 | e4:4 c4 e4:2 | "
         "b3:4 c#4 d4 e4 | f#4 d4 f#4 b4 | a4 f#4 d4 f#4 | a4:1")
    b = ("f#4:4 g#4 a#4 b4 | c#5 a#4 c#5:2 | d5:4 a#4 d5:2 | c#5:4 a#4 c#5:2 | "
         "f#4:4 g#4 a#4 b4 | c#5 a#4 c#5 f#5 | e5 c#5 a#4 c#5 | e5:1")
    ca = "Bm | Bm | C#7 | C | Bm | Bm | Bm | F#m"
    cb = "F# | F# | D+ | F# | F# | F# | F#7 | F#7"
    march = {KICK: "x...x...", SNARE: "..o...o.", TAMBOURINE: "o.o.o.o."}
    drive = {KICK: "x.x.x.x.", SNARE: "..x...x.", OPEN_HAT: "xxxxxxxx"}
    for round_, bpm in enumerate((126, 150, 176)):
        s.tempo(bpm)
        if round_ == 1:
            s.program("lead", CLARINET)
        if round_ == 2:
            s.program("lead", BRASS)
            s.program("comp", STRINGS)
        groove = march if round_ == 0 else drive
        shift = 12 if round_ else 0
        s.section(a, ca, shift=shift, comp="after", bass="eighths", groove=groove, crash=round_ > 0)
        s.section(a, ca, shift=shift, comp="after", bass="eighths", groove=groove)
        s.section(b, cb, shift=shift, comp="after", bass="eighths", groove=groove)
        s.section(a, ca, shift=shift, comp="after", bass="eighths", groove=groove)
    s.ending("Bm", 4, 100)
    return s


def greensleeves():
    s = Arrangement("Greensleeves", 3, 4, 96, 3)
    band(s, FLUTE, NYLON_GUITAR, ACOUSTIC_BASS, comp_volume=90)
    v1 = ("c5:2 d5:4 | e5:4. f5:8 e5:4 | d5:2 b4:4 | g4:4. a4:8 b4:4 | "
          "c5:2 a4:4 | a4:4. g#4:8 a4:4 | b4:2 g#4:4 | e4:2 a4:4")
    v2 = ("c5:2 d5:4 | e5:4. f5:8 e5:4 | d5:2 b4:4 | g4:4. a4:8 b4:4 | "
          "c5:4. b4:8 a4:4 | g#4:4. f#4:8 g#4:4 | a4:2. | r:2.")
    c1 = ("g5:2. | g5:4. f#5:8 e5:4 | d5:2 b4:4 | g4:4. a4:8 b4:4 | "
          "c5:2 a4:4 | a4:4. g#4:8 a4:4 | b4:2 g#4:4 | e4:2.")
    c2 = ("g5:2. | g5:4. f#5:8 e5:4 | d5:2 b4:4 | g4:4. a4:8 b4:4 | "
          "c5:4. b4:8 a4:4 | g#4:4. f#4:8 g#4:4 | a4:2. | r:2 a4:4")
    hv1, hv2 = "Am | C | G | Em | F | Am | E | E", "Am | C | G | Em | Am | E | Am | Am"
    hc1, hc2 = "C | Em | G | Em | F | Am | E | E", "C | Em | G | Em | Am | E | Am | Am"
    gentle = {KICK: "x..", SIDE: "..o", SHAKER: "-o-o-o"}
    s.section("r:2 a4:4", "Am", comp="arp", bass="down", groove=gentle, fill=False)
    for round_ in range(2):
        if round_ == 1:
            s.program("lead", OBOE)
        s.section(v1, hv1, comp="arp", bass="down", groove=gentle)
        s.section(v2, hv2, comp="arp", bass="down", groove=gentle)
        s.section(c1, hc1, comp="arp", bass="down", groove=gentle)
        s.section(c2, hc2, comp="arp", bass="down", groove=gentle)
    s.ending("Am", 3, 80)
    return s


def scarborough_fair():
    s = Arrangement("Scarborough Fair", 3, 4, 104, 4)
    band(s, RECORDER, HARP, FINGER_BASS, comp_volume=95)
    s.add("second", SLOW_STRINGS, 3, 70, 90, 70)
    verse = ("d5:2 d5:4 | a5:2 a5:4 | e5:4. f5:8 e5:4 | d5:2. | r:4 a5:4 c6:4 | d6:2 c6:4 | "
             "a5:4 b5:4 g5:4 | a5:2. | r:4 d6:4 d6:4 | d6:2 c6:4 | a5:4 a5:4 g5:4 | f5:4 e5:4 c5:4 | "
             "d5:2 a4:4 | g4:2 f4:4 | e4:4 d4:4 c4:4 | d4:2.")
    chords = "Dm | Dm | C | Dm | F | G | G | Am | Dm | G | Am | C | Dm | C | Am | Dm"
    pad = ("d4:2. | f4:2. | e4:2. | f4:2. | a4:2. | b4:2. | b4:2. | c5:2. | a4:2. | b4:2. | "
           "c5:2. | g4:2. | f4:2. | e4:2. | e4:2. | f4:2.")
    brush = {KICK: "x..", SIDE: ".o.", RIDE: "o-o"}
    for round_ in range(4):
        extra = (("second", pad, 60, 0),) if round_ in (1, 3) else ()
        if round_ == 2:
            s.program("lead", FLUTE)
        s.section(verse, chords, comp="arp", bass="down", groove=brush if round_ else None,
                  extra=extra, velocity=88)
    s.ending("Dm", 3, 76)
    return s


def rondo_alla_turca():
    s = Arrangement("Rondo alla Turca", 2, 4, 126, 5)
    band(s, HARPSICHORD, PIANO, PICK_BASS, comp_volume=70)
    a = ("c5:8 r:8 d5:16 c5 b4 c5 | e5:8 r:8 f5:16 e5 d#5 e5 | b5:16 a5 g#5 a5 b5 a5 g#5 a5 | "
         "c6:4 a5:8 c6:8 | b5:8 a5:8 g#5:8 a5:8 | e5:8 f5:8 d5:8 c5:8 | b4:8 c5:16 b4 a4:8 g#4:8 | "
         "a4:4 b4:16 a4 g#4 a4")
    b = ("e5:8 f5 g5 g5 | a5:16 g5 f5 e5 d5:4 | e5:8 f5 g5 g5 | a5:16 g5 f5 e5 d5:4 | "
         "c5:8 d5 e5 e5 | f5:16 e5 d5 c5 b4:4 | c5:8 d5 e5 e5 | f5:16 e5 d5 c5 b4:16 a4 g#4 a4")
    ca = "Am | Am | E | Am | E | Am Dm | E | Am"
    cb = "C | G | C | G | Am | E | Am | E"
    turkish = {KICK: "X...x...", SNARE: "....x.x.", TAMBOURINE: "o.o.o.o."}
    s.section("r:4 b4:16 a4 g#4 a4", "Am", comp=None, bass=None)
    for round_ in range(3):
        if round_ == 1:
            s.program("lead", XYLOPHONE)
        if round_ == 2:
            s.program("lead", HARPSICHORD)
        for melody, chords in ((a, ca), (a, ca), (b, cb), (a, ca)):
            s.section(melody, chords, comp="after", bass="down", groove=turkish, gate=0.8)
    s.ending("Am", 2, 96)
    return s


def canon_in_d():
    s = Arrangement("Canon in D", 4, 4, 72, 6)
    band(s, VIOLIN, STRINGS, CELLO, comp_volume=70, bass_volume=95)
    s.add("second", HARP, 3, 85, 90, 60)
    chords = "D A | Bm F#m | G D | G A"
    halves = "f#5:2 e5 | d5 c#5 | b4 a4 | b4 c#5"
    quarters = "d5:4 f#5 a5 g5 | f#5 d5 f#5 e5 | d5 b4 d5 a5 | g5 b5 a5 g5"
    eighths = ("f#5:8 d5 e5 f#5 e5 c#5 d5 e5 | d5 b4 c#5 d5 c#5 a4 b4 c#5 | "
               "b4 g4 a4 b4 a4 f#4 g4 a4 | g4 b4 a4 g4 a4 c#5 e5 a5")
    high = "f#6:2 e6 | d6 c#6 | b5 a5 | b5 c#6"
    calm = {KICK: "x.......", SIDE: "....o...", RIDE: "o.-.o.-."}
    steady = {KICK: "x...x...", SNARE: "....o...", RIDE: "o-o-o-o-"}
    s.section(halves, chords, lead="second", comp="pad", bass="root", velocity=60)
    s.section(halves, chords, comp="pad", bass="root", groove=calm)
    s.section(quarters, chords, comp="pad", bass="root", groove=calm,
              extra=(("second", halves, 60, -12),))
    s.section(eighths, chords, comp="arp", bass="root", groove=steady, crash=True)
    s.section(quarters, chords, comp="arp", bass="root", groove=steady,
              extra=(("second", eighths, 55, 0),))
    s.section(high, chords, comp="arp", bass="root", groove=steady, velocity=88,
              extra=(("second", quarters, 60, 0),))
    s.section(eighths, chords, comp="pad", bass="root", groove=steady,
              extra=(("second", high, 55, -12),))
    s.section(halves, chords, comp="pad", bass="root", groove=calm, velocity=84)
    s.ending("D", 4, 80)
    return s


def fur_elise():
    s = Arrangement("Fur Elise", 3, 8, 72, 7)
    band(s, PIANO, PIANO, ACOUSTIC_BASS, comp_volume=70, bass_volume=80)
    head = ("e5:16 d#5 e5 b4 d5 c5 | a4:8 r:16 c4 e4 a4 | b4:8 r:16 e4 g#4 b4 | c5:8 r:16 e4 e5 d#5 | "
            "e5:16 d#5 e5 b4 d5 c5 | a4:8 r:16 c4 e4 a4 | b4:8 r:16 e4 c5 b4 | ")
    a1 = head + "a4:8 r:8 e5:16 d#5"
    a2 = head + "a4:8 r:16 b4 c5 d5"
    b = ("e5:8. g4:16 f5 e5 | d5:8. f4:16 e5 d5 | c5:8. e4:16 d5 c5 | b4:8 r:16 e4 e5 r | "
         "r:16 e5 e6 r r d#5 | e5 r r d#5 e5 d#5")
    chead = "E7 | Am | E7 | Am | E7 | Am | E7 | "
    ca = chead + "Am"
    cb = "C | G | Am | E | E | E"
    light = {KICK: "x..", HAT: "-o-o-o"}
    s.section("r:8 r:8 e5:16 d#5", "-", comp=None, bass=None)
    for round_ in range(3):
        groove = light if round_ else None
        s.section(a1, ca, comp="arp16", bass="down", groove=groove, fill=False)
        s.section(a2, ca, comp="arp16", bass="down", groove=groove, fill=False)
        s.section(b, cb, comp="arp16", bass="down", groove=groove, fill=False)
    s.section(head + "a4:8 r:8 r:8", ca, comp="arp16", bass="down", groove=light, fill=False)
    s.ending("Am", 3, 70)
    return s


def william_tell():
    s = Arrangement("William Tell Overture Finale", 2, 4, 152, 8)
    band(s, TRUMPET, STRINGS, PICK_BASS, comp_volume=72)
    a = ("b4:16 b4 b4:8 b4:16 b4 b4:8 | b4:16 b4 e5:8 f#5:8 g#5:8 | b4:16 b4 b4:8 b4:16 b4 e5:8 | "
         "g#5:8 f#5:8 d#5:8 b4:8 | b4:16 b4 b4:8 b4:16 b4 b4:8 | b4:16 b4 e5:8 f#5:8 g#5:8 | "
         "e5:8 g#5:8 f#5:8 d#5:8 | e5:4 r:4")
    b = ("g#5:8 g#5 g#5 f#5 | e5 e5 e5 d#5 | c#5 c#5 c#5 b4 | a4:4 b4:4 | "
         "g#5:8 g#5 g#5 f#5 | e5 e5 e5 d#5 | c#5 e5 d#5 f#5 | e5:4 r:4")
    ca = "E | E | E | B7 | E | E | B7 | E"
    cb = "E | C#m | A | B7 | E | C#m | A B7 | E"
    gallop = {KICK: "x.x.x.x.", SNARE: "..x...x.", HAT: "xoxoxoxo"}
    for round_ in range(4):
        if round_ == 2:
            s.program("lead", BRASS)
        shift = 12 if round_ == 3 else 0
        for melody, chords in ((a, ca), (a, ca), (b, cb), (a, ca)):
            s.section(melody, chords, comp="after", bass="eighths", groove=gallop, shift=shift,
                      gate=0.75, crash=melody is b)
    s.ending("E", 2, 104)
    return s


def can_can():
    s = Arrangement("Galop Infernal", 4, 4, 152, 9)
    band(s, PICCOLO, BRASS, TUBA, comp_volume=70)
    a = ("c5:4 d5:8 f5:8 e5:8 d5:8 g5:4 | g5:4 g5:8 a5:8 e5:8 f5:8 d5:4 | "
         "d5:4 d5:8 f5:8 e5:8 d5:8 c5:8 c6:8 | b5:8 a5:8 g5:8 f5:8 e5:8 d5:8 c5:4")
    b = ("e5:8 e5 e5 e5 f5 e5 d5 c5 | d5 d5 d5 d5 e5 d5 c5 b4 | c5 c5 c5 c5 d5 c5 b4 a4 | "
         "g4:4 b4 d5 g5")
    ca = "C | G7 | G7 C | G7 C"
    cb = "C | G7 | F | G"
    galop = {KICK: "x...x...", SNARE: "..x...x.", HAT: "xxxxxxxx", CLAP: "..o...o."}
    for round_ in range(4):
        if round_ == 1:
            s.program("lead", VIOLIN)
        if round_ == 3:
            s.program("lead", TRUMPET)
        for melody, chords in ((a, ca), (a, ca), (b, cb), (a, ca)):
            s.section(melody, chords, comp="after", bass="down", groove=galop, gate=0.8,
                      crash=melody is b)
    s.ending("C", 4, 104)
    return s


def the_entertainer():
    s = Arrangement("The Entertainer", 2, 4, 76, 10)
    band(s, HONKY_TONK, HONKY_TONK, ACOUSTIC_BASS, comp_volume=68)
    tune = ("e5:16 c6:8 e5:16 c6:8 e5:16 c6:16~ | c6:4 c6:16 d6:16 d#6:16 e6:16 | "
            "c6:16 d6:16 e6:8 b5:16 d6:8 c6:16~ | c6:4 r:8 d5:16 d#5:16 | "
            "e5:16 c6:8 e5:16 c6:8 e5:16 c6:16~ | c6:4 r:8 a5:16 g5:16 | "
            "f#5:16 a5:16 c6:16 e6:8 d6:16 c6:16 a5:16 | d6:4 r:8 d5:16 d#5:16 | "
            "e5:16 c6:8 e5:16 c6:8 e5:16 c6:16~ | c6:4 c6:16 d6:16 d#6:16 e6:16 | "
            "c6:16 d6:16 e6:8 b5:16 d6:8 c6:16~ | c6:4 r:8 c6:16 d6:16 | "
            "e6:16 c6:16 d6:16 e6:8 c6:16 d6:16 c6:16 | e6:16 c6:16 d6:16 e6:8 c6:16 d6:16 c6:16 | "
            "e6:16 c6:16 d6:16 e6:8 b5:16 d6:8 | c6:4 r:8 d5:16 d#5:16")
    chords = "C | C | C G7 | C | C | C D7 | D7 | G7 | C | C | C G7 | C C7 | C | C | G7 | C"
    rag = {KICK: "x...x...", SNARE: "..o...o.", HAT: "o.o.o.o."}
    s.section("r:4 r:8 d5:16 d#5:16", "C", comp=None, bass=None)
    for round_ in range(4):
        if round_ == 2:
            s.program("lead", VIBES)
        if round_ == 3:
            s.program("lead", HONKY_TONK)
        s.section(tune, chords, shift=-12 if round_ == 2 else 0, comp="after", bass="down",
                  groove=rag if round_ else None, gate=0.85)
    s.ending("C", 2, 90)
    return s


def drunken_sailor():
    s = Arrangement("Drunken Sailor", 4, 4, 128, 11)
    band(s, ACCORDION, STEEL_GUITAR, ACOUSTIC_BASS, comp_volume=75)
    verse = ("a4:4 a4:8 a4:8 a4:4 a4:8 a4:8 | a4:4 d4:4 f4:4 a4:4 | g4:4 g4:8 g4:8 g4:4 g4:8 g4:8 | "
             "g4:4 c4:4 e4:4 g4:4 | a4:4 a4:8 a4:8 a4:4 a4:8 a4:8 | a4:4 b4:4 c5:4 d5:4 | "
             "c5:4 a4:4 g4:4 e4:4 | d4:2 d4:2")
    chorus = ("a4:2 a4:2 | a4:4 d4:4 f4:4 a4:4 | g4:2 g4:2 | g4:4 c4:4 e4:4 g4:4 | "
              "a4:2 a4:2 | a4:4 b4:4 c5:4 d5:4 | c5:4 a4:4 g4:4 e4:4 | d4:2 d4:2")
    chords = "Dm | Dm | C | C | Dm | Dm | C | Dm"
    stomp = {KICK: "x...x...", SNARE: "..x...x.", TAMBOURINE: "oxoxoxox"}
    for round_, bpm in enumerate((128, 134, 140, 148)):
        s.tempo(bpm)
        if round_ == 1:
            s.program("lead", FIDDLE)
        if round_ == 3:
            s.program("lead", ACCORDION)
        s.section(verse, chords, shift=12, comp="strum", bass="down", groove=stomp, crash=True)
        s.section(chorus, chords, shift=12, comp="strum", bass="down", groove=stomp)
    s.ending("Dm", 4, 100)
    return s


def frere_jacques():
    s = Arrangement("Frere Jacques", 4, 4, 104, 12)
    band(s, MUSIC_BOX, PIANO, FINGER_BASS, comp_volume=55)
    s.add("voice2", MARIMBA, 3, 95, 30, 50)
    s.add("voice3", FLUTE, 4, 85, 98, 60)
    s.add("voice4", CLARINET, 5, 85, 64, 60)
    tune = ("f4:4 g4 a4 f4 | f4 g4 a4 f4 | a4 bb4 c5:2 | a4:4 bb4 c5:2 | "
            "c5:8 d5 c5 bb4 a4:4 f4 | c5:8 d5 c5 bb4 a4:4 f4 | f4 c4 f4:2 | f4:4 c4 f4:2")
    rest = "r:1 | r:1"
    times = 4
    # Each voice sings the tune `times` times, entering two bars after the one before.
    voices = []
    for index in range(4):
        lead = " | ".join([rest] * index + [tune] * times + [rest] * (3 - index))
        voices.append(lead)
    # All four voices sound the F major triad together, so the harmony stays on F throughout.
    chords = " | ".join(["F"] * (8 * times + 6))
    swing = {KICK: "x...x...", SIDE: "..o...o.", HAT: "o-o-o-o-"}
    s.section(voices[0], chords, shift=12, velocity=90, comp="arp", bass="down", groove=swing,
              fill=False, extra=[(f"voice{i + 1}", voices[i], 80, 12 if i % 2 == 0 else 0)
                                 for i in range(1, 4)])
    s.ending("F", 4, 80)
    return s


def swan_lake():
    s = Arrangement("Swan Lake Theme", 4, 4, 76, 13)
    band(s, OBOE, TREMOLO_STRINGS, CONTRABASS, comp_volume=80)
    a = ("f#5:2 b4:8 c#5:8 d5:8 e5:8 | f#5:4. d5:8 f#5:4. d5:8 | f#5:4. b4:8 d5:8 b4:8 g4:8 d5:8 | b4:1 | "
         "f#5:2 b4:8 c#5:8 d5:8 e5:8 | f#5:4. d5:8 f#5:4. d5:8 | f#5:4. b4:8 d5:8 b4:8 g4:8 d5:8 | b4:1")
    b = ("c#5:4 d5 e5 f#5 | g5:2 f#5:4 e5:4 | d5:4 e5 f#5 g5 | a5:2 g5:4 f#5:4 | "
         "e5:4 f#5:4 g5:4 a5:4 | b5:2 a5:4 g5:4 | f#5:2 e5:2 | f#5:1")
    ca = "Bm | D | Bm G | Bm | Bm | D | Bm G | Bm"
    cb = "A | Em | Bm | D | Em A | G | Bm F#7 | Bm"
    drama = {KICK: "x.......", SIDE: "....o...", RIDE: "o.o.o.o."}
    full = {KICK: "x...x...", SNARE: "....x...", RIDE: "x.o.x.o."}
    s.section("r:1 | r:1", "Bm | Bm", comp="pad", bass="root")
    s.section(a, ca, comp="pad", bass="root", groove=drama)
    s.section(b, cb, comp="pad", bass="root", groove=drama)
    s.program("lead", HORN)
    s.section(a, ca, comp="pad", bass="walk", groove=full, crash=True)
    s.program("lead", VIOLIN)
    s.section(b, cb, comp="pad", bass="walk", groove=full, shift=12)
    s.program("lead", OBOE)
    s.section(a, ca, comp="pad", bass="root", groove=drama)
    s.ending("Bm", 4, 80)
    return s


def habanera():
    s = Arrangement("Habanera", 2, 4, 72, 14)
    band(s, VIOLIN, NYLON_GUITAR, ACOUSTIC_BASS, comp_volume=85)
    verse = ("d5:4 c#5:8. c5:16 | c5:8 b4:8 bb4:8. a4:16 | a4:8 ab4:8 g4:8. f4:16 | g4:8 f4:8 e4:8 r:8 | "
             "d5:4 c#5:8. c5:16 | c5:8 b4:8 bb4:8. a4:16 | a4:8 ab4:8 g4:16 f4:16 e4:16 g4:16 | f4:4 r:4")
    refrain = ("a5:8. f#5:16 a5:4 | b5:8. g5:16 b5:4 | a5:8 g5:8 f#5:8 e5:8 | d5:4 r:4 | "
               "a5:8. f#5:16 a5:4 | b5:8. g5:16 b5:4 | c#6:8 b5:8 a5:8 g5:8 | d5:4 r:4")
    cv = "Dm | Dm | Dm | A7 | Dm | Dm | A7 | Dm"
    cr = "D | G | A7 | D | D | G | A7 | D"
    dance = {KICK: "x...x...", CLAVES: "x..x..x.", TAMBOURINE: "..o...o."}
    for round_ in range(4):
        if round_ == 2:
            s.program("lead", TRUMPET)
        if round_ == 3:
            s.program("lead", VIOLIN)
        s.section(verse, cv, comp="strum", bass="habanera", groove=dance, fill=False)
        s.section(refrain, cr, comp="strum", bass="habanera", groove=dance, crash=round_ > 0)
    s.ending("D", 2, 84)
    return s


def morning_mood():
    s = Arrangement("Morning Mood", 6, 8, 96, 15)
    band(s, FLUTE, HARP, FINGER_BASS, comp_volume=85)
    s.add("pad", SLOW_STRINGS, 3, 70, 90, 70)
    p1 = ("b5:8 g#5 f#5 e5 f#5 g#5 | b5:8 g#5 f#5 e5 f#5 g#5 | f#5:8 g#5 b5 g#5 b5 c#6 | "
          "g#5:8 c#6 b5 g#5 f#5 e5 | e5:2.")
    p2 = ("f#5:8 d#5 c#5 b4 c#5 d#5 | f#5:8 d#5 c#5 b4 c#5 d#5 | c#5:8 d#5 f#5 d#5 f#5 g#5 | "
          "d#5:8 g#5 f#5 d#5 c#5 b4 | b4:2.")
    p4 = "c#6:4. b5:4. | a5:4. g#5:4. | f#5:4. b4:4. | e5:2. | e5:2."
    h1, h2, h4 = "E | E | E | A E | E", "B | B | B | E B | B", "A E | F#m E | B7 | E | E"
    pad1 = "g#4:2. | g#4:2. | g#4:2. | a4:4. g#4:4. | g#4:2."
    pad2 = "d#4:2. | d#4:2. | d#4:2. | e4:4. d#4:4. | d#4:2."
    pad4 = "a4:4. g#4:4. | a4:4. g#4:4. | a4:2. | g#4:2. | g#4:2."
    dawn = {KICK: "x.....", SHAKER: "-o-o-o", TRIANGLE: "...o.."}
    s.section("r:2.", "E", comp="arp", bass="root")
    for round_ in range(2):
        lead = "lead"
        s.section(p1, h1, lead=lead, comp="arp", bass="root", groove=dawn if round_ else None,
                  extra=(("pad", pad1, 56, 0),), fill=False)
        s.section(p2, h2, lead=lead, comp="arp", bass="root", groove=dawn,
                  extra=(("pad", pad2, 56, 0),), fill=False)
        if round_ == 1:
            s.program("lead", OBOE)
        s.section(p1, h1, comp="arp", bass="root", groove=dawn,
                  extra=(("pad", pad1, 60, 0),), fill=False)
        s.section(p4, h4, comp="arp", bass="root", groove=dawn,
                  extra=(("pad", pad4, 60, 0),))
        s.program("lead", FLUTE)
    s.ending("E", 3, 70)
    return s


def blue_danube():
    s = Arrangement("The Blue Danube", 3, 4, 168, 16)
    band(s, STRINGS, PIANO, CONTRABASS, lead_volume=84, comp_volume=70, bass_volume=85)
    waltz = ("d4:4 f#4 a4 | a4:2. | a5:4 a5 r | f#5:4 f#5 d4 | d4:4 f#4 a4 | a4:2. | a5:4 a5 r | "
             "g5:4 g5 c#4 | c#4:4 e4 b4 | b4:2. | b5:4 b5 r | g5:4 g5 c#4 | c#4:4 e4 b4 | b4:2. | "
             "b5:4 b5 r | f#5:4 f#5 d4 | d4:4 f#4 a4 | d5:2. | d6:4 d6 r | a5:4 a5 d4 | d4:4 f#4 a4 | "
             "d5:2. | d6:4 d6 r | b5:4 b5 e4 | e4:4 g4 b4 | b4:2. | c#5:4 d5 e5 | f#5:2 e5:4 | "
             "d5:2. | r:2 d4:4")
    chords = ("D | D | D | D | D | D | A7 | A7 | A7 | A7 | A7 | A7 | A7 | A7 | A7 | D | D | D | D | D | "
              "D | D | D | G | G | G | A7 | D:2 A7:1 | D | D")
    waltz_drums = {KICK: "x..", HAT: ".oo", TRIANGLE: "x.."}
    s.section("r:2 d4:4", "D", comp=None, bass=None)
    for round_ in range(3):
        if round_ == 1:
            s.program("lead", FLUTE)
        if round_ == 2:
            s.program("lead", STRINGS)
        s.section(waltz, chords, shift=12 if round_ == 1 else 0, comp="after", bass="down", velocity=84,
                  groove=waltz_drums, crash=round_ > 0)
    s.ending("D", 3, 90)
    return s


def minuet_in_g():
    s = Arrangement("Minuet in G", 3, 4, 116, 17)
    band(s, HARPSICHORD, STRINGS, CELLO, comp_volume=60, bass_volume=90)
    a = ("d5:4 g4:8 a4:8 b4:8 c5:8 | d5:4 g4:4 g4:4 | e5:4 c5:8 d5:8 e5:8 f#5:8 | g5:4 g4:4 g4:4 | "
         "c5:4 d5:8 c5:8 b4:8 a4:8 | b4:4 c5:8 b4:8 a4:8 g4:8 | f#4:4 g4:8 a4:8 b4:8 g4:8 | a4:2. | "
         "d5:4 g4:8 a4:8 b4:8 c5:8 | d5:4 g4:4 g4:4 | e5:4 c5:8 d5:8 e5:8 f#5:8 | g5:4 g4:4 g4:4 | "
         "c5:4 d5:8 c5:8 b4:8 a4:8 | b4:4 c5:8 b4:8 a4:8 g4:8 | a4:4 b4:8 a4:8 g4:8 f#4:8 | g4:2.")
    b = ("b5:4 g5:8 a5:8 b5:8 g5:8 | a5:4 d5:8 e5:8 f#5:8 d5:8 | g5:4 e5:8 f#5:8 g5:8 d5:8 | "
         "c#5:4 b4:8 c#5:8 a4:4 | a4:8 b4:8 c#5:8 d5:8 e5:8 f#5:8 | g5:4 f#5:4 e5:4 | f#5:4 a4:4 c#5:4 | "
         "d5:2. | d5:4 g4:8 f#4:8 g4:4 | e5:4 g4:8 f#4:8 g4:4 | d5:4 c5:4 b4:4 | a4:8 g4:8 f#4:8 g4:8 a4:4 | "
         "d4:8 e4:8 f#4:8 g4:8 a4:8 b4:8 | c5:4 b4:4 a4:4 | b4:8 d5:8 g4:4 f#4:4 | g4:2.")
    ca = "G | G | C | G | Am | G | D | D | G | G | C | G | Am | G | D | G"
    cb = "G | D | G | A | A | Em | D:1 A:2 | D | G | C | G | D | G | Am | G:2 D:1 | G"
    courtly = {KICK: "x..", SIDE: ".o.", HAT: "o-o-o-"}
    for round_ in range(2):
        if round_ == 1:
            s.program("lead", PIZZICATO)
        s.section(a, ca, comp="after", bass="down", groove=courtly if round_ else None, gate=0.8)
        if round_ == 1:
            s.program("lead", HARPSICHORD)
        s.section(b, cb, comp="after", bass="down", groove=courtly, gate=0.8, crash=True)
    s.ending("G", 3, 80)
    return s


def eine_kleine():
    s = Arrangement("Eine kleine Nachtmusik", 4, 4, 132, 18)
    band(s, VIOLIN, STRINGS, CELLO, comp_volume=72)
    a = ("g5:4 r:8 d5:8 g5:4 r:8 d5:8 | g5:8 d5:8 g5:8 b5:8 d6:2 | c6:4 r:8 a5:8 c6:4 r:8 a5:8 | "
         "c6:8 a5:8 f#5:8 a5:8 d5:2 | g5:4 g5:4 b5:8 a5:8 g5:8 g5:8 | f#5:4 f#5:4 a5:8 c6:8 f#5:8 a5:8 | "
         "g5:4 g5:4 b5:8 a5:8 g5:8 g5:8 | f#5:4 f#5:4 a5:8 c6:8 f#5:8 a5:8 | "
         "g5:8 b5:8 a5:8 g5:8 f#5:8 a5:8 d5:8 f#5:8 | g5:2 r:2")
    b = ("d6:4 c#6:8 b5:8 a5:4 g5:8 f#5:8 | e5:4 a5:4 a5:2 | b5:4 a5:8 g5:8 f#5:4 e5:8 d5:8 | "
         "c#5:4 e5:4 a5:2 | d6:4 c#6:8 b5:8 a5:4 g5:8 f#5:8 | e5:4 g5:4 f#5:4 e5:4 | "
         "d5:8 f#5:8 a5:8 d6:8 c#6:8 b5:8 a5:8 g5:8 | d5:2 r:4 d5:4")
    ca = "G | G | D7 | D7 | G | D7 | G | D7 | G D7 | G"
    cb = "D | A | G D | A | D | A7 | D A7 | D D7"
    serenade = {KICK: "x...x...", SNARE: "..o...o.", HAT: "o-o-o-o-"}
    for round_, (melody, chords) in enumerate(((a, ca), (a, ca), (b, cb), (a, ca), (b, cb), (a, ca))):
        if round_ == 3:
            s.program("lead", FLUTE)
        if round_ == 5:
            s.program("lead", VIOLIN)
        s.section(melody, chords, comp="after", bass="down", groove=serenade if round_ else None,
                  gate=0.85, crash=round_ in (2, 3))
    s.ending("G", 4, 90)
    return s


def oh_susanna():
    s = Arrangement("Oh! Susanna", 4, 4, 126, 19)
    band(s, BANJO, STEEL_GUITAR, ACOUSTIC_BASS, comp_volume=75)
    tune = ("e5:4 g5:4 g5:4. a5:8 | g5:4 e5:4 c5:4. d5:8 | e5:4 e5:4 d5:4 c5:4 | d5:2. c5:8 d5:8 | "
            "e5:4 g5:4 g5:4. a5:8 | g5:4 e5:4 c5:4. d5:8 | e5:4 e5:4 d5:4 d5:4 | c5:2. r:4 | "
            "f5:2 f5:2 | a5:4 a5:2 a5:4 | g5:4 g5:4 e5:4 c5:4 | d5:2. c5:8 d5:8 | "
            "e5:4 g5:4 g5:4. a5:8 | g5:4 e5:4 c5:4. d5:8 | e5:4 e5:4 d5:4 d5:4 | c5:2. c5:8 d5:8")
    chords = "C | C | C | G | C | C | C G | C | F | F | C | G | C | C | G | C"
    train = {KICK: "x...x...", SNARE: "..x...x.", HAT: "xxxxxxxx"}
    s.section("r:2. c5:8 d5:8", "C", comp=None, bass=None)
    for round_ in range(3):
        if round_ == 1:
            s.program("lead", FIDDLE)
        if round_ == 2:
            s.program("lead", BANJO)
        s.section(tune, chords, comp="strum", bass="walk", groove=train, crash=round_ > 0, gate=0.85)
    s.ending("C", 4, 96)
    return s


SONGS = [ode_to_joy, mountain_king, greensleeves, scarborough_fair, rondo_alla_turca, canon_in_d,
         fur_elise, william_tell, can_can, the_entertainer, drunken_sailor, frere_jacques, swan_lake,
         habanera, morning_mood, blue_danube, minuet_in_g, eine_kleine, oh_susanna]


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "..", "resources", "music")
    os.makedirs(out_dir, exist_ok=True)
    for number, make in enumerate(SONGS, start=1):
        song = make()
        length = song.seconds()
        if not 60 <= length <= 180:
            raise SystemExit(f"{song.title}: {length:.0f} s is outside one to three minutes")
        song.write(os.path.join(out_dir, f"{number}.mid"))
        print(f"{number:2}.mid  {length:6.1f} s  {song.title}")


if __name__ == "__main__":
    main()
