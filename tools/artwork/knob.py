"""Knob filmstrips: a knurled cream knob with a coloured cap and a white dot.

Each frame is shaded from a height field seen from straight above, lit from the
upper left, and rendered at SS times the final size before being box-filtered
down, so edges and ridges come out anti-aliased. Only the texture (ridges, dot)
turns with the knob; the light and the shadow stay put, as on real hardware.
"""

import math

import numpy as np

from layout import AXIS_Y, FRAMES

SS = 4  # supersampling factor per axis

BODY_RADIUS = 30.0      # outer edge of the knurled skirt
TOP_RADIUS = 22.5       # where the skirt's slope meets the flat top ring
CAP_RADIUS = 17.0       # coloured cap insert
GAP_WIDTH = 0.9         # dark seam between cap and cream body
DOT_RADIUS = 2.35
DOT_DISTANCE = 11.8     # dot centre from the axis
RIDGES = 32             # knurl ridges around the skirt
SKIRT_HEIGHT = 12.0     # height of the skirt slope, in pixels of relief
CAP_HEIGHT = 1.2
RING_FALL = 1.6         # how far the top ring drops from cap to shoulder

CREAM = np.array([0.905, 0.865, 0.765])
CAPS = {
    "maroon": np.array([0.44, 0.075, 0.10]),
    "blue": np.array([0.12, 0.27, 0.56]),
    "grey": np.array([0.40, 0.41, 0.43]),
}
DOT = np.array([0.985, 0.985, 0.965])
SEAM = np.array([0.10, 0.08, 0.06])

LIGHT = np.array([-0.55, -0.75, 1.0])
LIGHT = LIGHT / np.linalg.norm(LIGHT)
HALF = LIGHT + np.array([0.0, 0.0, 1.0])
HALF = HALF / np.linalg.norm(HALF)

SHADOW_OFFSET = (2.6, 3.6)
SHADOW_SIGMA = 2.6
SHADOW_ALPHA = 0.62


def frame_angle(k):
    """Pointer angle of frame k in radians, clockwise from straight up."""
    return math.radians(-135.0 + 270.0 * k / (FRAMES - 1))


def _smoothstep(e0, e1, x):
    t = np.clip((x - e0) / (e1 - e0), 0.0, 1.0)
    return t * t * (3.0 - 2.0 * t)


def _dsmoothstep(e0, e1, x):
    t = np.clip((x - e0) / (e1 - e0), 0.0, 1.0)
    return 6.0 * t * (1.0 - t) / (e1 - e0)


def _gaussian_blur(img, sigma):
    radius = int(math.ceil(3.0 * sigma))
    xs = np.arange(-radius, radius + 1, dtype=np.float64)
    kern = np.exp(-0.5 * (xs / sigma) ** 2)
    kern /= kern.sum()
    pad = np.pad(img, radius, mode="constant")
    tmp = np.zeros_like(pad)
    for i, c in enumerate(kern):
        tmp += c * np.roll(pad, i - radius, axis=1)
    out = np.zeros_like(pad)
    for i, c in enumerate(kern):
        out += c * np.roll(tmp, i - radius, axis=0)
    return out[radius:-radius, radius:-radius]


class KnobRenderer:
    """Renders the 99 frames of one knob strip of a given frame size and cap."""

    def __init__(self, frame_w, frame_h, cap):
        self.w, self.h = frame_w, frame_h
        self.cap = CAPS[cap]
        # Only the top of the frame holds the body; the shadow below it is
        # computed separately at final resolution.
        self.body_rows = int(math.ceil(AXIS_Y + BODY_RADIUS + 1))
        ys = (np.arange(self.body_rows * SS) + 0.5) / SS - AXIS_Y
        xs = (np.arange(self.w * SS) + 0.5) / SS - self.w / 2.0
        self.dx, self.dy = np.meshgrid(xs, ys)
        self.r = np.hypot(self.dx, self.dy)
        self.rs = np.maximum(self.r, 1e-6)
        # Clockwise-from-up angle of each sample; radial and tangential unit vectors.
        self.alpha = np.arctan2(self.dx, -self.dy)
        self.ur = (self.dx / self.rs, self.dy / self.rs)
        self.ut = (-self.dy / self.rs, self.dx / self.rs)
        self._radial_terms()
        self.shadow = self._shadow()

    def _radial_terms(self):
        r = self.r
        # Skirt: a rounded shoulder at the top ring falling to the base edge.
        s = np.clip((r - TOP_RADIUS) / (BODY_RADIUS - TOP_RADIUS), 0.0, 1.0)
        self.h_skirt = SKIRT_HEIGHT * (1.0 - s ** 1.6)
        ds = np.where((r > TOP_RADIUS) & (r < BODY_RADIUS), 1.0 / (BODY_RADIUS - TOP_RADIUS), 0.0)
        self.dh_skirt = -SKIRT_HEIGHT * 1.6 * np.power(np.maximum(s, 1e-9), 0.6) * ds
        # Rounded lip at the bottom of the skirt.
        lip = _smoothstep(BODY_RADIUS - 2.2, BODY_RADIUS, r)
        self.h_skirt -= 3.0 * lip
        self.dh_skirt -= 3.0 * _dsmoothstep(BODY_RADIUS - 2.2, BODY_RADIUS, r)
        # The flat top ring falls gently outwards, so it catches the light on
        # the upper left and drops into shade on the lower right.
        r0 = CAP_RADIUS + GAP_WIDTH
        ring = np.clip((r - r0) / (TOP_RADIUS - r0), 0.0, 1.0)
        self.h_skirt -= RING_FALL * ring
        self.dh_skirt -= np.where((r > r0) & (r < TOP_RADIUS), RING_FALL / (TOP_RADIUS - r0), 0.0)
        # Ridge depth fades in below the shoulder.
        self.ridge_w = _smoothstep(TOP_RADIUS - 0.5, TOP_RADIUS + 2.5, r)
        self.ridge_dw = _dsmoothstep(TOP_RADIUS - 0.5, TOP_RADIUS + 2.5, r)
        # Cap: a shallow dome with a rounded rim.
        rc = np.clip(r / CAP_RADIUS, 0.0, 1.0)
        self.h_cap = SKIRT_HEIGHT + CAP_HEIGHT * (1.0 - rc ** 2)
        self.dh_cap = -CAP_HEIGHT * 2.0 * rc / CAP_RADIUS
        rim = _smoothstep(CAP_RADIUS - 1.6, CAP_RADIUS, r)
        self.h_cap -= 1.4 * rim
        self.dh_cap -= 1.4 * _dsmoothstep(CAP_RADIUS - 1.6, CAP_RADIUS, r)

    def _shadow(self):
        """Soft shadow of the body, offset to the lower right, as alpha (frame size)."""
        s = SS
        ys = (np.arange(self.h * s) + 0.5) / s - AXIS_Y - SHADOW_OFFSET[1]
        xs = (np.arange(self.w * s) + 0.5) / s - self.w / 2.0 - SHADOW_OFFSET[0]
        dx, dy = np.meshgrid(xs, ys)
        disc = np.clip((BODY_RADIUS - 0.5 - np.hypot(dx, dy)) * s + 0.5, 0.0, 1.0)
        disc = disc.reshape(self.h, s, self.w, s).mean(axis=(1, 3))
        soft = _gaussian_blur(disc, SHADOW_SIGMA)
        # A tighter contact shadow right at the base.
        contact = _gaussian_blur(disc, 1.0)
        return np.clip(SHADOW_ALPHA * soft + 0.25 * contact, 0.0, 0.85)

    def frame(self, k):
        """RGBA float frame (h x w x 4, straight alpha, 0..1) for frame index k."""
        a = frame_angle(k)
        phi = RIDGES * (self.alpha - a)
        # Ridge profile: broad rounded lands, narrow grooves.
        c = np.cos(phi)
        land = np.power((1.0 + c) * 0.5, 0.3)
        dland = -0.3 * np.power(np.maximum((1.0 + c) * 0.5, 1e-6), -0.7) * 0.5 * np.sin(phi) * RIDGES
        depth = 1.1
        groove = depth * (land - 1.0)          # 0 on the lands, -depth in the grooves
        r = self.r

        h_r = self.dh_skirt + depth * (land - 1.0) * self.ridge_dw
        h_t = depth * dland * self.ridge_w / self.rs
        h = self.h_skirt + groove * self.ridge_w

        on_cap = r < CAP_RADIUS
        h_r = np.where(on_cap, self.dh_cap, h_r)
        h_t = np.where(on_cap, 0.0, h_t)
        h = np.where(on_cap, self.h_cap, h)

        gx = h_r * self.ur[0] + h_t * self.ut[0]
        gy = h_r * self.ur[1] + h_t * self.ut[1]
        nz = 1.0 / np.sqrt(gx * gx + gy * gy + 1.0)
        nx, ny = -gx * nz, -gy * nz

        ndl = np.clip(nx * LIGHT[0] + ny * LIGHT[1] + nz * LIGHT[2], 0.0, 1.0)
        ndh = np.clip(nx * HALF[0] + ny * HALF[1] + nz * HALF[2], 0.0, 1.0)

        # Albedo: cream body, coloured cap, dark seam, white painted dot.
        albedo = np.empty(r.shape + (3,))
        albedo[:] = CREAM
        cap_mask = _smoothstep(CAP_RADIUS + 0.25, CAP_RADIUS - 0.25, r)
        seam_mask = _smoothstep(CAP_RADIUS - 0.3, CAP_RADIUS + 0.2, r) * \
            _smoothstep(CAP_RADIUS + GAP_WIDTH + 0.25, CAP_RADIUS + GAP_WIDTH - 0.25, r)
        albedo = albedo * (1.0 - cap_mask[..., None]) + self.cap * cap_mask[..., None]
        albedo = albedo * (1.0 - seam_mask[..., None]) + SEAM * seam_mask[..., None]
        px = DOT_DISTANCE * math.sin(a)
        py = -DOT_DISTANCE * math.cos(a)
        dd = np.hypot(self.dx - px, self.dy - py)
        dot_mask = np.clip((DOT_RADIUS - dd) * SS + 0.5, 0.0, 1.0)
        albedo = albedo * (1.0 - dot_mask[..., None]) + DOT * dot_mask[..., None]

        # Grooves collect dirt and light less: a little occlusion.
        occl = 1.0 - 0.22 * (1.0 - land) * self.ridge_w * (r >= CAP_RADIUS)
        # Wide shallow "sky" term so faces turned from the light are not black.
        sky = 0.5 + 0.5 * nz
        lit = albedo * (0.13 * sky + 1.0 * ndl)[..., None] * occl[..., None]

        gloss_body = 0.30 * np.power(ndh, 40.0) + 0.10 * np.power(ndh, 8.0)
        gloss_cap = 0.24 * np.power(ndh, 90.0) + 0.07 * np.power(ndh, 12.0)
        gloss = np.where(on_cap, gloss_cap, gloss_body) * occl
        gloss *= 1.0 - 0.6 * dot_mask
        rgb = lit + gloss[..., None] * np.array([1.0, 0.98, 0.94])
        # The painted dot is matt white: it reads white wherever it turns,
        # only a little darker on the side away from the light.
        dot_rgb = DOT * (0.86 + 0.16 * ndl)[..., None]
        rgb = rgb * (1.0 - dot_mask[..., None]) + dot_rgb * dot_mask[..., None]

        # Coverage: the scalloped silhouette of the knurled edge.
        edge = BODY_RADIUS - 0.55 * (1.0 - land)
        cov = np.clip((edge - r) * SS + 0.5, 0.0, 1.0)

        # Box-filter down with premultiplied colour.
        hh, ww = self.body_rows, self.w
        prem = (rgb * cov[..., None]).reshape(hh, SS, ww, SS, 3).mean(axis=(1, 3))
        cov_d = cov.reshape(hh, SS, ww, SS).mean(axis=(1, 3))

        out = np.zeros((self.h, self.w, 4))
        # Body over shadow (the shadow is black).
        sh = self.shadow.copy()
        out_a = sh.copy()
        out_a[:hh] = cov_d + sh[:hh] * (1.0 - cov_d)
        out_rgb = np.zeros((self.h, self.w, 3))
        out_rgb[:hh] = prem
        safe = np.where(out_a > 1e-6, out_a, 1.0)
        out[..., :3] = np.clip(out_rgb / safe[..., None], 0.0, 1.0)
        out[..., 3] = np.clip(out_a, 0.0, 1.0)
        return out

    def strip(self):
        """All 99 frames stacked vertically as an RGBA uint8 array."""
        frames = [self.frame(k) for k in range(FRAMES)]
        arr = np.concatenate(frames, axis=0)
        return np.round(arr * 255.0).astype(np.uint8)
