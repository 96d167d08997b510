#!/usr/bin/env python3
"""Effect-by-effect conformance of xmrender against openmpt123 and xmp.

For every effect of the XM and MOD sets (and the XM volume column) and every
class of parameter, writes a tiny module (tools/xmconform/modwriter.py),
renders it with the three players and compares them tick by tick: the level
(in volume units, scaled by a first row at volume 32), the stereo position in
XM, and for pitch effects the frequency found from the zero crossings. Prints
one table (effect, parameter class, ours against each reference, verdict) and
the totals; with --details, the first tick where a case differs.

A case module: row 0 starts a sine at volume 32 and calibrates the level (6
ticks); then 6 ticks of a "before" row (the effect with an earlier value, for
the zero-after class), 6 ticks of the effect under test (at speed 1 the cell
is repeated on 6 rows), 6 ticks of empty rows.

usage: xmconform.py [--xmrender PATH] [--format xm|mod] [--effect TEXT] [--details] [-j N]
Needs openmpt123 and xmp (scripts/setup-bench.sh installs them); a report run by hand.
"""
import argparse
import array
import concurrent.futures
import math
import os
import subprocess
import sys
import tempfile

import modwriter as mw

RATE = 44100
TICK = 882  # frames per tick at 125 BPM
TICKS = 24
PITCH_SKIP = 160  # frames at a tick's start left out of its pitch: a new note's old voice ramps out there
CAL_VOLUME = 32.0
NOTE, NOTE2 = 61, 64  # C-5 and D#5 (C-3 and D#3 in MOD's names): about 520 Hz on a 32-frame sine

# (label, effect, parameter base, family). A base above 0xFF marks an extended (E) or
# extra-fine (X) sub-command whose low digit is the parameter; "vol" effects are volume-column bytes.
XM_EFFECTS = [
    ("0xy arpeggio", 0x0, 0, "pitch"), ("1xx porta up", 0x1, 0, "pitch"), ("2xx porta down", 0x2, 0, "pitch"),
    ("3xx tone porta", 0x3, 0, "pitch"), ("4xy vibrato", 0x4, 0, "pitch"), ("5xy porta+slide", 0x5, 0, "pitch"),
    ("6xy vibrato+slide", 0x6, 0, "pitch"), ("7xy tremolo", 0x7, 0, "volume"), ("8xx panning", 0x8, 0, "volume"),
    ("9xx offset", 0x9, 0, "volume"), ("Axy vol slide", 0xA, 0, "volume"), ("Bxx jump", 0xB, 0, "volume"),
    ("Cxx volume", 0xC, 0, "volume"), ("Dxx break", 0xD, 0, "volume"), ("Fxx speed", 0xF, 0, "volume"),
    ("E1y fine up", 0xE, 0x110, "pitch"), ("E2y fine down", 0xE, 0x120, "pitch"), ("E3y glissando", 0xE, 0x130, "pitch"),
    ("E4y vib wave", 0xE, 0x140, "pitch"), ("E5y finetune", 0xE, 0x150, "pitch"), ("E6y loop", 0xE, 0x160, "volume"),
    ("E7y trem wave", 0xE, 0x170, "volume"), ("E9y retrig", 0xE, 0x190, "volume"), ("EAy fine vol up", 0xE, 0x1A0, "volume"),
    ("EBy fine vol down", 0xE, 0x1B0, "volume"), ("ECy cut", 0xE, 0x1C0, "volume"), ("EDy delay", 0xE, 0x1D0, "volume"),
    ("EEy row delay", 0xE, 0x1E0, "volume"),
    ("Gxx global vol", 0x10, 0, "volume"), ("Hxy global slide", 0x11, 0, "volume"), ("Kxx key off", 0x14, 0, "volume"),
    ("Lxx env position", 0x15, 0, "volume"), ("Pxy pan slide", 0x19, 0, "volume"), ("Rxy multi retrig", 0x1B, 0, "volume"),
    ("Txy tremor", 0x1D, 0, "volume"), ("X1y extra fine up", 0x21, 0x110, "pitch"),
    ("X2y extra fine down", 0x21, 0x120, "pitch"),
]
VOLUME_COLUMN = [
    ("v10-50 set volume", 0x10, "volume"), ("v6x slide down", 0x60, "volume"), ("v7x slide up", 0x70, "volume"),
    ("v8x fine down", 0x80, "volume"), ("v9x fine up", 0x90, "volume"), ("vAx vib speed", 0xA0, "pitch"),
    ("vBx vibrato", 0xB0, "pitch"), ("vCx panning", 0xC0, "volume"), ("vDx pan left", 0xD0, "volume"),
    ("vEx pan right", 0xE0, "volume"), ("vFx tone porta", 0xF0, "pitch"),
]
MOD_LABELS = {"0xy", "1xx", "2xx", "3xx", "4xy", "5xy", "6xy", "7xy", "8xx", "9xx", "Axy", "Bxx", "Cxx", "Dxx", "Fxx",
              "E1y", "E2y", "E3y", "E4y", "E5y", "E6y", "E7y", "E9y", "EAy", "EBy", "ECy", "EDy", "EEy"}

# Parameter classes: (name, parameter before, parameter under test), for two-digit and one-digit effects.
TWO_DIGIT = [("x only", 0, 0x20), ("y only", 0, 0x01), ("both", 0, 0x21), ("0 after", 0x21, 0x00)]
ONE_DIGIT = [("y=2", 0, 2), ("y=F", 0, 15), ("0 first", 0, 0), ("0 after", 2, 0)]
ROW_KINDS = [("note+ins", True, True), ("note", True, False), ("ins", False, True), ("empty", False, False)]
SPEEDS = [6, 1]


class Case:
    def __init__(self, fmt, label, family, speed, row_kind, param_class, cells):
        self.fmt, self.label, self.family, self.speed = fmt, label, family, speed
        self.row_kind, self.param_class, self.cells = row_kind, param_class, cells

    @property
    def name(self):
        return f"{self.fmt} {self.label} | {self.param_class} | speed {self.speed} | {self.row_kind}"


def effect_cell(effect, base, value, volume_column):
    """(vol, fx, param) of the effect with the class's value."""
    if volume_column:
        if effect == 0x10:  # set volume: 0x10 + value scaled into 0..64
            return (0x10 + min(value * 4, 64), 0, 0)
        return (effect | (value & 15), 0, 0)
    if base > 0xFF:
        return (0, effect, (base & 0xFF) | (value & 15))
    return (0, effect, value)


def build_cases(formats, pattern):
    cases = []
    entries = [(label, fx, base, fam, False) for label, fx, base, fam in XM_EFFECTS]
    entries += [(label, v, 0, fam, True) for label, v, fam in VOLUME_COLUMN]
    for fmt in formats:
        for label, fx, base, family, volume_column in entries:
            if fmt == "mod" and (volume_column or label.split()[0] not in MOD_LABELS):
                continue
            if pattern and pattern.lower() not in label.lower():
                continue
            one_digit = volume_column or base > 0xFF
            for class_name, before, value in (ONE_DIGIT if one_digit else TWO_DIGIT):
                for speed in SPEEDS:
                    for kind, with_note, with_ins in ROW_KINDS:
                        cells = []
                        if before or class_name == "0 after":
                            cells.append(("before", effect_cell(fx, base, before, volume_column)))
                        cells.append(("test", effect_cell(fx, base, value, volume_column), with_note, with_ins))
                        cases.append(Case(fmt, label, family, speed, kind, class_name, cells))
    return cases


def write_module(case, path):
    rows_per_part = 6 // case.speed
    song = mw.Song(4 * rows_per_part, speed=case.speed)
    mod = case.fmt == "mod"
    note, note2 = NOTE, NOTE2
    if mod:
        song.set(0, note=note, ins=1, fx=0xC, param=0x20)
    else:
        song.set(0, note=note, ins=1, vol=0x30)
    for part in case.cells:
        start = rows_per_part * (1 if part[0] == "before" else 2)
        vol, fx, param = part[1]
        with_note, with_ins = (part[2], part[3]) if part[0] == "test" else (False, False)
        for r in range(start, start + (rows_per_part if part[0] == "test" else 1)):
            song.set(r, note=note2 if with_note else 0, ins=1 if with_ins else 0, vol=vol, fx=fx, param=param)
    data = mw.mod_bytes(song) if mod else mw.xm_bytes(song, envelope=[(0, 64), (20, 0)])
    with open(path, "wb") as f:
        f.write(data)


def run(command):
    return subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, check=False).stdout


def render_all(xmrender, path):
    """Raw 16-bit stereo of ours, openmpt123 and xmp."""
    ours = run([xmrender, "-d", "0", "-i", "2", path, "-"])[44:]
    mpt = run(["openmpt123", "--batch", "--quiet", "--samplerate", str(RATE), "--filter", "4", "--no-float",
               "--stdout", path])
    xmp = run(["xmp", "--norc", "--nocmd", "-q", "-f", str(RATE), "-i", "spline", "-P", "100", "-c", path])
    return ours, mpt, xmp


def crossings(values):
    """Fractional positions of the upward zero crossings."""
    out = []
    for i in range(1, len(values)):
        a, b = values[i - 1], values[i]
        if a < 0 <= b:
            out.append(i - 1 + (-a) / (b - a))
    return out


def rms(values):
    return math.sqrt(sum(v * v for v in values) / len(values)) if values else 0.0


def tick_measures(data):
    """Per tick: (level of both sides, right share of the level, frequency in Hz or None)."""
    samples = array.array("h")
    samples.frombytes(data[: len(data) // 4 * 4])
    if sys.byteorder == "big":
        samples.byteswap()
    out = []
    for t in range(TICKS):
        # Pitch over the whole tick but its first frames; the level over its second half, where
        # every player's volume ramp is over.
        start, half, end = t * TICK + PITCH_SKIP, t * TICK + TICK // 2, (t + 1) * TICK
        left = list(samples[2 * start:2 * end:2])
        right = list(samples[2 * start + 1:2 * end:2])
        mono = [a + b for a, b in zip(left, right)]
        ups = crossings(mono)
        late = [u for u in ups if u >= half - start]
        if len(late) < 2:
            out.append((0.0, 0.5, None))
            continue
        whole = slice(int(late[0]) + 1, int(late[-1]) + 1)  # whole cycles keep the level steady
        level = rms(mono[whole])
        lr, rr = rms(left[whole]), rms(right[whole])
        frequency = (len(ups) - 1) * RATE / (ups[-1] - ups[0])
        out.append((level, rr / (lr + rr) if lr + rr > 0 else 0.5, frequency))
    return out


def scaled(measures):
    """Levels in volume units (the calibration ticks 1..5 are volume 32) and frequencies relative to those
    ticks: each player's own gain and tuning (MOD: NTSC or PAL clock) drop out, the effects' changes stay."""
    calibration = sum(m[0] for m in measures[1:6]) / 5
    scale = CAL_VOLUME / calibration if calibration > 0 else 0.0
    pitches = [m[2] for m in measures[1:6] if m[2]]
    base = sum(pitches) / len(pitches) if pitches else None
    return [(m[0] * scale, m[1], m[2] / base if m[2] and base else None) for m in measures]


def tuning(measures):
    """The calibration ticks' frequency in Hz."""
    pitches = [m[2] for m in measures[1:6] if m[2]]
    return sum(pitches) / len(pitches) if pitches else 0.0


def difference(a, b, fmt, pitch):
    """The first tick where two renders differ, with what differs, or None."""
    for t, (x, y) in enumerate(zip(a, b)):
        if abs(x[0] - y[0]) > max(1.0, 0.04 * max(x[0], y[0])):
            return f"tick {t}: level {x[0]:.1f} against {y[0]:.1f}"
        audible = x[0] > 2 and y[0] > 2
        # MOD channels have different default positions in each player; only XM panning is compared.
        if audible and fmt == "xm" and abs(x[1] - y[1]) > 0.03:
            return f"tick {t}: right share {x[1]:.2f} against {y[1]:.2f}"
        if audible and pitch and x[2] and y[2] and abs(1200 * math.log2(x[2] / y[2])) > 3:
            return f"tick {t}: pitch {1200 * math.log2(x[2]):+.1f} against {1200 * math.log2(y[2]):+.1f} cents"
    return None


def run_case(case, xmrender, workdir):
    path = os.path.join(workdir, f"case{id(case)}.{case.fmt}")
    write_module(case, path)
    ours, mpt, xmp = (scaled(tick_measures(d)) for d in render_all(xmrender, path))
    os.remove(path)
    pitch = case.family == "pitch"
    return (difference(ours, mpt, case.fmt, pitch), difference(ours, xmp, case.fmt, pitch),
            difference(mpt, xmp, case.fmt, pitch))


def verdict(result):
    vs_mpt, vs_xmp, refs = result
    if refs is None:
        return "agree" if vs_mpt is None else "DIFFER"
    return "refs differ"


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    here = os.path.dirname(os.path.abspath(__file__))
    parser.add_argument("--xmrender", default=os.path.join(here, "..", "..", "build", "tools", "xmrender", "xmrender"))
    parser.add_argument("--format", choices=("xm", "mod"), help="only this format")
    parser.add_argument("--effect", help="only effects whose label contains this text")
    parser.add_argument("--details", action="store_true", help="say where each differing case differs")
    parser.add_argument("-j", "--jobs", type=int, default=2)
    args = parser.parse_args()

    cases = build_cases([args.format] if args.format else ["xm", "mod"], args.effect)
    totals = {"agree": 0, "DIFFER": 0, "refs differ": 0}
    print("| format effect | parameter | speed | row | vs openmpt123 | vs xmp | verdict |")
    print("|---|---|---|---|---|---|---|")
    with tempfile.TemporaryDirectory() as workdir, \
            concurrent.futures.ThreadPoolExecutor(max_workers=max(args.jobs, 1)) as pool:
        jobs = [pool.submit(run_case, case, args.xmrender, workdir) for case in cases]
        for case, job in zip(cases, jobs):
            result = job.result()
            v = verdict(result)
            totals[v] += 1
            same = lambda d: "same" if d is None else "differs"
            print(f"| {case.fmt} {case.label} | {case.param_class} | {case.speed} | {case.row_kind} "
                  f"| {same(result[0])} | {same(result[1])} | {v} |", flush=True)
            if args.details and v != "agree":
                for who, d in zip(("openmpt123", "xmp", "openmpt123 vs xmp"), result):
                    if d:
                        print(f"|   | {who}: {d} ||||||")
    print(f"\n{len(cases)} cases: {totals['agree']} agree with both references, {totals['DIFFER']} where both "
          f"references agree and we differ, {totals['refs differ']} where the references disagree.")
    return 0


if __name__ == "__main__":
    sys.exit(main())
