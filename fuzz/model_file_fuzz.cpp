// The model file reader on arbitrary bytes: it must refuse or accept without
// touching memory it does not own, a model built from what it accepts must be
// whole, and what the writer makes of it must read back unchanged.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "model/model.h"
#include "model/model_builder.h"
#include "model/model_image.h"

namespace {

void require(bool condition) {
  if (!condition) std::abort();
}

// The image of the model that building `image` gives.
ModelImage rebuilt(const ModelImage& image) {
  Model model("fuzz", nullptr);
  buildModel(image, model, /*printNames=*/false);
  require(model.currentGroup != nullptr);
  for (PolygonGroup* group : model.groups)
    for (Polygon* polygon : group->polygons)
      for (int i = 0; i < 3; ++i) {
        require(model.vertices.contains(polygon->vertices[i]));
        require(polygon->uvs[i].vertex == polygon->vertices[i]);
      }
  return captureImage(model);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  ModelImage parsed;
  std::string error;
  const bool understood = parseModelFile(text, parsed, &error);

  // Read from a file through a small window, the text must give the same;
  // so must reading and building on two threads through a small ring.
  Model onTwoThreads("fuzz", nullptr);
  if (size > 0) {
    std::FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "r");
    require(file != nullptr);
    ModelImage piecewise;
    std::string piecewiseError;
    require(readModelFile(file, size, piecewise, &piecewiseError, 1 + data[0] % 16) == understood);
    require(piecewise == parsed && piecewiseError == error);
    std::rewind(file);
    require(readAndBuild(file, size, onTwoThreads, false, 1 + data[0] % 5, 1 + data[0] / 5 % 3) ==
            understood);
    std::fclose(file);
  }
  if (!understood) {
    require(!error.empty());
    return 0;
  }

  // The writer rounds to six decimals once; after that the text is stable.
  const std::string written = formatModelFile(parsed);
  ModelImage reread;
  require(parseModelFile(written, reread));
  require(formatModelFile(reread) == written);

  // Building reverses list order, so two builds give back the first capture.
  const ModelImage captured = rebuilt(parsed);
  require(rebuilt(rebuilt(captured)) == captured);
  if (size > 0) require(captureImage(onTwoThreads) == captured);
  ModelImage fromFile;
  require(parseModelFile(formatModelFile(captured), fromFile) && fromFile == captured);
  return 0;
}
