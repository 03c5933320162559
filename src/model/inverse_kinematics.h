#pragma once
// Inverse kinematics: where a chain of bones puts its joints so that its end
// reaches a target, and the poses that turn the bones there. A chain is given
// by its posed joints, joints[0] the first bone's start and joints[k + 1] the
// end of bone k (each bone starts where the one before it ends); the solvers
// move every joint but the first and keep each bone's length.

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

#include <span>
#include <vector>

#include "model/animation.h"

struct Rig;

// Two bones, solved exactly. The chain bends in the plane it bends in now,
// to the same side; a straight chain bends in the plane of `planeNormal` (the
// view's depth axis, say). A target beyond reach gets the chain pointing
// straight at it; one nearer than the bones' difference gets it folded as
// far as it goes. joints holds three points.
void reachWithTwoBones(std::span<glm::dvec3> joints, const glm::dvec3& target,
                       const glm::dvec3& planeNormal);

// Any number of bones, by forward and backward reaching (FABRIK), starting
// from the joints given: until the end is within `tolerance` of the target or
// after `maxIterations` rounds. Beyond reach the chain points straight at the
// target; a straight chain aimed along its own line first bends a little in
// the plane of `planeNormal`, which it could not otherwise leave.
void reachWithChain(std::span<glm::dvec3> joints, const glm::dvec3& target,
                    const glm::dvec3& planeNormal, double tolerance = 1e-9,
                    int maxIterations = 200);

// Turns the bones of `chain` (rig indices, each the parent of the next) so
// that their posed ends go where `joints` says (joints[k + 1] for chain[k]):
// each bone by the least turn from its posed direction to its new one, on
// top of its pose, so lengths are kept exactly. `poses` and `world` (the
// world transforms of `poses`) are updated for the whole rig. A bone of no
// length, or one given a direction of none, keeps its pose.
void turnChainTo(const Rig& rig, std::span<const int> chain, std::span<const glm::dvec3> joints,
                 std::vector<BonePose>& poses, std::vector<glm::dmat4>& world);
