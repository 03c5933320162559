// Reading a model file on two threads: whatever the ring's shape, and
// wherever the file goes wrong, the result is what parsing the whole text and
// building it in one go gives.

#include <cstdio>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "model/model.h"
#include "model/model_builder.h"
#include "model/model_fixtures.h"
#include "model/model_image.h"

namespace {

// Reads `text` from a file through a ring of the given shape.
bool readOnTwoThreads(const std::string& text, Model& model, size_t blockLines, size_t ringBlocks) {
  std::FILE* file = std::tmpfile();
  EXPECT_NE(file, nullptr);
  std::fwrite(text.data(), 1, text.size(), file);
  std::rewind(file);
  const bool built = readAndBuild(file, text.size(), model, false, blockLines, ringBlocks);
  std::fclose(file);
  return built;
}

const std::pair<size_t, size_t> kRingShapes[] = {{1, 1}, {3, 2}, {8, 3}, {100, 4}, {4096, 16}};

TEST(ModelBuilderTest, TwoThreadsBuildWhatOneBuildsForAnyRing) {
  Model large("large", nullptr);
  buildLargeModel(large);
  Model rich("rich", nullptr);
  RichModel fill(rich);
  for (Model* original : {&large, &rich}) {
    const std::string text = formatModelFile(captureImage(*original));
    ModelImage parsed;
    ASSERT_TRUE(parseModelFile(text, parsed));
    Model reference("reference", nullptr);
    buildModel(parsed, reference, false);
    for (auto [blockLines, ringBlocks] : kRingShapes) {
      Model model("m", nullptr);
      ASSERT_TRUE(readOnTwoThreads(text, model, blockLines, ringBlocks))
          << blockLines << " x " << ringBlocks;
      EXPECT_EQ(captureImage(model), captureImage(reference)) << blockLines << " x " << ringBlocks;
      EXPECT_EQ(model.currentGroup, model.groups.headItem());
    }
  }
}

TEST(ModelBuilderTest, DamageAnywhereFailsTheReadWithoutHanging) {
  Model original("large", nullptr);
  buildLargeModel(original);
  const std::string text = formatModelFile(captureImage(original));
  // Cuts, and a bad first number, at line starts spread over the vertices,
  // the polygons, the group trailers and the skeleton.
  for (size_t near :
       {size_t{3}, text.size() / 7, text.size() / 2, text.size() * 9 / 10, text.size() - 3}) {
    const size_t at = text.rfind('\n', near) + 1;
    const std::string cut = text.substr(0, at);
    std::string bad = text;
    bad.insert(at, "x");
    for (const std::string* damaged : {&cut, static_cast<const std::string*>(&bad)}) {
      for (auto [blockLines, ringBlocks] : kRingShapes) {
        Model model("m", nullptr);
        EXPECT_FALSE(readOnTwoThreads(*damaged, model, blockLines, ringBlocks))
            << at << ", " << blockLines << " x " << ringBlocks;
      }
    }
  }
}

}  // namespace
