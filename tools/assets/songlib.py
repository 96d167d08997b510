"""Helpers for writing multi-channel songs bar by bar: notes in sequence,
drum grooves, bass lines and arpeggiated chords."""
import xmwriter as X
from xmwriter import Instrument, Sample, note

CHORDS = {"maj": 0x47, "min": 0x37, "sus": 0x57, "m7": 0x37, "maj7": 0x47, "dim": 0x36}


def instrument(name, data, f0, volume=64, env=True, fadeout=1024):
    rel, fine = X.tuning_for(f0)
    smp = Sample(data, name=name, volume=volume, relnote=rel, finetune=fine)
    if env:
        return Instrument(name, smp, vol_env=[(0, 64), (2, 64), (14, 0)], sustain=1, fadeout=fadeout)
    return Instrument(name, smp, fadeout=fadeout)


def seq(pat, ch, start, tokens, ins, vol=0):
    """Writes 'NOTE:rows' tokens one after another from row `start`; '-:rows' is a rest,
    'off:rows' a key-off. Returns the row after the last token."""
    row = start
    for tok in tokens.split():
        name, length = tok.split(":")
        if name == "off":
            pat.set(row, ch, note=X.NOTE_OFF)
        elif name != "-":
            pat.set(row, ch, note=note(name), ins=ins, vol=vol)
        row += int(length)
    return row


def hits(pat, ch, start, rows, ins, name="C5", vol=0):
    for r in rows:
        pat.set(start + r, ch, note=note(name), ins=ins, vol=vol)


def chord(pat, ch, start, root, quality, ins, every=8, bar=16, vol=0):
    for r in range(0, bar, every):
        pat.set(start + r, ch, note=note(root), ins=ins, param=CHORDS[quality], vol=vol)
        for k in range(1, every):
            pat.set(start + r + k, ch, param=CHORDS[quality])


def vol(v):
    """Volume-column byte for 'set volume v' (0..64)."""
    return 0x10 + v
