"""Set one, in-game screen: background, pad, hub, bubbles, lives, mascot, robot,
flying note, side bars, overlays and gates."""
import math

import cairo

from figures import mascot, note_ball, robot
from paint import (CREAM, INDIGO, INK, NAVY, TAB, bright, dim, glow, mix, night,
                   rounded_rect, shadow, text, text_fit, vgrad, with_alpha)

PAD_X, PAD_Y = 400, 241
PAD_R, HUB_R, GAP = 170, 64, 6
# Quadrant order: top left, top right, bottom left, bottom right (the tab numbers).
QUADS = [(-1, -1, math.pi, 1.5 * math.pi), (1, -1, 1.5 * math.pi, 2 * math.pi),
         (-1, 1, 0.5 * math.pi, math.pi), (1, 1, 0, 0.5 * math.pi)]
SYMBOLS = ["circle", "triangle", "square", "diamond"]


def quad_path(ctx, q, grow=0.0, gap=GAP):
    sx, sy, a0, a1 = QUADS[q]
    cx, cy = PAD_X + sx * gap, PAD_Y + sy * gap
    ctx.new_sub_path()
    ctx.arc(cx, cy, PAD_R + grow, a0, a1)
    ctx.arc_negative(cx, cy, HUB_R - grow, a1, a0)
    ctx.close_path()


def quad_centre(q):
    sx, sy, a0, a1 = QUADS[q]
    m = (a0 + a1) / 2
    rr = (PAD_R + HUB_R) / 2 + 6
    return PAD_X + sx * GAP + math.cos(m) * rr, PAD_Y + sy * GAP + math.sin(m) * rr


def symbol(ctx, q, colour, size=22):
    x, y = quad_centre(q)
    ctx.set_source_rgba(*colour)
    kind = SYMBOLS[q]
    if kind == "circle":
        ctx.arc(x, y, size * 0.8, 0, 2 * math.pi)
    elif kind == "triangle":
        ctx.move_to(x, y - size)
        ctx.line_to(x + size, y + size * 0.75)
        ctx.line_to(x - size, y + size * 0.75)
        ctx.close_path()
    elif kind == "square":
        rounded_rect(ctx, x - size * 0.75, y - size * 0.75, size * 1.5, size * 1.5, 4)
    else:
        ctx.move_to(x, y - size)
        ctx.line_to(x + size, y)
        ctx.line_to(x, y + size)
        ctx.line_to(x - size, y)
        ctx.close_path()
    ctx.fill()


def _rounded_quad(ctx, q, colour_fn, grow=0.0):
    ctx.save()
    quad_path(ctx, q, grow - 7, GAP + 7)
    colour_fn(ctx, q)
    ctx.fill_preserve()
    ctx.set_line_width(14)
    ctx.set_line_join(cairo.LINE_JOIN_ROUND)
    ctx.stroke()
    ctx.restore()


def _radial(q, inner, outer):
    g = cairo.RadialGradient(PAD_X, PAD_Y, HUB_R, PAD_X, PAD_Y, PAD_R)
    g.add_color_stop_rgba(0, *inner)
    g.add_color_stop_rgba(1, *outer)
    return g


def draw_tabs_off(ctx, w, h):
    def all_quads(c):
        for q in range(4):
            quad_path(c, q, 2)
        c.fill()
    shadow(ctx, w, h, all_quads, dy=8, blur=14, alpha=0.6)
    for q in range(4):
        base = dim(TAB[q])
        _rounded_quad(ctx, q, lambda c, q=q: c.set_source(_radial(q, mix(base, NAVY, 0.2), bright(base, 0.12))))
        symbol(ctx, q, with_alpha(mix(TAB[q], CREAM, 0.3), 0.35))


def draw_tabs_on(ctx, w, h):
    for q in range(4):
        col = TAB[q]
        _rounded_quad(ctx, q, lambda c, q=q: c.set_source(_radial(q, mix(col, NAVY, 0.1), bright(col, 0.25))))
        ctx.save()
        quad_path(ctx, q, -7)
        ctx.clip()
        x, y = quad_centre(q)
        glow(ctx, x, y, 95, bright(col, 0.5), 0.7)
        ctx.restore()
        symbol(ctx, q, with_alpha(CREAM, 0.8))


def draw_tabs_hand(ctx, w, h):
    """The flash when a note strikes: near-white core in the tab's hue with a cream rim."""
    for q in range(4):
        col = TAB[q]
        _rounded_quad(ctx, q, lambda c, q=q: c.set_source(_radial(q, bright(col, 0.35), bright(col, 0.6))))
        ctx.save()
        quad_path(ctx, q, -7)
        ctx.clip()
        x, y = quad_centre(q)
        glow(ctx, x, y, 110, (1, 1, 1, 1), 0.85)
        ctx.restore()
        ctx.save()
        quad_path(ctx, q, -3)
        ctx.set_source_rgba(*CREAM)
        ctx.set_line_width(6)
        ctx.set_line_join(cairo.LINE_JOIN_ROUND)
        ctx.stroke()
        ctx.restore()
        symbol(ctx, q, with_alpha(col, 0.9), 26)


def draw_hub(ctx, w, h):
    """The pad's centre cap: a dark recess with the mascot peeking out of it. It
    must not look like a button, since a click on it always counts as a mistake:
    no raised rim, no symbol, nothing that invites a press."""
    cx, cy, r = 401, 241, 55
    g = cairo.RadialGradient(cx, cy + 14, r * 0.3, cx, cy, r)
    g.add_color_stop_rgba(0, *mix(NAVY, INDIGO, 0.55))
    g.add_color_stop_rgba(1, *mix(NAVY, (0, 0, 0, 1), 0.35))
    ctx.set_source(g)
    ctx.arc(cx, cy, r, 0, 2 * math.pi)
    ctx.fill()
    # The mascot inside the recess, clipped by its edge like a face at a round window.
    ctx.save()
    ctx.arc(cx, cy, r - 3, 0, 2 * math.pi)
    ctx.clip()
    mascot(ctx, cx, cy + 16, 40, look=(0, -0.45), mouth="smile", stem=False)
    # The recess's own shade falls over the top of the face.
    shade = cairo.LinearGradient(0, cy - r, 0, cy + 4)
    shade.add_color_stop_rgba(0, *with_alpha(NAVY, 0.85))
    shade.add_color_stop_rgba(1, *with_alpha(NAVY, 0))
    ctx.set_source(shade)
    ctx.paint()
    ctx.restore()


def draw_ingame_bg(ctx, w, h):
    night(ctx, w, h, seed=3)
    glow(ctx, PAD_X, PAD_Y, 260, TAB[3], 0.25)
    glow(ctx, PAD_X, PAD_Y, 200, CREAM, 0.08)
    # Floor line of the little stage where the mascot stands
    ctx.set_source_rgba(*with_alpha(CREAM, 0.08))
    ctx.save()
    ctx.translate(85, 334)
    ctx.scale(1, 0.22)
    ctx.arc(0, 0, 80, 0, 2 * math.pi)
    ctx.restore()
    ctx.fill()
    # The light band that carries the track title and score in dark text
    shadow(ctx, w, h, lambda c: (c.rectangle(-10, 406, 820, 48), c.fill()), dy=-3, blur=10, alpha=0.5)
    ctx.set_source(vgrad(406, 454, mix(CREAM, (1, 1, 1, 1), 0.5), CREAM))
    ctx.rectangle(0, 406, 800, 48)
    ctx.fill()
    for i, col in enumerate(TAB):
        ctx.set_source_rgba(*col)
        ctx.rectangle(i * 200, 450, 200, 4)
        ctx.fill()


def heart_path(ctx, x, y, s):
    ctx.move_to(x, y + 0.95 * s)
    ctx.curve_to(x - 1.2 * s, y + 0.2 * s, x - 0.95 * s, y - 0.75 * s, x - 0.45 * s, y - 0.7 * s)
    ctx.curve_to(x - 0.2 * s, y - 0.68 * s, x - 0.05 * s, y - 0.5 * s, x, y - 0.35 * s)
    ctx.curve_to(x + 0.05 * s, y - 0.5 * s, x + 0.2 * s, y - 0.68 * s, x + 0.45 * s, y - 0.7 * s)
    ctx.curve_to(x + 0.95 * s, y - 0.75 * s, x + 1.2 * s, y + 0.2 * s, x, y + 0.95 * s)
    ctx.close_path()


def draw_hearts(n):
    def draw(ctx, w, h):
        for i in range(n):
            x, y = 14 + 58 * i + 27, 9 + 33
            heart_path(ctx, x, y, 24)
            g = cairo.LinearGradient(0, y - 20, 0, y + 24)
            g.add_color_stop_rgba(0, *bright(TAB[0], 0.3))
            g.add_color_stop_rgba(1, *mix(TAB[0], NAVY, 0.2))
            ctx.set_source(g)
            ctx.fill_preserve()
            ctx.set_source_rgba(*CREAM)
            ctx.set_line_width(3.5)
            ctx.stroke()
            ctx.set_source_rgba(1, 1, 1, 0.7)
            ctx.save()
            ctx.translate(x - 10, y - 8)
            ctx.rotate(-0.6)
            ctx.scale(1, 0.55)
            ctx.arc(0, 0, 6, 0, 2 * math.pi)
            ctx.restore()
            ctx.fill()
    return draw


def draw_bubble(word):
    """A speech bubble from the mascot, below the lives so all three hearts stay
    in sight while it shows."""
    def draw(ctx, w, h):
        def shape(c):
            rounded_rect(c, 44, 88, 258, 112, 36)
            c.move_to(92, 192)
            c.curve_to(92, 214, 84, 228, 68, 240)
            c.curve_to(100, 234, 124, 216, 138, 196)
            c.close_path()
        def filled(c):
            shape(c)
            c.fill()
        shadow(ctx, w, h, filled, dy=5, blur=8, alpha=0.5)
        shape(ctx)
        ctx.set_source(vgrad(88, 240, (1, 1, 1, 1), CREAM))
        ctx.fill_preserve()
        ctx.set_source_rgba(*TAB[1])
        ctx.set_line_width(5)
        ctx.set_line_join(cairo.LINE_JOIN_ROUND)
        ctx.stroke()
        text_fit(ctx, word, 173, 160, 46, 226, colour=INK)
    return draw


def draw_simon(ctx, w, h):
    def body(c):
        c.arc(62, 284, 40, 0, 2 * math.pi)
        c.fill()
    shadow(ctx, w, h, body, dx=3, dy=8, blur=8, alpha=0.5)
    mascot(ctx, 62, 280, 40, look=(0.6, -0.2), mouth="sing")
    ctx.set_source_rgba(*with_alpha(CREAM, 0.8))
    ctx.set_line_width(3)
    ctx.set_line_cap(cairo.LINE_CAP_ROUND)
    for i, r in enumerate((12, 22, 32)):
        ctx.arc(128, 262, r, -0.35 * math.pi, 0.35 * math.pi)
        ctx.stroke()


def draw_littleball(ctx, w, h):
    cx, cy, r = 398, 245, 21
    for i in range(4):
        g = cairo.LinearGradient(314, 0, cx, 0)
        g.add_color_stop_rgba(0, *with_alpha(TAB[i], 0))
        g.add_color_stop_rgba(1, *with_alpha(TAB[i], 0.85))
        ctx.set_source(g)
        y = cy - 12 + i * 8
        ctx.set_line_width(5)
        ctx.set_line_cap(cairo.LINE_CAP_ROUND)
        ctx.move_to(316 + i * 6, y)
        ctx.line_to(cx - 6, y)
        ctx.stroke()
    note_ball(ctx, cx, cy, r, TAB[1])


def draw_side_bar(x):
    def draw(ctx, w, h):
        for i, col in enumerate(TAB):
            g = vgrad(60 + i * 91, 60 + (i + 1) * 91, with_alpha(col, 0.9), with_alpha(col, 0.5))
            ctx.set_source(g)
            rounded_rect(ctx, x, 62 + i * 91, 8, 87, 4)
            ctx.fill()
    return draw


def draw_bork(pose):
    def draw(ctx, w, h):
        cx = 636 if pose == 0 else 698
        glow(ctx, cx, 470, 90, TAB[3], 0.35)
        robot(ctx, cx, 114, pose)
    return draw


def draw_overlay(word, line, colour):
    def draw(ctx, w, h):
        ctx.set_source_rgba(*with_alpha(NAVY, 0.72))
        ctx.rectangle(0, 0, w, h)
        ctx.fill()
        glow(ctx, 400, 210, 330, colour, 0.35)
        def big(c):
            from paint import text_path
            text_path(c, word, 400, 240, 96)
            c.fill()
        shadow(ctx, w, h, big, dy=8, blur=12, alpha=0.8)
        from paint import text_path
        text_path(ctx, word, 400, 240, 96)
        ctx.set_source_rgba(*CREAM)
        ctx.set_line_width(10)
        ctx.set_line_join(cairo.LINE_JOIN_ROUND)
        ctx.stroke_preserve()
        ctx.set_source(vgrad(160, 240, bright(colour, 0.35), colour))
        ctx.fill()
        text(ctx, line, 400, 310, 26, CREAM, shadow_px=3)
    return draw


TEETH = 8
MID_X = 323


def _gate_fill(ctx, x0, x1):
    g = cairo.LinearGradient(x0, 0, x1, 0)
    g.add_color_stop_rgba(0, *mix(NAVY, INDIGO, 0.3))
    g.add_color_stop_rgba(1, *mix(NAVY, INDIGO, 0.8))
    ctx.set_source(g)


def draw_gate(side):
    """Two shutter halves; in the overlap x 244..402 their teeth interlock, so the
    closed gates cover the screen without a seam."""
    def draw(ctx, w, h):
        band = 480 / TEETH
        path_pts = []
        if side == "left":
            ctx.move_to(0, 0)
            for i in range(TEETH):
                y0, y1 = i * band, (i + 1) * band
                xe = MID_X + 40 if i % 2 == 0 else MID_X - 40
                path_pts.append((xe, y0, y1))
                ctx.line_to(xe, y0)
                ctx.line_to(xe, y1)
            ctx.line_to(0, 480)
        else:
            ctx.move_to(800, 0)
            for i in range(TEETH):
                y0, y1 = i * band, (i + 1) * band
                xe = MID_X - 40 if i % 2 == 1 else MID_X + 40
                path_pts.append((xe, y0, y1))
                ctx.line_to(xe, y0)
                ctx.line_to(xe, y1)
            ctx.line_to(800, 480)
        ctx.close_path()
        _gate_fill(ctx, 0 if side == "left" else 800, MID_X)
        ctx.fill()
        # Horizontal slats
        x0, x1 = (0, MID_X + 40) if side == "left" else (MID_X - 40, 800)
        for i in range(1, 24):
            y = i * 20
            ctx.set_source_rgba(0, 0, 0, 0.18)
            ctx.rectangle(x0, y, x1 - x0, 3)
            ctx.fill()
            ctx.set_source_rgba(1, 1, 1, 0.05)
            ctx.rectangle(x0, y + 3, x1 - x0, 2)
            ctx.fill()
        # Re-cut the slats to the gate's outline with the cream trim along the teeth
        ctx.set_operator(cairo.OPERATOR_DEST_IN)
        ctx.new_path()
        if side == "left":
            ctx.move_to(0, 0)
            for xe, y0, y1 in path_pts:
                ctx.line_to(xe, y0)
                ctx.line_to(xe, y1)
            ctx.line_to(0, 480)
        else:
            ctx.move_to(800, 0)
            for xe, y0, y1 in path_pts:
                ctx.line_to(xe, y0)
                ctx.line_to(xe, y1)
            ctx.line_to(800, 480)
        ctx.close_path()
        ctx.set_source_rgba(0, 0, 0, 1)
        ctx.fill()
        ctx.set_operator(cairo.OPERATOR_OVER)
        ctx.set_source_rgba(*with_alpha(CREAM, 0.85))
        ctx.set_line_width(5)
        ctx.set_line_join(cairo.LINE_JOIN_ROUND)
        first = True
        for xe, y0, y1 in path_pts:
            xi = xe - 2.5 if side == "left" else xe + 2.5
            (ctx.move_to if first else ctx.line_to)(xi, y0 + (2.5 if first else 0))
            ctx.line_to(xi, y1)
            first = False
        ctx.stroke()
        ctx.set_source_rgba(*CREAM)
        for xe, y0, y1 in path_pts:
            tip = xe > MID_X if side == "left" else xe < MID_X
            if tip:
                dx = -8 if side == "left" else 0
                rounded_rect(ctx, xe + dx, y0 + 6, 8, y1 - y0 - 12, 4)
                ctx.fill()
        # Studs on each tooth
        for xe, y0, y1 in path_pts:
            tip = xe > MID_X if side == "left" else xe < MID_X
            if tip:
                sx = xe - 26 if side == "left" else xe + 26
                glow(ctx, sx, (y0 + y1) / 2, 10, TAB[1], 0.9)
    return draw
