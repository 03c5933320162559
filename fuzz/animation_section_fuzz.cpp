// The model file's animation, seam and bone name sections on any bytes, after a fixed arm of three
// bones: a section is refused with a reason, or it builds a model whose clips, weights, seams and
// bone names write back
// the same text, read the same on two threads, and pose every vertex somewhere finite at every
// frame.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "formats/model_file.h"
#include "formats/model_load.h"
#include "model/animation.h"
#include "model/model.h"
#include "model/model_builder.h"
#include "model/rig.h"
#include "model/skin.h"

static void require(bool condition) {
  if (!condition) std::abort();
}

static const std::string kArm =
    "6\n0 -0.25 0\n1 -0.25 0\n2 -0.25 0\n0 0.25 0\n1 0.25 0\n2 0.25 0\n1\n4\n"
    "0 1 4 0 0 0 0 0 0\n0 4 3 0 0 0 0 0 0\n1 2 5 0 0 0 0 0 0\n1 5 4 0 0 0 0 0 0\n0\n1 1 1 1\n"
    "3\n1 0 0 0 0 0 -1\n2 1 0 0 0 0 0 1 -1\n3 2 0 0 0 0 2 3 -1\n";

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text = kArm + std::string(reinterpret_cast<const char*>(data), size);
  ModelImage parsed;
  std::string error;
  const bool understood = parseModelFile(text, parsed, &error);
  require(understood == error.empty());
  std::FILE* file = fmemopen(const_cast<char*>(text.data()), text.size(), "r");
  Model onTwoThreads("fuzz", nullptr);
  require(file && readAndBuild(file, text.size(), onTwoThreads, false, 1, 2) == understood);
  std::fclose(file);
  if (!understood) return 0;

  const std::string written = formatModelFile(parsed);
  ModelImage reread;
  require(parseModelFile(written, reread) && formatModelFile(reread) == written);
  Model model("fuzz", nullptr), again("again", nullptr);
  buildModel(parsed, model);
  require(captureImage(onTwoThreads) == captureImage(model));
  // Building reverses the vertex list; twice gives the written text back.
  buildModel(captureImage(model), again);
  require(formatModelFile(captureImage(again)) == written);

  const Rig rig = flattenRig(model);
  const SkinBinding binding = bindSkin(model, rig);
  std::vector<BonePose> poses;
  std::vector<glm::dmat4> world, skin;
  std::vector<glm::dvec3> points;
  for (const auto& clip : model.animation->clips) {
    for (double frame : {-1.0, 0.0, 0.5, clip->length / 3.0, double(clip->length)}) {
      clipPose(rig, clip.get(), frame, poses);
      worldTransforms(rig, poses, world);
      skinMatrices(rig, world, skin);
      posePoints(binding, skin, points);
      for (const glm::dvec3& p : points)
        require(std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z));
    }
  }
  return 0;
}
