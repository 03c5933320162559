// Animation: posing a large model with many bones on one core, saving and opening a model with
// 10 clips of 100 bones x 100 keys beside the same model without clips, and the IK solves of a
// Move drag.

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

#include "bench_registry.h"
#include "bench_util.h"
#include "formats/model_file.h"
#include "model/animation.h"
#include "model/inverse_kinematics.h"
#include "model/rig.h"
#include "model/skeleton.h"
#include "model/skin.h"
#include "test_meshes.h"

BENCH_CASE(80, "animation") {
  // Vertices as many as the size: the ball of twice as many triangles.
  auto editor = bench::ballEditor(2 * context.size);
  Model& model = *editor->doc.model;
  bench::rigBall(model, 100, 1, 10);
  const Rig rig = flattenRig(model);
  const SkinBinding binding = bindSkin(model, rig);
  std::vector<BonePose> poses;
  std::vector<glm::dmat4> world, skin;
  std::vector<glm::dvec3> points;
  int frame = 0;
  char note[128];
  std::snprintf(note, sizeof note, "%zu vertices, 100 bones, one core", binding.vertices.size());
  report.row("pose every vertex at a frame (100 bones)", "ms",
             bench::medianMs(
                 context.runs, [] {},
                 [&] {
                   clipPose(rig, model.animation->clips[0].get(), frame++ % 20 + 0.5, poses);
                   worldTransforms(rig, poses, world);
                   skinMatrices(rig, world, skin);
                   posePoints(binding, skin, points);
                 }),
             note);
  report.row("bind the weights (once per model and weights)", "ms",
             bench::medianMs(
                 context.runs, [] {}, [&] { bindSkin(model, rig); }));
}

BENCH_CASE(81, "animation in the model file") {
  bench::ScratchDirectory scratch;
  auto plainEditor = bench::ballEditor(context.size);
  auto animatedEditor = bench::ballEditor(context.size);
  Model& plain = *plainEditor->doc.model;
  Model& animated = *animatedEditor->doc.model;
  bench::rigBall(plain, 100, 0, 0);
  bench::rigBall(animated, 100, 10, 100);
  plain.name = scratch.file("plain.mdl");
  animated.name = scratch.file("animated.mdl");
  double saves[2], opens[2], sizes[2];
  // Each file saved and opened once untimed, so that neither pays for the process's first
  // touch of the memory a model takes.
  for (Model* m : {&plain, &animated}) {
    save(*m);
    Model warm("warm", nullptr);
    load(warm, m->name);
  }
  for (int i = 0; i < 2; ++i) {
    Model& m = i ? animated : plain;
    saves[i] = bench::medianMs(
        context.runs, [] {}, [&] { save(m); });
    sizes[i] = bench::fileMb(m.name);
    std::unique_ptr<Model> loaded;
    int read = 0;
    opens[i] = bench::medianMs(
        context.runs, [&] { loaded = std::make_unique<Model>("loaded", nullptr); },
        [&] { read += load(*loaded, m.name); });
    if (read != context.runs || loaded->polygonCount() != m.polygonCount()) {
      report.row("open failed", "ms", 0, m.name);
      return;
    }
  }
  char note[160];
  report.row("save, 100 bones, no clips", "ms", saves[0], "");
  std::snprintf(note, sizeof note, "%.2fx the save without clips per MB (%.1f MB beside %.1f MB)",
                saves[1] / sizes[1] / (saves[0] / sizes[0]), sizes[1], sizes[0]);
  report.row("save, 10 clips of 100 bones x 100 keys", "ms", saves[1], note);
  report.row("open, 100 bones, no clips", "ms", opens[0], "");
  std::snprintf(note, sizeof note, "%.2fx the open without clips per MB",
                opens[1] / sizes[1] / (opens[0] / sizes[0]));
  report.row("open, 10 clips of 100 bones x 100 keys", "ms", opens[1], note);
}

namespace {

// A root at the origin and a chain of `bones` bones of one unit, zigzagging along x.
Rig zigzagRig(Model& model, int bones) {
  Bone* bone = model.createRoot(0, 0, 0);
  for (int i = 1; i <= bones; ++i) bone = model.addBone(bone, i, i % 2 * 0.5, 0);
  return flattenRig(model);
}

// One IK solve as a drag's release makes it: the chain's posed joints, the solve, the poses.
void reachOnce(const Rig& rig, const std::vector<int>& chain, const glm::dvec3& target,
               std::vector<BonePose>& poses, std::vector<glm::dmat4>& world) {
  std::vector<glm::dvec3> joints{posedStart(world, chain.front())};
  for (int b : chain) joints.push_back(posedEnd(rig, world, b));
  if (chain.size() == 2) {
    reachWithTwoBones(joints, target, glm::dvec3(0, 0, 1));
  } else {
    reachWithChain(joints, target, glm::dvec3(0, 0, 1));
  }
  turnChainTo(rig, chain, joints, poses, world);
}

// The n-th of the targets a drag passes, round a circle within reach of `reach`.
glm::dvec3 dragTarget(int n, double reach) {
  const double a = n * 0.05;
  return glm::dvec3(reach * (0.6 + 0.2 * std::cos(a)), reach * 0.3 * std::sin(a),
                    0.1 * std::cos(a));
}

}  // namespace

BENCH_CASE(82, "inverse kinematics") {
  // The model's size does not matter here: an IK solve sees the chain only.
  {
    Model model("two", nullptr);
    const Rig rig = zigzagRig(model, 2);
    std::vector<BonePose> poses;
    std::vector<glm::dmat4> world;
    clipPose(rig, nullptr, 0, poses);
    worldTransforms(rig, poses, world);
    constexpr int kSolves = 1000;
    const std::vector<int> chain{1, 2};
    int n = 0;
    const double ms = bench::medianMs(
        context.runs, [] {},
        [&] {
          for (int i = 0; i < kSolves; ++i) reachOnce(rig, chain, dragTarget(n++, 2), poses, world);
        });
    report.row("IK: two-bone analytic solve and its poses", "us", ms * 1000 / kSolves,
               "at most 100 us a solve");
  }
  Model model("ten", nullptr);
  const Rig rig = zigzagRig(model, 10);
  std::vector<int> chain;
  for (int b = 1; b <= 10; ++b) chain.push_back(b);
  std::vector<double> slowest, mean;
  for (int run = 0; run < context.runs; ++run) {
    std::vector<BonePose> poses;
    std::vector<glm::dmat4> world;
    clipPose(rig, nullptr, 0, poses);
    worldTransforms(rig, poses, world);
    double worst = 0, sum = 0;
    for (int step = 0; step < 100; ++step) {  // each step from the pose the last one left
      const auto start = std::chrono::steady_clock::now();
      reachOnce(rig, chain, dragTarget(step, 10), poses, world);
      const double ms =
          std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
              .count();
      worst = std::max(worst, ms);
      sum += ms;
    }
    slowest.push_back(worst);
    mean.push_back(sum / 100);
  }
  std::sort(slowest.begin(), slowest.end());
  std::sort(mean.begin(), mean.end());
  char note[128];
  std::snprintf(note, sizeof note,
                "the slowest of 100 drag steps; %.4f ms a step on average; at most 10 ms",
                mean[mean.size() / 2]);
  report.row("IK: a drag step of a 10-bone FABRIK chain", "ms", slowest[slowest.size() / 2], note);
}
