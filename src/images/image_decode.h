#pragma once
// Texture images decoded into pixels, with no OpenGL involved. Every decoder
// reads and checks an image's header before it allocates anything for the
// pixels, and on failure says why in the user's terms (`reason`, when given).

#include <cstddef>
#include <string>
#include <vector>

// An image as OpenGL wants it: RGBA rows, the first row being the bottom one
// (for an ordinary bottom-up BMP, the first row stored in the file).
struct DecodedImage {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> rgba;  // width * height * 4 bytes
};

// The most pixels any texture may have.
constexpr long long kMaxImagePixels = 16384LL * 16384;

// True when decoding an image of `width` x `height` pixels takes no more than
// half of the memory the editor has left (of its address space, which
// `prlimit --as` may cap, and of the machine's); false with the reason
// otherwise. Every decoder asks before it allocates for the pixels, and a
// decoder that runs out of memory all the same says so instead of failing
// the editor.
bool fitsInMemory(long long width, long long height, std::string* reason);

// BMP bytes. A file shorter than its header promises still loads: the pixels
// it lacks are black and opaque. `maxPixels` lets a caller with less memory to
// spare (a fuzzer) lower the limit.
bool decodeBmp(const unsigned char* data, size_t size, DecodedImage& image,
               std::string* reason = nullptr, long long maxPixels = kMaxImagePixels);
// Any texture image the editor reads: BMP, PNG, TGA or JPEG, told apart by
// their first bytes. `maxPixels` as for decodeBmp.
bool decodeImage(const unsigned char* data, size_t size, DecodedImage& image,
                 std::string* reason = nullptr, long long maxPixels = kMaxImagePixels);
// The same from a file, which is read only as far as its header allows.
bool decodeImageFile(const std::string& path, DecodedImage& image, std::string* reason = nullptr);

// What a BMP's first bytes (at least 54 of a file of `fileSize` bytes) say:
// the bytes the image can use (the rest of a longer file is never read), or 0
// with a reason when the header alone rules the image out.
size_t bmpBytesNeeded(const unsigned char* header, size_t headerSize, size_t fileSize,
                      std::string* reason = nullptr);
