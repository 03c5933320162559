// Texture files: the exact texels each decoder hands out, the reason for each
// file refused, and the cache that reads each file once under all its names.

#include "images/texture_cache.h"

#include <gtest/gtest.h>
#include <stb_image_write.h>
#include <sys/resource.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/fixtures.h"

namespace {

using Bytes = std::vector<unsigned char>;

std::string bytes(Bytes values) {
  return std::string(values.begin(), values.end());
}

bool decode(const std::string& file, DecodedImage& image, std::string* reason = nullptr) {
  return decodeImage(reinterpret_cast<const unsigned char*>(file.data()), file.size(), image,
                     reason);
}

// Two rows of three 24-bit texels, stored blue, green, red and padded.
const std::string kBottom = bytes({30, 20, 10, 60, 50, 40, 90, 80, 70, 0xEE, 0xEE, 0xEE});
const std::string kTop = bytes({130, 120, 110, 160, 150, 140, 190, 180, 170, 0xEE, 0xEE, 0xEE});
const Bytes kRgba = {10,  20,  30,  255, 40,  50,  60,  255, 70,  80,  90,  255,
                     110, 120, 130, 255, 140, 150, 160, 255, 170, 180, 190, 255};

const std::string kPalette = bytes({255, 255, 255, 0, 16, 32, 48, 0});  // white and clear first
const std::string kMasks = bytes({0, 255, 0, 0, 0, 0, 255, 0, 0, 0, 0, 255});  // red, green, blue
const std::string kBlueRed = bytes({0, 0, 255, 0, 255, 0, 0, 0});
const std::string kOldHeader = bytes(  // the 12-byte header of the oldest BMPs
    {'B', 'M', 30, 0, 0, 0, 0, 0, 0, 0,  26, 0, 0, 0, 12,
     0,   0,   0,  1, 0, 1, 0, 1, 0, 24, 0,  3, 2, 1, 0});
const std::string kColour = bytes({48, 32, 16, 255}), kNone = bytes({0, 0, 0, 255});

const struct {
  int width, height;
  std::string rgba;  // bottom row first
  std::string file;
} kFiles[] = {
    {3, 2, bytes(kRgba), bmpFile(3, 2, 24, kBottom + kTop)},
    {3, 2, bytes(kRgba), bmpFile(3, -2, 24, kTop + kBottom)},              // top-down rows
    {3, 2, bytes(kRgba), bmpFile(3, 2, 24, kBottom + kTop, 0, "gapgap")},  // pixels after a gap
    {2, 1, bytes({3, 2, 1, 4, 7, 6, 5, 8}), bmpFile(2, 1, 32, bytes({1, 2, 3, 4, 5, 6, 7, 8}))},
    {2, 1, bytes({1, 2, 3, 255, 4, 5, 6, 255}),
     bmpFile(2, 1, 32, bytes({0, 1, 2, 3, 0, 4, 5, 6}), 3, kMasks)},
    {2, 1, bytes({0, 0, 255, 255, 255, 0, 0, 255}),
     bmpFile(2, 1, 8, bytes({1, 0, 0, 0}), 0, kBlueRed)},
    {1, 1, bytes({1, 2, 3, 255}), kOldHeader},
    // Pixels a short file lacks are black and opaque, not palette entry 0.
    {2, 2, kColour + kColour + kColour + kNone,
     bmpFile(2, 2, 8, bytes({1, 1, 0, 0, 1}), 0, kPalette)},
    {2, 2, kNone + kNone + kColour + kNone, bmpFile(2, -2, 8, bytes({1}), 0, kPalette)},
};

TEST(BmpDecodeTest, TexelsComeOutRgbaBottomRowFirstAndAPrefixWithAllHeadersDecodes) {
  for (const auto& f : kFiles) {
    const int n = static_cast<int>(&f - kFiles);
    DecodedImage image;
    const auto* data = reinterpret_cast<const unsigned char*>(f.file.data());
    EXPECT_TRUE(decodeBmp(data, f.file.size(), image)) << n;
    EXPECT_TRUE(image.width == f.width && image.height == f.height && bytes(image.rgba) == f.rgba)
        << n;
    const size_t headers = 14 + data[14], pixels = data[10];
    for (size_t length = 0; length < f.file.size(); ++length) {
      const Bytes prefix(data, data + length);  // a buffer of its own size, for the sanitizer
      const bool decoded = decodeBmp(prefix.data(), length, image);
      EXPECT_TRUE((length >= headers && length < pixels) || decoded == (length >= pixels))
          << n << ": " << length << " bytes";
    }
  }
}

TEST(ImageDecode, RefusedImagesSayWhyAndLeaveNoImage) {
  const std::string zeros(8, 0);
  const struct {
    std::string file;
    const char* reason;
  } cases[] = {
      {bmpFile(2, 1, 8, "\1\0\0\0", 1), "unsupported BMP compression"},
      {bmpFile(16385, 16384, 24, zeros), "image larger than 16384 x 16384"},
      {bmpFile(2, 1, 7, zeros), "unsupported BMP bit depth"},
      {bmpFile(0, 1, 24, zeros), "image has no pixels"},
      {bmpFile(3, 0, 24, zeros), "image has no pixels"},
      {bmpFile(1, INT32_MIN, 24, zeros), "image larger than 16384 x 16384"},
      {"BM\1\0", "damaged BMP header"},
      {"P" + kFiles[0].file.substr(1), "not a BMP, PNG, TGA or JPEG image"},
      {"GIF89a and more bytes", "not a BMP, PNG, TGA or JPEG image"},
  };
  for (auto& c : cases) {
    DecodedImage image;
    std::string reason;
    EXPECT_FALSE(decode(c.file, image, &reason));
    EXPECT_EQ(reason, c.reason);
    EXPECT_TRUE(image.width == 0 && image.height == 0 && image.rgba.empty());
  }
  // 400 MB of compressed "BMP" is refused from its header, not read into memory.
  ScratchDir dir;
  writeFile(dir.file("huge.bmp"), bmpFile(30000, 30000, 8, "", 1));
  ASSERT_EQ(truncate(dir.file("huge.bmp").c_str(), 400L << 20), 0);
  rusage before{}, after{};
  getrusage(RUSAGE_SELF, &before);
  DecodedImage image;
  std::string reason;
  EXPECT_FALSE(decodeImageFile(dir.file("huge.bmp"), image, &reason));
  getrusage(RUSAGE_SELF, &after);
  EXPECT_EQ(reason, "image larger than 16384 x 16384");
  EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 100 * 1024) << "kilobytes more at the peak";
}

// A 3 x 2 picture, rows top first as image files store them.
const unsigned char kPixels[] = {255, 0, 0, 255, 0,  255, 0,  255, 0,   0,   255, 255,
                                 9,   9, 9, 255, 90, 90,  90, 255, 200, 200, 200, 255};

std::string encoded(const std::string& format) {
  std::string out;
  auto append = [](void* context, void* data, int size) {
    static_cast<std::string*>(context)->append(static_cast<char*>(data), size);
  };
  if (format == "png") stbi_write_png_to_func(append, &out, 3, 2, 4, kPixels, 12);
  if (format == "tga") stbi_write_tga_to_func(append, &out, 3, 2, 4, kPixels);
  if (format == "jpg") stbi_write_jpg_to_func(append, &out, 3, 2, 4, kPixels, 100);
  return out;
}

TEST(ImageDecode, PngTgaAndJpegGiveRowsBottomFirstAndDamageIsRefused) {
  for (const std::string format : {"png", "tga", "jpg"}) {
    DecodedImage image;
    const std::string whole = encoded(format);
    ASSERT_TRUE(decode(whole, image)) << format;
    ASSERT_TRUE(image.width == 3 && image.height == 2) << format;
    for (int i = 0; i < 24; ++i)  // JPEG is lossy
      EXPECT_NEAR(image.rgba[i], kPixels[(i + 12) % 24], format == "jpg" ? 40 : 0) << format << i;
    for (size_t size = 0; size < whole.size(); ++size) decode(whole.substr(0, size), image);
  }
  // A pixel stream cut short, or longer than the header's rows, is refused
  // before the decoder can grow its buffer without end.
  const std::string png = encoded("png");
  const size_t idat = png.find("IDAT");
  std::string rows(2 * (1 + 3 * 4) + 4096, '\0'), packed(8192, '\0');
  uLongf packedSize = packed.size();
  compress(reinterpret_cast<Bytef*>(packed.data()), &packedSize,
           reinterpret_cast<const Bytef*>(rows.data()), rows.size());
  packed.resize(packedSize);
  const std::string length =
      bytes({0, 0, static_cast<uint8_t>(packedSize >> 8), static_cast<uint8_t>(packedSize & 0xFF)});
  const std::string tooLong = png.substr(0, idat - 4) + length + "IDAT" + packed + "crc!";
  for (const auto& [damaged, why] :
       {std::pair{png.substr(0, idat + 9), "damaged image: pixel data cut short or corrupt"},
        std::pair{tooLong, "damaged image: more pixel data than its size"},
        std::pair{png.substr(0, png.find("IEND") - 4) + std::string("\x36\0\0\x2bIDAT", 8),
                  "damaged image: pixel data cut short or corrupt"}}) {
    DecodedImage image;
    std::string reason;
    EXPECT_FALSE(decode(damaged, image, &reason));
    EXPECT_EQ(reason, why);
  }
  std::string huge = encoded("png");
  huge.replace(16, 8, std::string("\0\0\x40\0\0\0\x40\0", 8));  // 16384 x 16384 in 100 bytes
  DecodedImage image;
  EXPECT_FALSE(decode(huge, image));
  ScratchDir dir;
  writeFile(dir.file("t.png"), encoded("png"));
  EXPECT_TRUE(decodeImageFile(dir.file("t.png"), image) && image.rgba.size() == 24);
}

TEST(TextureCacheTest, EachFileIsReadOnceUnderAllItsNamesAndEveryAttemptUsesAnId) {
  ScratchDir dir;
  TextureCache cache;
  std::vector<int> uploads;
  cache.setUploader([&](int id, const DecodedImage& image) {
    uploads.push_back(id);
    EXPECT_EQ(image.rgba, kRgba);
    return 100u + id;
  });
  const std::string lower = dir.file("t.bmp"), upper = dir.file("T.bmp"), late = dir.file("l.bmp");
  writeFile(lower, kFiles[0].file);
  writeFile(upper, kFiles[0].file);
  writeFile(dir.file("notes.bmp"), "not an image");
  std::filesystem::create_directory(dir.file("sub"));
  EXPECT_EQ(printedBy([&] { EXPECT_EQ(cache.acquire(lower), 1); }), "Texture loaded! (ID: 1)\n");
  for (const char* name : {"/./t.bmp", "/sub/../t.bmp"})
    EXPECT_EQ(cache.acquire(dir.path() + name), 1) << name;
  writeFile(lower, "gone");  // a second read would now fail
  EXPECT_EQ(cache.acquire(lower), 1);
  EXPECT_EQ(cache.acquire(late), -1);  // missing: an id is used all the same
  EXPECT_EQ(cache.lastFailure(), "No such file or directory");
  EXPECT_EQ(printedBy([&] { EXPECT_EQ(cache.acquire(upper), 3); }), "Texture loaded! (ID: 3)\n");
  writeFile(late, kFiles[0].file);
  EXPECT_EQ(cache.acquire(late), -1);  // a remembered failure: no read, no id
  EXPECT_EQ(cache.lastId(), 3);
  EXPECT_EQ(printedBy([&] { EXPECT_EQ(cache.acquire(late, /*retryFailed=*/true), 4); }),
            "Texture loaded! (ID: 4)\n");
  EXPECT_EQ(cache.find(late), 4);  // the newest entry wins
  EXPECT_EQ(cache.find(dir.file("t.BMP")), -1);
  EXPECT_EQ(cache.entries().size(), 6u);  // one for each name
  EXPECT_EQ(cache.entries()[3].name, late);
  EXPECT_EQ(uploads, (std::vector<int>{1, 3, 4}));
  EXPECT_EQ(cache.uploadedName(3) + cache.uploadedName(2), 103u);  // bound by its name, not its id
  for (const char* name : {"notes.bmp", "sub", ""}) EXPECT_EQ(cache.acquire(dir.file(name)), -1);
}

}  // namespace
