"""Sets two and three and the loading screen: credits, high score, advert,
publisher splash, start-up scroller and its balls."""
import math

import cairo

from figures import logo, mascot, note_ball
from paint import (CREAM, INDIGO, INK, NAVY, TAB, bright, glow, mix, night, rounded_rect,
                   shadow, text, text_fit, vgrad, with_alpha, wrap)

HOW_TO_PLAY = [
    ("LISTEN", "First the computer plays the whole melody once. Every note belongs to one of four coloured tabs."),
    ("WATCH", "Then it plays the first note, and the tab of that note lights up."),
    ("REPEAT", "Now it is your turn: click the same tabs in the same order, or press their keys 1 to 4."),
    ("GROW", "Each phrase you repeat correctly grows by one note, and your score rises."),
    ("THREE LIVES", "A wrong tab costs one of your three lives, and you hear the right note again. "
                    "Lose all three and the game is over."),
    ("UNLOCK", "Repeat a whole melody to open the next track. And somewhere there is a hidden bonus track..."),
]
KEYS = ["Tabs: 1 2 3 4, or 7 9 1 3 on the keypad",
        "Menus: arrow keys, then Enter or Space",
        "Volume: - = music, [ ] effects, M mute",
        "P pause, F11 full screen, Escape back"]

CREDITS = [
    ("title", "QUAVERO"),
    ("line", "A game of musical memory"),
    ("gap", ""),
    ("head", "MADE BY"),
    ("line", "The Quavero project"),
    ("gap", ""),
    ("head", "GAME DESIGN AND CODE"),
    ("line", "The Quavero project team"),
    ("gap", ""),
    ("head", "MODULE PLAYER AND MIXER"),
    ("line", "Vela sound system, written for this game"),
    ("gap", ""),
    ("head", "PICTURES"),
    ("line", "Drawn in code with cairo"),
    ("gap", ""),
    ("head", "MUSIC AND MELODIES"),
    ("line", "Composed for this game"),
    ("line", "and rendered by our own module player"),
    ("gap", ""),
    ("head", "VOICES"),
    ("line", "espeak-ng, treated with SoX"),
    ("gap", ""),
    ("head", "FONT"),
    ("line", "DejaVu Sans Bold"),
    ("small", "by the DejaVu fonts team,"),
    ("small", "based on Bitstream Vera by Bitstream, Inc."),
    ("small", "Bitstream Vera licence; DejaVu changes in the public domain"),
    ("gap", ""),
    ("head", "TOOLS"),
    ("line", "g++, clang, CMake, SDL 1.2, OpenGL"),
    ("line", "zlib, libvorbis, GoogleTest"),
    ("line", "Python, cairo, NumPy, SoX"),
    ("line", "espeak-ng, vorbis-tools"),
    ("gap", ""),
    ("head", "THANK YOU"),
    ("line", "for playing!"),
]


def draw_credits_bg(ctx, w, h):
    night(ctx, w, h, seed=11)
    glow(ctx, 400, 480, 360, TAB[2], 0.22)
    glow(ctx, 400, 0, 300, TAB[3], 0.22)
    for x in (60, 740):
        for k, col in enumerate(TAB):
            note_ball(ctx, x, 90 + k * 100, 18, col, flag=False)


def draw_credits_scroller(ctx, w, h):
    y = 110
    for kind, s in CREDITS:
        if kind == "title":
            logo(ctx, w, h, 398, y, 84)
            y += 70
        elif kind == "head":
            text(ctx, s, 398, y, 30, TAB[1], shadow_px=3)
            y += 52
        elif kind == "line":
            text_fit(ctx, s, 398, y, 34, 600, colour=CREAM, shadow_px=3)
            y += 44
        elif kind == "small":
            text_fit(ctx, s, 398, y, 24, 600, colour=with_alpha(CREAM, 0.85), bold=False)
            y += 36
        else:
            y += 40
    mascot(ctx, 398, y + 150, 80, look=(0, -0.3), mouth="smile")
    assert y + 260 < 2000, y


def draw_highscore_bg(ctx, w, h):
    night(ctx, w, h, seed=13)
    text(ctx, "HIGH SCORES", 400, 92, 52, CREAM, shadow_px=4)
    def panel(c):
        rounded_rect(c, 4, 176, 458, 202, 28)
        c.fill()
    shadow(ctx, w, h, panel, dy=6, blur=10, alpha=0.6)
    ctx.set_source(vgrad(176, 378, mix(INDIGO, CREAM, 0.12), NAVY))
    panel(ctx)
    rounded_rect(ctx, 4, 176, 458, 202, 28)
    ctx.set_source_rgba(*TAB[1])
    ctx.set_line_width(4)
    ctx.stroke()
    # A trophy and the mascot on the right
    cx, cy = 630, 270
    glow(ctx, cx, cy, 150, TAB[1], 0.35)
    ctx.set_source(vgrad(cy - 80, cy + 90, bright(TAB[1], 0.4), mix(TAB[1], TAB[0], 0.4)))
    ctx.move_to(cx - 70, cy - 80)
    ctx.line_to(cx + 70, cy - 80)
    ctx.curve_to(cx + 70, cy + 10, cx + 30, cy + 30, cx + 12, cy + 36)
    ctx.line_to(cx + 12, cy + 62)
    ctx.line_to(cx + 46, cy + 80)
    ctx.line_to(cx - 46, cy + 80)
    ctx.line_to(cx - 12, cy + 62)
    ctx.line_to(cx - 12, cy + 36)
    ctx.curve_to(cx - 30, cy + 30, cx - 70, cy + 10, cx - 70, cy - 80)
    ctx.close_path()
    ctx.fill()
    ctx.set_line_width(10)
    ctx.set_source_rgba(*TAB[1])
    for side in (-1, 1):
        ctx.arc(cx + side * 72, cy - 44, 26, -math.pi / 2 if side > 0 else math.pi / 2,
                math.pi / 2 if side > 0 else 3 * math.pi / 2)
        ctx.stroke()
    mascot(ctx, cx, cy - 22, 34, look=(0, -0.2), stem=False)
    text(ctx, "Can you beat them?", 630, 420, 24, CREAM, shadow_px=2)


FAKE_SCORES = [("ORLA", 1460), ("VOSTOK", 1125), ("ZENTRIA", 870), ("QUARZ", 640), ("NEBULON", 415)]


def draw_fake_highscore(ctx, w, h):
    for i, (name, score) in enumerate(FAKE_SCORES):
        y = 222 + i * 32
        col = TAB[i % 4]
        ctx.set_source_rgba(*col)
        ctx.arc(46, y - 9, 11, 0, 2 * math.pi)
        ctx.fill()
        text(ctx, str(i + 1), 46, y - 1, 16, INK)
        text(ctx, name, 72, y, 26, CREAM, align="left")
        text(ctx, str(score), 436, y, 26, TAB[1], align="right")


def draw_advert(ctx, w, h):
    night(ctx, w, h, seed=17)
    glow(ctx, 300, 300, 330, TAB[0], 0.2)
    def card(c):
        rounded_rect(c, 40, 70, 540, 360, 36)
        c.fill()
    shadow(ctx, w, h, card, dy=8, blur=14, alpha=0.6)
    ctx.set_source(vgrad(70, 430, (1, 1, 1, 1), CREAM))
    card(ctx)
    text(ctx, "THANKS FOR PLAYING!", 310, 136, 38, INK)
    for i, line in enumerate(["Quavero is made by the Quavero project.",
                              "Come and see what we are making next:",
                              "new tracks, new tunes and the full story."]):
        text(ctx, line, 310, 186 + i * 34, 22, INK, bold=False)
    text(ctx, "Click the button at the top right", 310, 312, 22, mix(TAB[0], INK, 0.3))
    text(ctx, "to visit our web page.", 310, 340, 22, mix(TAB[0], INK, 0.3))
    text(ctx, "Click anywhere else to leave. Bye!", 310, 396, 20, with_alpha(INK, 0.7), bold=False)
    mascot(ctx, 680, 390, 62, look=(-0.5, -0.5), mouth="smile")
    # The web button, filling the box x 626..800, y 0..174
    def btn(c):
        rounded_rect(c, 636, 12, 152, 152, 30)
        c.fill()
    shadow(ctx, w, h, btn, dy=6, blur=10, alpha=0.6)
    g = cairo.LinearGradient(0, 12, 0, 164)
    g.add_color_stop_rgba(0, *bright(TAB[2], 0.3))
    g.add_color_stop_rgba(1, *mix(TAB[2], NAVY, 0.3))
    ctx.set_source(g)
    btn(ctx)
    rounded_rect(ctx, 636, 12, 152, 152, 30)
    ctx.set_source_rgba(*CREAM)
    ctx.set_line_width(4)
    ctx.stroke()
    # Globe icon
    cx, cy, r = 712, 64, 30
    ctx.set_line_width(4)
    ctx.arc(cx, cy, r, 0, 2 * math.pi)
    ctx.stroke()
    ctx.save()
    ctx.translate(cx, cy)
    ctx.scale(0.45, 1)
    ctx.arc(0, 0, r, 0, 2 * math.pi)
    ctx.restore()
    ctx.stroke()
    ctx.move_to(cx - r, cy)
    ctx.line_to(cx + r, cy)
    ctx.stroke()
    text(ctx, "VISIT OUR", 712, 124, 20, INK)
    text(ctx, "WEB PAGE", 712, 148, 20, INK)


def draw_publishedby(ctx, w, h):
    night(ctx, w, h, seed=19)
    glow(ctx, 400, 250, 320, TAB[3], 0.28)
    text(ctx, "published by", 400, 132, 30, with_alpha(CREAM, 0.85), bold=False)
    logo(ctx, w, h, 400, 236, 80, word="QUAVERO")
    text(ctx, "P R O J E C T", 400, 296, 34, CREAM, shadow_px=3)
    for i, col in enumerate(TAB):
        note_ball(ctx, 268 + i * 88, 376, 24, col)


def draw_startup_bg(ctx, w, h):
    night(ctx, w, h, seed=23, stars=120)
    glow(ctx, 400, 520, 420, TAB[3], 0.3)
    glow(ctx, 120, 60, 160, TAB[2], 0.12)
    ctx.set_source_rgba(*mix(NAVY, INDIGO, 0.5))
    ctx.move_to(0, 480)
    ctx.curve_to(160, 420, 300, 440, 420, 460)
    ctx.curve_to(560, 420, 700, 430, 800, 450)
    ctx.line_to(800, 480)
    ctx.close_path()
    ctx.fill()


def card_height(lines):
    return 30 + len(lines) * 36 + 64


def section_card(ctx, w, h, head, lines, bottom, colour, cx=400):
    """One section of the scroller on a soft card whose bottom edge is at bottom:
    its lines, then its heading under them, since the text moves down the screen
    and the lowest line arrives first. Returns the card's top."""
    top = bottom - card_height(lines)
    def card(c):
        rounded_rect(c, cx - 330, top, 660, bottom - top, 30)
        c.fill()
    ctx.set_source_rgba(*with_alpha(NAVY, 0.55))
    card(ctx)
    rounded_rect(ctx, cx - 330, top, 660, bottom - top, 30)
    ctx.set_source_rgba(*with_alpha(colour, 0.6))
    ctx.set_line_width(3)
    ctx.stroke()
    for k, line in enumerate(lines):
        text(ctx, line, cx, top + 50 + k * 36, 27, CREAM, bold=False, shadow_px=2)
    text(ctx, head, cx, bottom - 24, 36, colour, shadow_px=3)
    return top


def draw_startup_scroller(ctx, w, h):
    """The frame moves down the screen, so it is laid out bottom first: the title
    at the bottom arrives first, the sections follow upwards in playing order,
    and the top 480 rows, with the keys, are the screen at rest."""
    cx = 400
    logo(ctx, w, h, cx, 1930, 96)
    text(ctx, "HOW TO PLAY", cx, 2008, 40, CREAM, shadow_px=4)
    sections = [(head, wrap(ctx, body, 27, 600, bold=False)) for head, body in HOW_TO_PLAY]
    # Spread the sections evenly between the title and the screen at rest.
    first, last = 1836, 540
    heights = sum(card_height(lines) for _, lines in sections)
    gap = (first - last - heights) / (len(sections) - 1)
    assert gap >= 20, gap
    bottom = first
    for idx, (head, lines) in enumerate(sections):
        bottom = section_card(ctx, w, h, head, lines, bottom, TAB[idx % 4]) - gap
    # The screen at rest, the mascot arriving last
    mascot(ctx, cx - 20, 96, 44, look=(0, 0.5), mouth="smile")
    section_card(ctx, w, h, "KEYS", KEYS, 396, CREAM)
    text(ctx, "Click or press Enter to begin", cx, 446, 30, TAB[1], shadow_px=3)


def draw_ball(cx, cy, r, colour):
    def draw(ctx, w, h):
        note_ball(ctx, cx, cy, r, colour)
    return draw


def draw_loadingscreen(ctx, w, h):
    night(ctx, w, h, seed=29)
    glow(ctx, 400, 260, 330, TAB[3], 0.3)
    logo(ctx, w, h, 400, 170, 100)
    mascot(ctx, 380, 300, 52, look=(0.2, -0.3), mouth="sing")
    text(ctx, "Loading...", 400, 430, 30, CREAM, shadow_px=3)
    for i, col in enumerate(TAB):
        note_ball(ctx, 300 + i * 66, 385, 12, col, flag=False)
