#pragma once
// The recovery file: a model with its undo history, kept while it has unsaved
// changes (where: recovery/recovery_names.h).
//
// Layout: the line "vantorel-recovery 2", then a line with the body's length
// and its checksum (FNV-1a over 8-byte words) in hexadecimal, then the body in little-endian
// binary: when the last change was made (seconds since the epoch), the
// model file's absolute path, the model's name, the model in full with its
// clips and weights, and the undo steps from the newest to the oldest, each as
// its difference from the next newer image (formats/image_difference.h). Version 1 had no absolute
// path, clips or weights; it is still read.

#include <sys/types.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/image_difference.h"
#include "model/model_image.h"

struct RecoveryContents {
  int64_t changedAt = 0;            // seconds since the epoch of the last change kept
  std::string modelPath;            // absolute; empty when read from a file of version 1
  Snapshot model;                   // the model as it was then
  std::vector<Snapshot> undoSteps;  // oldest first, as the undo history gives them back
  // As the undo history holds them, for writing: one per undo step, where a
  // step without an image is its difference from the next newer step (whose
  // image is then not needed either). Empty when every step has its image.
  std::vector<ImageDifference> undoDifferences = {};
};

// Version 1 (as older editors wrote it) leaves out the path, clips and
// weights; its steps need their images.
std::string formatRecoveryFile(const RecoveryContents& contents, int version = kRecoveryVersion);

// The first two lines put around a body: what a file needs to reach the
// body's own checks (a fuzzer's way in past the checksum).
std::string recoveryFileAround(std::string_view body, int version = kRecoveryVersion);

// What reading builds at most: the undo steps the editor keeps, and the
// memory they may take (ModelImage::memoryBytes, for readRecoverySteps the
// newest image and the older differences; older steps beyond it are read and
// left out, as the undo history drops them).
struct RecoveryLimits {
  size_t steps = 50;
  size_t stepBytes = SIZE_MAX;
};

// Rejects a file that is not a recovery file, is of another version, fails
// its checksum, holds more undo steps than the limit, or holds anything a
// model file could not (corners or bone polygons out of range, bone depths
// out of order, numbers that are not finite): false, with the reason in
// `error`.
bool parseRecoveryFile(std::string_view text, RecoveryContents& contents, std::string* error,
                       const RecoveryLimits& limits = {});

// The same from an open file, which must be a regular file: its first lines
// are checked, and the body's length against the file's size, before any of
// the body is read; the body is then read as the parse goes, so a body its
// model and steps do not account for is refused without reading it through.
// `headerOnly` reads when the last change was made, the path and the name
// (without the checksum, which needs the whole body).
bool readRecoveryFile(int fd, RecoveryContents& contents, std::string* error, bool headerOnly,
                      const RecoveryLimits& limits = {});

// The same in two parts, so that the model is there before its undo steps:
// the first lines, the fields and the model, checked, with the checksum
// taken over the whole body (read through without being kept); then, on any
// thread, the undo steps from where the model ended, newest first, each given
// to `each` as it is read, with its difference from the next newer (the
// model's for the newest), and only the newest with its image: the others are
// read over one image in place, in time that grows with what changed. `stop`
// ends the reading early.
struct RecoveryStepsStart {
  off_t offset = 0;  // of the newest step in the file
  size_t bytes = 0;  // of all the steps
  size_t count = 0;
  int version = kRecoveryVersion;  // of the file they are in
};
bool readRecoveryModel(int fd, RecoveryContents& contents, RecoveryStepsStart& start,
                       std::string* error, const RecoveryLimits& limits = {});
bool readRecoverySteps(int fd, const RecoveryStepsStart& start,
                       std::shared_ptr<const ModelImage> model,
                       const std::function<void(Snapshot, ImageDifference)>& each,
                       std::string* error, const RecoveryLimits& limits = {},
                       const std::atomic<bool>* stop = nullptr);
