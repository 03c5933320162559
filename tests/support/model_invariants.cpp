#include "support/model_invariants.h"

#include <cmath>
#include <unordered_set>

#include "model/skeleton.h"

namespace {

bool finite(const Vec3& v) {
  return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}
bool finite(const Vertex& v) {
  return finite(Vec3{v.x, v.y, v.z});
}

std::string findStructureFault(Model& model) {
  if (!model.currentGroup || !model.groups.contains(model.currentGroup))
    return "the current group is not a group of the model";
  if (model.hasSkeleton != (model.skeleton ? 1 : 0)) return "hasSkeleton disagrees with skeleton";
  std::unordered_set<const Polygon*> seen;
  for (PolygonGroup* group : model.groups) {
    for (Polygon* polygon : group->polygons) {
      if (!seen.insert(polygon).second) return "a polygon is held twice by the groups";
      for (int i = 0; i < 3; ++i) {
        if (!polygon->vertices[i] || !model.vertices.contains(polygon->vertices[i]))
          return "a polygon corner is not a vertex of the model";
        if (polygon->uvs[i].vertex != polygon->vertices[i])
          return "a UV point does not follow its corner";
      }
    }
  }
  return "";
}

std::string findNumberFault(Model& model) {
  for (Vertex* vertex : model.vertices)
    if (!finite(*vertex)) return "a vertex is not finite";
  for (PolygonGroup* group : model.groups) {
    const Material& m = group->material;
    if (!std::isfinite(m.red) || !std::isfinite(m.green) || !std::isfinite(m.blue) ||
        !std::isfinite(m.alpha))
      return "a material colour is not finite";
    for (Polygon* polygon : group->polygons) {
      if (!finite(polygon->normal)) return "a face normal is not finite";
      for (int i = 0; i < 3; ++i) {
        if (!finite(polygon->cornerNormals[i])) return "a corner normal is not finite";
        if (!std::isfinite(polygon->uvs[i].u) || !std::isfinite(polygon->uvs[i].v))
          return "a texture coordinate is not finite";
      }
    }
  }
  std::string fault;
  if (model.skeleton) {
    forEachBone(model.skeleton->root, [&](Bone* bone, int) {
      if (!finite(*bone->end) || !finite(*bone->start) || !std::isfinite(bone->paramA) ||
          !std::isfinite(bone->paramB))
        fault = "a bone is not finite";
    });
  }
  return fault;
}

std::string findRoundTripFault(Model& model) {
  const ModelImage image = captureImage(model);
  const std::string text = formatModelFile(image);
  ModelImage reread;
  std::string error;
  if (!parseModelFile(text, reread, &error)) return "the written model does not read: " + error;
  if (!(reread == image)) return "the written model reads back different";
  if (!(rebuiltImage(rebuiltImage(image)) == image))
    return "the model built from its file differs from the model";
  return "";
}

}  // namespace

ModelImage rebuiltImage(const ModelImage& image) {
  Model scratch("scratch", nullptr);
  buildModel(image, scratch, /*printNames=*/false);
  return captureImage(scratch);
}

std::string findModelFault(Model& model) {
  for (auto check : {findStructureFault, findNumberFault, findRoundTripFault}) {
    std::string fault = check(model);
    if (!fault.empty()) return fault;
  }
  return "";
}
