#pragma once
// Undo snapshots. There is no redo.

class Editor;

// Records what the model file would carry, and the model's name, as the
// newest snapshot; beyond undoLimit the oldest goes.
void takeSnapshot(Editor& e);

// Puts the newest snapshot back as a fresh model: the selections end empty
// (they pointed into the replaced model) and normals, flags and list order are
// as a freshly read model file gives them. With no snapshot left nothing
// happens.
void undo(Editor& e);
