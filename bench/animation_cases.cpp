// Animation: posing a large model with many bones on one core, and saving and opening a model
// with 10 clips of 100 bones x 100 keys beside the same model without clips.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

#include "bench_registry.h"
#include "bench_util.h"
#include "formats/model_file.h"
#include "model/animation.h"
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
