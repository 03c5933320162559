#!/usr/bin/env python3
"""Writes character.glb: a low-poly figure in a T pose, about 1.9 units tall, the way game
characters are blocked out: a body (hips to the top of the head) of elliptic rings, and legs
and arms as capped tubes that reach into it. Run from this folder."""
import json
import math
import struct

SIDES = 8
vertices, faces = [], []


def ring(centre, axis, radii):
    """A ring of SIDES vertices about `centre`, across the axis 'x' or 'y', radii (a, b)."""
    first = len(vertices) + 1
    for k in range(SIDES):
        t = 2 * math.pi * k / SIDES
        a, b = radii[0] * math.cos(t), radii[1] * math.sin(t)
        x, y, z = centre
        vertices.append((x + a, y, z - b) if axis == "y" else (x, y + a, z - b))
    return first


def tube(centres, axis, radii, outward):
    """Rings joined by quads (two triangles each), both ends closed by a fan."""
    rings = [ring(c, axis, r) for c, r in zip(centres, radii)]
    for lower, upper in zip(rings, rings[1:]):
        for k in range(SIDES):
            a, b = lower + k, lower + (k + 1) % SIDES
            c, d = upper + (k + 1) % SIDES, upper + k
            quad = [(a, b, c), (a, c, d)]
            faces.extend(quad if outward else [f[::-1] for f in quad])
    for end, centre, flip in ((rings[0], centres[0], True), (rings[-1], centres[-1], False)):
        vertices.append(centre)
        tip = len(vertices)
        for k in range(SIDES):
            f = (end + k, end + (k + 1) % SIDES, tip)
            faces.append(f[::-1] if flip == outward else f)


body = [(0.9, 0.16, 0.11), (1.05, 0.2, 0.12), (1.2, 0.19, 0.11), (1.35, 0.22, 0.12),
        (1.45, 0.24, 0.13), (1.52, 0.1, 0.08), (1.58, 0.06, 0.06), (1.65, 0.1, 0.1),
        (1.75, 0.12, 0.12), (1.85, 0.1, 0.1), (1.9, 0.05, 0.05)]
tube([(0, y, 0) for y, _, _ in body], "y", [(a, b) for _, a, b in body], True)
for side in (-1, 1):
    legs = [(0.98, 0.09), (0.75, 0.08), (0.5, 0.06), (0.25, 0.05), (0.05, 0.055)]
    tube([(0.1 * side, y, 0) for y, _ in legs], "y", [(r, r) for _, r in legs], False)
    arms = [(0.18, 0.06), (0.4, 0.05), (0.6, 0.045), (0.82, 0.04)]
    tube([(x * side, 1.44, 0) for x, _ in arms], "x", [(r, r) for _, r in arms], side < 0)

positions = b"".join(struct.pack("<3f", *v) for v in vertices)
indices = b"".join(struct.pack("<3H", *(i - 1 for i in f)) for f in faces)
low = [min(v[k] for v in vertices) for k in range(3)]
high = [max(v[k] for v in vertices) for k in range(3)]
gltf = {
    "asset": {"version": "2.0", "generator": "make_character.py"},
    "scene": 0, "scenes": [{"nodes": [0]}], "nodes": [{"mesh": 0, "name": "character"}],
    "meshes": [{"primitives": [{"attributes": {"POSITION": 0}, "indices": 1}]}],
    "buffers": [{"byteLength": len(positions) + len(indices)}],
    "bufferViews": [{"buffer": 0, "byteLength": len(positions), "target": 34962},
                    {"buffer": 0, "byteOffset": len(positions), "byteLength": len(indices),
                     "target": 34963}],
    "accessors": [{"bufferView": 0, "componentType": 5126, "count": len(vertices),
                   "type": "VEC3", "min": low, "max": high},
                  {"bufferView": 1, "componentType": 5123, "count": 3 * len(faces),
                   "type": "SCALAR"}],
}
text = json.dumps(gltf, separators=(",", ":")).encode()
text += b" " * (-len(text) % 4)
body = positions + indices
body += b"\0" * (-len(body) % 4)
with open("character.glb", "wb") as out:
    out.write(struct.pack("<3I", 0x46546C67, 2, 12 + 8 + len(text) + 8 + len(body)))
    out.write(struct.pack("<2I", len(text), 0x4E4F534A) + text)
    out.write(struct.pack("<2I", len(body), 0x004E4942) + body)
