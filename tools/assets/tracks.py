"""The track modules of the game: five composed melodies (tracks 0-4), the
random track's bell (5), the bonus song (6) and the unused second Other World
melody, each as a full module and a melody-less copy."""
import synth
import xmwriter as X
from xmwriter import Cell, Instrument, Module, Sample, note, tab_of

EIGHTH = 12  # rows per eighth note at speed 1

# Each melody: file stem, module name, BPM, instrument maker, tokens "NOTE:eighths".
MELODIES = [
    ("2012_skyward_nobass", "Skyward", 125, "bell",
     "D5:1 E5:1 F#5:2 A5:2 B5:1 A5:1 F#5:2 E5:2 F#5:1 A5:1 B5:2 D6:4"),
    ("2012_halcyon_verse", "Halcyon", 100, "marimba",
     "F4:2 G4:1 A4:1 C5:3 D5:1 C5:2 A4:2 G4:2 A4:1 F4:1 G4:2 C5:2 D5:1 C5:1 A4:2 F4:4"),
    ("2012_labyrinth", "Labyrinth", 125, "pluck",
     "A4:1 C5:1 B4:1 E5:1 D5:1 C5:1 B4:1 G#4:1 A4:2 B4:1 C5:1 D5:1 E5:1 F5:2 "
     "E5:1 D5:1 C5:1 B4:1 E5:2 A4:4"),
    ("2012_commontheme", "Common Theme", 125, "folk",
     "G4:2 A4:1 B4:2 D5:1 B4:2 A4:1 G4:2 E4:1 D4:3 E4:2 G4:1 A4:2 B4:1 A4:2 G4:1 "
     "D5:3 E5:2 D5:1 B4:2 A4:1 G4:2 A4:1 B4:1 G4:4"),
    ("2012_otherworld_melo1", "Other World", 115, "fmbell",
     "D4:2 F4:1 G#4:1 A4:4 G4:1 F4:1 E4:1 D4:1 C#4:2 D4:1 E4:1 F4:2 A4:1 G#4:1 A4:2 "
     "D5:4 C5:1 A#4:1 A4:1 G4:1 F4:2 E4:1 F4:1 D4:2 E4:1 C#4:1 E4:2 D4:4"),
    # Not loaded by the game: a second, calmer Other World phrase kept with the set.
    ("2012_otherworld_melo2", "Other World 2", 105, "fmbell",
     "A4:2 G4:1 F4:1 E4:2 F4:1 G4:1 A4:3 C5:1 A#4:2 A4:2 G4:1 F4:1 E4:2 D4:1 E4:1 "
     "F4:2 A4:2 D5:4"),
]

FREQ_C4 = 261.6256


def freq(n):
    return FREQ_C4 * 2 ** ((n - 49) / 12)


def make_instrument(kind, lowest):
    """One melody instrument tuned so the melody's lowest note plays the sample at
    its natural rate; higher notes play it faster, so every note ends within
    about 0.6 s and the voice stops soon after a key-off."""
    f0 = freq(lowest)
    makers = {
        "bell": lambda: synth.bell(f0, 0.55),
        "marimba": lambda: synth.marimba(f0, 0.55),
        "pluck": lambda: synth.pluck(f0, 0.55, brightness=0.35, seed=2),
        "folk": lambda: synth.pluck(f0, 0.55, brightness=0.8, seed=4, pick=0.3),
        "fmbell": lambda: synth.fm_bell(f0, 0.55),
        "cleanbell": lambda: synth.clean_bell(f0, 0.55),
    }
    rel, fine = X.tuning_for(f0)
    smp = Sample(synth.level(makers[kind]()), name=kind, volume=48, relnote=rel, finetune=fine)
    # Held at full level while the key is down; after a key-off it falls to 0 in 12 ticks.
    return Instrument(kind, smp, vol_env=[(0, 64), (2, 64), (14, 0)], sustain=1, fadeout=2048)


def parse(tokens):
    out = []
    for tok in tokens.split():
        name, length = tok.split(":")
        out.append((note(name), int(length)))
    return out


def melody_modules(stem, title, bpm, kind, tokens):
    mel = parse(tokens)
    ins = make_instrument(kind, min(n for n, _ in mel))
    full = Module(title, 2, 1, bpm)
    full.instruments.append(ins)
    total_rows = sum(l for _, l in mel) * EIGHTH + 2 * EIGHTH
    npat = (total_rows + 255) // 256
    pats = [full.new_pattern(256)[1] for _ in range(npat)]
    full.orders = list(range(npat))
    row = 0
    for n, length in mel:
        pats[row // 256].set(row % 256, 0, note=n, ins=1)
        row += length * EIGHTH
    pats[row // 256].set(row % 256, 0, note=X.NOTE_OFF)
    end = row + EIGHTH
    # Ending the song one eighth after the final key-off keeps the listening phase short.
    pats[end // 256].set(end % 256, 1, fx=0x0D, param=0)
    full.orders = list(range(end // 256 + 1))
    empty = Module(title, 2, 1, bpm)
    empty.instruments.append(ins)
    empty.new_pattern(256)
    empty.orders = [0]
    return full, empty, mel


def random_modules():
    """Track 5: the melody is drawn at run time from notes 49, 52, 55 and 58; both
    modules only carry the clean bell tuned around them."""
    mods = []
    for _ in range(2):
        m = Module("Random", 2, 1, 125)
        m.instruments.append(make_instrument("cleanbell", note("C4")))
        m.new_pattern(256)
        m.orders = [0]
        mods.append(m)
    return mods


def build(data_dir, log=print):
    import bonus_song
    summary = []
    for stem, title, bpm, kind, tokens in MELODIES:
        full, empty, mel = melody_modules(stem, title, bpm, kind, tokens)
        for suffix, mod in (("", full), ("_empty", empty)):
            with open("%s/%s%s.xm" % (data_dir, stem, suffix), "wb") as f:
                f.write(mod.to_bytes())
        tabs = [tab_of(n) for n, _ in mel]
        secs = (sum(l for _, l in mel) * EIGHTH + EIGHTH) * 2.5 / bpm
        summary.append((stem, len(mel), [tabs.count(t) for t in range(4)], secs))
        log("%s: %d notes, tabs %s, %.1f s" % summary[-1])
    full, empty = random_modules()
    for name, mod in (("random", full), ("random_empty", empty)):
        with open("%s/%s.xm" % (data_dir, name), "wb") as f:
            f.write(mod.to_bytes())
    full, empty = bonus_song.modules()
    for name, mod in (("c64rolld", full), ("c64rolld_empty", empty)):
        with open("%s/%s.xm" % (data_dir, name), "wb") as f:
            f.write(mod.to_bytes())
    log("c64rolld: %d orders of %d-row patterns" % (len(full.orders), full.patterns[0].rows))
    return summary
