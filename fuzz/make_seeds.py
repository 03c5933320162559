#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets.

Usage: make_seeds.py OUTPUT_DIR
Creates OUTPUT_DIR/<target>/ for each fuzz target with small valid inputs:
model files of every section, BMPs of the kinds the decoder reads, console
lines of every command and typing sequences for the prompt.
"""
import os
import struct
import sys

NORMALS = "0.000000 1.000000 0.000000 " * 4


def model_file(vertices, groups, bones):
    """groups: [(polygons, texture name or None, colour)], polygons: [(corners, us, vs)];
    bones: [(depth, x, y, z, a, b, polygon numbers)]."""
    lines = [str(len(vertices))]
    lines += ["%f %f %f" % v for v in vertices]
    lines.append(str(len(groups)))
    for polygons, texture, colour in groups:
        lines.append(str(len(polygons)))
        for corners, us, vs in polygons:
            numbers = ["%d" % c for c in corners] + ["%f" % x for x in us + vs]
            lines.append(" ".join(numbers) + " " + NORMALS)
        lines.append("1" if texture else "0")
        if texture:
            lines.append(texture)
        lines.append("%f %f %f %f" % colour)
    lines.append(str(len(bones)))
    for depth, x, y, z, a, b, polygons in bones:
        lines.append("%d %f %f %f %f %f " % (depth, x, y, z, a, b) +
                     "".join("%d " % p for p in polygons) + "-1")
    return "\n".join(lines) + "\n"


def model_seeds():
    triangle = model_file([(0, 0, 0), (1, 0, 0), (0, 1, 0)],
                          [([((0, 1, 2), (0, 0, 0), (0, 0, 0))], None, (1, 1, 1, 1))], [])
    empty = model_file([], [([], None, (1, 1, 1, 1))], [])
    rich = model_file(
        [(0, 0, 0), (1.5, 0, 0), (0, 2.25, 0), (0, 0, -3), (4.125, 5, -6.5), (-1e300, 7, 8)],
        [([((0, 1, 2), (0, 0.75, 0), (0, 0, 0.875)), ((2, 1, 3), (0, 0, 0), (0, 0, 0))],
          "skin.bmp", (0.25, 1, 1, 1)),
         ([((1, 2, 3), (0, 0, 0), (0, 0, 0)), ((3, 4, 5), (0.5, 0.5, 0.5), (1, 0, 1))],
          None, (1, 1, 1, 0.5))],
        [(1, 0, 1, 0, 0.5, 0, [0]), (2, 0, 2, 0, 0, 0, [1, 3]), (3, 1, 3, 0, 0, -2.75, []),
         (3, 2, 3, 0, 0, 0, [2]), (2, 1, 1, 1, 0, 0, [])])
    return {"triangle.mdl": triangle, "empty.mdl": empty, "rich.mdl": rich}


def bmp(width, height, bits, rows, palette=b"", top_down=False, compression=0, masks=b""):
    """rows: raw bytes of each row (unpadded); padded here to 4 bytes."""
    pixels = b"".join(r + b"\0" * (-len(r) % 4) for r in rows)
    offset = 54 + len(masks) + len(palette)
    info = struct.pack("<IiiHHIIiiII", 40, width, -height if top_down else height, 1, bits,
                       compression, len(pixels), 2835, 2835, len(palette) // 4, 0)
    header = b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset)
    return header + info + masks + palette + pixels


def bmp_seeds():
    bgr = [bytes([10, 20, 30, 40, 50, 60, 70, 80, 90]), bytes([1, 2, 3, 4, 5, 6, 7, 8, 9])]
    palette = bytes([0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0])
    return {
        "rgb24.bmp": bmp(3, 2, 24, bgr),
        "top_down.bmp": bmp(3, 2, 24, bgr, top_down=True),
        "rgb32.bmp": bmp(2, 2, 32, [bytes(range(8)), bytes(range(8, 16))]),
        "palette8.bmp": bmp(4, 1, 8, [bytes([0, 1, 2, 0])], palette=palette),
        "palette1.bmp": bmp(8, 1, 1, [bytes([0xA5])], palette=palette[:8]),
        "bitfields16.bmp": bmp(2, 1, 16, [bytes([0x1F, 0, 0xE0, 0x07])], compression=3,
                               masks=struct.pack("<III", 0xF800, 0x07E0, 0x001F)),
        "rle8.bmp": bmp(2, 1, 8, [bytes([2, 1, 0, 1])], palette=palette, compression=1),
    }


def console_seeds():
    lines = [
        "/open model.mdl", "/open missing.mdl", "/save saved.mdl", "/save",
        "/loadtex tex.bmp", "/loadtex model.mdl", "/setbb -1 1 -1 1 -1 1", "/setbb 1 2",
        "/showtex", "/hidetex", "/setx 2.5", "/sety -1e308", "/setz 1e309", "/setx",
        "/getpos", "/setcylinder 12 4", "/setcylinder 2", "/smoothpolys", "/flattenpolys",
        "/setcolor 1 0 0 1", "/setcolor 1 0", "/polycount", "/SAVE x", "open x",
        "/save a\n/open a\n/polycount", "/loadtex tex.bmp\n/save t.mdl\n/open t.mdl",
        "/setx 1e308\n/smoothpolys\n/save big.mdl\n/open big.mdl",
    ]
    return {"line%02d.txt" % i: line for i, line in enumerate(lines)}


def typing_seeds():
    return {
        "command.txt": "/polycount\r",
        "backspace.txt": "ab\bc\r",
        "full.txt": "x" * 140 + "\b\ry\r",
        "control.txt": "\t\x1b\x00\xff\r\r",
    }


def main():
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    corpora = {
        "model_file_fuzz": model_seeds(),
        "bmp_decode_fuzz": bmp_seeds(),
        "console_fuzz": console_seeds(),
        "text_entry_fuzz": typing_seeds(),
    }
    for target, seeds in corpora.items():
        folder = os.path.join(sys.argv[1], target)
        os.makedirs(folder, exist_ok=True)
        for name, content in seeds.items():
            data = content.encode("latin-1") if isinstance(content, str) else content
            with open(os.path.join(folder, name), "wb") as out:
                out.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main())
