// The texture decoder on arbitrary bytes: it refuses or hands out exactly
// width x height RGBA texels, and never allocates for pixels a file cannot
// hold (the fuzzer's memory limit catches that).

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "model/texture_cache.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  DecodedImage image;
  if (!decodeBmp(data, size, image)) return 0;
  if (image.width <= 0 || image.height <= 0) std::abort();
  if (image.rgba.size() != size_t{4} * image.width * image.height) std::abort();
  return 0;
}
