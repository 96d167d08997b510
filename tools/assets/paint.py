"""Shared drawing kit for every picture of the game: palette, shapes, text,
soft shadows and the conversion of cairo surfaces to straight-alpha pixels."""
import math

import cairo
import numpy as np

FONT = "DejaVu Sans"


def hexc(code, a=1.0):
    code = code.lstrip("#")
    return (int(code[0:2], 16) / 255, int(code[2:4], 16) / 255, int(code[4:6], 16) / 255, a)


NAVY = hexc("141B3C")
INDIGO = hexc("2A2466")
CREAM = hexc("FFF6E0")
INK = hexc("1B1B2F")
TAB = [hexc("FF6B6B"), hexc("FFC145"), hexc("2EC4B6"), hexc("9D6BFF")]


def mix(c1, c2, t):
    return tuple(c1[i] * (1 - t) + c2[i] * t for i in range(4))


def with_alpha(c, a):
    return (c[0], c[1], c[2], a)


def dim(c):
    """The "off" look of a tab colour: darker and desaturated."""
    grey = (c[0] + c[1] + c[2]) / 3
    return tuple([(c[i] * 0.55 + grey * 0.45) * 0.55 for i in range(3)] + [c[3]])


def bright(c, k=0.35):
    return mix(c, (1, 1, 1, c[3]), k)


def surface(w, h):
    s = cairo.ImageSurface(cairo.FORMAT_ARGB32, w, h)
    ctx = cairo.Context(s)
    ctx.set_antialias(cairo.ANTIALIAS_BEST)
    fo = cairo.FontOptions()
    fo.set_antialias(cairo.ANTIALIAS_GRAY)
    fo.set_hint_style(cairo.HINT_STYLE_NONE)
    fo.set_hint_metrics(cairo.HINT_METRICS_OFF)
    ctx.set_font_options(fo)
    return s, ctx


def to_rgba(s):
    """Cairo keeps premultiplied BGRA; the atlases want straight RGBA."""
    s.flush()
    h, w, stride = s.get_height(), s.get_width(), s.get_stride()
    buf = np.frombuffer(s.get_data(), dtype=np.uint8).reshape(h, stride)[:, : w * 4].reshape(h, w, 4)
    b, g, r, a = [buf[:, :, i].astype(np.uint32) for i in range(4)]
    out = np.zeros((h, w, 4), dtype=np.uint8)
    nz = a > 0
    safe = np.where(nz, a, 1)
    for i, c in enumerate((r, g, b)):
        out[:, :, i] = np.where(nz, np.minimum(255, (c * 255 + safe // 2) // safe), 0)
    out[:, :, 3] = a
    return out


def rgba_to_surface(px):
    """Straight RGBA back into a premultiplied cairo surface (for previews)."""
    h, w, _ = px.shape
    a = px[:, :, 3].astype(np.uint32)
    arr = np.zeros((h, w, 4), dtype=np.uint8)
    for i, src in ((2, 0), (1, 1), (0, 2)):
        arr[:, :, i] = (px[:, :, src].astype(np.uint32) * a + 127) // 255
    arr[:, :, 3] = a
    s = cairo.ImageSurface(cairo.FORMAT_ARGB32, w, h)
    stride = s.get_stride()
    data = np.zeros((h, stride), dtype=np.uint8)
    data[:, : w * 4] = arr.reshape(h, w * 4)
    s.get_data()[:] = data.tobytes()
    s.mark_dirty()
    return s


def rounded_rect(ctx, x, y, w, h, r):
    r = min(r, w / 2, h / 2)
    ctx.new_sub_path()
    ctx.arc(x + w - r, y + r, r, -math.pi / 2, 0)
    ctx.arc(x + w - r, y + h - r, r, 0, math.pi / 2)
    ctx.arc(x + r, y + h - r, r, math.pi / 2, math.pi)
    ctx.arc(x + r, y + r, r, math.pi, 3 * math.pi / 2)
    ctx.close_path()


def vgrad(y0, y1, c0, c1):
    g = cairo.LinearGradient(0, y0, 0, y1)
    g.add_color_stop_rgba(0, *c0)
    g.add_color_stop_rgba(1, *c1)
    return g


def night(ctx, w, h, seed=1, stars=70):
    """The night background shared by every screen: navy to indigo with a few soft stars."""
    ctx.set_source(vgrad(0, h, NAVY, INDIGO))
    ctx.rectangle(0, 0, w, h)
    ctx.fill()
    rng = np.random.RandomState(seed)
    for _ in range(stars):
        x, y = rng.uniform(0, w), rng.uniform(0, h)
        r = rng.uniform(1.2, 2.6)
        a = rng.uniform(0.25, 0.7)
        g = cairo.RadialGradient(x, y, 0, x, y, r * 2.2)
        g.add_color_stop_rgba(0, *with_alpha(CREAM, a))
        g.add_color_stop_rgba(1, *with_alpha(CREAM, 0))
        ctx.set_source(g)
        ctx.arc(x, y, r * 2.2, 0, 2 * math.pi)
        ctx.fill()


def _box_blur(a, r):
    if r < 1:
        return a
    for axis in (0, 1):
        pad = [(0, 0), (0, 0)]
        pad[axis] = (r + 1, r)
        p = np.pad(a, pad, mode="constant")
        c = np.cumsum(p, axis=axis)
        if axis == 0:
            a = (c[2 * r + 1:, :] - c[: -2 * r - 1, :]) / (2 * r + 1)
        else:
            a = (c[:, 2 * r + 1:] - c[:, : -2 * r - 1]) / (2 * r + 1)
    return a


def shadow(target_ctx, w, h, draw_shape, dx=0, dy=6, blur=8, alpha=0.45, colour=(0.02, 0.03, 0.1)):
    """Paints a soft shadow of whatever draw_shape(ctx) fills, blurred by three box passes."""
    s, c = surface(w, h)
    c.set_source_rgba(0, 0, 0, 1)
    c.translate(dx, dy)
    draw_shape(c)
    s.flush()
    stride = s.get_stride()
    a = np.frombuffer(s.get_data(), dtype=np.uint8).reshape(h, stride)[:, 3::4][:, :w].astype(np.float64)
    r = max(1, int(blur / 2))
    for _ in range(3):
        a = _box_blur(a, r)
    a = np.clip(a * alpha, 0, 255).round().astype(np.uint8)
    px = np.zeros((h, w, 4), dtype=np.uint8)
    for i in range(3):
        px[:, :, i] = int(colour[i] * 255)
    px[:, :, 3] = a
    target_ctx.save()
    target_ctx.identity_matrix()
    target_ctx.set_source_surface(rgba_to_surface(px), 0, 0)
    target_ctx.paint()
    target_ctx.restore()


def glow(ctx, x, y, r, colour, a=0.6):
    g = cairo.RadialGradient(x, y, 0, x, y, r)
    g.add_color_stop_rgba(0, *with_alpha(colour, a))
    g.add_color_stop_rgba(1, *with_alpha(colour, 0))
    ctx.set_source(g)
    ctx.arc(x, y, r, 0, 2 * math.pi)
    ctx.fill()


def font(ctx, size, bold=True):
    ctx.select_font_face(FONT, cairo.FONT_SLANT_NORMAL,
                         cairo.FONT_WEIGHT_BOLD if bold else cairo.FONT_WEIGHT_NORMAL)
    ctx.set_font_size(size)


def text_width(ctx, text, size, bold=True):
    font(ctx, size, bold)
    return ctx.text_extents(text).x_advance


def text(ctx, s, x, y, size, colour=CREAM, align="center", bold=True, shadow_px=0):
    """Draws one line with its baseline at y; align is left, center or right of x."""
    font(ctx, size, bold)
    ext = ctx.text_extents(s)
    if align == "center":
        x -= ext.x_advance / 2
    elif align == "right":
        x -= ext.x_advance
    if shadow_px:
        ctx.set_source_rgba(0.02, 0.03, 0.1, 0.55)
        ctx.move_to(x + shadow_px * 0.5, y + shadow_px)
        ctx.show_text(s)
    ctx.set_source_rgba(*colour)
    ctx.move_to(x, y)
    ctx.show_text(s)
    return ext.x_advance


def text_fit(ctx, s, x, y, size, max_w, **kw):
    """Shrinks the size until the line fits max_w."""
    while size > 8 and text_width(ctx, s, size, kw.get("bold", True)) > max_w:
        size -= 1
    return text(ctx, s, x, y, size, **kw)


def text_path(ctx, s, x, y, size, align="center"):
    font(ctx, size)
    ext = ctx.text_extents(s)
    if align == "center":
        x -= ext.x_advance / 2
    ctx.move_to(x, y)
    ctx.text_path(s)


def wrap(ctx, s, size, max_w, bold=False):
    font(ctx, size, bold)
    words, lines, cur = s.split(), [], ""
    for wd in words:
        t = (cur + " " + wd).strip()
        if ctx.text_extents(t).x_advance > max_w and cur:
            lines.append(cur)
            cur = wd
        else:
            cur = t
    if cur:
        lines.append(cur)
    return lines
