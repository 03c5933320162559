// Pose evaluation against cases worked out by hand, interpolation between
// keys, and the weights a vertex follows.

#include <gtest/gtest.h>

#include <glm/gtc/quaternion.hpp>

#include "model/animation.h"
#include "model/rig.h"
#include "model/skin.h"
#include "support/arm_fixture.h"

namespace {

const glm::dvec3 kX(1, 0, 0), kY(0, 1, 0), kZ(0, 0, 1);
constexpr double kQuarter = 1.5707963267948966;

glm::dquat turn(double angle, const glm::dvec3& axis) {
  return glm::angleAxis(angle, axis);
}

::testing::AssertionResult near(const glm::dvec3& got, const glm::dvec3& want) {
  if (glm::length(got - want) < 1e-12) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "(" << got.x << ", " << got.y << ", " << got.z << ") is not (" << want.x << ", "
         << want.y << ", " << want.z << ")";
}

// The posed points of every vertex of the model, by vertex record.
std::vector<glm::dvec3> posed(Model& model, const std::vector<BonePose>& poses,
                              const std::vector<Vertex*>& of) {
  const Rig rig = flattenRig(model);
  const SkinBinding binding = bindSkin(model, rig);
  std::vector<glm::dmat4> world, skin;
  worldTransforms(rig, poses, world);
  skinMatrices(rig, world, skin);
  std::vector<glm::dvec3> points, out;
  posePoints(binding, skin, points);
  for (Vertex* v : of)
    out.push_back(points[std::find(binding.vertices.begin(), binding.vertices.end(), v) -
                         binding.vertices.begin()]);
  return out;
}

TEST(PoseTest, AChainOfThreeCarriesItsChildren) {
  Model model("m", nullptr);
  Bone* root = model.createRoot(0, 0, 0);
  Bone* a = model.addBone(root, 1, 0, 0);
  Bone* b = model.addBone(a, 1, 1, 0);
  model.addBone(b, 1, 1, 1);
  const Rig rig = flattenRig(model);
  struct Case {
    const char* what;
    BonePose root, a, b;
    glm::dvec3 ends[3];  // of a, b and c
  };
  // clang-format off
  const Case cases[] = {
      {"rest", {}, {}, {}, {{1, 0, 0}, {1, 1, 0}, {1, 1, 1}}},
      {"a quarter turn of the first bone about z", {}, {turn(kQuarter, kZ)}, {},
       {{0, 1, 0}, {-1, 1, 0}, {-1, 1, 1}}},
      {"then the second about x in the first one's frame", {}, {turn(kQuarter, kZ)},
       {turn(kQuarter, kX)}, {{0, 1, 0}, {0, 1, 1}, {1, 1, 1}}},
      {"the root moved carries everything", {glm::dquat(1, 0, 0, 0), {0, 0, 5}},
       {turn(kQuarter, kZ)}, {}, {{0, 1, 5}, {-1, 1, 5}, {-1, 1, 6}}},
      {"half a turn of the root about y", {turn(2 * kQuarter, kY)}, {}, {},
       {{-1, 0, 0}, {-1, 1, 0}, {-1, 1, -1}}},
      {"the second bone's joint moved carries its child", {}, {},
       {glm::dquat(1, 0, 0, 0), {0, 0, 2}}, {{1, 0, 0}, {1, 1, 2}, {1, 1, 3}}},
      {"the first bone scaled scales its children", {},
       {glm::dquat(1, 0, 0, 0), {0, 0, 0}, {2, 2, 2}}, {}, {{2, 0, 0}, {2, 2, 0}, {2, 2, 2}}},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<glm::dmat4> world;
    worldTransforms(rig, {c.root, c.a, c.b, BonePose{}}, world);
    for (int bone = 1; bone <= 3; ++bone)
      EXPECT_TRUE(near(posedEnd(rig, world, bone), c.ends[bone - 1]));
    if (c.b.translation == glm::dvec3(0)) {
      EXPECT_TRUE(near(posedStart(world, 2), posedEnd(rig, world, 1)));
    }
  }
}

TEST(PoseTest, AQuarterTurnOfTheForearmBendsTheElbowWithoutAGap) {
  Model model("m", nullptr);
  Arm arm(model);
  const std::vector<Vertex*> all(arm.v, arm.v + 6);
  const auto points = posed(model, {{}, {}, {turn(kQuarter, kZ)}}, all);
  // Far vertices turn with the forearm about the elbow; the elbow's follow
  // both bones by their share of its triangles (v1: 1/3 upper, v4: 2/3).
  const glm::dvec3 want[6] = {{0, -.25, 0}, {3.5 / 3, -.25 / 3, 0}, {1.25, 1, 0},
                              {0, .25, 0},  {2.75 / 3, .5 / 3, 0},  {.75, 1, 0}};
  for (int i = 0; i < 6; ++i) EXPECT_TRUE(near(points[i], want[i])) << "v" << i;
  // Every corner of a vertex takes its one posed place: the strip stays whole.
  const Rig rig = flattenRig(model);
  const SkinBinding binding = bindSkin(model, rig);
  EXPECT_EQ(binding.vertices.size(), 6u);
  EXPECT_EQ(binding.corners.size(), 12u);
}

TEST(PoseTest, WeightsFollowTheShareOfTrianglesOrTheHand) {
  Model model("m", nullptr);
  Arm arm(model);
  const Rig rig = flattenRig(model);
  auto influenceOf = [&](Vertex* v) {
    const SkinBinding b = bindSkin(model, rig);
    return b.influences[std::find(b.vertices.begin(), b.vertices.end(), v) - b.vertices.begin()];
  };
  const int upper = rig.indexOf(arm.upper), fore = rig.indexOf(arm.fore);
  Influence v1 = influenceOf(arm.v[1]);
  EXPECT_EQ(v1.count, 2);
  EXPECT_EQ(v1.bones[0], fore);
  EXPECT_DOUBLE_EQ(v1.weights[0], 2.0 / 3);
  EXPECT_EQ(v1.bones[1], upper);
  EXPECT_EQ(influenceOf(arm.v[0]), (Influence{{uint16_t(upper)}, {1}, 1}));

  // By hand: the set weights replace the derived ones, made to sum to 1.
  model.animation->weights[arm.v[0]] = {{arm.fore, 0.3}, {arm.upper, 0.1}};
  Influence v0 = influenceOf(arm.v[0]);
  EXPECT_EQ(v0.bones[0], fore);
  EXPECT_DOUBLE_EQ(v0.weights[0], 0.75);
  model.animation->weights[arm.v[0]] = {{arm.fore, 0}};
  EXPECT_EQ(influenceOf(arm.v[0]), Influence{}) << "all zero: the root";

  // At most four bones: the largest shares, ties to the earlier bone.
  const Influence five = strongestFour({{5, 1}, {1, 2}, {4, 1}, {2, 3}, {3, 1}, {6, 0}, {7, -1}});
  EXPECT_EQ(five.count, 4);
  EXPECT_EQ(std::vector<int>(five.bones, five.bones + 4), (std::vector<int>{2, 1, 3, 4}));
  EXPECT_DOUBLE_EQ(five.weights[0] + five.weights[1] + five.weights[2] + five.weights[3], 1);
}

TEST(PoseTest, TracksHoldTheirKeysAndInterpolateBetweenThem) {
  Track track;
  setKey(track, {10, {turn(kQuarter, kZ), {2, 0, 0}}});
  setKey(track, {0, {glm::dquat(1, 0, 0, 0), {0, 0, 0}}});
  setKey(track, {20, {turn(-kQuarter, kZ), {0, 4, 0}}});
  setKey(track, {20, {turn(kQuarter, kZ), {0, 4, 0}}});  // replaces
  ASSERT_EQ(track.size(), 3u);
  struct Case {
    double frame;
    double angle;  // about z
    glm::dvec3 translation;
  };
  const Case cases[] = {{-5, 0, {0, 0, 0}},           {0, 0, {0, 0, 0}},
                        {5, kQuarter / 2, {1, 0, 0}}, {2.5, kQuarter / 4, {.5, 0, 0}},
                        {10, kQuarter, {2, 0, 0}},    {15, kQuarter, {1, 2, 0}},
                        {20, kQuarter, {0, 4, 0}},    {99, kQuarter, {0, 4, 0}}};
  for (const Case& c : cases) {
    const BonePose pose = sampleTrack(track, c.frame);
    EXPECT_TRUE(near(pose.translation, c.translation)) << c.frame;
    const glm::dvec3 x = pose.rotation * kX;
    EXPECT_TRUE(near(x, {std::cos(c.angle), std::sin(c.angle), 0})) << c.frame;
  }
  // The short way round: a key and its negation are the same turn.
  Track flipped = {{0, {turn(0.1, kZ)}}, {10, {-turn(0.3, kZ)}}};
  EXPECT_TRUE(near(sampleTrack(flipped, 5).rotation * kX, {std::cos(0.2), std::sin(0.2), 0}));
  EXPECT_TRUE(removeKey(track, 10));
  EXPECT_FALSE(removeKey(track, 10));
  // Each key's interpolation leads to the next: step holds, smooth follows
  // the cubic through the neighbours (one-sided slopes at the ends).
  struct Between {
    Interpolation how;
    double frame, x;
  };
  const Between between[] = {
      {Interpolation::kStep, 5, 0},      {Interpolation::kStep, 10, 1},
      {Interpolation::kStep, 19.9, 1},   {Interpolation::kLinear, 5, 0.5},
      {Interpolation::kLinear, 15, 2.5}, {Interpolation::kSmooth, 5, 0.375},
      {Interpolation::kSmooth, 20, 4},   {Interpolation::kSmooth, 15, 2.375},
  };
  for (const Between& c : between) {
    Track keys;
    for (auto [frame, x] : {std::pair{0, 0.0}, {10, 1.0}, {20, 4.0}})
      keys.push_back({frame, {turn(x / 10, kZ), {x, 0, 0}, {1, 1 + x, 1}}, c.how});
    const BonePose pose = sampleTrack(keys, c.frame);
    EXPECT_NEAR(pose.translation.x, c.x, 1e-12) << c.frame;
    EXPECT_NEAR(pose.scale.y, 1 + c.x, 1e-12) << c.frame;
    const glm::dvec3 x = pose.rotation * kX;
    EXPECT_NEAR(x.z, 0, 1e-12);
    if (c.how != Interpolation::kSmooth || c.frame == 20) {
      EXPECT_NEAR(std::atan2(x.y, x.x), c.x / 10, 1e-12) << c.frame;
    }
  }
  EXPECT_EQ(sampleTrack({}, 3), BonePose{});
}

}  // namespace
