#!/usr/bin/env python3
"""Checks the rendered skin images: every expected file exists, is 8-bit RGBA,
has its size, and every stretchable image has a plain middle along each axis
that stretches (all columns
between the left and right margins identical, likewise all rows between the
top and bottom margins), so nine-slice stretching stays clean.

Usage: check.py IMAGE_DIR
"""
import os
import re
import struct
import sys
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import gen  # noqa: E402


def read_png(path):
    data = open(path, "rb").read()
    assert data[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG"
    pos, idat, w = 8, b"", None
    while pos < len(data):
        n, kind = struct.unpack(">I4s", data[pos:pos + 8])
        chunk = data[pos + 8:pos + 8 + n]
        pos += 12 + n
        if kind == b"IHDR":
            w, h, depth, ctype, _, _, interlace = struct.unpack(">IIBBBBB", chunk)
        elif kind == b"IDAT":
            idat += chunk
    if depth != 8 or ctype != 6 or interlace:
        return w, h, depth, ctype, None
    raw, bpp, stride = zlib.decompress(idat), 4, w * 4
    rows, prev, i = [], bytearray(stride), 0
    for _ in range(h):
        ft, line = raw[i], bytearray(raw[i + 1:i + 1 + stride])
        i += 1 + stride
        for x in range(stride):
            a = line[x - bpp] if x >= bpp else 0
            b = prev[x]
            c = prev[x - bpp] if x >= bpp else 0
            if ft == 1:
                line[x] = (line[x] + a) & 255
            elif ft == 2:
                line[x] = (line[x] + b) & 255
            elif ft == 3:
                line[x] = (line[x] + (a + b) // 2) & 255
            elif ft == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[x] = (line[x] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append(bytes(line))
        prev = line
    return w, h, depth, ctype, rows


def main():
    folder = sys.argv[1]
    gen.build()
    errors = 0
    for name, text in sorted(gen.IMAGES.items()):
        m = re.search(r'width="(\d+)" height="(\d+)"', text)
        want = (int(m.group(1)), int(m.group(2)))
        path = os.path.join(folder, name + ".png")
        if not os.path.exists(path):
            print(f"MISSING {name}.png"); errors += 1; continue
        w, h, depth, ctype, rows = read_png(path)
        if rows is None:
            print(f"{name}.png: not 8-bit RGBA (depth {depth}, colour type {ctype})"); errors += 1; continue
        if (w, h) != want:
            print(f"{name}.png: size {w}x{h}, want {want[0]}x{want[1]}"); errors += 1
        if name in gen.CORNERS:
            _, (l, t, r, b), fixed = gen.CORNERS[name]
            col = lambda x: [row[4 * x:4 * x + 4] for row in rows]
            # An axis marked fixed is drawn at native size, so only the other axis stretches.
            bad_c = [x for x in range(l, w - r) if fixed != "h" and col(x) != col(l)]
            bad_r = [y for y in range(t, h - b) if fixed != "v" and rows[y] != rows[t]]
            if bad_c or bad_r:
                print(f"{name}.png: middle not plain (columns {bad_c[:4]}, rows {bad_r[:4]})"); errors += 1
    extra = sorted(set(f[:-4] for f in os.listdir(folder) if f.endswith(".png")) - set(gen.IMAGES))
    for e in extra:
        print(f"unexpected {e}.png")
    print(f"checked {len(gen.IMAGES)} images, {len(gen.CORNERS)} nine-slice: "
          + ("OK" if not errors else f"{errors} problem(s)"))
    sys.exit(1 if errors else 0)


if __name__ == "__main__":
    main()
