// Texture images of every kind the editor reads: BMP through its own checks,
// PNG, TGA and JPEG through stb_image. As for BMP, the header is read before
// anything is allocated: stb allocates the whole image first and fills what a
// short file lacks, so a tiny file claiming a huge image would cost gigabytes.

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
constexpr size_t kMaxFileBytes = size_t{512} << 20;
// No format here packs more pixels than this into one byte of file (PNG's
// deflate tops out near 1032:1 on bytes of 1-bit pixels).
constexpr int64_t kMaxPixelsPerByte = 8300;
constexpr int64_t kAlwaysPlausiblePixels = int64_t{1} << 20;

bool isPng(const unsigned char* d, size_t n) {
  return n >= 8 && std::memcmp(d, "\x89PNG\r\n\x1a\n", 8) == 0;
}
bool isJpeg(const unsigned char* d, size_t n) {
  return n >= 3 && d[0] == 0xFF && d[1] == 0xD8 && d[2] == 0xFF;
}
// TGA has no signature: its header must name an image type stb reads
// (colour-mapped, true-colour or grey, raw or run-length) and a pixel depth.
bool isTga(const unsigned char* d, size_t n) {
  if (n < 18 || d[1] > 1) return false;
  const int type = d[2] & ~8;
  const int depth = d[16];
  return (type == 1 || type == 2 || type == 3) &&
         (depth == 8 || depth == 15 || depth == 16 || depth == 24 || depth == 32);
}

}  // namespace

bool decodeImage(const unsigned char* data, size_t size, DecodedImage& image) {
  if (!data || size < 2) return false;
  if (data[0] == 'B' && data[1] == 'M') return decodeBmp(data, size, image);
  if (!(isPng(data, size) || isJpeg(data, size) || isTga(data, size))) return false;
  if (size > static_cast<size_t>(std::numeric_limits<int>::max())) return false;
  const int length = static_cast<int>(size);
  int width = 0, height = 0, channels = 0;
  if (!stbi_info_from_memory(data, length, &width, &height, &channels)) return false;
  const int64_t pixels = int64_t{width} * height;
  if (width <= 0 || height <= 0 || pixels > kMaxPixels) return false;
  if (pixels > kAlwaysPlausiblePixels && pixels / kMaxPixelsPerByte > static_cast<int64_t>(size))
    return false;
  // Flipped, the first row handed out is the image's bottom row: OpenGL's
  // first texture row, as for BMP.
  stbi_set_flip_vertically_on_load_thread(1);
  stbi_uc* pixelsRgba = stbi_load_from_memory(data, length, &width, &height, &channels, 4);
  if (!pixelsRgba) return false;
  image.width = width;
  image.height = height;
  image.rgba.assign(pixelsRgba, pixelsRgba + size_t{4} * width * height);
  stbi_image_free(pixelsRgba);
  return true;
}

bool decodeImageFile(const std::string& path, DecodedImage& image) {
  std::FILE* file = openRegularFile(path);
  if (!file) return false;
  struct stat info;
  std::vector<unsigned char> bytes;
  bool ok = fstat(fileno(file), &info) == 0 && info.st_size >= 18 &&
            static_cast<size_t>(info.st_size) <= kMaxFileBytes;
  if (ok) {
    // The header alone first: a file that is no image is not read whole.
    bytes.resize(18);
    ok = std::fread(bytes.data(), 1, 18, file) == 18 &&
         (bytes[0] == 'B' || isPng(bytes.data(), 18) || isJpeg(bytes.data(), 18) ||
          isTga(bytes.data(), 18));
  }
  if (ok) {
    bytes.resize(static_cast<size_t>(info.st_size));
    ok = std::fread(bytes.data() + 18, 1, bytes.size() - 18, file) == bytes.size() - 18;
  }
  std::fclose(file);
  return ok && decodeImage(bytes.data(), bytes.size(), image);
}
