"""A supersampled RGB canvas with cairo shapes and FreeType text as masks.

Everything is drawn at ss times the final size in panel coordinates (the
canvas scales them), composited as coverage masks in floating point, and
box-filtered down at the end. Masks cover only the patch of the canvas that a
shape touches, which keeps a panel with hundreds of dots quick to draw.
"""

import math

import cairo
import numpy as np
from PIL import Image, ImageDraw, ImageFont

FONT_DIR = "/usr/share/fonts/truetype/dejavu/"
# fonts-dejavu-extra: a condensed bold face reads like panel engraving.
FONT_LEGEND = FONT_DIR + "DejaVuSansCondensed-Bold.ttf"
FONT_SERIF_BOLD_ITALIC = FONT_DIR + "DejaVuSerifCondensed-BoldItalic.ttf"
# fonts-dejavu-core
FONT_WIDE_BOLD = FONT_DIR + "DejaVuSans-Bold.ttf"

_font_cache = {}


def font(path, size_px):
    key = (path, size_px)
    if key not in _font_cache:
        _font_cache[key] = ImageFont.truetype(path, size_px)
    return _font_cache[key]


def box_down(arr, s):
    """Average s x s blocks (arr is H*s x W*s x ...)."""
    h, w = arr.shape[0] // s, arr.shape[1] // s
    rest = arr.shape[2:]
    return arr.reshape((h, s, w, s) + rest).mean(axis=(1, 3))


def blur(img, sigma):
    """Separable gaussian blur of a 2-D array (edges padded with the border value)."""
    if sigma <= 0:
        return img
    radius = max(1, int(math.ceil(3.0 * sigma)))
    xs = np.arange(-radius, radius + 1, dtype=np.float64)
    k = np.exp(-0.5 * (xs / sigma) ** 2)
    k /= k.sum()
    pad = np.pad(img, radius, mode="edge")
    tmp = np.zeros((pad.shape[0], img.shape[1]))
    for i, c in enumerate(k):
        tmp += c * pad[:, i:i + img.shape[1]]
    out = np.zeros(img.shape)
    for i, c in enumerate(k):
        out += c * tmp[i:i + img.shape[0], :]
    return out


class Patch:
    """A coverage mask over the canvas rows y0.. and columns x0.. (supersamples)."""

    def __init__(self, y0, x0, arr):
        self.y0, self.x0, self.arr = y0, x0, arr

    @property
    def slices(self):
        h, w = self.arr.shape
        return (slice(self.y0, self.y0 + h), slice(self.x0, self.x0 + w))

    def new(self, arr):
        return Patch(self.y0, self.x0, arr)

    def on_me(self, other):
        """other's values over this patch's region (0 where other has none)."""
        if other.y0 == self.y0 and other.x0 == self.x0 and other.arr.shape == self.arr.shape:
            return other.arr
        out = np.zeros_like(self.arr)
        h, w = self.arr.shape
        oh, ow = other.arr.shape
        y0, y1 = max(self.y0, other.y0), min(self.y0 + h, other.y0 + oh)
        x0, x1 = max(self.x0, other.x0), min(self.x0 + w, other.x0 + ow)
        if y1 > y0 and x1 > x0:
            out[y0 - self.y0:y1 - self.y0, x0 - self.x0:x1 - self.x0] = \
                other.arr[y0 - other.y0:y1 - other.y0, x0 - other.x0:x1 - other.x0]
        return out

    def __sub__(self, other):
        return self.new(np.clip(self.arr - self.on_me(other), 0.0, 1.0))

    def __mul__(self, other):
        return self.new(self.arr * (self.on_me(other) if isinstance(other, Patch) else other))

    def inverse(self):
        return self.new(1.0 - self.arr)

    def union(self, other):
        return self.new(np.maximum(self.arr, self.on_me(other)))


class Canvas:
    """An opaque RGB picture of w x h panel pixels, held at ss times that size."""

    def __init__(self, w, h, ss, colour=(0.0, 0.0, 0.0)):
        self.w, self.h, self.ss = w, h, ss
        self.W, self.H = w * ss, h * ss
        self.rgb = np.empty((self.H, self.W, 3))
        self.rgb[:] = colour
        xs = (np.arange(self.W) + 0.5) / ss
        ys = (np.arange(self.H) + 0.5) / ss
        self.xs, self.ys = np.meshgrid(xs, ys)

    # --- masks -----------------------------------------------------------

    def _window(self, x0, y0, x1, y1):
        s = self.ss
        X0 = max(0, int(math.floor(x0 * s)))
        Y0 = max(0, int(math.floor(y0 * s)))
        X1 = min(self.W, int(math.ceil(x1 * s)))
        Y1 = min(self.H, int(math.ceil(y1 * s)))
        return X0, Y0, max(X1, X0 + 1), max(Y1, Y0 + 1)

    def mask(self, draw, bbox=None):
        """Coverage of whatever draw(cr) fills (cairo context in panel units),
        over bbox = (x0, y0, x1, y1) in panel units (whole canvas if None)."""
        if bbox is None:
            bbox = (0, 0, self.w, self.h)
        X0, Y0, X1, Y1 = self._window(*bbox)
        surf = cairo.ImageSurface(cairo.FORMAT_A8, X1 - X0, Y1 - Y0)
        cr = cairo.Context(surf)
        cr.translate(-X0, -Y0)
        cr.scale(self.ss, self.ss)
        cr.set_antialias(cairo.ANTIALIAS_GOOD)
        cr.set_source_rgba(0, 0, 0, 1)
        draw(cr)
        surf.flush()
        stride = surf.get_stride()
        data = np.frombuffer(surf.get_data(), dtype=np.uint8).reshape(Y1 - Y0, stride)
        return Patch(Y0, X0, data[:, : X1 - X0].astype(np.float64) / 255.0)

    def circle_mask(self, cx, cy, r, pad=2.0):
        def d(cr):
            cr.arc(cx, cy, r, 0, 2 * math.pi)
            cr.fill()
        return self.mask(d, (cx - r - pad, cy - r - pad, cx + r + pad, cy + r + pad))

    def ring_mask(self, cx, cy, r0, r1, pad=2.0):
        def d(cr):
            cr.set_fill_rule(cairo.FILL_RULE_EVEN_ODD)
            cr.arc(cx, cy, r1, 0, 2 * math.pi)
            cr.new_sub_path()
            cr.arc(cx, cy, r0, 0, 2 * math.pi)
            cr.fill()
        return self.mask(d, (cx - r1 - pad, cy - r1 - pad, cx + r1 + pad, cy + r1 + pad))

    def polygon_mask(self, pts, pad=2.0):
        def d(cr):
            cr.move_to(*pts[0])
            for p in pts[1:]:
                cr.line_to(*p)
            cr.close_path()
            cr.fill()
        xs = [p[0] for p in pts]
        ys = [p[1] for p in pts]
        return self.mask(d, (min(xs) - pad, min(ys) - pad, max(xs) + pad, max(ys) + pad))

    def rounded_rect_mask(self, x, y, w, h, r, pad=2.0):
        def d(cr):
            rounded_rect(cr, x, y, w, h, r)
            cr.fill()
        return self.mask(d, (x - pad, y - pad, x + w + pad, y + h + pad))

    def rect_mask(self, x, y, w, h, pad=1.0):
        def d(cr):
            cr.rectangle(x, y, w, h)
            cr.fill()
        return self.mask(d, (x - pad, y - pad, x + w + pad, y + h + pad))

    def text_mask(self, text, path, size, x, y, anchor="ms", tracking=0.0, pad=2.0):
        """Coverage of a line of text; size is the em size in panel pixels and
        tracking extra space between letters in panel pixels."""
        s = self.ss
        f = font(path, int(round(size * s)))
        widths = [f.getlength(c) for c in text]
        total = sum(widths) + tracking * s * (len(text) - 1)
        start = x * s - {"l": 0.0, "m": total / 2.0, "r": total}[anchor[0]]
        top, bottom = -f.size * 1.2, f.size * 0.5
        X0, Y0, X1, Y1 = self._window((start - s * pad) / s, (y * s + top) / s,
                                      (start + total + s * pad) / s, (y * s + bottom) / s)
        img = Image.new("L", (X1 - X0, Y1 - Y0), 0)
        draw = ImageDraw.Draw(img)
        pos = start
        for c, cw in zip(text, widths):
            draw.text((pos - X0, y * s - Y0), c, fill=255, font=f, anchor="l" + anchor[1])
            pos += cw + tracking * s
        return Patch(Y0, X0, np.asarray(img, dtype=np.float64) / 255.0)

    def text_width(self, text, path, size, tracking=0.0):
        f = font(path, int(round(size * self.ss)))
        return (f.getlength(text) + tracking * self.ss * (len(text) - 1)) / self.ss

    def cap_height(self, path, size):
        f = font(path, int(round(size * self.ss)))
        return -f.getbbox("H", anchor="ls")[1] / self.ss

    # --- painting --------------------------------------------------------

    def _colour(self, colour, sl):
        c = np.asarray(colour, dtype=np.float64)
        return c[sl] if c.ndim == 3 else c

    def paint(self, m, colour, opacity=1.0):
        """Composite a flat colour (RGB 0..1, or a full-canvas H x W x 3 array) through m."""
        sl = m.slices
        a = (m.arr * opacity)[..., None]
        self.rgb[sl] = self.rgb[sl] * (1.0 - a) + self._colour(colour, sl) * a

    def multiply(self, m, factor):
        """Darken (factor < 1) or lighten (factor > 1) through m."""
        sl = m.slices
        self.rgb[sl] *= 1.0 + (factor - 1.0) * m.arr[..., None]

    def add(self, m, colour):
        sl = m.slices
        self.rgb[sl] += m.arr[..., None] * self._colour(colour, sl)

    def shifted(self, m, dx, dy):
        """m's content moved by (dx, dy) panel pixels (whole supersamples), same patch."""
        sx, sy = int(round(dx * self.ss)), int(round(dy * self.ss))
        out = np.zeros_like(m.arr)
        h, w = m.arr.shape
        ys0, ys1 = max(0, sy), min(h, h + sy)
        xs0, xs1 = max(0, sx), min(w, w + sx)
        out[ys0:ys1, xs0:xs1] = m.arr[ys0 - sy:ys1 - sy, xs0 - sx:xs1 - sx]
        return m.new(out)

    def blurred(self, m, sigma):
        """m blurred by sigma panel pixels (keep a pad of 3 sigma in the patch)."""
        return m.new(blur(m.arr, sigma * self.ss))

    def grid(self, m=None):
        """Panel coordinates of the supersample centres (over m's patch if given)."""
        if m is None:
            return self.xs, self.ys
        sl = m.slices
        return self.xs[sl], self.ys[sl]

    def result(self):
        """Final-size RGB, 0..1."""
        return np.clip(box_down(self.rgb, self.ss), 0.0, 1.0)


def rounded_rect(cr, x, y, w, h, r):
    cr.new_sub_path()
    cr.arc(x + w - r, y + r, r, -math.pi / 2, 0)
    cr.arc(x + w - r, y + h - r, r, 0, math.pi / 2)
    cr.arc(x + r, y + h - r, r, math.pi / 2, math.pi)
    cr.arc(x + r, y + r, r, math.pi, 3 * math.pi / 2)
    cr.close_path()
