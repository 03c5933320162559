#!/usr/bin/env python3
"""Usage: make_seeds.py OUTPUT_DIR. Writes OUTPUT_DIR/<fuzz target>/ with small valid inputs."""
import os, struct, sys, zlib

N = " 0.000000 1.000000 0.000000" * 4 + " \n"  # a polygon line's constant normals
MODELS = [
    "0\n1\n0\n0\n1 1 1 1\n0\n",
    "6\n0 0 0\n1.5 0 0\n0 2.25 0\n0 0 -3\n4.125 5 -6.5\n-1e300 7 8\n2\n2\n0 1 2 0 0.75 0 0 0 0.875" + N +
    "2 1 3 0 0 0 0 0 0" + N + "1\nskin.bmp\n0.25 1 1 1\n2\n1 2 3 0 0 0 0 0 0" + N + "3 4 5 0.5 0.5 0.5 1 0 1" + N +
    "0\n1 1 1 0.5\n5\n1 0 1 0 0.5 0 0 -1\n2 0 2 0 0 0 1 3 -1\n3 1 3 0 0 -2.75 -1\n3 2 3 0 0 0 2 -1\n2 1 1 1 0 0 -1\n"]


def bmp(width, height, bits, rows, extra=b"", compression=0):
    """rows: each row's bytes, padded here to 4 bytes; extra: masks or palette."""
    pixels = b"".join(r + b"\0" * (-len(r) % 4) for r in rows)
    offset = 54 + len(extra)
    return b"BM" + struct.pack("<IHHIIiiHHIIiiII", offset + len(pixels), 0, 0, offset, 40, width,
                               height, 1, bits, compression, len(pixels), 2835, 2835, 0, 0) + extra + pixels


BGR, PALETTE = [bytes(range(10, 100, 10)), bytes(range(1, 10))], bytes([0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0])
BMPS = [bmp(3, 2, 24, BGR), bmp(3, -2, 24, BGR), bmp(2, 2, 32, [bytes(range(8)), bytes(range(8, 16))]),
        bmp(4, 1, 8, [bytes([0, 1, 2, 0])], PALETTE), bmp(8, 1, 1, [bytes([0xA5])], PALETTE[:8]),
        bmp(2, 1, 16, [bytes([0x1F, 0, 0xE0, 0x07])], struct.pack("<III", 0xF800, 0x07E0, 0x001F), 3),
        bmp(2, 1, 8, [bytes([2, 1, 0, 1])], PALETTE, compression=1)]
def png(width, height, rows):
    """8-bit RGB rows, each a filter byte of 0 then the pixels."""
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    data = zlib.compress(b"".join(b"\0" + r for r in rows))
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", data) + chunk(b"IEND", b"")


def tga(width, height, bits, pixels, kind=2):
    return struct.pack("<BBBHHBHHHHBB", 0, 0, kind, 0, 0, 0, 0, 0, width, height, bits, 0) + pixels


# A JPEG's start (markers only): the decoder's header checks get a foothold.
JPEG_START = bytes([0xFF, 0xD8, 0xFF, 0xE0, 0, 16]) + b"JFIF\0\1\1\0\0\1\0\1\0\0" + bytes(
    [0xFF, 0xC0, 0, 11, 8, 0, 2, 0, 3, 1, 1, 0x11, 0, 0xFF, 0xD9])
IMAGES = BMPS + [png(3, 2, [bytes(range(9)), bytes(range(9, 18))]), tga(2, 2, 24, bytes(range(12))),
                 tga(2, 1, 32, bytes(range(8)), kind=10), JPEG_START]
LINES = ["/open model.mdl", "/open missing.mdl", "/save saved.mdl", "/save", "/loadtex model.mdl",
         "/setbb -1 1 -1 1 -1 1", "/setbb 1 2", "/showtex", "/hidetex", "/setx", "/getpos",
         "/setcylinder 12 4", "/setcolor 1 0", "open x", "/loadtex tex.bmp\n/save t.mdl\n/open t.mdl",
         "/setx 1e308\n/sety -1e308\n/setz 1e309\n/smoothpolys\n/flattenpolys\n/save b.mdl\n/open b.mdl",
         "/setcolor 1 0 0 1\n/setcylinder 2\n/SAVE x\n/polycount",
         "/refimage side tex.bmp 4\n/refimage TOP model.mdl\n/refimage front off\n/refimage full x",
         "/ik\n/ik 5\n/ik 1\n/ik 99999999999\n/ik off"]
# Recovery files: the first byte plants the file as a regular file, a link, a fifo, a folder or
# with a hole after it; then the body: when, the path, the name, a model of one empty group and
# no bones, clips, weights, seams, bone names or undo steps (or its counts all zero).
EMPTY_MODEL = (struct.pack("<qI", 1700000000, 2) + b"/m" + struct.pack("<I", 1) + b"m" +
               struct.pack("<IIIiI4dIIIIII", 0, 1, 0, 0, 0, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0))
RECOVERY_BODIES = [bytes([plant]) + EMPTY_MODEL for plant in range(5)] + [
    b"\0", b"\0" + struct.pack("<qI", 1700000000, 2) + b"/m" + bytes(40)]
# Animation, seam and bone name sections after the fuzz target's arm of three bones and six vertices.
SECTIONS = ["animation 1\nclips 1\nclip bend 24 24 2\ntrack 0 1\n0 1 0 0 0 0.5 0 0\n"
            "track 2 2\n0 1 0 0 0 0 0 0\n10 0.707107 0 0 0.707107 0 0 0\nweights 2\n1 1 0.25\n1 2 0.75\n",
            "animation 2\nclips 2\nclip a 1 1 1\ntrack 1 2\n0 1 0 0 0 0 .5 0 1 2 1 smooth\n1 1 0 0 0 0 0 0 1 1 1 step\nclip b 100000 1000 0\nweights 0\nseams 2\n0 1\n1 4\n",
            "seams 3\n0 1\n0 4\n3 5\n", "seams 1\n0 1\nbonenames 2\n0 hip\n2 hand.L\n",
            "bonenames 1\n1 arm.L\n", "a note\n", ""]
TYPING = ["/polycount\r", "ab\bc\r", "x" * 140 + "\b\ry\r", "\t\x1b\x00\xff\r\r"]

if len(sys.argv) != 2:
    sys.exit(__doc__)
for target, seeds in {"model_file_fuzz": MODELS, "image_decode_fuzz": IMAGES, "console_fuzz": LINES,
                      "text_entry_fuzz": TYPING, "recovery_file_fuzz": RECOVERY_BODIES,
                      "animation_section_fuzz": SECTIONS}.items():
    os.makedirs(os.path.join(sys.argv[1], target), exist_ok=True)
    for i, content in enumerate(seeds):
        with open(os.path.join(sys.argv[1], target, "seed%02d" % i), "wb") as out:
            out.write(content.encode("latin-1") if isinstance(content, str) else content)
