"""Set one, menus: title screen, track selection and the back button."""
import math

import cairo

from figures import logo, mascot, note_ball, padlock
from paint import (CREAM, INDIGO, INK, NAVY, TAB, bright, dim, glow, mix, night,
                   rounded_rect, shadow, text, text_fit, text_path, vgrad, with_alpha, font)

MENU_STRIPS = [(605, "PLAY", TAB[0]), (666, "HIGH SCORE", TAB[1]), (727, "CREDITS", TAB[2])]


def draw_title_bg(ctx, w, h):
    night(ctx, w, h, seed=5, stars=90)
    glow(ctx, 300, 470, 330, TAB[3], 0.3)
    glow(ctx, 700, 240, 200, TAB[0], 0.12)
    # A soft hill line for the collage to stand on
    ctx.set_source_rgba(*with_alpha(mix(NAVY, TAB[3], 0.25), 1))
    ctx.move_to(0, 480)
    ctx.curve_to(200, 430, 420, 440, 600, 470)
    ctx.line_to(600, 480)
    ctx.close_path()
    ctx.fill()


def draw_title_logo(ctx, w, h):
    logo(ctx, w, h, 296, 108, 92)


def draw_eye_collage(ctx, w, h):
    def body(c):
        c.arc(300, 448, 180, 0, 2 * math.pi)
        c.fill()
    note_ball(ctx, 96, 300, 40, TAB[2])
    note_ball(ctx, 510, 258, 34, TAB[1])
    note_ball(ctx, 150, 196, 24, TAB[3])
    note_ball(ctx, 460, 176, 20, TAB[0])
    shadow(ctx, w, h, body, dy=10, blur=20, alpha=0.6)
    mascot(ctx, 300, 440, 180, look=(-0.35, -0.45), mouth="smile", stem=False)
    # Two little friends peeking from the sides
    mascot(ctx, 130, 452, 48, look=(0.6, -0.3), stem=False, body=mix(CREAM, TAB[2], 0.35))
    mascot(ctx, 506, 440, 56, look=(-0.6, -0.4), mouth="sing", stem=False, body=mix(CREAM, TAB[3], 0.3))


def _menu_pill(ctx, w, h, lit):
    for i, (x, label, col) in enumerate(MENU_STRIPS):
        px, py, pw, ph = x + 3, 22, 52, 436
        if not lit:
            shadow(ctx, w, h, lambda c: (rounded_rect(c, px, py, pw, ph, 26), c.fill()), dy=5, blur=8, alpha=0.55)
        base = bright(col, 0.35) if lit else col
        g = cairo.LinearGradient(px, 0, px + pw, 0)
        g.add_color_stop_rgba(0, *bright(base, 0.25))
        g.add_color_stop_rgba(1, *mix(base, NAVY, 0.2))
        ctx.set_source(g)
        rounded_rect(ctx, px, py, pw, ph, 26)
        ctx.fill_preserve()
        ctx.set_source_rgba(*(CREAM if lit else with_alpha(CREAM, 0.6)))
        ctx.set_line_width(5 if lit else 3)
        ctx.stroke()
        if lit:
            ctx.save()
            rounded_rect(ctx, px, py, pw, ph, 26)
            ctx.clip()
            glow(ctx, px + pw / 2, 240, 200, (1, 1, 1, 1), 0.35)
            ctx.restore()
        # Icon at the top
        cx, cy = px + pw / 2, py + 40
        ctx.set_source_rgba(*INK)
        if i == 0:
            ctx.move_to(cx - 9, cy - 13)
            ctx.line_to(cx + 14, cy)
            ctx.line_to(cx - 9, cy + 13)
            ctx.close_path()
            ctx.fill()
        elif i == 1:
            pts = []
            for k in range(10):
                r = 15 if k % 2 == 0 else 6.5
                a = -math.pi / 2 + k * math.pi / 5
                pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
            ctx.move_to(*pts[0])
            for p in pts[1:]:
                ctx.line_to(*p)
            ctx.close_path()
            ctx.fill()
        else:
            ctx.arc(cx, cy - 6, 7, 0, 2 * math.pi)
            ctx.fill()
            ctx.arc(cx, cy + 16, 13, math.pi, 2 * math.pi)
            ctx.fill()
        # Label, read from bottom to top
        ctx.save()
        ctx.translate(cx + 11, py + ph - 22)
        ctx.rotate(-math.pi / 2)
        font(ctx, 30)
        size = 30
        while ctx.text_extents(label).x_advance > ph - 90:
            size -= 1
            font(ctx, size)
        adv = ctx.text_extents(label).x_advance
        ctx.move_to((ph - 80 - adv) / 2, 0)
        ctx.set_source_rgba(*INK)
        ctx.show_text(label)
        ctx.restore()


def draw_title_menu(ctx, w, h):
    _menu_pill(ctx, w, h, False)


def draw_title_menu_lit(ctx, w, h):
    _menu_pill(ctx, w, h, True)


def draw_exit(ctx, w, h):
    rounded_rect(ctx, 20, 442, 36, 16, 8)
    ctx.set_source_rgba(*TAB[0])
    ctx.fill_preserve()
    ctx.set_source_rgba(*CREAM)
    ctx.set_line_width(1.6)
    ctx.stroke()
    ctx.move_to(27, 450)
    ctx.line_to(35, 444.5)
    ctx.line_to(35, 447.5)
    ctx.line_to(48, 447.5)
    ctx.line_to(48, 452.5)
    ctx.line_to(35, 452.5)
    ctx.line_to(35, 455.5)
    ctx.close_path()
    ctx.fill()


TILES = [(35, 168, "SKYWARD", TAB[2]), (170, 324, "HALCYON", TAB[3]), (328, 471, "LABYRINTH", TAB[0]),
         (474, 620, "COMMON", TAB[1]), (622, 775, "OTHER", mix(TAB[3], TAB[2], 0.5))]
TILE_SUB = ["", "", "", "THEME", "WORLD"]


def _picture(ctx, i, x0, x1, y0, y1):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    ctx.save()
    rounded_rect(ctx, x0, y0, x1 - x0, y1 - y0, 14)
    ctx.clip()
    if i == 0:  # skyward: morning sky, sun, clouds, a bird
        ctx.set_source(vgrad(y0, y1, hexish(0x5A, 0xC8, 0xFA), hexish(0xFF, 0xD8, 0x9B)))
        ctx.paint()
        glow(ctx, cx + 20, cy + 20, 50, (1, 0.95, 0.7, 1), 0.9)
        ctx.set_source_rgba(1, 0.85, 0.4, 1)
        ctx.arc(cx + 20, cy + 20, 24, 0, 2 * math.pi)
        ctx.fill()
        for (x, y, s) in ((cx - 30, cy + 60, 1.0), (cx + 30, cy - 40, 0.8)):
            ctx.set_source_rgba(1, 1, 1, 0.95)
            for dx, r in ((-18, 14), (0, 20), (18, 14)):
                ctx.arc(x + dx * s, y, r * s, 0, 2 * math.pi)
                ctx.fill()
        ctx.set_source_rgba(*INK)
        ctx.set_line_width(4)
        ctx.set_line_cap(cairo.LINE_CAP_ROUND)
        ctx.move_to(cx - 40, cy - 50)
        ctx.curve_to(cx - 34, cy - 58, cx - 28, cy - 58, cx - 24, cy - 50)
        ctx.curve_to(cx - 20, cy - 58, cx - 14, cy - 58, cx - 8, cy - 50)
        ctx.stroke()
    elif i == 1:  # halcyon: calm sea under a moon
        ctx.set_source(vgrad(y0, y1, hexish(0x1E, 0x2A, 0x6E), hexish(0x6A, 0x4C, 0xB0)))
        ctx.paint()
        ctx.set_source_rgba(*CREAM)
        ctx.arc(cx + 25, cy - 40, 22, 0, 2 * math.pi)
        ctx.fill()
        ctx.set_source(vgrad(cy + 10, y1, hexish(0x2E, 0xC4, 0xB6), hexish(0x14, 0x1B, 0x3C)))
        ctx.rectangle(x0, cy + 10, x1 - x0, y1 - cy)
        ctx.fill()
        ctx.set_source_rgba(*with_alpha(CREAM, 0.7))
        for k in range(4):
            y = cy + 26 + k * 16
            ctx.rectangle(cx + 25 - 26 + k * 4, y, 52 - k * 8, 4)
            ctx.fill()
    elif i == 2:  # labyrinth: a round maze
        ctx.set_source(vgrad(y0, y1, hexish(0x3A, 0x1C, 0x3C), hexish(0x14, 0x1B, 0x3C)))
        ctx.paint()
        ctx.set_source_rgba(*TAB[0])
        ctx.set_line_width(6)
        ctx.set_line_cap(cairo.LINE_CAP_ROUND)
        for k, r in enumerate((56, 42, 28, 14)):
            gap = 0.6 + k * 1.7
            ctx.arc(cx, cy, r, gap, gap + 2 * math.pi - 0.9)
            ctx.stroke()
        ctx.set_source_rgba(*CREAM)
        ctx.arc(cx, cy, 5, 0, 2 * math.pi)
        ctx.fill()
    elif i == 3:  # common theme: campfire under hills
        ctx.set_source(vgrad(y0, y1, hexish(0x24, 0x1E, 0x50), hexish(0x8C, 0x4B, 0x3C)))
        ctx.paint()
        ctx.set_source_rgba(*mix(TAB[2], NAVY, 0.45))
        ctx.move_to(x0, cy + 40)
        ctx.curve_to(cx - 30, cy - 10, cx + 20, cy + 10, x1, cy + 20)
        ctx.line_to(x1, y1)
        ctx.line_to(x0, y1)
        ctx.close_path()
        ctx.fill()
        glow(ctx, cx, cy + 40, 60, TAB[1], 0.7)
        for k, col in enumerate((TAB[0], TAB[1])):
            s = 1 - k * 0.45
            ctx.set_source_rgba(*col)
            ctx.move_to(cx, cy + 48 - 60 * s)
            ctx.curve_to(cx + 28 * s, cy + 10, cx + 22 * s, cy + 50, cx, cy + 52)
            ctx.curve_to(cx - 22 * s, cy + 50, cx - 28 * s, cy + 10, cx, cy + 48 - 60 * s)
            ctx.fill()
        ctx.set_source_rgba(*hexish(0x6B, 0x40, 0x2A))
        ctx.set_line_width(7)
        ctx.set_line_cap(cairo.LINE_CAP_ROUND)
        ctx.move_to(cx - 26, cy + 60)
        ctx.line_to(cx + 26, cy + 50)
        ctx.move_to(cx - 26, cy + 50)
        ctx.line_to(cx + 26, cy + 60)
        ctx.stroke()
    else:  # other world: ringed planet
        ctx.set_source(vgrad(y0, y1, hexish(0x0E, 0x12, 0x2E), hexish(0x2A, 0x24, 0x66)))
        ctx.paint()
        for k in range(9):
            glow(ctx, x0 + (k * 37) % (x1 - x0), y0 + (k * 53) % (y1 - y0), 4, CREAM, 0.9)
        ctx.save()
        ctx.translate(cx, cy)
        ctx.rotate(-0.35)
        ctx.scale(1, 0.3)
        ctx.set_source_rgba(*TAB[1])
        ctx.set_line_width(8)
        ctx.arc(0, 0, 60, math.pi, 2 * math.pi)
        ctx.stroke()
        ctx.restore()
        g = cairo.RadialGradient(cx - 12, cy - 14, 4, cx, cy, 38)
        g.add_color_stop_rgba(0, *bright(TAB[3], 0.5))
        g.add_color_stop_rgba(1, *mix(TAB[3], NAVY, 0.3))
        ctx.set_source(g)
        ctx.arc(cx, cy, 38, 0, 2 * math.pi)
        ctx.fill()
        ctx.save()
        ctx.translate(cx, cy)
        ctx.rotate(-0.35)
        ctx.scale(1, 0.3)
        ctx.set_source_rgba(*TAB[1])
        ctx.set_line_width(8)
        ctx.arc(0, 0, 60, 0, math.pi)
        ctx.stroke()
        ctx.restore()
    ctx.restore()


def hexish(r, g, b):
    return (r / 255, g / 255, b / 255, 1)


def draw_select_bg(ctx, w, h):
    night(ctx, w, h, seed=7)
    text(ctx, "CHOOSE A TRACK", 400, 72, 40, CREAM, shadow_px=4)
    for i, (x0, x1, name, col) in enumerate(TILES):
        def tile(c, x0=x0, x1=x1):
            rounded_rect(c, x0 + 2, 107, x1 - x0 - 4, 251, 20)
            c.fill()
        shadow(ctx, w, h, tile, dy=6, blur=10, alpha=0.6)
        ctx.set_source(vgrad(107, 358, bright(col, 0.2), mix(col, NAVY, 0.35)))
        tile(ctx)
        rounded_rect(ctx, x0 + 2, 107, x1 - x0 - 4, 251, 20)
        ctx.set_source_rgba(*CREAM)
        ctx.set_line_width(3)
        ctx.stroke()
        _picture(ctx, i, x0 + 12, x1 - 12, 117, 286)
        cx = (x0 + x1) / 2
        text(ctx, str(i + 1), x0 + 24, 140, 20, with_alpha(CREAM, 0.9), shadow_px=2)
        if TILE_SUB[i]:
            text_fit(ctx, name, cx, 327, 19, x1 - x0 - 20, colour=INK)
            text_fit(ctx, TILE_SUB[i], cx, 349, 19, x1 - x0 - 20, colour=INK)
        else:
            text_fit(ctx, name, cx, 336, 20, x1 - x0 - 20, colour=INK)
    # The random band
    def band(c):
        rounded_rect(c, 90, 378, 560, 62, 31)
        c.fill()
    shadow(ctx, w, h, band, dy=5, blur=8, alpha=0.55)
    g = cairo.LinearGradient(90, 0, 650, 0)
    for k, col in enumerate(TAB):
        g.add_color_stop_rgba(k / 3, *col)
    ctx.set_source(g)
    band(ctx)
    rounded_rect(ctx, 90, 378, 560, 62, 31)
    ctx.set_source_rgba(*CREAM)
    ctx.set_line_width(3)
    ctx.stroke()
    for x in (132, 608):
        note_ball(ctx, x, 409, 18, NAVY)
    text(ctx, "RANDOM", 370, 424, 36, INK)
    # A robot antenna peeking out of the bottom-right corner
    ctx.set_source_rgba(0.72, 0.78, 0.88, 1)
    ctx.set_line_width(5)
    ctx.set_line_cap(cairo.LINE_CAP_ROUND)
    ctx.move_to(768, 482)
    ctx.line_to(762, 458)
    ctx.stroke()
    glow(ctx, 761, 454, 14, TAB[0], 0.8)
    ctx.set_source_rgba(*TAB[0])
    ctx.arc(761, 454, 6, 0, 2 * math.pi)
    ctx.fill()


LOCK_CENTRES = [(411, 259), (547, 259), (693, 259)]


def draw_select_locks(ctx, w, h):
    for cx, cy in LOCK_CENTRES:
        def plate(c, cx=cx, cy=cy):
            rounded_rect(c, cx - 48, cy - 48, 96, 90, 22)
            c.fill()
        shadow(ctx, w, h, plate, dy=4, blur=6, alpha=0.5)
        ctx.set_source_rgba(*with_alpha(NAVY, 0.85))
        plate(ctx)
        padlock(ctx, cx, cy + 1, 0.8)
