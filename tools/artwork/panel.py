"""The background: a rack-mount front panel with its printing.

Drawn in layers at SS x the final size: the dark grey main panel with brushed
grain, raised darker plates for the five band sections, a well and a scale of
dots for every knob, bezels for the switches, the legends, the rack-ear screws
and the small plate behind the version text. Every position comes from
PanelLayout.h (via layout.py); the plates' slanted seams from sections.py.
"""

import math

import numpy as np

import raster
import sections
from layout import (BAND_SECTIONS, DOT_RADIUS, END_DOT_RADIUS, LABEL_CENTRE_DX,
                    LABEL_CENTRE_DY, LABEL_HALF_HEIGHT, LABEL_SIZE, SCALE_DOTS,
                    SCALE_RADIUS, SECTION_ORDER, WELL_RADIUS)

SS = 4

MAIN = np.array([0.305, 0.315, 0.335])      # anodised dark grey
PLATE = np.array([0.150, 0.155, 0.170])     # band plates, powder-coated
EAR_LINE = 30.0                              # rack ears: x < 30 and x > 994
INK = np.array([0.935, 0.925, 0.885])       # silkscreen legends
INK_DIM = np.array([0.80, 0.79, 0.76])
WELL = np.array([0.040, 0.040, 0.045])
WINDOW = np.array([0.030, 0.030, 0.034])
PLATE_TOP, PLATE_BOTTOM = 4.0, 205.0
GROOVE = 2.5                                 # half width of the gap between plates
VERSION_PLATE = (7.0, 187.5, 54.0, 15.0)     # behind the editor's version text

CAPTION_SIZE = 11.0
LEGEND_SIZE = 7.5


class Placer:
    """Finds room for legends: each new text box must keep clear of the
    controls, the scales, the value boxes and everything placed before."""

    def __init__(self, layout):
        self.rects = []
        self.discs = []
        for k in layout.knobs:
            cx, cy = k.axis
            self.discs.append((cx, cy, sections.SCALE_REACH))
            bx, by, bw, bh = k.value_box
            self.rects.append((bx - 1, by - 1, bx + bw + 1, by + bh + 1))
            for sx, text in zip((-1, 1), k.scale_ends):
                half = sections.label_width(text) / 2.0
                lx = cx + sx * LABEL_CENTRE_DX
                ly = cy + LABEL_CENTRE_DY
                self.rects.append((lx - half, ly - LABEL_HALF_HEIGHT, lx + half, ly + LABEL_HALF_HEIGHT))
        for s in layout.switches:
            self.rects.append((s.x - 1, s.y - 1, s.x + s.w + 1, s.y + s.h + 1))

    def fits(self, box, region=None, margin=1.5):
        x0, y0, x1, y1 = box
        if x0 < EAR_LINE + 4 or x1 > 1024 - EAR_LINE - 4 or y0 < 2 or y1 > 207:
            return False
        for rx0, ry0, rx1, ry1 in self.rects:
            if x0 - margin < rx1 and rx0 < x1 + margin and y0 - margin < ry1 and ry0 < y1 + margin:
                return False
        for cx, cy, r in self.discs:
            nx = min(max(cx, x0), x1)
            ny = min(max(cy, y0), y1)
            if math.hypot(cx - nx, cy - ny) < r + margin:
                return False
        if region is not None and not region(box):
            return False
        return True

    def take(self, box):
        self.rects.append(box)


class Panel:
    def __init__(self, layout):
        self.layout = layout
        self.c = raster.Canvas(layout.width, layout.height, SS, MAIN)
        self.seams = sections.seams(layout)
        self.placer = Placer(layout)
        self.rng = np.random.default_rng(20240611)

    # --- geometry ----------------------------------------------------------

    def plate_polygon(self, section):
        i = SECTION_ORDER.index(section)
        left, right = self.seams[i - 1], self.seams[i]
        top, bottom = PLATE_TOP, PLATE_BOTTOM
        lpts = [(x + GROOVE * math.sqrt(1 + left.b2 ** 2), y) for x, y in left.points(top, bottom)]
        rpts = [(x - GROOVE * math.sqrt(1 + right.b2 ** 2), y) for x, y in right.points(top, bottom)]
        return lpts + rpts[::-1]

    def in_section(self, section, box, margin=3.0):
        """Whether a box lies within a band plate (or, for the side blocks, outside all plates)."""
        x0, y0, x1, y1 = box
        i = SECTION_ORDER.index(section)
        if section in BAND_SECTIONS:
            if y0 < PLATE_TOP + 1.5 or y1 > PLATE_BOTTOM - 1.5:
                return False
        for y in (y0, y1):
            if i > 0 and x0 < self.seams[i - 1].x(y) + GROOVE + margin:
                return False
            if i < len(self.seams) and x1 > self.seams[i].x(y) - GROOVE - margin:
                return False
        return True

    # --- layers --------------------------------------------------------------

    def base(self):
        c = self.c
        xs, ys = c.grid()
        # Light from above: the panel is a touch brighter at the top.
        c.rgb *= (1.04 - 0.08 * (ys / c.h))[..., None]
        # Rounded top and bottom edges of the panel.
        c.multiply(c.rect_mask(0, 0, c.w, 1.2), 1.35)
        c.multiply(c.rect_mask(0, c.h - 1.4, c.w, 1.4), 0.55)
        # Rack ears: a faint bend line where each ear meets the panel.
        for x in (EAR_LINE, c.w - EAR_LINE):
            c.multiply(c.rect_mask(x - 0.6, 0, 0.6, c.h), 0.80)
            c.multiply(c.rect_mask(x, 0, 0.6, c.h), 1.12)

    def plates(self):
        c = self.c
        for section in BAND_SECTIONS:
            m = c.polygon_mask(self.plate_polygon(section), pad=8.0)
            # Drop shadow of the raised plate on the main panel.
            sh = c.blurred(c.shifted(m, 1.0, 1.5), 1.6)
            c.multiply(sh * m.inverse(), 0.62)
            c.paint(m, PLATE)
            # Bevelled rim: lit along the top and left, shaded along the bottom and right.
            c.multiply(m - c.shifted(m, 0.75, 0.75), 1.9)
            c.multiply(m - c.shifted(m, -0.75, -0.75), 0.55)

    def wells(self):
        c = self.c
        for k in self.layout.knobs:
            cx, cy = k.axis
            # Chamfer around the recess: lit where it faces the light.
            ring = c.ring_mask(cx, cy, WELL_RADIUS - 0.2, WELL_RADIUS + 1.3)
            xs, ys = c.grid(ring)
            facing = ((xs - cx) + (ys - cy)) / (math.sqrt(2) * (WELL_RADIUS + 1.0))
            c.multiply(ring * np.clip(facing, 0, 1), 1.8)
            c.multiply(ring * np.clip(-facing, 0, 1), 0.8)
            well = c.circle_mask(cx, cy, WELL_RADIUS)
            c.paint(well, WELL)

    def scales(self):
        c = self.c
        for k in self.layout.knobs:
            cx, cy = k.axis
            for i in range(SCALE_DOTS):
                a = math.radians(-135.0 + 270.0 * i / (SCALE_DOTS - 1))
                x = cx + SCALE_RADIUS * math.sin(a)
                y = cy - SCALE_RADIUS * math.cos(a)
                end = i in (0, SCALE_DOTS - 1)
                centre = i == SCALE_DOTS // 2 and k.kind == "gain"
                r = END_DOT_RADIUS if end else (1.25 if centre else DOT_RADIUS)
                if self._under_switch(x, y, r + 1.5):
                    continue
                c.paint(c.circle_mask(x, y, r), INK)
            for sx, text in zip((-1, 1), k.scale_ends):
                self.text(text, raster.FONT_LEGEND, LABEL_SIZE,
                          cx + sx * LABEL_CENTRE_DX, cy + LABEL_CENTRE_DY, INK_DIM)

    def _under_switch(self, x, y, r):
        for s in self.layout.switches:
            nx = min(max(x, s.x), s.x + s.w)
            ny = min(max(y, s.y), s.y + s.h)
            if math.hypot(x - nx, y - ny) < r:
                return True
        return False

    def value_windows(self):
        c = self.c
        for k in self.layout.knobs:
            bx, by, bw, bh = k.value_box
            m = c.rounded_rect_mask(bx - 1.0, by - 0.5, bw + 2.0, bh + 1.0, 2.0)
            c.multiply(c.shifted(m, 0.5, 0.75) - m, 1.6)
            c.paint(m, WINDOW, 0.92)

    def switch_bezels(self):
        c = self.c
        for s in self.layout.switches:
            # A value box's rows belong to its text: a frame that would reach
            # into one starts just below it instead.
            top, bottom = float(s.y), float(s.y + s.h)
            for k in self.layout.knobs:
                bx, by, bw, bh = k.value_box
                if bx < s.x + s.w and s.x < bx + bw and by <= top < by + bh:
                    top = float(by + bh)
            outer = c.rounded_rect_mask(s.x, top, s.w, bottom - top, 4.0, pad=5.0)
            sh = c.blurred(c.shifted(outer, 0.75, 1.25), 1.2)
            c.multiply(sh * outer.inverse(), 0.6)
            # Brushed metal frame, lit from the upper left.
            xs, ys = c.grid(outer)
            t = np.clip(((xs - s.x) / s.w + (ys - top) / (bottom - top)) / 2.0, 0, 1)
            metal = np.stack([0.78 - 0.40 * t, 0.79 - 0.40 * t, 0.80 - 0.39 * t], axis=-1)
            self._paint_local(outer, metal)
            inner = c.rounded_rect_mask(s.x + 2.0, top + 2.0, s.w - 4.0, bottom - top - 4.0, 2.6)
            c.paint(inner, np.array([0.05, 0.05, 0.055]))
            # Inner lip: dark on the upper left, light on the lower right.
            c.multiply(inner - c.shifted(inner, 0.6, 0.6), 0.3)
            c.add(inner - c.shifted(inner, -0.6, -0.6), np.array([0.18, 0.18, 0.19]))

    def _paint_local(self, m, colour_patch):
        """Paint with a colour array the size of m's patch."""
        c = self.c
        sl = m.slices
        a = m.arr[..., None]
        c.rgb[sl] = c.rgb[sl] * (1.0 - a) + colour_patch * a

    def screws(self):
        c = self.c
        for x in (EAR_LINE / 2.0, c.w - EAR_LINE / 2.0):
            for y in (22.0, 163.0):
                # Slot: a dark stadium punched through the ear.
                slot = c.rounded_rect_mask(x - 8.5, y - 4.5, 17, 9, 4.5)
                c.multiply(c.shifted(slot, -0.75, -0.75) - slot, 0.6)
                c.paint(slot, np.array([0.035, 0.035, 0.04]))
                # A pan-head screw sitting in the slot, slightly off centre.
                hx, hy, hr = x + 1.5, y, 5.4
                head = c.circle_mask(hx, hy, hr, pad=4.0)
                sh = c.blurred(c.shifted(head, 0.75, 1.0), 0.8)
                c.multiply(sh * head.inverse(), 0.5)
                xs, ys = c.grid(head)
                d = np.hypot(xs - hx, ys - hy) / hr
                nx_ = np.clip((xs - hx) / hr, -1, 1)
                ny_ = np.clip((ys - hy) / hr, -1, 1)
                nz = np.sqrt(np.clip(1.0 - nx_ ** 2 - ny_ ** 2, 0.0, 1.0))
                lum = 0.28 + 0.55 * np.clip(-0.45 * nx_ - 0.6 * ny_ + 0.66 * nz, 0, 1)
                lum += 0.35 * np.power(np.clip(1.0 - np.hypot(xs - hx + 1.8, ys - hy + 2.0) / hr, 0, 1), 2.0)
                lum *= 1.0 - 0.35 * np.clip(d - 0.8, 0, 1) * 5.0 * (d < 1.0)
                self._paint_local(head, np.stack([lum * 0.97, lum * 0.98, lum], axis=-1))
                # Cross recess.
                def cross_path(cr, hx=hx, hy=hy):
                    cr.rectangle(hx - 3.0, hy - 0.6, 6.0, 1.2)
                    cr.rectangle(hx - 0.6, hy - 3.0, 1.2, 6.0)
                    cr.fill()
                cross = c.mask(cross_path, (hx - hr - 4, hy - hr - 4, hx + hr + 4, hy + hr + 4))
                c.paint(cross, np.array([0.10, 0.10, 0.11]), 0.9)
                c.multiply((c.shifted(cross, 0.5, 0.5) - cross) * head, 1.3)

    def version_plate(self):
        c = self.c
        x, y, w, h = VERSION_PLATE
        m = c.rounded_rect_mask(x, y, w, h, 2.0, pad=4.0)
        sh = c.blurred(c.shifted(m, 0.75, 1.0), 1.0)
        c.multiply(sh * m.inverse(), 0.55)
        xs, ys = c.grid(m)
        lum = 0.80 - 0.10 * np.clip((ys - y) / h, 0, 1)
        self._paint_local(m, np.stack([lum, lum * 1.005, lum * 1.02], axis=-1))
        c.multiply(m - c.shifted(m, 0.5, 0.5), 1.15)
        c.multiply(m - c.shifted(m, -0.5, -0.5), 0.7)

    # --- printing ------------------------------------------------------------

    def text(self, text, path, size, x, y, colour, tracking=0.0):
        """Print one line of text centred on (x, y), vertically by its cap height."""
        c = self.c
        baseline = y + c.cap_height(path, size) / 2.0
        c.paint(c.text_mask(text, path, size, x, baseline, "ms", tracking), colour)

    def text_box(self, text, path, size, x, y, tracking=0.0):
        """Box of a line of text centred on (x, y) by cap height."""
        w = self.c.text_width(text, path, size, tracking)
        cap = self.c.cap_height(path, size)
        return (x - w / 2.0, y - cap / 2.0, x + w / 2.0, y + cap / 2.0)

    def place(self, lines, path, size, candidates, region, colour=INK, tracking=0.0, leading=None):
        """Print a legend of one or more lines at the first candidate centre with room."""
        if isinstance(lines, str):
            lines = [lines]
        cap = self.c.cap_height(path, size)
        leading = leading if leading is not None else cap + 3.0
        offsets = [(i - (len(lines) - 1) / 2.0) * leading for i in range(len(lines))]
        for x, y in candidates:
            boxes = [self.text_box(t, path, size, x, y + o, tracking) for t, o in zip(lines, offsets)]
            box = (min(b[0] for b in boxes), boxes[0][1], max(b[2] for b in boxes), boxes[-1][3])
            if self.placer.fits(box, region):
                self.placer.take(box)
                for t, o in zip(lines, offsets):
                    self.text(t, path, size, x, y + o, colour, tracking=tracking)
                return (x, y)
        raise RuntimeError("no room on the panel for the legend " + " ".join(lines))

    def captions(self):
        lay = self.layout
        for section in BAND_SECTIONS:
            i = SECTION_ORDER.index(section)
            y = 10.5
            mid = (self.seams[i - 1].x(y) + self.seams[i].x(y)) / 2.0
            cands = [(mid + d, y) for d in _spiral(60)]
            self.place(section, raster.FONT_LEGEND, CAPTION_SIZE, cands,
                       lambda b, s=section: self.in_section(s, b), tracking=1.2)

        # Side blocks.
        og = lay.knob("Outgain")
        cx, cy = og.axis
        self.place("IN. GAIN", raster.FONT_LEGEND, 9.0, [(cx + d, 10.0) for d in _spiral(20)],
                   lambda b: self.in_section("left", b), tracking=0.8)
        # HP and LP: above their knobs, off to the side where the scale leaves room.
        for name, text, side in (("Highpass", "HP", "left"), ("Lowpass", "LP", "right")):
            cx, cy = lay.knob(name).axis
            cands = []
            for radius in (45.0, 46.0, 47.0, 48.0, 50.0):
                for deg in _spiral(70):
                    a = math.radians(deg)
                    cands.append((cx + radius * math.sin(a), cy - radius * math.cos(a)))
            self.place(text, raster.FONT_LEGEND, 9.5, cands,
                       lambda b, sec=side: self.in_section(sec, b), tracking=1.0)

        # Switch legends.
        for s in lay.switches:
            cx, cy = s.x + s.w / 2.0, s.y + s.h / 2.0
            if s.name == "Bypass":
                self.place(["All", "BYPASS"], raster.FONT_LEGEND, LEGEND_SIZE,
                           [(cx, s.y + s.h + 10.0 + d) for d in range(0, 8)],
                           lambda b: self.in_section("left", b), tracking=0.6)
                continue
            lines = ["LP/HP", "IN"] if s.name == "LPHPIn" else ["IN"]
            w = max(self.c.text_width(t, raster.FONT_LEGEND, LEGEND_SIZE, 0.6) for t in lines)
            below = [(cx, s.y + s.h + 6.0 + d) for d in range(0, 6)]
            left = [(s.x - w / 2.0 - 4.0 - d, cy + e) for d in range(0, 6) for e in (0, -4, 4, -8, 8, -12)]
            right = [(s.x + s.w + w / 2.0 + 4.0 + d, cy + e) for d in range(0, 6) for e in (0, -4, 4, -8, 8)]
            above = [(cx + e, s.y - 6.0) for e in (0, -6, 6)]
            diag = [(s.x - w / 2.0 - 2.0 - d, s.y + 2.0) for d in range(0, 12)]
            order = below + left + right + above + diag
            if s.name == "LPHPIn":
                order = right + below + left
            self.place(lines, raster.FONT_LEGEND, LEGEND_SIZE, order,
                       lambda b, sec=s.section: self.in_section(sec, b), tracking=0.6)

    def branding(self):
        c = self.c
        # Maker's badge: the name in wide capitals inside an engraved frame.
        bx, by, bw, bh = 40.0, 12.0, 62.0, 20.0
        frame = c.rounded_rect_mask(bx, by, bw, bh, 4.0)
        inner = c.rounded_rect_mask(bx + 1.2, by + 1.2, bw - 2.4, bh - 2.4, 3.0, pad=3.2)
        c.paint(frame - inner, INK)
        c.paint(inner, np.array([0.11, 0.115, 0.125]))
        self.text("QORV", raster.FONT_WIDE_BOLD, 11.0, bx + bw / 2.0 + 0.8, by + bh / 2.0, INK, tracking=3.2)
        self.placer.take((bx, by, bx + bw, by + bh))
        # Product name and a line under it.
        name_x, name_y = 84.0, 130.0
        self.text("Lumarin", raster.FONT_SERIF_BOLD_ITALIC, 22.0, name_x, name_y, INK)
        self.placer.take(self.text_box("Lumarin", raster.FONT_SERIF_BOLD_ITALIC, 22.0, name_x, name_y))
        c.paint(c.rect_mask(44.0, 143.0, 80.0, 0.8), INK_DIM)
        self.text("CHANNEL EQUALISER", raster.FONT_LEGEND, 6.5, name_x, 150.5, INK_DIM, tracking=0.9)

    def texture(self, rgb):
        """Grain at final resolution: long horizontal strokes on the anodised
        panel, a fine stipple on the powder-coated plates."""
        h, w = rgb.shape[:2]
        rng = self.rng
        streak = rng.standard_normal((h, w + 64))
        k = np.hanning(41)
        k /= k.sum()
        streak = np.apply_along_axis(lambda r: np.convolve(r, k, mode="same"), 1, streak)[:, 32:32 + w]
        streak /= streak.std()
        fine = rng.standard_normal((h, w))
        plate = self._plate_mask_final()
        amp_main = 0.030 * streak + 0.010 * fine
        amp_plate = 0.022 * fine
        factor = 1.0 + amp_main * (1.0 - plate) + amp_plate * plate
        return np.clip(rgb * factor[..., None], 0.0, 1.0)

    def _plate_mask_final(self):
        m = np.zeros((self.c.H, self.c.W))
        for section in BAND_SECTIONS:
            p = self.c.polygon_mask(self.plate_polygon(section))
            m[p.slices] = np.maximum(m[p.slices], p.arr)
        return raster.box_down(m, SS)

    def render(self):
        self.base()
        self.plates()
        self.version_plate()
        self.screws()
        self.wells()
        self.value_windows()
        self.scales()
        self.switch_bezels()
        self.branding()
        self.captions()
        rgb = self.texture(self.c.result())
        out = np.round(rgb * 255.0).astype(np.uint8)
        return np.concatenate([out, np.full(out.shape[:2] + (1,), 255, np.uint8)], axis=2)


def _spiral(n):
    """0, 1, -1, 2, -2, ... : offsets tried from the preferred spot outwards."""
    out = [0]
    for i in range(1, n + 1):
        out += [i, -i]
    return out


def render(layout):
    return Panel(layout).render()
