#include "model/model_builder.h"

#include <algorithm>
#include <atomic>
#include <cassert>
#include <exception>
#include <memory>
#include <new>
#include <thread>

#include "model/animation_image.h"
#include "model/model.h"
#include "model/seam_image.h"
#include "model/skeleton.h"

ModelBuilder::ModelBuilder(Model& model, const ModelImage& image) : model_(model), image_(image) {
  model.vertices.clear();
  model.groups.clear();
  model.currentGroup = nullptr;
}

void ModelBuilder::addVertices(size_t count) {
  if (vertexByNumber_.empty()) {
    vertexByNumber_.reserve(image_.vertices.size());
    model_.vertices.reserve(static_cast<int>(image_.vertices.size()));
  }
  const Vec3* positions = image_.vertices.data() + vertexByNumber_.size();
  for (size_t i = 0; i < count; ++i) {
    Vertex* vertex = model_.newVertex(positions[i].x, positions[i].y, positions[i].z);
    vertexByNumber_.push_back(vertex);
    model_.vertices.pushFront(vertex);
  }
}

void ModelBuilder::beginGroup(size_t polygonCount) {
  if (!runs_) runs_ = std::make_unique<Run[]>(image_.groups.size());
  PolygonGroup* group = model_.newGroup();
  model_.groups.pushFront(group);
  model_.currentGroup = group;
  groups_.push_back(group);
  Polygon* records = model_.polygonPool_.makeRun(polygonCount);
  runs_[groupsBegun_] = Run{polygonsBegun_, records};
  group->polygons.reserve(static_cast<int>(polygonCount));
  for (size_t i = 0; i < polygonCount; ++i) group->polygons.pushFront(records + i);
  polygonsBegun_ += polygonCount;
  ++groupsBegun_;
}

int ModelBuilder::groupOf(size_t number, int groups) const {
  const Run* end = runs_.get() + groups;
  const Run* begin = runs_.get();
  const Run* after =
      std::upper_bound(begin, end, number, [](size_t n, const Run& run) { return n < run.first; });
  return static_cast<int>(after - begin) - 1;
}

void ModelBuilder::placePolygons(size_t first, size_t count, int groups,
                                 const ModelImage::PolygonRecord* lines) const {
  int g = groupOf(first, groups);
  for (size_t number = first; number < first + count; ++number) {
    while (g + 1 < groups && number >= runs_[g + 1].first) ++g;
    const size_t index = number - runs_[g].first;
    const ModelImage::PolygonRecord& line = lines[number - first];
    Vertex* corners[3];
    for (int i = 0; i < 3; ++i) {
      assert(line.corners[i] >= 0 && line.corners[i] < static_cast<int>(vertexByNumber_.size()));
      corners[i] = vertexByNumber_[line.corners[i]];
    }
    Polygon* polygon = new (runs_[g].records + index) Polygon;
    for (int i = 0; i < 3; ++i) {
      polygon->vertices[i] = corners[i];
      polygon->uvs[i].vertex = corners[i];
      polygon->uvs[i].u = line.u[i];
      polygon->uvs[i].v = line.v[i];
    }
    // Normals are not carried by the file; they come back pointing up until
    // the next recomputation.
    polygon->normal = Vec3{0, 1, 0};
    polygon->resetCornerNormals();
    bool mapped = false;
    for (int i = 0; i < 3; ++i) mapped = mapped || line.u[i] != 0 || line.v[i] != 0;
    polygon->uvMapped = mapped ? 1 : 0;
    for (UvPoint& uv : polygon->uvs) uv.mapped = polygon->uvMapped;
  }
}

void ModelBuilder::finish() {
  const ModelImage& image = image_;
  assert(groups_.size() == image.groups.size());
  for (size_t g = 0; g < groups_.size(); ++g) {
    const ModelImage::GroupRecord& record = image.groups[g];
    Material& material = groups_[g]->material;
    material.textured = record.textured ? 1 : 0;
    if (material.textured) material.textureName = record.textureName;
    material.red = record.colour[0];
    material.green = record.colour[1];
    material.blue = record.colour[2];
    material.alpha = record.colour[3];
  }
  if (!model_.currentGroup) {
    // Every model has a group to work in, even one whose image had none.
    model_.currentGroup = model_.newGroup();
    model_.groups.pushFront(model_.currentGroup);
  }

  if (image.bones.empty()) {
    model_.setSkeleton(nullptr);
    buildAnimation(image, model_, vertexByNumber_, {});
    buildSeams(image, model_, vertexByNumber_);
    return;
  }
  const ModelImage::BoneRecord& first = image.bones.front();
  assert(first.depth == 1);
  auto skeleton = std::make_unique<Skeleton>(first.x, first.y, first.z);
  // path[d - 1] is the most recent bone at depth d.
  std::vector<Bone*> path;
  std::vector<Bone*> byLine;
  byLine.reserve(image.bones.size());
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
    byLine.push_back(bone);
    for (int number : record.polygons) {
      assert(number >= 0 && static_cast<size_t>(number) < polygonsBegun_);
      const int g = groupOf(number, groupsBegun_);
      runs_[g].records[number - runs_[g].first].bone = bone;
    }
  }
  for (const auto& [number, name] : image.boneNames) byLine[number]->name = name;
  model_.setSkeleton(std::move(skeleton));
  buildAnimation(image, model_, vertexByNumber_, byLine);
  buildSeams(image, model_, vertexByNumber_);
}

void buildModel(const ModelImage& image, Model& model) {
  ModelBuilder builder(model, image);
  builder.addVertices(image.vertices.size());
  size_t placed = 0;
  for (const ModelImage::GroupRecord& group : image.groups) {
    builder.beginGroup(group.polygons.size());
    builder.placePolygons(placed, group.polygons.size(), builder.groupsBegun(),
                          group.polygons.data());
    placed += group.polygons.size();
  }
  builder.finish();
}
