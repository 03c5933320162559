#include "model/inverse_kinematics.h"

#include <glm/geometric.hpp>
#include <glm/gtc/quaternion.hpp>
#define GLM_ENABLE_EXPERIMENTAL
#include <glm/gtx/quaternion.hpp>

#include <algorithm>
#include <cmath>

#include "model/rig.h"

namespace {

// A unit direction square to `dir` (a unit vector), from the axis it leans on least.
glm::dvec3 squareTo(const glm::dvec3& dir) {
  const glm::dvec3 a = glm::abs(dir);
  const glm::dvec3 axis = a.x <= a.y && a.x <= a.z ? glm::dvec3(1, 0, 0)
                          : a.y <= a.z             ? glm::dvec3(0, 1, 0)
                                                   : glm::dvec3(0, 0, 1);
  return glm::normalize(glm::cross(dir, axis));
}

// The unit direction in the plane of normal `n` that is square to `dir`, on
// the side cross(dir, n) names; any square direction when `n` is along `dir`.
glm::dvec3 sideOf(const glm::dvec3& dir, const glm::dvec3& n) {
  const glm::dvec3 side = glm::cross(dir, n);
  const double size = glm::length(side);
  return size > 1e-12 * glm::length(n) && size > 0 ? side / size : squareTo(dir);
}

}  // namespace

void reachWithTwoBones(std::span<glm::dvec3> joints, const glm::dvec3& target,
                       const glm::dvec3& planeNormal) {
  const glm::dvec3 a = joints[0], b = joints[1], c = joints[2];
  const double l1 = glm::length(b - a), l2 = glm::length(c - b);
  const double d = glm::length(target - a);
  if (d < 1e-12) return;  // every pose is as near as another: keep this one
  const glm::dvec3 dir = (target - a) / d;
  if (d >= l1 + l2 || l1 < 1e-12) {
    joints[1] = a + l1 * dir;
    joints[2] = joints[1] + l2 * dir;
    return;
  }
  // The bend's normal: cross(dir, n) then points from the line a-target to the
  // side the middle joint is on now, which keeps it there.
  glm::dvec3 n = glm::cross(b - a, c - b);
  if (glm::length(n) <= 1e-9 * l1 * l2) n = planeNormal;
  const glm::dvec3 side = sideOf(dir, n);
  // The law of cosines gives the angle at the first joint; clamped, a target
  // nearer than |l1 - l2| folds the chain as far as it goes.
  const double cosine = std::clamp((l1 * l1 + d * d - l2 * l2) / (2 * l1 * d), -1.0, 1.0);
  const double sine = std::sqrt(std::max(0.0, 1 - cosine * cosine));
  joints[1] = a + l1 * (cosine * dir + sine * side);
  const glm::dvec3 rest = target - joints[1];
  const double r = glm::length(rest);
  joints[2] = r > 1e-300 ? joints[1] + l2 * (rest / r) : target;
}

void reachWithChain(std::span<glm::dvec3> joints, const glm::dvec3& target,
                    const glm::dvec3& planeNormal, double tolerance, int maxIterations) {
  if (joints.size() < 2) return;
  const size_t n = joints.size() - 1;  // bones
  std::vector<double> length(n);
  double total = 0;
  for (size_t i = 0; i < n; ++i) total += length[i] = glm::length(joints[i + 1] - joints[i]);
  const glm::dvec3 root = joints[0];
  const double d = glm::length(target - root);
  if (d < 1e-12) return;
  const glm::dvec3 dir = (target - root) / d;
  if (d >= total) {
    for (size_t i = 0; i < n; ++i) joints[i + 1] = joints[i] + length[i] * dir;
    return;
  }
  const glm::dvec3 side = sideOf(dir, planeNormal);
  // Reaching along a straight chain's own line never leaves the line: bend it
  // first. The passes below give the bones their lengths back.
  const bool straight = std::all_of(joints.begin(), joints.end(), [&](const glm::dvec3& p) {
    return glm::length(glm::cross(p - root, dir)) <= 1e-9 * total;
  });
  if (straight)
    for (size_t i = 1; i < n; ++i) joints[i] += side * (0.25 * total);
  // A joint on the one it is pulled towards has no direction: it goes aside.
  auto towards = [&](const glm::dvec3& from, const glm::dvec3& to, double l) {
    const glm::dvec3 v = to - from;
    const double size = glm::length(v);
    return from + l * (size > 1e-300 ? v / size : side);
  };
  for (int round = 0; round < maxIterations; ++round) {
    if (glm::length(joints[n] - target) <= tolerance) break;
    joints[n] = target;
    for (size_t i = n; i-- > 0;) joints[i] = towards(joints[i + 1], joints[i], length[i]);
    joints[0] = root;
    for (size_t i = 0; i < n; ++i) joints[i + 1] = towards(joints[i], joints[i + 1], length[i]);
  }
}

void turnChainTo(const Rig& rig, std::span<const int> chain, std::span<const glm::dvec3> joints,
                 std::vector<BonePose>& poses, std::vector<glm::dmat4>& world) {
  for (size_t k = 0; k < chain.size(); ++k) {
    const int b = chain[k];
    // From where the turns of the bones above put this one's start.
    const glm::dvec3 start = posedStart(world, b);
    const glm::dvec3 from = posedEnd(rig, world, b) - start, to = joints[k + 1] - start;
    if (glm::length(from) < 1e-12 || glm::length(to) < 1e-12) continue;
    const glm::dquat turn = glm::rotation(glm::normalize(from), glm::normalize(to));
    poses[b].rotation = turnedRotation(rig, world, poses, b, turn);
    worldTransforms(rig, poses, world);
  }
}
