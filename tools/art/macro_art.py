"""The macro pages' images: the step icon strip, the record button and the menu shadow.

Imported by gen.py, whose build() calls build(gen) with itself, so the images land in its tables
and use its palette and helpers.
"""

ICON = 16     # one icon of the strip
ICONS = 18    # icons in the strip


def _arrow(cx, down, color):
    """A vertical arrow with its head at the bottom (down: a press) or the top (up: a release)."""
    top, bottom = (3, 13) if down else (13, 3)
    head = -1 if down else 1
    return (line([(cx, 3), (cx, 13)], color, 1.5) +
            line([(cx - 4, bottom + 4 * head), (cx, bottom), (cx + 4, bottom + 4 * head)], color, 1.5))


def _icons():
    """The 18 glyphs, each on its own 16 x 16 cell, centre (8, 8)."""
    c = 8
    mouse = lambda fill_left=False, fill_right=False, fill_mid=False: (
        rrect(4.5, 1.5, 7, 13, 3.5, stroke=DIM, sw=1) +
        line([(4.5, 6.5), (11.5, 6.5)], DIM, 1, cap="butt") +
        (rrect(5, 2, 3, 4.5, 1.5, fill=ACCENT) if fill_left else "") +
        (rrect(8, 2, 3, 4.5, 1.5, fill=ACCENT) if fill_right else "") +
        (f'<rect x="7.25" y="2.5" width="1.5" height="3" fill="{ACCENT}"/>' if fill_mid else
         line([(8, 1.5), (8, 6.5)], DIM, 1, cap="butt")))
    return [
        # 0 delay: a clock
        f'<circle cx="{c}" cy="{c}" r="6" fill="none" stroke="{DIM}" stroke-width="1.5"/>'
        + line([(8, 4.5), (8, 8), (10.5, 9.5)], TEXT, 1.5),
        # 1 release: arrow up
        _arrow(c, False, DIM),
        # 2 press: arrow down, in the accent
        _arrow(c, True, ACCENT),
        # 3 movement: four-way arrows
        line([(8, 2), (8, 14)], DIM, 1.5) + line([(2, 8), (14, 8)], DIM, 1.5)
        + line([(6, 4), (8, 2), (10, 4)], DIM, 1.5) + line([(6, 12), (8, 14), (10, 12)], DIM, 1.5)
        + line([(4, 6), (2, 8), (4, 10)], DIM, 1.5) + line([(12, 6), (14, 8), (12, 10)], DIM, 1.5),
        # 4 key: a key cap
        rrect(2.5, 3.5, 11, 9, 2, stroke=DIM, sw=1) + line([(5, 10), (11, 10)], DIM, 1.5),
        # 5 mouse
        mouse(),
        # 6, 7, 8 left, right, middle button
        mouse(fill_left=True), mouse(fill_right=True), mouse(fill_mid=True),
        # 9 repeat: two arcs
        '<path d="M3,8 A5,5 0 0 1 12.5,6" fill="none" stroke="%s" stroke-width="1.5" stroke-linecap="round"/>' % DIM
        + '<path d="M13,8 A5,5 0 0 1 3.5,10" fill="none" stroke="%s" stroke-width="1.5" stroke-linecap="round"/>' % DIM
        + line([(10.5, 4), (12.5, 6), (14, 3.5)], DIM, 1.5),
        # 10 record: a dot
        f'<circle cx="{c}" cy="{c}" r="4.5" fill="{DANGER}"/>',
        # 11 stop: a square
        rrect(4, 4, 8, 8, 1.5, fill=TEXT),
        # 12 folder
        '<path d="M2,4.5 L6,4.5 L7.5,6 L14,6 L14,12.5 L2,12.5 Z" fill="none" stroke="%s" stroke-width="1" '
        'stroke-linejoin="round"/>' % DIM,
        # 13 file
        '<path d="M4,1.5 L9.5,1.5 L12.5,4.5 L12.5,14.5 L4,14.5 Z" fill="none" stroke="%s" stroke-width="1" '
        'stroke-linejoin="round"/>' % DIM + line([(6, 8), (10.5, 8)], DIM, 1) + line([(6, 11), (10.5, 11)], DIM, 1),
        # 14 macro: play
        '<path d="M5,3 L13,8 L5,13 Z" fill="%s" stroke="%s" stroke-width="1" stroke-linejoin="round"/>' % (ACCENT, ACCENT),
        # 15 edit: pencil
        line([(3.5, 12.5), (11.5, 4.5)], DIM, 2.5, cap="butt") + line([(3, 13), (4.5, 13)], DIM, 1.5, cap="butt"),
        # 16 delete: a cross
        line([(4, 4), (12, 12)], DIM, 1.5) + line([(12, 4), (4, 12)], DIM, 1.5),
        # 17 add: a plus
        line([(8, 3), (8, 13)], DIM, 1.5) + line([(3, 8), (13, 8)], DIM, 1.5),
    ]


def icon_strip():
    icons = _icons()
    assert len(icons) == ICONS
    body = "".join(f'<g transform="translate({i * ICON},0)">{g}</g>' for i, g in enumerate(icons))
    add("macroicons", ICON * ICONS, ICON, body)


def record_button():
    """132 x 36: the record button idle (a red dot on a control) and recording (accent, stop square)."""
    w, h = 132, 36
    add("recbtn_nr", w, h, box(w, h, 6, CONTROL, border=BORDER, top=(WHITE, 0.05), uid="rn")
        + f'<circle cx="20" cy="18" r="5" fill="{DANGER}"/>')
    add("recbtn_dn", w, h, box(w, h, 6, ACCENT, top=(WHITE, 0.22), uid="rd")
        + f'<circle cx="20" cy="18" r="9" fill="{ACCENT_PRESSED}"/>'
        + rrect(16, 14, 8, 8, 1.5, fill=WHITE))


def menu_shadow():
    """64 x 48, corner 40,8,8,8: an 8 px soft shadow round a plain panel. The menu window covers the
    panel; only the shadow shows. Rings curve within the 8 px margins so the middle stays plain."""
    w, h, m = 64, 48, 8
    rings = "".join(rrect(i, i, w - 2 * i, h - 2 * i, m - i, fill="#000000", extra=' fill-opacity="0.05"')
                    for i in range(m))
    add("menu_bk", w, h, rings + f'<rect x="{m}" y="{m}" width="{w - 2 * m}" height="{h - 2 * m}" fill="{PANEL}"/>',
        (40, 8, 8, 8))


def build(g):
    # gen's palette and helpers, as names of this module.
    globals().update({k: getattr(g, k) for k in ("ACCENT", "ACCENT_PRESSED", "BORDER", "CONTROL", "DANGER", "DIM",
                                                 "PANEL", "TEXT", "WHITE", "add", "box", "line", "rrect")})
    icon_strip()
    record_button()
    menu_shadow()
