// The recovery file's text (layout in recovery_file.h).

#include "formats/recovery_file.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>

#include "files/file_paths.h"
#include "model/animation_image.h"

namespace {

// FNV-1a over 8-byte words (the last one padded with zeros): a byte at a
// time would cost the writer more than formatting does.
uint64_t checksum(std::string_view bytes) {
  uint64_t hash = 14695981039346656037ull;
  for (size_t at = 0; at < bytes.size(); at += 8) {
    uint64_t word = 0;
    std::memcpy(&word, bytes.data() + at, std::min<size_t>(8, bytes.size() - at));
    hash = (hash ^ word) * 1099511628211ull;
  }
  return hash;
}

class Writer {
 public:
  template <class T>
  void put(const T& value) {
    static_assert(std::is_trivially_copyable_v<T>);
    out.append(reinterpret_cast<const char*>(&value), sizeof(T));
  }
  void count(size_t n) { put(static_cast<uint32_t>(n)); }
  void text(const std::string& s) { count(s.size()), out.append(s); }
  std::string out;
};

class Reader {
 public:
  explicit Reader(std::string_view in) : in_(in) {}
  template <class T>
  bool get(T& value) {
    if (in_.size() - at_ < sizeof(T)) return false;
    std::memcpy(&value, in_.data() + at_, sizeof(T));
    at_ += sizeof(T);
    return true;
  }
  // A count of items of at least `minBytes` each: never more than the bytes left allow.
  bool count(size_t& n, size_t minBytes) {
    uint32_t value = 0;
    if (!get(value) || value > (in_.size() - at_) / minBytes) return false;
    n = value;
    return true;
  }
  bool text(std::string& s) {
    size_t n = 0;
    if (!count(n, 1)) return false;
    s.assign(in_.substr(at_, n)), at_ += n;
    return true;
  }
  // A number that is checked against something else, not the bytes left.
  bool number(size_t& n) {
    uint32_t value = 0;
    if (!get(value)) return false;
    n = value;
    return true;
  }
  size_t left() const { return in_.size() - at_; }
  bool atEnd() const { return at_ == in_.size(); }

 private:
  std::string_view in_;
  size_t at_ = 0;
};

void putPolygon(Writer& w, const ModelImage::PolygonRecord& p) {
  for (int c : p.corners) w.put(static_cast<int32_t>(c));
  for (double u : p.u) w.put(u);
  for (double v : p.v) w.put(v);
}
bool getPolygon(Reader& r, ModelImage::PolygonRecord& p) {
  for (int& c : p.corners)
    if (!r.get(c)) return false;
  for (double& u : p.u)
    if (!r.get(u)) return false;
  for (double& v : p.v)
    if (!r.get(v)) return false;
  return true;
}
void putBone(Writer& w, const ModelImage::BoneRecord& b) {
  w.put(static_cast<int32_t>(b.depth));
  for (double value : {b.x, b.y, b.z, b.a, b.b}) w.put(value);
  w.count(b.polygons.size());
  for (int p : b.polygons) w.put(static_cast<int32_t>(p));
}
bool getBone(Reader& r, ModelImage::BoneRecord& b) {
  size_t n = 0;
  if (!r.get(b.depth) || !r.get(b.x) || !r.get(b.y) || !r.get(b.z) || !r.get(b.a) || !r.get(b.b) ||
      !r.count(n, sizeof(int32_t)))
    return false;
  b.polygons.resize(n);
  for (int& p : b.polygons)
    if (!r.get(p)) return false;
  return true;
}
void putGroupLook(Writer& w, const ModelImage::GroupRecord& g) {
  w.put(static_cast<int32_t>(g.textured));
  w.text(g.textureName);
  for (double c : g.colour) w.put(c);
}
bool getGroupLook(Reader& r, ModelImage::GroupRecord& g) {
  if (!r.get(g.textured) || !r.text(g.textureName)) return false;
  for (double& c : g.colour)
    if (!r.get(c)) return false;
  return true;
}

// How an older array's items come from the newer array's (nullopt: they cannot).
template <class T>
using FromNewer = std::optional<T> (*)(const T&, const void* context);

template <class T>
std::optional<T> same(const T& item, const void*) {
  return item;
}

// Older array against newer: common start, common end, and the middle either
// as runs of changed items (same length) or in full. Items are written by
// `put` and read by `get`.
template <class T, class Array, class Put>
void putDifference(Writer& w, const Array& older, const Array& newer, FromNewer<T> from,
                   const void* context, Put put) {
  auto matches = [&](size_t o, size_t n) {
    const std::optional<T> item = from(newer[n], context);
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

template <class T, class Array, class Get>
bool getDifference(Reader& r, Array& older, const Array& newer, FromNewer<T> from,
                   const void* context, size_t minItemBytes, Get get) {
  size_t size = 0, start = 0, end = 0;
  uint8_t aligned = 0;
  if (!r.number(size) || !r.number(start) || !r.number(end) || !r.get(aligned)) return false;
  if (start + end > size || start + end > newer.size()) return false;
  const size_t middle = size - start - end;
  if (aligned ? middle != newer.size() - start - end : middle > r.left() / minItemBytes)
    return false;
  older.resize(size);
  auto copy = [&](size_t o, size_t n) {
    const std::optional<T> item = from(newer[n], context);
    if (item) older[o] = *item;
    return item.has_value();
  };
  for (size_t i = 0; i < start; ++i)
    if (!copy(i, i)) return false;
  for (size_t i = 0; i < end; ++i)
    if (!copy(size - 1 - i, newer.size() - 1 - i)) return false;
  if (!aligned) {
    for (size_t i = start; i < start + middle; ++i)
      if (!get(r, older[i])) return false;
    return true;
  }
  std::vector<bool> changed(middle, false);
  size_t runs = 0;
  if (!r.count(runs, 2 * sizeof(uint32_t) + minItemBytes)) return false;
  for (size_t k = 0; k < runs; ++k) {
    size_t first = 0, length = 0;
    if (!r.number(first) || !r.count(length, minItemBytes)) return false;
    if (first < start || first + length > start + middle) return false;
    for (size_t i = first; i < first + length; ++i) {
      if (!get(r, older[i])) return false;
      changed[i - start] = true;
    }
  }
  for (size_t i = start; i < start + middle; ++i)
    if (!changed[i - start] && !copy(i, i)) return false;
  return true;
}

// Vertex numbers from the newer image to the older: the common start keeps
// its numbers, the common end shifts by the difference in count, and the
// middle keeps them when both middles are as long (vertices moved), else it
// has no older number.
struct Renumbering {
  size_t start = 0, end = 0, olderCount = 0, newerCount = 0;
  std::optional<int> older(int n) const {
    const size_t v = static_cast<size_t>(n);
    if (n < 0 || v >= newerCount) return std::nullopt;
    if (v < start || olderCount == newerCount) return n;
    if (v >= newerCount - end) return static_cast<int>(v - newerCount + olderCount);
    return std::nullopt;
  }
};

std::optional<ModelImage::PolygonRecord> renumbered(const ModelImage::PolygonRecord& p,
                                                    const void* context) {
  const auto& numbers = *static_cast<const Renumbering*>(context);
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

constexpr size_t kPolygonBytes = 3 * 4 + 6 * 8;
constexpr size_t kBoneBytes = 4 + 5 * 8 + 4;
const ModelImage::GroupRecord kNoGroup;

// Clips and weights: in full with the model; in a step, each clip's tracks
// and the weights as differences from the newer image's, so that keying one
// bone costs one track.
constexpr size_t kKeyBytes = 4 + 7 * 8;
constexpr size_t kTrackBytes = 4 + 4;
constexpr size_t kClipBytes = 4 + 4 + 4 + 4;
constexpr size_t kWeightBytes = 4 + 4 + 8;
const ModelImage::ClipRecord kNoClip;

void putTrack(Writer& w, const ModelImage::TrackRecord& t) {
  w.put(static_cast<int32_t>(t.bone));
  w.count(t.keys.size());
  for (const auto& k : t.keys) {
    w.put(static_cast<int32_t>(k.frame));
    for (double q : k.rotation) w.put(q);
    for (double v : k.translation) w.put(v);
  }
}
bool getTrack(Reader& r, ModelImage::TrackRecord& t) {
  size_t n = 0;
  if (!r.get(t.bone) || !r.count(n, kKeyBytes)) return false;
  t.keys.resize(n);
  for (auto& k : t.keys) {
    if (!r.get(k.frame)) return false;
    for (double& q : k.rotation)
      if (!r.get(q)) return false;
    for (double& v : k.translation)
      if (!r.get(v)) return false;
  }
  return true;
}
void putWeight(Writer& w, const ModelImage::WeightRecord& x) {
  w.put(static_cast<int32_t>(x.vertex)), w.put(static_cast<int32_t>(x.bone)), w.put(x.weight);
}
bool getWeight(Reader& r, ModelImage::WeightRecord& x) {
  return r.get(x.vertex) && r.get(x.bone) && r.get(x.weight);
}
void putClipLook(Writer& w, const ModelImage::ClipRecord& c) {
  w.text(c.name), w.put(static_cast<int32_t>(c.length)), w.put(static_cast<int32_t>(c.fps));
}
bool getClipLook(Reader& r, ModelImage::ClipRecord& c) {
  return r.text(c.name) && r.get(c.length) && r.get(c.fps);
}

void putAnimation(Writer& w, const ModelImage& image) {
  w.count(image.clips.size());
  for (const auto& c : image.clips) {
    putClipLook(w, c);
    w.count(c.tracks.size());
    for (const auto& t : c.tracks) putTrack(w, t);
  }
  w.count(image.weights.size());
  for (const auto& x : image.weights) putWeight(w, x);
}

bool getAnimation(Reader& r, ModelImage& image) {
  size_t n = 0;
  if (!r.count(n, kClipBytes)) return false;
  image.clips.resize(n);
  for (auto& c : image.clips) {
    if (!getClipLook(r, c) || !r.count(n, kTrackBytes)) return false;
    c.tracks.resize(n);
    for (auto& t : c.tracks)
      if (!getTrack(r, t)) return false;
  }
  if (!r.count(n, kWeightBytes)) return false;
  image.weights.resize(n);
  for (auto& x : image.weights)
    if (!getWeight(r, x)) return false;
  return true;
}

// Most steps leave clips and weights alone: one byte says so.
void putAnimationStep(Writer& w, const ModelImage& older, const ModelImage& newer) {
  const bool unchanged = older.clips == newer.clips && older.weights == newer.weights;
  w.put(static_cast<uint8_t>(unchanged));
  if (unchanged) return;
  w.count(older.clips.size());
  for (size_t c = 0; c < older.clips.size(); ++c) {
    const auto& base = c < newer.clips.size() ? newer.clips[c] : kNoClip;
    putClipLook(w, older.clips[c]);
    putDifference<ModelImage::TrackRecord>(w, older.clips[c].tracks, base.tracks,
                                           same<ModelImage::TrackRecord>, nullptr, putTrack);
  }
  putDifference<ModelImage::WeightRecord>(w, older.weights, newer.weights,
                                          same<ModelImage::WeightRecord>, nullptr, putWeight);
}

bool getAnimationStep(Reader& r, ModelImage& older, const ModelImage& newer) {
  uint8_t unchanged = 0;
  if (!r.get(unchanged) || unchanged > 1) return false;
  if (unchanged) {
    older.clips = newer.clips;
    older.weights = newer.weights;
    return true;
  }
  size_t clips = 0;
  if (!r.count(clips, kClipBytes)) return false;
  older.clips.resize(clips);
  for (size_t c = 0; c < clips; ++c) {
    const auto& base = c < newer.clips.size() ? newer.clips[c] : kNoClip;
    if (!getClipLook(r, older.clips[c]) ||
        !getDifference<ModelImage::TrackRecord>(r, older.clips[c].tracks, base.tracks,
                                                same<ModelImage::TrackRecord>, nullptr, kTrackBytes,
                                                getTrack))
      return false;
  }
  return getDifference<ModelImage::WeightRecord>(r, older.weights, newer.weights,
                                                 same<ModelImage::WeightRecord>, nullptr,
                                                 kWeightBytes, getWeight);
}

void putImage(Writer& w, const ModelImage& image) {
  w.count(image.vertices.size());
  for (const Vec3& v : image.vertices) w.put(v.x), w.put(v.y), w.put(v.z);
  w.count(image.groups.size());
  for (const auto& g : image.groups) {
    w.count(g.polygons.size());
    for (const auto& p : g.polygons) putPolygon(w, p);
    putGroupLook(w, g);
  }
  w.count(image.bones.size());
  for (const auto& b : image.bones) putBone(w, b);
  putAnimation(w, image);
}

bool getVertex(Reader& r, Vec3& v) {
  return r.get(v.x) && r.get(v.y) && r.get(v.z);
}

bool getImage(Reader& r, ModelImage& image) {
  size_t n = 0;
  if (!r.count(n, 3 * sizeof(double))) return false;
  image.vertices.resize(n);
  for (Vec3& v : image.vertices)
    if (!getVertex(r, v)) return false;
  if (!r.count(n, 4 + 4 + 4 * 8)) return false;
  image.groups.resize(n);
  for (auto& g : image.groups) {
    if (!r.count(n, kPolygonBytes)) return false;
    g.polygons.resize(n);
    for (auto& p : g.polygons)
      if (!getPolygon(r, p)) return false;
    if (!getGroupLook(r, g)) return false;
  }
  if (!r.count(n, kBoneBytes)) return false;
  image.bones.resize(n);
  for (auto& b : image.bones)
    if (!getBone(r, b)) return false;
  return getAnimation(r, image);
}

void putStep(Writer& w, const ModelImage& older, const ModelImage& newer) {
  const Renumbering numbers = vertexRenumbering(older, newer);
  putDifference<Vec3>(w, older.vertices, newer.vertices, same<Vec3>, nullptr,
                      [](Writer& out, const Vec3& v) { out.put(v.x), out.put(v.y), out.put(v.z); });
  w.count(older.groups.size());
  for (size_t g = 0; g < older.groups.size(); ++g) {
    const auto& base = g < newer.groups.size() ? newer.groups[g] : kNoGroup;
    putDifference<ModelImage::PolygonRecord>(w, older.groups[g].polygons, base.polygons, renumbered,
                                             &numbers, putPolygon);
    putGroupLook(w, older.groups[g]);
  }
  putDifference<ModelImage::BoneRecord>(w, older.bones, newer.bones, same<ModelImage::BoneRecord>,
                                        nullptr, putBone);
  putAnimationStep(w, older, newer);
}

bool getStep(Reader& r, ModelImage& older, const ModelImage& newer) {
  if (!getDifference<Vec3>(r, older.vertices, newer.vertices, same<Vec3>, nullptr, 24, getVertex))
    return false;
  // The same renumbering the writer found, as the vertices are the same.
  const Renumbering found = vertexRenumbering(older, newer);
  size_t groups = 0;
  if (!r.count(groups, 3 * 4 + 1 + 4 + 4 + 4 * 8)) return false;
  older.groups.resize(groups);
  for (size_t g = 0; g < groups; ++g) {
    const auto& base = g < newer.groups.size() ? newer.groups[g] : kNoGroup;
    if (!getDifference<ModelImage::PolygonRecord>(r, older.groups[g].polygons, base.polygons,
                                                  renumbered, &found, kPolygonBytes, getPolygon) ||
        !getGroupLook(r, older.groups[g]))
      return false;
  }
  return getDifference<ModelImage::BoneRecord>(r, older.bones, newer.bones,
                                               same<ModelImage::BoneRecord>, nullptr, kBoneBytes,
                                               getBone) &&
         getAnimationStep(r, older, newer);
}

// What the model file's reader would refuse.
std::string imageFault(const ModelImage& image) {
  auto finite = [](std::initializer_list<double> values) {
    for (double x : values)
      if (!std::isfinite(x)) return false;
    return true;
  };
  if (image.groups.empty()) return "a model without groups";
  for (const Vec3& v : image.vertices)
    if (!finite({v.x, v.y, v.z})) return "a vertex that is not finite";
  size_t polygons = 0;
  for (const auto& g : image.groups) {
    if (!finite({g.colour[0], g.colour[1], g.colour[2], g.colour[3]}))
      return "a colour that is not finite";
    if (g.textured != 0 && g.textured != 1) return "a bad texture flag";
    for (const auto& p : g.polygons) {
      for (int c : p.corners)
        if (c < 0 || static_cast<size_t>(c) >= image.vertices.size())
          return "a vertex number out of range";
      if (!finite({p.u[0], p.u[1], p.u[2], p.v[0], p.v[1], p.v[2]}))
        return "a texture coordinate that is not finite";
    }
    polygons += g.polygons.size();
  }
  int previous = 0;
  for (const auto& b : image.bones) {
    if (previous == 0 ? b.depth != 1 : (b.depth < 2 || b.depth > previous + 1))
      return "bone depths out of order";
    if (!finite({b.x, b.y, b.z, b.a, b.b})) return "a bone value that is not finite";
    for (int p : b.polygons)
      if (p < 0 || static_cast<size_t>(p) >= polygons) return "a polygon number out of range";
    previous = b.depth;
  }
  const std::string animation = animationFault(image);
  return animation.empty() ? "" : "an animation the model file refuses (" + animation + ")";
}

}  // namespace

std::string formatRecoveryFile(const RecoveryContents& contents, RecoveryStepCache* cache) {
  Writer body;
  body.put(contents.changedAt);
  body.text(contents.model.name);
  putImage(body, *contents.model.image);
  body.count(contents.undoSteps.size());
  RecoveryStepCache used;
  std::shared_ptr<const ModelImage> newer = contents.model.image;
  for (auto step = contents.undoSteps.rbegin(); step != contents.undoSteps.rend(); ++step) {
    body.text(step->name);
    auto& entry = used.entries.emplace_back(RecoveryStepCache::Entry{step->image, newer, {}});
    const RecoveryStepCache::Entry* found = nullptr;
    for (size_t i = 0; cache && !found && i < cache->entries.size(); ++i) {
      const auto& known = cache->entries[i];
      if (known.older == entry.older && known.newer == entry.newer) found = &known;
    }
    if (found) {
      entry.bytes = found->bytes;
    } else {
      Writer difference;
      putStep(difference, *step->image, *newer);
      entry.bytes = std::move(difference.out);
    }
    body.out += entry.bytes;
    newer = step->image;
  }
  if (cache) *cache = std::move(used);
  return recoveryFileAround(body.out);
}

std::string recoveryFileAround(std::string_view body) {
  char line[64];
  std::snprintf(line, sizeof line, "%zu %016llx\n", body.size(),
                static_cast<unsigned long long>(checksum(body)));
  return std::string(kRecoveryHeader) + line + std::string(body);
}

namespace {

// The body after the first two lines, once its length and checksum agree.
bool checkedBody(std::string_view text, std::string_view& body, std::string* error) {
  auto fail = [&](const char* reason) {
    if (error) *error = reason;
    return false;
  };
  if (text.substr(0, 18) != kRecoveryHeader.substr(0, 18)) return fail("not a recovery file");
  if (!text.starts_with(kRecoveryHeader)) return fail("a recovery file of another version");
  text.remove_prefix(kRecoveryHeader.size());
  const size_t lineEnd = text.find('\n');
  unsigned long long length = 0, sum = 0;
  if (lineEnd == std::string_view::npos || lineEnd > 40 ||
      std::sscanf(std::string(text.substr(0, lineEnd)).c_str(), "%llu %llx", &length, &sum) != 2)
    return fail("the file is damaged");
  body = text.substr(lineEnd + 1);
  if (body.size() != length) return fail("the file is cut short or too long");
  if (checksum(body) != sum) return fail("the file is damaged");
  return true;
}

}  // namespace

bool readRecoveryHeader(std::string_view text, RecoveryContents& contents, std::string* error) {
  std::string_view body;
  if (!checkedBody(text, body, error)) return false;
  Reader r(body);
  if (!r.get(contents.changedAt) || !r.text(contents.model.name)) {
    if (error) *error = "the file is damaged";
    return false;
  }
  return true;
}

bool parseRecoveryFile(std::string_view text, RecoveryContents& contents, std::string* error) {
  auto fail = [&](const char* reason) {
    if (error) *error = reason;
    return false;
  };
  std::string_view body;
  if (!checkedBody(text, body, error)) return false;

  RecoveryContents read;
  Reader r(body);
  auto model = std::make_shared<ModelImage>();
  size_t steps = 0;
  if (!r.get(read.changedAt) || !r.text(read.model.name) || !getImage(r, *model) ||
      !r.count(steps, 4 + 4 * 3 + 1))
    return fail("the file is damaged");
  read.model.image = model;
  read.undoSteps.resize(steps);
  const ModelImage* newer = model.get();
  for (auto step = read.undoSteps.rbegin(); step != read.undoSteps.rend(); ++step) {
    auto image = std::make_shared<ModelImage>();
    if (!r.text(step->name) || !getStep(r, *image, *newer)) return fail("the file is damaged");
    step->image = image;
    newer = image.get();
  }
  if (!r.atEnd()) return fail("the file is damaged");
  std::string fault = imageFault(*read.model.image);
  for (size_t i = 0; fault.empty() && i < read.undoSteps.size(); ++i)
    fault = imageFault(*read.undoSteps[i].image);
  if (!fault.empty()) {
    if (error) *error = "the file holds " + fault;
    return false;
  }
  contents = std::move(read);
  return true;
}

std::string recoveryPathBeside(const std::string& modelPath) {
  const std::string directory = directoryOf(modelPath);
  const std::string name = std::filesystem::path(modelPath).filename().string();
  return (directory == "." && modelPath.find('/') == std::string::npos ? "" : directory + "/") +
         "." + name + ".recover";
}

std::string recoveryPathIn(const std::string& stateDir, const std::string& modelPath) {
  std::string name = std::filesystem::absolute(modelPath).lexically_normal().string();
  for (char& c : name)
    if (c == '/') c = '%';
  return stateDir + "/" + name + ".recover";
}

std::string recoveryStateDir() {
  const char* state = std::getenv("XDG_STATE_HOME");
  if (state && *state == '/') return std::string(state) + "/vantorel";
  const char* home = std::getenv("HOME");
  return std::string(home ? home : "") + "/.local/state/vantorel";
}
