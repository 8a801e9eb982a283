"""The title screen's sprites. They are ORed onto the black screen, so whatever surrounds the
motif must be exactly black: `black_surround` settles that after painting."""

import numpy as np

from paint import (add, bezier, black_surround, blur, canvas, coords, fbm, lighting, mask, over,
                   ramp, rgb, rng, smoothstep)


# --- the spider in the corner -------------------------------------------------------------

def spider():
    w = h = 40
    gen = rng(3001)
    pic = canvas(w, h)
    # The web hangs from the corner: spokes fanning out from near (1, 1), threads across them.
    hub = np.array([3.0, 3.0])
    angles = np.linspace(0.02, np.pi / 2 - 0.02, 7)
    reach = 36.0
    spokes = [(hub, hub + reach * np.array([np.cos(a), np.sin(a)])) for a in angles]

    def web(p):
        for a, b in spokes:
            p.line([tuple(a), tuple(b)], 0.45)
        for k, radius in enumerate(np.arange(6, 34, 4.2)):
            pts = [tuple(hub + (radius + gen.normal(0, 0.3)) * np.array([np.cos(a), np.sin(a)]))
                   for a in angles]
            sagged = []
            for i in range(len(pts) - 1):
                mid = (np.array(pts[i]) + np.array(pts[i + 1])) / 2
                sagged += [pts[i], tuple(hub + (mid - hub) * 0.94)]
            sagged.append(pts[-1])
            p.line(sagged, 0.4)

    threads = mask(w, h, web, ss=8)
    x, y = coords(w, h)
    dew = np.exp(-((x - 30) ** 2 + (y - 10) ** 2) / 200)
    over(pic, ramp(dew, [(0.0, rgb(150, 160, 175)), (1.0, rgb(220, 235, 255))]), threads)

    # The spider, hanging on its thread below the web.
    sx, sy = 25.0, 27.0
    body = mask(w, h, lambda p: (p.ellipse(sx, sy + 2.6, 3.6, 4.4), p.ellipse(sx, sy - 2.4, 2.2, 2.0)), ss=8)

    def legs(p):
        for side in (-1, 1):
            for i, (dy, spread, drop) in enumerate(((-3.0, 7, -4), (-2.0, 8, 0), (-1.0, 8, 4), (0.0, 6, 7))):
                knee = (sx + side * spread * 0.6, sy + dy - 3 + drop * 0.2)
                foot = (sx + side * spread, sy + dy + drop)
                p.line([(sx + side * 1.2, sy + dy), knee, foot], 0.8)

    limbs = mask(w, h, legs, ss=8)
    drop_line = mask(w, h, lambda p: p.line([(sx, sy - 4), (sx - 1.5, 14)], 0.35), ss=8)
    over(pic, rgb(170, 180, 195), drop_line)
    over(pic, rgb(125, 105, 90), limbs)
    dome = blur(body, 0.9) * 4
    diffuse, spec = lighting(dome, light=(-0.5, -0.8, 0.7), shininess=10)
    over(pic, rgb(40, 30, 28) + diffuse[..., None] * rgb(90, 70, 60) + spec[..., None] * 0.9, body)
    # A red mark on the back, and two eyes catching the light.
    over(pic, rgb(200, 30, 20), mask(w, h, lambda p: p.ellipse(sx, sy + 3.0, 1.0, 1.4), ss=8))
    add(pic, rgb(255, 255, 255), 0.9 * mask(w, h, lambda p: (p.ellipse(sx - 0.9, sy - 3.2, 0.45, 0.45),
                                                             p.ellipse(sx + 0.9, sy - 3.2, 0.45, 0.45)), ss=8))
    return black_surround(np.clip(pic, 0, 1))


# --- the rubber ducks ---------------------------------------------------------------------

def duck(p, cx, base, size):
    """A rubber duck facing left, `size` pixels tall, sitting on y = base."""
    s = size / 40.0
    p.ellipse(cx + 2 * s, base - 13 * s, 17 * s, 12 * s)             # body
    p.polygon([(cx + 14 * s, base - 20 * s), (cx + 22 * s, base - 30 * s),
               (cx + 19 * s, base - 14 * s)])                          # tail
    p.ellipse(cx - 6 * s, base - 28 * s, 9.5 * s, 9.5 * s)             # head


def duck_parts(w, h, cx, base, size):
    s = size / 40.0
    body = mask(w, h, lambda p: duck(p, cx, base, size), ss=6)
    beak = mask(w, h, lambda p: (p.ellipse(cx - 16 * s, base - 25 * s, 5.5 * s, 2.6 * s),
                                 p.ellipse(cx - 15 * s, base - 22.5 * s, 4.5 * s, 1.8 * s)), ss=6)
    wing = mask(w, h, lambda p: p.polygon([(cx - 2 * s, base - 16 * s), (cx + 10 * s, base - 20 * s),
                                           (cx + 14 * s, base - 12 * s), (cx + 2 * s, base - 8 * s)]), ss=6)
    eye = mask(w, h, lambda p: p.ellipse(cx - 8 * s, base - 31 * s, 1.6 * s, 1.9 * s), ss=6)
    return body, beak, wing, eye


def ducky():
    """A mother duck leading her ducklings, each one smaller than the one before."""
    w, h = 200, 50
    pic = canvas(w, h)
    x, y = coords(w, h)
    sizes = [44, 35, 28, 22, 17]
    cx = 22.0
    for size in sizes:
        body, beak, wing, eye = duck_parts(w, h, cx, 47, size)
        diffuse, spec = lighting(blur(body, size / 10) * size / 3, light=(-0.5, -0.9, 0.8), shininess=16)
        yellow = rgb(255, 210, 20) * (0.45 + 0.7 * diffuse)[..., None] + (0.6 * spec)[..., None]
        over(pic, np.clip(yellow, 0, 1), body)
        wing_shade = np.clip(wing - blur(wing, size / 25), 0, 1)
        over(pic, rgb(200, 140, 0), 0.8 * wing_shade * body)
        beak_light, _ = lighting(blur(beak, size / 20) * size / 6)
        over(pic, rgb(255, 110, 20) * (0.5 + 0.6 * beak_light)[..., None], beak)
        over(pic, rgb(15, 10, 10), eye)
        add(pic, rgb(255, 255, 255), 0.8 * np.exp(-((x - (cx - 8.4 * size / 40)) ** 2 + (y - (47 - 31.6 * size / 40)) ** 2) / 0.25))
        cx += size * 0.62 + 14
    return black_surround(np.clip(pic, 0, 1))


# --- the ocean liner ----------------------------------------------------------------------

def titan():
    """A four-funnelled liner steaming to the left at night, its portholes lit."""
    w, h = 426, 122
    gen = rng(3003)
    pic = canvas(w, h)
    x, y = coords(w, h)
    waterline = 104.0

    hull_outline = [(8, 80), (24, 78), (400, 78), (414, 76), (410, 92), (398, 104), (40, 104), (22, 96)]
    hull = mask(w, h, lambda p: p.polygon(hull_outline))
    bottom_paint = hull * smoothstep(96.5, 97.5, y)
    plates = 0.85 + 0.3 * fbm(w, h, 6, 2, gen)
    moonlit = ramp((y - 78) / 26, [(0.0, rgb(70, 76, 92)), (1.0, rgb(24, 26, 34))]) * plates[..., None]
    over(pic, moonlit, hull)
    over(pic, rgb(150, 30, 25) * (0.8 + 0.2 * plates)[..., None], bottom_paint)
    over(pic, rgb(210, 200, 180), mask(w, h, lambda p: p.line([(24, 81), (404, 81)], 0.9)))

    # Decks of white superstructure, stepped up from bow to stern.
    decks = mask(w, h, lambda p: (p.rect(70, 66, 360, 78), p.rect(100, 56, 330, 66), p.rect(120, 48, 300, 56),
                                  p.rect(84, 60, 110, 66)))
    white = ramp((y - 48) / 30, [(0.0, rgb(245, 245, 240)), (1.0, rgb(175, 175, 175))])
    over(pic, white, decks)
    for row_y, x0, x1, step in ((72, 74, 356, 5), (61, 104, 326, 6), (52, 124, 296, 7), (88, 36, 396, 6)):
        for wx in np.arange(x0, x1, step):
            lit = gen.random() < 0.75
            colour = rgb(255, 220, 120) if lit else rgb(60, 60, 70)
            add(pic, colour - pic[int(row_y), int(wx)], np.exp(-((x - wx) ** 2 + (y - row_y) ** 2) / 0.5))
            if lit:
                add(pic, rgb(255, 180, 80), 0.18 * np.exp(-((x - wx) ** 2 + (y - row_y) ** 2) / 8))

    # Four buff funnels with black tops, raked back.
    for fx in (150, 195, 240, 285):
        funnel = mask(w, h, lambda p: p.polygon([(fx, 48), (fx + 16, 48), (fx + 22, 12), (fx + 6, 12)]))
        band = ramp((x - fx - (48 - y) * 0.16) / 16, [(0.0, rgb(150, 110, 60)), (0.3, rgb(235, 190, 120)),
                                                      (1.0, rgb(120, 85, 45))])
        over(pic, band, funnel)
        over(pic, rgb(20, 18, 18), funnel * smoothstep(22.5, 21.5, y))
        # Smoke trailing back towards the stern.
        trail = bezier(np.array([fx + 14, 10]), np.array([fx + 40, 2]), np.array([fx + 70, 6]),
                       np.array([fx + 110, 0]), 20)
        smoke = blur(mask(w, h, lambda p: p.line(trail, 5)), 2.5) * smoothstep(fx + 140, fx + 12, x)
        over(pic, rgb(150, 145, 150), 0.8 * smoke * (0.6 + 0.6 * fbm(w, h, 8, 3, gen)))

    # Masts and the rigging between them.
    over(pic, rgb(160, 150, 130), mask(w, h, lambda p: (
        p.line([(56, 78), (62, 6)], 1.4), p.line([(372, 78), (378, 8)], 1.4),
        p.line([(10, 78), (62, 8), (378, 10), (416, 76)], 0.5))))

    # A bow wave and the wake on the dark sea.
    foam = mask(w, h, lambda p: (p.polygon([(4, 106), (22, 96), (44, 104), (70, 107), (30, 109)]),
                                 p.polygon([(380, 104), (400, 103), (424, 107), (390, 109)])))
    sea = np.exp(-((y - 110) / 6) ** 2) * smoothstep(0, 30, x) * smoothstep(426, 390, x)
    over(pic, rgb(20, 40, 70), 0.8 * sea * (y > waterline))
    over(pic, rgb(200, 215, 230), 0.8 * foam * (0.6 + 0.6 * fbm(w, h, 3, 2, gen)))
    reflect = np.clip(1 - (y - waterline) / 12, 0, 1) * (y > waterline)
    glow = pic[np.clip((2 * waterline - y).astype(int), 0, h - 1), x.astype(int)] * 0.35
    pic = pic + glow * reflect[..., None] * (0.6 + 0.8 * fbm(w, h, 4, 2, gen))[..., None]
    return black_surround(np.clip(pic, 0, 1))
