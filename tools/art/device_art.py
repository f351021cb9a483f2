"""The mouse pages' device pictures: each model seen from above, in the line style of the
not-connected illustrations (2 px dim strokes, the wheel and the lights in the accent).

Imported by gen.py, whose build() calls build(gen) with itself, so the images land in its tables
and use its palette and helpers.
"""

W, H = 210, 150


def _outline(d):
    return f'<path d="{d}" fill="none" stroke="{DIM}" stroke-width="2" stroke-linejoin="round"/>'


def _curve(d, color, opacity=None):
    o = f' stroke-opacity="{opacity}"' if opacity is not None else ""
    return (f'<path d="{d}" fill="none" stroke="{color}" stroke-width="2" '
            f'stroke-linecap="round"{o}/>')


def _wheel(x, y):
    out = [rrect(x, y, 12, 20, 6, stroke=ACCENT, sw=2)]
    for dy in (6, 10, 14):
        out.append(line([(x + 3, y + dy), (x + 9, y + dy)], ACCENT, 2, opacity=0.55))
    return out


def _side_button(x, y, h=14):
    return rrect(x, y, 7, h, 3.5, stroke=DIM, sw=2)


def egret():
    """Symmetric, two side buttons, a light strip across the tail."""
    body = ("M105,14 C128,14 142,30 144,58 L144,112 C144,131 127,142 105,142 "
            "C83,142 66,131 66,112 L66,58 C68,30 82,14 105,14 Z")
    out = [_outline(body)]
    out.append(line([(105, 14), (105, 26)], DIM, 2))
    out.append(line([(105, 52), (105, 64)], DIM, 2))
    out.append(_curve("M67,64 Q105,76 143,64", DIM))
    out += _wheel(99, 29)
    out += [_side_button(56, 72), _side_button(56, 92)]
    out.append(line([(92, 128), (118, 128)], ACCENT, 2, opacity=0.8))
    add("device_egret", W, H, "\n".join(out))


def ibis():
    """Right-handed: a high right flank, a thumb groove with three side buttons on the left, a
    stage button behind the wheel and a light arc round the palm."""
    body = ("M100,12 C124,12 140,28 145,56 C149,80 151,104 147,122 C143,136 127,144 106,144 "
            "C86,144 72,137 68,123 C65,112 61,102 61,92 C61,82 67,76 69,66 C71,38 80,12 100,12 Z")
    out = [_outline(body)]
    out.append(line([(100, 12), (100, 25)], DIM, 2))
    out.append(_curve("M70,62 Q104,72 145,56", DIM))
    out += _wheel(94, 27)
    out.append(rrect(96, 52, 8, 5, 2.5, stroke=ACCENT, sw=2))
    out += [_side_button(58, 52, 12), _side_button(53, 68, 12), _side_button(50, 84, 12)]
    out.append(_curve("M80,128 Q106,142 134,126", ACCENT, opacity=0.8))
    add("device_ibis", W, H, "\n".join(out))


def build(g):
    # gen's palette and helpers, as names of this module.
    globals().update({k: getattr(g, k) for k in ("ACCENT", "DIM", "add", "line", "rrect")})
    egret()
    ibis()
