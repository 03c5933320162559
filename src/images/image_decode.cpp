// Texture images of every kind the editor reads: BMP through its own checks,
// PNG, TGA and JPEG through stb_image. As for BMP, the header is read before
// anything is allocated: stb allocates the whole image first and fills what a
// short file lacks, so a tiny file claiming a huge image would cost gigabytes.

#include "images/image_decode.h"

#include <stb_image.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <new>

#include "files/regular_file.h"
#include "images/png_stream.h"

namespace {

constexpr size_t kMaxFileBytes = size_t{512} << 20;
constexpr size_t kHeaderBytes = 64;  // enough for every header checked here
// No format here packs more pixels than this into one byte of file (PNG's
// deflate tops out near 1032:1 on bytes of 1-bit pixels).
constexpr int64_t kMaxPixelsPerByte = 8300;
constexpr int64_t kAlwaysPlausiblePixels = int64_t{1} << 20;

bool isBmp(const unsigned char* d, size_t n) {
  return n >= 2 && d[0] == 'B' && d[1] == 'M';
}
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

bool refuse(std::string* reason, const std::string& why) {
  if (reason) *reason = why;
  return false;
}

constexpr const char* kNotAnImage = "not a BMP, PNG, TGA or JPEG image";
constexpr const char* kNoMemory = "not enough memory to decode the image";
// The decoder's pixels, the image's own copy of them, and the decoder's
// pixels of another layout before it converts them, at 4 bytes each.
constexpr uint64_t kDecodingBytesPerPixel = 12;

uint64_t addressSpaceUsed() {
  std::FILE* statm = std::fopen("/proc/self/statm", "r");
  unsigned long long pages = 0;
  if (statm) {
    if (std::fscanf(statm, "%llu", &pages) != 1) pages = 0;
    std::fclose(statm);
  }
  return pages * static_cast<uint64_t>(sysconf(_SC_PAGESIZE));
}

uint64_t memoryAtHand() {
  uint64_t room = static_cast<uint64_t>(sysconf(_SC_PHYS_PAGES)) * sysconf(_SC_PAGESIZE);
  struct rlimit limit;
  if (getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) {
    const uint64_t used = addressSpaceUsed();
    room = std::min<uint64_t>(room, limit.rlim_cur > used ? limit.rlim_cur - used : 0);
  }
  return room;
}

// Runs a decoder, whose running out of memory refuses the image.
template <class Decode>
bool withoutBadAlloc(DecodedImage& image, std::string* reason, Decode decode) {
  try {
    return decode();
  } catch (const std::bad_alloc&) {
    image = DecodedImage{};
    return refuse(reason, kNoMemory);
  }
}

bool decodeAnyImage(const unsigned char* data, size_t size, DecodedImage& image,
                    std::string* reason, long long maxPixels) {
  if (!data) return refuse(reason, kNotAnImage);
  if (isBmp(data, size)) return decodeBmp(data, size, image, reason, maxPixels);
  if (!(isPng(data, size) || isJpeg(data, size) || isTga(data, size)))
    return refuse(reason, kNotAnImage);
  if (size > static_cast<size_t>(std::numeric_limits<int>::max()))
    return refuse(reason, "image file too large");
  const int length = static_cast<int>(size);
  int width = 0, height = 0, channels = 0;
  if (!stbi_info_from_memory(data, length, &width, &height, &channels))
    return refuse(reason, "damaged image header");
  const int64_t pixels = int64_t{width} * height;
  if (width <= 0 || height <= 0) return refuse(reason, "image has no pixels");
  if (pixels > kMaxImagePixels) return refuse(reason, "image larger than 16384 x 16384");
  if (pixels > maxPixels) return refuse(reason, "image has more pixels than allowed here");
  if (pixels > kAlwaysPlausiblePixels && pixels / kMaxPixelsPerByte > static_cast<int64_t>(size))
    return refuse(reason, "image file shorter than its header promises");
  if (!fitsInMemory(width, height, reason)) return false;
  if (isPng(data, size) && !pngStreamFits(data, size, reason)) return false;
  // Flipped, the first row handed out is the image's bottom row: OpenGL's
  // first texture row, as for BMP.
  stbi_set_flip_vertically_on_load_thread(1);
  stbi_uc* pixelsRgba = stbi_load_from_memory(data, length, &width, &height, &channels, 4);
  if (!pixelsRgba) {
    const std::string failure = stbi_failure_reason();
    return refuse(reason, failure == "outofmem" ? kNoMemory : "damaged image: " + failure);
  }
  image.width = width;
  image.height = height;
  image.rgba.assign(pixelsRgba, pixelsRgba + size_t{4} * width * height);
  stbi_image_free(pixelsRgba);
  return true;
}

bool decodeFile(const std::string& path, DecodedImage& image, std::string* reason) {
  std::FILE* file = openRegularFile(path, reason);
  if (!file) return false;
  struct stat info;
  std::vector<unsigned char> bytes(kHeaderBytes);
  bool ok = fstat(fileno(file), &info) == 0;
  const size_t fileSize = ok ? static_cast<size_t>(info.st_size) : 0;
  // The header alone first: a file that is no image, or an image too large,
  // is not read whole.
  if (ok) bytes.resize(std::fread(bytes.data(), 1, std::min(kHeaderBytes, fileSize), file));
  size_t wanted = 0;
  if (!ok) {
    refuse(reason, std::strerror(errno));
  } else if (isBmp(bytes.data(), bytes.size())) {
    wanted = bmpBytesNeeded(bytes.data(), bytes.size(), fileSize, reason);
  } else if (!(isPng(bytes.data(), bytes.size()) || isJpeg(bytes.data(), bytes.size()) ||
               isTga(bytes.data(), bytes.size()))) {
    refuse(reason, kNotAnImage);
  } else if (fileSize > kMaxFileBytes) {
    refuse(reason, "image file larger than 512 MB");
  } else {
    wanted = fileSize;
  }
  if (wanted > bytes.size()) {
    const size_t had = bytes.size();
    bytes.resize(wanted);
    bytes.resize(had + std::fread(bytes.data() + had, 1, wanted - had, file));
  }
  std::fclose(file);
  return wanted > 0 && decodeImage(bytes.data(), bytes.size(), image, reason);
}

}  // namespace

bool fitsInMemory(long long width, long long height, std::string* reason) {
  const uint64_t needed = static_cast<uint64_t>(width) * height * kDecodingBytesPerPixel;
  if (needed <= memoryAtHand() / 2) return true;
  return refuse(reason, "image of " + std::to_string(width) + " x " + std::to_string(height) +
                            " needs " + std::to_string(needed >> 20) +
                            " MB to decode, more than the memory at hand");
}

bool decodeImage(const unsigned char* data, size_t size, DecodedImage& image, std::string* reason,
                 long long maxPixels) {
  return withoutBadAlloc(image, reason,
                         [&] { return decodeAnyImage(data, size, image, reason, maxPixels); });
}

bool decodeImageFile(const std::string& path, DecodedImage& image, std::string* reason) {
  return withoutBadAlloc(image, reason, [&] { return decodeFile(path, image, reason); });
}
