// The writer's walk over a model: its numbers as the model file holds them, so
// that files and in-memory copies share one path.

#include "formats/model_file.h"

#include <cassert>
#include <cstdio>
#include <utility>

#include <absl/container/flat_hash_map.h>

#include "formats/animation_file.h"
#include "model/model.h"
#include "model/seam_image.h"
#include "model/skeleton.h"

namespace {

// Bone -> its line in the image, with a one-entry cache because neighbouring
// polygons nearly always share a bone.
class BoneLines {
 public:
  void add(const Bone* bone, int line) { lines_[bone] = line; }
  int find(const Bone* bone) {
    if (bone != lastBone_) {
      auto it = lines_.find(bone);
      lastBone_ = bone;
      lastLine_ = it == lines_.end() ? -1 : it->second;
    }
    return lastLine_;
  }

 private:
  absl::flat_hash_map<const Bone*, int> lines_;
  const Bone* lastBone_ = nullptr;
  int lastLine_ = -1;
};

Vec3 roundedPosition(const Vertex& vertex) {
  return Vec3{roundAsWritten(vertex.x), roundAsWritten(vertex.y), roundAsWritten(vertex.z)};
}

void captureVertices(Model& model, ModelImage& image, std::vector<Vertex*>& byNumber) {
  image.vertices.reserve(model.vertices.count());
  byNumber.reserve(model.vertices.count());
  for (Vertex* vertex : model.vertices) {
    vertex->fileIndex = static_cast<int>(image.vertices.size());
    image.vertices.push_back(roundedPosition(*vertex));
    byNumber.push_back(vertex);
  }
}

// The number a corner's vertex was given. A vertex missing from the model's
// list would otherwise be written with a stale number; giving it a line of its
// own keeps the file readable.
int vertexNumber(Vertex* vertex, ModelImage& image, std::vector<Vertex*>& byNumber) {
  const int number = vertex->fileIndex;
  if (number >= 0 && number < static_cast<int>(byNumber.size()) && byNumber[number] == vertex) {
    return number;
  }
  vertex->fileIndex = static_cast<int>(byNumber.size());
  image.vertices.push_back(roundedPosition(*vertex));
  byNumber.push_back(vertex);
  return vertex->fileIndex;
}

void captureBones(Model& model, ModelImage& image, BoneLines& lines) {
  if (!model.hasSkeleton || !model.skeleton) return;
  forEachBone(model.skeleton->root, [&](Bone* bone, int depth) {
    ModelImage::BoneRecord record;
    record.depth = depth + 1;
    const Vec3 joint = roundedPosition(*bone->end);
    record.x = joint.x;
    record.y = joint.y;
    record.z = joint.z;
    record.a = roundAsWritten(bone->paramA);
    record.b = roundAsWritten(bone->paramB);
    lines.add(bone, static_cast<int>(image.bones.size()));
    if (!bone->name.empty()) image.boneNames.emplace_back(image.bones.size(), bone->name);
    image.bones.push_back(std::move(record));
  });
}

}  // namespace

ModelImage captureImage(Model& model) {
  ModelImage image;
  std::vector<Vertex*> byNumber;
  captureVertices(model, image, byNumber);

  BoneLines boneLines;
  captureBones(model, image, boneLines);
  const bool hasBones = !image.bones.empty();
  const Bone* root = model.rootBone();

  int polygonNumber = 0;
  image.groups.reserve(model.groups.count());
  for (PolygonGroup* group : model.groups) {
    ModelImage::GroupRecord& record = image.groups.emplace_back();
    record.polygons.reserve(group->polygons.count());
    for (Polygon* polygon : group->polygons) {
      polygon->fileIndex = polygonNumber;
      ModelImage::PolygonRecord& line = record.polygons.emplace_back();
      for (int k = 0; k < 3; ++k) {
        const int i = polygon->storedCorner(k);
        line.corners[k] = vertexNumber(polygon->vertices[i], image, byNumber);
        line.u[k] = roundAsWritten(polygon->uvs[i].u);
        line.v[k] = roundAsWritten(polygon->uvs[i].v);
      }
      if (hasBones) {
        // Unassigned polygons belong to the root; a bone outside the tree
        // has no line, so its polygons come back unassigned.
        const int boneLine = boneLines.find(polygon->bone ? polygon->bone : root);
        if (boneLine >= 0) image.bones[boneLine].polygons.push_back(polygonNumber);
      }
      ++polygonNumber;
    }
    const Material& material = group->material;
    record.textured = material.textured ? 1 : 0;
    if (record.textured) record.textureName = material.textureName;
    record.colour[0] = roundAsWritten(material.red);
    record.colour[1] = roundAsWritten(material.green);
    record.colour[2] = roundAsWritten(material.blue);
    record.colour[3] = roundAsWritten(material.alpha);
  }
  captureAnimation(model, image, byNumber);
  captureSeams(model, image, byNumber);
  return image;
}
