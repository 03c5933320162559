// A model copied a slice at a time, with saves and other operations' marks between slices, gives
// the very image captureImage gives.

#include "recovery/recovery_capture.h"

#include "formats/model_file.h"
#include "model/animation.h"
#include "model/marks.h"
#include "support/format_fixtures.h"

namespace {

TEST(RecoveryCaptureTest, ACopyInSlicesGivesTheImageCaptureImageGives) {
  for (int seed = 1; seed <= 100; ++seed) {
    std::mt19937 rng(seed);
    Model model("m", nullptr);
    buildRandomModel(model, rng, seed % 2 ? "t.bmp" : "", seed % 4);
    Polygon* last = model.currentGroup->polygons.headItem();
    // A corner outside the model's list, and a bone of a skeleton no longer the model's.
    if (seed % 3 == 0) last->vertices[1] = last->uvs[1].vertex = model.newVertex(9, 8, 7);
    // Clips and weights on the model's bones and vertices come along.
    if (Bone* root = model.rootBone(); root && seed % 5) {
      model.animation->add("walk").tracks[root] = {{0, {}}, {seed, {{0, 1, 0, 0}, {0, 0, 0}}}};
      model.animation->weights[model.vertices.headItem()] = {{root, 0.5}};
    }
    if (seed % 4 == 3) model.setSkeleton(std::make_unique<Skeleton>(1, 2, 3));
    const ModelImage expected = captureImage(model);
    ModelCopy copy(model, newMarkPass());
    while (copy.copySome(1 + rng() % 7) == ModelCopy::kMore) {
      if (rng() % 2) captureImage(model);                     // a save between slices
      if (rng() % 2) markAll(model.vertices, newMarkPass());  // another operation's marks
    }
    EXPECT_EQ(copy.image(), expected) << seed;
  }
}

}  // namespace
