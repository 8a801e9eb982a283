"""Painting helpers shared by every picture.

A picture is painted as a float array of shape (height, width, 3) with values 0..1.
Shapes are drawn supersampled and reduced, so every edge is anti-aliased; light and
depth come from height fields derived from those shapes.
"""

import numpy as np
from PIL import Image, ImageDraw, ImageFont

FONT_DIR = "/usr/share/fonts/truetype/dejavu/"
SUPERSAMPLE = 4


def rng(seed):
    return np.random.default_rng(seed)


def canvas(w, h, color=(0, 0, 0)):
    c = np.empty((h, w, 3), np.float64)
    c[:] = np.asarray(color, np.float64)
    return c


def rgb(r, g, b):
    """A colour given as 0..255 components, as the 0..1 triple the painter uses."""
    return np.array([r, g, b], np.float64) / 255.0


# --- fields -------------------------------------------------------------------------------

def noise(w, h, cell, gen):
    """Smooth value noise 0..1 with features about `cell` pixels apart."""
    gw, gh = w // cell + 4, h // cell + 4
    grid = gen.random((gh, gw)).astype(np.float32)
    big = Image.fromarray(grid, "F").resize((gw * cell, gh * cell), Image.BICUBIC)
    return np.clip(np.asarray(big, np.float64)[cell:cell + h, cell:cell + w], 0.0, 1.0)


def fbm(w, h, cell, octaves, gen, gain=0.5):
    """Fractal noise 0..1: octaves of value noise, each half the size of the last."""
    total = np.zeros((h, w))
    amp, norm = 1.0, 0.0
    for _ in range(octaves):
        total += amp * noise(w, h, max(cell, 1), gen)
        norm += amp
        amp *= gain
        cell = max(cell // 2, 1)
    return total / norm


def blur(field, sigma):
    """Gaussian blur of a 2-D field (edges clamped)."""
    if sigma <= 0:
        return field.copy()
    r = int(3 * sigma + 0.5)
    k = np.exp(-0.5 * (np.arange(-r, r + 1) / sigma) ** 2)
    k /= k.sum()
    out = field
    for axis in (0, 1):
        pad = [(0, 0), (0, 0)]
        pad[axis] = (r, r)
        p = np.pad(out, pad, mode="edge")
        n = out.shape[axis]
        acc = np.zeros_like(out, dtype=np.float64)
        for i, weight in enumerate(k):
            acc += weight * (p[i:i + n, :] if axis == 0 else p[:, i:i + n])
        out = acc
    return out


def coords(w, h):
    """Pixel-centre coordinate grids x, y."""
    y, x = np.mgrid[0:h, 0:w].astype(np.float64)
    return x + 0.5, y + 0.5


def smoothstep(e0, e1, v):
    t = np.clip((v - e0) / (e1 - e0), 0.0, 1.0)
    return t * t * (3 - 2 * t)


def ramp(t, stops):
    """Colour along a gradient: `stops` is a list of (position, colour) sorted by position."""
    t = np.asarray(t, np.float64)
    out = np.zeros(t.shape + (3,))
    pos = [p for p, _ in stops]
    for ch in range(3):
        out[..., ch] = np.interp(t, pos, [c[ch] for _, c in stops])
    return out


# --- shapes -------------------------------------------------------------------------------

class Pen:
    """ImageDraw in picture coordinates on a supersampled mask."""

    def __init__(self, draw, scale):
        self.draw, self.s = draw, scale

    def _p(self, pts):
        return [(x * self.s, y * self.s) for x, y in pts]

    def polygon(self, pts, fill=255):
        self.draw.polygon(self._p(pts), fill=fill)

    def ellipse(self, cx, cy, rx, ry, fill=255):
        s = self.s
        self.draw.ellipse([(cx - rx) * s, (cy - ry) * s, (cx + rx) * s, (cy + ry) * s], fill=fill)

    def rect(self, x0, y0, x1, y1, fill=255, radius=0):
        s = self.s
        box = [x0 * s, y0 * s, x1 * s, y1 * s]
        if radius:
            self.draw.rounded_rectangle(box, radius * s, fill=fill)
        else:
            self.draw.rectangle(box, fill=fill)

    def line(self, pts, width, fill=255):
        self.draw.line(self._p(pts), fill=fill, width=max(1, int(round(width * self.s))),
                       joint="curve")

    def text(self, x, y, text, font_file, size, fill=255, anchor="la", stroke=0.0):
        font = ImageFont.truetype(FONT_DIR + font_file, int(round(size * self.s)))
        self.draw.text((x * self.s, y * self.s), text, font=font, fill=fill, anchor=anchor,
                       stroke_width=int(round(stroke * self.s)), stroke_fill=fill)


def mask(w, h, paint, ss=SUPERSAMPLE):
    """Coverage 0..1 of whatever `paint(pen)` draws, anti-aliased by supersampling."""
    im = Image.new("L", (w * ss, h * ss), 0)
    paint(Pen(ImageDraw.Draw(im), ss))
    small = im.resize((w, h), Image.BOX)
    return np.asarray(small, np.float64) / 255.0


def text_box(text, font_file, size):
    """Bounding box (x0, y0, x1, y1) of `text` drawn at the origin with anchor 'la'."""
    font = ImageFont.truetype(FONT_DIR + font_file, size)
    return font.getbbox(text)


def bezier(p0, p1, p2, p3, n=24):
    """Points along a cubic curve, for limbs, stems and ropes."""
    t = np.linspace(0.0, 1.0, n)[:, None]
    pts = ((1 - t) ** 3) * p0 + 3 * ((1 - t) ** 2) * t * p1 + 3 * (1 - t) * t * t * p2 + t ** 3 * p3
    return [tuple(p) for p in pts]


# --- light --------------------------------------------------------------------------------

def normals(height):
    gy, gx = np.gradient(height)
    n = np.stack([-gx, -gy, np.ones_like(height)], axis=-1)
    return n / np.linalg.norm(n, axis=-1, keepdims=True)


def lighting(height, light=(-0.6, -0.8, 0.9), shininess=24.0):
    """Diffuse and specular terms of a height field lit from `light` (x right, y down, z out)."""
    n = normals(height)
    l = np.asarray(light, np.float64)
    l /= np.linalg.norm(l)
    diffuse = np.clip((n * l).sum(-1), 0.0, 1.0)
    half = l + np.array([0.0, 0.0, 1.0])
    half /= np.linalg.norm(half)
    spec = np.clip((n * half).sum(-1), 0.0, 1.0) ** shininess
    return diffuse, spec


def bevel_height(cover, sigma, depth):
    """A rounded relief from a coverage mask: flat inside, sloping at the edges."""
    return blur(cover, sigma) * depth


# --- compositing --------------------------------------------------------------------------

def over(dst, color, alpha):
    """Paint `color` (a triple or an image) over `dst` with coverage `alpha`."""
    a = np.clip(alpha, 0.0, 1.0)[..., None]
    dst[:] = dst * (1 - a) + np.asarray(color, np.float64) * a
    return dst


def add(dst, color, amount):
    """Light added on top (glows, sparks, highlights)."""
    dst[:] = dst + np.asarray(color, np.float64) * np.clip(amount, 0.0, None)[..., None]
    return dst


def to_image(pic):
    data = np.clip(np.rint(pic * 255.0), 0, 255).astype(np.uint8)
    return Image.fromarray(data, "RGBA" if pic.shape[-1] == 4 else "RGB")


def black_surround(pic, floor=6):
    """Pictures ORed onto the screen: every pixel that is nearly black becomes exactly black,
    so faint anti-aliasing residue cannot tint the title screen."""
    img = np.clip(np.rint(pic * 255.0), 0, 255)
    dark = img.max(axis=-1) < floor
    img[dark] = 0
    img[0, :] = img[-1, :] = 0
    img[:, 0] = img[:, -1] = 0
    return img / 255.0


def save_bmp(pic, path, size):
    im = to_image(pic)
    if im.size != size:
        raise ValueError(f"{path}: painted {im.size}, expected {size}")
    im.save(path, "BMP")


def save_png(pic, path):
    # No creation time or text chunks: the file depends on its pixels only.
    to_image(pic).save(path, "PNG", optimize=False, compress_level=9)


def save_ico(images, path):
    """A Windows icon of several sizes: 32-bit bitmaps up to 64 pixels (every Windows and Wine
    reads them), PNG for larger ones, as the format allows since Windows Vista."""
    import io
    import struct

    entries, blobs = [], []
    for im in images:
        im = im.convert("RGBA")
        w, h = im.size
        if w > 64:
            out = io.BytesIO()
            im.save(out, "PNG", optimize=False, compress_level=9)
            blob = out.getvalue()
        else:
            header = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, 32, 0, 0, 0, 0, 0, 0)
            rows = [im.crop((0, y, w, y + 1)).tobytes() for y in reversed(range(h))]
            colour = b"".join(bytes(px[i] for px in zip(*[iter(r)] * 4) for i in (2, 1, 0, 3))
                              for r in rows)
            # The AND mask: all zero, the alpha channel says what shows.
            mask_row = ((w + 31) // 32) * 4
            blob = header + colour + bytes(mask_row * h)
        entries.append((w, h, blob))
        blobs.append(blob)
    offset = 6 + 16 * len(entries)
    data = struct.pack("<HHH", 0, 1, len(entries))
    for w, h, blob in entries:
        data += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    with open(path, "wb") as f:
        f.write(data + b"".join(blobs))
