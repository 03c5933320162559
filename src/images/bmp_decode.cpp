// BMP decoding on top of stb_image. stb does the pixel work; this file checks
// the header first, because stb allocates the whole image before it reads a
// single pixel: a 60-byte file claiming 100000 x 100000 pixels would
// otherwise cost gigabytes.

#include <stb_image.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>

#include "images/image_decode.h"

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kMaxPixelOffset = 1 << 20;
constexpr uint32_t kCoreHeaderSize = 12;  // the old OS/2 header: 16-bit sizes, no compression
constexpr uint32_t kBiRgb = 0, kBiBitfields = 3, kBiAlphaBitfields = 6;

uint32_t u16At(const unsigned char* p) {
  return p[0] | (p[1] << 8);
}
uint32_t u32At(const unsigned char* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t{p[3]} << 24);
}

struct BmpHeader {
  uint32_t pixelOffset = 0;
  uint32_t infoSize = 0;
  int64_t width = 0;
  int64_t height = 0;  // negative for top-down images
  uint32_t bitCount = 0;
  uint32_t compression = kBiRgb;

  int64_t rows() const { return height < 0 ? -height : height; }
  int64_t rowBytes() const { return (width * bitCount + 31) / 32 * 4; }  // padded to 4 bytes
  int64_t end() const { return int64_t{pixelOffset} + rowBytes() * rows(); }
};

bool refuse(std::string* reason, const char* why) {
  if (reason) *reason = why;
  return false;
}

bool readHeader(const unsigned char* data, size_t size, BmpHeader& h, std::string* reason) {
  if (size < kFileHeaderSize + 4 || data[0] != 'B' || data[1] != 'M')
    return refuse(reason, "damaged BMP header");
  h.pixelOffset = u32At(data + 10);
  h.infoSize = u32At(data + 14);
  if (h.infoSize == kCoreHeaderSize) {
    if (size < kFileHeaderSize + kCoreHeaderSize) return refuse(reason, "damaged BMP header");
    h.width = u16At(data + 18);
    h.height = u16At(data + 20);
    h.bitCount = u16At(data + 24);
    return true;
  }
  if (h.infoSize < 40 || size < kFileHeaderSize + 40) return refuse(reason, "damaged BMP header");
  h.width = static_cast<int32_t>(u32At(data + 18));
  h.height = static_cast<int32_t>(u32At(data + 22));
  h.bitCount = u16At(data + 28);
  h.compression = u32At(data + 30);
  return true;
}

bool acceptable(const BmpHeader& h, long long maxPixels, std::string* reason) {
  if (h.width <= 0 || h.rows() == 0) return refuse(reason, "image has no pixels");
  // Headers and palette take a few kilobytes; a gap of more before the pixels
  // would only make the file cost memory that no pixel uses.
  if (h.pixelOffset > kMaxPixelOffset) return refuse(reason, "damaged BMP header");
  if (h.width * h.rows() > maxPixels) return refuse(reason, "image larger than 16384 x 16384");
  if (!fitsInMemory(h.width, h.rows(), reason)) return false;
  // stb decodes none of the compressed kinds, but it allocates the whole image
  // before it looks at the bit count, and it reads a compression field it does
  // not know as plain pixels: a 65-byte file could cost half a gigabyte.
  if (h.compression != kBiRgb && h.compression != kBiBitfields &&
      h.compression != kBiAlphaBitfields)
    return refuse(reason, "unsupported BMP compression");
  const uint32_t b = h.bitCount;
  if (b != 1 && b != 4 && b != 8 && b != 16 && b != 24 && b != 32)
    return refuse(reason, "unsupported BMP bit depth");
  return true;
}

// Where stb expects the pixels of a direct-colour image: right after the
// headers (and the colour masks a 40-byte BI_BITFIELDS header is followed by).
// It refuses any other offset there, though writers may leave a gap; 0 when
// stb finds the pixels itself (palette images).
size_t directColourStart(const BmpHeader& h) {
  if (h.bitCount < (h.infoSize == kCoreHeaderSize ? 24u : 16u)) return 0;
  size_t end = kFileHeaderSize + h.infoSize;
  bool trailingMasks = (h.infoSize == 40 || h.infoSize == 56) && h.compression == kBiBitfields;
  return trailingMasks ? end + 12 : end;
}

bool decodeWithStb(const unsigned char* data, size_t size, DecodedImage& image,
                   std::string* reason) {
  if (size > static_cast<size_t>(std::numeric_limits<int>::max()))
    return refuse(reason, "image file too large");
  // Flipped, the first row handed out is the image's bottom row whether the
  // file stores rows bottom-up or top-down: OpenGL's first texture row.
  stbi_set_flip_vertically_on_load_thread(1);
  int width = 0, height = 0, channels = 0;
  stbi_uc* pixels =
      stbi_load_from_memory(data, static_cast<int>(size), &width, &height, &channels, 4);
  if (!pixels) return refuse(reason, "damaged BMP image");
  image.width = width;
  image.height = height;
  image.rgba.assign(pixels, pixels + size_t{4} * width * height);
  stbi_image_free(pixels);
  return true;
}

// The pixels a short file lacks become black and opaque, whatever the zeros
// standing in for them decoded to (a palette's first colour, clear alpha).
void blackenMissing(const BmpHeader& h, size_t size, DecodedImage& image) {
  const int64_t present = size > h.pixelOffset ? int64_t(size - h.pixelOffset) : 0;
  const int64_t rows = h.rows(), rowBytes = h.rowBytes();
  for (int64_t row = present / rowBytes; row < rows; ++row) {
    const int64_t firstColumn =
        row == present / rowBytes ? (present % rowBytes) * 8 / h.bitCount : 0;
    // Bottom-up files store the bottom row first, as the image is handed out.
    const int64_t outRow = h.height > 0 ? row : rows - 1 - row;
    for (int64_t column = firstColumn; column < h.width; ++column) {
      unsigned char* p = &image.rgba[size_t(outRow * h.width + column) * 4];
      p[0] = p[1] = p[2] = 0;
      p[3] = 255;
    }
  }
}

}  // namespace

size_t bmpBytesNeeded(const unsigned char* header, size_t headerSize, size_t fileSize,
                      std::string* reason) {
  BmpHeader h;
  if (!readHeader(header, headerSize, h, reason) || !acceptable(h, kMaxImagePixels, reason))
    return 0;
  return std::min<size_t>(fileSize, static_cast<size_t>(h.end()));
}

bool decodeBmp(const unsigned char* data, size_t size, DecodedImage& image, std::string* reason,
               long long maxPixels) {
  BmpHeader h;
  if (!data || !readHeader(data, size, h, reason) || !acceptable(h, maxPixels, reason))
    return false;
  std::vector<unsigned char> padded;
  const size_t full = static_cast<size_t>(h.end());
  if (size < full) {
    padded.assign(data, data + size);
    padded.resize(full, 0);
  }
  const unsigned char* bytes = padded.empty() ? data : padded.data();
  const size_t length = padded.empty() ? size : full;

  bool ok;
  const size_t start = directColourStart(h);
  if (start == 0 || h.pixelOffset <= start || h.pixelOffset > length) {
    ok = decodeWithStb(bytes, length, image, reason);
  } else {
    // Close the gap before the pixels so that stb accepts the file.
    std::vector<unsigned char> packed(bytes, bytes + start);
    packed.insert(packed.end(), bytes + h.pixelOffset, bytes + length);
    const uint32_t offset = static_cast<uint32_t>(start);
    for (int i = 0; i < 4; ++i) packed[10 + i] = static_cast<unsigned char>(offset >> (8 * i));
    ok = decodeWithStb(packed.data(), packed.size(), image, reason);
  }
  if (ok && size < full) blackenMissing(h, size, image);
  return ok;
}
