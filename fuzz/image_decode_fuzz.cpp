// Every texture decoder on any bytes (BMP, PNG, TGA or JPEG, by their first
// bytes): a reason, or width x height RGBA texels. The lower pixel limit keeps
// a short file claiming the largest image within the fuzzer's memory.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "images/image_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  DecodedImage image;
  std::string reason;
  if (!decodeImage(data, size, image, &reason, 2048 * 2048)) {
    if (reason.empty()) std::abort();
    return 0;
  }
  if (image.width <= 0 || image.height <= 0) std::abort();
  if (image.rgba.size() != size_t{4} * image.width * image.height) std::abort();
  return 0;
}
