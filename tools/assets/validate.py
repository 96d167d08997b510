"""Checks the generated data/ against what the game relies on; returns a list
of problems (empty when all is well). Independent of the generators: it reads
the files back and compares them with the game's fixed tables."""
import os
import struct
import xml.etree.ElementTree as ET

NAMES = """2012_halcyon_verse.xm 2012_halcyon_verse_empty.xm 2012_skyward_nobass.xm
2012_skyward_nobass_empty.xm 2012_labyrinth.xm 2012_labyrinth_empty.xm 2012_commontheme.xm
2012_commontheme_empty.xm 2012_otherworld_melo1.xm 2012_otherworld_melo1_empty.xm
2012_otherworld_melo2.xm 2012_otherworld_melo2_empty.xm areyoukiddingme.ogg c64rolld.xm
c64rolld_empty.xm fail.ogg gameover.ogg greatgameplaydude.ogg leveldone.ogg loadingscreen.png
music.ogg myturn.ogg random.xm random_empty.xm solistenup.ogg textures1.png textures1.xml
textures2.png textures2.xml textures3.png textures3.xml yourturn.ogg zagbold.dat zagbold.png""".split()
# The jingles outlast the 8 s and 14.5 s the game wants them (their slots loop).
MUSIC = {"music.ogg": (60, 120), "leveldone.ogg": (8.5, 10), "gameover.ogg": (15, 16.5)}
SHORT = ["fail.ogg", "solistenup.ogg", "myturn.ogg", "yourturn.ogg", "areyoukiddingme.ogg",
         "greatgameplaydude.ogg"]

# The game's sprite slots: name -> (set, frame w, frame h, oX, oY, w, h)
SLOTS = {}
for line in """1st_screen_publishedby 3 800 480 0 0 800 480
credits_bg 2 800 480 0 0 800 480
gameover_bg 1 800 480 0 0 800 480
gate_left 1 800 480 0 0 402 480
gate_right 1 800 480 244 0 556 480
highscore_bg 2 800 480 0 0 800 480
ingame_1life 1 800 480 14 9 54 62
ingame_2lifes 1 800 480 14 9 112 62
ingame_3lifes 1 800 480 14 9 170 62
all4tabs_on_hand 1 800 480 202 55 396 398
all4tabs_off 1 800 480 202 55 396 398
all4tabs_on 1 800 480 202 55 396 398
all4tabs_reload 1 800 480 342 182 118 118
ingame_bubble_listen 1 800 480 31 80 284 176
ingame_bubble_myturn 1 800 480 31 80 284 176
ingame_bubble_yourturn 1 800 480 31 80 284 176
ingame_littleball 1 800 480 311 220 114 50
ingame_simon 1 800 480 2 193 166 132
ingame_background 1 800 480 0 0 800 480
bork1 1 800 480 512 114 248 366
bork2 1 800 480 596 114 204 366
overall0 1 800 480 0 60 8 364
overall1 1 800 480 792 60 8 364
select_bg 1 800 480 0 0 800 480
select_locks 1 800 480 352 209 404 106
startup_background 3 800 480 0 0 800 480
title_bg 1 800 480 0 0 800 480
title_eye_collage 1 800 480 37 132 528 348
title_logo 1 800 480 33 33 526 86
title_menu 1 800 480 604 0 180 480
title_menu_exit 1 800 480 19 441 38 18
title_menu_mouseover 1 800 480 604 0 180 480
STARTUP_scroller_text 3 1024 2048 64 4 672 2014
ball_big 3 512 512 59 60 392 392
ball_midi 3 256 256 25 26 204 204
ball_small 3 256 256 56 57 142 142
credits_scroller_vonuntennachoben 2 1024 2048 27 52 742 1952
excellent_gameplay 1 800 480 0 0 800 480
fake_highscore 2 800 480 15 193 436 168
advert 2 800 480 0 0 800 480""".splitlines():
    f = line.split()
    SLOTS[f[0]] = tuple(int(v) for v in f[1:])

TRACKS = ["2012_skyward_nobass", "2012_halcyon_verse", "2012_labyrinth", "2012_commontheme",
          "2012_otherworld_melo1"]
TRACK_NOTES = [12, 16, 20, 24, 28]


def png_header(path):
    with open(path, "rb") as f:
        head = f.read(33)
    if head[:8] != b"\x89PNG\r\n\x1a\n" or head[12:16] != b"IHDR":
        return None
    w, h, depth, ctype, _, _, interlace = struct.unpack(">IIBBBBB", head[16:29])
    return w, h, depth, ctype, interlace


def check_pictures(d, problems):
    want = {"loadingscreen.png": (800, 480, 8, 2), "textures1.png": (2048, 2048, 8, 6),
            "textures2.png": (2048, 2048, 8, 6), "textures3.png": (2048, 2048, 8, 6),
            "zagbold.png": (1024, 1024, 8, 6)}
    for name, (w, h, depth, ctype) in want.items():
        hd = png_header(os.path.join(d, name))
        if hd is None or hd[:4] != (w, h, depth, ctype):
            problems.append("%s: header %s, want %s" % (name, hd, (w, h, depth, ctype)))
    for n in (1, 2, 3):
        path = os.path.join(d, "textures%d.xml" % n)
        try:
            root = ET.parse(path).getroot()
        except ET.ParseError as e:
            problems.append("%s: %s" % (path, e))
            continue
        if root.tag != "TextureAtlas":
            problems.append("%s: root is %s" % (path, root.tag))
        seen, rects = set(), []
        for sp in root.iter("sprite"):
            a = sp.attrib
            name = a.get("n", "")
            if name in seen:
                problems.append("textures%d.xml: %s twice" % (n, name))
            seen.add(name)
            if name not in SLOTS or SLOTS[name][0] != n:
                problems.append("textures%d.xml: %s does not belong to this set" % (n, name))
                continue
            vals = tuple(int(a[k]) for k in ("oW", "oH", "oX", "oY", "w", "h"))
            if vals != SLOTS[name][1:]:
                problems.append("textures%d.xml: %s frame/trim %s, want %s" % (n, name, vals, SLOTS[name][1:]))
            x, y, w, h = (int(a[k]) for k in ("x", "y", "w", "h"))
            if x < 0 or y < 0 or x + w > 2048 or y + h > 2048:
                problems.append("textures%d.xml: %s outside the atlas" % (n, name))
            for (x2, y2, w2, h2, n2) in rects:
                if x < x2 + w2 and x2 < x + w and y < y2 + h2 and y2 < y + h:
                    problems.append("textures%d.xml: %s overlaps %s" % (n, name, n2))
            rects.append((x, y, w, h, name))
        missing = {k for k, v in SLOTS.items() if v[0] == n} - seen
        if missing:
            problems.append("textures%d.xml: missing %s" % (n, sorted(missing)))


def check_font(d, problems):
    raw = open(os.path.join(d, "zagbold.dat"), "rb").read()
    if len(raw) != 512:
        problems.append("zagbold.dat: %d bytes" % len(raw))
        return
    widths = struct.unpack("<256H", raw)
    bad = [c for c in range(32, 127) if not 8 <= widths[c] <= 32]
    if bad:
        problems.append("zagbold.dat: printable widths out of 8..32 for %s" % bad)


class XM:
    """Just enough of an XM reader to check the modules: header, patterns, instruments."""

    def __init__(self, data):
        if data[:17] != b"Extended Module: ":
            raise ValueError("not an XM")
        self.version = struct.unpack_from("<H", data, 58)[0]
        hsize, self.length, self.restart, self.channels, npat, nins, self.flags, self.speed, self.bpm = \
            struct.unpack_from("<IHHHHHHHH", data, 60)
        self.orders = list(data[80:80 + self.length])
        pos = 60 + hsize
        self.patterns = []
        for _ in range(npat):
            _, _, rows, size = struct.unpack_from("<IBHH", data, pos)
            pos += 9
            cells = [[(0, 0, 0, 0, 0)] * self.channels for _ in range(rows)]
            p, end = pos, pos + size
            if size:
                for r in range(rows):
                    for c in range(self.channels):
                        b = data[p]
                        p += 1
                        f = [0] * 5
                        if b & 0x80:
                            for bit in range(5):
                                if b & (1 << bit):
                                    f[bit] = data[p]
                                    p += 1
                        else:
                            f = [b] + list(data[p:p + 4])
                            p += 4
                        cells[r][c] = tuple(f)
            pos = end
            self.patterns.append(cells)
        self.instruments = []
        for _ in range(nins):
            isize, nsmp = struct.unpack_from("<I", data, pos)[0], struct.unpack_from("<H", data, pos + 27)[0]
            start = pos
            ins = {"raw_header": data[pos:pos + isize], "samples": []}
            if nsmp:
                ins["vol_points"] = data[pos + 225]
                ins["vol_type"] = data[pos + 233]
                ins["fadeout"] = struct.unpack_from("<H", data, pos + 239)[0]
            pos += isize
            heads = []
            for _ in range(nsmp):
                length, ls, ll, vol, fine, typ, pan, rel = struct.unpack_from("<IIIBbBBb", data, pos)
                heads.append({"length": length, "loop": typ & 3, "bits": 16 if typ & 0x10 else 8,
                              "fine": fine, "rel": rel})
                pos += 40
            for h in heads:
                h["data"] = data[pos:pos + h["length"]]
                pos += h["length"]
                ins["samples"].append(h)
            ins["raw"] = data[start:pos]
            self.instruments.append(ins)

    def channel_events(self):
        """Walks the order list once (following pattern breaks) and yields
        (seconds, channel, note) for each note, plus the song's length in seconds."""
        t, events = 0.0, []
        speed, bpm = self.speed, self.bpm
        order, row = 0, 0
        while order < self.length:
            pat = self.patterns[self.orders[order]]
            brk = None
            for c, cell in enumerate(pat[row]):
                n, ins, vol, fx, param = cell
                if 1 <= n <= 96:
                    events.append((t, c, n))
                if fx == 0x0F and param:
                    if param < 32:
                        speed = param
                    else:
                        bpm = param
                if fx == 0x0D:
                    brk = (param >> 4) * 10 + (param & 15)
            t += speed * 2.5 / bpm
            row += 1
            if brk is not None or row >= len(pat):
                order += 1
                row = brk or 0
        return events, t


def sample_seconds(smp, n):
    frames = smp["length"] // (2 if smp["bits"] == 16 else 1)
    rate = 8363 * 2 ** ((n - 49 + smp["rel"] + smp["fine"] / 128) / 12)
    return frames / rate


def check_modules(d, problems, report):
    for k, stem in enumerate(TRACKS + ["2012_otherworld_melo2"]):
        full = XM(open(os.path.join(d, stem + ".xm"), "rb").read())
        empty_raw = open(os.path.join(d, stem + "_empty.xm"), "rb").read()
        empty = XM(empty_raw)
        for label, m in (("", full), ("_empty", empty)):
            if not (m.flags & 1) or m.speed != 1 or len(m.instruments) != 1:
                problems.append("%s%s: flags %d speed %d instruments %d" % (stem, label, m.flags, m.speed, len(m.instruments)))
            if any(len(p) != 256 for p in m.patterns):
                problems.append("%s%s: patterns not of 256 rows" % (stem, label))
        if full.instruments[0]["raw"] != empty.instruments[0]["raw"]:
            problems.append("%s_empty: instrument 1 differs from the full module's" % stem)
        if empty.orders[0] != 0 or any(any(any(c) for c in row) for p in empty.patterns for row in p):
            problems.append("%s_empty: not all empty" % stem)
        events, secs = full.channel_events()
        notes = [n for _, _, n in events]
        if any(c != 0 for _, c, _ in events):
            problems.append("%s: notes outside channel 0" % stem)
        tabs = [(n * 3) & 3 for n in notes]
        run, longest = 1, 1
        for a, b in zip(tabs, tabs[1:]):
            run = run + 1 if a == b else 1
            longest = max(longest, run)
        if k < 5 and len(notes) != TRACK_NOTES[k]:
            problems.append("%s: %d notes, want %d" % (stem, len(notes), TRACK_NOTES[k]))
        if len(set(tabs)) != 4 or longest > 2:
            problems.append("%s: tabs %s" % (stem, tabs))
        # A phrase note is keyed off after 8 rows; its voice must end soon after.
        keyoff = 8 * full.speed * 2.5 / full.bpm
        smp = full.instruments[0]["samples"][0]
        worst = max(sample_seconds(smp, n + o) for n in notes for o in range(-3, 4))
        if smp["loop"] or worst - keyoff > 0.55:
            problems.append("%s: voice outlives key-off by %.2f s" % (stem, worst - keyoff))
        report.append("%s: %d notes, tabs %s, %.1f s, voice end %.2f s after key-off"
                      % (stem, len(notes), [tabs.count(t) for t in range(4)], secs, worst - keyoff))
    for name in ("random", "random_empty"):
        m = XM(open(os.path.join(d, name + ".xm"), "rb").read())
        if m.channel_events()[0] or len(m.instruments) != 1 or m.speed != 1:
            problems.append("%s: should be empty with one instrument" % name)
        smp = m.instruments[0]["samples"][0]
        worst = max(sample_seconds(smp, n + 1) for n in (48 - 3, 51, 54, 57 + 3))
        if smp["loop"] or worst > 0.9:
            problems.append("%s: bell rings %.2f s" % (name, worst))
    m = XM(open(os.path.join(d, "c64rolld.xm"), "rb").read())
    events, secs = m.channel_events()
    lead = [e for e in events if e[1] == 1]
    if not lead or not 40 <= secs <= 90:
        problems.append("c64rolld: %d lead notes, %.1f s" % (len(lead), secs))
    if any(s["loop"] for ins in m.instruments for s in ins["samples"]):
        problems.append("c64rolld: looping sample (its voices would never end)")
    report.append("c64rolld: %d channels, %d notes, %d on the lead channel, %.1f s"
                  % (m.channels, len(events), len(lead), secs))


def ogg_info(path):
    """(channels, rate, seconds) from the identification header and the last granule position."""
    data = open(path, "rb").read()
    i = data.find(b"\x01vorbis")
    channels, rate = data[i + 11], struct.unpack_from("<I", data, i + 12)[0]
    last = data.rfind(b"OggS")
    granule = struct.unpack_from("<q", data, last + 6)[0]
    return channels, rate, granule / rate


def check_sounds(d, problems, report):
    for name in SHORT + list(MUSIC):
        path = os.path.join(d, name)
        if not os.path.exists(path):
            problems.append("%s: missing" % name)
            continue
        ch, rate, secs = ogg_info(path)
        lo, hi = MUSIC.get(name, (0.2, 3.0))
        if rate != 44100 or not lo <= secs < hi:
            problems.append("%s: %d Hz, %.2f s" % (name, rate, secs))
        report.append("%s: %d ch, %d Hz, %.2f s" % (name, ch, rate, secs))


def check(d, report=None):
    report = [] if report is None else report
    problems = []
    present = set(os.listdir(d))
    for n in NAMES:
        if n not in present:
            if n in MUSIC:
                report.append("%s: not rendered yet (needs tools/xmrender)" % n)
            else:
                problems.append("missing %s" % n)
    extra = present - set(NAMES) - {"LICENSES"}
    if extra:
        problems.append("unexpected files %s" % sorted(extra))
    check_pictures(d, problems)
    check_font(d, problems)
    check_modules(d, problems, report)
    check_sounds(d, problems, report)
    return problems


if __name__ == "__main__":
    import sys
    rep = []
    probs = check(sys.argv[1] if len(sys.argv) > 1 else "data", rep)
    print("\n".join(rep))
    print("\n".join("PROBLEM: " + p for p in probs) or "ok")
