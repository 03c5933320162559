"""A model 18,000 units across, written here as OBJ with a magenta material and opened from the
command line through the importer, shows whole in every view."""
import driver

CORNERS = [(x, y, z) for z in (-9000, 9000) for y in (-9000, 9000) for x in (-9000, 9000)]
FACES = [(1, 3, 4, 2), (5, 6, 8, 7), (1, 5, 7, 3), (2, 4, 8, 6), (1, 2, 6, 5), (3, 7, 8, 4)]
OBJ = "mtllib big.mtl\nusemtl magenta\n" + "".join("v %d %d %d\n" % c for c in CORNERS) + \
    "".join("f %d %d %d\nf %d %d %d\n" % (a, b, c, a, c, d) for a, b, c, d in FACES)


def whole_in_every_view(rgb):
    """the box whole in each of the four views"""
    for left, top in [(0, 300), (400, 300), (0, 0), (400, 0)]:  # Side, Front, Top, Full
        xs, ys = [], []
        for y in range(top, top + 300):
            row = rgb[(y * 800 + left) * 3:(y * 800 + left + 400) * 3]
            at = row.find(b"\xff\x00\xff")
            while at >= 0:
                if at % 3 == 0:
                    xs.append(at // 3), ys.append(y - top)
                at = row.find(b"\xff\x00\xff", at + 1)
        # Well inside the view, and not a speck: 120 pixels or more across or up.
        if not xs or max(max(xs) - min(xs), max(ys) - min(ys)) < 120:
            return False
        if min(xs) < 3 or max(xs) > 396 or min(ys) < 3 or max(ys) > 296:
            return False
    return True


driver.play([
    ("file", "big.obj", OBJ),
    ("file", "big.mtl", "newmtl magenta\nKd 1 0 1\n"),
    ("start", "big.obj"),
    ("picture", whole_in_every_view),
    ("close", 0),
])
