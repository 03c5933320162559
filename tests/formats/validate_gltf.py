"""The Khronos glTF validator finds no error and no warning in the program's
glTF files (with and without skeleton, texture, several groups, and empty),
and posing an exported skeleton moves exactly the triangles of the turned bone
and its descendants, as glTF skinning computes them."""
import json, math, os, struct, subprocess, sys, tempfile

program, validator = sys.argv[1], sys.argv[2]
work = tempfile.mkdtemp(prefix="vantorel-gltf-")
os.chdir(work)
row = b"".join(bytes((40 * x, 90, 200)) for x in range(4))
open("skin.bmp", "wb").write(b"BM" + struct.pack("<IHHI", 78, 0, 0, 54) +
                             struct.pack("<IiiHHIIiiII", 40, 4, 2, 1, 24, 0, 24, 0, 0, 0, 0) + row * 2)

# A column of three squares, two triangles each: vertices 2y and 2y+1 at height y.
VERTICES = [(x, y, 0) for y in range(4) for x in (0, 1)]
TRIANGLES = [(2 * y, 2 * y + 1, 2 * y + 3) for y in range(3)] + [(2 * y, 2 * y + 3, 2 * y + 2) for y in range(3)]
BONES = [(1, (0.5, 0, 0), [0, 3]), (2, (0.5, 1.5, 0), [1, 4]), (3, (0.5, 3, 0), [2, 5])]


def model_file(groups, bones, vertices=VERTICES):
    lines = [str(len(vertices))] + ["%f %f %f" % v for v in vertices] + [str(len(groups))]
    for triangles, texture, colour in groups:
        lines += [str(len(triangles))] + ["%d %d %d 0 1 1 0 0 1" % t + " 0 1 0" * 4 for t in triangles]
        lines += (["1", texture] if texture else ["0"]) + ["%f %f %f %f" % colour]
    lines += [str(len(bones))] + ["%d %f %f %f 0 0 " % ((d,) + p) + "".join("%d " % i for i in polys) + "-1"
                                  for d, p, polys in bones]
    return "\n".join(lines) + "\n"


two_groups = [(TRIANGLES[:2], "skin.bmp", (1, 1, 1, 1)), (TRIANGLES[2:], None, (0.2, 0.4, 0.6, 0.5))]
models = {"full": model_file(two_groups, BONES),
          "bare": model_file([(TRIANGLES, None, (1, 0.5, 0, 1))], []),
          "bones": model_file([(TRIANGLES, None, (1, 1, 1, 1))], BONES),
          "empty": model_file([([], None, (1, 1, 1, 1))], [], vertices=[])}
files = []
for name, text in models.items():
    open(name + ".vantorel", "w").write(text)
    for ext in (".glb", ".gltf"):
        subprocess.run([program, "--convert", name + ".vantorel", name + ext], check=True,
                       stdout=subprocess.DEVNULL, env=dict(os.environ, DISPLAY=""))
        files.append(name + ext)

check = """
const v = require(process.argv[1]), fs = require('fs');
(async () => { for (const f of process.argv.slice(2)) {
  const r = await v.validateBytes(new Uint8Array(fs.readFileSync(f)),
      {uri: f, externalResourceFunction: u => Promise.resolve(new Uint8Array(fs.readFileSync(decodeURIComponent(u))))});
  console.log(JSON.stringify([f, r.issues.numErrors, r.issues.numWarnings,
      r.issues.messages.filter(m => m.severity < 2).map(m => m.code + ' ' + m.pointer)]));
}})();
"""
out = subprocess.run(["node", "-e", check, validator] + files, capture_output=True, text=True, check=True)
results = [json.loads(line) for line in out.stdout.splitlines()]
assert [r[0] for r in results] == files, out.stdout + out.stderr
for f, errors, warnings, messages in results:
    assert errors == 0 and warnings == 0, (f, messages)

# Posing: bone 1 turns a quarter about z at its start joint (0.5, 0, 0).
data = open("full.glb", "rb").read()
json_length = struct.unpack_from("<I", data, 12)[0]
gltf = json.loads(data[20:20 + json_length])
binary = data[20 + json_length + 8:]


def read(accessor, fmt, width):
    a = gltf["accessors"][accessor]
    view = gltf["bufferViews"][a["bufferView"]]
    size = struct.calcsize("<" + fmt)
    return [struct.unpack_from("<" + fmt * width, binary, view["byteOffset"] + i * size * width)
            for i in range(a["count"])]


def mul(a, b):
    return [[sum(a[i][k] * b[k][j] for k in range(4)) for j in range(4)] for i in range(4)]


def local(node, turn):
    t = gltf["nodes"][node].get("translation", [0, 0, 0])
    c, s = (0, 1) if turn else (1, 0)
    return [[c, -s, 0, t[0]], [s, c, 0, t[1]], [0, 0, 1, t[2]], [0, 0, 0, 1]]


skin = gltf["skins"][0]
parents = {c: n for n, node in enumerate(gltf["nodes"]) for c in node.get("children", [])}
turned = skin["joints"][1]


def world(node):
    m = local(node, node == turned)
    return mul(world(parents[node]), m) if node in parents else m


ibm = read(skin["inverseBindMatrices"], "f", 16)
skinning = [mul(world(j), [[ibm[n][4 * c + r] for c in range(4)] for r in range(4)])
            for n, j in enumerate(skin["joints"])]
moved = set()
for primitive in gltf["meshes"][0]["primitives"]:
    attributes = primitive["attributes"]
    positions = read(attributes["POSITION"], "f", 3)
    joints, weights = read(attributes["JOINTS_0"], "B", 4), read(attributes["WEIGHTS_0"], "f", 4)
    corners = [i[0] for i in read(primitive["indices"], "H", 1)]
    for t in range(0, len(corners), 3):
        triangle = corners[t:t + 3]
        before = [positions[i] for i in triangle]
        after = [[sum(w * sum(skinning[j][r][k] * (list(p) + [1])[k] for k in range(4))
                      for j, w in zip(joints[i], weights[i])) for r in range(3)]
                 for i, p in zip(triangle, before)]
        number = TRIANGLES.index(tuple(VERTICES.index(tuple(int(c) for c in p)) for p in before))
        if any(math.dist(a, b) > 1e-6 for a, b in zip(after, before)):
            moved.add(number)
            for a, b in zip(after, before):  # a quarter turn about (0.5, 0, 0)
                assert math.dist(a, (0.5 - b[1], b[0] - 0.5, b[2])) < 1e-5, (a, b)
assert moved == {1, 2, 4, 5}, moved
print("%d passed, 0 failed" % (len(files) + 1))
