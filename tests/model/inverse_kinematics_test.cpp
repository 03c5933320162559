// Inverse kinematics: chains of joints reaching targets, by the two-bone
// solution and by forward and backward reaching, against what geometry says.

#include <gtest/gtest.h>

#include <glm/geometric.hpp>

#include <vector>

#include "model/inverse_kinematics.h"

namespace {

using V = glm::dvec3;

std::vector<double> lengths(const std::vector<V>& joints) {
  std::vector<double> l;
  for (size_t i = 0; i + 1 < joints.size(); ++i)
    l.push_back(glm::length(joints[i + 1] - joints[i]));
  return l;
}

// The chain points straight at the target from its first joint, bone after bone.
void expectStraightAt(const std::vector<V>& joints, const std::vector<double>& was, const V& target,
                      const char* why) {
  const V dir = glm::normalize(target - joints[0]);
  double along = 0;
  for (size_t i = 0; i < was.size(); ++i) {
    along += was[i];
    EXPECT_LT(glm::length(joints[i + 1] - (joints[0] + along * dir)), 1e-9)
        << why << " joint " << i;
  }
}

struct TwoBoneCase {
  const char* why;
  V a, b, c, target;
  bool reaches;
};

// clang-format off
const TwoBoneCase kTwoBoneCases[] = {
    {"a bent arm reaches nearer, bending to the same side", {0, 0, 0}, {1, 1, 0}, {2, 0, 0}, {1.5, 0, 0}, true},
    {"and further, bent the other way", {0, 0, 0}, {1, -1, 0}, {2, 0, 0}, {0.5, 2, 0}, true},
    {"bent in a tilted plane, it stays in it", {0, 0, 0}, {1, 1, 1}, {2, 0, 2}, {1, 0.5, 1}, true},
    {"away from the origin, unequal bones", {3, 2, 1}, {3, 4, 1}, {4, 4, 1}, {4, 3, 1}, true},
    {"a straight arm bends in the view's plane", {0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {1, 1, 0}, true},
    {"out of reach: straight at the target", {0, 0, 0}, {1, 1, 0}, {2, 0, 0}, {0, 5, 0}, false},
    {"out of reach off the bend's plane", {0, 0, 0}, {1, 1, 0}, {2, 0, 0}, {1, 2, 3}, false},
    {"just out of reach, along the arm", {0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {2.5, 0, 0}, false},
};
// clang-format on

TEST(InverseKinematicsTest, TwoBonesReachKeepLengthsAndTheirBendPlane) {
  const V viewNormal(0, 0, 1);
  for (const TwoBoneCase& t : kTwoBoneCases) {
    std::vector<V> joints{t.a, t.b, t.c};
    const std::vector<double> was = lengths(joints);
    V normal = glm::cross(t.b - t.a, t.c - t.b);
    const bool bent = glm::length(normal) > 1e-9;
    normal = glm::normalize(bent ? normal : viewNormal);
    reachWithTwoBones(joints, t.target, viewNormal);
    EXPECT_EQ(joints[0], t.a) << t.why;
    for (size_t i = 0; i < was.size(); ++i) EXPECT_NEAR(lengths(joints)[i], was[i], 1e-12) << t.why;
    if (!t.reaches) {
      expectStraightAt(joints, was, t.target, t.why);
      continue;
    }
    EXPECT_LT(glm::length(joints[2] - t.target), 1e-6) << t.why;
    // The target lies in the bend's plane, so the whole chain stays there.
    EXPECT_NEAR(glm::dot(joints[1] - t.a, normal), 0, 1e-12) << t.why;
    if (bent) {
      EXPECT_GT(glm::dot(glm::cross(joints[1] - t.a, joints[2] - joints[1]), normal), 0) << t.why;
    }
  }
}

struct ChainCase {
  const char* why;
  std::vector<V> joints;
  V target;
  bool reaches;
};

TEST(InverseKinematicsTest, LongerChainsReachByFabrikKeepingLengths) {
  std::vector<V> straight, zigzag;  // ten bones along x; the zigzag half a unit up and down
  for (int i = 0; i <= 10; ++i)
    straight.emplace_back(i, 0, 0), zigzag.emplace_back(i, i % 2 * 0.5, 0);
  // clang-format off
  const ChainCase cases[] = {
      {"a zigzag of ten bones reaches a point off its plane", zigzag, {3, 4, 1}, true},
      {"a straight chain reaching along its own line bends", straight, {4, 0, 0}, true},
      {"three bones round a corner", {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, {0.5, 0.5, 0.5}, true},
      {"out of reach: straight at the target", zigzag, {100, -3, 2}, false},
  };
  // clang-format on
  for (const ChainCase& t : cases) {
    std::vector<V> joints = t.joints;
    const std::vector<double> was = lengths(joints);
    reachWithChain(joints, t.target, V(0, 0, 1));
    EXPECT_EQ(joints[0], t.joints[0]) << t.why;
    for (size_t i = 0; i < was.size(); ++i) EXPECT_NEAR(lengths(joints)[i], was[i], 1e-12) << t.why;
    if (t.reaches) {
      EXPECT_LT(glm::length(joints.back() - t.target), 1e-6) << t.why;
    } else {
      expectStraightAt(joints, was, t.target, t.why);
    }
  }
}

}  // namespace
