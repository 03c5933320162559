#include "model/model_builder.h"

#include <algorithm>
#include <atomic>
#include <cassert>
#include <cstdio>
#include <memory>
#include <thread>

#include "model/model.h"
#include "model/skeleton.h"

ModelBuilder::ModelBuilder(Model& model, size_t vertexCount, size_t polygonCount) : model_(model) {
  vertexByNumber_.reserve(vertexCount);
  polygonByNumber_.reserve(polygonCount);
  model.vertices.clear();
  model.vertices.reserve(static_cast<int>(vertexCount));
  model.groups.clear();
  model.currentGroup = nullptr;
}

void ModelBuilder::addVertices(const Vec3* positions, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    Vertex* vertex = model_.newVertex(positions[i].x, positions[i].y, positions[i].z);
    vertexByNumber_.push_back(vertex);
    model_.vertices.pushFront(vertex);
  }
}

void ModelBuilder::beginGroup(size_t polygonCount) {
  PolygonGroup* group = model_.newGroup();
  model_.groups.pushFront(group);
  model_.currentGroup = group;
  group->polygons.reserve(static_cast<int>(polygonCount));
  groups_.push_back(group);
}

void ModelBuilder::addPolygons(const ModelImage::PolygonRecord* lines, size_t count) {
  PolygonGroup* group = groups_.back();
  for (size_t n = 0; n < count; ++n) {
    const ModelImage::PolygonRecord& line = lines[n];
    Vertex* corners[3];
    for (int i = 0; i < 3; ++i) {
      assert(line.corners[i] >= 0 && line.corners[i] < static_cast<int>(vertexByNumber_.size()));
      corners[i] = vertexByNumber_[line.corners[i]];
    }
    Polygon* polygon = model_.makePolygon(corners[0], corners[1], corners[2], line.u, line.v);
    // Normals are not carried by the file; they come back pointing up until
    // the next recomputation.
    polygon->normal = Vec3{0, 1, 0};
    polygon->resetCornerNormals();
    bool mapped = false;
    for (int i = 0; i < 3; ++i) mapped = mapped || line.u[i] != 0 || line.v[i] != 0;
    polygon->uvMapped = mapped ? 1 : 0;
    for (UvPoint& uv : polygon->uvs) uv.mapped = polygon->uvMapped;
    polygonByNumber_.push_back(polygon);
    group->polygons.pushFront(polygon);
  }
}

void ModelBuilder::finish(const ModelImage& image, bool printNames) {
  assert(groups_.size() == image.groups.size());
  for (size_t g = 0; g < groups_.size(); ++g) {
    const ModelImage::GroupRecord& record = image.groups[g];
    Material& material = groups_[g]->material;
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
  if (!model_.currentGroup) {
    // Every model has a group to work in, even one whose image had none.
    model_.currentGroup = model_.newGroup();
    model_.groups.pushFront(model_.currentGroup);
  }

  if (image.bones.empty()) {
    model_.setSkeleton(nullptr);
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
      assert(number >= 0 && number < static_cast<int>(polygonByNumber_.size()));
      polygonByNumber_[number]->bone = bone;
    }
  }
  model_.setSkeleton(std::move(skeleton));
}

void buildModel(const ModelImage& image, Model& model, bool printNames) {
  size_t polygonTotal = 0;
  for (const auto& group : image.groups) polygonTotal += group.polygons.size();
  ModelBuilder builder(model, image.vertices.size(), polygonTotal);
  builder.addVertices(image.vertices.data(), image.vertices.size());
  for (const ModelImage::GroupRecord& group : image.groups) {
    builder.beginGroup(group.polygons.size());
    builder.addPolygons(group.polygons.data(), group.polygons.size());
  }
  builder.finish(image, printNames);
}

namespace {

// Waits until `count` reaches `wanted` or the read has ended; the count then.
template <class T>
T awaitCount(const std::atomic<T>& count, T wanted, const ReadProgress& progress) {
  for (;;) {
    const T now = count.load(std::memory_order_acquire);
    if (now >= wanted) return now;
    // Counts are final once the outcome is known.
    if (progress.outcome.load(std::memory_order_acquire) != 0) {
      return count.load(std::memory_order_acquire);
    }
    std::this_thread::yield();
  }
}

}  // namespace

bool buildWhileReading(const ModelImage& image, const ReadProgress& progress, Model& model,
                       bool printNames) {
  const long vertexCount = awaitCount(progress.vertexCount, 0L, progress);
  if (vertexCount < 0) return false;
  ModelBuilder builder(model, static_cast<size_t>(vertexCount));
  for (size_t built = 0; built < static_cast<size_t>(vertexCount);) {
    const size_t ready = awaitCount(progress.vertices, built + 1, progress);
    if (ready <= built) return false;
    builder.addVertices(image.vertices.data() + built, ready - built);
    built = ready;
  }
  size_t polygonsBuilt = 0;
  for (int g = 0; awaitCount(progress.groupsBegun, g + 1, progress) > g; ++g) {
    const ModelImage::GroupRecord& group = image.groups[g];
    builder.beginGroup(group.polygons.size());
    const size_t groupEnd = polygonsBuilt + group.polygons.size();
    for (size_t done = 0; polygonsBuilt < groupEnd;) {
      const size_t ready = awaitCount(progress.polygons, polygonsBuilt + 1, progress);
      if (ready <= polygonsBuilt) return false;
      const size_t count = std::min(ready, groupEnd) - polygonsBuilt;
      builder.addPolygons(group.polygons.data() + done, count);
      done += count;
      polygonsBuilt += count;
    }
  }
  while (progress.outcome.load(std::memory_order_acquire) == 0) std::this_thread::yield();
  if (progress.outcome.load(std::memory_order_acquire) < 0) return false;
  builder.finish(image, printNames);
  return true;
}
