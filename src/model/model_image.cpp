// The writer's walk over a model and the reader's construction of one, both in
// terms of ModelImage, so that files and in-memory copies share one path.

#include "model/model_image.h"

#include <cassert>
#include <cstdio>
#include <utility>

#include <absl/container/flat_hash_map.h>

#include "model/model.h"
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
      for (int i = 0; i < 3; ++i) {
        line.corners[i] = vertexNumber(polygon->vertices[i], image, byNumber);
        line.u[i] = roundAsWritten(polygon->uvs[i].u);
        line.v[i] = roundAsWritten(polygon->uvs[i].v);
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
  return image;
}

namespace {

void buildBones(const ModelImage& image, Model& model, const std::vector<Polygon*>& byNumber) {
  if (image.bones.empty()) {
    model.setSkeleton(nullptr);
    return;
  }
  const ModelImage::BoneRecord& first = image.bones.front();
  assert(first.depth == 1);
  auto skeleton = std::make_unique<Skeleton>(first.x, first.y, first.z);
  // path[d - 1] is the most recent bone at depth d.
  std::vector<Bone*> path;
  for (const ModelImage::BoneRecord& record : image.bones) {
    Bone* bone = skeleton->root;
    if (!path.empty()) {
      assert(record.depth >= 2 && record.depth <= static_cast<int>(path.size()) + 1);
      Bone* parent = path[record.depth - 2];
      path.resize(record.depth - 1);
      bone = skeleton->newBone(parent, record.x, record.y, record.z);
      skeleton->addChild(parent, bone);
    }
    bone->paramA = record.a;
    bone->paramB = record.b;
    path.push_back(bone);
    for (int number : record.polygons) {
      assert(number >= 0 && number < static_cast<int>(byNumber.size()));
      byNumber[number]->bone = bone;
    }
  }
  model.setSkeleton(std::move(skeleton));
}

}  // namespace

void buildModel(const ModelImage& image, Model& model, bool printNames) {
  std::vector<Vertex*> vertexByNumber;
  vertexByNumber.reserve(image.vertices.size());
  model.vertices.clear();
  model.vertices.reserve(static_cast<int>(image.vertices.size()));
  for (const Vec3& position : image.vertices) {
    Vertex* vertex = model.newVertex(position.x, position.y, position.z);
    vertexByNumber.push_back(vertex);
    model.vertices.pushFront(vertex);
  }

  std::vector<Polygon*> polygonByNumber;
  size_t polygonTotal = 0;
  for (const auto& group : image.groups) polygonTotal += group.polygons.size();
  polygonByNumber.reserve(polygonTotal);

  model.groups.clear();
  model.currentGroup = nullptr;
  for (const ModelImage::GroupRecord& record : image.groups) {
    PolygonGroup* group = model.newGroup();
    model.groups.pushFront(group);
    model.currentGroup = group;
    group->polygons.reserve(static_cast<int>(record.polygons.size()));
    for (const ModelImage::PolygonRecord& line : record.polygons) {
      Vertex* corners[3];
      for (int i = 0; i < 3; ++i) {
        assert(line.corners[i] >= 0 && line.corners[i] < static_cast<int>(vertexByNumber.size()));
        corners[i] = vertexByNumber[line.corners[i]];
      }
      Polygon* polygon = model.makePolygon(corners[0], corners[1], corners[2], line.u, line.v);
      // Normals are not carried by the file; they come back pointing up until
      // the next recomputation.
      polygon->normal = Vec3{0, 1, 0};
      polygon->resetCornerNormals();
      bool mapped = false;
      for (int i = 0; i < 3; ++i) mapped = mapped || line.u[i] != 0 || line.v[i] != 0;
      polygon->uvMapped = mapped ? 1 : 0;
      for (UvPoint& uv : polygon->uvs) uv.mapped = polygon->uvMapped;
      polygonByNumber.push_back(polygon);
      group->polygons.pushFront(polygon);
    }
    Material& material = group->material;
    material.textured = record.textured ? 1 : 0;
    if (material.textured) {
      material.textureName = record.textureName;
      if (printNames) std::printf("Read texture name: %s\n", material.textureName.c_str());
    }
    material.red = record.colour[0];
    material.green = record.colour[1];
    material.blue = record.colour[2];
    material.alpha = record.colour[3];
  }
  if (!model.currentGroup) {
    // Every model has a group to work in, even one whose image had none.
    model.currentGroup = model.newGroup();
    model.groups.pushFront(model.currentGroup);
  }

  buildBones(image, model, polygonByNumber);
}

size_t ModelImage::memoryBytes() const {
  size_t bytes = sizeof(*this) + vertices.capacity() * sizeof(Vec3) +
                 groups.capacity() * sizeof(GroupRecord) + bones.capacity() * sizeof(BoneRecord);
  for (const GroupRecord& group : groups) {
    bytes += group.polygons.capacity() * sizeof(PolygonRecord) + group.textureName.capacity();
  }
  for (const BoneRecord& bone : bones) bytes += bone.polygons.capacity() * sizeof(int);
  return bytes;
}
