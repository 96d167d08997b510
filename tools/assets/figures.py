"""Recurring figures: the quaver mascot, the logo, note-balls, padlock, robot."""
import math

import cairo

from paint import (CREAM, INK, NAVY, TAB, bright, glow, mix, rounded_rect, shadow,
                   text_path, with_alpha, font)


def note_ball(ctx, cx, cy, r, colour, flag=True):
    """A glossy note-head; with flag it carries a short stem and flag inside the ball's disc."""
    g = cairo.RadialGradient(cx - r * 0.35, cy - r * 0.4, r * 0.1, cx, cy, r)
    g.add_color_stop_rgba(0, *bright(colour, 0.55))
    g.add_color_stop_rgba(0.55, *colour)
    g.add_color_stop_rgba(1, *mix(colour, NAVY, 0.45))
    ctx.set_source(g)
    ctx.arc(cx, cy, r, 0, 2 * math.pi)
    ctx.fill()
    if flag:
        # A quaver symbol engraved in cream, kept inside the disc so the ball stays round.
        s = r / 100
        ctx.save()
        ctx.translate(cx, cy)
        ctx.set_source_rgba(*with_alpha(CREAM, 0.9))
        ctx.save()
        ctx.translate(-14 * s, 30 * s)
        ctx.scale(1.25, 1)
        ctx.rotate(-0.35)
        ctx.arc(0, 0, 17 * s, 0, 2 * math.pi)
        ctx.restore()
        ctx.fill()
        ctx.rectangle(2 * s, -48 * s, 9 * s, 80 * s)
        ctx.fill()
        ctx.move_to(11 * s, -48 * s)
        ctx.curve_to(30 * s, -30 * s, 46 * s, -22 * s, 38 * s, 10 * s)
        ctx.curve_to(36 * s, -12 * s, 24 * s, -18 * s, 11 * s, -22 * s)
        ctx.close_path()
        ctx.fill()
        ctx.restore()
    # Gloss highlight
    ctx.save()
    ctx.translate(cx - r * 0.38, cy - r * 0.45)
    ctx.scale(1.0, 0.6)
    hg = cairo.RadialGradient(0, 0, 0, 0, 0, r * 0.42)
    hg.add_color_stop_rgba(0, 1, 1, 1, 0.75)
    hg.add_color_stop_rgba(1, 1, 1, 1, 0)
    ctx.set_source(hg)
    ctx.arc(0, 0, r * 0.42, 0, 2 * math.pi)
    ctx.fill()
    ctx.restore()


def mascot(ctx, cx, cy, r, look=(0.15, -0.05), mouth="smile", stem=True, body=CREAM):
    """The round quaver with big eyes: head centred at (cx, cy), stem rising at its right."""
    ctx.save()
    if stem:
        sx = cx + r * 0.78
        ctx.set_source_rgba(*mix(body, NAVY, 0.1))
        rounded_rect(ctx, sx, cy - r * 2.2, r * 0.2, r * 2.0, r * 0.08)
        ctx.fill()
        ctx.move_to(sx + r * 0.1, cy - r * 2.2)
        ctx.curve_to(sx + r * 0.9, cy - r * 1.9, sx + r * 1.25, cy - r * 1.45, sx + r * 0.95, cy - r * 0.9)
        ctx.curve_to(sx + r * 0.95, cy - r * 1.35, sx + r * 0.6, cy - r * 1.6, sx + r * 0.1, cy - r * 1.7)
        ctx.close_path()
        ctx.set_source_rgba(*TAB[0])
        ctx.fill()
    g = cairo.RadialGradient(cx - r * 0.3, cy - r * 0.35, r * 0.1, cx, cy, r * 1.05)
    g.add_color_stop_rgba(0, 1, 1, 1, 1)
    g.add_color_stop_rgba(0.6, *body)
    g.add_color_stop_rgba(1, *mix(body, TAB[1], 0.45))
    ctx.set_source(g)
    ctx.arc(cx, cy, r, 0, 2 * math.pi)
    ctx.fill()
    # Eyes
    for side in (-1, 1):
        ex, ey = cx + side * r * 0.34, cy - r * 0.15
        ctx.set_source_rgba(1, 1, 1, 1)
        ctx.save()
        ctx.translate(ex, ey)
        ctx.scale(1, 1.18)
        ctx.arc(0, 0, r * 0.27, 0, 2 * math.pi)
        ctx.restore()
        ctx.fill_preserve()
        ctx.set_source_rgba(*NAVY)
        ctx.set_line_width(max(1.5, r * 0.04))
        ctx.stroke()
        px, py = ex + look[0] * r * 0.35, ey + look[1] * r * 0.35
        ctx.set_source_rgba(*INK)
        ctx.arc(px, py, r * 0.15, 0, 2 * math.pi)
        ctx.fill()
        ctx.set_source_rgba(1, 1, 1, 1)
        ctx.arc(px - r * 0.05, py - r * 0.06, r * 0.05, 0, 2 * math.pi)
        ctx.fill()
    # Cheeks
    for side in (-1, 1):
        glow(ctx, cx + side * r * 0.62, cy + r * 0.25, r * 0.2, TAB[0], 0.55)
    # Mouth
    ctx.set_source_rgba(*INK)
    if mouth == "sing":
        ctx.save()
        ctx.translate(cx, cy + r * 0.42)
        ctx.scale(1, 1.25)
        ctx.arc(0, 0, r * 0.15, 0, 2 * math.pi)
        ctx.restore()
        ctx.fill()
    else:
        ctx.set_line_width(max(2, r * 0.07))
        ctx.set_line_cap(cairo.LINE_CAP_ROUND)
        ctx.arc(cx, cy + r * 0.22, r * 0.3, 0.25 * math.pi, 0.75 * math.pi)
        ctx.stroke()
    ctx.restore()


LOGO_COLOURS = [TAB[0], TAB[1], TAB[2], TAB[3], TAB[0], TAB[1], TAB[2]]


def logo(ctx, w, h, x, y, size, word="QUAVERO", centre=True):
    """The game's word mark: each letter in a tab colour, cream outline, soft shadow."""
    font(ctx, size)
    total = ctx.text_extents(word).x_advance + 0.06 * size * (len(word) - 1)
    x0 = x - total / 2 if centre else x

    def letters(c, fill_each=None):
        pen = x0
        font(c, size)
        for i, ch in enumerate(word):
            c.move_to(pen, y)
            c.text_path(ch)
            if fill_each:
                fill_each(c, i)
            pen += c.text_extents(ch).x_advance + 0.06 * size

    def shape(c):
        letters(c)
        c.fill()

    shadow(ctx, w, h, shape, dx=0, dy=size * 0.08, blur=size * 0.12, alpha=0.7)

    def outline(c, i):
        c.set_source_rgba(*CREAM)
        c.set_line_width(size * 0.1)
        c.set_line_join(cairo.LINE_JOIN_ROUND)
        c.stroke()

    letters(ctx, outline)

    def fill(c, i):
        col = LOGO_COLOURS[i % len(LOGO_COLOURS)]
        g = cairo.LinearGradient(0, y - size * 0.75, 0, y)
        g.add_color_stop_rgba(0, *bright(col, 0.3))
        g.add_color_stop_rgba(1, *mix(col, NAVY, 0.15))
        c.set_source(g)
        c.fill()

    letters(ctx, fill)


def padlock(ctx, cx, cy, s):
    """A padlock of height about 100 * s centred on (cx, cy)."""
    ctx.save()
    ctx.translate(cx, cy)
    ctx.scale(s, s)
    ctx.set_line_cap(cairo.LINE_CAP_ROUND)
    ctx.set_source_rgba(*mix(CREAM, NAVY, 0.25))
    ctx.set_line_width(11)
    ctx.arc(0, -12, 22, math.pi, 2 * math.pi)
    ctx.line_to(22, 2)
    ctx.move_to(-22, -12)
    ctx.line_to(-22, 2)
    ctx.stroke()
    g = cairo.LinearGradient(0, -4, 0, 48)
    g.add_color_stop_rgba(0, *bright(TAB[1], 0.2))
    g.add_color_stop_rgba(1, *mix(TAB[1], TAB[0], 0.5))
    ctx.set_source(g)
    rounded_rect(ctx, -36, -6, 72, 54, 12)
    ctx.fill_preserve()
    ctx.set_source_rgba(*mix(NAVY, TAB[0], 0.2))
    ctx.set_line_width(3)
    ctx.stroke()
    ctx.set_source_rgba(*INK)
    ctx.arc(0, 14, 8, 0, 2 * math.pi)
    ctx.fill()
    ctx.move_to(-5, 16)
    ctx.line_to(5, 16)
    ctx.line_to(3, 34)
    ctx.line_to(-3, 34)
    ctx.close_path()
    ctx.fill()
    ctx.restore()


def robot(ctx, cx, top, pose):
    """The dancing robot of the bonus track. pose 0: arms out wide; pose 1: arms up, leaning."""
    metal = (0.72, 0.78, 0.88, 1)
    dark = mix(metal, NAVY, 0.55)
    ctx.save()
    lean = 0 if pose == 0 else 10
    ctx.set_line_cap(cairo.LINE_CAP_ROUND)
    ctx.set_line_join(cairo.LINE_JOIN_ROUND)
    # Antenna
    ax = cx + lean * 0.5
    ctx.set_source_rgba(*dark)
    ctx.set_line_width(6)
    ctx.move_to(ax, top + 40)
    ctx.line_to(ax + (8 if pose else -8), top + 14)
    ctx.stroke()
    glow(ctx, ax + (8 if pose else -8), top + 12, 18, TAB[0], 0.8)
    ctx.set_source_rgba(*TAB[0])
    ctx.arc(ax + (8 if pose else -8), top + 12, 8, 0, 2 * math.pi)
    ctx.fill()
    # Legs
    ctx.set_source_rgba(*dark)
    ctx.set_line_width(16)
    hip = top + 250
    if pose == 0:
        legs = [((cx - 26, hip), (cx - 44, hip + 60), (cx - 38, hip + 100)),
                ((cx + 26, hip), (cx + 44, hip + 60), (cx + 38, hip + 100))]
    else:
        legs = [((cx - 22, hip), (cx - 30, hip + 52), (cx - 56, hip + 92)),
                ((cx + 26, hip), (cx + 30, hip + 55), (cx + 28, hip + 100))]
    for a, b, c in legs:
        ctx.move_to(*a)
        ctx.line_to(*b)
        ctx.line_to(*c)
        ctx.stroke()
        ctx.set_source_rgba(*TAB[3])
        rounded_rect(ctx, c[0] - 20, c[1] - 4, 40, 14, 6)
        ctx.fill()
        ctx.set_source_rgba(*dark)
    # Arms
    sh = top + 150
    if pose == 0:
        arms = [((cx - 56, sh), (cx - 88, sh + 20), (cx - 106, sh - 20)),
                ((cx + 56, sh), (cx + 88, sh + 20), (cx + 106, sh - 20))]
    else:
        arms = [((cx - 50 + lean, sh), (cx - 70 + lean, sh - 45), (cx - 58 + lean, sh - 90)),
                ((cx + 50 + lean, sh), (cx + 72 + lean, sh - 40), (cx + 86 + lean, sh - 88))]
    ctx.set_line_width(14)
    for a, b, c in arms:
        ctx.move_to(*a)
        ctx.line_to(*b)
        ctx.line_to(*c)
        ctx.stroke()
        ctx.set_source_rgba(*TAB[1])
        ctx.arc(c[0], c[1], 11, 0, 2 * math.pi)
        ctx.fill()
        ctx.set_source_rgba(*dark)
    # Body
    g = cairo.LinearGradient(cx - 60, 0, cx + 60, 0)
    g.add_color_stop_rgba(0, *bright(metal, 0.3))
    g.add_color_stop_rgba(1, *mix(metal, NAVY, 0.25))
    ctx.set_source(g)
    rounded_rect(ctx, cx - 58 + lean * 0.5, top + 128, 116, 128, 22)
    ctx.fill()
    ctx.set_source_rgba(*NAVY)
    rounded_rect(ctx, cx - 36 + lean * 0.5, top + 150, 72, 60, 10)
    ctx.fill()
    for i, col in enumerate(TAB):
        ctx.set_source_rgba(*col)
        ctx.arc(cx - 24 + lean * 0.5 + i * 16, top + 168, 5.5, 0, 2 * math.pi)
        ctx.fill()
    ctx.set_source_rgba(*TAB[2])
    ctx.set_line_width(4)
    for i in range(5):
        hgt = [10, 22, 16, 26, 12][(i + pose * 2) % 5]
        ctx.move_to(cx - 24 + lean * 0.5 + i * 12, top + 204)
        ctx.line_to(cx - 24 + lean * 0.5 + i * 12, top + 204 - hgt)
        ctx.stroke()
    # Head
    hx = cx + lean
    g = cairo.LinearGradient(hx - 55, 0, hx + 55, 0)
    g.add_color_stop_rgba(0, *bright(metal, 0.35))
    g.add_color_stop_rgba(1, *mix(metal, NAVY, 0.2))
    ctx.set_source(g)
    rounded_rect(ctx, hx - 54, top + 40, 108, 80, 24)
    ctx.fill()
    ctx.set_source_rgba(*NAVY)
    rounded_rect(ctx, hx - 42, top + 56, 84, 36, 16)
    ctx.fill()
    for side in (-1, 1):
        glow(ctx, hx + side * 20, top + 74, 16, TAB[2], 0.9)
        ctx.set_source_rgba(*bright(TAB[2], 0.4))
        if pose == 1 and side == 1:
            ctx.set_line_width(4)
            ctx.move_to(hx + 12, top + 76)
            ctx.line_to(hx + 28, top + 76)
            ctx.stroke()
        else:
            ctx.arc(hx + side * 20, top + 74, 7, 0, 2 * math.pi)
            ctx.fill()
    ctx.set_source_rgba(*INK)
    ctx.set_line_width(4)
    ctx.move_to(hx - 14, top + 104)
    ctx.line_to(hx + 14, top + 104)
    ctx.stroke()
    ctx.restore()
