// Reads model file text into an image. The text comes from the user's disk, so
// nothing in it is trusted: every count, number and depth is checked before it
// is used, and anything the writer could not have produced is refused, up to
// the end of the skeleton, its animation section (formats/animation_file.h),
// the seams (formats/seam_section.h) and the bone names
// (formats/bone_name_section.h); any other text after them is ignored.

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>

#include "files/file_paths.h"
#include "formats/animation_file.h"
#include "formats/bone_name_section.h"
#include "formats/model_file.h"
#include "formats/model_scanner.h"
#include "formats/polygon_ring.h"
#include "formats/read_progress.h"
#include "formats/seam_section.h"
#include "formats/text_window.h"
#include "model/model_image.h"

namespace {

// The fewest bytes one item of each section can take, separators included;
// a count that the rest of the text could not hold is refused before anything
// is allocated for it.
constexpr size_t kMinVertexBytes = 6;    // "0 0 0\n"
constexpr size_t kMinPolygonBytes = 18;  // nine one-digit numbers
constexpr size_t kMinGroupBytes = 12;    // count, flag, four colour numbers
constexpr size_t kMinBoneBytes = 15;     // six numbers and "-1"

// Tells a builder on another thread what is complete in the image. Counts are
// published every so many items rather than each, to keep the two threads
// from contending for them.
class Publisher {
 public:
  explicit Publisher(ReadProgress* progress)
      : progress_(progress),
        polygonStep_(progress && progress->ring ? progress->ring->blockLines() : 2048) {}

  ReadProgress* progress() const { return progress_; }
  void vertexCount(size_t count) {
    if (progress_)
      progress_->vertexCount.store(static_cast<long>(count), std::memory_order_release);
  }
  void vertices(size_t done, bool last) {
    if (progress_ && (last || done % kVertexStep == 0)) {
      progress_->vertices.store(done, std::memory_order_release);
    }
  }
  void groupCount(size_t count) {
    if (progress_) progress_->groupSizes.resize(count);
  }
  void groupBegun(int group, size_t polygonCount) {
    if (!progress_) return;
    progress_->groupSizes[group] = polygonCount;
    progress_->groupsBegun.store(group + 1, std::memory_order_release);
  }
  // Published at the end of every ring block, so that the builders can always
  // place the blocks the reader waits for.
  void polygons(size_t done, bool last) {
    if (progress_ && (last || done % polygonStep_ == 0)) {
      progress_->polygons.store(done, std::memory_order_release);
    }
  }

 private:
  static constexpr size_t kVertexStep = 2048;
  ReadProgress* progress_;
  size_t polygonStep_;
};

bool readVertices(Scanner& in, ModelImage& image, Publisher& publish) {
  int count;
  if (!in.anythingLeft("the file is empty")) return false;
  if (!in.count(count, "vertex count", kMinVertexBytes)) return false;
  image.vertices.resize(count);
  publish.vertexCount(count);
  for (size_t i = 0; i < image.vertices.size(); ++i) {
    Vec3& vertex = image.vertices[i];
    if (!in.real(vertex.x, "vertex coordinate") || !in.real(vertex.y, "vertex coordinate") ||
        !in.real(vertex.z, "vertex coordinate")) {
      return false;
    }
    publish.vertices(i + 1, i + 1 == image.vertices.size());
  }
  return true;
}

bool readPolygon(Scanner& in, int vertexCount, ModelImage::PolygonRecord& polygon) {
  for (int& corner : polygon.corners) {
    if (!in.integer(corner, "vertex number")) return false;
    if (corner < 0 || corner >= vertexCount) return in.fail("vertex number out of range");
  }
  for (double& u : polygon.u) {
    if (!in.real(u, "texture coordinate")) return false;
  }
  for (double& v : polygon.v) {
    if (!in.real(v, "texture coordinate")) return false;
  }
  // The rest of the line holds normals, which are recomputed rather than read.
  in.skipRestOfLine();
  return true;
}

bool readGroups(Scanner& in, ModelImage& image, Publisher& publish, size_t& polygonsRead) {
  int groupCount;
  if (!in.count(groupCount, "group count", kMinGroupBytes)) return false;
  if (groupCount == 0) return in.fail("a model needs at least one group");
  image.groups.resize(groupCount);
  publish.groupCount(groupCount);
  PolygonRing* ring = publish.progress() ? publish.progress()->ring : nullptr;
  const int vertexCount = static_cast<int>(image.vertices.size());
  for (int g = 0; g < groupCount; ++g) {
    ModelImage::GroupRecord& group = image.groups[g];
    int polygonCount;
    if (!in.count(polygonCount, "polygon count", kMinPolygonBytes)) return false;
    if (!ring) group.polygons.resize(polygonCount);
    publish.groupBegun(g, polygonCount);
    for (int i = 0; i < polygonCount; ++i) {
      ModelImage::PolygonRecord* line = ring ? ring->slot(polygonsRead) : &group.polygons[i];
      if (!line) return in.fail("reading stopped");
      if (!readPolygon(in, vertexCount, *line)) return false;
      publish.polygons(++polygonsRead, i + 1 == polygonCount);
    }
    if (!in.integer(group.textured, "texture flag")) return false;
    group.textured = group.textured != 0 ? 1 : 0;
    if (group.textured && !in.word(group.textureName, "texture name")) return false;
    // Such a name would reach the terminal and every later save as it is:
    // the group keeps its colour without it, as "/loadtex" refuses one.
    if (group.textured && hasControlCharacter(group.textureName)) {
      image.notes.push_back(in.lineHere() + ": texture name " + shownName(group.textureName) +
                            " dropped (it holds control characters)");
      group.textured = 0;
      group.textureName.clear();
    }
    for (double& channel : group.colour) {
      if (!in.real(channel, "colour")) return false;
    }
  }
  return true;
}

bool readBone(Scanner& in, int previousDepth, int polygonCount, ModelImage::BoneRecord& bone) {
  if (!in.integer(bone.depth, "bone depth")) return false;
  if (previousDepth == 0 && bone.depth != 1) return in.fail("the first bone must have depth 1");
  if (previousDepth > 0 && (bone.depth < 2 || bone.depth > previousDepth + 1)) {
    return in.fail("bone depth does not follow the previous bone");
  }
  for (double* value : {&bone.x, &bone.y, &bone.z, &bone.a, &bone.b}) {
    if (!in.real(*value, "bone value")) return false;
  }
  for (;;) {
    int polygon;
    if (!in.integer(polygon, "polygon number or -1")) return false;
    if (polygon == -1) return true;
    if (polygon < 0 || polygon >= polygonCount) return in.fail("polygon number out of range");
    bone.polygons.push_back(polygon);
  }
}

bool readBones(Scanner& in, ModelImage& image, size_t polygonsRead) {
  int boneCount;
  if (!in.count(boneCount, "bone count", kMinBoneBytes)) return false;
  const int polygonCount = static_cast<int>(polygonsRead);
  image.bones.resize(boneCount);
  int previousDepth = 0;
  for (ModelImage::BoneRecord& bone : image.bones) {
    if (!readBone(in, previousDepth, polygonCount, bone)) return false;
    previousDepth = bone.depth;
  }
  return true;
}

}  // namespace

namespace {

bool parse(TextWindow& text, ModelImage& image, std::string* error, ReadProgress* progress) {
  // Read into a fresh image so that a failure leaves the caller's as it was;
  // a builder following the read needs the caller's image filled in place.
  ModelImage parsed;
  ModelImage& target = progress ? image : parsed;
  if (progress) target = ModelImage();
  Scanner in(text);
  Publisher publish(progress);
  size_t polygonsRead = 0;
  const bool understood =
      readVertices(in, target, publish) && readGroups(in, target, publish, polygonsRead) &&
      readBones(in, target, polygonsRead) && readAnimationSection(in, target) &&
      readSeamSection(in, target) && readBoneNameSection(in, target) && in.readSucceeded();
  if (understood && !progress) image = std::move(parsed);
  if (!understood && error) *error = in.error();
  if (progress) progress->outcome.store(understood ? 1 : -1, std::memory_order_release);
  return understood;
}

}  // namespace

bool parseModelFile(std::string_view text, ModelImage& image, std::string* error) {
  TextWindow window(text);
  return parse(window, image, error, nullptr);
}

bool readModelFile(std::FILE* file, size_t sizeHint, ModelImage& image, std::string* error,
                   size_t windowBytes) {
  TextWindow window(file, sizeHint, windowBytes);
  return parse(window, image, error, nullptr);
}

bool readModelFile(std::FILE* file, size_t sizeHint, ModelImage& image, ReadProgress& progress,
                   std::string* error, size_t windowBytes) {
  TextWindow window(file, sizeHint, windowBytes);
  return parse(window, image, error, &progress);
}
