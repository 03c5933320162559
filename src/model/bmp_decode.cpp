// BMP decoding on top of stb_image. stb does the pixel work; this file checks
// the header first, because stb allocates the whole image before it reads a
// single pixel and fills what a short file lacks with zeros: a 60-byte file
// claiming 100000 x 100000 pixels would otherwise cost gigabytes.

#include <stb_image.h>
#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>

#include "model/regular_file.h"
#include "model/texture_cache.h"

namespace {

constexpr int64_t kMaxPixels = int64_t{16384} * 16384;
constexpr size_t kFileHeaderSize = 14;
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
};

bool readHeader(const unsigned char* data, size_t size, BmpHeader& h) {
  if (size < kFileHeaderSize + 4 || data[0] != 'B' || data[1] != 'M') return false;
  h.pixelOffset = u32At(data + 10);
  h.infoSize = u32At(data + 14);
  if (h.infoSize == kCoreHeaderSize) {
    if (size < kFileHeaderSize + kCoreHeaderSize) return false;
    h.width = u16At(data + 18);
    h.height = u16At(data + 20);
    h.bitCount = u16At(data + 24);
    return true;
  }
  if (h.infoSize < 40 || size < kFileHeaderSize + 40) return false;
  h.width = static_cast<int32_t>(u32At(data + 18));
  h.height = static_cast<int32_t>(u32At(data + 22));
  h.bitCount = u16At(data + 28);
  h.compression = u32At(data + 30);
  return true;
}

bool plausible(const BmpHeader& h, size_t fileSize) {
  int64_t rows = h.height < 0 ? -h.height : h.height;
  if (h.width <= 0 || rows == 0 || h.width * rows > kMaxPixels) return false;
  // stb decodes none of the compressed kinds, but it allocates the whole image
  // before it looks at the bit count, and it reads a compression field it does
  // not know as plain pixels: a 65-byte file could cost half a gigabyte.
  bool uncompressed = h.compression == kBiRgb || h.compression == kBiBitfields ||
                      h.compression == kBiAlphaBitfields;
  bool knownDepth = h.bitCount == 1 || h.bitCount == 4 || h.bitCount == 8 || h.bitCount == 16 ||
                    h.bitCount == 24 || h.bitCount == 32;
  if (!uncompressed || !knownDepth) return false;
  int64_t rowBytes = (h.width * h.bitCount + 31) / 32 * 4;  // rows are padded to 4 bytes
  return int64_t{h.pixelOffset} + rowBytes * rows <= static_cast<int64_t>(fileSize);
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

bool decodeWithStb(const unsigned char* data, size_t size, DecodedImage& image) {
  if (size > static_cast<size_t>(std::numeric_limits<int>::max())) return false;
  // Flipped, the first row handed out is the image's bottom row whether the
  // file stores rows bottom-up or top-down: OpenGL's first texture row.
  stbi_set_flip_vertically_on_load_thread(1);
  int width = 0, height = 0, channels = 0;
  stbi_uc* pixels =
      stbi_load_from_memory(data, static_cast<int>(size), &width, &height, &channels, 4);
  if (!pixels) return false;
  image.width = width;
  image.height = height;
  image.rgba.assign(pixels, pixels + size_t{4} * width * height);
  stbi_image_free(pixels);
  return true;
}

}  // namespace

bool decodeBmp(const unsigned char* data, size_t size, DecodedImage& image) {
  BmpHeader header;
  if (!data || !readHeader(data, size, header) || !plausible(header, size)) return false;
  size_t start = directColourStart(header);
  if (start == 0 || header.pixelOffset <= start || header.pixelOffset > size)
    return decodeWithStb(data, size, image);

  // Close the gap before the pixels so that stb accepts the file.
  std::vector<unsigned char> packed(data, data + start);
  packed.insert(packed.end(), data + header.pixelOffset, data + size);
  uint32_t offset = static_cast<uint32_t>(start);
  for (int i = 0; i < 4; ++i) packed[10 + i] = static_cast<unsigned char>(offset >> (8 * i));
  return decodeWithStb(packed.data(), packed.size(), image);
}

bool decodeBmpFile(const std::string& path, DecodedImage& image) {
  // The signature is checked before the whole file is read: a user may name
  // any file, however large.
  std::FILE* file = openRegularFile(path);
  if (!file) return false;
  std::vector<unsigned char> bytes;
  struct stat info;
  unsigned char signature[2];
  bool ok = fstat(fileno(file), &info) == 0 && info.st_size >= 2 &&
            info.st_size <= std::numeric_limits<int>::max() &&
            std::fread(signature, 1, 2, file) == 2 && signature[0] == 'B' && signature[1] == 'M';
  if (ok) {
    bytes.resize(static_cast<size_t>(info.st_size));
    bytes[0] = 'B';
    bytes[1] = 'M';
    ok = std::fread(bytes.data() + 2, 1, bytes.size() - 2, file) == bytes.size() - 2;
  }
  std::fclose(file);
  return ok && decodeBmp(bytes.data(), bytes.size(), image);
}
