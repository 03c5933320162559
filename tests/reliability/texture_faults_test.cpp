// Texture files that are cut short, promise more pixels than they hold, or
// are no images at all: each gives the id -1, nothing reaches OpenGL, the
// memory used stays small, and /loadtex leaves the current group as it was.

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/model_fixtures.h"
#include "model/texture_cache.h"
#include "support/child_process.h"
#include "support/editor_fixture.h"
#include "support/silenced_stdout.h"

namespace {

using Bytes = std::string;

void put32(Bytes& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>(v >> (8 * i)));
}

// A 24-bit BMP header for width x height followed by `pixels`.
Bytes bmp(int32_t width, int32_t height, const Bytes& pixels) {
  Bytes out = "BM";
  put32(out, 54 + static_cast<uint32_t>(pixels.size()));
  put32(out, 0);
  put32(out, 54);
  put32(out, 40);
  put32(out, static_cast<uint32_t>(width));
  put32(out, static_cast<uint32_t>(height));
  put32(out, 1 | (24 << 16));
  for (int i = 0; i < 6; ++i) put32(out, 0);
  return out + pixels;
}

class TextureFaultTest : public ::testing::Test {
 protected:
  TextureFaultTest() {
    cache.setUploader([this](int id, const DecodedImage&) { uploads.push_back(id); });
  }
  std::string write(const std::string& name, const Bytes& bytes) {
    writeFile(dir.file(name), bytes);
    return dir.file(name);
  }

  ScratchDir dir;
  TextureCache cache;
  std::vector<int> uploads;
};

TEST_F(TextureFaultTest, EveryTruncationOfAnImageIsRefused) {
  const Bytes whole = bmp(4, 2, Bytes(24, '\x40'));
  SilencedStdout quiet;
  ASSERT_NE(cache.loadImage(write("whole.bmp", whole)), -1);
  uploads.clear();
  for (size_t length = 0; length < whole.size(); ++length) {
    EXPECT_EQ(cache.loadImage(write("cut.bmp", whole.substr(0, length))), -1) << length;
  }
  EXPECT_TRUE(uploads.empty());
}

TEST_F(TextureFaultTest, FilesThatAreNoImagesAreRefused) {
  ASSERT_EQ(mkdir(dir.file("folder").c_str(), 0755), 0);
  ASSERT_EQ(mkfifo(dir.file("pipe").c_str(), 0644), 0);
  const std::string names[] = {
      write("model.mdl", "3\n0 0 0\n1 0 0\n0 1 0\n1\n0\n0\n1 1 1 1\n0\n"),
      write("empty.bmp", ""),
      write("header-only.bmp", bmp(2, 2, "")),
      dir.file("folder"),
      dir.file("pipe"),
      "/dev/zero",
      "/dev/null",
  };
  const ChildResult child = runInChild(
      [&] {
        SilencedStdout quiet;
        for (const std::string& name : names)
          if (cache.loadImage(name) != -1) return 1;
        return uploads.empty() ? 0 : 2;
      },
      20);
  EXPECT_TRUE(child.exited) << "ended by signal " << child.signal;
  EXPECT_EQ(child.code, 0);
}

// Headers whose pixels would take gigabytes, in files of a few bytes.
TEST_F(TextureFaultTest, HugeImageHeadersCostNoMemory) {
  // 100,000 x 100,000 pixels would take 40 GB as RGBA.
  const std::string huge = write("huge.bmp", bmp(100000, 100000, Bytes(64, '\x10')));
  // 8 x 16,645,888 pixels of a compression nobody knows: half a gigabyte.
  Bytes unknown = bmp(8, 16645888, Bytes(24, '\x1e'));
  unknown[28] = 1;       // bits per pixel
  unknown[33] = '\xe0';  // compression 0xe0000000
  const std::string strange = write("strange.bmp", unknown);
  // No bits per pixel at all, for as many pixels as the decoder would take.
  Bytes depthless = bmp(16384, 16384, Bytes(24, '\x1e'));
  depthless[28] = 0;
  const std::string flat = write("depthless.bmp", depthless);

  struct rusage self {};
  getrusage(RUSAGE_SELF, &self);
  const ChildResult child = runInChild(
      [&] {
        limitChildMemory(rlim_t{1} << 31);
        SilencedStdout quiet;
        for (const std::string& name : {huge, strange, flat})
          if (cache.loadImage(name) != -1) return 1;
        return uploads.empty() ? 0 : 2;
      },
      20);
  EXPECT_TRUE(child.exited && child.code == 0) << "signal " << child.signal;
  EXPECT_LT(child.maxRssKb, self.ru_maxrss + 64 * 1024) << "kilobytes at the peak";
}

class TextureCommandTest : public EditorTest {
 protected:
  ScratchDir dir;
};

TEST_F(TextureCommandTest, FailedLoadKeepsTheGroupsTexture) {
  writeFile(dir.file("good.bmp"), bmp(2, 2, Bytes(16, '\x20')));
  writeFile(dir.file("cut.bmp"), bmp(2, 2, Bytes(5, '\x20')));
  SilencedStdout quiet;
  editor.runConsoleCommand("/loadtex " + dir.file("good.bmp"));
  ASSERT_EQ(lastConsoleMessage(), "Texture Loaded!");
  const Material kept = editor.model->currentGroup->material;
  const int shown = editor.uvTexture;
  for (const std::string& name : {dir.file("cut.bmp"), dir.file("absent.bmp"), dir.file("")}) {
    editor.runConsoleCommand("/loadtex " + name);
    EXPECT_EQ(lastConsoleMessage(), "Error! Texture failed to load!") << name;
    const Material& now = editor.model->currentGroup->material;
    EXPECT_EQ(now.textureName, kept.textureName);
    EXPECT_EQ(now.textureId, kept.textureId);
    EXPECT_EQ(now.textured, 1);
    EXPECT_EQ(editor.uvTexture, shown);
  }
}

}  // namespace
