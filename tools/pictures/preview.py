#!/usr/bin/python3
"""Rough mock-ups of the pictures in use, to judge how readable the field is over them.

Usage: tools/pictures/preview.py [OUTDIR]   (default /tmp/blokfall-preview)
Writes one frame per game type and a title-screen frame as PNG. The sprites are ORed exactly
as the game does, so a stray non-black pixel around them shows up here.
"""

import os
import sys

import numpy as np
from PIL import Image, ImageDraw, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
PICTURES = os.path.join(HERE, "..", "..", "resources", "pictures")
CELL_COLOURS = [(200, 0, 0), (0, 200, 0), (0, 0, 200), (200, 200, 0), (200, 0, 200), (0, 200, 200)]
GREY_PEN, SCORE_GREY = (128, 128, 128), (160, 160, 160)
FONT = ImageFont.truetype("/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf", 13)


def load(name):
    return Image.open(os.path.join(PICTURES, name + ".bmp")).convert("RGB")


def cell(draw, x, y, colour):
    draw.rectangle([x, y, x + 20, y + 20], fill=colour, outline=(0, 0, 0))


def strip(frame, draw, feldx, seed):
    """A plausible half-filled field: a ragged stack, a penalty row, a bomb and a blast."""
    gen = np.random.default_rng(seed)
    for row in range(11, 20):
        for col in range(10):
            if gen.random() < 0.25 + (row - 11) * 0.08:
                cell(draw, feldx + col * 20, row * 20, CELL_COLOURS[gen.integers(6)])
    for col in range(10):
        if col != 4:
            frame.paste(load("WORSE"), (feldx + col * 20, 19 * 20))
    for j, i in ((1, 0), (1, 1), (2, 1), (1, 2)):
        cell(draw, feldx + (3 + j) * 20, (2 + i) * 20, CELL_COLOURS[4])
    frame.paste(load("BOMB"), (feldx + 7 * 20 + 2, 6 * 20 - 7))
    frame.paste(load("FLAME"), (feldx + 1 * 20, 8 * 20))


def game_frame(background, strips, frame_x, score):
    frame = load(background)
    draw = ImageDraw.Draw(frame)
    for i, feldx in enumerate(strips):
        strip(frame, draw, feldx, 7 + i)
    if frame_x is not None:
        draw.line([(frame_x, 0), (frame_x, 427), (frame_x + 202, 427), (frame_x + 202, 0)], fill=GREY_PEN)
    draw.text((400, 0), score, font=FONT, fill=SCORE_GREY, anchor="ra")
    return frame


def or_paste(frame, name, x, y):
    """OR a picture onto the frame, clipped at its edges."""
    pic = np.asarray(load(name))
    dst = np.asarray(frame).copy()
    h, w = pic.shape[:2]
    x0, y0, x1, y1 = max(x, 0), max(y, 0), min(x + w, dst.shape[1]), min(y + h, dst.shape[0])
    dst[y0:y1, x0:x1] |= pic[y0 - y:y1 - y, x0 - x:x1 - x]
    return Image.fromarray(dst)


def title_frame(sprite):
    frame = Image.new("RGB", (409, 447), (0, 0, 0))
    frame.paste(load("BLKBMP"), (14, 0))
    forbmp = load("FORBMP")
    frame.paste(forbmp, (30, 231 - forbmp.height))
    frame = or_paste(frame, "SPIDER", 0, 0)
    gen = np.random.default_rng(5)
    draw = ImageDraw.Draw(frame)
    for _ in range(60):
        draw.point((int(gen.integers(409)), int(gen.integers(232))), fill=(255, 255, 255))
    frame.paste(load("BITMAP_1"), (204 - 100, 115 - 75))
    if sprite == "DUCKY":
        frame = or_paste(frame, "DUCKY", 190, 75)
    else:
        frame = or_paste(frame, "TITAN", -10, 40)
    ImageDraw.Draw(frame).rectangle([0, 232, 408, 446], fill=(212, 208, 200))
    return frame


def main(out):
    os.makedirs(out, exist_ok=True)
    game_frame("KESTA", [104], 103, "12345").save(os.path.join(out, "one-player.png"))
    game_frame("COOP", [0, 200], None, "678").save(os.path.join(out, "cooperative.png"))
    frame = game_frame("MORVO", [0, 200], -1, "2")
    ImageDraw.Draw(frame).text((0, 0), "1", font=FONT, fill=SCORE_GREY)
    frame.save(os.path.join(out, "face-to-face.png"))
    title_frame("DUCKY").save(os.path.join(out, "title-ducks.png"))
    title_frame("TITAN").save(os.path.join(out, "title-liner.png"))
    print(out)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "/tmp/blokfall-preview")
