#pragma once
// Undo and redo snapshots, and the memory the history may hold. Taking a
// snapshot, an undo and a redo each move the document's revision on.

#include <cstddef>
#include <functional>

class Document;

// Records what the model file would carry, and the model's name, as the
// newest snapshot; beyond undoLimit, or beyond undoMemoryBudget for the undo
// and redo lists together, the oldest go (the console says so once). Empties
// the redo list: a new change starts a new future. Marks the model as changed
// for the recovery file.
void takeSnapshot(Document& e);

// Puts the newest snapshot back as a fresh model, keeping the model it
// replaces for redo: the selections end empty (they pointed into the
// replaced model) and normals, flags and list order are as a freshly read
// model file gives them. With no snapshot left nothing happens.
void undo(Document& e);

// Takes back the newest undo, keeping the model it replaces for undo, with the
// same fresh-model rules. With nothing undone since the last change nothing
// happens.
void redo(Document& e);

// A quarter of the machine's memory, or of the address space the process may
// use when that is less.
size_t defaultUndoMemoryBudget();

// Runs an operation that may edit the model. When memory runs out, the model
// is put back as it was before the operation (from the snapshot it took), the
// console says "Not enough memory for this edit: the model is unchanged." and
// the answer is false. The undo and redo lists stay as they were, unless
// putting the model back needs their memory: then redo steps, and after them
// the oldest undo steps, go, and the console says so.
bool runEdit(Document& e, const std::function<void()>& operation);
