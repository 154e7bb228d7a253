"""Where the slanted band panels go.

Between each pair of neighbouring sections the panel needs a straight,
slanted seam that keeps clear of both sides' controls: the knob, its scale and
end labels, its value box, and the switch bezels. The seam is the line
x = a + b*y with the widest clearance, found by a search over slants.
"""

import math

import numpy as np

import raster
from layout import (END_DOT_RADIUS, LABEL_CENTRE_DY, LABEL_HALF_HEIGHT, LABEL_CENTRE_DX,
                    LABEL_SIZE, SCALE_RADIUS, SECTION_ORDER)

SCALE_REACH = SCALE_RADIUS + END_DOT_RADIUS + 1.0
SWITCH_MARGIN = 1.5


def label_width(text):
    f = raster.font(raster.FONT_LEGEND, int(round(LABEL_SIZE * 4)))
    return f.getlength(text) / 4.0


def item_points(layout, section):
    """Discs (x, y, r) that the section's controls and their printing occupy."""
    pts = []
    for k in layout.knobs:
        if k.section != section:
            continue
        cx, cy = k.axis
        pts.append((cx, cy, SCALE_REACH))
        for sx, text in zip((-1, 1), k.scale_ends):
            half = label_width(text) / 2.0 + 1.0
            for dx in (LABEL_CENTRE_DX - half, LABEL_CENTRE_DX + half):
                for dy in (LABEL_CENTRE_DY - LABEL_HALF_HEIGHT - 1.0,
                           LABEL_CENTRE_DY + LABEL_HALF_HEIGHT + 1.0):
                    pts.append((cx + sx * dx, cy + dy, 0.0))
        bx, by, bw, bh = k.value_box
        for x in (bx - 1, bx + bw + 1):
            for y in (by - 1, by + bh + 1):
                pts.append((x, y, 0.0))
    for s in layout.switches:
        if s.section != section:
            continue
        for x in (s.x, s.x + s.w):
            for y in (s.y, s.y + s.h):
                pts.append((x, y, SWITCH_MARGIN))
    return pts


def best_seam(left_pts, right_pts, slants=None):
    """(a, b, clearance): the line x = a + b*y that best separates the two sets."""
    if slants is None:
        slants = [i / 200.0 for i in range(-160, 161)]
    best = None
    for b in slants:
        n = math.sqrt(1.0 + b * b)
        max_left = max(x - b * y + r * n for x, y, r in left_pts)
        min_right = min(x - b * y - r * n for x, y, r in right_pts)
        clear = (min_right - max_left) / n
        if best is None or clear > best[2]:
            best = ((max_left + min_right) / 2.0, b, clear)
    return best


def _polyline_clearance(pts, sides, xk, yk, b1, b2):
    """Clearance of a two-segment seam through (xk, yk) with slants b1 above and
    b2 below the knee; arrays broadcast over the seam parameters."""
    worst = None
    for (x, y, r), side in zip(pts, sides):
        # Distance to each infinite segment line, used on its own half.
        b = np.where(y < yk, b1, b2)
        n = np.sqrt(1.0 + b * b)
        d = (x - (xk + b * (y - yk))) / n * side - r
        # Near the knee the corner itself may be closer.
        dk = np.hypot(x - xk, y - yk) - r
        d = np.minimum(d, np.where(np.abs(y - yk) < 12.0, np.maximum(dk, d), d))
        worst = d if worst is None else np.minimum(worst, d)
    return worst


def best_knee_seam(left_pts, right_pts, x_range, y_range):
    """The best two-segment seam: (xk, yk, b_above, b_below, clearance)."""
    pts = left_pts + right_pts
    sides = [-1.0] * len(left_pts) + [1.0] * len(right_pts)
    xk = np.arange(x_range[0], x_range[1], 1.0)[:, None, None, None]
    yk = np.arange(y_range[0], y_range[1], 2.0)[None, :, None, None]
    bs = np.arange(-0.6, 0.601, 0.05)
    b1 = bs[None, None, :, None]
    b2 = bs[None, None, None, :]
    c = _polyline_clearance(pts, sides, xk, yk, b1, b2)
    # Two switches side by side may pin the best clearance at their gap; among
    # the seams that pass that gap about as well, keep the one clearest of the knobs.
    knobs = [(p, s) for p, s in zip(pts, sides) if p[2] != SWITCH_MARGIN]
    ck = _polyline_clearance([p for p, _ in knobs], [s for _, s in knobs], xk, yk, b1, b2)
    score = np.where(c >= c.max() - 0.3, ck, -1e9)
    i = np.unravel_index(np.argmax(score), c.shape)
    return (float(xk.ravel()[i[0]]), float(yk.ravel()[i[1]]),
            float(bs[i[2]]), float(bs[i[3]]), float(c[i]))


class Seam:
    """A seam x(y): straight, or bent once at a knee."""

    def __init__(self, xk, yk, b_above, b_below, clearance):
        self.xk, self.yk, self.b1, self.b2, self.clearance = xk, yk, b_above, b_below, clearance

    def x(self, y):
        return self.xk + (self.b1 if y < self.yk else self.b2) * (y - self.yk)

    def points(self, top, bottom):
        """Seam vertices from the top edge to the bottom edge."""
        pts = [(self.x(top), top)]
        if top < self.yk < bottom and self.b1 != self.b2:
            pts.append((self.xk, self.yk))
        pts.append((self.x(bottom), bottom))
        return pts


MIN_CLEARANCE = 4.0


def seams(layout):
    """Seams between consecutive sections, left to right. A straight seam where
    one keeps clear of both sides; otherwise one bent where the controls force it."""
    pts = {s: item_points(layout, s) for s in SECTION_ORDER}
    out = []
    for a, b in zip(SECTION_ORDER, SECTION_ORDER[1:]):
        x0, slant, clear = best_seam(pts[a], pts[b])
        if clear >= MIN_CLEARANCE:
            out.append(Seam(x0, 0.0, slant, slant, clear))
            continue
        xs = [p[0] for p in pts[a] + pts[b]]
        out.append(Seam(*best_knee_seam(pts[a], pts[b], (min(xs), max(xs)), (10.0, 200.0))))
    return out


if __name__ == "__main__":
    import layout as L
    lay = L.load()
    for sm, pair in zip(seams(lay), zip(SECTION_ORDER, SECTION_ORDER[1:])):
        print("%-5s|%-5s knee (%.1f, %.1f) slants %+.3f %+.3f  clearance %.1f  top %.1f bottom %.1f"
              % (pair[0], pair[1], sm.xk, sm.yk, sm.b1, sm.b2, sm.clearance, sm.x(0), sm.x(209)))
