"""The glTF validator finds no error or warning in the program's glTF files of every kind, also
those with clips and weights shared across bone borders, and those converted from the files of
other tools in tests/data/imports."""
import json, os, struct, subprocess, sys, tempfile

program, validator, imports = sys.argv[1], sys.argv[2], os.path.abspath(sys.argv[3])
os.chdir(tempfile.mkdtemp(prefix="vantorel-gltf-"))
row = b"".join(bytes((40 * x, 90, 200)) for x in range(4))
open("skin.bmp", "wb").write(b"BM" + struct.pack("<IHHI", 78, 0, 0, 54) +
                             struct.pack("<IiiHHIIiiII", 40, 4, 2, 1, 24, 0, 24, 0, 0, 0, 0) + row * 2)
# A column of three squares, two triangles each; three bones up it.
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


# A clip turning and moving the bones (one key with a sign-flipped quaternion), an empty clip,
# and a vertex weighed by hand.
ANIMATION = """animation 1
clips 2
clip wave 30 24 3
track 0 2
0 1 0 0 0 0 0 0
30 0.923880 0 0.382683 0 0.5 0 -1.25
track 1 1
12 0.707107 0 0 0.707107 0 0 0
track 2 3
0 1 0 0 0 0 0 0
5 -0.980067 0.198669 0 0 0 0 0
29 0.980067 0 0 0.198669 0 0 0
clip still 10 12 0
weights 2
3 0 0.250000
3 2 0.750000
"""
models = {"moving": model_file([(TRIANGLES, None, (1, 1, 1, 1))], BONES) + ANIMATION,
          "full": model_file([(TRIANGLES[:2], "skin.bmp", (1, 1, 1, 1)),
                              (TRIANGLES[2:], None, (0.2, 0.4, 0.6, 0.5))], BONES),
          "bare": model_file([(TRIANGLES, None, (1, 0.5, 0, 1))], []),
          "empty": model_file([([], None, (1, 1, 1, 1))], [], vertices=[])}
files = [name + ext for name in models for ext in (".glb", ".gltf")]
for name in files:
    open(name.split(".")[0] + ".vantorel", "w").write(models[name.split(".")[0]])
    subprocess.run([program, "--convert", name.split(".")[0] + ".vantorel", name], check=True,
                   stdout=subprocess.DEVNULL, env=dict(os.environ, DISPLAY=""))
for name in sorted(n for n in os.listdir(imports) if not n.endswith((".md", ".mtl", ".png", ".bmp"))
                   and os.path.isfile(os.path.join(imports, n))):
    files.append("imported_%s.glb" % name.replace(".", "_"))
    subprocess.run([program, "--convert", os.path.join(imports, name), files[-1]], check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=dict(os.environ, DISPLAY=""))
check = """
const v = require(process.argv[1]), fs = require('fs');
(async () => { for (const f of process.argv.slice(2)) {
  const r = await v.validateBytes(new Uint8Array(fs.readFileSync(f)),
      {uri: f, externalResourceFunction: u => Promise.resolve(new Uint8Array(fs.readFileSync(decodeURIComponent(u))))});
  console.log(JSON.stringify([f, r.issues.numErrors + r.issues.numWarnings,
      r.issues.messages.filter(m => m.severity < 2).map(m => m.code + ' ' + m.pointer)]));
}})();
"""
out = subprocess.run(["node", "-e", check, validator] + files, capture_output=True, text=True, check=True)
results = [json.loads(line) for line in out.stdout.splitlines()]
assert [r[0] for r in results] == files, out.stdout + out.stderr
assert all(r[1] == 0 for r in results), results
print("%d passed, 0 failed" % len(files))
