"""A real glTF client shows the editor's motion: three.js poses the exported .glb on the CPU at
several times of each clip, and every skinned vertex lies where `--convert --pose` puts it
(client_pose.py). Arguments: the program, the folder with three in node_modules."""
import json, os, shutil, subprocess, sys
import client_pose as tube

program, modules = sys.argv[1], sys.argv[2]  # three_pose.mjs lies in `modules` beside three
work = tube.write_model(program)
requests = [(name, f) for name, length, _, _ in tube.clips for f in (0, 2.5, 7, 10, 15.25, length)]
posed = json.loads(subprocess.run(
    ["node", os.path.join(modules, "three_pose.mjs"), "tube.glb",
     json.dumps([[name, frame / tube.fps_of[name]] for name, frame in requests])],
    capture_output=True, text=True, check=True).stdout)
compared = tube.check_poses(program, requests, posed)
shutil.rmtree(work)
print("%d passed, 0 failed (%d skinned vertices compared)" % (len(requests), compared))
