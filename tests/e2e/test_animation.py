"""The acceptance journey of animation: a strip of four triangles gets a two-bone arm (Add Bone
clicks), its triangles are assigned (Select Polygon, Select Bone, B), animation mode is entered
with 'A', a bend of the forearm is keyed at frame 10 with Rotate, the clip plays and stops, and
/export writes a .glb (which the validator checks as every export of clips and weights, in
gltf_validator): three.js shows the bend at frame 10, and the posed mesh has no gap at the elbow:
every vertex of a rest position goes to one place."""
import json, os, subprocess, sys
import driver

THREE = os.environ.get("VANTOREL_THREE_DIR", "")
POINTS = [(x, y, 0) for y in (-0.25, 0.25) for x in (0, 1, 2)]
STRIP = "\n".join(["6"] + ["%f %f %f" % p for p in POINTS] + ["1", "4"] +
                  ["%d %d %d " % t + "0.000000 " * 6 + "0.000000 1.000000 0.000000 " * 4
                   for t in [(0, 1, 4), (0, 4, 3), (1, 2, 5), (1, 5, 4)]] +
                  ["0", "1.000000 1.000000 1.000000 1.000000", "0", ""])


def check_export(folder):
    glb = os.path.join(folder, "arm.glb")
    out = subprocess.run(["node", os.path.join(THREE, "three_pose.mjs"), glb, json.dumps([["clip1", 10 / 24]])],
                         capture_output=True, text=True, check=True).stdout
    posed = {}
    for point in json.loads(out)[0]:
        posed.setdefault(tuple(round(c, 5) for c in point[:3]), []).append(point[3:])
    assert len(posed) == 6, posed
    for rest, places in posed.items():  # no gap: one place for every vertex of a rest position
        assert all(max(abs(a - b) for a, b in zip(p, places[0])) < 1e-6 for p in places), (rest, places)
    tip = posed[(2, -0.25, 0)][0]  # the forearm turned 1.57 radians about the elbow (1, 0, 0)
    assert abs(tip[0] - 1.2508) < 1e-3 and abs(tip[1] - 0.9998) < 1e-3, tip
    root = posed[(0, 0.25, 0)][0]
    assert max(abs(a - b) for a, b in zip(root, (0, 0.25, 0))) < 1e-6, root


driver.play([
    ("file", "arm.txt", STRIP),
    *driver.open_in_console("arm.txt"),
    ("key", "Home"),
    # The Side view: origin at (200, 450), 50 pixels a unit. A root, then the upper arm and forearm.
    ("key", "x"),
    ("click", 200, 450),
    ("trace", "0 0 0 0 0 0"),
    ("click", 250, 450),
    ("trace", "1 1 0 0 0 0"),
    ("click", 300, 450),
    ("trace", "2 2 0 0 0 0"),
    # Each arm's two triangles, its bone, then B.
    ("key", "F2"),
    ("drag", 190, 470, 255, 430),
    ("trace", "make selection on 0 from [-0.200000 -0.400000] -> [1.100000 0.400000]"),
    ("key", "F3"),
    ("drag", 245, 455, 255, 445),
    ("trace", "Looking up bones..."),
    ("key", "B", "F2"),
    ("drag", 245, 470, 310, 430),
    ("trace", "make selection on 0 from [0.900000 -0.400000] -> [2.200000 0.400000]"),
    ("key", "F3"),
    ("drag", 295, 455, 305, 445),
    ("trace", "Looking up bones..."),
    ("key", "B", "A", "Home"),
    ("click", 450, 483),  # the console prompt
    ("line", "/frame 10"),
    ("trace", "/frame /frame 10 26"),
    ("key", "Home", "r"),
    ("drag", 300, 450, 300, 293),  # up 157 pixels: the forearm turns 1.57 radians
    ("key", "Home"),
    ("click", 450, 483),
    ("line", "/play"),
    ("trace", "/play /play (null) 29"),
    ("line", "/stop"),
    ("trace", "/stop /stop (null) 30"),
    ("line", "/export arm.glb"),
    ("line", "/save arm.vantorel"),
    ("trace", "Saving model to file: arm.vantorel"),
    ("check", check_export),
    ("close", 0),
])
