// The recovery file reader on any body, wrapped in a header and checksum that
// agree with it, so that the body's own checks are what is tried: a file is
// refused with a reason, or read into images a model file could hold.
//
// The first byte plants the file at a recovery path as a found file may be:
// a regular file, a link to one, a fifo, a folder, or the file with a hole of
// 3 GB after it that its header does not account for. Taking it refuses all
// but a regular file by its type (never opening a fifo); read from the file,
// it gives what reading from memory gives, and the hole is refused by its
// size before any of it is read (a read through would time the fuzzer out).

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "files/held_file.h"
#include "recovery/recovery_file.h"

namespace {

bool sameContents(const RecoveryContents& a, const RecoveryContents& b) {
  if (a.changedAt != b.changedAt || a.modelPath != b.modelPath || a.model.name != b.model.name ||
      *a.model.image != *b.model.image || a.undoSteps.size() != b.undoSteps.size())
    return false;
  for (size_t i = 0; i < a.undoSteps.size(); ++i)
    if (a.undoSteps[i].name != b.undoSteps[i].name ||
        *a.undoSteps[i].image != *b.undoSteps[i].image)
      return false;
  return true;
}

const std::string& folder() {
  static const std::string path = [] {
    char name[] = "/tmp/recovery-fuzz-XXXXXX";
    return std::string(mkdtemp(name) ? name : "/tmp");
  }();
  return path;
}

enum Plant { kRegular, kLink, kFifo, kFolder, kHole, kPlants };

// What taking the planted path must give, after planting it.
HeldFile::State plant(Plant kind, const std::string& path, const std::string& file) {
  const std::string real = folder() + "/real";
  unlink(path.c_str()), rmdir(path.c_str());
  FILE* out = std::fopen(kind == kLink ? real.c_str() : path.c_str(), "wb");
  if (kind != kFifo && kind != kFolder && out) std::fwrite(file.data(), 1, file.size(), out);
  if (out) std::fclose(out);
  if (kind == kLink) symlink(real.c_str(), path.c_str());
  if (kind == kFifo || kind == kFolder) unlink(path.c_str());
  if (kind == kFifo) mkfifo(path.c_str(), 0600);
  if (kind == kFolder) mkdir(path.c_str(), 0700);
  if (kind == kHole && truncate(path.c_str(), static_cast<off_t>(file.size()) + (3ll << 30)) != 0)
    std::abort();
  if (kind == kLink) return HeldFile::kLink;
  return kind == kFifo || kind == kFolder ? HeldFile::kNotRegular : HeldFile::kHeld;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const Plant kind = static_cast<Plant>(data[0] % kPlants);
  const std::string file =
      recoveryFileAround(std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));
  RecoveryContents contents;
  std::string reason;
  const bool parsed = parseRecoveryFile(file, contents, &reason);
  if (!parsed && reason.empty()) std::abort();
  // What was read, written again, reads back the same.
  RecoveryContents again;
  if (parsed && (!parseRecoveryFile(formatRecoveryFile(contents), again, nullptr) ||
                 !sameContents(again, contents)))
    std::abort();

  const std::string path = folder() + "/.m.recover";
  const HeldFile::State expected = plant(kind, path, file);
  HeldFile::State state;
  HeldFile held = HeldFile::take(path, state);
  if (state != expected) std::abort();
  if (!held.held()) return 0;
  RecoveryContents fromFile;
  std::string fileReason;
  const bool read = readRecoveryFile(held.fd(), fromFile, &fileReason, /*headerOnly=*/false);
  if (kind == kHole) {
    if (read || fileReason != "the file is cut short or too long") std::abort();
    return 0;
  }
  if (read != parsed || fileReason != (parsed ? "" : reason) ||
      (read && !sameContents(fromFile, contents)))
    std::abort();
  return 0;
}
