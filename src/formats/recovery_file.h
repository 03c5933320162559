#pragma once
// The recovery file: a model with its undo history, kept beside the model
// while it has unsaved changes.
//
// Layout: the line "vantorel-recovery 2", then a line with the body's length
// and its checksum (FNV-1a over 8-byte words) in hexadecimal, then the body in little-endian
// binary: when the last change was made (seconds since the epoch), the
// model's name, the model in full, and the undo steps from the newest to the
// oldest, each as its difference from the next newer image. A difference
// keeps, per array (vertices, each group's polygons, bones, each clip's
// tracks, the hand-set weights), the common
// start and end and, when the middles have the same length, only the runs
// that changed; polygon corners are compared after renumbering for the
// vertices added or removed, so a small edit of a large model costs a few
// bytes.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/model_image.h"

inline constexpr std::string_view kRecoveryHeader = "vantorel-recovery 2\n";

struct RecoveryContents {
  int64_t changedAt = 0;            // seconds since the epoch of the last change kept
  Snapshot model;                   // the model as it was then
  std::vector<Snapshot> undoSteps;  // oldest first, as the undo stack holds them
};

// The differences between undo steps already encoded by an earlier write,
// by the pair of images (kept alive here, so a pair is never mistaken for
// another that took its place in memory). Only the newest step's difference
// changes from one write to the next.
struct RecoveryStepCache {
  struct Entry {
    std::shared_ptr<const ModelImage> older, newer;
    std::string bytes;
  };
  std::vector<Entry> entries;
};

// With a cache, differences found there are reused, and the cache then holds
// those of this file only.
std::string formatRecoveryFile(const RecoveryContents& contents,
                               RecoveryStepCache* cache = nullptr);

// The first two lines put around a body: what a file needs to reach the
// body's own checks (a fuzzer's way in past the checksum).
std::string recoveryFileAround(std::string_view body);

// The cheap part of reading: the first line, the checksum, when the last
// change was made and the model's name; the model and its steps are read
// (and checked) by parseRecoveryFile.
bool readRecoveryHeader(std::string_view text, RecoveryContents& contents, std::string* error);

// Rejects a file that is not a recovery file, is of another version, fails
// its checksum, or holds anything a model file could not (corners or bone
// polygons out of range, bone depths out of order, numbers that are not
// finite): false, with the reason in `error`.
bool parseRecoveryFile(std::string_view text, RecoveryContents& contents, std::string* error);

// Where the recovery file of the model saved as `modelPath` goes: beside it,
// as ".NAME.recover"; and in `stateDir` (named after the model's whole path)
// when that folder takes no new file.
std::string recoveryPathBeside(const std::string& modelPath);
std::string recoveryPathIn(const std::string& stateDir, const std::string& modelPath);
// $XDG_STATE_HOME/vantorel, or ~/.local/state/vantorel.
std::string recoveryStateDir();
