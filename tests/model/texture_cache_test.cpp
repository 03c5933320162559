// The BMP decoder, with the exact texels it hands out and the files it
// refuses; PNG, TGA and JPEG decoded as BMPs are; and the texture cache: file
// names to ids, each file read once.

#include "model/texture_cache.h"

#include <gtest/gtest.h>
#include <stb_image_write.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/fixtures.h"

namespace {

using Bytes = std::vector<unsigned char>;

std::string bytes(Bytes values) {
  return std::string(values.begin(), values.end());
}

// Two rows of three 24-bit texels, stored blue, green, red and padded.
const std::string kBottom = bytes({30, 20, 10, 60, 50, 40, 90, 80, 70, 0xEE, 0xEE, 0xEE});
const std::string kTop = bytes({130, 120, 110, 160, 150, 140, 190, 180, 170, 0xEE, 0xEE, 0xEE});
const Bytes kRgba = {10,  20,  30,  255, 40,  50,  60,  255, 70,  80,  90,  255,
                     110, 120, 130, 255, 140, 150, 160, 255, 170, 180, 190, 255};
const std::string kZeros(8, 0);

const std::string kMasked =  // 32-bit texels with colour masks for red, green and blue
    bmpFile(2, 1, 32, bytes({0, 1, 2, 3, 0, 4, 5, 6}), 3,
            bytes({0, 255, 0, 0, 0, 0, 255, 0, 0, 0, 0, 255}));
const std::string kOldHeader = bytes(  // the 12-byte header of the oldest BMPs
    {'B', 'M', 30, 0, 0, 0, 0, 0, 0, 0,  26, 0, 0, 0, 12,
     0,   0,   0,  1, 0, 1, 0, 1, 0, 24, 0,  3, 2, 1, 0});

// Each file with the texels it decodes to, bottom row first.
const struct {
  std::string file;
  int width, height;
  Bytes rgba;
} kFiles[] = {
    {bmpFile(3, 2, 24, kBottom + kTop), 3, 2, kRgba},
    {bmpFile(3, -2, 24, kTop + kBottom), 3, 2, kRgba},              // top-down rows
    {bmpFile(3, 2, 24, kBottom + kTop, 0, "gapgap"), 3, 2, kRgba},  // pixels after a gap
    {bmpFile(2, 1, 32, bytes({1, 2, 3, 4, 5, 6, 7, 8})), 2, 1, {3, 2, 1, 4, 7, 6, 5, 8}},
    {kMasked, 2, 1, {1, 2, 3, 255, 4, 5, 6, 255}},
    {bmpFile(2, 1, 8, bytes({1, 0, 0, 0}), 0, bytes({0, 0, 255, 0, 255, 0, 0, 0})),
     2,
     1,
     {0, 0, 255, 255, 255, 0, 0, 255}},
    {kOldHeader, 1, 1, {1, 2, 3, 255}},
};

TEST(BmpDecodeTest, TexelsComeOutRgbaBottomRowFirstAndAPrefixWithAllHeadersDecodes) {
  for (const auto& f : kFiles) {
    const int n = static_cast<int>(&f - kFiles);
    DecodedImage image;
    const auto* data = reinterpret_cast<const unsigned char*>(f.file.data());
    EXPECT_TRUE(decodeBmp(data, f.file.size(), image)) << n;
    EXPECT_TRUE(image.width == f.width && image.height == f.height && image.rgba == f.rgba) << n;
    // A prefix holding everything up to the pixels decodes (the pixels it lacks
    // black); one cut inside the headers does not.
    const size_t headers = 14 + data[14], pixels = data[10];
    for (size_t length = 0; length < f.file.size(); ++length) {
      const Bytes prefix(data, data + length);  // a buffer of its own size, for the sanitizer
      const bool decoded = decodeBmp(prefix.data(), length, image);
      if (length < headers || length >= pixels)
        EXPECT_EQ(decoded, length >= pixels) << n << ": " << length << " bytes";
    }
  }
  for (const std::string& refused :
       {"PM" + kFiles[0].file.substr(2), bmpFile(16385, 16384, 24, kZeros),  // too many texels
        bmpFile(0, 2, 24, kZeros), bmpFile(3, 0, 24, kZeros), bmpFile(1, INT32_MIN, 24, kZeros),
        bmpFile(2, 1, 8, bytes({1, 0, 0, 0}), 1, kZeros),  // compressed
        bmpFile(2, 1, 7, kZeros)}) {                       // no such depth
    DecodedImage image;
    EXPECT_FALSE(
        decodeBmp(reinterpret_cast<const unsigned char*>(refused.data()), refused.size(), image));
    EXPECT_TRUE(image.width == 0 && image.height == 0 && image.rgba.empty());
  }
  ScratchDir dir;
  writeFile(dir.file("short.bmp"), "B");
  writeFile(dir.file("notes.bmp"), "not an image");
  DecodedImage image;
  for (const char* name : {"absent.bmp", "short.bmp", "notes.bmp", ""})
    EXPECT_FALSE(decodeImageFile(dir.file(name), image)) << name;
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

bool decode(const std::string& bytes, DecodedImage& image) {
  return decodeImage(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), image);
}

TEST(ImageDecode, PngTgaAndJpegGiveRowsBottomFirstAndDamageIsRefused) {
  for (const std::string format : {"png", "tga", "jpg"}) {
    DecodedImage image;
    const std::string whole = encoded(format);
    ASSERT_TRUE(decode(whole, image)) << format;
    ASSERT_TRUE(image.width == 3 && image.height == 2) << format;
    for (int i = 0; i < 24; ++i)  // the file's bottom row comes first; JPEG is lossy
      EXPECT_NEAR(image.rgba[i], kPixels[(i + 12) % 24], format == "jpg" ? 40 : 0) << format << i;
    for (size_t size = 0; size < whole.size(); ++size) decode(whole.substr(0, size), image);
  }
  std::string huge = encoded("png");
  huge.replace(16, 8, std::string("\0\0\x40\0\0\0\x40\0", 8));  // 16384 x 16384 in 100 bytes
  DecodedImage image;
  EXPECT_FALSE(decode(huge, image));
  EXPECT_FALSE(decode("GIF89a and more bytes", image));
  ScratchDir dir;
  writeFile(dir.file("t.png"), encoded("png"));
  std::filesystem::create_directory(dir.file("dir.png"));
  TextureCache cache;
  EXPECT_EQ(cache.acquire(dir.file("t.png")), 1);
  EXPECT_EQ(cache.acquire(dir.file("dir.png")), -1);
}

TEST(TextureCacheTest, EachNameIsReadOnceAndEveryAttemptUsesAnId) {
  ScratchDir dir;
  TextureCache cache;
  std::vector<int> uploads;
  cache.setUploader([&](int id, const DecodedImage& image) {
    uploads.push_back(id);
    EXPECT_EQ(image.rgba, kRgba);
  });
  const std::string lower = dir.file("t.bmp"), upper = dir.file("T.bmp"), late = dir.file("l.bmp");
  writeFile(lower, kFiles[0].file);
  writeFile(upper, kFiles[0].file);
  EXPECT_EQ(printedBy([&] { EXPECT_EQ(cache.acquire(lower), 1); }), "Texture loaded! (ID: 1)\n");
  writeFile(lower, "gone");  // a second read would now fail
  EXPECT_EQ(cache.acquire(lower), 1);
  EXPECT_EQ(cache.acquire(late), -1);  // missing: an id is used all the same
  EXPECT_EQ(printedBy([&] { EXPECT_EQ(cache.acquire(upper), 3); }), "Texture loaded! (ID: 3)\n");
  writeFile(late, kFiles[0].file);
  EXPECT_EQ(cache.acquire(late), -1);  // a remembered failure: no read, no id
  EXPECT_EQ(cache.lastId(), 3);
  EXPECT_EQ(printedBy([&] { EXPECT_EQ(cache.acquire(late, /*retryFailed=*/true), 4); }),
            "Texture loaded! (ID: 4)\n");
  EXPECT_EQ(cache.find(late), 4);  // the newest entry wins
  EXPECT_EQ(cache.find(dir.file("t.BMP")), -1);
  EXPECT_EQ(cache.entries().size(), 4u);
  EXPECT_EQ(cache.entries()[1].name, late);
  EXPECT_EQ(uploads, (std::vector<int>{1, 3, 4}));
}

}  // namespace
