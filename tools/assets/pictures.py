"""Draws every sprite on its untrimmed frame, crops it to the rectangle the game
expects, packs each set into its 2048 x 2048 atlas and writes the sheets."""
import numpy as np

import paint
import pngout
import sprites_game as G
import sprites_menu as M
import sprites_pages as P
from paint import TAB

ATLAS = 2048
PADDING = 2

# name, set, frame (oW, oH), trimmed rectangle (oX, oY, w, h), drawing
SPRITES = [
    ("1st_screen_publishedby", 3, (800, 480), (0, 0, 800, 480), P.draw_publishedby),
    ("credits_bg", 2, (800, 480), (0, 0, 800, 480), P.draw_credits_bg),
    ("gameover_bg", 1, (800, 480), (0, 0, 800, 480),
     G.draw_overlay("GAME OVER", "Out of lives. Have another go!", TAB[0])),
    ("gate_left", 1, (800, 480), (0, 0, 402, 480), G.draw_gate("left")),
    ("gate_right", 1, (800, 480), (244, 0, 556, 480), G.draw_gate("right")),
    ("highscore_bg", 2, (800, 480), (0, 0, 800, 480), P.draw_highscore_bg),
    ("ingame_1life", 1, (800, 480), (14, 9, 54, 62), G.draw_hearts(1)),
    ("ingame_2lifes", 1, (800, 480), (14, 9, 112, 62), G.draw_hearts(2)),
    ("ingame_3lifes", 1, (800, 480), (14, 9, 170, 62), G.draw_hearts(3)),
    ("all4tabs_on_hand", 1, (800, 480), (202, 55, 396, 398), G.draw_tabs_hand),
    ("all4tabs_off", 1, (800, 480), (202, 55, 396, 398), G.draw_tabs_off),
    ("all4tabs_on", 1, (800, 480), (202, 55, 396, 398), G.draw_tabs_on),
    ("all4tabs_reload", 1, (800, 480), (342, 182, 118, 118), G.draw_hub),
    ("ingame_bubble_listen", 1, (800, 480), (31, 80, 284, 176), G.draw_bubble("Listen!")),
    ("ingame_bubble_myturn", 1, (800, 480), (31, 80, 284, 176), G.draw_bubble("My turn!")),
    ("ingame_bubble_yourturn", 1, (800, 480), (31, 80, 284, 176), G.draw_bubble("Your turn!")),
    ("ingame_littleball", 1, (800, 480), (311, 220, 114, 50), G.draw_littleball),
    ("ingame_simon", 1, (800, 480), (2, 193, 166, 132), G.draw_simon),
    ("ingame_background", 1, (800, 480), (0, 0, 800, 480), G.draw_ingame_bg),
    ("bork1", 1, (800, 480), (512, 114, 248, 366), G.draw_bork(0)),
    ("bork2", 1, (800, 480), (596, 114, 204, 366), G.draw_bork(1)),
    ("overall0", 1, (800, 480), (0, 60, 8, 364), G.draw_side_bar(0)),
    ("overall1", 1, (800, 480), (792, 60, 8, 364), G.draw_side_bar(792)),
    ("select_bg", 1, (800, 480), (0, 0, 800, 480), M.draw_select_bg),
    ("select_locks", 1, (800, 480), (352, 209, 404, 106), M.draw_select_locks),
    ("startup_background", 3, (800, 480), (0, 0, 800, 480), P.draw_startup_bg),
    ("title_bg", 1, (800, 480), (0, 0, 800, 480), M.draw_title_bg),
    ("title_eye_collage", 1, (800, 480), (37, 132, 528, 348), M.draw_eye_collage),
    ("title_logo", 1, (800, 480), (33, 33, 526, 86), M.draw_title_logo),
    ("title_menu", 1, (800, 480), (604, 0, 180, 480), M.draw_title_menu),
    ("title_menu_exit", 1, (800, 480), (19, 441, 38, 18), M.draw_exit),
    ("title_menu_mouseover", 1, (800, 480), (604, 0, 180, 480), M.draw_title_menu_lit),
    ("STARTUP_scroller_text", 3, (1024, 2048), (64, 4, 672, 2014), P.draw_startup_scroller),
    ("ball_big", 3, (512, 512), (59, 60, 392, 392), P.draw_ball(255, 256, 196, TAB[3])),
    ("ball_midi", 3, (256, 256), (25, 26, 204, 204), P.draw_ball(127, 128, 102, TAB[2])),
    ("ball_small", 3, (256, 256), (56, 57, 142, 142), P.draw_ball(127, 128, 71, TAB[1])),
    ("credits_scroller_vonuntennachoben", 2, (1024, 2048), (27, 52, 742, 1952), P.draw_credits_scroller),
    ("excellent_gameplay", 1, (800, 480), (0, 0, 800, 480),
     G.draw_overlay("EXCELLENT!", "The whole melody! A new track is open.", TAB[1])),
    ("fake_highscore", 2, (800, 480), (15, 193, 436, 168), P.draw_fake_highscore),
    ("advert", 2, (800, 480), (0, 0, 800, 480), P.draw_advert),
]


def render_sprite(entry):
    """The trimmed pixels (h, w, 4) of one sprite, drawn on its full frame."""
    name, _, (fw, fh), (ox, oy, w, h), draw = entry
    s, ctx = paint.surface(fw, fh)
    draw(ctx, fw, fh)
    return paint.to_rgba(s)[oy:oy + h, ox:ox + w]


def pack(sizes):
    """Skyline packing, tallest first; returns the top-left corner of each size."""
    order = sorted(range(len(sizes)), key=lambda i: (-sizes[i][1], -sizes[i][0], i))
    sky = [(0, 0, ATLAS)]  # segments (x, y, width)
    places = [None] * len(sizes)
    for i in order:
        w, h = sizes[i][0] + PADDING, sizes[i][1] + PADDING
        best = None
        for k in range(len(sky)):
            x = sky[k][0]
            if x + w > ATLAS:
                break
            y, span, j = 0, 0, k
            while span < w:
                y = max(y, sky[j][1])
                span += sky[j][2]
                j += 1
                if span < w and j >= len(sky):
                    break
            if span < w or y + h > ATLAS:
                continue
            if best is None or (y, x) < (best[0], best[1]):
                best = (y, x)
        if best is None:
            raise RuntimeError("atlas full at sprite %d" % i)
        y, x = best
        places[i] = (x, y)
        new = []
        for sx, sy, sw in sky:
            for a, b in ((sx, min(sx + sw, x)), (max(sx, x + w), sx + sw)):
                if b > a:
                    new.append((a, sy, b - a))
        new.append((x, y + h, w))
        new.sort()
        merged = []
        for seg in new:
            if merged and merged[-1][1] == seg[1] and merged[-1][0] + merged[-1][2] == seg[0]:
                merged[-1] = (merged[-1][0], seg[1], merged[-1][2] + seg[2])
            else:
                merged.append(seg)
        sky = merged
    return places


def sheet_xml(set_no, rows):
    lines = ['<?xml version="1.0" encoding="UTF-8"?>',
             "<!-- Quavero sprite sheet, texture set %d. Generated by tools/assets/generate.py; do not edit. -->" % set_no,
             "<!-- x, y, w, h: trimmed pixels in the image; oX, oY: their place in the frame; oW, oH: the frame. -->",
             '<TextureAtlas imagePath="textures%d.png" width="%d" height="%d">' % (set_no, ATLAS, ATLAS)]
    for name, (x, y), (ox, oy, w, h), (fw, fh) in rows:
        lines.append('\t<sprite n="%s" x="%d" y="%d" w="%d" h="%d" oX="%d" oY="%d" oW="%d" oH="%d"/>'
                     % (name, x, y, w, h, ox, oy, fw, fh))
    lines.append("</TextureAtlas>")
    return ("\n".join(lines) + "\n").encode("ascii")


def build(data_dir, log=print):
    rendered = {}
    for entry in SPRITES:
        rendered[entry[0]] = render_sprite(entry)
    for set_no in (1, 2, 3):
        entries = [e for e in SPRITES if e[1] == set_no]
        places = pack([(e[3][2], e[3][3]) for e in entries])
        atlas = np.zeros((ATLAS, ATLAS, 4), dtype=np.uint8)
        rows = []
        for e, (x, y) in zip(entries, places):
            px = rendered[e[0]]
            atlas[y:y + px.shape[0], x:x + px.shape[1]] = px
            rows.append((e[0], (x, y), e[3], e[2]))
        pngout.write("%s/textures%d.png" % (data_dir, set_no), atlas)
        with open("%s/textures%d.xml" % (data_dir, set_no), "wb") as f:
            f.write(sheet_xml(set_no, rows))
        log("textures%d: %d sprites" % (set_no, len(entries)))
    s, ctx = paint.surface(800, 480)
    P.draw_loadingscreen(ctx, 800, 480)
    rgb = paint.to_rgba(s)
    pngout.write("%s/loadingscreen.png" % data_dir, np.ascontiguousarray(rgb[:, :, :3]))
    return rendered
