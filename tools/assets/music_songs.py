"""Songs rendered to Ogg Vorbis by the project's own module renderer: the menu
music (a relaxed loop of about 67 s), the level-done fanfare (about 7 s) and
the game-over phrase (about 12 s). Their XM files are written to
tools/assets/songs/ as the renderer's input."""
import synth
from songlib import chord, hits, instrument, seq, vol
from xmwriter import Module

# ---- Menu music: D major-ish, lazy swing of marimba over a warm pad -------------------
M_LEAD, M_PAD, M_BASS, M_KICK, M_HAT, M_BELL = 1, 2, 3, 4, 5, 6
M_PROG = [("G3", "maj"), ("F#3", "min"), ("E3", "min"), ("A3", "sus"),
          ("G3", "maj"), ("A3", "maj"), ("B3", "min"), ("A3", "maj")]
M_BASS_ROOT = {"G3": "G2", "F#3": "F#2", "E3": "E2", "A3": "A2", "B3": "B2", "D3": "D2"}
M_LEAD_A = ["B4:4 D5:2 E5:2 F#5:6 -:2", "E5:4 D5:2 C#5:2 A4:8", "G4:2 B4:2 E5:4 D5:2 B4:2 G4:4",
            "A4:8 -:4 E5:4", "D5:4 B4:2 D5:2 G5:6 F#5:2", "E5:4 C#5:2 E5:2 A5:8",
            "F#5:2 E5:2 D5:2 B4:2 D5:4 F#5:4", "E5:12 -:4"]
M_LEAD_B = ["D5:2 -:2 B4:2 D5:2 E5:4 D5:4", "C#5:2 -:2 A4:2 C#5:2 E5:8", "B4:4 G4:4 E4:4 G4:4",
            "A4:12 -:4", "G5:4 F#5:2 E5:2 D5:4 B4:4", "C#5:4 E5:4 A5:4 G5:2 E5:2",
            "F#5:6 D5:2 B4:4 D5:4", "C#5:8 A4:8"]


def menu_song():
    m = Module("Quavero Menu", 6, 6, 100)
    m.instruments.extend([
        instrument("marimba", synth.marimba(293.66, 0.9), 293.66, volume=48),
        instrument("pad", synth.pad(196.0, 2.2), 196.0, volume=26, fadeout=512),
        instrument("bass", synth.pluck(98.0, 1.0, brightness=0.3, seed=5), 98.0, volume=50),
        instrument("kick", synth.kick(), 523.2511, volume=40, env=False),
        instrument("hat", synth.hat(), 523.2511, volume=16, env=False),
        instrument("bell", synth.bell(587.33, 1.0), 587.33, volume=28),
    ])

    def pattern(lead, drums=True, bells=False):
        idx, p = m.new_pattern(128)
        for bar in range(8):
            s = bar * 16
            root, q = M_PROG[bar]
            seq(p, 1, s, "%s:16" % root, M_PAD)
            b = M_BASS_ROOT[root]
            seq(p, 2, s, "%s:6 %s:2 %s:8" % (b, b, b), M_BASS)
            if drums:
                hits(p, 3, s, [0, 10], M_KICK)
                hits(p, 4, s, [4, 12] if bar % 2 == 0 else [4, 12, 14], M_HAT)
            if lead:
                seq(p, 0, s, lead[bar], M_LEAD)
            if bells:
                seq(p, 5, s, "-:8 %s:8" % root.replace("3", "5"), M_BELL)
        return idx

    a = pattern(None, drums=True)
    b = pattern(M_LEAD_A)
    c = pattern(M_LEAD_B, bells=True)
    d = pattern(M_LEAD_A, bells=True)
    m.orders = [a, b, c, d]  # 4 x 128 rows x 0.15 s = 76.8 s, loops back to the start
    return m


# ---- Level done: a bright rising fanfare in C major, about 7 s ------------------------
def leveldone_song():
    m = Module("Level Done", 5, 6, 125)
    m.instruments.extend([
        instrument("brass", synth.chip_pulse(523.2511, 1.4, duty=0.3, decay=0.8), 523.2511, volume=44),
        instrument("bell", synth.bell(1046.5, 1.2), 1046.5, volume=36),
        instrument("bass", synth.pluck(130.81, 1.2, brightness=0.4, seed=6), 130.81, volume=52),
        instrument("kick", synth.kick(), 523.2511, volume=48, env=False),
        instrument("snare", synth.snare(), 523.2511, volume=36, env=False),
    ])
    idx, p = m.new_pattern(64)
    seq(p, 0, 0, "C5:2 E5:2 G5:2 C6:6 -:4 A5:2 C6:2 D6:2 E6:10 -:4 D6:2 E6:2 G6:16 off:1", 1)
    seq(p, 1, 0, "-:12 C6:4 -:12 E6:4 -:8 G6:16", 2)
    seq(p, 2, 0, "C3:12 -:4 F3:12 -:4 G3:8 C3:16 off:1", 3)
    hits(p, 3, 0, [0, 12, 28, 40, 44], 4)
    hits(p, 4, 0, [10, 11, 26, 27, 38, 39, 42, 43], 5)
    seq(p, 4, 44, "C5:1", 5)
    p.set(58, 0, fx=0x0D, param=0)
    m.orders = [idx]
    return m


# ---- Game over: a gentle falling phrase in A minor, about 12 s --------------------------
def gameover_song():
    m = Module("Game Over", 4, 6, 90)
    m.instruments.extend([
        instrument("bell", synth.fm_bell(440.0, 1.6), 440.0, volume=44),
        instrument("pad", synth.pad(220.0, 2.5), 220.0, volume=28, fadeout=512),
        instrument("bass", synth.pluck(110.0, 1.6, brightness=0.3, seed=8), 110.0, volume=48),
    ])
    # The last chord is short enough to die away well before the game asks for
    # the menu music again, so the jingle ends in silence.
    idx, p = m.new_pattern(72)
    seq(p, 0, 0, "E5:6 D5:2 C5:6 B4:2 A4:8 -:8 D5:6 C5:2 B4:6 G#4:2 A4:12 off:1", 1)
    seq(p, 1, 0, "A3:16 F3:16 D3:16 E3:16 A3:4 off:1", 2)
    seq(p, 2, 0, "A2:16 F2:16 D2:16 E2:16 A2:4 off:1", 3)
    seq(p, 3, 56, "E5:4 C5:4 A4:4 off:1", 1, vol=vol(24))
    m.orders = [idx]
    return m


SONGS = {"music": menu_song, "leveldone": leveldone_song, "gameover": gameover_song}

# Length of the jingle files in seconds. The game wants the level-done jingle
# for 8 s and the game-over one for 14.5 s (overlay fade-in, hold, outro) from
# music slots that loop, so each file runs a second longer, ending in silence.
JINGLE_SECONDS = {"leveldone": 9.0, "gameover": 15.5}


def write_sources(out_dir):
    paths = {}
    for name, make in SONGS.items():
        path = "%s/%s.xm" % (out_dir, name)
        with open(path, "wb") as f:
            f.write(make().to_bytes())
        paths[name] = path
    return paths
