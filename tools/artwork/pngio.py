"""Writing the PNG files in the forms the plug-in expects.

Truecolour images go out through Pillow with an sRGB chunk. Indexed images are
quantised by pngquant (Debian package pngquant) and then re-encoded by Pillow
so that the bit depth is always 8 and no extra chunks slip in.
"""

import io
import os
import struct
import subprocess
import tempfile
import zlib

import numpy as np
from PIL import Image, PngImagePlugin

PNGQUANT = "/usr/bin/pngquant"


def write_truecolour(path, rgba):
    """Write an RGBA uint8 array as colour type 6 with an sRGB chunk."""
    info = PngImagePlugin.PngInfo()
    info.add(b"sRGB", b"\x00")  # perceptual rendering intent
    Image.fromarray(rgba, "RGBA").save(path, format="PNG", pnginfo=info, optimize=True)


def quantise(rgba, colours=256, dither=1.0, speed=1):
    """Quantise an RGBA array with pngquant; returns (indices, palette RGBA)."""
    with tempfile.TemporaryDirectory() as tmp:
        src = os.path.join(tmp, "in.png")
        dst = os.path.join(tmp, "out.png")
        Image.fromarray(rgba, "RGBA").save(src, format="PNG")
        cmd = [PNGQUANT, "--force", "--strip", "--speed", str(speed),
               "--output", dst]
        if dither <= 0.0:
            cmd.append("--nofs")
        else:
            cmd.append("--floyd=%g" % dither)
        cmd += [str(colours), src]
        subprocess.run(cmd, check=True)
        with Image.open(dst) as im:
            im.load()
            if im.mode != "P":
                raise RuntimeError("pngquant did not produce a palette image")
            idx = np.array(im, dtype=np.uint8)
            pal = np.array(im.getpalette()[: 3 * 256], dtype=np.uint8).reshape(-1, 3)
            trns = im.info.get("transparency", b"")
    n = int(idx.max()) + 1
    pal = pal[:n]
    alpha = np.full(n, 255, dtype=np.uint8)
    if isinstance(trns, (bytes, bytearray)):
        t = np.frombuffer(trns, dtype=np.uint8)[:n]
        alpha[: len(t)] = t
    elif isinstance(trns, int):
        alpha[trns] = 0
    return idx, np.concatenate([pal, alpha[:, None]], axis=1)


def _chunk(tag, data):
    return struct.pack(">I", len(data)) + tag + data + struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF)


def encode_indexed(idx, palette_rgba):
    """PNG bytes: colour type 3, 8 bits, PLTE and tRNS, not interlaced."""
    h, w = idx.shape
    n = len(palette_rgba)
    ihdr = struct.pack(">IIBBBBB", w, h, 8, 3, 0, 0, 0)
    plte = palette_rgba[:, :3].astype(np.uint8).tobytes()
    alpha = palette_rgba[:, 3].astype(np.uint8)
    # tRNS may stop at the last entry that is not fully opaque.
    opaque_tail = n
    while opaque_tail > 0 and alpha[opaque_tail - 1] == 255:
        opaque_tail -= 1
    trns = alpha[:max(opaque_tail, 1)].tobytes()

    # Filter type 0 suits palette images best; compress at the highest level.
    raw = b"".join(b"\x00" + idx[y].tobytes() for y in range(h))
    comp = zlib.compressobj(9, zlib.DEFLATED, 15, 9, zlib.Z_DEFAULT_STRATEGY)
    data = comp.compress(raw) + comp.flush()
    return (b"\x89PNG\r\n\x1a\n" + _chunk(b"IHDR", ihdr) + _chunk(b"PLTE", plte)
            + _chunk(b"tRNS", trns) + _chunk(b"IDAT", data) + _chunk(b"IEND", b""))


def sort_palette(idx, palette_rgba):
    """Reorder the palette by alpha then luminance: deterministic, and it
    compresses a little better than pngquant's order."""
    p = palette_rgba.astype(np.int64)
    lum = 299 * p[:, 0] + 587 * p[:, 1] + 114 * p[:, 2]
    order = np.lexsort((np.arange(len(p)), lum, p[:, 3]))
    remap = np.empty(len(p), dtype=np.uint8)
    remap[order] = np.arange(len(p), dtype=np.uint8)
    return remap[idx], palette_rgba[order]


def write_indexed(path, rgba, colours=256, dither=1.0):
    idx, pal = quantise(rgba, colours, dither)
    idx, pal = sort_palette(idx, pal)
    data = encode_indexed(idx, pal)
    with open(path, "wb") as f:
        f.write(data)
    return len(data)


def decode_rgba(path):
    with Image.open(path) as im:
        return np.array(im.convert("RGBA"))
