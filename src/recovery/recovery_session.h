#pragma once
// Recovery of unsaved work: while the model has changes not saved, the
// recovery file (recovery/recovery_file.h, where: recovery/recovery_names.h)
// keeps the model and its undo history, written by a thread of its own at
// most once every recoveryGap (a second) and within two of the last change.
// The main thread copies the model in slices between frames, so that no
// tick holds it for long at any model size.
//
// Messages (console): "Unsaved changes found from HH:MM:SS. Type /recover to
// restore them." for each recovery file of a model opened, or of the model
// the editor starts with, which no running editor holds (a note before it
// when the model file changed since); "The recovery file PATH was refused:
// REASON." for a damaged or foreign one, a link, a fifo or another user's
// file; "Recovery is off: REASON." once, when a file cannot be written or
// the model cannot be copied (the editor goes on and tries again at the next
// change).

#include <string>

#include "recovery/recovery_state.h"

class Document;

// A change of the document (the session listens for them): the recovery file
// is due.
void noteModelChanged(RecoveryState& e);

// Copies a slice of the model for the writer, once recoveryGap has passed
// since the last write, and gives the writer the copy when it is whole (a
// change in between starts it again); tells the console once when writing
// failed. Called by a timer; true when it added a console line.
bool recoveryTick(RecoveryState& e, RecoveryClock::time_point now = RecoveryClock::now());

// True while recoveryTick has work: a change not yet written, a copy under
// way, or a write under way whose failure it may have to report. An idle
// editor needs no ticks.
bool recoveryTicksWanted(RecoveryState& e);
// Milliseconds until the next tick: 0 while a copy is under way, -1 when no
// tick is wanted.
int recoveryTickDelayMs(RecoveryState& e);

// After a successful save: nothing is unsaved and this editor's file goes.
// Files found earlier stay until "/recover" or "/discard".
void modelSaved(RecoveryState& e);

// Before /open replaces the model: its due changes are written first, and
// its file and the files found are let go (they stay on disk, found again
// when the model is opened). After it: the new model has nothing unsaved,
// and the recovery files of its own are offered.
void modelClosing(RecoveryState& e);
void modelOpened(RecoveryState& e);

// Looks for the recovery files of the model that no running editor holds,
// checks each (type, owner, header, the model it belongs to), holds those
// that pass and offers them with the console message, the console shown
// above the other panels with the offer as its last line.
void offerRecovery(RecoveryState& e);

// "/recover": the newest found file's model and undo history replace the
// model (the model file is not touched; the undo steps come a moment later,
// see installRecoveredSteps) and the file becomes this editor's, while the
// changes made before, if any, are offered in their stead.
// "/discard": the newest found file goes. Either then offers the next one.
void recoverUnsavedChanges(RecoveryState& e);
void discardUnsavedChanges(RecoveryState& e);

// "/recover" shows the model at once and reads its undo steps on a thread of
// their own, newest first: this puts those read under the undo steps taken
// since. With `all` it waits until every one is read (a recovery write must
// keep them); else only while there is no undo step at all and more are to
// come (undo calls it first, so a 'z' waits for one step at most). The
// console says why when the oldest of them could not be read.
void installRecoveredSteps(RecoveryState& e, bool all = true);

// Leaving the editor: unsaved changes are written at once (again, when the
// last write failed) and the answer is the recovery file's absolute path
// ("" when nothing is unsaved, and then this editor's file is removed; files
// found and not decided on stay). When the write fails the answer is "" and
// `failure` says why.
std::string leaveEditor(RecoveryState& e, std::string* failure = nullptr);
// The same, telling standard output "Unsaved changes kept in PATH", or
// standard error that the changes could not be kept and why.
void leaveEditorAndTell(RecoveryState& e);
