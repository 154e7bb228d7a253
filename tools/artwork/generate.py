"""Draw the panel's eighteen images into src/resources.

    /usr/bin/python3 tools/artwork/generate.py [--contact-sheet PATH] [--only NAME ...]

Needs Debian's python3-cairo, python3-numpy, python3-pil, pngquant and
fonts-dejavu-core / fonts-dejavu-extra. The same inputs give byte-identical
files. A contact sheet (the background with the knob strips and switches
composited on it) is written outside the source tree for looking at.
"""

import argparse
import os
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import numpy as np  # noqa: E402
from PIL import Image  # noqa: E402

import knob  # noqa: E402
import layout as layout_mod  # noqa: E402
import panel  # noqa: E402
import pngio  # noqa: E402
import switch  # noqa: E402

OUT_DIR = os.path.join(layout_mod.REPO, "src", "resources")
DEFAULT_SHEET = "/tmp/lumarin-artwork/contact-sheet.png"


def knob_strip_path(n):
    return os.path.join(OUT_DIR, "KnobStrip%d.png" % n)


def generate(lay, only=None):
    sizes = {}
    want = (lambda name: only is None or name in only)
    if want("EditorBackground"):
        path = os.path.join(OUT_DIR, "EditorBackground.png")
        pngio.write_truecolour(path, panel.render(lay))
        sizes["EditorBackground"] = os.path.getsize(path)
    if want("SwitchStrip"):
        path = os.path.join(OUT_DIR, "SwitchStrip.png")
        sizes["SwitchStrip"] = pngio.write_indexed(path, switch.strip(), colours=255)
    for k in sorted(lay.knobs, key=lambda k: k.number):
        name = "KnobStrip%d" % k.number
        if not want(name):
            continue
        strip = knob.KnobRenderer(k.w, k.h, k.cap).strip()
        sizes[name] = pngio.write_indexed(knob_strip_path(k.number), strip)
    return sizes


def _over(dst, src, x, y):
    """Composite RGBA uint8 src over RGB float dst at (x, y)."""
    h, w = src.shape[:2]
    a = src[..., 3:4] / 255.0
    dst[y:y + h, x:x + w] = dst[y:y + h, x:x + w] * (1 - a) + src[..., :3] / 255.0 * a


def contact_sheet(lay, path):
    """The panel as the editor shows it with every knob at frames 0, 49 and 98
    (switches off, on, and alternating), then 2x crops of a few places."""
    bg = pngio.decode_rgba(os.path.join(OUT_DIR, "EditorBackground.png"))[..., :3] / 255.0
    sw = pngio.decode_rgba(os.path.join(OUT_DIR, "SwitchStrip.png"))
    strips = {k.number: pngio.decode_rgba(knob_strip_path(k.number)) for k in lay.knobs}
    panels = []
    for pi, frame in enumerate((0, 49, 98)):
        img = bg.copy()
        for k in lay.knobs:
            fh = strips[k.number].shape[0] // layout_mod.FRAMES
            _over(img, strips[k.number][frame * fh:(frame + 1) * fh], k.x, k.y)
        for si, s in enumerate(lay.switches):
            on = (pi == 1) or (pi == 2 and si % 2 == 0)
            row = s.h - 2 if on else 0
            _over(img, sw[row:row + s.h, :s.w], s.x, s.y)
        panels.append(img)
    gap = np.full((6, lay.width, 3), 0.333)
    rows = []
    for p in panels:
        rows += [p, gap]
    full = np.concatenate(rows, axis=0)
    # 2x crops: the left block and LF, and the HF corner with both switches lit.
    def crop(img, x0, x1):
        c = img[:, x0:x1]
        return np.repeat(np.repeat(c, 2, axis=0), 2, axis=1)
    z1 = crop(panels[0], 30, 542)
    z2 = crop(panels[1], 512, 1024)
    sheet = np.concatenate([full, z1, gap, z2], axis=0)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    Image.fromarray(np.round(np.clip(sheet, 0, 1) * 255).astype(np.uint8)).save(path)


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--contact-sheet", default=DEFAULT_SHEET)
    ap.add_argument("--only", nargs="*", help="image names to redraw (default: all)")
    args = ap.parse_args()
    lay = layout_mod.load()
    os.makedirs(OUT_DIR, exist_ok=True)
    sizes = generate(lay, set(args.only) if args.only else None)
    for name, size in sizes.items():
        print("%-18s %8d bytes" % (name, size))
    if not args.only:
        print("%-18s %8d bytes" % ("total", sum(sizes.values())))
    if args.contact_sheet:
        contact_sheet(lay, args.contact_sheet)
        print("contact sheet:", args.contact_sheet)


if __name__ == "__main__":
    main()
