"""A textured glTF converted from another folder keeps its texture, however long the paths: the
GLB written holds the picture, which a second conversion writes out again beside its OBJ."""
import os
import driver

DATA = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "imports")
IN = "models/made/by/another/tool/in/a/folder/far/away/"
OUT = "exports/for/the/game/engine/in/another/folder/"


def data(name):
    with open(os.path.join(DATA, name), "rb") as f:
        return f.read()


driver.play([
    ("file", IN + "pyramid.glb", data("pyramid.glb")),
    ("file", IN + "checker.png", data("checker.png")),
    ("file", OUT + "README", "the engine's assets\n"),
    ("run", ["--convert", IN + "pyramid.glb", OUT + "pyramid.glb"], 0, "", ""),
    ("run", ["--convert", OUT + "pyramid.glb", "back.obj"], 0, "", ""),
    ("saved", "back.mtl",
     "newmtl material0\nKd 1.000000 1.000000 1.000000\nd 1.000000\nmap_Kd back_0.png\n"),
])
