"""The small pictures drawn inside the playing field: bomb, explosion and penalty cell."""

import numpy as np

from blocks import block
from paint import (add, bezier, blur, canvas, coords, fbm, lighting, mask, over, ramp, rgb, rng,
                   smoothstep)


def spark(pic, cx, cy, size, gen):
    """A burning fuse tip: a white-hot core, an orange halo and a few flying sparks."""
    h, w = pic.shape[:2]
    x, y = coords(w, h)
    d2 = (x - cx) ** 2 + (y - cy) ** 2
    add(pic, rgb(255, 120, 20), 0.9 * np.exp(-d2 / (2 * (size * 1.6) ** 2)))
    add(pic, rgb(255, 220, 90), 1.2 * np.exp(-d2 / (2 * (size * 0.7) ** 2)))
    add(pic, rgb(255, 255, 240), 1.5 * np.exp(-d2 / (2 * (size * 0.3) ** 2)))
    angles = gen.uniform(0, 2 * np.pi, 7)
    lengths = gen.uniform(1.8, 3.2, 7) * size
    rays = mask(w, h, lambda p: [p.line([(cx, cy), (cx + np.cos(a) * l, cy + np.sin(a) * l)], 0.45)
                                 for a, l in zip(angles, lengths)])
    add(pic, rgb(255, 210, 110), 0.8 * rays)


def bomb():
    """A round black bomb with a burning fuse. The game draws it opaquely with its cell in the
    lower part of the picture, so the picture carries its own small steel plate as surround."""
    w, h = 20, 30
    gen = rng(1401)
    x, y = coords(w, h)
    pic = ramp(y / h, [(0.0, rgb(132, 140, 154)), (1.0, rgb(84, 90, 104))])
    pic += (0.06 * (fbm(w, h, 6, 2, gen) - 0.5))[..., None]
    bevel_plate(pic)

    cx, cy, r = 9.0, 18.5, 7.6
    shadow = blur(mask(w, h, lambda p: p.ellipse(cx + 1.2, cy + 6.8, 6.5, 1.8)), 0.8)
    pic *= (1 - 0.45 * shadow)[..., None]

    body = mask(w, h, lambda p: p.ellipse(cx, cy, r, r))
    dome = np.sqrt(np.clip(1 - ((x - cx) ** 2 + (y - cy) ** 2) / r ** 2, 0, 1)) * r
    diffuse, spec = lighting(dome, light=(-0.7, -0.9, 0.8), shininess=18)
    shell = rgb(14, 15, 20) + (0.22 * diffuse)[..., None] * rgb(120, 130, 160)
    shell = shell + (0.9 * spec)[..., None]
    # Warm light from the fuse on the upper right of the shell.
    rim = np.clip(((x - cx) * 0.6 - (y - cy)) / r, 0, 1) ** 3 * smoothstep(r - 2.5, r, np.sqrt(
        (x - cx) ** 2 + (y - cy) ** 2))
    shell = shell + (0.55 * rim)[..., None] * rgb(255, 140, 40)
    over(pic, np.clip(shell, 0, 1), body)

    # The collar the fuse comes out of.
    collar = mask(w, h, lambda p: p.polygon([(10.2, 9.6), (14.6, 11.4), (13.2, 14.4), (8.8, 12.6)]))
    over(pic, rgb(70, 72, 80), collar)
    over(pic, rgb(150, 152, 160), collar * smoothstep(12.0, 10.0, y))

    fuse = bezier(np.array([12.3, 10.5]), np.array([13.5, 6.5]), np.array([11.0, 6.0]),
                  np.array([14.0, 3.2]), 16)
    over(pic, rgb(60, 40, 25), mask(w, h, lambda p: p.line(fuse, 1.6)))
    over(pic, rgb(215, 185, 130), mask(w, h, lambda p: p.line(fuse, 0.8)))
    spark(pic, 14.2, 3.0, 1.3, gen)
    return np.clip(pic, 0, 1)


def bevel_plate(pic):
    """A one-pixel bevel: light top and left edges, dark bottom and right ones."""
    pic[0, :] = np.clip(pic[0, :] * 1.35, 0, 1)
    pic[:, 0] = np.clip(pic[:, 0] * 1.2, 0, 1)
    pic[-1, :] *= 0.55
    pic[:, -1] *= 0.65


def starburst_radius(theta, gen, spikes, inner, outer):
    """Radius of a jagged star outline at angle `theta`."""
    angles = np.sort(gen.uniform(0, 2 * np.pi, spikes))
    lengths = gen.uniform(inner, outer, spikes)
    widths = gen.uniform(0.16, 0.32, spikes)
    radius = np.full(theta.shape, inner * 0.8)
    for a, l, wdt in zip(angles, lengths, widths):
        d = np.abs((theta - a + np.pi) % (2 * np.pi) - np.pi)
        radius = np.maximum(radius, inner * 0.8 + (l - inner * 0.8) * np.clip(1 - d / wdt, 0, 1) ** 1.6)
    return radius


FIRE = [(0.0, rgb(255, 255, 235)), (0.18, rgb(255, 245, 140)), (0.42, rgb(255, 200, 30)),
        (0.68, rgb(245, 100, 10)), (0.9, rgb(200, 25, 10)), (1.0, rgb(120, 10, 8))]


def flame():
    """A red and yellow starburst filling the 3 x 3 cells that a bomb cleared."""
    w = h = 60
    gen = rng(1402)
    x, y = coords(w, h)
    cx = cy = 30.0
    r = np.hypot(x - cx, y - cy)
    theta = np.arctan2(y - cy, x - cx)
    turbulence = fbm(w, h, 12, 3, gen)

    # Smoky dark red around the burst.
    pic = ramp(turbulence, [(0.0, rgb(40, 6, 4)), (0.6, rgb(95, 20, 8)), (1.0, rgb(150, 45, 10))])
    pic *= (0.75 + 0.25 * smoothstep(40, 10, r))[..., None]

    outer = starburst_radius(theta, gen, 16, 18.0, 32.0)
    inner = starburst_radius(theta, gen, 12, 10.0, 22.0)
    f_outer = r / outer + 0.25 * (turbulence - 0.5)
    f_inner = r / inner + 0.2 * (turbulence - 0.5)
    outer_cover = smoothstep(1.0, 0.9, f_outer)
    over(pic, ramp(np.clip(0.45 + 0.55 * f_outer, 0, 1), FIRE), outer_cover)
    over(pic, ramp(np.clip(f_inner * 0.6, 0, 1), FIRE), smoothstep(1.0, 0.85, f_inner))
    add(pic, rgb(255, 240, 200), 0.8 * np.exp(-(r / 6.0) ** 2))

    # Embers flung outwards.
    for _ in range(14):
        a, d = gen.uniform(0, 2 * np.pi), gen.uniform(16, 28)
        ex, ey = cx + np.cos(a) * d, cy + np.sin(a) * d
        add(pic, rgb(255, 200, 80), 0.9 * np.exp(-((x - ex) ** 2 + (y - ey) ** 2) / 1.1))
    return np.clip(pic, 0, 1)


def worse():
    """A white skull on a purple penalty cell."""
    w = h = 20
    pic = canvas(w, h)
    block(pic, 0, 0, 20, rgb(120, 45, 165))
    x, y = coords(w, h)

    def skull(p):
        p.ellipse(10, 8.2, 6.3, 5.8)
        p.rect(6.4, 9.0, 13.6, 16.2, radius=1.6)

    def holes(p):
        p.ellipse(7.5, 9.0, 1.9, 2.1)
        p.ellipse(12.5, 9.0, 1.9, 2.1)
        p.polygon([(10, 11.2), (11.0, 13.2), (9.0, 13.2)])
        for tx in (8.4, 10.0, 11.6):
            p.line([(tx, 14.2), (tx, 16.3)], 0.7)

    bone = mask(w, h, skull, ss=8)
    dark = mask(w, h, holes, ss=8)
    halo = np.clip(blur(bone, 0.7) * 1.6, 0, 1)
    over(pic, rgb(45, 10, 65), halo * 0.75)
    ivory = ramp(y / h, [(0.2, rgb(255, 255, 255)), (0.9, rgb(205, 200, 215))])
    over(pic, ivory, bone)
    over(pic, rgb(40, 8, 55), dark * bone)
    return np.clip(pic, 0, 1)
