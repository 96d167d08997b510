"""Track 6, "BORK WAS HERE!": a cheeky chiptune in A minor that plays once
(about 59 s). Channel 1 carries the lead; its notes make the robot dance."""
import numpy as np

import synth
from songlib import chord, hits, instrument, seq, vol
from xmwriter import Module

LEAD, KICK, SNARE, HAT, BASS, ARP = 1, 2, 3, 4, 5, 6
DRUMS, LEADCH, BASSCH, CHORDCH, HATCH = 0, 1, 2, 3, 4

PROG_A = [("A3", "min"), ("F3", "maj"), ("C4", "maj"), ("G3", "maj")]
PROG_B = [("D4", "min"), ("A3", "min"), ("E3", "maj"), ("A3", "min")]
BASS_ROOT = {"A3": "A2", "F3": "F2", "C4": "C3", "G3": "G2", "D4": "D3", "E3": "E2"}

LEAD_1 = ["A4:2 C5:2 E5:2 A5:4 G5:2 E5:4", "F5:2 E5:2 C5:2 A4:4 C5:2 F5:4",
          "E5:2 G5:2 C6:4 B5:2 G5:2 E5:4", "D5:2 G5:2 B5:4 A5:2 G5:2 D5:4"]
LEAD_2 = ["E5:4 E5:2 D5:2 C5:4 B4:2 A4:2", "C5:4 C5:2 D5:2 E5:4 F5:2 E5:2",
          "G5:4 G5:2 F5:2 E5:4 D5:2 C5:2", "B4:4 D5:4 G5:6 -:2"]
LEAD_B = ["D5:3 F5:3 A5:2 F5:4 D5:4", "C5:3 E5:3 A5:2 E5:4 C5:4",
          "B4:2 E5:2 G#5:4 B5:4 G#5:4", "A5:6 E5:2 A4:8"]


# The game mixes modules at full amplification; at the samples' own level the
# song peaked just below full scale there and ran 9 dB above the menu music.
LEVEL = 0.5


def quieter(data):
    return np.round(np.asarray(data, dtype=np.float64) * LEVEL).astype(np.int16)


def instruments():
    return [
        instrument("lead", quieter(synth.chip_pulse(440.0, 1.2, duty=0.25, decay=1.0)), 440.0, volume=44),
        instrument("kick", quieter(synth.kick()), 523.2511, volume=64, env=False),
        instrument("snare", quieter(synth.snare()), 523.2511, volume=44, env=False),
        instrument("hat", quieter(synth.hat()), 523.2511, volume=24, env=False),
        instrument("bass", quieter(synth.chip_bass(110.0, 0.5)), 110.0, volume=52),
        instrument("arp", quieter(synth.chip_pulse(261.6256, 1.0, duty=0.5, decay=1.5)), 261.6256, volume=24),
    ]


def groove(p, bar, busy):
    s = bar * 16
    hits(p, DRUMS, s, [0, 8] + ([10] if busy else []), KICK)
    hits(p, DRUMS, s, [4, 12], SNARE)
    hits(p, HATCH, s, range(2, 16, 4) if not busy else range(2, 16, 2), HAT)


def section(m, prog, lead, busy=True, with_lead=True):
    idx, p = m.new_pattern(64)
    for bar in range(4):
        root, q = prog[bar]
        groove(p, bar, busy)
        b = BASS_ROOT[root]
        hi = b[:-1] + str(int(b[-1]) + 1)
        seq(p, BASSCH, bar * 16, "%s:3 %s:3 %s:2 %s:4 %s:4" % (b, b, hi, b, hi), BASS)
        chord(p, CHORDCH, bar * 16, root, q, ARP)
        if with_lead and lead:
            seq(p, LEADCH, bar * 16, lead[bar], LEAD)
    return idx


def outro(m):
    idx, p = m.new_pattern(64)
    hits(p, DRUMS, 0, [0], KICK)
    hits(p, HATCH, 0, [0], HAT)
    seq(p, BASSCH, 0, "A2:16 off:1", BASS)
    chord(p, CHORDCH, 0, "A3", "min", ARP, every=8, bar=16)
    seq(p, LEADCH, 0, "E5:2 A5:14 off:1", LEAD)
    p.set(40, DRUMS, fx=0x0D, param=0)  # end the song while the last notes ring out
    return idx


def modules():
    full = Module("Bork Was Here", 6, 6, 125)
    full.instruments.extend(instruments())
    intro = section(full, PROG_A, None, busy=False, with_lead=False)
    a1 = section(full, PROG_A, LEAD_1)
    a2 = section(full, PROG_A, LEAD_2)
    b = section(full, PROG_B, LEAD_B)
    end = outro(full)
    full.orders = [intro, a1, a2, b, a1, a2, b, end]
    empty = Module("Bork Was Here", 6, 6, 125)
    empty.instruments.append(full.instruments[0])  # the lead, the only one a phrase would use
    empty.new_pattern(64)
    empty.orders = [0]
    return full, empty
