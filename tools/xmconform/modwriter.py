"""Writes tiny XM and MOD modules for the conformance suite: one or more
channels, one pattern, a looped sine sample and, when asked, a second
instrument with a volume envelope (for key-off and envelope effects)."""
import math
import struct

# MOD periods of C-1 .. B-3 (finetune 0), the notes a MOD cell can hold.
MOD_PERIODS = [856, 808, 762, 720, 678, 640, 604, 570, 538, 508, 480, 453,
               428, 404, 381, 360, 339, 320, 302, 285, 269, 254, 240, 226,
               214, 202, 190, 180, 170, 160, 151, 143, 135, 127, 120, 113]
KEY_OFF = 97


class Cell:
    """One pattern cell in XM terms: note 1..96 (97 key off), instrument, volume byte, effect, parameter."""
    __slots__ = ("note", "ins", "vol", "fx", "param")

    def __init__(self, note=0, ins=0, vol=0, fx=0, param=0):
        self.note, self.ins, self.vol, self.fx, self.param = note, ins, vol, fx, param


def sine(frames=32, amplitude=100):
    return [int(round(amplitude * math.sin(2 * math.pi * i / frames))) for i in range(frames)]


class Song:
    """rows x channels cells, speed and BPM, the instruments' default sample volume."""

    def __init__(self, rows, channels=1, speed=6, bpm=125, sample_volume=48, linear=True):
        self.rows, self.channels, self.speed, self.bpm = rows, channels, speed, bpm
        self.sample_volume, self.linear = sample_volume, linear
        self.cells = [[Cell() for _ in range(channels)] for _ in range(rows)]

    def set(self, row, channel=0, note=0, ins=0, vol=0, fx=0, param=0):
        self.cells[row][channel] = Cell(note, ins, vol, fx, param)


def _delta8(values):
    out, previous = bytearray(), 0
    for v in values:
        out.append((v - previous) & 0xFF)
        previous = v
    return bytes(out)


def _xm_pattern(song):
    packed = bytearray()
    for row in song.cells:
        for c in row:
            fields = (c.note, c.ins, c.vol, c.fx, c.param)
            mask = 0x80 | sum(1 << bit for bit, v in enumerate(fields) if v)
            packed.append(mask)
            packed += bytes(v for v in fields if v)
    return struct.pack("<IBHH", 9, 0, song.rows, len(packed)) + packed


def _xm_instrument(data, volume, envelope=None, fadeout=0):
    """One instrument with one looped 8-bit sample; envelope = [(tick, value)...] with sustain at point 0."""
    head = struct.pack("<I22sBH", 263, b"ins", 0, 1) + struct.pack("<I", 40) + bytes(96)
    points = envelope or []
    env = b"".join(struct.pack("<HH", x, y) for x, y in points) + bytes(4 * (12 - len(points)))
    head += env + bytes(48)
    head += bytes([len(points), 0, 0, 0, 0, 0, 0, 0])  # counts, sustain/loop of both envelopes
    head += bytes([3 if points else 0, 0, 0, 0, 0, 0])  # volume envelope on with sustain; no auto-vibrato
    head += struct.pack("<HH", fadeout, 0)
    head = head.ljust(263, b"\0")
    sample = struct.pack("<IIIBbBBbB22s", len(data), 0, len(data), volume, 0, 1, 128, 0, 0, b"sine")
    return head + sample + _delta8(data)


def xm_bytes(song, envelope=None):
    """The song as an XM image with one instrument, given the volume envelope (sustained at its first point)."""
    header = b"Extended Module: " + b"conform".ljust(20, b"\0") + b"\x1a" + b"xmconform".ljust(20, b"\0")
    header += struct.pack("<HIHHHHHHHH", 0x0104, 276, 1, 0, song.channels, 1, 1,
                          1 if song.linear else 0, song.speed, song.bpm) + bytes(256)
    return header + _xm_pattern(song) + _xm_instrument(sine(), song.sample_volume, envelope, fadeout=0x400)


def _mod_period(note):
    """XM note (C-4 = 49 is MOD's C-2, period 428) to a MOD period; 0 for none."""
    index = note - 37
    return MOD_PERIODS[index] if 0 <= index < len(MOD_PERIODS) else 0


def mod_bytes(song):
    """The song as a four-channel "M.K." MOD image (speed and BPM 125 only)."""
    data = sine()
    out = bytearray(b"conform".ljust(20, b"\0"))
    out += b"sine".ljust(22, b"\0") + struct.pack(">HBBHH", len(data) // 2, 0, song.sample_volume, 0, len(data) // 2)
    for _ in range(30):
        out += bytes(22) + struct.pack(">HBBHH", 0, 0, 0, 0, 1)
    out += bytes([1, 127]) + bytes(128) + b"M.K."
    # A break on a free channel ends the song after its last row instead of the 64th.
    cells = [list(row) for row in song.cells]
    if song.rows < 64 and song.channels < 4:
        cells[-1].append(Cell(fx=0xD))
    # MOD keeps speed and BPM in F effects: they go on a free channel of row 0.
    if (song.speed, song.bpm) != (6, 125) and song.channels < 3:
        cells[0] += [Cell()] * (2 - len(cells[0])) + [Cell(fx=0xF, param=song.speed)]
    for r in range(64):
        for ch in range(4):
            c = cells[r][ch] if r < song.rows and ch < len(cells[r]) else Cell()
            period = _mod_period(c.note)
            out += bytes([(c.ins & 0xF0) | (period >> 8), period & 0xFF, ((c.ins & 15) << 4) | (c.fx & 15), c.param])
    out += bytes(v & 0xFF for v in data)
    return bytes(out)
