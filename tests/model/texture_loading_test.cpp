// Texture files as users have them: short files, several names for one
// file, and the reason given when one cannot be used.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "model/texture_cache.h"
#include "support/bmp_file.h"
#include "support/fixtures.h"

namespace {

using Bytes = std::vector<unsigned char>;

DecodedImage decoded(const std::string& file, std::string* reason = nullptr) {
  DecodedImage image;
  EXPECT_EQ(
      decodeImage(reinterpret_cast<const unsigned char*>(file.data()), file.size(), image, reason),
      reason == nullptr);
  return image;
}

// The pixels a short file lacks are black and opaque, whatever zeros would
// decode to (here a palette whose first colour is white and clear).
TEST(TextureLoadingTest, AShortFileLoadsWithItsMissingPixelsBlack) {
  const std::string palette("\xff\xff\xff\x00\x10\x20\x30\x00", 8);
  const struct {
    int height;
    std::string pixels;  // rows of 3 one-byte indices, each padded to 4 bytes
    Bytes rgba;          // bottom row first
  } cases[] = {
      {2, std::string("\1\1\1\0\1", 5), {48, 32, 16, 255, 48, 32, 16, 255, 48, 32, 16, 255,
                                         48, 32, 16, 255, 0,  0,  0,  255, 0,  0,  0,  255}},
      {-2,
       std::string("\1\1", 2),  // top-down: the file's first row is the top one
       {0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255, 48, 32, 16, 255, 48, 32, 16, 255, 0, 0, 0, 255}},
      {2, "", Bytes(24, 0)},
  };
  for (auto& c : cases) {
    Bytes want = c.rgba;
    for (size_t i = 3; i < want.size(); i += 4) want[i] = 255;
    EXPECT_EQ(decoded(bmpFile(3, c.height, 8, c.pixels, 0, palette)).rgba, want) << c.height;
  }
}

TEST(TextureLoadingTest, RefusedImagesSayWhy) {
  const struct {
    std::string file;
    const char* reason;
  } cases[] = {
      {bmpFile(2, 1, 8, "\1\0\0\0", 1), "unsupported BMP compression"},
      {bmpFile(16385, 16384, 24, ""), "image larger than 16384 x 16384"},
      {bmpFile(2, 1, 7, "\0\0\0\0"), "unsupported BMP bit depth"},
      {bmpFile(0, 1, 24, ""), "image has no pixels"},
      {"BM\1\0", "damaged BMP header"},
      {"solid cube\n", "not a BMP, PNG, TGA or JPEG image"},
  };
  for (auto& c : cases) {
    std::string reason;
    decoded(c.file, &reason);
    EXPECT_EQ(reason, c.reason);
  }
}

// A file is judged by its header before the rest is read: 400 MB of
// compressed "BMP" is not read into memory.
TEST(TextureLoadingTest, AHugeFileIsRefusedFromItsHeader) {
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

// Names that lead to one file share its texture: read once, one id.
TEST(TextureLoadingTest, OneFileUnderSeveralNamesIsReadOnce) {
  ScratchDir dir;
  writeFile(dir.file("t.bmp"), tinyBmp());
  std::filesystem::create_directory(dir.file("sub"));
  TextureCache cache;
  std::string out = printedBy([&] {
    for (const char* name : {"/t.bmp", "/./t.bmp", "/sub/../t.bmp", "/t.bmp"})
      EXPECT_EQ(cache.acquire(dir.path() + name), 1) << name;
    EXPECT_EQ(cache.acquire(dir.file("none.bmp")), -1);
  });
  EXPECT_EQ(out, "Texture loaded! (ID: 1)\n");
  EXPECT_EQ(cache.lastFailure(), "No such file or directory");
}

}  // namespace
