"""Glossy bevelled blocks: the game's emblem, shared by the title card and the icons."""

import numpy as np

from paint import rgb

# The six cell colours of the game, a little richer so they shine on black.
BLOCK_COLOURS = [rgb(225, 30, 30), rgb(40, 205, 60), rgb(45, 90, 235),
                 rgb(235, 205, 30), rgb(205, 45, 205), rgb(30, 205, 215)]


def block(pic, x, y, size, colour, alpha=1.0):
    """One block with its top-left corner at (x, y), `size` pixels square, lit from the top left:
    light upper and left bevels, dark lower and right ones, a domed face with a glint."""
    h, w = pic.shape[:2]
    x0, y0 = max(x, 0), max(y, 0)
    x1, y1 = min(x + size, w), min(y + size, h)
    if x0 >= x1 or y0 >= y1:
        return
    py, px = np.mgrid[y0:y1, x0:x1].astype(np.float64)
    u = (px - x + 0.5) / size
    v = (py - y + 0.5) / size
    bevel = max(0.12, 1.3 / size)
    left, top, right, bottom = u, v, 1 - u, 1 - v
    nearest = np.minimum(np.minimum(left, top), np.minimum(right, bottom))
    c = np.asarray(colour, np.float64)

    face = c * (1.12 - 0.3 * v)[..., None]
    glint = np.exp(-(((u - 0.33) / 0.2) ** 2 + ((v - 0.3) / 0.14) ** 2))
    face = face + (0.45 * glint)[..., None]
    shade = np.where(nearest == top, 1.55, np.where(nearest == left, 1.25,
                     np.where(nearest == right, 0.7, 0.5)))
    edge = c * shade[..., None] + np.where(nearest == top, 0.12, 0.0)[..., None]
    col = np.where((nearest < bevel)[..., None], edge, face)
    outline = nearest < 0.6 / size
    col[outline] = c * 0.25

    region = pic[y0:y1, x0:x1]
    region[:] = region * (1 - alpha) + np.clip(col, 0, 1) * alpha


# The seven four-cell shapes as (column, row) cells.
SHAPES = {
    "I": [(0, 0), (1, 0), (2, 0), (3, 0)],
    "O": [(0, 0), (1, 0), (0, 1), (1, 1)],
    "T": [(0, 0), (1, 0), (2, 0), (1, 1)],
    "S": [(1, 0), (2, 0), (0, 1), (1, 1)],
    "Z": [(0, 0), (1, 0), (1, 1), (2, 1)],
    "L": [(0, 0), (0, 1), (0, 2), (1, 2)],
    "J": [(1, 0), (1, 1), (1, 2), (0, 2)],
}


def piece(pic, shape, x, y, size, colour, alpha=1.0):
    for cx, cy in SHAPES[shape]:
        block(pic, x + cx * size, y + cy * size, size, colour, alpha)
