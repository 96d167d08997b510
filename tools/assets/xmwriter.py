"""A small writer of FastTracker 2 modules (XM version 0x0104): header, packed
patterns, instruments with envelopes and delta-coded 16-bit samples."""
import math
import struct

import numpy as np

NOTE_OFF = 97
NAMES = {"C": 0, "C#": 1, "D": 2, "D#": 3, "E": 4, "F": 5, "F#": 6, "G": 7, "G#": 8,
         "A": 9, "A#": 10, "B": 11}


def note(name):
    """'C-4' / 'C4' / 'F#5' to the 1-based XM note (C-0 = 1)."""
    name = name.replace("-", "")
    return int(name[-1]) * 12 + NAMES[name[:-1]] + 1


def tab_of(n):
    """The game's tab of a 1-based note: (-n) mod 4."""
    return (n * 3) & 3


class Cell:
    __slots__ = ("note", "ins", "vol", "fx", "param")

    def __init__(self, note=0, ins=0, vol=0, fx=0, param=0):
        self.note, self.ins, self.vol, self.fx, self.param = note, ins, vol, fx, param


class Pattern:
    def __init__(self, rows, channels):
        self.rows = rows
        self.cells = [[Cell() for _ in range(channels)] for _ in range(rows)]

    def set(self, row, ch, note=0, ins=0, vol=0, fx=0, param=0):
        c = self.cells[row][ch]
        if note:
            c.note = note
        if ins:
            c.ins = ins
        if vol:
            c.vol = vol
        if fx or param:
            c.fx, c.param = fx, param

    def pack(self):
        out = bytearray()
        for row in self.cells:
            for c in row:
                fields = (c.note, c.ins, c.vol, c.fx, c.param)
                if all(fields):
                    out += bytes(fields)
                    continue
                flags = 0x80
                body = bytearray()
                for bit, v in enumerate(fields):
                    if v:
                        flags |= 1 << bit
                        body.append(v)
                out.append(flags)
                out += body
        if all(b == 0x80 for b in out):
            out = bytearray()  # an all-empty pattern is stored without data
        return struct.pack("<IBHH", 9, 0, self.rows, len(out)) + bytes(out)


class Sample:
    def __init__(self, data, name="", volume=64, panning=128, relnote=0, finetune=0,
                 loop_start=0, loop_len=0):
        self.data = np.asarray(data, dtype=np.int16)
        self.name, self.volume, self.panning = name, volume, panning
        self.relnote, self.finetune = relnote, finetune
        self.loop_start, self.loop_len = loop_start, loop_len

    def header(self):
        typ = 0x10 | (1 if self.loop_len else 0)
        return struct.pack("<IIIBbBBbB22s", len(self.data) * 2, self.loop_start * 2,
                           self.loop_len * 2, self.volume, self.finetune, typ, self.panning,
                           self.relnote, 0, self.name.encode("ascii")[:22].ljust(22, b"\0"))

    def body(self):
        d = self.data.astype(np.int32)
        delta = np.diff(np.concatenate([[0], d])) & 0xFFFF
        return delta.astype("<u2").tobytes()


class Instrument:
    def __init__(self, name, sample, vol_env=None, sustain=None, fadeout=0,
                 vib=(0, 0, 0, 0)):
        """vol_env: list of (tick, 0..64); sustain: index of its sustain point."""
        self.name, self.sample = name, sample
        self.vol_env, self.sustain, self.fadeout, self.vib = vol_env or [], sustain, fadeout, vib

    def pack(self):
        s = self.sample
        env = bytearray(48)
        for k, (x, y) in enumerate(self.vol_env[:12]):
            struct.pack_into("<HH", env, k * 4, x, y)
        vtype = (1 if self.vol_env else 0) | (2 if self.sustain is not None else 0)
        head = struct.pack("<I22sBH", 263, self.name.encode("ascii")[:22].ljust(22, b"\0"), 0, 1)
        head += struct.pack("<I", 40) + bytes(96) + bytes(env) + bytes(48)
        head += struct.pack("<BBBBBBBBBB", len(self.vol_env), 0, self.sustain or 0, 0, 0, 0, 0, 0,
                            vtype, 0)
        head += struct.pack("<BBBBHH", *self.vib, self.fadeout, 0)
        head += bytes(263 - len(head))
        return head + s.header() + s.body()


class Module:
    def __init__(self, name, channels, speed, bpm, linear=True):
        self.name, self.channels, self.speed, self.bpm, self.linear = name, channels, speed, bpm, linear
        self.patterns, self.orders, self.instruments = [], [], []
        self.restart = 0

    def new_pattern(self, rows=256):
        p = Pattern(rows, self.channels)
        self.patterns.append(p)
        return len(self.patterns) - 1, p

    def to_bytes(self):
        head = b"Extended Module: " + self.name.encode("ascii")[:20].ljust(20, b" ") + b"\x1a"
        head += b"Quavero assets".ljust(20, b" ") + struct.pack("<H", 0x0104)
        orders = bytes(self.orders) + bytes(256 - len(self.orders))
        head += struct.pack("<IHHHHHHHH", 276, len(self.orders), self.restart, self.channels,
                            len(self.patterns), len(self.instruments), 1 if self.linear else 0,
                            self.speed, self.bpm) + orders
        body = b"".join(p.pack() for p in self.patterns)
        body += b"".join(i.pack() for i in self.instruments)
        return head + body


def tuning_for(f0_hz, rate=44100):
    """relnote and finetune so that a sample holding pitch f0 at `rate` plays in tune:
    note n sounds at 261.63 Hz x 2^((n - 49) / 12) (C-4 = 49 is middle C)."""
    # A sample plays note 49 at 8363 x 2^((rel + fine/128) / 12) Hz; there we want middle C.
    want = rate * 261.6256 / f0_hz
    semis = 12 * math.log2(want / 8363.0)
    rel = int(round(semis))
    fine = int(round((semis - rel) * 128))
    fine = max(-128, min(127, fine))
    return rel, fine
