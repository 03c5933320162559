#include "model/model_builder.h"

#include <algorithm>
#include <atomic>
#include <cassert>
#include <cstdio>
#include <memory>
#include <new>
#include <thread>

#include "model/model.h"
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

void ModelBuilder::beginGroup() {
  if (!runs_) runs_ = std::make_unique<Run[]>(image_.groups.size());
  const auto& lines = image_.groups[groupsBegun_].polygons;
  PolygonGroup* group = model_.newGroup();
  model_.groups.pushFront(group);
  model_.currentGroup = group;
  groups_.push_back(group);
  Polygon* records = model_.polygonPool_.makeRun(lines.size());
  runs_[groupsBegun_] = Run{polygonsBegun_, records};
  group->polygons.reserve(static_cast<int>(lines.size()));
  for (size_t i = 0; i < lines.size(); ++i) group->polygons.pushFront(records + i);
  polygonsBegun_ += lines.size();
  ++groupsBegun_;
}

int ModelBuilder::groupOf(size_t number, int groups) const {
  const Run* end = runs_.get() + groups;
  const Run* begin = runs_.get();
  const Run* after =
      std::upper_bound(begin, end, number, [](size_t n, const Run& run) { return n < run.first; });
  return static_cast<int>(after - begin) - 1;
}

void ModelBuilder::placePolygons(size_t first, size_t count, int groups) const {
  int g = groupOf(first, groups);
  for (size_t number = first; number < first + count; ++number) {
    while (g + 1 < groups && number >= runs_[g + 1].first) ++g;
    const size_t index = number - runs_[g].first;
    const ModelImage::PolygonRecord& line = image_.groups[g].polygons[index];
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

void ModelBuilder::finish(bool printNames) {
  const ModelImage& image = image_;
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
      assert(number >= 0 && static_cast<size_t>(number) < polygonsBegun_);
      const int g = groupOf(number, groupsBegun_);
      runs_[g].records[number - runs_[g].first].bone = bone;
    }
  }
  model_.setSkeleton(std::move(skeleton));
}

void buildModel(const ModelImage& image, Model& model, bool printNames) {
  ModelBuilder builder(model, image);
  builder.addVertices(image.vertices.size());
  size_t placed = 0;
  for (const ModelImage::GroupRecord& group : image.groups) {
    builder.beginGroup();
    builder.placePolygons(placed, group.polygons.size(), builder.groupsBegun());
    placed += group.polygons.size();
  }
  builder.finish(printNames);
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

SharedBuild::SharedBuild(const ModelImage& image, const ReadProgress& progress, Model& model)
    : image_(image), progress_(progress), builder_(model, image) {}

void SharedBuild::beginParsedGroups() {
  const int parsed = progress_.groupsBegun.load(std::memory_order_acquire);
  if (builder_.groupsBegun() == parsed) return;
  while (builder_.groupsBegun() < parsed) builder_.beginGroup();
  groupsBegun_.store(parsed, std::memory_order_release);
}

size_t SharedBuild::totalPolygons() const {
  return progress_.polygons.load(std::memory_order_acquire);
}

bool SharedBuild::build(bool printNames) {
  const long vertexCount = awaitCount(progress_.vertexCount, 0L, progress_);
  if (vertexCount < 0) return false;
  for (size_t added = 0; added < static_cast<size_t>(vertexCount);) {
    const size_t ready = awaitCount(progress_.vertices, added + 1, progress_);
    if (ready <= added) return false;
    builder_.addVertices(ready - added);
    added = ready;
  }
  verticesAdded_.store(true, std::memory_order_release);

  // Blocks of polygons as they are parsed, shared with the helper once the
  // read is over. Groups are begun in the wait, so that the helper never
  // waits long for the group it needs.
  for (;;) {
    const size_t block = nextBlock_.fetch_add(1);
    const size_t wanted = (block + 1) * kBlock;
    size_t parsed;
    for (;;) {
      parsed = progress_.polygons.load(std::memory_order_acquire);
      const int outcome = progress_.outcome.load(std::memory_order_acquire);
      if (outcome < 0) return false;
      if (outcome > 0) parsed = totalPolygons();
      beginParsedGroups();
      if (parsed >= wanted || outcome > 0) break;
      std::this_thread::yield();
    }
    if (block * kBlock >= parsed) break;  // the read ended before this block
    builder_.placePolygons(block * kBlock, std::min(wanted, parsed) - block * kBlock,
                           builder_.groupsBegun());
    blocksPlaced_.fetch_add(1, std::memory_order_release);
  }

  const size_t blocks = (totalPolygons() + kBlock - 1) / kBlock;
  while (blocksPlaced_.load(std::memory_order_acquire) < blocks) std::this_thread::yield();
  builder_.finish(printNames);
  return true;
}

void SharedBuild::help() {
  auto abandoned = [this] { return abandoned_.load(std::memory_order_acquire); };
  while (!verticesAdded_.load(std::memory_order_acquire)) {
    if (abandoned()) return;
    std::this_thread::yield();
  }
  const size_t total = totalPolygons();
  // Polygon number -> the number of groups that must have begun to hold it.
  std::vector<size_t> groupEnds;
  size_t end = 0;
  for (const auto& group : image_.groups) groupEnds.push_back(end += group.polygons.size());
  for (;;) {
    const size_t block = nextBlock_.fetch_add(1);
    if (block * kBlock >= total) return;
    const size_t count = std::min(total - block * kBlock, kBlock);
    const size_t last = block * kBlock + count - 1;
    const int needed = static_cast<int>(std::upper_bound(groupEnds.begin(), groupEnds.end(), last) -
                                        groupEnds.begin() + 1);
    int begun;
    while ((begun = groupsBegun_.load(std::memory_order_acquire)) < needed) {
      if (abandoned()) return;
      std::this_thread::yield();
    }
    builder_.placePolygons(block * kBlock, count, begun);
    blocksPlaced_.fetch_add(1, std::memory_order_release);
  }
}
