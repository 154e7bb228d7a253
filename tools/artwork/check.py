"""Check the images in src/resources against what the plug-in relies on.

    /usr/bin/python3 tools/artwork/check.py [--regenerate]

Reads the PNG chunks directly (colour type, bit depth, interlace, sRGB, PLTE,
tRNS), then decodes the pixels and checks sizes, frame counts, transparency
around knobs and lamps, the pointer angle of frames 0/49/98, the wells'
centres against PanelLayout.h, and the contrast of the value boxes and the
version text. With --regenerate it also redraws everything into a temporary
folder and compares the bytes, to show the generator is deterministic.
"""

import argparse
import math
import os
import struct
import sys
import tempfile
import zlib

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import numpy as np  # noqa: E402

import layout as layout_mod  # noqa: E402
import pngio  # noqa: E402
from layout import AXIS_Y, FRAMES  # noqa: E402

RES = os.path.join(layout_mod.REPO, "src", "resources")

failures = []


def check(cond, what):
    if not cond:
        failures.append(what)
        print("FAIL", what)
    return cond


def chunks(path):
    with open(path, "rb") as f:
        data = f.read()
    check(data[:8] == b"\x89PNG\r\n\x1a\n", path + ": PNG signature")
    pos, out = 8, []
    while pos < len(data):
        n = struct.unpack(">I", data[pos:pos + 4])[0]
        tag = data[pos + 4:pos + 8]
        body = data[pos + 8:pos + 8 + n]
        crc = struct.unpack(">I", data[pos + 8 + n:pos + 12 + n])[0]
        check(zlib.crc32(tag + body) & 0xFFFFFFFF == crc, "%s: CRC of %s" % (path, tag))
        out.append((tag, body))
        pos += 12 + n
    check(out[-1][0] == b"IEND", path + ": ends with IEND")
    return out


def header(path):
    cs = chunks(path)
    w, h, depth, ctype, comp, filt, interlace = struct.unpack(">IIBBBBB", cs[0][1])
    return dict(w=w, h=h, depth=depth, ctype=ctype, interlace=interlace,
                tags=[t for t, _ in cs], chunks=dict(cs))


def luminance(rgb):
    """Relative luminance of sRGB values in 0..255."""
    c = np.asarray(rgb, dtype=np.float64) / 255.0
    lin = np.where(c <= 0.04045, c / 12.92, ((c + 0.055) / 1.055) ** 2.4)
    return 0.2126 * lin[..., 0] + 0.7152 * lin[..., 1] + 0.0722 * lin[..., 2]


def contrast(l1, l2):
    hi, lo = max(l1, l2), min(l1, l2)
    return (hi + 0.05) / (lo + 0.05)


def dot_angle(frame, axis_x):
    """Angle (degrees, clockwise from up) of the white dot about the knob's axis."""
    h, w = frame.shape[:2]
    ys, xs = np.mgrid[0:h, 0:w]
    r = np.hypot(xs + 0.5 - axis_x, ys + 0.5 - AXIS_Y)
    white = (frame[..., :3].min(axis=2) >= 215) & (frame[..., 3] == 255) & (r < 17)
    if white.sum() < 6:
        return None
    wx = ((xs + 0.5 - axis_x) * white).sum() / white.sum()
    wy = ((ys + 0.5 - AXIS_Y) * white).sum() / white.sum()
    return math.degrees(math.atan2(wx, -wy))


def check_knobs(lay):
    sizes = {}
    for k in sorted(lay.knobs, key=lambda k: k.number):
        path = os.path.join(RES, "KnobStrip%d.png" % k.number)
        hd = header(path)
        name = "KnobStrip%d" % k.number
        check((hd["w"], hd["h"]) == (k.w, k.h * FRAMES), "%s: size %dx%d" % (name, hd["w"], hd["h"]))
        check(hd["h"] % FRAMES == 0, name + ": height divides by 99")
        check(hd["ctype"] == 3 and hd["depth"] == 8 and hd["interlace"] == 0,
              name + ": indexed, 8 bits, not interlaced")
        check(b"tRNS" in hd["tags"], name + ": has tRNS")
        check(len(hd["chunks"][b"PLTE"]) // 3 <= 256, name + ": palette size")
        size = os.path.getsize(path)
        sizes[name] = size
        check(85_000 <= size <= 155_000, "%s: %d bytes within about 90..150 kB" % (name, size))

        img = pngio.decode_rgba(path)
        fh = hd["h"] // FRAMES
        frames = img.reshape(FRAMES, fh, k.w, 4)
        corners = frames[:, [0, 0, -1, -1], [0, -1, 0, -1], 3]
        check(corners.max() == 0, name + ": frame corners transparent")
        check(frames[:, :, 0, 3].max() <= 16 and frames[:, 0, :, 3].max() <= 16,
              name + ": top row and left column (nearly) clear")
        # Body: opaque at the axis and a few pixels inside the rim.
        check(frames[:, int(AXIS_Y), k.w // 2, 3].min() == 255, name + ": opaque at the axis")
        # Below the body only shadow: no opaque pixels in the value-box rows.
        check(frames[:, 68:79, :, 3].max() < 200, name + ": only soft shadow under the value box")
        for f, want in ((0, -135.0), (24, -135.0 + 270.0 * 24 / 98), (49, 0.0), (98, 135.0)):
            a = dot_angle(frames[f], k.w / 2.0)
            ok = a is not None and abs(((a - want) + 180.0) % 360.0 - 180.0) <= 3.0
            check(ok, "%s frame %d: pointer at %s, want %.1f" % (name, f, a, want))
    return sizes


def check_switch():
    path = os.path.join(RES, "SwitchStrip.png")
    hd = header(path)
    check((hd["w"], hd["h"]) == (27, 62), "SwitchStrip: size 27x62")
    check(hd["ctype"] == 3 and hd["depth"] == 8 and hd["interlace"] == 0,
          "SwitchStrip: indexed, 8 bits, not interlaced")
    check(b"tRNS" in hd["tags"], "SwitchStrip: has tRNS")
    img = pngio.decode_rgba(path).astype(int)
    off, on = img[0:31], img[29:60]         # what the look and feel shows
    for name, st in (("off", off), ("on", on)):
        check(max(st[0, 0, 3], st[0, -1, 3], st[-1, 0, 3], st[-1, -1, 3]) == 0,
              "SwitchStrip %s: corners transparent" % name)
    check(img[29:31, :, 3].max() == 0 and img[60:62, :, 3].max() == 0,
          "SwitchStrip: rows 29-30 and 60-61 empty")
    # The lamp must sit where the button sits, as seen through the two windows.
    def centroid(st, sel):
        ys, xs = np.nonzero(sel)
        return xs.mean() + 0.5, ys.mean() + 0.5
    cb = centroid(off, off[..., 3] == 255)
    lit = on[..., :3].min(axis=2) >= 235
    cl = centroid(on, lit & (on[..., 3] == 255))
    check(abs(cb[0] - cl[0]) <= 0.5 and abs(cb[1] - cl[1]) <= 0.5,
          "SwitchStrip: lamp centre %s matches button centre %s" % (cl, cb))
    check(luminance(off[int(cb[1]), int(cb[0]), :3]) < 0.05, "SwitchStrip: off button is dark")
    blue_ring = (on[..., 2] > on[..., 0] + 60) & (on[..., 3] > 200)
    check(blue_ring.sum() > 40, "SwitchStrip: on lamp has a blue ring")
    return os.path.getsize(path)


def check_background(lay):
    path = os.path.join(RES, "EditorBackground.png")
    hd = header(path)
    check((hd["w"], hd["h"]) == (lay.width, lay.height), "EditorBackground: 1024x209")
    check(hd["ctype"] == 6 and hd["depth"] == 8 and hd["interlace"] == 0,
          "EditorBackground: RGBA, 8 bits, not interlaced")
    check(b"sRGB" in hd["tags"], "EditorBackground: has sRGB")
    img = pngio.decode_rgba(path)
    check(img[..., 3].min() == 255, "EditorBackground: opaque")
    lum = luminance(img[..., :3])
    ys, xs = np.mgrid[0:lay.height, 0:lay.width]
    text = luminance([0xD3, 0xD3, 0xD3])
    worst_well = 0.0
    for k in lay.knobs:
        cx, cy = k.axis
        near = np.hypot(xs + 0.5 - cx, ys + 0.5 - cy) < 36
        dark = near & (img[..., :3].max(axis=2) < 20)
        ex = ((xs + 0.5) * dark).sum() / dark.sum() - cx
        ey = ((ys + 0.5) * dark).sum() / dark.sum() - cy
        worst_well = max(worst_well, math.hypot(ex, ey))
        check(math.hypot(ex, ey) <= 0.5, "%s: well centred (off by %.2f, %.2f)" % (k.name, ex, ey))
        check(dark.sum() > 0.9 * math.pi * 32.5 ** 2, "%s: well is a full dark disc" % k.name)
        bx, by, bw, bh = k.value_box
        box = img[by:by + bh, bx:bx + bw, :3]
        check(box.max() < 0.35 * 255, "%s: value box dark enough for light grey text" % k.name)
        check(contrast(text, float(luminance(box.reshape(-1, 3)).max())) >= 7.0,
              "%s: light grey text has contrast 7:1 over the whole value box" % k.name)
    grey = luminance([0x55, 0x55, 0x55])
    spot = lum[189:201, 9:59]
    check(contrast(grey, float(np.percentile(spot, 5))) >= 3.0,
          "version spot light enough for dark grey text")
    return os.path.getsize(path), worst_well


def regenerate_and_compare(lay):
    import generate
    with tempfile.TemporaryDirectory() as tmp:
        generate.OUT_DIR = tmp
        generate.generate(lay)
        for name in sorted(os.listdir(tmp)):
            with open(os.path.join(tmp, name), "rb") as a, open(os.path.join(RES, name), "rb") as b:
                check(a.read() == b.read(), name + ": regenerated bytes identical")


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--regenerate", action="store_true")
    args = ap.parse_args()
    lay = layout_mod.load()
    sizes = check_knobs(lay)
    sizes["SwitchStrip"] = check_switch()
    sizes["EditorBackground"], worst = check_background(lay)
    total = sum(sizes.values())
    check(1_500_000 <= total <= 2_600_000, "total %d bytes is about 2 MB" % total)
    if args.regenerate:
        regenerate_and_compare(lay)
    print("total %d bytes; worst well offset %.2f px" % (total, worst))
    print("%d failed" % len(failures) if failures else "all checks passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
