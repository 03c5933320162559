#pragma once
// BMP files made to measure, for the tests and the fuzzers.

#include <cstdint>
#include <string>

// A BMP file with a 40-byte information header. `extra` lies between the
// headers and the pixels (colour masks, or a gap the offset field skips);
// `pixels` may be shorter than the header promises.
inline std::string bmpFile(int32_t width, int32_t height, int bits, const std::string& pixels,
                           uint32_t compression = 0, const std::string& extra = {}) {
  std::string out = "BM";
  auto put32 = [&out](uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>(v >> (8 * i)));
  };
  const uint32_t offset = 54 + static_cast<uint32_t>(extra.size());
  put32(offset + static_cast<uint32_t>(pixels.size()));
  put32(0);
  put32(offset);
  put32(40);
  put32(static_cast<uint32_t>(width));
  put32(static_cast<uint32_t>(height));
  put32(1 | (bits << 16));  // planes, bit count
  put32(compression);
  put32(static_cast<uint32_t>(pixels.size()));
  for (int i = 0; i < 4; ++i) put32(0);
  return out + extra + pixels;
}

// A 2 x 2 24-bit BMP with padded rows: red, green / blue, white.
inline std::string tinyBmp() {
  const char rows[] = "\0\0\xff\0\xff\0\0\0\xff\0\0\xff\xff\xff\0\0";
  return bmpFile(2, 2, 24, std::string(rows, 16));
}
