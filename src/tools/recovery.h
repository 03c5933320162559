#pragma once
// Recovery of unsaved work: while the model has changes not saved, the
// recovery file (formats/recovery_file.h) keeps the model and its undo
// history, written by a thread of its own at most once every recoveryGap
// (a second) and within two of the last change.
//
// Messages (console): "Unsaved changes found from HH:MM:SS. Type /recover to
// restore them." when a model with a newer recovery file is opened or the
// editor starts with it; "The recovery file PATH was refused: REASON." for a
// damaged or foreign one; "Recovery is off: REASON." once, when a file
// cannot be written (the editor goes on and tries again at the next change).

#include <chrono>
#include <string>

class Editor;

using RecoveryClock = std::chrono::steady_clock;

// A change that took an undo snapshot, an undo or a redo: the recovery file
// is due.
void noteModelChanged(Editor& e);

// Gives the writer what is due, when recoveryGap has passed since the last
// write; tells the console once when writing failed. Called by a timer.
void recoveryTick(Editor& e, RecoveryClock::time_point now = RecoveryClock::now());

// True while recoveryTick has work: a change not yet written, or a write
// under way whose failure it may have to report. An idle editor needs no
// ticks.
bool recoveryTicksWanted(Editor& e);

// After a successful save: nothing is unsaved, the files go (also a found
// one still waiting for /recover).
void modelSaved(Editor& e);

// Before /open replaces the model: its due changes are written first. After
// it: the new model has nothing unsaved, and a recovery file of its own is
// offered.
void modelClosing(Editor& e);
void modelOpened(Editor& e);

// Looks for a recovery file of the model newer than the model file, checks
// it, and offers it with the console message. Until "/recover" or
// "/discard", the file is never written over: when the model's own changes
// are due at its path, it moves aside to PATH.found first (the console says
// so) and the commands follow it there.
void offerRecovery(Editor& e);

// "/recover": the recovered model and its undo history replace the model; the
// model file is not touched. "/discard": the found file goes.
void recoverUnsavedChanges(Editor& e);
void discardUnsavedChanges(Editor& e);

// Leaving the editor: unsaved changes are written at once and the answer is
// the recovery file's path ("" when nothing is unsaved, and then our file is
// removed; a found file not yet decided on stays). When the write fails the
// answer is "" and `failure` says why.
std::string leaveEditor(Editor& e, std::string* failure = nullptr);
