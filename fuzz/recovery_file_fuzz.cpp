// The recovery file reader on any body, wrapped in a header and checksum that
// agree with it, so that the body's own checks are what is tried: a file is
// refused with a reason, or read into images a model file could hold.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "formats/recovery_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string file =
      recoveryFileAround(std::string_view(reinterpret_cast<const char*>(data), size));
  RecoveryContents contents;
  std::string reason;
  if (!parseRecoveryFile(file, contents, &reason)) {
    if (reason.empty()) std::abort();
    return 0;
  }
  // What was read, written again, reads back the same.
  RecoveryContents again;
  if (!parseRecoveryFile(formatRecoveryFile(contents), again, &reason)) std::abort();
  if (again.changedAt != contents.changedAt || again.model.name != contents.model.name ||
      *again.model.image != *contents.model.image ||
      again.undoSteps.size() != contents.undoSteps.size())
    std::abort();
  for (size_t i = 0; i < again.undoSteps.size(); ++i)
    if (again.undoSteps[i].name != contents.undoSteps[i].name ||
        *again.undoSteps[i].image != *contents.undoSteps[i].image)
      std::abort();
  return 0;
}
