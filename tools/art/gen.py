#!/usr/bin/env python3
"""Writes the SVG source of every skin image into a folder.

Usage: gen.py OUTDIR       -> OUTDIR/<name>.svg for every image (render.sh rasterises them)
       gen.py --corners    -> prints the nine-slice table (name, size, corner)

Everything is drawn from the fixed palette below; no external artwork.
Coordinates follow one rule for crispness: a stroke of width 1 sits on a
half-pixel line, a stroke of width 2 on a whole-pixel line.
"""
import math
import os
import sys

# ---------------------------------------------------------------- palette
WINDOW = "#0F1115"
PANEL = "#171A20"
CONTROL = "#1F232B"
CONTROL_HOT = "#2A2F39"
BORDER = "#343A46"
TEXT = "#E8EAED"
DIM = "#9AA1AD"
DISABLED = "#5A606B"
ACCENT = "#FF5B14"
ACCENT_HOT = "#FF7A3D"
ACCENT_PRESSED = "#D94A0C"
DANGER = "#E5484D"
SUCCESS = "#3DD68C"
# Derived shades (documented in docs/skin-style.md).
BORDER_HOT = "#4A515E"       # border of a hovered control
CONTROL_PRESSED = "#1A1D24"  # pressed secondary button
DANGER_PRESSED = "#C23B40"   # pressed close button
WHITE = "#FFFFFF"

IMAGES = {}   # name -> svg text
CORNERS = {}  # name -> ((w, h), (l, t, r, b), fixed) for stretchable images
# fixed: "" (stretches both ways), "h" (draw at native width) or "v" (native height).


def svg(w, h, body, vw=None, vh=None):
    vw = w if vw is None else vw
    vh = h if vh is None else vh
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{w}" height="{h}" '
            f'viewBox="0 0 {vw} {vh}">\n{body}\n</svg>\n')


def add(name, w, h, body, corner=None, fixed="", **kw):
    IMAGES[name] = svg(w, h, body, **kw)
    if corner:
        CORNERS[name] = ((w, h), corner, fixed)


def rrect(x, y, w, h, r, fill="none", stroke=None, sw=1, extra=""):
    s = f' stroke="{stroke}" stroke-width="{sw}"' if stroke else ""
    return f'<rect x="{x}" y="{y}" width="{w}" height="{h}" rx="{r}" fill="{fill}"{s}{extra}/>'


def box(w, h, r, fill, border=None, top=None, bottom=None, uid="c"):
    """A rounded box filling a w x h image: optional 1 px border, optional
    1 px inner highlight (top) / inner shade (bottom), as (colour, opacity)."""
    out = []
    if border:
        # Border ring: outer shape filled with the border colour, inner shape on top.
        out.append(rrect(0, 0, w, h, r, fill=border))
        ix, iy, iw, ih, ir = 1, 1, w - 2, h - 2, r - 1
    else:
        ix, iy, iw, ih, ir = 0, 0, w, h, r
    out.append(f'<clipPath id="{uid}">{rrect(ix, iy, iw, ih, ir, fill="#000")}</clipPath>')
    out.append(rrect(ix, iy, iw, ih, ir, fill=fill))
    if top:
        col, op = top
        out.append(f'<rect x="0" y="{iy}" width="{w}" height="1" fill="{col}" '
                   f'fill-opacity="{op}" clip-path="url(#{uid})"/>')
    if bottom:
        col, op = bottom
        out.append(f'<rect x="0" y="{iy + ih - 1}" width="{w}" height="1" fill="{col}" '
                   f'fill-opacity="{op}" clip-path="url(#{uid})"/>')
    return "\n".join(out)


def line(points, color, sw, cap="round", join="round", opacity=None, closed=False):
    d = "M" + " L".join(f"{x:g},{y:g}" for x, y in points) + (" Z" if closed else "")
    o = f' stroke-opacity="{opacity}"' if opacity is not None else ""
    return (f'<path d="{d}" fill="none" stroke="{color}" stroke-width="{sw}" '
            f'stroke-linecap="{cap}" stroke-linejoin="{join}"{o}/>')


def poly(points, fill):
    d = "M" + " L".join(f"{x:g},{y:g}" for x, y in points) + " Z"
    return f'<path d="{d}" fill="{fill}"/>'


# ---------------------------------------------------------------- caption buttons
def caption_buttons():
    w, h = 46, 32
    # Hover plate: rounded, inset so it never meets the window's rounded corner.
    plate = lambda c: rrect(4, 3, 38, 26, 6, fill=c)
    minimise = lambda c: f'<rect x="18" y="15.25" width="10" height="1.5" fill="{c}"/>'

    def close(c):
        # 10 x 10 cross centred on (23, 16).
        return (line([(18, 11), (28, 21)], c, 1.5, cap="butt") +
                line([(28, 11), (18, 21)], c, 1.5, cap="butt"))

    add("caption_min_normal", w, h, minimise(DIM))
    add("caption_min_hot", w, h, plate(CONTROL_HOT) + minimise(TEXT))
    add("caption_min_pushed", w, h, plate(BORDER) + minimise(TEXT))
    add("caption_close_normal", w, h, close(DIM))
    add("caption_close_hot", w, h, plate(DANGER) + close(WHITE))
    add("caption_close_pushed", w, h, plate(DANGER_PRESSED) + close(WHITE))


# ---------------------------------------------------------------- buttons
def buttons():
    c = (6, 6, 6, 6)
    hi = (WHITE, 0.22)
    shade = ("#000000", 0.16)
    add("btn_primary_normal", 32, 32, box(32, 32, 6, ACCENT, top=hi, bottom=shade), c)
    add("btn_primary_hot", 32, 32, box(32, 32, 6, ACCENT_HOT, top=hi, bottom=shade), c)
    add("btn_primary_pushed", 32, 32, box(32, 32, 6, ACCENT_PRESSED, top=("#000000", 0.18)), c)
    add("btn_primary_disabled", 32, 32, box(32, 32, 6, CONTROL, border=CONTROL_HOT), c)

    hi2 = (WHITE, 0.05)
    add("btn_secondary_normal", 32, 32, box(32, 32, 6, CONTROL, border=BORDER, top=hi2), c)
    add("btn_secondary_hot", 32, 32, box(32, 32, 6, CONTROL_HOT, border=BORDER_HOT, top=hi2), c)
    add("btn_secondary_pushed", 32, 32,
        box(32, 32, 6, CONTROL_PRESSED, border=BORDER, top=("#000000", 0.25)), c)
    add("btn_secondary_disabled", 32, 32, box(32, 32, 6, PANEL, border=CONTROL_HOT), c)


# ---------------------------------------------------------------- combo, list, edit
def chevron(cx, cy, color, up=False):
    d = -1 if up else 1
    return line([(cx - 4, cy - 2 * d), (cx, cy + 2 * d), (cx + 4, cy - 2 * d)], color, 1.5)


def combo():
    w, h, c = 48, 32, (8, 8, 32, 8)
    hi = (WHITE, 0.05)
    # The chevron sits in the right margin: combos are drawn at their native height.
    add("combo_normal", w, h, box(w, h, 6, CONTROL, border=BORDER, top=hi) + chevron(34, 16, DIM), c, "v")
    add("combo_hot", w, h, box(w, h, 6, CONTROL_HOT, border=BORDER_HOT, top=hi) + chevron(34, 16, TEXT), c, "v")
    add("combo_pushed", w, h, box(w, h, 6, CONTROL, border=ACCENT) + chevron(34, 16, TEXT, up=True), c, "v")
    add("combo_disabled", w, h, box(w, h, 6, PANEL, border=CONTROL_HOT) + chevron(34, 16, DISABLED), c, "v")
    add("combo_drop_bk", 32, 32, box(32, 32, 6, CONTROL, border=BORDER), (6, 6, 6, 6))

    add("list_item_hot", 16, 16, rrect(0, 0, 16, 16, 4, fill=CONTROL_HOT), (4, 4, 4, 4))
    add("list_item_selected", 16, 16,
        rrect(0, 0, 16, 16, 4, fill=ACCENT, extra=' fill-opacity="0.16"') +
        rrect(0, 3, 3, 10, 1, fill=ACCENT), (5, 5, 5, 5))


def device_state():
    # Frames of the device chooser's entries: none yet (before the first read), attached, absent.
    size = 12
    out = [f'<circle cx="{size + 6}" cy="6" r="4" fill="{SUCCESS}"/>',
           f'<circle cx="{2 * size + 6}" cy="6" r="3.5" fill="none" stroke="{DISABLED}" stroke-width="1.5"/>']
    add("device_state", 3 * size, size, "\n".join(out))


def edit():
    c = (6, 6, 6, 6)
    add("edit_normal", 32, 32, box(32, 32, 6, WINDOW, border=BORDER), c)
    add("edit_hot", 32, 32, box(32, 32, 6, WINDOW, border=BORDER_HOT), c)
    # Focus: accent border plus a faint accent inner ring.
    add("edit_focused", 32, 32,
        box(32, 32, 6, WINDOW, border=ACCENT) +
        rrect(1.5, 1.5, 29, 29, 4.5, stroke=ACCENT, sw=1, extra=' stroke-opacity="0.28"'), c)
    add("edit_disabled", 32, 32, box(32, 32, 6, PANEL, border=CONTROL_HOT), c)


# ---------------------------------------------------------------- check, radio
def checks():
    tick = lambda c: line([(4.75, 9.25), (7.75, 12.25), (13.25, 6.25)], c, 2)
    plain = lambda fill, border: box(18, 18, 4, fill, border=border)
    add("check_normal", 18, 18, plain(CONTROL, DISABLED))
    add("check_hot", 18, 18, plain(CONTROL_HOT, DIM))
    add("check_selected", 18, 18, rrect(0, 0, 18, 18, 4, fill=ACCENT) + tick(WHITE))
    add("check_selected_hot", 18, 18, rrect(0, 0, 18, 18, 4, fill=ACCENT_HOT) + tick(WHITE))
    add("check_disabled", 18, 18, plain(PANEL, BORDER))
    add("check_selected_disabled", 18, 18, rrect(0, 0, 18, 18, 4, fill=BORDER) + tick(DISABLED))

    ring = lambda fill, border: (f'<circle cx="9" cy="9" r="9" fill="{border}"/>'
                                 f'<circle cx="9" cy="9" r="8" fill="{fill}"/>')
    add("radio_normal", 18, 18, ring(CONTROL, DISABLED))
    add("radio_hot", 18, 18, ring(CONTROL_HOT, DIM))
    add("radio_selected", 18, 18,
        f'<circle cx="9" cy="9" r="9" fill="{ACCENT}"/><circle cx="9" cy="9" r="3.5" fill="{WHITE}"/>')
    add("radio_disabled", 18, 18, ring(PANEL, BORDER))


# ---------------------------------------------------------------- slider, progress, scroll
def bars():
    add("slider_track", 24, 6, rrect(0, 0, 24, 6, 3, fill=BORDER), (3, 0, 3, 0), "v")
    add("slider_fill", 24, 6, rrect(0, 0, 24, 6, 3, fill=ACCENT), (3, 0, 3, 0), "v")

    def thumb(core, halo=None, halo_op=0.0, dot=None):
        s = ""
        if halo:
            s += f'<circle cx="8" cy="8" r="8" fill="{halo}" fill-opacity="{halo_op}"/>'
        # Dark hairline keeps the thumb readable over the accent fill.
        s += f'<circle cx="8" cy="8" r="6.5" fill="{WINDOW}" fill-opacity="0.55"/>'
        s += f'<circle cx="8" cy="8" r="5.75" fill="{core}"/>'
        if dot:
            s += f'<circle cx="8" cy="8" r="2.25" fill="{dot}"/>'
        return s

    add("slider_thumb_normal", 16, 16, thumb(TEXT))
    add("slider_thumb_hot", 16, 16, thumb(WHITE, ACCENT, 0.30))
    add("slider_thumb_pushed", 16, 16, thumb(WHITE, ACCENT, 0.45, dot=ACCENT))
    add("slider_thumb_disabled", 16, 16, f'<circle cx="8" cy="8" r="5.75" fill="{DISABLED}"/>')

    add("progress_track", 24, 8, rrect(0, 0, 24, 8, 4, fill=BORDER), (4, 0, 4, 0), "v")
    add("progress_fill", 24, 8,
        f'<clipPath id="p">{rrect(0, 0, 24, 8, 4, fill="#000")}</clipPath>' +
        rrect(0, 0, 24, 8, 4, fill=ACCENT) +
        f'<rect x="0" y="0" width="24" height="1" fill="{WHITE}" fill-opacity="0.22" clip-path="url(#p)"/>',
        (4, 0, 4, 0), "v")

    add("scroll_thumb_normal", 8, 32, rrect(1, 0, 6, 32, 3, fill=BORDER), (0, 4, 0, 4), "h")
    add("scroll_thumb_hot", 8, 32, rrect(1, 0, 6, 32, 3, fill=DISABLED), (0, 4, 0, 4), "h")


# ---------------------------------------------------------------- language chip
def chips():
    c = (6, 6, 6, 6)
    add("chip_hot", 32, 24, rrect(0, 0, 32, 24, 6, fill=CONTROL_HOT), c)
    add("chip_selected", 32, 24,
        rrect(0, 0, 32, 24, 6, fill=ACCENT, extra=' fill-opacity="0.16"') +
        rrect(4, 19, 24, 2, 1, fill=ACCENT), c)


# ---------------------------------------------------------------- message box icons
def msgbox():
    info = (f'<circle cx="20" cy="20" r="19" fill="{ACCENT}" fill-opacity="0.12"/>'
            f'<circle cx="20" cy="20" r="18" fill="none" stroke="{ACCENT}" stroke-width="2"/>'
            f'<circle cx="20" cy="12.5" r="1.75" fill="{ACCENT}"/>'
            f'<rect x="18.75" y="17" width="2.5" height="12" rx="1.25" fill="{ACCENT}"/>')
    add("msgbox_icon_info", 40, 40, info)
    # Rounded triangle: polygon stroked with round joins in the fill colour.
    tri = [(20, 5), (36.5, 34), (3.5, 34)]
    warn = (f'<path d="M{tri[0][0]},{tri[0][1]} L{tri[1][0]},{tri[1][1]} L{tri[2][0]},{tri[2][1]} Z" '
            f'fill="{ACCENT}" stroke="{ACCENT}" stroke-width="5" stroke-linejoin="round"/>'
            f'<rect x="18.75" y="14" width="2.5" height="11" rx="1.25" fill="{WINDOW}"/>'
            f'<circle cx="20" cy="29.25" r="1.75" fill="{WINDOW}"/>')
    add("msgbox_icon_warning", 40, 40, warn)


# ---------------------------------------------------------------- brand
# The mark: an oak leaf cut into sharp facets. Designed on a 28 x 28 grid,
# upright, tip at the top, stem at the bottom. Each lobe is two facets split
# along the line from the midrib to the lobe tip; the left half is lit, the
# right half shaded. The two halves are offset a little, as real lobes alternate.
# Lobe = (notch above, lobe tip, notch below) on the right half.
LEAF_TIP = (14, 0.6)
LEAF_LOBES_R = [((17.2, 5.4), (22.6, 4.4), (19.4, 9.8)),
                ((19.4, 9.8), (26.2, 10.0), (20.2, 15.0)),
                ((20.2, 15.0), (24.0, 17.2), (17.4, 20.4))]
LEAF_LOBES_L = [((10.8, 6.4), (5.0, 6.0), (8.6, 11.0)),
                ((8.6, 11.0), (1.8, 12.0), (8.0, 16.2)),
                ((8.0, 16.2), (4.2, 19.2), (10.8, 21.2))]
LEAF_BASE = (14, 23.6)


def leaf(transform=""):
    rib = lambda y: (14, y)
    faces = []
    for lobes, lit, shade, last_notch in ((LEAF_LOBES_L, ACCENT_HOT, ACCENT, (12.6, 22.6)),
                                          (LEAF_LOBES_R, ACCENT, ACCENT_PRESSED, (15.4, 22.6))):
        # Terminal lobe: tip down to the first notch.
        faces.append(poly([LEAF_TIP, lobes[0][0], rib(lobes[0][0][1])], lit))
        for (n0, tip, n1) in lobes:
            ym = (n0[1] + n1[1]) / 2
            faces.append(poly([rib(n0[1]), n0, tip, rib(ym)], lit))
            faces.append(poly([rib(ym), tip, n1, rib(n1[1])], shade))
        # Base wedge from the last notch to the stem.
        faces.append(poly([rib(lobes[-1][2][1]), lobes[-1][2], last_notch, LEAF_BASE], shade))
    outline = ([LEAF_TIP] + [p for lobe in LEAF_LOBES_R for p in lobe] + [(15.4, 22.6), LEAF_BASE, (12.6, 22.6)]
               + [p for lobe in reversed(LEAF_LOBES_L) for p in reversed(lobe)])
    # The silhouette underneath hides hairline seams between facets.
    under = poly(outline, ACCENT_PRESSED)
    stem = poly([(13.2, 22.8), (14.8, 22.8), (14.5, 27.6), (13.5, 27.6)], ACCENT_PRESSED)
    rib_line = line([(14, 4), (14, 23)], ACCENT_PRESSED, 0.6, cap="butt", opacity=0.6)
    return f'<g{transform}>' + stem + under + "".join(faces) + rib_line + "</g>"


# Wordmark letters on a stroke skeleton (centre lines), chamfer c, stroke sw.
# t, b: top and bottom centre lines; m: middle bar; w: letter width between
# stem centres. Values keep stems and bars on the pixel grid for the stroke.
# Each entry: (advance width, [polylines]).
def _letters(t, b, m, w, c, sw):
    t0, b0 = t - sw / 2, b + sw / 2  # ink extents, for open stem ends
    cr = min(c, (m - t) / 2 - 0.5)     # smaller chamfer for the short bowl of R
    return {
        "O": (w, [[(c, t), (w - c, t), (w, t + c), (w, b - c), (w - c, b), (c, b),
                   (0, b - c), (0, t + c), (c, t)]]),
        "A": (w, [[(0, b0), (0, t + c), (c, t), (w - c, t), (w, t + c), (w, b0)],
                  [(0, m + 1), (w, m + 1)]]),
        "K": (w, [[(0, t0), (0, b0)], [(0, m), (4, m)],
                  [(w, t0 + 0.6), (4, m), (w, b0 - 0.6)]]),
        "R": (w, [[(0, b0), (0, t), (w - cr, t), (w, t + cr), (w, m - cr), (w - cr, m), (0, m)],
                  [(w / 2, m + 1), (w, b0 - 0.6)]]),
        "I": (0, [[(0, t0), (0, b0)]]),
        "D": (w, [[(0, t), (w - c, t), (w, t + c), (w, b - c), (w - c, b), (0, b), (0, t)]]),
        "G": (w, [[(w, t), (c, t), (0, t + c), (0, b - c), (c, b), (w, b), (w, m + 1), (w / 2, m + 1)]]),
        "E": (w - 1, [[(w - 1, t), (0, t), (0, b), (w - 1, b)], [(0, m), (w - 2.5, m)]]),
    }


WORD_STYLE = dict(t=7.5, b=20.5, m=13.5, w=11, c=3.5, sw=3)


def wordmark(x0, word="OAKRIDGE", gap=7, color=TEXT, style=WORD_STYLE):
    letters = _letters(**style)
    out, x = [], x0
    for ch in word:
        adv, strokes = letters[ch]
        for s in strokes:
            closed = s[0] == s[-1]
            pts = [(x + px, py) for px, py in (s[:-1] if closed else s)]
            out.append(line(pts, color, style["sw"], cap="butt", join="miter", closed=closed))
        x += adv + style["sw"] + gap
    return "".join(out), x - gap - style["sw"]


def brand():
    text, end = wordmark(39.5)
    w = int(end + 2.5)
    add("logo", w, 28, leaf() + text)

    def icon(size):
        body = (f'<defs><linearGradient id="g" x1="0" y1="0" x2="0" y2="1">'
                f'<stop offset="0" stop-color="{CONTROL}"/><stop offset="1" stop-color="{PANEL}"/>'
                f'</linearGradient></defs>'
                f'<rect x="8" y="8" width="240" height="240" rx="52" fill="url(#g)"/>'
                f'<rect x="9" y="9" width="238" height="238" rx="51" fill="none" '
                f'stroke="{BORDER}" stroke-width="2"/>'
                # 28-grid leaf scaled 6x and centred.
                + leaf(' transform="translate(44 42) scale(6)"'))
        return svg(size, size, body, vw=256, vh=256)

    IMAGES["app_icon"] = icon(256)
    IMAGES["app_icon_48"] = icon(48)


# ---------------------------------------------------------------- device illustrations
def plug_and_spark(x, y):
    """A plug pointing right whose body starts at x, centred on y, then accent
    sparks: the cable is unplugged."""
    s = rrect(x, y - 8, 18, 16, 3, stroke=DIM, sw=2)
    s += rrect(x + 18, y - 5, 8, 10, 1, stroke=DIM, sw=2)
    s += line([(x + 6, y - 3), (x + 6, y + 3)], DIM, 2)
    s += line([(x + 11, y - 3), (x + 11, y + 3)], DIM, 2)
    sx = x + 34
    s += line([(sx, y), (sx + 10, y)], ACCENT, 2)
    s += line([(sx - 1, y - 6), (sx + 6, y - 13)], ACCENT, 2)
    s += line([(sx - 1, y + 6), (sx + 6, y + 13)], ACCENT, 2)
    return s


def device_keyboard():
    u = 16
    x0, y0 = 20, 102
    rows = [
        [1] * 13 + [2],
        [1.5] + [1] * 12 + [1.5],
        [1.75] + [1] * 11 + [2.25],
        [2.25] + [1] * 10 + [2.75],
        [1.25, 1.25, 1.25, 6.25, 1.25, 1.25, 1.25, 1.25],
    ]
    accent_keys = {(1, 2), (2, 1), (2, 2), (2, 3)}  # W A S D
    out = [rrect(12, 94, 256, 96, 10, stroke=DIM, sw=2)]
    for r, row in enumerate(rows):
        x = x0
        for k, width in enumerate(row):
            wpx = int(width * u)
            col = ACCENT if (r, k) in accent_keys else DIM
            out.append(rrect(x + 3, y0 + r * u + 3, wpx - 6, u - 6, 2, stroke=col, sw=2))
            x += wpx
    out.append(f'<path d="M140,94 C140,72 150,60 176,60 L190,60" fill="none" '
               f'stroke="{DIM}" stroke-width="2" stroke-linecap="round"/>')
    out.append(plug_and_spark(190, 60))
    add("device_keyboard", 280, 200, "\n".join(out))


def device_mouse():
    body = ("M140,64 C166,64 182,82 184,112 L184,158 C184,180 166,194 140,194 "
            "C114,194 96,180 96,158 L96,112 C98,82 114,64 140,64 Z")
    out = [f'<path d="{body}" fill="none" stroke="{DIM}" stroke-width="2" stroke-linejoin="round"/>']
    # Button split and palm line.
    out.append(line([(140, 64), (140, 78)], DIM, 2))
    out.append(line([(140, 104), (140, 120)], DIM, 2))
    out.append(f'<path d="M97,116 Q140,128 183,116" fill="none" stroke="{DIM}" stroke-width="2" '
               f'stroke-linecap="round"/>')
    # Scroll wheel (accent) and DPI button.
    out.append(rrect(134, 80, 12, 22, 6, stroke=ACCENT, sw=2))
    out.append(line([(137, 87), (143, 87)], ACCENT, 2, opacity=0.55))
    out.append(line([(137, 91), (143, 91)], ACCENT, 2, opacity=0.55))
    out.append(line([(137, 95), (143, 95)], ACCENT, 2, opacity=0.55))
    # Side buttons protruding from the left flank.
    for y in (126, 148):
        out.append(f'<path d="M96,{y} L91,{y} Q88,{y} 88,{y + 3} L88,{y + 15} Q88,{y + 18} 91,{y + 18} '
                   f'L96,{y + 18}" fill="none" stroke="{DIM}" stroke-width="2" stroke-linejoin="round"/>')
    # Light strip near the tail.
    out.append(line([(128, 178), (152, 178)], ACCENT, 2, opacity=0.8))
    # Cable out of the nose, curving to an unplugged connector.
    out.append(f'<path d="M140,64 C140,42 152,34 176,34 L190,34" fill="none" stroke="{DIM}" '
               f'stroke-width="2" stroke-linecap="round"/>')
    out.append(plug_and_spark(190, 34))
    add("device_mouse", 280, 200, "\n".join(out))


# ---------------------------------------------------------------- busy ring
def busy_ring():
    frames, size, r, sw = 12, 64, 24, 4
    arc_deg = 90
    out = []
    for i in range(frames):
        cx, cy = i * size + 32, 32
        out.append(f'<circle cx="{cx}" cy="{cy}" r="{r}" fill="none" stroke="{BORDER}" stroke-width="{sw}"/>')
        a0 = math.radians(-90 + 30 * i)
        a1 = a0 + math.radians(arc_deg)
        x0, y0 = cx + r * math.cos(a0), cy + r * math.sin(a0)
        x1, y1 = cx + r * math.cos(a1), cy + r * math.sin(a1)
        out.append(f'<path d="M{x0:.3f},{y0:.3f} A{r},{r} 0 0 1 {x1:.3f},{y1:.3f}" fill="none" '
                   f'stroke="{ACCENT}" stroke-width="{sw}" stroke-linecap="round"/>')
    add("busy_ring", frames * size, size, "\n".join(out))


def build():
    caption_buttons()
    buttons()
    combo()
    device_state()
    edit()
    checks()
    bars()
    chips()
    msgbox()
    brand()
    device_keyboard()
    device_mouse()
    busy_ring()
    import macro_art  # the macro pages' images, drawn with this palette and these helpers
    macro_art.build(sys.modules[__name__])
    import device_art  # the mouse pages' device pictures
    device_art.build(sys.modules[__name__])
    import keyboard_art  # the keyboard page's key caps
    keyboard_art.build(sys.modules[__name__])


def main():
    build()
    if len(sys.argv) == 2 and sys.argv[1] == "--corners":
        for name, ((w, h), c, fixed) in sorted(CORNERS.items()):
            note = {"": "", "h": "  (native width)", "v": "  (native height)"}[fixed]
            print(f"{name}.png {w}x{h} corner='{','.join(str(v) for v in c)}'{note}")
        return
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    outdir = sys.argv[1]
    os.makedirs(outdir, exist_ok=True)
    for name, text in sorted(IMAGES.items()):
        with open(os.path.join(outdir, name + ".svg"), "w", encoding="utf-8") as f:
            f.write(text)


if __name__ == "__main__":
    main()
