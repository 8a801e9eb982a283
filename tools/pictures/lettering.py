"""The word-marks of the title screen: the blue name, the silver subtitle and the title card."""

import numpy as np
from PIL import ImageFont

from blocks import BLOCK_COLOURS, block
from paint import (FONT_DIR, add, blur, canvas, coords, lighting, mask, over, ramp, rgb,
                   smoothstep)

NAME = "Blokfall"
SUBTITLE = "Falling Blocks"

BLUE_METAL = [(0.0, rgb(215, 240, 255)), (0.30, rgb(110, 185, 255)), (0.50, rgb(40, 105, 235)),
              (0.53, rgb(10, 35, 140)), (0.75, rgb(30, 80, 210)), (1.0, rgb(120, 185, 255))]
SILVER = [(0.0, rgb(255, 255, 255)), (0.30, rgb(215, 220, 230)), (0.50, rgb(150, 155, 170)),
          (0.53, rgb(60, 62, 75)), (0.72, rgb(135, 140, 155)), (1.0, rgb(235, 238, 245))]


def text_mask(w, h, text, font_file, size, cx, cy, stroke=0.0):
    """Coverage of `text` whose ink box is centred on (cx, cy)."""
    font = ImageFont.truetype(FONT_DIR + font_file, size)
    x0, y0, x1, y1 = font.getbbox(text, stroke_width=int(round(stroke)))
    left = cx - (x0 + x1) / 2
    top = cy - (y0 + y1) / 2
    return mask(w, h, lambda p: p.text(left, top, text, font_file, size, stroke=stroke))


def fit_size(text, font_file, max_w, max_h):
    size = 8
    while True:
        font = ImageFont.truetype(FONT_DIR + font_file, size + 1)
        x0, y0, x1, y1 = font.getbbox(text)
        if x1 - x0 > max_w or y1 - y0 > max_h:
            return size
        size += 1


def metal_word(w, h, text, font_file, max_w, max_h, stops, rim, glow, cy=None):
    """Polished lettering on black: a metal gradient with a dark horizon across the middle,
    a bevel lit from the upper left, a dark rim and a soft coloured glow behind."""
    size = fit_size(text, font_file, max_w, max_h)
    cy = h / 2 if cy is None else cy
    fill = text_mask(w, h, text, font_file, size, w / 2, cy)
    edge = text_mask(w, h, text, font_file, size, w / 2, cy, stroke=max(1.5, size / 22))

    rows = np.nonzero(fill.max(axis=1) > 0.5)[0]
    _, y = coords(w, h)
    t = (y - rows.min()) / max(rows.max() - rows.min(), 1)
    diffuse, spec = lighting(blur(fill, max(1.0, size / 30)) * size / 6)
    face = ramp(t, stops) * (0.55 + 0.6 * diffuse)[..., None] + (0.9 * spec)[..., None]

    pic = canvas(w, h)
    add(pic, glow, 0.75 * blur(edge, size / 9))
    over(pic, rim, edge)
    over(pic, np.clip(face, 0, 1), fill)
    return fade_edges(pic, 3)


def fade_edges(pic, width):
    """Black at the borders so a scrolling word-mark shows no box edge."""
    h, w = pic.shape[:2]
    x, y = coords(w, h)
    d = np.minimum(np.minimum(x, w - x), np.minimum(y, h - y))
    pic *= smoothstep(0.5, width, d)[..., None]
    return pic


def blkbmp():
    return metal_word(380, 67, NAME, "DejaVuSans-Bold.ttf", 352, 50, BLUE_METAL,
                      rgb(5, 15, 60), rgb(20, 80, 255))


def forbmp():
    return metal_word(350, 57, SUBTITLE, "DejaVuSerif-Bold.ttf", 330, 38, SILVER,
                      rgb(25, 25, 32), rgb(120, 130, 160))


# The little well on the title card: landed blocks with a two-deep gap in column 4,
# and an I piece about to drop into it.
WELL_ROWS = ["........",
             "........",
             "........",
             "........",
             "0.....15",
             "0314.215",
             "2130.345"]


def bitmap_1():
    w, h, cell = 200, 150, 12
    pic = canvas(w, h)
    left, top = (w - 8 * cell) // 2, 12
    x, y = coords(w, h)

    # A cold light pooled on the floor of the well.
    floor_y = top + len(WELL_ROWS) * cell
    add(pic, rgb(40, 70, 160), 0.5 * np.exp(-((x - w / 2) / 60) ** 2 - ((y - floor_y) / 26) ** 2))

    for row, line in enumerate(WELL_ROWS):
        for col, ch in enumerate(line):
            if ch != ".":
                block(pic, left + col * cell, top + row * cell, cell, BLOCK_COLOURS[int(ch)])

    # The falling I piece, upright above the gap, with a motion trail.
    fx = left + 4 * cell
    for k in range(5, 0, -1):
        for r in range(4):
            block(pic, fx, top + r * cell - k * 5, cell, BLOCK_COLOURS[5], alpha=0.5 / (k + 2))
    for r in range(4):
        block(pic, fx, top + r * cell, cell, BLOCK_COLOURS[5])

    # A reflection of the stack in a glossy floor.
    reflect_h = 8
    src = pic[floor_y - reflect_h:floor_y][::-1]
    fade = np.linspace(0.35, 0.0, reflect_h)[:, None, None]
    pic[floor_y:floor_y + reflect_h] += src * fade

    word = metal_word(w, 46, NAME, "DejaVuSans-Bold.ttf", 176, 36, BLUE_METAL,
                      rgb(5, 15, 60), rgb(20, 80, 255))
    pic[h - 46 - 2:h - 2] = np.maximum(pic[h - 46 - 2:h - 2], word)
    return np.clip(pic, 0, 1)
