"""The model the glTF clients pose, and the check of what they pose: every skinned vertex lies where
`vantorel --convert --pose` puts it, within 1e-4 of the model's size. A clip added here is posed by
every client."""
import math, os, subprocess, tempfile

# A tube of four rings around a three-bone chain up y, clips: a bend of the middle bone, a twist,
# the root moving, and a stretch; one vertex weighted by hand.
rings, sides = 4, 6
vertices = [(0.5 * math.cos(2 * math.pi * s / sides), r, 0.5 * math.sin(2 * math.pi * s / sides))
            for r in range(rings) for s in range(sides)]
triangles, bone_of = [], []
for r in range(rings - 1):
    for s in range(sides):
        a, b = r * sides + s, r * sides + (s + 1) % sides
        triangles += [(a, b, b + sides), (a, b + sides, a + sides)]
        bone_of += [r + 1] * 2
bones = [(1, (0, 0, 0)), (2, (0, 1, 0)), (3, (0, 2, 0)), (4, (0, 3, 0))]  # root, then a chain


def quat(axis, angle):
    s = math.sin(angle / 2)
    return (math.cos(angle / 2),) + tuple(s * a for a in axis)


def key(frame, q=(1, 0, 0, 0), t=(0, 0, 0), s=(1, 1, 1), how="linear"):
    return "%d " % frame + " ".join("%.6f" % x for x in q + t + s) + " " + how


clips = [("bend", 24, 24, {2: [key(0), key(10, quat((0, 0, 1), 1.2)), key(20, quat((1, 0, 0), -0.7))],
                           0: [key(0), key(24, t=(0.5, 0, -0.25))]}),
         ("twist", 12, 30, {1: [key(3, quat((0, 1, 0), 2.5))], 3: [key(0), key(12, quat((0, 0, 1), -1.0))]}),
         # Bones below the root moving and scaling, smooth, held (step) and mixed keys.
         ("stretch", 24, 24, {1: [key(0), key(10, quat((0, 0, 1), 0.3), how="step"), key(20, quat((0, 0, 1), -0.3))],
                              2: [key(0, how="smooth"), key(8, quat((0, 0, 1), 0.5), (0.3, 0, 0), (1, 1.5, 1), "smooth"),
                                  key(16, quat((1, 0, 0), 0.4), (0, 0.2, 0), how="smooth"), key(24, how="smooth")],
                              3: [key(4, quat((0, 1, 0), 1.0), how="step"), key(12, quat((0, 1, 0), -1.0), how="step")]})]
fps_of = {name: fps for name, _, fps, _ in clips}


def convert(program, *args):
    subprocess.run([program, "--convert", "tube.vantorel", *args], check=True,
                   env=dict(os.environ, DISPLAY=""), stdout=subprocess.DEVNULL)


def write_model(program):
    """Writes tube.vantorel, its tube.glb and rest.obj in a new folder, the working one from now."""
    os.chdir(tempfile.mkdtemp(prefix="vantorel-client-"))
    lines = [str(len(vertices))] + ["%f %f %f" % v for v in vertices] + ["1", str(len(triangles))]
    lines += ["%d %d %d " % t + "0 " * 6 + "0 1 0 " * 4 for t in triangles] + ["0", "0.8 0.8 0.8 1"]
    lines += [str(len(bones))]
    for n, (depth, at) in enumerate(bones):
        lines.append("%d %f %f %f 0 0 " % ((depth,) + at) +
                     "".join("%d " % i for i, b in enumerate(bone_of) if b == n) + "-1")
    lines += ["animation 2", "clips %d" % len(clips)]
    for name, length, fps, tracks in clips:
        lines.append("clip %s %d %d %d" % (name, length, fps, len(tracks)))
        for bone in sorted(tracks):
            lines += ["track %d %d" % (bone, len(tracks[bone]))] + tracks[bone]
    lines += ["weights 2", "8 1 0.300000", "8 3 0.700000"]
    open("tube.vantorel", "w").write("\n".join(lines) + "\n")
    convert(program, "tube.glb")
    convert(program, "rest.obj")
    return os.getcwd()


def obj_points(path):
    return [tuple(map(float, l.split()[1:4])) for l in open(path) if l.startswith("v ")]


def check_poses(program, requests, posed):
    """Compares a client's poses, per (clip, frame) request its vertices as [rest x, y, z, posed x,
    y, z], with the editor's; returns the number of vertices compared."""
    rest = obj_points("rest.obj")
    size = max(max(p[k] for p in rest) - min(p[k] for p in rest) for k in range(3))
    compared = 0
    for (name, frame), client in zip(requests, posed, strict=True):
        convert(program, "posed.obj", "--pose", name, str(frame))
        ours = dict(zip((tuple(round(c, 4) for c in p) for p in rest), obj_points("posed.obj")))
        assert len(ours) == len(rest) and client, (name, frame, len(client))
        for point in client:
            want = ours[tuple(round(c, 4) for c in point[:3])]
            gap = max(abs(a - b) for a, b in zip(point[3:], want))
            assert gap <= 1e-4 * size, "%s at frame %s: vertex %s is at %s, not %s (%g off)" % (
                name, frame, point[:3], point[3:], want, gap)
            compared += 1
    return compared
