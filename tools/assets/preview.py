"""Preview of the pictures as the game composes them: reads the generated atlases
and sheets back from data/, draws sprites at their frame positions the way the
game's sprite operations do, and writes a contact sheet and one PNG per screen."""
import math
import re
import struct
import sys
import zlib

import cairo
import numpy as np
from PIL import Image

import paint
import pngout


def read_png(path):
    """Decodes with Pillow, a reader independent of our writer, as RGBA."""
    with Image.open(path) as im:
        return np.asarray(im.convert("RGBA")).copy()


class Atlas:
    def __init__(self, data_dir, sources=None):
        """sources: already decoded atlas pixels by set number, to skip the slow reader."""
        self.sprites = {}
        for n in (1, 2, 3):
            px = sources[n] if sources else read_png("%s/textures%d.png" % (data_dir, n))
            surf = paint.rgba_to_surface(px)
            xml = open("%s/textures%d.xml" % (data_dir, n)).read()
            for m in re.finditer(r"<sprite ([^>]*)/>", xml):
                attrs = dict(re.findall(r'(\w+)="([^"]*)"', m.group(1)))
                rec = {k: int(attrs.get(k, 0)) for k in ("x", "y", "w", "h", "oX", "oY")}
                rec["oW"] = int(attrs.get("oW", attrs["w"]))
                rec["oH"] = int(attrs.get("oH", attrs["h"]))
                rec["surface"] = surf
                self.sprites[attrs["n"]] = rec

    def region(self, ctx, name, sx, sy, sw, sh, dx, dy, dw, dh, a=1.0):
        s = self.sprites.get(name)
        if s is None or a < 0.0001:
            return
        if s["oX"] > sx + sw or s["oY"] > sy + sh or s["oX"] + s["w"] < sx or s["oY"] + s["h"] < sy:
            return
        left, top = max(sx, s["oX"]), max(sy, s["oY"])
        right, bottom = min(sx + sw, s["oX"] + s["w"]), min(sy + sh, s["oY"] + s["h"])
        kx, ky = dw / sw, dh / sh
        x2 = dx + (left - sx) * kx
        y2 = dy + (top - sy) * ky
        w2 = dw + ((right - left) - sw) * kx
        h2 = dh + ((bottom - top) - sh) * ky
        srcx, srcy = s["x"] + left - s["oX"], s["y"] + top - s["oY"]
        srcw, srch = right - left, bottom - top
        if srcw <= 0 or srch <= 0:
            return
        ctx.save()
        ctx.rectangle(x2, y2, w2, h2)
        ctx.clip()
        ctx.translate(x2, y2)
        ctx.scale(w2 / srcw, h2 / srch)
        ctx.set_source_surface(s["surface"], -srcx, -srcy)
        ctx.get_source().set_filter(cairo.FILTER_BILINEAR)
        ctx.paint_with_alpha(a)
        ctx.restore()

    def draw(self, ctx, name, x=0, y=0, a=1.0):
        s = self.sprites[name]
        self.region(ctx, name, 0, 0, s["oW"], s["oH"], x, y, s["oW"], s["oH"], a)


class Font:
    def __init__(self, data_dir):
        try:
            self.surface = paint.rgba_to_surface(read_png(data_dir + "/zagbold.png"))
            self.widths = struct.unpack("<256H", open(data_dir + "/zagbold.dat", "rb").read())
        except OSError:
            self.surface = None

    def draw(self, ctx, s, x, y, rgba, size):
        if self.surface is None:
            return
        scale, pen = size / 64, 0
        for c in s.encode("latin-1"):
            ctx.save()
            dx = x + pen * scale
            ctx.rectangle(dx, y, 64 * scale, 64 * scale)
            ctx.clip()
            ctx.translate(dx, y)
            ctx.scale(scale, scale)
            # Tint: the glyph's alpha as a mask over the colour
            ctx.set_source_rgba(*rgba)
            ctx.mask_surface(self.surface, -64 * (c % 16), -64 * (c // 16))
            ctx.restore()
            pen += self.widths[c] or 24  # a zero width (control code) advances by the default


def screen():
    s, ctx = paint.surface(800, 480)
    ctx.set_source_rgb(0, 0, 0)
    ctx.paint()
    return s, ctx


def gates(A, ctx, closure):
    shift = (1 - closure) ** 2 * A.sprites["gate_right"]["w"]
    A.draw(ctx, "gate_left", -shift, 0)
    A.draw(ctx, "gate_right", shift, 0)


def title(A, ctx, hover=0):
    A.draw(ctx, "title_bg")
    A.draw(ctx, "title_logo")
    A.draw(ctx, "title_eye_collage")
    A.draw(ctx, "title_menu_exit")
    h = A.sprites["title_menu"]["h"]
    for i, x in enumerate((605, 666, 727)):
        A.region(ctx, "title_menu", x, 0, 58, h, x, 0, 58, h)
    for i, x in enumerate((605, 666, 727)):
        A.region(ctx, "title_menu_mouseover", x, 0, 58, h, x, 0, 58, h, 1.0 if i == hover else 0.0)


def select(A, ctx, locks=3):
    A.draw(ctx, "select_bg")
    A.draw(ctx, "title_menu_exit", 0, 12)
    for k, x in enumerate((335, 480, 630)):
        if locks >= 3 - k:
            A.region(ctx, "select_locks", x, 140, 135, 220, x, 140, 135, 220)


TITLES = ["SKYWARD by ORLA/KTX", "HALCYON by VOSTOK", "LABYRINTH by ZENTRIA",
          "COMMON THEME by QUARZWERK", "OTHER WORLD by NEBULON SQUAD", "RANDOM by YOUR COMPUTER",
          "BORK WAS HERE!"]


def ingame(A, F, ctx, track=4, lives=2, glow=(0, 1, 0, 0), light=(0, 0, 0, 0), bubble=None, bork=None):
    A.draw(ctx, "ingame_background")
    A.draw(ctx, "ingame_3lifes", 0, 0, 1.0 if lives == 3 else 0.25)
    if lives == 2:
        A.draw(ctx, "ingame_2lifes")
    if lives == 1:
        A.draw(ctx, "ingame_1life")
    for x, y in ((120, 114), (520, 150), (700, 96)):
        A.draw(ctx, "ingame_littleball", x - 400, y - 240)
    F.draw(ctx, TITLES[track], 8, 416, (0, 0, 0, 1), 32)
    if track != 6:
        F.draw(ctx, "Score: 46", 590, 416, (0, 0, 0, 1), 32)
    A.draw(ctx, "ingame_simon")
    A.draw(ctx, "all4tabs_off")
    regions = [(218, 59, 182, 181), (399, 59, 187, 181), (210, 240, 192, 186), (403, 240, 188, 193)]
    for t, (x, y, w, h) in enumerate(regions):
        A.region(ctx, "all4tabs_on", x, y, w, h, x, y, w, h, glow[t])
        A.region(ctx, "all4tabs_on_hand", x, y, w, h, x, y, w, h, light[t])
    A.draw(ctx, "all4tabs_reload")
    if bork is not None:
        A.draw(ctx, "bork1" if bork else "bork2")
    if bubble:
        A.draw(ctx, bubble)
    A.draw(ctx, "title_menu_exit", 0, 12)


def contact_sheet(A, path):
    names = list(A.sprites)
    cols, cell = 8, 200
    rows = (len(names) + cols - 1) // cols
    s, ctx = paint.surface(cols * cell, rows * (cell + 24))
    ctx.set_source_rgb(0.35, 0.35, 0.4)
    ctx.paint()
    for i, n in enumerate(names):
        sp = A.sprites[n]
        cx, cy = (i % cols) * cell, (i // cols) * (cell + 24)
        for yy in range(0, cell, 16):
            for xx in range(0, cell, 16):
                if (xx + yy) // 16 % 2:
                    ctx.set_source_rgb(0.45, 0.45, 0.5)
                    ctx.rectangle(cx + xx, cy + yy, 16, 16)
                    ctx.fill()
        k = min((cell - 8) / sp["w"], (cell - 8) / sp["h"])
        A.region(ctx, n, sp["oX"], sp["oY"], sp["w"], sp["h"], cx + 4, cy + 4, sp["w"] * k, sp["h"] * k)
        paint.text(ctx, n[:26], cx + cell / 2, cy + cell + 17, 11, (1, 1, 1, 1), bold=False)
    pngout.write(path, paint.to_rgba(s))


def save(s, path):
    pngout.write(path, np.ascontiguousarray(paint.to_rgba(s)[:, :, :3]))


def build(data_dir, out_dir, sources=None):
    A = Atlas(data_dir, sources)
    F = Font(data_dir)
    contact_sheet(A, out_dir + "/contact_sheet.png")
    s, ctx = screen(); A.draw(ctx, "1st_screen_publishedby"); save(s, out_dir + "/splash.png")
    s, ctx = screen()
    A.draw(ctx, "startup_background")
    balls = ["ball_small", "ball_midi", "ball_big"]
    for i in range(0, 10, 4):
        k = i % 3
        if k == 0:
            sp = A.sprites[balls[k]]
            A.draw(ctx, balls[k], ((57 * i) % 16) / 16 * 800 - sp["oW"] / 2, 480 - i * 60 - sp["oH"] / 2)
    A.draw(ctx, "STARTUP_scroller_text", 0, -2048 * (1 - 0.55))
    for i in (1, 5, 8):
        k = i % 3
        if k:
            sp = A.sprites[balls[k]]
            A.draw(ctx, balls[k], ((57 * i) % 16) / 16 * 800 - sp["oW"] / 2, 480 - i * 60 - sp["oH"] / 2)
    save(s, out_dir + "/startup.png")
    s, ctx = screen(); A.draw(ctx, "STARTUP_scroller_text", 0, 0); save(s, out_dir + "/startup_end.png")
    s, ctx = screen(); title(A, ctx); save(s, out_dir + "/title.png")
    s, ctx = screen(); select(A, ctx, 3); save(s, out_dir + "/select.png")
    s, ctx = screen(); ingame(A, F, ctx, bubble="ingame_bubble_yourturn", light=(0, 0, 1, 0), glow=(0, 1, 0.6, 0))
    save(s, out_dir + "/ingame.png")
    s, ctx = screen(); ingame(A, F, ctx, track=0, lives=3, bubble="ingame_bubble_listen", glow=(1, 0, 0, 1), light=(0, 0, 0, 1))
    save(s, out_dir + "/ingame_listen.png")
    s, ctx = screen(); ingame(A, F, ctx, track=6, lives=3, bork=True, glow=(0, 0, 0, 1)); save(s, out_dir + "/ingame_bork.png")
    s, ctx = screen(); ingame(A, F, ctx, lives=0); A.draw(ctx, "gameover_bg"); save(s, out_dir + "/gameover.png")
    s, ctx = screen(); ingame(A, F, ctx, lives=1); A.draw(ctx, "excellent_gameplay"); save(s, out_dir + "/excellent.png")
    s, ctx = screen(); A.draw(ctx, "advert"); save(s, out_dir + "/advert.png")
    s, ctx = screen(); A.draw(ctx, "credits_bg"); A.draw(ctx, "credits_scroller_vonuntennachoben", 0, 480 - 0.3 * 2528)
    save(s, out_dir + "/credits.png")
    s, ctx = screen(); A.draw(ctx, "highscore_bg"); A.draw(ctx, "fake_highscore"); save(s, out_dir + "/highscore.png")
    s, ctx = screen(); title(A, ctx, hover=-1); gates(A, ctx, 0.75); save(s, out_dir + "/gates_closing.png")
    s, ctx = screen(); gates(A, ctx, 1.0); save(s, out_dir + "/gates_closed.png")


if __name__ == "__main__":
    build(sys.argv[1] if len(sys.argv) > 1 else "data", sys.argv[2] if len(sys.argv) > 2 else "docs/screens")
