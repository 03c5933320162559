// Skeletal animations come in from files other tools wrote (tests/data/animated): the arm
// bends in the editor as it does in the file, at the file's key times and between them.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <map>

#include "formats/model_export.h"
#include "formats/model_file.h"
#include "import/foreign_import.h"
#include "import/import_child.h"
#include "model/animation.h"
#include "model/model_builder.h"
#include "model/rig.h"
#include "model/skin.h"
#include "support/format_fixtures.h"

namespace {

// Where the files' arm puts a rest vertex. "bend", at `seconds`: the upper arm (x = 0) lifted by
// half a unit a second, the forearm (x = 2) also turned about the elbow (1, 0, 0) up to a
// quarter turn at one second, the elbow (x = 1) half and half. "wave": the whole arm turned about
// y, 0.6 radians at a quarter second and back at half a second.
glm::dvec3 bent(const glm::dvec3& rest, double seconds) {
  const double angle = M_PI / 2 * std::min(seconds, 1.0);
  const glm::dvec3 lift(0, 0.5 * seconds, 0);
  const glm::dvec3 d = rest - glm::dvec3(1, 0, 0);
  const glm::dvec3 turned =
      glm::dvec3(1, 0, 0) + glm::dvec3(d.x * std::cos(angle) - d.y * std::sin(angle),
                                       d.x * std::sin(angle) + d.y * std::cos(angle), 0);
  const double fore = rest.x < 0.5 ? 0 : rest.x < 1.5 ? 0.5 : 1;
  return (1 - fore) * rest + fore * turned + lift;
}
glm::dvec3 waved(const glm::dvec3& rest, double seconds) {
  const double a = 0.6 * (1 - std::abs(seconds - 0.25) / 0.25);
  return {rest.x * std::cos(a) + rest.z * std::sin(a), rest.y,
          rest.z * std::cos(a) - rest.x * std::sin(a)};
}

// "stretch": the forearm's joint moved 0.5 along x a second, its height scaled by 1 + seconds.
glm::dvec3 stretched(const glm::dvec3& rest, double seconds) {
  const glm::dvec3 moved(1 + 0.5 * seconds + (rest.x - 1), rest.y * (1 + seconds), 0);
  const double fore = rest.x < 0.5 ? 0 : rest.x < 1.5 ? 0.5 : 1;
  return (1 - fore) * rest + fore * moved;
}

struct Expected {
  const char* clip;
  double frame, seconds;
  glm::dvec3 (*pose)(const glm::dvec3&, double);
};

// Assimp's FBX writer keeps "wave" with its key times read as seconds, a thousand times longer,
// and "bend" without keys: the file holds that, and the editor shows what the file holds.
// clang-format off
const std::pair<const char*, std::vector<Expected>> kFiles[] = {
    {"arm_three.glb", {{"bend", 0, 0, bent}, {"bend", 6, 0.25, bent}, {"bend", 18, 0.75, bent},
                       {"bend", 24, 1, bent}, {"wave", 3, 0.125, waved}, {"wave", 6, 0.25, waved}}},
    {"arm_assimp.glb",
     {{"bend", 12, 0.5, bent}, {"bend", 21, 0.875, bent}, {"wave", 9, 0.375, waved}}},
    {"arm_stretch_three.glb", {{"stretch", 6, 0.25, stretched}, {"stretch", 24, 1, stretched}}},
    {"arm_assimp.fbx",
     {{"bend", 24, 0, bent}, {"wave", 3000, 0.125, waved}, {"wave", 6000, 0.25, waved}}},
};
// clang-format on

TEST(AnimationImport, ArmsWrittenByOtherToolsMoveAsInTheFile) {
  const std::string data = std::getenv("VANTOREL_TEST_DATA") + std::string("/animated/");
  for (const auto& [file, expected] : kFiles) {
    SCOPED_TRACE(file);
    ScratchCwd scratch;
    ForeignModel imported;
    std::string reason;
    ASSERT_TRUE(importForeignModel(data + file, imported, &reason)) << reason;
    Model model("arm", nullptr);
    buildModel(imported.image, model);
    // The child process hands the clips and weights back whole.
    const ImportResult child =
        importInChild(data + file, "arm", nullptr, {VANTOREL_PROGRAM, 20, 0});
    ASSERT_NE(child.model, nullptr) << child.reason;
    EXPECT_EQ(child.model->name, "arm");
    EXPECT_EQ(captureImage(*child.model), captureImage(model));
    EXPECT_EQ(child.changes, imported.changes);
    ASSERT_FALSE(model.animation->clips.empty());
    const Rig rig = flattenRig(model);
    const SkinBinding binding = bindSkin(model, rig);
    ASSERT_EQ(binding.vertices.size(), 6u);
    for (const Expected& e : expected) {
      const Clip* clip = model.animation->find(e.clip);
      ASSERT_NE(clip, nullptr) << e.clip;
      EXPECT_EQ(clip->fps, 24);
      std::vector<BonePose> poses;
      std::vector<glm::dmat4> world, skin;
      std::vector<glm::dvec3> points;
      clipPose(rig, clip, e.frame, poses);
      worldTransforms(rig, poses, world);
      skinMatrices(rig, world, skin);
      posePoints(binding, skin, points);
      for (size_t v = 0; v < points.size(); ++v) {
        const Vertex& r = *binding.vertices[v];
        EXPECT_LT(glm::length(points[v] - e.pose({r.x, r.y, r.z}, e.seconds)), 1e-5)
            << e.clip << " frame " << e.frame << " vertex at " << r.x << ", " << r.y;
      }
    }
  }
}

// The arm's "bend" with one bone's keys held and another's curved: a glTF file the editor writes
// comes back with them, posed alike at every frame.
TEST(AnimationImport, KeysComeBackWithTheInterpolationTheFileGivesThem) {
  const std::string data = std::getenv("VANTOREL_TEST_DATA") + std::string("/animated/");
  ForeignModel imported;
  ASSERT_TRUE(importForeignModel(data + "arm_three.glb", imported, nullptr));
  ScratchCwd scratch;
  Model arm("arm", nullptr);
  buildModel(imported.image, arm);
  Clip& bend = *arm.animation->find("bend");
  std::map<std::string, std::pair<Interpolation, Track>> given;  // by bone name
  Interpolation next = Interpolation::kStep;
  for (auto& [bone, track] : bend.tracks) {
    for (PoseKey& key : track) key.interpolation = next;
    given[bone->name] = {next, track};
    next = next == Interpolation::kStep ? Interpolation::kSmooth : Interpolation::kLinear;
  }
  ASSERT_EQ(given.size(), 2u);  // one held, one curved
  for (const char* file : {"arm.glb", "arm.gltf"}) {
    SCOPED_TRACE(file);
    ASSERT_TRUE(exportModel(arm, file, nullptr));
    ForeignModel back;
    ASSERT_TRUE(importForeignModel(file, back, nullptr));
    Model model("back", nullptr);
    buildModel(back.image, model);
    const Clip& clip = *model.animation->find("bend");
    for (const auto& [bone, track] : clip.tracks) {
      ASSERT_TRUE(given.contains(bone->name)) << bone->name;
      for (const PoseKey& key : track)
        EXPECT_EQ(key.interpolation, given[bone->name].first) << bone->name << " " << key.frame;
      const Track& before = given[bone->name].second;
      for (int f = 0; f <= clip.length; ++f) {
        const BonePose a = sampleTrack(before, f), b = sampleTrack(track, f);
        EXPECT_LT(glm::length(glm::dvec4(a.rotation.w, a.rotation.x, a.rotation.y, a.rotation.z) -
                              glm::dvec4(b.rotation.w, b.rotation.x, b.rotation.y, b.rotation.z)),
                  1e-5)
            << bone->name << " frame " << f;
      }
    }
  }
}

}  // namespace
