// PNG, TGA and JPEG textures: decoded bottom row first as BMPs are, and refused
// before any allocation when they cannot be read.
#include <gtest/gtest.h>
#include <stb_image_write.h>

#include <string>

#include "model/texture_cache.h"
#include "support/format_fixtures.h"

namespace {

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
  ScratchCwd scratch;
  writeFile("t.png", encoded("png"));
  std::filesystem::create_directory("dir.png");
  TextureCache cache;
  EXPECT_EQ(cache.acquire("t.png"), 1);
  EXPECT_EQ(cache.acquire("dir.png"), -1);
}

}  // namespace
