#!/usr/bin/env python3
"""Usage: make_seeds.py OUTPUT_DIR. Writes OUTPUT_DIR/<fuzz target>/ with small valid
inputs of each kind the target reads: model files of every section, BMPs the decoder
reads, lines of every console command, typing for the prompt."""
import os
import struct
import sys

N = " 0.000000 1.000000 0.000000" * 4 + " \n"  # a polygon line's constant normals
MODELS = {
    "triangle.mdl": "3\n0.000000 0.000000 0.000000\n1.000000 0.000000 0.000000\n"
                    "0.000000 1.000000 0.000000\n1\n1\n0 1 2 0.000000 0.000000 0.000000 "
                    "0.000000 0.000000 0.000000" + N + "0\n1.000000 1.000000 1.000000 1.000000\n0\n",
    "empty.mdl": "0\n1\n0\n0\n1 1 1 1\n0\n",
    "rich.mdl": "6\n0 0 0\n1.5 0 0\n0 2.25 0\n0 0 -3\n4.125 5 -6.5\n-1e300 7 8\n2\n2\n"
                "0 1 2 0 0.75 0 0 0 0.875" + N + "2 1 3 0 0 0 0 0 0" + N + "1\nskin.bmp\n"
                "0.25 1 1 1\n2\n1 2 3 0 0 0 0 0 0" + N + "3 4 5 0.5 0.5 0.5 1 0 1" + N +
                "0\n1 1 1 0.5\n5\n1 0 1 0 0.5 0 0 -1\n2 0 2 0 0 0 1 3 -1\n"
                "3 1 3 0 0 -2.75 -1\n3 2 3 0 0 0 2 -1\n2 1 1 1 0 0 -1\n",
}


def bmp(width, height, bits, rows, extra=b"", compression=0):
    """rows: each row's bytes, padded here to 4 bytes; extra: masks or palette."""
    pixels = b"".join(r + b"\0" * (-len(r) % 4) for r in rows)
    offset = 54 + len(extra)
    return b"BM" + struct.pack("<IHHIIiiHHIIiiII", offset + len(pixels), 0, 0, offset, 40, width,
                               height, 1, bits, compression, len(pixels), 2835, 2835, 0, 0) + extra + pixels


BGR = [bytes(range(10, 100, 10)), bytes(range(1, 10))]
PALETTE = bytes([0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0])
BMPS = {
    "rgb24.bmp": bmp(3, 2, 24, BGR),
    "top_down.bmp": bmp(3, -2, 24, BGR),
    "rgb32.bmp": bmp(2, 2, 32, [bytes(range(8)), bytes(range(8, 16))]),
    "palette8.bmp": bmp(4, 1, 8, [bytes([0, 1, 2, 0])], PALETTE),
    "palette1.bmp": bmp(8, 1, 1, [bytes([0xA5])], PALETTE[:8]),
    "bitfields16.bmp": bmp(2, 1, 16, [bytes([0x1F, 0, 0xE0, 0x07])],
                           struct.pack("<III", 0xF800, 0x07E0, 0x001F), compression=3),
    "rle8.bmp": bmp(2, 1, 8, [bytes([2, 1, 0, 1])], PALETTE, compression=1),
}
LINES = ["/open model.mdl", "/open missing.mdl", "/save saved.mdl", "/save", "/loadtex model.mdl",
         "/setbb -1 1 -1 1 -1 1", "/setbb 1 2", "/showtex", "/hidetex", "/setx", "/getpos",
         "/setcylinder 12 4", "/setcolor 1 0", "open x", "/loadtex tex.bmp\n/save t.mdl\n/open t.mdl",
         "/setx 1e308\n/sety -1e308\n/setz 1e309\n/smoothpolys\n/flattenpolys\n/save b.mdl\n/open b.mdl",
         "/setcolor 1 0 0 1\n/setcylinder 2\n/SAVE x\n/polycount"]
TYPING = ["/polycount\r", "ab\bc\r", "x" * 140 + "\b\ry\r", "\t\x1b\x00\xff\r\r"]


def main():
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    corpora = {"model_file_fuzz": MODELS, "bmp_decode_fuzz": BMPS,
               "console_fuzz": {"line%02d.txt" % i: line for i, line in enumerate(LINES)},
               "text_entry_fuzz": {"typing%d.txt" % i: keys for i, keys in enumerate(TYPING)}}
    for target, seeds in corpora.items():
        os.makedirs(os.path.join(sys.argv[1], target), exist_ok=True)
        for name, content in seeds.items():
            with open(os.path.join(sys.argv[1], target, name), "wb") as out:
                out.write(content.encode("latin-1") if isinstance(content, str) else content)
    return 0


if __name__ == "__main__":
    sys.exit(main())
