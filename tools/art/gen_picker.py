#!/usr/bin/env python3
"""Writes the colour picker's images straight as PNGs (python3 stdlib only).

Usage: gen_picker.py [OUTDIR]   (default: res/Skin/Image beside this tree)

color_field.png   360x180  hue 0..360 left to right, saturation 1..0 top to bottom, lightness 0.5;
                           the code maps the pointer with the same rule, so the image must keep
                           exactly this size.
color_marker.png  16x16    ring centred on the picked point: white with dark outlines, so it
                           reads on light and dark colours alike; the middle stays clear.
Output is deterministic.
"""
import colorsys
import math
import os
import struct
import sys
import zlib

FIELD_W, FIELD_H = 360, 180
FIELD_RADIUS = 4.0
MARKER = 16
SUPER = 4  # supersampling per axis for the anti-aliased edges


def write_png(path, w, h, pixels):
    """pixels: rows of (r, g, b, a) tuples, 8-bit each."""
    raw = bytearray()
    for row in pixels:
        raw.append(0)
        for r, g, b, a in row:
            raw += bytes((r, g, b, a))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(raw), 9))
    png += chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


def rounded_coverage(x, y, w, h, r):
    """Share of the pixel (x, y) inside a w x h rectangle with corner radius r."""
    inside = 0
    for sy in range(SUPER):
        for sx in range(SUPER):
            px = x + (sx + 0.5) / SUPER
            py = y + (sy + 0.5) / SUPER
            cx = min(max(px, r), w - r)
            cy = min(max(py, r), h - r)
            if (px - cx) ** 2 + (py - cy) ** 2 <= r * r:
                inside += 1
    return inside / (SUPER * SUPER)


def field():
    rows = []
    for y in range(FIELD_H):
        sat = (FIELD_H - (y + 0.5)) / FIELD_H
        row = []
        for x in range(FIELD_W):
            hue = (x + 0.5) / FIELD_W
            r, g, b = colorsys.hls_to_rgb(hue, 0.5, sat)
            # Only the corner pixels need the coverage test.
            near_corner = (x < FIELD_RADIUS or x >= FIELD_W - FIELD_RADIUS) and \
                          (y < FIELD_RADIUS or y >= FIELD_H - FIELD_RADIUS)
            cover = rounded_coverage(x, y, FIELD_W, FIELD_H, FIELD_RADIUS) if near_corner else 1.0
            row.append((round(r * 255), round(g * 255), round(b * 255), round(cover * 255)))
        rows.append(row)
    return rows


def marker():
    c = MARKER / 2
    # (outer radius, inner radius, colour, opacity) from the outside in.
    bands = [(7.5, 6.0, (0, 0, 0), 0.55), (6.0, 4.0, (255, 255, 255), 1.0), (4.0, 3.0, (0, 0, 0), 0.55)]
    rows = []
    for y in range(MARKER):
        row = []
        for x in range(MARKER):
            acc = [0.0, 0.0, 0.0, 0.0]  # premultiplied r, g, b and alpha
            for sy in range(SUPER * 2):
                for sx in range(SUPER * 2):
                    d = math.hypot(x + (sx + 0.5) / (SUPER * 2) - c, y + (sy + 0.5) / (SUPER * 2) - c)
                    for outer, inner, col, op in bands:
                        if inner <= d < outer:
                            for i in range(3):
                                acc[i] += col[i] * op
                            acc[3] += op
                            break
            n = (SUPER * 2) ** 2
            a = acc[3] / n
            if a <= 0:
                row.append((0, 0, 0, 0))
            else:
                row.append(tuple(round(acc[i] / n / a) for i in range(3)) + (round(a * 255),))
        rows.append(row)
    return rows


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "..", "res", "Skin", "Image")
    os.makedirs(out, exist_ok=True)
    write_png(os.path.join(out, "color_field.png"), FIELD_W, FIELD_H, field())
    write_png(os.path.join(out, "color_marker.png"), MARKER, MARKER, marker())


if __name__ == "__main__":
    main()
