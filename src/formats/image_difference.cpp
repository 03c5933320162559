// Images whole and as differences (contracts in image_difference.h).

#include "formats/image_difference.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "model/animation_image.h"
#include "model/bone_names.h"
#include "model/seam_image.h"

namespace {

bool finite(std::initializer_list<double> values) {
  for (double x : values)
    if (!std::isfinite(x)) return false;
  return true;
}

void putPolygon(BodyWriter& w, const ModelImage::PolygonRecord& p) {
  for (int c : p.corners) w.put(static_cast<int32_t>(c));
  for (double u : p.u) w.put(u);
  for (double v : p.v) w.put(v);
}
bool getPolygon(BodyReader& r, ModelImage::PolygonRecord& p, ImageFaults& f) {
  for (int& c : p.corners)
    if (!r.get(c)) return false;
  for (double& u : p.u)
    if (!r.get(u)) return false;
  for (double& v : p.v)
    if (!r.get(v)) return false;
  for (int c : p.corners)
    if (c < 0 || static_cast<size_t>(c) >= f.vertexCount)
      return f.fail("a vertex number out of range");
  if (!finite({p.u[0], p.u[1], p.u[2], p.v[0], p.v[1], p.v[2]}))
    return f.fail("a texture coordinate that is not finite");
  return true;
}
void putBone(BodyWriter& w, const ModelImage::BoneRecord& b) {
  w.put(static_cast<int32_t>(b.depth));
  for (double value : {b.x, b.y, b.z, b.a, b.b}) w.put(value);
  w.count(b.polygons.size());
  for (int p : b.polygons) w.put(static_cast<int32_t>(p));
}
bool getBone(BodyReader& r, ModelImage::BoneRecord& b, ImageFaults&) {
  size_t n = 0;
  if (!r.get(b.depth) || !r.get(b.x) || !r.get(b.y) || !r.get(b.z) || !r.get(b.a) || !r.get(b.b) ||
      !r.count(n, sizeof(int32_t)))
    return false;
  b.polygons.resize(n);
  for (int& p : b.polygons)
    if (!r.get(p)) return false;
  return true;
}
void putGroupLook(BodyWriter& w, const ModelImage::GroupRecord& g) {
  w.put(static_cast<int32_t>(g.textured));
  w.text(g.textureName);
  for (double c : g.colour) w.put(c);
}
bool getGroupLook(BodyReader& r, ModelImage::GroupRecord& g, ImageFaults& f) {
  if (!r.get(g.textured) || !r.text(g.textureName)) return false;
  for (double& c : g.colour)
    if (!r.get(c)) return false;
  if (!finite({g.colour[0], g.colour[1], g.colour[2], g.colour[3]}))
    return f.fail("a colour that is not finite");
  if (g.textured != 0 && g.textured != 1) return f.fail("a bad texture flag");
  return true;
}
void putVertex(BodyWriter& w, const Vec3& v) {
  w.put(v.x), w.put(v.y), w.put(v.z);
}
bool getVertex(BodyReader& r, Vec3& v, ImageFaults& f) {
  if (!r.get(v.x) || !r.get(v.y) || !r.get(v.z)) return false;
  return finite({v.x, v.y, v.z}) || f.fail("a vertex that is not finite");
}

// Vertex numbers from the newer image to the older: the common start keeps
// its numbers, the common end shifts by the difference in count, and the
// middle keeps them when both middles are as long (vertices moved), else it
// has no older number.
struct Renumbering {
  size_t start = 0, end = 0, olderCount = 0, newerCount = 0;
  bool identity() const { return olderCount == newerCount; }
  std::optional<int> older(int n) const {
    const size_t v = static_cast<size_t>(n);
    if (n < 0 || v >= newerCount) return std::nullopt;
    if (v < start || olderCount == newerCount) return n;
    if (v >= newerCount - end) return static_cast<int>(v - newerCount + olderCount);
    return std::nullopt;
  }
};

std::optional<ModelImage::PolygonRecord> renumbered(const ModelImage::PolygonRecord& p,
                                                    const Renumbering& numbers) {
  ModelImage::PolygonRecord out = p;
  for (int& c : out.corners) {
    const std::optional<int> older = numbers.older(c);
    if (!older) return std::nullopt;
    c = *older;
  }
  return out;
}

Renumbering vertexRenumbering(const ModelImage& older, const ModelImage& newer) {
  Renumbering n{0, 0, older.vertices.size(), newer.vertices.size()};
  const size_t shorter = std::min(n.olderCount, n.newerCount);
  while (n.start < shorter && older.vertices[n.start] == newer.vertices[n.start]) ++n.start;
  while (n.end < shorter - n.start &&
         older.vertices[n.olderCount - 1 - n.end] == newer.vertices[n.newerCount - 1 - n.end])
    ++n.end;
  return n;
}

// The older array's item as the newer one gives it: the same, or for a
// polygon its corners renumbered (nullopt when a corner has no older number).
template <class T>
std::optional<T> fromNewer(const T& item, const Renumbering* numbers) {
  if constexpr (std::is_same_v<T, ModelImage::PolygonRecord>) {
    if (numbers) return renumbered(item, *numbers);
  }
  return item;
}

// Older array against newer: common start, common end, and the middle either
// as runs of changed items (same length) or in full. Items are written by
// `put` and read by `get`.
template <class Array, class Put>
void putArrayDifference(BodyWriter& w, const Array& older, const Array& newer,
                        const Renumbering* numbers, Put put) {
  auto matches = [&](size_t o, size_t n) {
    const auto item = fromNewer(newer[n], numbers);
    return item && *item == older[o];
  };
  const size_t shorter = std::min(older.size(), newer.size());
  size_t start = 0, end = 0;
  while (start < shorter && matches(start, start)) ++start;
  while (end < shorter - start && matches(older.size() - 1 - end, newer.size() - 1 - end)) ++end;
  w.count(older.size()), w.count(start), w.count(end);
  const size_t middle = older.size() - start - end;
  const bool aligned = middle == newer.size() - start - end;
  w.put(static_cast<uint8_t>(aligned));
  if (!aligned) {
    for (size_t i = start; i < start + middle; ++i) put(w, older[i]);
    return;
  }
  std::vector<std::pair<size_t, size_t>> runs;  // [first, last) of changed items
  for (size_t i = start; i < start + middle; ++i) {
    if (matches(i, i)) continue;
    if (!runs.empty() && runs.back().second == i) {
      ++runs.back().second;
    } else {
      runs.push_back({i, i + 1});
    }
  }
  w.count(runs.size());
  for (auto [first, last] : runs) {
    w.count(first), w.count(last - first);
    for (size_t i = first; i < last; ++i) put(w, older[i]);
  }
}

// Items [at, at + count) renumbered from the newer image's vertex numbers to
// the older's; false when one has no older number.
template <class Array>
bool renumberRange(Array& items, size_t at, size_t count, const Renumbering* numbers) {
  if (!numbers || numbers->identity()) return true;
  for (size_t i = at; i < at + count; ++i) {
    const auto item = fromNewer(items[i], numbers);
    if (!item) return false;
    items[i] = *item;
  }
  return true;
}

// Reads an array's difference over `items`, which hold the newer array and
// end as the older, so that what did not change costs nothing (unless its
// corners are renumbered). The common start and end read go to `common`.
template <class Array, class Get>
bool getArrayDifference(BodyReader& r, Array& items, const Renumbering* numbers,
                        size_t minItemBytes, ImageFaults& f, Get get,
                        std::pair<size_t, size_t>* common = nullptr) {
  size_t size = 0, start = 0, end = 0;
  uint8_t aligned = 0;
  if (!r.number(size) || !r.number(start) || !r.number(end) || !r.get(aligned)) return false;
  const size_t newerSize = items.size();
  if (start + end > size || start + end > newerSize) return false;
  const size_t middle = size - start - end, newerMiddle = newerSize - start - end;
  if (aligned ? middle != newerMiddle : middle > r.left() / minItemBytes) return false;
  if (common) *common = {start, end};
  if (!aligned) {
    // The middle read in full where the newer's was: the common end moves up or down.
    if (middle > newerMiddle) {
      items.reserve(size);  // no more than that: the image may be held long
      items.insert(items.begin() + start + newerMiddle, middle - newerMiddle,
                   typename Array::value_type{});
    } else {
      items.erase(items.begin() + start + middle, items.begin() + start + newerMiddle);
    }
    if (!renumberRange(items, 0, start, numbers) || !renumberRange(items, size - end, end, numbers))
      return false;
    for (size_t i = start; i < start + middle; ++i)
      if (!get(r, items[i], f)) return false;
    return true;
  }
  // The same length: the runs that changed read over the newer array. Items
  // that cannot be renumbered must be among those.
  std::vector<bool> unknown;
  for (size_t i = 0; numbers && !numbers->identity() && i < size; ++i) {
    const auto item = fromNewer(items[i], numbers);
    if (item) items[i] = *item;
    if (!item && unknown.empty()) unknown.resize(size);
    if (!item) unknown[i] = true;
  }
  size_t runs = 0;
  if (!r.count(runs, 2 * sizeof(uint32_t) + minItemBytes)) return false;
  for (size_t k = 0; k < runs; ++k) {
    size_t first = 0, length = 0;
    if (!r.number(first) || !r.count(length, minItemBytes)) return false;
    if (first < start || first + length > start + middle) return false;
    for (size_t i = first; i < first + length; ++i) {
      if (!get(r, items[i], f)) return false;
      if (!unknown.empty()) unknown[i] = false;
    }
  }
  return std::find(unknown.begin(), unknown.end(), true) == unknown.end();
}

constexpr size_t kPolygonBytes = 3 * 4 + 6 * 8;
constexpr size_t kBoneBytes = 4 + 5 * 8 + 4;
constexpr size_t kGroupBytes = 4 + 4 + 4 * 8;
const ModelImage::GroupRecord kNoGroup;

// Clips and weights: in full with the model; in a step, each clip's tracks
// and the weights as differences from the newer image's, so that keying one
// bone costs one track. Files of version 1 hold neither.
constexpr size_t kKeyBytes = 4 + 7 * 8;
constexpr size_t kTrackBytes = 4 + 4;
constexpr size_t kClipBytes = 4 + 4 + 4 + 4;
constexpr size_t kWeightBytes = 4 + 4 + 8;
const ModelImage::ClipRecord kNoClip;

// Keys gained a scale and an interpolation in version 4.
void putTrack(BodyWriter& w, const ModelImage::TrackRecord& t, int version) {
  w.put(static_cast<int32_t>(t.bone));
  w.count(t.keys.size());
  for (const auto& k : t.keys) {
    w.put(static_cast<int32_t>(k.frame));
    for (double q : k.rotation) w.put(q);
    for (double v : k.translation) w.put(v);
    if (version < 4) continue;
    for (double v : k.scale) w.put(v);
    w.put(static_cast<uint8_t>(k.interpolation));
  }
}
bool getTrack(BodyReader& r, ModelImage::TrackRecord& t, int version) {
  size_t n = 0;
  if (!r.get(t.bone) || !r.count(n, kKeyBytes)) return false;
  t.keys.resize(n);
  for (auto& k : t.keys) {
    if (!r.get(k.frame)) return false;
    for (double& q : k.rotation)
      if (!r.get(q)) return false;
    for (double& v : k.translation)
      if (!r.get(v)) return false;
    if (version < 4) continue;
    for (double& v : k.scale)
      if (!r.get(v)) return false;
    uint8_t interpolation = 0;
    if (!r.get(interpolation)) return false;
    k.interpolation = interpolation;
  }
  return true;
}
void putWeight(BodyWriter& w, const ModelImage::WeightRecord& x) {
  w.put(static_cast<int32_t>(x.vertex)), w.put(static_cast<int32_t>(x.bone)), w.put(x.weight);
}
bool getWeight(BodyReader& r, ModelImage::WeightRecord& x, ImageFaults&) {
  return r.get(x.vertex) && r.get(x.bone) && r.get(x.weight);
}
void putClipLook(BodyWriter& w, const ModelImage::ClipRecord& c) {
  w.text(c.name), w.put(static_cast<int32_t>(c.length)), w.put(static_cast<int32_t>(c.fps));
}
bool getClipLook(BodyReader& r, ModelImage::ClipRecord& c) {
  return r.text(c.name) && r.get(c.length) && r.get(c.fps);
}

void putAnimation(BodyWriter& w, const ModelImage& image, int version) {
  w.count(image.clips.size());
  for (const auto& c : image.clips) {
    putClipLook(w, c);
    w.count(c.tracks.size());
    for (const auto& t : c.tracks) putTrack(w, t, version);
  }
  w.count(image.weights.size());
  for (const auto& x : image.weights) putWeight(w, x);
}

bool getAnimation(BodyReader& r, ModelImage& image, int version, ImageFaults& f) {
  size_t n = 0;
  if (!r.count(n, kClipBytes)) return false;
  image.clips.resize(n);
  for (auto& c : image.clips) {
    if (!getClipLook(r, c) || !r.count(n, kTrackBytes)) return false;
    c.tracks.resize(n);
    for (auto& t : c.tracks)
      if (!getTrack(r, t, version)) return false;
  }
  if (!r.count(n, kWeightBytes)) return false;
  image.weights.resize(n);
  for (auto& x : image.weights)
    if (!getWeight(r, x, f)) return false;
  return true;
}

// Most steps leave clips and weights alone: one byte says so.
void putAnimationStep(BodyWriter& w, const ModelImage& older, const ModelImage& newer,
                      int version) {
  auto put = [version](BodyWriter& out, const ModelImage::TrackRecord& t) {
    putTrack(out, t, version);
  };
  const bool unchanged = older.clips == newer.clips && older.weights == newer.weights;
  w.put(static_cast<uint8_t>(unchanged));
  if (unchanged) return;
  w.count(older.clips.size());
  for (size_t c = 0; c < older.clips.size(); ++c) {
    const auto& base = c < newer.clips.size() ? newer.clips[c] : kNoClip;
    putClipLook(w, older.clips[c]);
    putArrayDifference(w, older.clips[c].tracks, base.tracks, nullptr, put);
  }
  putArrayDifference(w, older.weights, newer.weights, nullptr, putWeight);
}

bool getAnimationStep(BodyReader& r, ModelImage& image, int version, ImageFaults& f) {
  auto get = [version](BodyReader& in, ModelImage::TrackRecord& t, ImageFaults&) {
    return getTrack(in, t, version);
  };
  uint8_t unchanged = 0;
  if (!r.get(unchanged) || unchanged > 1) return false;
  if (unchanged) return true;
  size_t clips = 0;
  if (!r.count(clips, kClipBytes)) return false;
  image.clips.resize(clips);  // a clip the newer image lacks starts without tracks
  for (auto& clip : image.clips)
    if (!getClipLook(r, clip) || !getArrayDifference(r, clip.tracks, nullptr, kTrackBytes, f, get))
      return false;
  return getArrayDifference(r, image.weights, nullptr, kWeightBytes, f, getWeight);
}

// Seams: in full with the model and, in the few steps that change them, in
// full again; one byte says a step leaves them alone. Files before version 3
// hold none.
void putSeams(BodyWriter& w, const ModelImage& image) {
  w.count(image.seams.size());
  for (const auto& [a, b] : image.seams)
    w.put(static_cast<int32_t>(a)), w.put(static_cast<int32_t>(b));
}
bool getSeams(BodyReader& r, ModelImage& image, ImageFaults& f) {
  size_t n = 0;
  if (!r.count(n, 2 * 4)) return false;
  image.seams.resize(n);
  for (size_t i = 0; i < n; ++i) {
    if (!r.get(image.seams[i].first) || !r.get(image.seams[i].second)) return false;
    if (std::string fault = seamFault(image, i); !fault.empty()) return f.fail(std::move(fault));
  }
  return true;
}
void putSeamStep(BodyWriter& w, const ModelImage& older, const ModelImage& newer) {
  const bool unchanged = older.seams == newer.seams;
  w.put(static_cast<uint8_t>(unchanged));
  if (!unchanged) putSeams(w, older);
}
bool getSeamStep(BodyReader& r, ModelImage& image, ImageFaults& f) {
  uint8_t unchanged = 0;
  if (!r.get(unchanged) || unchanged > 1) return false;
  if (!unchanged) return getSeams(r, image, f);
  // The newer image's seams, against the older image's vertices.
  for (size_t i = 0; i < image.seams.size(); ++i)
    if (std::string fault = seamFault(image, i); !fault.empty()) return f.fail(std::move(fault));
  return true;
}

// Bone names: as the seams, in full with the model and in the steps that
// change them. Files before version 4 hold none.
void putBoneNames(BodyWriter& w, const ModelImage& image) {
  w.count(image.boneNames.size());
  for (const auto& [bone, name] : image.boneNames) w.put(static_cast<int32_t>(bone)), w.text(name);
}
bool getBoneNames(BodyReader& r, ModelImage& image) {
  size_t n = 0;
  if (!r.count(n, 4 + 4 + 1)) return false;
  image.boneNames.resize(n);
  for (auto& [bone, name] : image.boneNames)
    if (!r.get(bone) || !r.text(name)) return false;
  return true;
}
void putBoneNameStep(BodyWriter& w, const ModelImage& older, const ModelImage& newer) {
  const bool unchanged = older.boneNames == newer.boneNames;
  w.put(static_cast<uint8_t>(unchanged));
  if (!unchanged) putBoneNames(w, older);
}
bool getBoneNameStep(BodyReader& r, ModelImage& image) {
  uint8_t unchanged = 0;
  if (!r.get(unchanged) || unchanged > 1) return false;
  return unchanged || getBoneNames(r, image);
}

// What the reading of items cannot see: groups, the skeleton as a whole and
// its names.
bool checkStructure(const ModelImage& image, ImageFaults& f) {
  if (image.groups.empty()) return f.fail("a model without groups");
  size_t polygons = 0;
  for (const auto& g : image.groups) polygons += g.polygons.size();
  int previous = 0;
  for (const auto& b : image.bones) {
    if (previous == 0 ? b.depth != 1 : (b.depth < 2 || b.depth > previous + 1))
      return f.fail("bone depths out of order");
    if (!finite({b.x, b.y, b.z, b.a, b.b})) return f.fail("a bone value that is not finite");
    for (int p : b.polygons)
      if (p < 0 || static_cast<size_t>(p) >= polygons)
        return f.fail("a polygon number out of range");
    previous = b.depth;
  }
  if (std::string names = boneNamesFault(image); !names.empty()) return f.fail(std::move(names));
  const std::string animation = animationFault(image);
  return animation.empty() || f.fail("an animation the model file refuses (" + animation + ")");
}

}  // namespace

void putImage(BodyWriter& w, const ModelImage& image, int version) {
  w.count(image.vertices.size());
  for (const Vec3& v : image.vertices) putVertex(w, v);
  w.count(image.groups.size());
  for (const auto& g : image.groups) {
    w.count(g.polygons.size());
    for (const auto& p : g.polygons) putPolygon(w, p);
    putGroupLook(w, g);
  }
  w.count(image.bones.size());
  for (const auto& b : image.bones) putBone(w, b);
  if (version >= 2) putAnimation(w, image, version);
  if (version >= 3) putSeams(w, image);
  if (version >= 4) putBoneNames(w, image);
}

bool getImage(BodyReader& r, ModelImage& image, int version, ImageFaults& f) {
  size_t n = 0;
  if (!r.count(n, 3 * sizeof(double))) return false;
  image.vertices.resize(n);
  for (Vec3& v : image.vertices)
    if (!getVertex(r, v, f)) return false;
  f.vertexCount = image.vertices.size();
  if (!r.count(n, kGroupBytes)) return false;
  image.groups.resize(n);
  for (auto& g : image.groups) {
    if (!r.count(n, kPolygonBytes)) return false;
    g.polygons.resize(n);
    for (auto& p : g.polygons)
      if (!getPolygon(r, p, f)) return false;
    if (!getGroupLook(r, g, f)) return false;
  }
  if (!r.count(n, kBoneBytes)) return false;
  image.bones.resize(n);
  for (auto& b : image.bones)
    if (!getBone(r, b, f)) return false;
  return (version < 2 || getAnimation(r, image, version, f)) &&
         (version < 3 || getSeams(r, image, f)) && (version < 4 || getBoneNames(r, image)) &&
         checkStructure(image, f);
}

void putImageDifference(BodyWriter& w, const ModelImage& older, const ModelImage& newer,
                        int version) {
  const Renumbering numbers = vertexRenumbering(older, newer);
  putArrayDifference(w, older.vertices, newer.vertices, nullptr, putVertex);
  w.count(older.groups.size());
  for (size_t g = 0; g < older.groups.size(); ++g) {
    const auto& base = g < newer.groups.size() ? newer.groups[g] : kNoGroup;
    putArrayDifference(w, older.groups[g].polygons, base.polygons, &numbers, putPolygon);
    putGroupLook(w, older.groups[g]);
  }
  putArrayDifference(w, older.bones, newer.bones, nullptr, putBone);
  if (version >= 2) putAnimationStep(w, older, newer, version);
  if (version >= 3) putSeamStep(w, older, newer);
  if (version >= 4) putBoneNameStep(w, older, newer);
}

bool getImageDifference(BodyReader& r, ModelImage& image, int version, ImageFaults& f) {
  const size_t newerCount = image.vertices.size();
  std::pair<size_t, size_t> common;
  if (!getArrayDifference(r, image.vertices, nullptr, 24, f, getVertex, &common)) return false;
  f.vertexCount = image.vertices.size();
  // The renumbering the writer found: its common start and end of the
  // vertices are those of their difference.
  const Renumbering found{common.first, common.second, image.vertices.size(), newerCount};
  size_t groups = 0;
  if (!r.count(groups, 3 * 4 + 1 + kGroupBytes)) return false;
  image.groups.resize(groups);  // a group the newer image lacks starts without polygons
  for (auto& group : image.groups)
    if (!getArrayDifference(r, group.polygons, &found, kPolygonBytes, f, getPolygon) ||
        !getGroupLook(r, group, f))
      return false;
  return getArrayDifference(r, image.bones, nullptr, kBoneBytes, f, getBone) &&
         (version < 2 || getAnimationStep(r, image, version, f)) &&
         (version < 3 || getSeamStep(r, image, f)) && (version < 4 || getBoneNameStep(r, image)) &&
         checkStructure(image, f);
}

ImageDifference::ImageDifference(const ModelImage& older, const ModelImage& newer) {
  BodyWriter w;
  putImageDifference(w, older, newer, kRecoveryVersion);
  w.out.shrink_to_fit();
  bytes_ = std::make_shared<const std::string>(std::move(w.out));
}

ImageDifference::ImageDifference(std::string bytes)
    : bytes_(std::make_shared<const std::string>(std::move(bytes))) {}

bool ImageDifference::apply(const ModelImage& newer, ModelImage& older, std::string* fault) const {
  BodyReader r(bytes_ ? std::string_view(*bytes_) : std::string_view());
  ImageFaults faults;
  ModelImage made = newer;
  made.notes.clear();
  if (!getImageDifference(r, made, kRecoveryVersion, faults) || !r.atEnd()) {
    if (fault) *fault = faults.fault.empty() ? "a damaged difference" : faults.fault;
    return false;
  }
  older = std::move(made);
  return true;
}
