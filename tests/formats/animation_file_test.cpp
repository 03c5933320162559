// The model file's animation section: the writer's exact text, every reader
// giving back what was written, and the damage the reader refuses.

#include <gtest/gtest.h>

#include <glm/gtc/quaternion.hpp>

#include "formats/model_file.h"
#include "formats/model_load.h"
#include "model/animation.h"
#include "model/model_builder.h"
#include "support/arm_fixture.h"
#include "support/format_fixtures.h"

namespace {

// The arm with a clip that bends it, an empty clip and two weights by hand.
void animate(Model& model, const Arm& arm) {
  Clip& bend = model.animation->add("bend");
  bend.length = 30, bend.fps = 25;
  bend.tracks[arm.fore] = {{0, {}},
                           {10, {glm::angleAxis(1.5707963267948966, glm::dvec3(0, 0, 1))}}};
  bend.tracks[arm.root] = {{30, {glm::dquat(1, 0, 0, 0), {0.5, 0, -1.25}}}};
  bend.tracks[arm.upper] = {};  // an empty track is not written
  model.animation->add("idle").length = 1;
  model.animation->weights[arm.v[1]] = {{arm.upper, 0.25}, {arm.fore, 0.75}};
  model.animation->weights[model.newVertex(9, 9, 9)] = {{arm.fore, 1}};  // not in the model
}

const std::string kSection =
    "animation 1\nclips 2\nclip bend 30 25 2\n"
    "track 0 1\n30 1.000000 0.000000 0.000000 0.000000 0.500000 0.000000 -1.250000\n"
    "track 2 2\n0 1.000000 0.000000 0.000000 0.000000 0.000000 0.000000 0.000000\n"
    "10 0.707107 0.000000 0.000000 0.707107 0.000000 0.000000 0.000000\n"
    "clip idle 1 24 0\nweights 2\n4 1 0.250000\n4 2 0.750000\n";

TEST(AnimationFileTest, ClipsAndWeightsFollowTheSkeletonAndComeBackExactly) {
  Model model("m", nullptr);
  Arm arm(model);
  const std::string still = textOf(model);
  animate(model, arm);
  const std::string text = textOf(model);
  ASSERT_EQ(text, still + kSection);
  // The section is past what a reader of the skeleton alone looks at.
  ModelImage image;
  std::string error;
  ASSERT_TRUE(parseModelFile(text, image, &error)) << error;
  EXPECT_EQ(image, captureImage(model));
  Model built("built", nullptr), twice("twice", nullptr);
  buildModel(image, built);
  ASSERT_EQ(built.animation->clips.size(), 2u);
  EXPECT_EQ(built.animation->weights.size(), 1u);
  for (auto [blockLines, blocks] : {std::pair<size_t, size_t>{1, 1}, {4096, 16}}) {
    Model read("read", nullptr);
    std::FILE* file = fileWith(text);
    ASSERT_TRUE(readAndBuild(file, text.size(), read, false, blockLines, blocks));
    std::fclose(file);
    EXPECT_EQ(captureImage(read), captureImage(built));
  }
  // Each build reverses the vertex list: twice gives the text back.
  buildModel(captureImage(built), twice);
  EXPECT_EQ(textOf(twice), text);
}

TEST(AnimationFileTest, TheReaderRefusesASectionTheWriterCouldNotHaveWritten) {
  Model model("m", nullptr);
  Arm arm(model);
  animate(model, arm);
  const std::string text = textOf(model);
  const int first =
      static_cast<int>(std::count(text.begin(), text.begin() + text.find("animation"), '\n')) + 1;
  auto damaged = [&](const std::string& from, const std::string& to) {
    std::string t = text;
    return t.replace(t.find(from), from.size(), to);
  };
  auto line = [&](int offset, const std::string& reason) {
    return "line " + std::to_string(first + offset) + ": " + reason;
  };
  const std::pair<std::string, std::string> cases[] = {
      {damaged("animation 1", "animation 3"), line(0, "unknown animation version")},
      {damaged("clips 2", "clips two"), line(1, "unreadable clip count")},
      {damaged("clip bend", "clap bend"), line(2, "expected clip")},
      {damaged("track 2 2", "track 7 2"), line(5, "track bone out of order")},
      {damaged("track 2 2", "track 0 2"), line(5, "track bone out of order")},
      {damaged("\n10 0.7", "\n0 0.7"), line(7, "key frame out of order")},
      {damaged("\n10 0.7", "\n31 0.7"), line(7, "key frame out of order")},
      {damaged("\n30 1.000000 0.000000", "\n30 0.000000 0.000000"),
       line(4, "key rotation of length 0")},
      {damaged("0.500000 0.000000 -1.25", "0.500000 nan -1.25"),
       line(4, "key translation is not finite")},
      {damaged("bend 30 25", "bend 30 0"), line(2, "frame rate out of range")},
      {damaged("clip idle", "clip bend"), line(8, "clip name repeated")},
      {damaged("4 2 0.750000", "4 2 1.5"), line(11, "weight outside 0..1")},
      {damaged("4 2 0.750000", "4 0 0.75"), line(11, "weights out of order")},
      {damaged("4 2 0.750000", "6 2 0.75"), line(11, "weight of a vertex or bone out of range")},
      {text.substr(0, text.size() - 10), line(11, "weight missing")},
  };
  for (const auto& [bad, expected] : cases) {
    ModelImage image;
    std::string error;
    EXPECT_FALSE(parseModelFile(bad, image, &error));
    EXPECT_EQ(error, expected);
  }
  // Other text after the skeleton is still a note the reader passes over.
  ModelImage image;
  Model plain("plain", nullptr);
  Arm plainArm(plain);
  EXPECT_TRUE(parseModelFile(textOf(plain) + "animations are coming\n", image));
  EXPECT_TRUE(image.clips.empty());
}

}  // namespace

TEST(AnimationFileTest, KeysThatMoveAnyBoneScaleOrHoldNeedTheNewerSection) {
  Model model("m", nullptr);
  Arm arm(model);
  animate(model, arm);
  Track& fore = model.animation->clips[0]->tracks[arm.fore];
  fore[0].pose.translation = {0, 0.5, 0};
  fore[0].pose.scale = {1, 2, 1};
  fore[0].interpolation = Interpolation::kStep;
  fore[1].interpolation = Interpolation::kSmooth;
  const std::string text = textOf(model);
  const std::string v2 =
      "animation 2\nclips 2\nclip bend 30 25 2\n"
      "track 0 1\n30 1.000000 0.000000 0.000000 0.000000 0.500000 0.000000 -1.250000 "
      "1.000000 1.000000 1.000000 linear\n"
      "track 2 2\n0 1.000000 0.000000 0.000000 0.000000 0.000000 0.500000 0.000000 "
      "1.000000 2.000000 1.000000 step\n"
      "10 0.707107 0.000000 0.000000 0.707107 0.000000 0.000000 0.000000 "
      "1.000000 1.000000 1.000000 smooth\n";
  ASSERT_NE(text.find(v2), std::string::npos) << text;
  ModelImage image;
  std::string error;
  ASSERT_TRUE(parseModelFile(text, image, &error)) << error;
  EXPECT_EQ(image, captureImage(model));
  std::string bad = text;
  bad.replace(bad.find(" step\n"), 5, " jump");
  EXPECT_FALSE(parseModelFile(bad, image, &error));
  EXPECT_NE(error.find("unknown key interpolation"), std::string::npos) << error;
  // A version 1 file never moved a bone below the root: its numbers stay unplayed.
  Model oldModel("m", nullptr);
  Arm oldArm(oldModel);
  std::string old = textOf(oldModel) + kSection;
  const std::string elbow = "10 0.707107 0.000000 0.000000 0.707107 0.000000";
  old.replace(old.find(elbow), elbow.size(), "10 0.707107 0.000000 0.000000 0.707107 3.000000");
  ASSERT_TRUE(parseModelFile(old, image, &error)) << error;
  EXPECT_EQ(image.clips[0].tracks[1].keys[1].translation[0], 0);
}
