"""Godot 3 imports the exported .glb and poses it (godot_pose.gd) at times whole at 15 fps and the
clip's: skeleton, clips, lengths and skinned vertices as `--convert --pose` (client_pose.py) has them."""
import json, math, os, shutil, subprocess, sys
import client_pose as tube
sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "support"))
from tied_children import dying_with_me

program = sys.argv[1]
work = tube.write_model(program)
os.mkdir("godot")
for name in ("tube.glb", os.path.join(os.path.dirname(__file__), "godot_pose.gd")):
    shutil.copy(name, "godot")
requests = [(name, f) for name, length, fps, _ in tube.clips
            for f in range(0, length + 1, fps // math.gcd(fps, 15))]
json.dump([[name, f / tube.fps_of[name]] for name, f in requests], open("godot/requests.json", "w"))
open("godot/project.godot", "w").write("config_version=4\n")
env = dict(os.environ, XDG_CONFIG_HOME=work, XDG_DATA_HOME=work, XDG_CACHE_HOME=work)


def godot(*args):  # the editor imports the .glb; a script then runs on what it made
    run = subprocess.run(["godot3", "--audio-driver", "Dummy", "--path", "godot", *args], env=env,
                         capture_output=True, text=True, timeout=120, preexec_fn=dying_with_me())
    return run, [l[6:] for l in run.stdout.splitlines() if l.startswith("POSES ")]


godot("--editor", "--quit")
run, found = godot("-s", "godot_pose.gd")
assert found, "Godot printed no poses (status %d):\n%s%s" % (run.returncode, run.stdout, run.stderr)
out = json.loads(found[0])
bones = [["bone_%d" % n, max([m for m in range(n) if tube.bones[m][0] == d - 1], default=-1)]
         for n, (d, _) in enumerate(tube.bones)]
assert out["bones"] == bones, "Godot's bones [name, parent] are %s, not %s" % (out["bones"], bones)
clips = {name: length / fps for name, length, fps, _ in tube.clips}
assert out["clips"].keys() == clips.keys() and all(
    abs(out["clips"][c] - clips[c]) < 1e-6 for c in clips), "clips %s, not %s" % (out["clips"], clips)
compared = tube.check_poses(program, requests, out["poses"])
shutil.rmtree(work)
print("%d passed, 0 failed (%d skinned vertices compared)" % (len(requests), compared))
