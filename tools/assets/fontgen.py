"""The bitmap font: DejaVu Sans Bold glyphs for the 256 byte values (Latin-1 for
128..255), condensed and tall, white with alpha in 64 x 64 cells of a
1024 x 1024 image, and the 512-byte table of advance widths in texels."""
import struct

import cairo
import numpy as np

import paint
import pngout

CELL = 64
SIZE = 52        # pixel size of the glyphs: capitals 38 texels tall, most of the cell
CONDENSE = 0.55  # horizontal scale, so the widest letters (W, m) still advance at most 32
MIN_ADVANCE, MAX_ADVANCE = 8, 32  # the range the width table allows
BASELINE = 50    # accents above capitals and descenders both stay inside the cell
ORIGIN_X = 2     # room for glyphs that start slightly left of their pen position


def glyph_char(c):
    """The character drawn for byte c, or None for control codes (no glyph, width 0)."""
    if c < 32 or 127 <= c < 160:
        return None
    return bytes([c]).decode("latin-1")


def build(data_dir):
    s, ctx = paint.surface(CELL * 16, CELL * 16)
    paint.font(ctx, SIZE)
    widths = []
    for c in range(256):
        ch = glyph_char(c)
        if ch is None:
            widths.append(0)
            continue
        if ch == "\xa0":
            ch = " "
        x0, y0 = CELL * (c % 16), CELL * (c // 16)
        ctx.save()
        ctx.rectangle(x0, y0, CELL, CELL)
        ctx.clip()
        ctx.set_source_rgba(1, 1, 1, 1)
        ctx.translate(x0 + ORIGIN_X, y0 + BASELINE)
        ctx.scale(CONDENSE, 1)
        ctx.move_to(0, 0)
        ctx.show_text(ch)
        ctx.restore()
        # The font's own advance, side bearings included: the pen moves on by what the ink needs.
        advance = int(round(ctx.text_extents(ch).x_advance * CONDENSE))
        widths.append(max(MIN_ADVANCE, min(MAX_ADVANCE, advance)))
    px = paint.to_rgba(s)
    # White everywhere, so filtering at glyph edges never pulls in a dark fringe.
    px[:, :, :3] = 255
    pngout.write(data_dir + "/zagbold.png", px)
    with open(data_dir + "/zagbold.dat", "wb") as f:
        f.write(struct.pack("<256H", *widths))
    printable = widths[32:127]
    print("zagbold: ASCII widths %d..%d, 'A' %d, 'W' %d, blank %d"
          % (min(printable), max(printable), widths[65], widths[87], widths[32]))
