// The model file reader on any bytes: a window at a time and on two threads it gives
// what reading the whole text gives; what it accepts builds a whole model whose text is stable.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "formats/model_file.h"
#include "formats/model_load.h"
#include "model/model_builder.h"
#include "support/model_invariants.h"

static void require(bool condition) {
  if (!condition) std::abort();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ModelImage parsed, piecewise;
  std::string error, piecewiseError;
  const bool understood =
      parseModelFile(std::string_view(reinterpret_cast<const char*>(data), size), parsed, &error);
  require(understood == error.empty());
  Model onTwoThreads("fuzz", nullptr);
  if (size > 0) {
    std::FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "r");
    require(file &&
            readModelFile(file, size, piecewise, &piecewiseError, 1 + data[0] % 16) == understood);
    require(piecewise == parsed && piecewiseError == error);
    std::rewind(file);
    require(readAndBuild(file, size, onTwoThreads, false, 1 + data[0] % 5, 1 + data[0] / 5 % 3) ==
            understood);
    std::fclose(file);
  }
  if (!understood) return 0;

  const std::string written = formatModelFile(parsed);
  ModelImage reread;
  require(parseModelFile(written, reread) && formatModelFile(reread) == written);
  Model model("fuzz", nullptr);
  buildModel(parsed, model);
  require(findModelFault(model).empty());
  require(size == 0 || captureImage(onTwoThreads) == captureImage(model));
  return 0;
}
