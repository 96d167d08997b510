#!/usr/bin/env python3
"""Renders modules with xmrender and with reference players, and compares them.

For each module: the song length of each render, the correlation of the
per-second RMS levels (dB), the constant level offset between xmrender and the
reference, and the seconds that stay off after that offset. The reference is
openmpt123 (44.1 kHz, cubic); xmp gives a second opinion on the length.

usage: xmcompare.py [--xmrender PATH] [--no-xmp] [--keep DIR] FOLDER_OR_FILE...
Needs openmpt123 and xmp (scripts/setup-bench.sh installs them).
"""
import argparse
import array
import concurrent.futures
import math
import os
import re
import statistics
import subprocess
import sys
import tempfile
import wave

RATE = 44100
FRAME_BYTES = 4  # 16-bit stereo
AUDIBLE_DB = -50.0  # seconds quieter than this in both renders are left out of the level figures
OFF_DB = 3.0  # a second whose level differs by more than this, after the offset, counts as off
MODULE_SUFFIXES = (".xm", ".mod")


def run(command, **kwargs):
    return subprocess.run(command, check=True, stdout=subprocess.PIPE, stderr=subprocess.PIPE, **kwargs)


def render_xmrender(xmrender, path, workdir):
    out = os.path.join(workdir, "xmrender.wav")
    result = run([xmrender, "-i", "2", "-d", "0", path, out])
    match = re.search(r"song ([0-9.]+) seconds", result.stdout.decode(errors="replace"))
    with wave.open(out, "rb") as wav:
        data = wav.readframes(wav.getnframes())
    song = float(match.group(1)) if match else len(data) / FRAME_BYTES / RATE
    return song, data


def render_openmpt(path):
    command = ["openmpt123", "--batch", "--quiet", "--samplerate", str(RATE), "--filter", "4", "--no-float",
               "--stdout", path]
    data = run(command).stdout
    return len(data) / FRAME_BYTES / RATE, data


def render_xmp(path):
    data = run(["xmp", "--norc", "--nocmd", "-q", "-f", str(RATE), "-i", "spline", "-P", "100", "-c", path]).stdout
    return len(data) / FRAME_BYTES / RATE, data


def second_levels(data):
    """RMS level in dBFS of each whole second, both channels together (a partial last second is left out:
    renders that end a few milliseconds apart would show it as a large difference)."""
    samples = array.array("h")
    samples.frombytes(data[: len(data) // 2 * 2])
    if sys.byteorder == "big":
        samples.byteswap()
    per_second = RATE * 2
    levels = []
    for start in range(0, len(samples) - per_second + 1, per_second):
        chunk = samples[start:start + per_second]
        power = sum(v * v for v in chunk) / per_second
        levels.append(10.0 * math.log10(power / (32768.0 * 32768.0)) if power > 0 else -120.0)
    return levels


def correlation(a, b):
    if len(a) < 2:
        return float("nan")
    ma, mb = statistics.fmean(a), statistics.fmean(b)
    sa = math.sqrt(sum((x - ma) ** 2 for x in a))
    sb = math.sqrt(sum((y - mb) ** 2 for y in b))
    if sa == 0 or sb == 0:
        return float("nan")
    return sum((x - ma) * (y - mb) for x, y in zip(a, b)) / (sa * sb)


def compare_levels(ours, reference):
    """Correlation, constant offset, worst second and seconds off, over the seconds both render."""
    count = min(len(ours), len(reference))
    pairs = [(i, ours[i], reference[i]) for i in range(count) if max(ours[i], reference[i]) > AUDIBLE_DB]
    if not pairs:
        return float("nan"), 0.0, 0.0, 0, 0
    floor = lambda v: max(v, AUDIBLE_DB - 30.0)  # silence against sound counts as a large, finite gap
    corr = correlation([floor(o) for _, o, _ in pairs], [floor(r) for _, _, r in pairs])
    offset = statistics.median(o - r for _, o, r in pairs)
    errors = [(abs(floor(o) - floor(r) - offset), i) for i, o, r in pairs]
    worst, worst_second = max(errors)
    off = sum(1 for e, _ in errors if e > OFF_DB)
    return corr, offset, worst, worst_second, off


def compare(path, xmrender, use_xmp, keep):
    with tempfile.TemporaryDirectory() as workdir:
        ours_length, ours = render_xmrender(xmrender, path, workdir)
        ref_length, reference = render_openmpt(path)
        xmp_length = render_xmp(path)[0] if use_xmp else float("nan")
        if keep:
            base = os.path.join(keep, os.path.basename(path))
            for suffix, data in ((".xmrender.raw", ours), (".openmpt.raw", reference)):
                with open(base + suffix, "wb") as f:
                    f.write(data)
    corr, offset, worst, worst_second, off = compare_levels(second_levels(ours), second_levels(reference))
    return {
        "name": os.path.basename(path),
        "ours": ours_length,
        "openmpt": ref_length,
        "xmp": xmp_length,
        "corr": corr,
        "offset": offset,
        "worst": worst,
        "worst_second": worst_second,
        "off": off,
    }


def length_note(row):
    """Whether xmrender's length is within 1 % of the reference, where both references agree."""
    agree = math.isnan(row["xmp"]) or abs(row["xmp"] - row["openmpt"]) <= 0.01 * row["openmpt"]
    within = abs(row["ours"] - row["openmpt"]) <= 0.01 * max(row["openmpt"], 1e-9)
    if within:
        return "ok"
    return "LONG" if row["ours"] > row["openmpt"] and agree else ("refs differ" if not agree else "SHORT")


def modules_in(arguments):
    for argument in arguments:
        if os.path.isdir(argument):
            for name in sorted(os.listdir(argument)):
                if name.lower().endswith(MODULE_SUFFIXES):
                    yield os.path.join(argument, name)
        else:
            yield argument


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("paths", nargs="+", help="module files or folders of modules")
    here = os.path.dirname(os.path.abspath(__file__))
    parser.add_argument("--xmrender", default=os.path.join(here, "..", "..", "build", "tools", "xmrender", "xmrender"))
    parser.add_argument("--no-xmp", action="store_true", help="skip the second reference")
    parser.add_argument("--keep", help="keep the raw renders (16-bit stereo) in this folder")
    parser.add_argument("-j", "--jobs", type=int, default=2)
    args = parser.parse_args()

    paths = list(modules_in(args.paths))
    header = "| module | xmrender s | openmpt s | xmp s | length | level corr. | offset dB | worst dB (at s) | s off > 3 dB |"
    print(header)
    print("|" + "---|" * (header.count("|") - 1))
    failures = 0
    with concurrent.futures.ThreadPoolExecutor(max_workers=max(args.jobs, 1)) as pool:
        jobs = [pool.submit(compare, p, args.xmrender, not args.no_xmp, args.keep) for p in paths]
        for path, job in zip(paths, jobs):
            try:
                r = job.result()
            except (subprocess.CalledProcessError, OSError, wave.Error) as error:
                print(f"| {os.path.basename(path)} | failed: {error} |||||||")
                failures += 1
                continue
            print(f"| {r['name']} | {r['ours']:.1f} | {r['openmpt']:.1f} | {r['xmp']:.1f} | {length_note(r)} "
                  f"| {r['corr']:.3f} | {r['offset']:+.1f} | {r['worst']:.1f} ({r['worst_second']}) | {r['off']} |",
                  flush=True)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
