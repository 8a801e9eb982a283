"""The three 409 x 428 backgrounds behind the playing field.

Each is a real scene, but kept dark and calm where the field lies, so that the coloured cells
with their black outlines and the grey score in the top right corner stay easy to read.
"""

import numpy as np
from PIL import Image

from paint import (add, bezier, blur, coords, fbm, lighting, mask, noise, over, ramp,
                   rgb, rng, smoothstep)

W, H = 409, 428


# --- shared brushwork ---------------------------------------------------------------------

def brush_texture(gen, strength=0.05):
    """Horizontal streaks of uneven paint, so large areas never look flat."""
    return 1.0 + strength * (streaks(gen, 9, 2) - 0.5) * 2 + strength * (fbm(W, H, 24, 3, gen) - 0.5)


def streaks(gen, cell_x, cell_y):
    """Noise stretched along x, for paint strokes, thin clouds and water."""
    gw, gh = W // cell_x + 4, H // cell_y + 4
    grid = gen.random((gh, gw)).astype(np.float32)
    big = np.asarray(Image.fromarray(grid, "F").resize((gw * cell_x, gh * cell_y), Image.BICUBIC))
    return np.clip(big[cell_y:cell_y + H, cell_x:cell_x + W].astype(np.float64), 0, 1)


def ridge(gen, cell, octaves, sharp=True):
    """A mountain skyline: heights 0..1 along x."""
    line = fbm(W, 1, cell, octaves, gen)[0]
    if sharp:
        line = 1 - np.abs(2 * line - 1)
    return (line - line.min()) / (line.max() - line.min())


def below(heights):
    """Coverage of everything below a per-column line of y values (soft by half a pixel)."""
    _, y = coords(W, H)
    return np.clip(y - heights[None, :] + 0.5, 0, 1)


def stars(pic, gen, count, top, bottom, brightness=1.0):
    x, y = coords(W, H)
    for _ in range(count):
        sx, sy = gen.uniform(0, W), gen.uniform(top, bottom)
        b = brightness * gen.uniform(0.25, 0.9)
        tint = rgb(255, 245, 230) if gen.random() < 0.7 else rgb(200, 215, 255)
        add(pic, tint, b * np.exp(-((x - sx) ** 2 + (y - sy) ** 2) / 0.35))


def calm_field(pic, left, right, dim, feather=5):
    """Darken and soften the columns where the field lies."""
    x, _ = coords(W, H)
    inside = smoothstep(left - feather, left + feather, x) * smoothstep(right + feather, right - feather, x)
    grey = pic.mean(axis=-1, keepdims=True)
    softened = pic * 0.75 + grey * 0.25
    k = inside[..., None]
    pic[:] = pic * (1 - k) + softened * (1 - dim) * k


def pine(p, x, base, height, width):
    """A fir tree of stacked tiers, drawn with the pen `p`."""
    tiers = 6
    for i in range(tiers):
        t = i / tiers
        top = base - height * (1 - t * 0.85) - height * 0.15
        half = width * (0.25 + 0.75 * (1 - t) ** 0.9) * 0.5
        bottom = top + height * 0.32
        p.polygon([(x, top), (x - half, bottom), (x - half * 0.3, bottom - 2),
                   (x + half * 0.3, bottom - 2), (x + half, bottom)])
    p.rect(x - width * 0.05, base - height * 0.1, x + width * 0.05, base)


# --- one player: a mountain lake at dusk --------------------------------------------------

def rock_light(gen, cell, light=(0.8, -0.5, 0.7)):
    """Facets of weathered rock lit by the sunset on the right: 0..1 per pixel."""
    diffuse, _ = lighting(fbm(W, H, cell, 4, gen) * cell * 2.2, light=light)
    return diffuse


def kesta():
    gen = rng(2001)
    x, y = coords(W, H)
    horizon = 258.0

    pic = ramp(y / horizon, [(0.0, rgb(5, 7, 26)), (0.3, rgb(18, 20, 56)), (0.55, rgb(52, 36, 88)),
                             (0.78, rgb(150, 72, 88)), (0.92, rgb(232, 128, 78)), (1.0, rgb(255, 190, 110))])
    add(pic, rgb(255, 150, 70), 0.5 * np.exp(-(((x - 290) / 110) ** 2 + ((y - 235) / 60) ** 2)))
    stars(pic, gen, 110, 0, 150, brightness=smoothstep(0, 1, 1.0))

    # Moon with a faint halo, high on the left where the field does not reach.
    moon_d2 = (x - 52) ** 2 + (y - 58) ** 2
    add(pic, rgb(120, 130, 190), 0.35 * np.exp(-moon_d2 / 900))
    moon = mask(W, H, lambda p: p.ellipse(52, 58, 13, 13))
    bite = mask(W, H, lambda p: p.ellipse(58, 54, 12, 12))
    over(pic, rgb(250, 240, 210), moon * (1 - bite))

    # Thin clouds lit from below by the sunset.
    wisps = streaks(gen, 70, 6) * 0.6 + fbm(W, H, 30, 4, gen) * 0.4
    density = np.clip((wisps - 0.5) * 3.5, 0, 1) * smoothstep(60, 120, y) * smoothstep(215, 160, y)
    underlit = ramp(y / horizon, [(0.3, rgb(80, 60, 120)), (0.6, rgb(210, 110, 120)), (0.8, rgb(255, 170, 120))])
    over(pic, underlit, 0.7 * density)

    # Three ranges of mountains, paler and bluer with distance, lit from the sunset side.
    far = horizon - 42 - 88 * ridge(gen, 110, 5)
    haze = ramp((y - far[None, :]) / 90, [(0.0, rgb(120, 96, 150)), (1.0, rgb(170, 110, 130))])
    rock = rock_light(gen, 14)
    over(pic, haze * (0.75 + 0.35 * rock)[..., None], below(far))
    snow_line = far[None, :] + 14 + 16 * fbm(W, H, 10, 3, gen)
    snow = below(far) * smoothstep(snow_line, snow_line - 6, y)
    over(pic, ramp(rock, [(0.3, rgb(150, 120, 175)), (0.8, rgb(255, 205, 200))]), 0.85 * snow)

    mid = horizon - 12 - 58 * ridge(gen, 70, 5) ** 1.4
    mid_col = ramp((y - mid[None, :]) / 60, [(0.0, rgb(60, 44, 80)), (1.0, rgb(32, 30, 56))])
    over(pic, mid_col * (0.6 + 0.6 * rock_light(gen, 9))[..., None], below(mid))

    # The far shore: a dark band of small firs.
    shore_far = horizon - 3 - 4 * fbm(W, 1, 20, 2, gen)[0]
    treeline = mask(W, H, lambda p: [pine(p, tx, horizon + 1, th, th * 0.5) for tx, th in zip(
        np.arange(0, W, 4.5) + gen.uniform(-2, 2, len(np.arange(0, W, 4.5))),
        gen.uniform(8, 22, len(np.arange(0, W, 4.5))))])
    land = np.clip(below(shore_far) + treeline, 0, 1) * (y <= horizon + 1)
    over(pic, rgb(14, 20, 28), land)

    # The lake mirrors the sky and the ranges, broken by ripples.
    ripple = (streaks(gen, 40, 2) - 0.5) * 8 * smoothstep(horizon, H, y) + (streaks(gen, 9, 1) - 0.5) * 3
    rows = np.clip(2 * horizon - y + 1, 0, horizon + 1)
    cols = np.clip(x + ripple, 0, W - 1)
    lake = pic[rows.astype(int), cols.astype(int)] * 0.6 + rgb(8, 14, 34) * 0.4
    glints = smoothstep(0.74, 0.9, streaks(gen, 12, 1)) * np.exp(-((x - 290) / 60) ** 2)
    add(lake, rgb(255, 170, 100), 0.45 * glints * smoothstep(horizon, horizon + 6, y))
    shore = 366 - 12 * fbm(W, 1, 50, 3, gen)[0]
    water = (y > horizon + 1) * (1 - below(shore))
    over(pic, lake, water)

    # Dark shore, grass and stones in the foreground.
    ground = ramp((y - 360) / 68, [(0.0, rgb(26, 32, 28)), (1.0, rgb(8, 10, 10))])
    ground *= (0.7 + 0.6 * rock_light(gen, 6, light=(0.2, -1.0, 0.6)))[..., None]
    over(pic, ground, below(shore))
    n = 320
    grass = mask(W, H, lambda p: [p.line([(gx, gy), (gx + lean, gy - tall)], 0.7)
                                  for gx, gy, lean, tall in zip(gen.uniform(0, W, n), gen.uniform(370, 432, n),
                                                                gen.normal(0, 2.5, n), gen.uniform(5, 14, n))])
    over(pic, rgb(52, 66, 46), 0.6 * grass)

    # A cabin with a lit window on the left shore, and its light on the water.
    cabin = mask(W, H, lambda p: (p.rect(30, 346, 66, 370), p.polygon([(24, 348), (48, 328), (72, 348)]),
                                  p.rect(58, 330, 63, 342)))
    over(pic, rgb(30, 22, 22) * (0.8 + 0.4 * rock_light(gen, 3))[..., None], cabin)
    roof = mask(W, H, lambda p: p.polygon([(24, 348), (48, 328), (72, 348), (70, 350), (26, 350)]))
    over(pic, rgb(48, 30, 34), roof)
    add(pic, rgb(255, 180, 80), 0.35 * np.exp(-((x - 42) ** 2 + (y - 357) ** 2) / 160))
    over(pic, rgb(255, 205, 120), mask(W, H, lambda p: p.rect(38, 353, 46, 360)))
    add(pic, rgb(255, 170, 70), 0.3 * np.exp(-((x - 42) / 4) ** 2 - ((y - 380) / 10) ** 2)
        * water)
    smoke = bezier(np.array([60.5, 330]), np.array([66, 310]), np.array([52, 295]), np.array([64, 272]), 20)
    add(pic, rgb(90, 80, 100), 0.35 * blur(mask(W, H, lambda p: p.line(smoke, 2.5)), 2.0))

    # Firs framing the scene on both sides, their tops touched by the afterglow.
    firs = mask(W, H, lambda p: [pine(p, tx, tb, th, th * 0.4) for tx, tb, th in (
        (10, 404, 180), (84, 396, 116), (96, 408, 84), (318, 404, 96), (352, 400, 150),
        (392, 410, 200), (372, 418, 110))])
    needles = 0.7 + 0.6 * rock_light(gen, 3, light=(0.6, -0.7, 0.5))
    over(pic, rgb(10, 20, 18) * needles[..., None], firs)
    rim = np.clip(firs - np.roll(blur(firs, 1.0), 2, axis=0), 0, 1) * smoothstep(380, 250, y)
    add(pic, rgb(160, 90, 90), 0.45 * rim)

    pic *= brush_texture(gen)[..., None]
    calm_field(pic, 104, 304, 0.3)
    pic *= vignette(0.3)[..., None]
    return np.clip(pic, 0, 1)


def vignette(strength):
    x, y = coords(W, H)
    d = ((x - W / 2) / (W * 0.7)) ** 2 + ((y - H / 2) / (H * 0.7)) ** 2
    return 1 - strength * np.clip(d, 0, 1)


# --- cooperative: under the sea -----------------------------------------------------------

def kelp(p, gen, root_x, base, height, sway):
    """One kelp stalk with leaves along it."""
    stem = bezier(np.array([root_x, base]), np.array([root_x + sway, base - height * 0.35]),
                  np.array([root_x - sway, base - height * 0.7]), np.array([root_x + sway * 0.5, base - height]), 30)
    p.line(stem, 2.2)
    for i in range(3, len(stem) - 1, 3):
        sx, sy = stem[i]
        side = 1 if i % 2 else -1
        length = 9 + 6 * gen.random()
        p.polygon([(sx, sy), (sx + side * length, sy - 6), (sx + side * length * 1.2, sy - 2),
                   (sx + side * 2, sy + 2)])


def fish(p, cx, cy, size, facing):
    p.ellipse(cx, cy, size, size * 0.42)
    tail = cx - facing * size * 0.9
    p.polygon([(tail, cy), (tail - facing * size * 0.6, cy - size * 0.45),
               (tail - facing * size * 0.6, cy + size * 0.45)])


def coop():
    gen = rng(2002)
    x, y = coords(W, H)
    pic = ramp(y / H, [(0.0, rgb(40, 125, 150)), (0.25, rgb(20, 78, 112)), (0.6, rgb(10, 42, 76)),
                       (1.0, rgb(5, 18, 36))])

    # The rippled surface far above, seen from below.
    caustic = fbm(W, H, 14, 3, gen)
    surface = smoothstep(26, 0, y)
    add(pic, rgb(140, 220, 230), 0.55 * surface * smoothstep(0.5, 0.75, caustic))

    # Shafts of light slanting down from the surface.
    along = x + (y * 0.35)
    shafts = smoothstep(0.55, 0.95, noise(W, 1, 22, gen)[0][np.clip(along.astype(int), 0, W - 1)])
    add(pic, rgb(120, 200, 210), 0.3 * shafts * smoothstep(330, 0, y))

    # A distant reef wall in blue haze.
    reef_far = 300 - 50 * ridge(gen, 60, 4, sharp=False)
    over(pic, rgb(12, 40, 66), 0.85 * below(reef_far))
    holes = smoothstep(0.6, 0.7, fbm(W, H, 10, 3, gen)) * below(reef_far + 8)
    pic *= (1 - 0.25 * holes)[..., None]

    # A school of fish crossing in the middle distance.
    school = mask(W, H, lambda p: [fish(p, fx, fy, s, -1) for fx, fy, s in zip(
        gen.normal(250, 40, 34), gen.normal(170, 22, 34), gen.uniform(3.5, 6.0, 34))])
    over(pic, rgb(40, 95, 120), 0.6 * school)
    add(pic, rgb(150, 210, 220), 0.18 * np.clip(school - np.roll(blur(school, 0.8), 1, axis=0), 0, 1))

    # A ray gliding far behind.
    ray = mask(W, H, lambda p: (p.polygon([(60, 120), (110, 96), (150, 112), (118, 124), (110, 138), (96, 126)]),
                                p.line([(106, 130), (84, 158)], 1.0)))
    over(pic, rgb(18, 60, 88), 0.8 * ray)

    # The sea floor: sand with ripples, rocks, coral and kelp.
    floor = 380 - 14 * fbm(W, 1, 80, 3, gen)[0]
    ripples = 0.5 + 0.5 * np.sin(y * 1.3 + x * 0.12 + 6 * fbm(W, H, 30, 2, gen))
    sand = ramp((y - 370) / 58, [(0.0, rgb(60, 70, 66)), (1.0, rgb(30, 34, 36))])
    sand *= (0.85 + 0.15 * ripples)[..., None]
    over(pic, sand, below(floor))

    rocks = mask(W, H, lambda p: [p.ellipse(rx, ry, rw, rh) for rx, ry, rw, rh in (
        (40, 392, 46, 26), (370, 388, 52, 34), (180, 400, 30, 12), (270, 396, 22, 10))])
    rock_light, _ = lighting(blur(rocks, 4) * 30, light=(-0.3, -1.0, 0.6))
    rock_col = rgb(22, 34, 40) + rock_light[..., None] * rgb(50, 70, 72) * (1 - y / H)[..., None] * 1.6
    rock_col *= (0.8 + 0.4 * fbm(W, H, 6, 3, gen))[..., None]
    over(pic, rock_col, rocks)

    coral_col = [rgb(150, 60, 70), rgb(170, 100, 50), rgb(120, 70, 140), rgb(60, 140, 120)]
    for i, (cx, cy, size) in enumerate(((35, 372, 44), (130, 394, 30), (250, 392, 34), (362, 362, 46),
                                        (300, 402, 24), (85, 397, 22), (200, 404, 18))):
        branches = coral(gen, cx, cy, size)
        cov = mask(W, H, lambda p: [p.line(b, w) for b, w in branches])
        shade = ramp((y - cy + size) / size, [(0.0, coral_col[i % 4] * 1.3), (1.0, coral_col[i % 4] * 0.5)])
        over(pic, np.clip(shade, 0, 1), cov * 0.95)

    weeds = mask(W, H, lambda p: [kelp(p, gen, kx, 420, kh, ks) for kx, kh, ks in (
        (12, 330, 18), (28, 260, 12), (72, 200, -14), (345, 230, 16), (392, 330, -16), (372, 280, 10))])
    over(pic, rgb(20, 70, 45), 0.9 * weeds)
    add(pic, rgb(90, 160, 90), 0.25 * np.clip(weeds - np.roll(blur(weeds, 1.0), 2, axis=1), 0, 1))

    # Jellyfish glowing softly.
    for jx, jy, js in ((320, 90, 14), (64, 230, 9)):
        bell = mask(W, H, lambda p: (p.ellipse(jx, jy, js, js * 0.7), ))
        bell *= (y < jy + js * 0.15)
        add(pic, rgb(200, 140, 220), 0.35 * blur(bell, 2.5))
        over(pic, rgb(210, 170, 230), 0.5 * bell)
        tentacles = mask(W, H, lambda p: [p.line(bezier(np.array([jx + o, jy]), np.array([jx + o + 5, jy + js]),
                                                         np.array([jx + o - 5, jy + js * 2]),
                                                         np.array([jx + o + 2, jy + js * 3.2]), 14), 0.6)
                                          for o in np.linspace(-js * 0.7, js * 0.7, 5)])
        add(pic, rgb(180, 130, 210), 0.35 * tentacles)

    # Bubbles rising and specks drifting.
    for _ in range(38):
        bx, by, br = gen.uniform(0, W), gen.uniform(20, 400), gen.uniform(0.8, 3.2)
        ring = mask(W, H, lambda p: p.ellipse(bx, by, br, br)) - mask(W, H, lambda p: p.ellipse(bx, by, br * 0.6, br * 0.6))
        add(pic, rgb(150, 210, 230), 0.35 * np.clip(ring, 0, 1))
        add(pic, rgb(230, 250, 255), 0.5 * np.exp(-((x - bx + br * 0.35) ** 2 + (y - by + br * 0.35) ** 2) / 0.3))
    specks = smoothstep(0.93, 0.99, noise(W, H, 2, gen))
    add(pic, rgb(110, 150, 150), 0.25 * specks)

    pic *= brush_texture(gen, 0.04)[..., None]
    calm_field(pic, 0, W, 0.1, feather=1)
    pic *= vignette(0.4)[..., None]
    return np.clip(pic, 0, 1)


def coral(gen, cx, cy, size, depth=3):
    """Branches (points, width) of a coral bush growing up from (cx, cy)."""
    out = []

    def grow(x0, y0, angle, length, width, level):
        x1 = x0 + np.cos(angle) * length
        y1 = y0 - np.sin(angle) * length
        out.append(([(x0, y0), (x1, y1)], width))
        if level > 0:
            for turn in (-0.45, 0.4):
                grow(x1, y1, angle + turn + gen.normal(0, 0.15), length * 0.72, width * 0.7, level - 1)

    for a in (np.pi / 2 - 0.5, np.pi / 2, np.pi / 2 + 0.5):
        grow(cx, cy, a + gen.normal(0, 0.1), size * 0.45, size * 0.12, depth)
    return out


# --- face to face: the axe fighter -------------------------------------------------------

def limb(p, pts, start_w, end_w):
    """A tapering limb along a polyline."""
    n = len(pts) - 1
    for i in range(n):
        p.line([pts[i], pts[i + 1]], start_w + (end_w - start_w) * i / max(n - 1, 1))
        p.ellipse(pts[i + 1][0], pts[i + 1][1], end_w * 0.5, end_w * 0.5)


def fighter(p):
    """A broad warrior on a crag, both fists high, about to bring a great axe down."""
    p.polygon([(70, 428), (118, 372), (158, 346), (190, 338), (232, 340), (264, 354), (302, 386),
               (345, 428)])
    # Legs planted wide, with heavy boots.
    limb(p, [(194, 266), (176, 298), (166, 338)], 24, 19)
    limb(p, [(218, 266), (240, 298), (250, 338)], 24, 19)
    p.polygon([(150, 344), (158, 330), (178, 332), (180, 346)])
    p.polygon([(238, 346), (240, 332), (262, 330), (272, 346)])
    # Fur kilt and a broad chest tapering to the waist.
    p.polygon([(182, 256), (230, 256), (238, 288), (222, 282), (214, 292), (204, 282), (194, 292),
               (186, 282), (174, 288)])
    p.polygon([(168, 206), (242, 206), (236, 228), (226, 262), (186, 262), (176, 228)])
    p.ellipse(170, 210, 13, 12)
    p.ellipse(240, 210, 13, 12)
    # Head in a horned helmet.
    p.ellipse(205, 186, 12, 14)
    p.rect(190, 180, 220, 190, radius=3)
    for side in (-1, 1):
        horn = bezier(np.array([205 + side * 10, 180]), np.array([205 + side * 26, 178]),
                      np.array([205 + side * 32, 164]), np.array([205 + side * 28, 148]), 14)
        for i in range(len(horn) - 1):
            p.line([horn[i], horn[i + 1]], 7.0 * (1 - i / len(horn)) + 1.0)
    # Arms raised, elbows out, fists together on the haft.
    limb(p, [(170, 208), (148, 170), (192, 128)], 17, 13)
    limb(p, [(240, 208), (262, 170), (218, 126)], 17, 13)
    p.ellipse(197, 128, 9, 9)
    p.ellipse(213, 124, 9, 9)
    p.line([(204, 136), (214, 30)], 7)
    # Cloak streaming in the wind.
    p.polygon([(240, 204), (284, 212), (326, 244), (352, 298), (328, 290), (314, 308), (294, 290),
               (270, 304), (248, 268)])


def axe_blades(p):
    """Two crescent blades on the head of the haft."""
    cx, cy = 213, 42
    for side in (-1, 1):
        outer = bezier(np.array([cx + side * 30, cy - 34]), np.array([cx + side * 52, cy - 14]),
                       np.array([cx + side * 52, cy + 18]), np.array([cx + side * 30, cy + 38]), 18)
        inner = bezier(np.array([cx + side * 30, cy + 38]), np.array([cx + side * 22, cy + 18]),
                       np.array([cx + side * 10, cy + 10]), np.array([cx, cy + 8]), 10)
        top = bezier(np.array([cx, cy - 8]), np.array([cx + side * 10, cy - 10]),
                     np.array([cx + side * 22, cy - 16]), np.array([cx + side * 30, cy - 34]), 10)
        p.polygon(top + outer + inner)


def morvo():
    gen = rng(2003)
    x, y = coords(W, H)
    pic = ramp(y / H, [(0.0, rgb(18, 6, 16)), (0.4, rgb(52, 14, 22)), (0.72, rgb(104, 34, 26)),
                       (1.0, rgb(30, 12, 10))])

    # A blood-red sun behind the fighter.
    sun_d = np.hypot(x - 205, y - 170)
    add(pic, rgb(200, 70, 30), 0.45 * np.exp(-(sun_d / 120) ** 2))
    sun = smoothstep(96, 94, sun_d)
    over(pic, ramp((y - 76) / 190, [(0.0, rgb(190, 90, 40)), (1.0, rgb(140, 40, 25))]), 0.55 * sun)

    # Torn storm clouds drifting across it.
    cloud = fbm(W, H, 50, 5, gen)
    streak = fbm(W, H, 16, 3, gen)
    density = np.clip((cloud * 0.7 + streak * 0.3 - 0.42) * 3, 0, 1) * smoothstep(300, 100, y)
    lit_edge = np.clip(density - np.roll(blur(density, 2.0), 3, axis=0), 0, 1)
    over(pic, ramp(y / 300, [(0.0, rgb(36, 12, 26)), (1.0, rgb(70, 20, 24))]), 0.8 * density)
    add(pic, rgb(255, 120, 60), 0.9 * lit_edge * (np.exp(-(sun_d / 140) ** 2) + 0.15))

    # Lightning far to the left.
    bolt = [(60, 0)]
    while bolt[-1][1] < 250:
        bx, by = bolt[-1]
        bolt.append((bx + gen.normal(0, 9), by + gen.uniform(14, 30)))
    branch = [bolt[4]]
    for _ in range(5):
        bx, by = branch[-1]
        branch.append((bx + gen.uniform(4, 14), by + gen.uniform(10, 20)))
    bolt_mask = mask(W, H, lambda p: (p.line(bolt, 1.4), p.line(branch, 0.8)))
    add(pic, rgb(170, 140, 255), 0.55 * blur(bolt_mask, 6))
    add(pic, rgb(235, 225, 255), bolt_mask)

    # Distant mountains and a field of old weapons.
    hills = 320 - 40 * ridge(gen, 70, 5)
    over(pic, rgb(34, 12, 16), below(hills))
    swords = mask(W, H, lambda p: [(p.line([(sx, sy), (sx + tilt, sy - 22)], 1.6),
                                    p.line([(sx + tilt * 0.7 - 5, sy - 16), (sx + tilt * 0.7 + 5, sy - 16)], 1.4))
                                   for sx, sy, tilt in ((28, 400, 3), (52, 412, -4), (360, 404, 5),
                                                        (388, 396, -2), (330, 418, 2))])
    ground = ramp((y - 330) / 98, [(0.0, rgb(40, 16, 14)), (1.0, rgb(14, 6, 6))])
    over(pic, ground, below(hills + 40 + 10 * fbm(W, 1, 30, 3, gen)[0]))
    over(pic, rgb(10, 4, 4), swords)

    # The fighter: a dark figure with a hot rim where the sun's light spills round the edges.
    body = mask(W, H, fighter)
    blades = mask(W, H, axe_blades)
    figure = np.clip(body + blades, 0, 1)
    over(pic, rgb(14, 7, 9), figure)
    texture = fbm(W, H, 4, 3, gen)
    add(pic, rgb(50, 22, 18), 0.4 * body * texture * smoothstep(430, 150, y))
    edge = np.clip(figure - blur(figure, 1.6), 0, 1) * 2.2
    rim_strength = np.exp(-(sun_d / 150) ** 2) + 0.2
    add(pic, rgb(255, 120, 50), np.clip(edge * rim_strength, 0, 1) * 0.9)

    # Steel of the axe: cold light along the cutting edges.
    relief, spec = lighting(blur(blades, 1.5) * 8, light=(0.3, -1.0, 0.6), shininess=12)
    over(pic, rgb(34, 30, 36) + relief[..., None] * rgb(80, 76, 86), blades)
    add(pic, rgb(255, 200, 160), 0.5 * spec * blades)
    cutting = np.clip(blades - np.roll(blur(blades, 1.0), 0, axis=1), 0, 1) * (np.abs(x - 213) > 32)
    add(pic, rgb(255, 220, 190), 1.4 * cutting)

    # Embers carried by the wind.
    for _ in range(40):
        ex, ey = gen.uniform(0, W), gen.uniform(40, 400)
        add(pic, rgb(255, 150, 60), gen.uniform(0.3, 0.9) * np.exp(-((x - ex) ** 2 + (y - ey) ** 2) / 0.7))

    pic *= brush_texture(gen, 0.05)[..., None]
    calm_field(pic, 0, W, 0.12, feather=1)
    pic *= vignette(0.45)[..., None]
    return np.clip(pic, 0, 1)
