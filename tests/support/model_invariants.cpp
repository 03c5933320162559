#include "support/model_invariants.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>

#include "formats/model_file.h"
#include "model/skeleton.h"

namespace {

bool finite(std::initializer_list<double> xs) {
  return std::all_of(xs.begin(), xs.end(), [](double x) { return std::isfinite(x); });
}
template <class V>
bool finite(const V& v) {
  return finite({v.x, v.y, v.z});
}

}  // namespace

ModelImage rebuiltImage(const ModelImage& image) {
  Model scratch("scratch", nullptr);
  buildModel(image, scratch);
  return captureImage(scratch);
}

std::string findModelFault(Model& model) {
  if (!model.currentGroup || !model.groups.contains(model.currentGroup))
    return "the current group is not a group of the model";
  if (model.hasSkeleton != (model.skeleton ? 1 : 0)) return "hasSkeleton disagrees with skeleton";
  for (Vertex* v : model.vertices)
    if (!finite(*v)) return "a vertex is not finite";
  std::unordered_set<const Polygon*> seen;
  for (PolygonGroup* group : model.groups) {
    const Material& m = group->material;
    if (!finite({m.red, m.green, m.blue, m.alpha})) return "a material colour is not finite";
    for (Polygon* p : group->polygons) {
      if (!seen.insert(p).second) return "a polygon is held twice by the groups";
      if (!finite(p->normal)) return "a face normal is not finite";
      for (int i = 0; i < 3; ++i) {
        if (!p->vertices[i] || !model.vertices.contains(p->vertices[i]))
          return "a polygon corner is not a vertex of the model";
        if (p->uvs[i].vertex != p->vertices[i]) return "a UV point does not follow its corner";
        if (!finite(p->cornerNormals[i]) || !finite({p->uvs[i].u, p->uvs[i].v}))
          return "a corner normal or texture coordinate is not finite";
      }
    }
  }
  bool bonesFinite = true;
  if (model.skeleton)
    forEachBone(model.skeleton->root, [&](Bone* b, int) {
      bonesFinite &= finite(*b->start) && finite(*b->end) && finite({b->paramA, b->paramB});
    });
  if (!bonesFinite) return "a bone is not finite";
  const ModelImage image = captureImage(model);
  ModelImage reread;
  std::string error;
  if (!parseModelFile(formatModelFile(image), reread, &error))
    return "the written model does not read: " + error;
  if (!(reread == image)) return "the written model reads back different";
  if (!(rebuiltImage(rebuiltImage(image)) == image))
    return "the model built from its file differs from the model";
  return "";
}
