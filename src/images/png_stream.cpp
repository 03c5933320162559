#include "images/png_stream.h"

#include <zlib.h>

#include <cstdint>
#include <string_view>

namespace {

uint32_t bigEndian(const unsigned char* p) {
  return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

int channelsOf(int colourType) {
  switch (colourType) {
    case 0:
      return 1;  // grey
    case 2:
      return 3;  // RGB
    case 3:
      return 1;  // palette index
    case 4:
      return 2;  // grey and alpha
    case 6:
      return 4;  // RGBA
    default:
      return 0;
  }
}

// The inflated size the header allows: every row of every pass with its
// filter byte. Seven passes never need more than seven extra filter bytes
// per row and a partial pixel at each pass's row end, so the plain image
// plus that much bounds them all.
uint64_t allowedBytes(const unsigned char* header) {
  const uint64_t width = bigEndian(header), height = bigEndian(header + 4);
  const uint64_t bitsPerPixel = uint64_t{header[8]} * channelsOf(header[9]);
  const uint64_t rowBytes = (width * bitsPerPixel + 7) / 8;
  return height * (rowBytes + 1) + 7 * (height + 8) * (bitsPerPixel / 8 + 2);
}

bool refuse(std::string* reason, const char* why) {
  if (reason) *reason = why;
  return false;
}

}  // namespace

bool pngStreamFits(const unsigned char* data, size_t size, std::string* reason) {
  constexpr size_t kSignature = 8, kChunkFrame = 12;
  size_t at = kSignature;
  if (size < at + kChunkFrame + 13 || bigEndian(data + at) != 13 ||
      std::string_view(reinterpret_cast<const char*>(data + at + 4), 4) != "IHDR")
    return refuse(reason, "damaged image header");
  const uint64_t allowed = allowedBytes(data + at + 8);

  z_stream stream{};
  if (inflateInit(&stream) != Z_OK) return refuse(reason, "out of memory");
  unsigned char scratch[1 << 14];
  uint64_t produced = 0;
  int state = Z_OK;
  bool cutShort = false;
  // Every chunk up to IEND must lie whole in the file: the decoder makes room
  // for a chunk's stated length before it reads a byte of it.
  while (at + 8 <= size && !cutShort && produced <= allowed) {
    const uint64_t length = bigEndian(data + at);
    const std::string_view type(reinterpret_cast<const char*>(data + at + 4), 4);
    if (type == "IEND") break;
    cutShort = at + kChunkFrame > size || length > size - at - kChunkFrame;
    if (!cutShort && type == "IDAT" && state == Z_OK) {
      stream.next_in = const_cast<unsigned char*>(data + at + 8);
      stream.avail_in = static_cast<uInt>(length);
      while (stream.avail_in > 0 && state == Z_OK && produced <= allowed) {
        stream.next_out = scratch;
        stream.avail_out = sizeof scratch;
        state = inflate(&stream, Z_NO_FLUSH);
        if (state == Z_BUF_ERROR) state = Z_OK;  // wants the next chunk
        produced += sizeof scratch - stream.avail_out;
      }
    }
    at += kChunkFrame + length;
  }
  inflateEnd(&stream);
  if (produced > allowed) return refuse(reason, "damaged image: more pixel data than its size");
  if (cutShort || state != Z_STREAM_END)
    return refuse(reason, "damaged image: pixel data cut short or corrupt");
  return true;
}
