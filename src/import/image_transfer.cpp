#include "import/image_transfer.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "import/foreign_import.h"
#include "model/animation_image.h"
#include "model/bone_names.h"

namespace {

class Out {
 public:
  template <class T>
  void put(const T& value) {
    bytes.append(reinterpret_cast<const char*>(&value), sizeof value);
  }
  template <class T>
  void many(const T* values, size_t count) {
    put(static_cast<uint64_t>(count));
    bytes.append(reinterpret_cast<const char*>(values), count * sizeof(T));
  }
  std::string bytes;
};

class In {
 public:
  In(std::FILE* file, size_t size) : file_(file), left_(size) {}
  template <class T>
  bool get(T& value) {
    return take(&value, sizeof value);
  }
  // A count of items of `itemBytes` each, no more than the bytes left hold.
  bool count(size_t& n, size_t itemBytes) {
    uint64_t value = 0;
    if (!get(value) || value > left_ / itemBytes) return false;
    n = static_cast<size_t>(value);
    return true;
  }
  template <class Vector>
  bool many(Vector& values) {
    size_t n = 0;
    if (!count(n, sizeof(values[0]))) return false;
    values.resize(n);
    return take(values.data(), n * sizeof(values[0]));
  }
  bool done() const { return left_ == 0; }

 private:
  bool take(void* to, size_t bytes) {
    if (bytes > left_ || std::fread(to, 1, bytes, file_) != bytes) return false;
    left_ -= bytes;
    return true;
  }
  std::FILE* file_;
  size_t left_;
};

bool finite(const double* values, int count) {
  for (int i = 0; i < count; ++i)
    if (!std::isfinite(values[i])) return false;
  return true;
}

}  // namespace

std::string imageBytes(const ModelImage& image) {
  Out out;
  out.many(image.vertices.data(), image.vertices.size());
  out.put(static_cast<uint64_t>(image.groups.size()));
  for (const ModelImage::GroupRecord& group : image.groups) {
    out.many(group.polygons.data(), group.polygons.size());
    out.put(group.textured);
    out.many(group.textureName.data(), group.textureName.size());
    out.put(group.colour);
  }
  out.put(static_cast<uint64_t>(image.bones.size()));
  for (const ModelImage::BoneRecord& bone : image.bones) {
    const double numbers[5] = {bone.x, bone.y, bone.z, bone.a, bone.b};
    out.put(bone.depth);
    out.put(numbers);
    out.many(bone.polygons.data(), bone.polygons.size());
  }
  out.put(static_cast<uint64_t>(image.clips.size()));
  for (const ModelImage::ClipRecord& clip : image.clips) {
    out.many(clip.name.data(), clip.name.size());
    out.put(clip.length);
    out.put(clip.fps);
    out.put(static_cast<uint64_t>(clip.tracks.size()));
    for (const ModelImage::TrackRecord& track : clip.tracks) {
      out.put(track.bone);
      out.many(track.keys.data(), track.keys.size());
    }
  }
  out.many(image.weights.data(), image.weights.size());
  out.put(static_cast<uint64_t>(image.boneNames.size()));
  for (const auto& [bone, name] : image.boneNames) {
    out.put(bone);
    out.many(name.data(), name.size());
  }
  return std::move(out.bytes);
}

bool readImageBytes(std::FILE* file, size_t size, ModelImage& image) {
  In in(file, size);
  if (!in.many(image.vertices)) return false;
  for (const Vec3& v : image.vertices)
    if (!finite(&v.x, 1) || !finite(&v.y, 1) || !finite(&v.z, 1)) return false;
  const int vertexCount = static_cast<int>(image.vertices.size());
  size_t groups = 0, polygons = 0;
  if (!in.count(groups, 8) || groups == 0) return false;
  image.groups.resize(groups);
  for (ModelImage::GroupRecord& group : image.groups) {
    if (!in.many(group.polygons) || !in.get(group.textured) || !in.many(group.textureName) ||
        !in.get(group.colour) || !finite(group.colour, 4))
      return false;
    if (group.textured != 0 && group.textured != 1) return false;
    if (group.textured ? !isOneWord(group.textureName) : !group.textureName.empty()) return false;
    for (const ModelImage::PolygonRecord& p : group.polygons) {
      for (int k = 0; k < 3; ++k)
        if (p.corners[k] < 0 || p.corners[k] >= vertexCount) return false;
      if (!finite(p.u, 3) || !finite(p.v, 3)) return false;
    }
    polygons += group.polygons.size();
  }
  size_t bones = 0;
  if (!in.count(bones, 8)) return false;
  image.bones.resize(bones);
  int previousDepth = 0;
  for (ModelImage::BoneRecord& bone : image.bones) {
    double numbers[5];
    if (!in.get(bone.depth) || !in.get(numbers) || !finite(numbers, 5) || !in.many(bone.polygons))
      return false;
    const bool first = previousDepth == 0;
    if (first ? bone.depth != 1 : bone.depth < 2 || bone.depth > previousDepth + 1) return false;
    previousDepth = bone.depth;
    bone.x = numbers[0], bone.y = numbers[1], bone.z = numbers[2];
    bone.a = numbers[3], bone.b = numbers[4];
    for (int number : bone.polygons)
      if (number < 0 || static_cast<size_t>(number) >= polygons) return false;
  }
  size_t clips = 0;
  if (!in.count(clips, 8)) return false;
  image.clips.resize(clips);
  for (ModelImage::ClipRecord& clip : image.clips) {
    size_t tracks = 0;
    if (!in.many(clip.name) || !in.get(clip.length) || !in.get(clip.fps) || !in.count(tracks, 8))
      return false;
    clip.tracks.resize(tracks);
    for (ModelImage::TrackRecord& track : clip.tracks)
      if (!in.get(track.bone) || !in.many(track.keys)) return false;
  }
  size_t names = 0;
  if (!in.many(image.weights) || !in.count(names, 4 + 8)) return false;
  image.boneNames.resize(names);
  for (auto& [bone, name] : image.boneNames)
    if (!in.get(bone) || !in.many(name)) return false;
  // Clips, weights and bone names as the model file reader would take them.
  return animationFault(image).empty() && boneNamesFault(image).empty() && in.done();
}
