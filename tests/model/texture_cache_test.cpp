#include "model/texture_cache.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

using Bytes = std::vector<unsigned char>;
using Texel = std::array<int, 4>;  // r, g, b, a

void put32(Bytes& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

// A BMP with a 40-byte information header; `extra` lies between the headers
// and the pixels (colour masks, or a gap the offset field skips).
Bytes bmp(int32_t width, int32_t height, int bits, const Bytes& pixels, uint32_t compression = 0,
          const Bytes& extra = {}) {
  Bytes out = {'B', 'M'};
  uint32_t offset = 54 + static_cast<uint32_t>(extra.size());
  put32(out, offset + static_cast<uint32_t>(pixels.size()));
  put32(out, 0);
  put32(out, offset);
  put32(out, 40);
  put32(out, static_cast<uint32_t>(width));
  put32(out, static_cast<uint32_t>(height));
  put32(out, 1 | (bits << 16));  // planes, bit count
  put32(out, compression);
  put32(out, static_cast<uint32_t>(pixels.size()));
  for (int i = 0; i < 4; ++i) put32(out, 0);
  out.insert(out.end(), extra.begin(), extra.end());
  out.insert(out.end(), pixels.begin(), pixels.end());
  return out;
}

// 24-bit rows as a writer stores them: blue, green, red, padded to 4 bytes.
Bytes rows24(const std::vector<std::vector<Texel>>& rows) {
  Bytes out;
  for (const auto& row : rows) {
    for (const Texel& t : row) out.insert(out.end(), {uint8_t(t[2]), uint8_t(t[1]), uint8_t(t[0])});
    while (out.size() % 4) out.push_back(0xEE);
  }
  return out;
}

std::vector<Texel> texels(const DecodedImage& image) {
  std::vector<Texel> out;
  for (size_t i = 0; i + 3 < image.rgba.size(); i += 4)
    out.push_back({image.rgba[i], image.rgba[i + 1], image.rgba[i + 2], image.rgba[i + 3]});
  return out;
}

// Six distinct opaque texels of a 3 x 2 image, bottom row first.
const std::vector<std::vector<Texel>> kRows = {
    {{{10, 20, 30, 255}}, {{40, 50, 60, 255}}, {{70, 80, 90, 255}}},
    {{{110, 120, 130, 255}}, {{140, 150, 160, 255}}, {{170, 180, 190, 255}}}};
const std::vector<Texel> kBottomUp = {kRows[0][0], kRows[0][1], kRows[0][2],
                                      kRows[1][0], kRows[1][1], kRows[1][2]};

TEST(BmpDecodeTest, PaddedRowsAndPixelOffsetReadAsWritten) {
  Bytes file = bmp(3, 2, 24, rows24(kRows));
  DecodedImage image;
  ASSERT_TRUE(decodeBmp(file.data(), file.size(), image));
  EXPECT_EQ(image.width, 3);
  EXPECT_EQ(image.height, 2);
  EXPECT_EQ(texels(image), kBottomUp);

  // A gap between the headers and the pixels, skipped through the offset field.
  Bytes gapped = bmp(3, 2, 24, rows24(kRows), 0, Bytes(6, 0x77));
  ASSERT_TRUE(decodeBmp(gapped.data(), gapped.size(), image));
  EXPECT_EQ(texels(image), kBottomUp);
}

TEST(BmpDecodeTest, TopDownImageStillStartsAtTheBottomRow) {
  Bytes file = bmp(3, -2, 24, rows24({kRows[1], kRows[0]}));
  DecodedImage image;
  ASSERT_TRUE(decodeBmp(file.data(), file.size(), image));
  EXPECT_EQ(image.height, 2);
  EXPECT_EQ(texels(image), kBottomUp);
}

TEST(BmpDecodeTest, StoredBlueGreenRedBecomesRedGreenBlueOpaque) {
  Bytes pixels = {255, 0, 0,   0, 255, 0, 0, 0,   // blue, green, padding
                  0,   0, 255, 1, 2,   3, 0, 0};  // red, (b 1, g 2, r 3), padding
  Bytes file = bmp(2, 2, 24, pixels);
  DecodedImage image;
  ASSERT_TRUE(decodeBmp(file.data(), file.size(), image));
  std::vector<Texel> want = {{0, 0, 255, 255}, {0, 255, 0, 255}, {255, 0, 0, 255}, {3, 2, 1, 255}};
  EXPECT_EQ(texels(image), want);
}

TEST(BmpDecodeTest, ThirtyTwoBitImagesPlainAndWithColourMasks) {
  DecodedImage image;
  Bytes plain = bmp(2, 1, 32, {1, 2, 3, 4, 5, 6, 7, 8});  // blue, green, red, alpha
  ASSERT_TRUE(decodeBmp(plain.data(), plain.size(), image));
  EXPECT_EQ(texels(image), (std::vector<Texel>{{3, 2, 1, 4}, {7, 6, 5, 8}}));

  Bytes masks;
  for (uint32_t m : {0x0000FF00u, 0x00FF0000u, 0xFF000000u}) put32(masks, m);  // red, green, blue
  Bytes fields = bmp(2, 1, 32, {0, 1, 2, 3, 0, 4, 5, 6}, 3, masks);
  ASSERT_TRUE(decodeBmp(fields.data(), fields.size(), image));
  EXPECT_EQ(texels(image), (std::vector<Texel>{{1, 2, 3, 255}, {4, 5, 6, 255}}));
}

TEST(BmpDecodeTest, RejectsTruncatedImpossibleAndForeignData) {
  DecodedImage image;
  Bytes good = bmp(3, 2, 24, rows24(kRows));
  for (size_t n = 0; n < good.size(); ++n)
    EXPECT_FALSE(decodeBmp(good.data(), n, image)) << "prefix of " << n << " bytes";

  for (auto [w, h] : {std::pair{100000, 100000}, {16385, 16384}, {0, 2}, {3, 0}, {-3, 2}}) {
    Bytes huge = bmp(w, h, 24, Bytes(6, 0));
    EXPECT_FALSE(decodeBmp(huge.data(), huge.size(), image)) << w << " x " << h;
  }
  Bytes topDownHuge = bmp(1, INT32_MIN, 24, Bytes(6, 0));
  EXPECT_FALSE(decodeBmp(topDownHuge.data(), topDownHuge.size(), image));

  Bytes notBmp = good;
  notBmp[0] = 'P';
  EXPECT_FALSE(decodeBmp(notBmp.data(), notBmp.size(), image));
  EXPECT_FALSE(decodeBmpFile("no such file.bmp", image));
}

class TextureCacheTest : public ::testing::Test {
 protected:
  void SetUp() override {
    cache.setUploader([this](int id, const DecodedImage&) { uploads.push_back(id); });
  }
  void TearDown() override {
    for (const std::string& path : written) std::remove(path.c_str());
  }
  // Per process, so that two builds running their tests at once do not meet.
  std::string path(const std::string& name) {
    return ::testing::TempDir() + "vtc" + std::to_string(getpid()) + "_" + name;
  }
  std::string write(const std::string& name, const Bytes& bytes) {
    std::ofstream(path(name), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    written.push_back(path(name));
    return path(name);
  }
  std::string writeBmp(const std::string& name) {
    return write(name, bmp(3, 2, 24, rows24(kRows)));
  }

  TextureCache cache;
  std::vector<int> uploads;
  std::vector<std::string> written;
};

TEST_F(TextureCacheTest, SecondAcquireAnswersFromMemory) {
  std::string name = writeBmp("a.bmp");
  testing::internal::CaptureStdout();
  EXPECT_EQ(cache.acquire(name), 1);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Texture loaded! (ID: 1)\n");
  std::remove(name.c_str());  // a second read would now fail
  EXPECT_EQ(cache.acquire(name), 1);
  EXPECT_EQ(uploads, std::vector<int>{1});
  EXPECT_EQ(cache.entries().size(), 1u);
}

TEST_F(TextureCacheTest, NamesDifferingInCaseAreSeparateEntries) {
  std::string lower = writeBmp("tex.bmp"), upper = writeBmp("TEX.bmp");
  EXPECT_EQ(cache.acquire(lower), 1);
  EXPECT_EQ(cache.acquire(upper), 2);
  EXPECT_EQ(cache.find(lower), 1);
  EXPECT_EQ(cache.find(path("Tex.bmp")), -1);
  EXPECT_EQ(uploads, (std::vector<int>{1, 2}));
}

TEST_F(TextureCacheTest, FailedAttemptsUseAnIdButAreNotRetriedUnlessAsked) {
  std::string late = path("late.bmp");
  std::string text =
      write("notes.txt", {'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'});
  EXPECT_EQ(cache.acquire(late), -1);  // missing
  EXPECT_EQ(cache.acquire(text), -1);
  EXPECT_EQ(cache.acquire(writeBmp("b.bmp")), 3);

  writeBmp("late.bmp");
  EXPECT_EQ(cache.acquire(late), -1);  // remembered failure: no read, no id, no entry
  EXPECT_EQ(cache.lastId(), 3);
  EXPECT_EQ(cache.entries().size(), 3u);

  EXPECT_EQ(cache.acquire(late, true), 4);
  EXPECT_EQ(cache.find(late), 4);  // the newest entry wins
  EXPECT_EQ(cache.entries().size(), 4u);
  EXPECT_EQ(uploads, (std::vector<int>{3, 4}));
}

}  // namespace
