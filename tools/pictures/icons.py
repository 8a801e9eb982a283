"""The window and menu icons: a small well of glossy blocks on a dark rounded tile."""

import numpy as np

from blocks import BLOCK_COLOURS, block, piece
from paint import add, canvas, coords, mask, over, ramp, rgb


def tile(size, top, bottom):
    """A rounded square with a soft inner light; outside it the icon stays transparent-black."""
    x, y = coords(size, size)
    shape = mask(size, size, lambda p: p.rect(size * 0.03, size * 0.03, size * 0.97, size * 0.97,
                                              radius=size * 0.16))
    face = ramp(y / size, [(0.0, top), (1.0, bottom)])
    add(face, rgb(60, 90, 170), 0.35 * np.exp(-((x - size / 2) / (size * 0.5)) ** 2
                                              - ((y - size * 0.85) / (size * 0.3)) ** 2))
    pic = canvas(size, size)
    over(pic, face, shape)
    return pic, shape


def game_icon(size):
    """A T piece dropping towards a stack with a gap just its shape: it will clear two rows."""
    pic, shape = tile(size, rgb(30, 34, 58), rgb(8, 10, 22))
    cell = size // 6
    left = (size - 4 * cell) // 2
    base = size - cell - size // 10
    for col, colour in ((0, 0), (2, 5), (3, 1)):
        block(pic, left + col * cell, base, cell, BLOCK_COLOURS[colour])
    block(pic, left + 3 * cell, base - cell, cell, BLOCK_COLOURS[3])
    piece(pic, "T", left, size // 8, cell, BLOCK_COLOURS[4])
    return with_alpha(pic, shape)


def installer_icon(size):
    """A box of blocks with an arrow pointing into it."""
    pic, shape = tile(size, rgb(36, 48, 40), rgb(10, 16, 12))
    cell = size // 6
    left = (size - 3 * cell) // 2
    box = mask(size, size, lambda p: p.rect(left - 3, size * 0.5, left + 3 * cell + 3, size * 0.9, radius=2))
    over(pic, rgb(150, 110, 60), box)
    for i in range(3):
        block(pic, left + i * cell, int(size * 0.5) - cell + 2, cell, BLOCK_COLOURS[i])
    arrow = mask(size, size, lambda p: (p.rect(size * 0.44, size * 0.08, size * 0.56, size * 0.26),
                                        p.polygon([(size * 0.32, size * 0.24), (size * 0.68, size * 0.24),
                                                   (size * 0.5, size * 0.38)])))
    over(pic, rgb(240, 240, 240), arrow)
    return with_alpha(pic, shape)


def with_alpha(pic, shape):
    """RGBA: the tile opaque, its rounded corners transparent."""
    return np.concatenate([pic, shape[..., None]], axis=-1)
