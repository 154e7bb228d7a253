"""The switch strip: a dark push-button (off) above a lit lamp (on).

The look and feel shows the off state from row 0 and the on state from row
h - 2 = 29, so both are drawn centred on the same spot as seen through their
31-row windows: the button at row 14.5, the lamp at row 29 + 14.5. Rows 29-30
(seen at the top of the on window) and 60-61 (never shown) stay empty.
"""

import math

import numpy as np

from layout import SWITCH_CENTRE_Y

W, H = 27, 31
ON_WINDOW_TOP = H - 2
SS = 8

LENS_RADIUS = 7.0
RING_OUTER = 8.6
GLOW_RADIUS = 12.5


def _grid(cy):
    ys = (np.arange(H * SS) + 0.5) / SS
    xs = (np.arange(W * SS) + 0.5) / SS
    dx, dy = np.meshgrid(xs - W / 2.0, ys - cy)
    return dx, dy, np.hypot(dx, dy)


def _cov(r, radius):
    return np.clip((radius - r) * SS + 0.5, 0.0, 1.0)


def _over(dst_rgb, dst_a, rgb, a):
    """Porter-Duff over, straight colour, for supersampled layers."""
    out_a = a + dst_a * (1.0 - a)
    safe = np.where(out_a > 1e-9, out_a, 1.0)
    out = (rgb * a[..., None] + dst_rgb * (dst_a * (1.0 - a))[..., None]) / safe[..., None]
    return out, out_a


def _down(rgb, a):
    prem = (rgb * a[..., None]).reshape(H, SS, W, SS, 3).mean(axis=(1, 3))
    alpha = a.reshape(H, SS, W, SS).mean(axis=(1, 3))
    safe = np.where(alpha > 1e-9, alpha, 1.0)
    return np.clip(prem / safe[..., None], 0, 1), np.clip(alpha, 0, 1)


def off_state():
    cy = SWITCH_CENTRE_Y
    dx, dy, r = _grid(cy)
    rgb = np.zeros(r.shape + (3,))
    a = np.zeros(r.shape)
    # Shadow of the cap in the bezel's well.
    sh = np.clip(1.0 - np.hypot(dx - 0.8, dy - 1.2) / (RING_OUTER + 2.0), 0, 1) ** 1.5
    rgb, a = _over(rgb, a, np.zeros_like(rgb), 0.7 * sh)
    # Black anodised collar with a soft sheen from the upper left.
    collar = _cov(r, RING_OUTER)
    t = np.clip(0.5 - 0.5 * (dx + dy) / (RING_OUTER * 1.2), 0, 1)
    collar_rgb = np.stack([0.09 + 0.18 * t, 0.095 + 0.19 * t, 0.11 + 0.21 * t], axis=-1)
    rgb, a = _over(rgb, a, collar_rgb, collar)
    # Unlit lens: smoked glass, a hint of the blue ring around it.
    ring = _cov(r, LENS_RADIUS + 1.0) * (1.0 - _cov(r, LENS_RADIUS))
    rgb, a = _over(rgb, a, np.broadcast_to([0.07, 0.11, 0.20], rgb.shape), ring)
    lens = _cov(r, LENS_RADIUS)
    g = np.clip(1.0 - r / LENS_RADIUS, 0, 1)
    lens_rgb = np.stack([0.10 + 0.06 * g, 0.105 + 0.065 * g, 0.12 + 0.07 * g], axis=-1)
    rgb, a = _over(rgb, a, lens_rgb, lens)
    # Specular glint on the dome of the lens.
    glint = np.clip(1.0 - np.hypot(dx + 2.4, dy + 2.6) / 3.2, 0, 1) ** 2 * lens
    rgb, a = _over(rgb, a, np.broadcast_to([0.85, 0.88, 0.95], rgb.shape), 0.55 * glint)
    rim = np.clip(1.0 - np.abs(r - (LENS_RADIUS - 0.6)) / 0.6, 0, 1) * (dx + dy < 0) * lens
    rgb, a = _over(rgb, a, np.broadcast_to([0.5, 0.55, 0.65], rgb.shape), 0.25 * rim)
    return _down(rgb, a)


def on_state():
    """The lit lamp, drawn in its own 31-row frame (rows 31..61 of the strip)."""
    cy = ON_WINDOW_TOP + SWITCH_CENTRE_Y - H   # seen through rows 29..59
    dx, dy, r = _grid(cy)
    rgb = np.zeros(r.shape + (3,))
    a = np.zeros(r.shape)
    # Soft blue glow spilling over the bezel.
    glow = np.clip(1.0 - (r - RING_OUTER) / (GLOW_RADIUS - RING_OUTER), 0, 1) ** 2
    glow *= (r > RING_OUTER - 1.0)
    rgb, a = _over(rgb, a, np.broadcast_to([0.35, 0.62, 1.0], rgb.shape), 0.75 * glow)
    # Blue ring, brightest at its middle.
    ring = _cov(r, RING_OUTER) * (1.0 - _cov(r, LENS_RADIUS))
    mid = np.clip(1.0 - np.abs(r - (LENS_RADIUS + RING_OUTER) / 2.0) / 1.1, 0, 1)
    ring_rgb = np.stack([0.10 + 0.35 * mid, 0.38 + 0.40 * mid, 0.92 + 0.08 * mid], axis=-1)
    rgb, a = _over(rgb, a, ring_rgb, ring)
    # White lens, hot in the middle, a little cooler towards its edge.
    lens = _cov(r, LENS_RADIUS)
    g = np.clip(r / LENS_RADIUS, 0, 1)
    lens_rgb = np.stack([1.0 - 0.13 * g ** 2, 1.0 - 0.08 * g ** 2, np.ones_like(g)], axis=-1)
    rgb, a = _over(rgb, a, lens_rgb, lens)
    glint = np.clip(1.0 - np.hypot(dx + 2.4, dy + 2.6) / 3.0, 0, 1) ** 2 * lens
    rgb, a = _over(rgb, a, np.broadcast_to([1.0, 1.0, 1.0], rgb.shape), 0.6 * glint)
    return _down(rgb, a)


def strip():
    """The 27 x 62 RGBA uint8 strip: off on top, on below."""
    out = np.zeros((2 * H, W, 4))
    for row0, (rgb, a) in ((0, off_state()), (H, on_state())):
        out[row0:row0 + H, :, :3] = rgb
        out[row0:row0 + H, :, 3] = a
    # The rows the look and feel shows of the wrong state must be empty.
    out[H - 2:H, :, :] = 0.0
    out[2 * H - 2:, :, :] = 0.0
    return np.round(out * 255.0).astype(np.uint8)
