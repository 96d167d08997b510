#!/usr/bin/python3
"""Regenerates every file of data/ from the sources in this folder, then checks
the basics of what the game relies on. Same bytes on every run: no timestamps,
fixed seeds, fixed compression settings.

usage: generate.py [--only pictures,font,tracks,sounds] [--no-preview]"""
import argparse
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
DATA = os.path.join(ROOT, "data")
SCREENS = os.path.join(ROOT, "docs", "screens")

STEPS = ["pictures", "font", "tracks", "sounds"]


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--only", default=",".join(STEPS))
    ap.add_argument("--no-preview", action="store_true")
    args = ap.parse_args()
    steps = args.only.split(",")
    os.makedirs(DATA, exist_ok=True)
    if "pictures" in steps:
        import pictures
        pictures.build(DATA)
    if "font" in steps:
        import fontgen
        fontgen.build(DATA)
    if "pictures" in steps and not args.no_preview:
        import preview
        os.makedirs(SCREENS, exist_ok=True)
        preview.build(DATA, SCREENS)
    if "tracks" in steps:
        import tracks
        tracks.build(DATA)
    if "sounds" in steps:
        import sounds
        sounds.build(DATA)
    import validate
    problems = validate.check(DATA)
    for p in problems:
        print("PROBLEM:", p)
    print("validation:", "ok" if not problems else "%d problems" % len(problems))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
