"""The keyboard page's key caps: a cap seen from above, its face lighter than its skirt, so a row of
buttons reads as a keyboard. A reassigned key is ringed in the accent; the space bar's caps carry a
groove along the face. All stretch with corner='8,8,8,8'.

Imported by gen.py, whose build() calls build(gen) with itself.
"""

S = 37            # the caps' height, and the square caps' width
SPACE_W = 120     # the space bar's caps
C = (10, 10, 10, 10)
SPACE_C = (58, 10, 58, 10)

KEY_FACE = "#232832"
KEY_FACE_HOT = "#2C323E"
KEY_FACE_PRESSED = "#1B1F26"
KEY_SKIRT = "#12151A"
CHANGED_FACE = "#2E2220"


def _cap(w, face, ring, skirt=KEY_SKIRT, pressed=False, groove=False, ring_width=1):
    """A cap filling w x S: the skirt (the cap's sides) as the outer rounded shape, the face inset
    above it, the ring round the whole cap."""
    out = [rrect(0, 0, w, S, 7, fill=skirt)]
    top = 2 if pressed else 1
    bottom = 2 if pressed else 5  # a pressed cap shows less of its skirt
    out.append(rrect(3, top, w - 6, S - top - bottom, 5, fill=face))
    # A faint highlight along the face's top edge.
    out.append(rrect(5, top, w - 10, 1, 0.5, fill=WHITE, extra=' fill-opacity="0.06"'))
    if groove:
        mid = w / 2
        out.append(line([(mid - 16, S - bottom - 7), (mid + 16, S - bottom - 7)], DIM, 2, opacity=0.35))
    out.append(rrect(ring_width / 2, ring_width / 2, w - ring_width, S - ring_width, 7,
                     stroke=ring, sw=ring_width))
    return "\n".join(out)


def build(g):
    globals().update({k: getattr(g, k) for k in (
        "ACCENT", "ACCENT_HOT", "BORDER", "BORDER_HOT", "DIM", "WHITE", "add", "line", "rrect")})
    for name, w, groove, corner, fixed in (("key", S, False, C, ""), ("key_Spacebar", SPACE_W, True, SPACE_C, "v")):
        normal, change = (name.replace("key", "key_normal"), name.replace("key", "key_change"))
        add(normal, w, S, _cap(w, KEY_FACE, BORDER, groove=groove), corner, fixed)
        add(change, w, S, _cap(w, CHANGED_FACE, ACCENT, groove=groove, ring_width=1.5), corner, fixed)
    add("key_hot", S, S, _cap(S, KEY_FACE_HOT, BORDER_HOT), C)
    add("key_pushed", S, S, _cap(S, KEY_FACE_PRESSED, ACCENT_HOT, pressed=True), C)
    add("key_disabled", S, S, _cap(S, "#1A1D23", "#262B33"), C)
