// The recovery file's text (layout in recovery_file.h).

#include "recovery/recovery_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <optional>

#include "files/file_paths.h"
#include "model/animation_image.h"

namespace {

constexpr std::string_view kHeaderStart = "vantorel-recovery ";
constexpr size_t kLongestHead = 64;       // both first lines of a file this version writes
constexpr size_t kLongestText = 1 << 16;  // a name or a path
constexpr size_t kReadChunk = 1 << 22;    // the body is read a piece of this size at a time

// FNV-1a over 8-byte words (the last one padded with zeros): a byte at a
// time would cost the writer more than formatting does. Taken a piece at a
// time, each piece but the last a whole number of words.
class Checksum {
 public:
  void add(const char* bytes, size_t size) {
    for (size_t at = 0; at < size; at += 8) {
      uint64_t word = 0;
      std::memcpy(&word, bytes + at, std::min<size_t>(8, size - at));
      hash_ = (hash_ ^ word) * 1099511628211ull;
    }
  }
  uint64_t value() const { return hash_; }

 private:
  uint64_t hash_ = 14695981039346656037ull;
};

uint64_t checksum(std::string_view bytes) {
  Checksum sum;
  sum.add(bytes.data(), bytes.size());
  return sum.value();
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

// The body, from memory or read from a file as the parse asks for it (the
// checksum is then taken of what was read).
class Reader {
 public:
  explicit Reader(std::string_view whole)
      : data_(whole.data()), end_(whole.size()), length_(end_) {}
  Reader(int fd, off_t offset, size_t length) : fd_(fd), offset_(offset), length_(length) {}

  template <class T>
  bool get(T& value) {
    if (end_ - at_ < sizeof(T) && !fill(sizeof(T))) return false;
    std::memcpy(&value, data_ + at_, sizeof(T));
    at_ += sizeof(T);
    return true;
  }
  // A count of items of at least `minBytes` each: never more than the bytes left allow.
  bool count(size_t& n, size_t minBytes) {
    uint32_t value = 0;
    if (!get(value) || value > left() / minBytes) return false;
    n = value;
    return true;
  }
  bool text(std::string& s) {
    size_t n = 0;
    if (!count(n, 1) || n > kLongestText || (end_ - at_ < n && !fill(n))) return false;
    s.assign(data_ + at_, n), at_ += n;
    return true;
  }
  // A number that is checked against something else, not the bytes left.
  bool number(size_t& n) {
    uint32_t value = 0;
    if (!get(value)) return false;
    n = value;
    return true;
  }
  size_t left() const { return length_ - base_ - at_; }
  size_t taken() const { return base_ + at_; }
  bool atEnd() const { return left() == 0; }
  uint64_t readSum() const { return sum_.value(); }
  // Takes the rest unread, so that the checksum covers it.
  bool skipRest() {
    for (at_ = end_; left() > 0; at_ = end_)
      if (!fill(std::min(left(), kReadChunk))) return false;
    return true;
  }

 private:
  // Keeps the bytes not yet taken and reads at least `need` more.
  bool fill(size_t need) {
    if (fd_ < 0 || need > left()) return false;
    const size_t unread = end_ - at_;
    // Whole words until the end, so that the checksum can be taken piece by piece.
    const size_t wanted = std::min(length_ - read_, (std::max(need, kReadChunk) + 7) / 8 * 8);
    // data_ is the buffer here (or nothing is unread), whose bytes a resize keeps.
    if (buffer_.size() < unread + wanted) buffer_.resize(unread + wanted);
    std::memmove(buffer_.data(), buffer_.data() + at_, unread);
    base_ += at_, at_ = 0, end_ = unread;
    data_ = buffer_.data();
    size_t got = 0;
    while (got < wanted) {
      const ssize_t n =
          pread(fd_, buffer_.data() + end_ + got, wanted - got, offset_ + read_ + got);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return false;  // shorter than when it was looked at: changed meanwhile
      got += n;
    }
    sum_.add(buffer_.data() + end_, got);
    read_ += got, end_ += got;
    return end_ >= need;
  }

  const char* data_ = nullptr;
  size_t at_ = 0, end_ = 0;  // in data_
  size_t base_ = 0;          // body offset of data_[0]
  int fd_ = -1;
  off_t offset_ = 0;  // of the body in the file
  size_t length_;     // of the body
  size_t read_ = 0;   // bytes of the body read from the file
  std::string buffer_;
  Checksum sum_;
};

// What the model file's reader would refuse, found while reading.
struct Faults {
  size_t vertexCount = 0;  // corners must be below it
  std::string fault;
  bool fail(std::string what) {
    fault = std::move(what);
    return false;
  }
};

bool finite(std::initializer_list<double> values) {
  for (double x : values)
    if (!std::isfinite(x)) return false;
  return true;
}

void putPolygon(Writer& w, const ModelImage::PolygonRecord& p) {
  for (int c : p.corners) w.put(static_cast<int32_t>(c));
  for (double u : p.u) w.put(u);
  for (double v : p.v) w.put(v);
}
bool getPolygon(Reader& r, ModelImage::PolygonRecord& p, Faults& f) {
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
void putBone(Writer& w, const ModelImage::BoneRecord& b) {
  w.put(static_cast<int32_t>(b.depth));
  for (double value : {b.x, b.y, b.z, b.a, b.b}) w.put(value);
  w.count(b.polygons.size());
  for (int p : b.polygons) w.put(static_cast<int32_t>(p));
}
bool getBone(Reader& r, ModelImage::BoneRecord& b, Faults&) {
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
bool getGroupLook(Reader& r, ModelImage::GroupRecord& g, Faults& f) {
  if (!r.get(g.textured) || !r.text(g.textureName)) return false;
  for (double& c : g.colour)
    if (!r.get(c)) return false;
  if (!finite({g.colour[0], g.colour[1], g.colour[2], g.colour[3]}))
    return f.fail("a colour that is not finite");
  if (g.textured != 0 && g.textured != 1) return f.fail("a bad texture flag");
  return true;
}
void putVertex(Writer& w, const Vec3& v) {
  w.put(v.x), w.put(v.y), w.put(v.z);
}
bool getVertex(Reader& r, Vec3& v, Faults& f) {
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
void putDifference(Writer& w, const Array& older, const Array& newer, const Renumbering* numbers,
                   Put put) {
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

// Items [n, n + count) of the newer array as items [o, o + count) of the
// older, which has room for them: copied whole unless corners are renumbered.
template <class Array>
bool copyFromNewer(Array& older, size_t o, const Array& newer, size_t n, size_t count,
                   const Renumbering* numbers) {
  if (!numbers || numbers->identity()) {
    std::copy_n(newer.begin() + n, count, older.begin() + o);
    return true;
  }
  for (size_t i = 0; i < count; ++i) {
    const auto item = fromNewer(newer[n + i], numbers);
    if (!item) return false;
    older[o + i] = *item;
  }
  return true;
}

template <class Array, class Get>
bool getDifference(Reader& r, Array& older, const Array& newer, const Renumbering* numbers,
                   size_t minItemBytes, Faults& f, Get get) {
  size_t size = 0, start = 0, end = 0;
  uint8_t aligned = 0;
  if (!r.number(size) || !r.number(start) || !r.number(end) || !r.get(aligned)) return false;
  if (start + end > size || start + end > newer.size()) return false;
  const size_t middle = size - start - end;
  if (aligned ? middle != newer.size() - start - end : middle > r.left() / minItemBytes)
    return false;
  if (!aligned) {
    older.resize(size);
    if (!copyFromNewer(older, 0, newer, 0, start, numbers) ||
        !copyFromNewer(older, size - end, newer, newer.size() - end, end, numbers))
      return false;
    for (size_t i = start; i < start + middle; ++i)
      if (!get(r, older[i], f)) return false;
    return true;
  }
  // The same length: the newer array with the runs that changed read over it.
  // Items that cannot be renumbered must be among those.
  std::vector<bool> unknown;
  if (!numbers || numbers->identity()) {
    older.assign(newer.begin(), newer.end());
  } else {
    older.resize(size);
    for (size_t i = 0; i < size; ++i) {
      const auto item = fromNewer(newer[i], numbers);
      if (item) older[i] = *item;
      if (!item && unknown.empty()) unknown.resize(size);
      if (!item) unknown[i] = true;
    }
  }
  size_t runs = 0;
  if (!r.count(runs, 2 * sizeof(uint32_t) + minItemBytes)) return false;
  for (size_t k = 0; k < runs; ++k) {
    size_t first = 0, length = 0;
    if (!r.number(first) || !r.count(length, minItemBytes)) return false;
    if (first < start || first + length > start + middle) return false;
    for (size_t i = first; i < first + length; ++i) {
      if (!get(r, older[i], f)) return false;
      if (!unknown.empty()) unknown[i] = false;
    }
  }
  return std::find(unknown.begin(), unknown.end(), true) == unknown.end();
}

constexpr size_t kPolygonBytes = 3 * 4 + 6 * 8;
constexpr size_t kBoneBytes = 4 + 5 * 8 + 4;
constexpr size_t kGroupBytes = 4 + 4 + 4 * 8;
constexpr size_t kStepBytes = 4 + 4 * 3 + 1;  // a name and an empty difference
const ModelImage::GroupRecord kNoGroup;

// Clips and weights: in full with the model; in a step, each clip's tracks
// and the weights as differences from the newer image's, so that keying one
// bone costs one track. Files of version 1 hold neither.
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
bool getTrack(Reader& r, ModelImage::TrackRecord& t, Faults&) {
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
bool getWeight(Reader& r, ModelImage::WeightRecord& x, Faults&) {
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

bool getAnimation(Reader& r, ModelImage& image, Faults& f) {
  size_t n = 0;
  if (!r.count(n, kClipBytes)) return false;
  image.clips.resize(n);
  for (auto& c : image.clips) {
    if (!getClipLook(r, c) || !r.count(n, kTrackBytes)) return false;
    c.tracks.resize(n);
    for (auto& t : c.tracks)
      if (!getTrack(r, t, f)) return false;
  }
  if (!r.count(n, kWeightBytes)) return false;
  image.weights.resize(n);
  for (auto& x : image.weights)
    if (!getWeight(r, x, f)) return false;
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
    putDifference(w, older.clips[c].tracks, base.tracks, nullptr, putTrack);
  }
  putDifference(w, older.weights, newer.weights, nullptr, putWeight);
}

bool getAnimationStep(Reader& r, ModelImage& older, const ModelImage& newer, Faults& f) {
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
        !getDifference(r, older.clips[c].tracks, base.tracks, nullptr, kTrackBytes, f, getTrack))
      return false;
  }
  return getDifference(r, older.weights, newer.weights, nullptr, kWeightBytes, f, getWeight);
}

void putImage(Writer& w, const ModelImage& image, int version) {
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
  if (version >= 2) putAnimation(w, image);
}

// What the reading of items cannot see: groups, and the skeleton as a whole.
bool checkStructure(const ModelImage& image, Faults& f) {
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
  const std::string animation = animationFault(image);
  return animation.empty() || f.fail("an animation the model file refuses (" + animation + ")");
}

bool getImage(Reader& r, ModelImage& image, int version, Faults& f) {
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
  return (version < 2 || getAnimation(r, image, f)) && checkStructure(image, f);
}

void putStep(Writer& w, const ModelImage& older, const ModelImage& newer, int version) {
  const Renumbering numbers = vertexRenumbering(older, newer);
  putDifference(w, older.vertices, newer.vertices, nullptr, putVertex);
  w.count(older.groups.size());
  for (size_t g = 0; g < older.groups.size(); ++g) {
    const auto& base = g < newer.groups.size() ? newer.groups[g] : kNoGroup;
    putDifference(w, older.groups[g].polygons, base.polygons, &numbers, putPolygon);
    putGroupLook(w, older.groups[g]);
  }
  putDifference(w, older.bones, newer.bones, nullptr, putBone);
  if (version >= 2) putAnimationStep(w, older, newer);
}

bool getStep(Reader& r, ModelImage& older, const ModelImage& newer, int version, Faults& f) {
  if (!getDifference(r, older.vertices, newer.vertices, nullptr, 24, f, getVertex)) return false;
  f.vertexCount = older.vertices.size();
  // The same renumbering the writer found, as the vertices are the same.
  const Renumbering found = vertexRenumbering(older, newer);
  size_t groups = 0;
  if (!r.count(groups, 3 * 4 + 1 + kGroupBytes)) return false;
  older.groups.resize(groups);
  for (size_t g = 0; g < groups; ++g) {
    const auto& base = g < newer.groups.size() ? newer.groups[g] : kNoGroup;
    if (!getDifference(r, older.groups[g].polygons, base.polygons, &found, kPolygonBytes, f,
                       getPolygon) ||
        !getGroupLook(r, older.groups[g], f))
      return false;
  }
  return getDifference(r, older.bones, newer.bones, nullptr, kBoneBytes, f, getBone) &&
         (version < 2 || getAnimationStep(r, older, newer, f)) && checkStructure(older, f);
}

struct Head {
  int version = 0;
  size_t headBytes = 0, bodyBytes = 0;
  uint64_t sum = 0;
};

// The first two lines.
bool readHead(std::string_view text, Head& head, std::string* error) {
  auto fail = [&](const char* reason) {
    if (error) *error = reason;
    return false;
  };
  if (!text.starts_with(kHeaderStart)) return fail("not a recovery file");
  const std::string_view rest = text.substr(kHeaderStart.size());
  if (rest.size() < 2 || rest[1] != '\n' || (rest[0] != '1' && rest[0] != '2'))
    return fail("a recovery file of another version");
  head.version = rest[0] - '0';
  const std::string_view line = rest.substr(2);
  const size_t lineEnd = line.find('\n');
  unsigned long long length = 0, sum = 0;
  if (lineEnd == std::string_view::npos || lineEnd > 40 ||
      std::sscanf(std::string(line.substr(0, lineEnd)).c_str(), "%llu %llx", &length, &sum) != 2)
    return fail("the file is damaged");
  head.headBytes = kHeaderStart.size() + 2 + lineEnd + 1;
  head.bodyBytes = length;
  head.sum = sum;
  return true;
}

std::string heldFault(const Faults& faults) {
  return faults.fault.empty() ? "the file is damaged" : "the file holds " + faults.fault;
}

// When, whose and which model: the body's first fields.
bool readFields(Reader& r, int version, RecoveryContents& read) {
  return r.get(read.changedAt) && (version < 2 || r.text(read.modelPath)) &&
         r.text(read.model.name) && (version < 2 || read.modelPath.starts_with('/'));
}

// The model and the number of undo steps after it.
bool readModel(Reader& r, int version, RecoveryContents& read, size_t& steps,
               const RecoveryLimits& limits, std::string* error) {
  Faults faults;
  auto model = std::make_shared<ModelImage>();
  if (!getImage(r, *model, version, faults) || !r.count(steps, kStepBytes)) {
    if (error) *error = heldFault(faults);
    return false;
  }
  if (steps > limits.steps) {
    if (error) *error = "the file holds more than " + std::to_string(limits.steps) + " undo steps";
    return false;
  }
  read.model.image = std::move(model);
  return true;
}

// The undo steps, newest first, each from the one after it (the newest from
// `newer`), each given to `each` as it is read; those beyond the memory the
// steps may take are read (the file is checked whole) and left out.
bool readSteps(Reader& r, int version, size_t count, std::shared_ptr<const ModelImage> newer,
               const std::function<void(Snapshot)>& each, const RecoveryLimits& limits,
               std::string* error, const std::atomic<bool>* stop) {
  size_t heldBytes = 0;
  Faults faults;
  for (size_t i = 0; i < count; ++i) {
    if (stop && *stop) return false;
    auto image = std::make_shared<ModelImage>();
    std::string name;
    if (!r.text(name) || !getStep(r, *image, *newer, version, faults)) {
      if (error) *error = heldFault(faults);
      return false;
    }
    heldBytes += image->memoryBytes();
    if (heldBytes <= limits.stepBytes) each({std::move(name), image});
    newer = std::move(image);
  }
  if (!r.atEnd()) {
    if (error) *error = "the file is damaged";
    return false;
  }
  return true;
}

// The whole body after the first lines, checked against `sum` when given
// (a body in memory was checked before); `headerOnly` stops after the fields.
bool readBody(Reader& r, int version, RecoveryContents& contents, std::string* error,
              bool headerOnly, const RecoveryLimits& limits, std::optional<uint64_t> sum) {
  RecoveryContents read;
  size_t steps = 0;
  if (!readFields(r, version, read)) {
    if (error) *error = "the file is damaged";
    return false;
  }
  auto keep = [&](Snapshot step) {
    read.undoSteps.insert(read.undoSteps.begin(), std::move(step));
  };
  if (!headerOnly &&
      (!readModel(r, version, read, steps, limits, error) ||
       !readSteps(r, version, steps, read.model.image, keep, limits, error, nullptr)))
    return false;
  if (!headerOnly && sum && r.readSum() != *sum) {
    if (error) *error = "the file is damaged";
    return false;
  }
  contents = std::move(read);
  return true;
}

// The first lines of an open regular file, checked against its size.
bool readFileHead(int fd, Head& head, std::string* error) {
  auto fail = [&](const std::string& reason) {
    if (error) *error = reason;
    return false;
  };
  struct stat info;
  if (fstat(fd, &info) != 0) return fail(std::strerror(errno));
  if (!S_ISREG(info.st_mode)) return fail("not a regular file");
  char start[kLongestHead];
  ssize_t got = 0;
  do {
    got = pread(fd, start, sizeof start, 0);
  } while (got < 0 && errno == EINTR);
  if (got < 0) return fail(std::strerror(errno));
  if (!readHead(std::string_view(start, got), head, error)) return false;
  // Before a byte of the body: a body the header does not account for is not read.
  const size_t size = static_cast<size_t>(info.st_size);
  if (head.bodyBytes > size || size - head.bodyBytes != head.headBytes)
    return fail("the file is cut short or too long");
  return true;
}

}  // namespace

std::string formatRecoveryFile(const RecoveryContents& contents, RecoveryStepCache* cache,
                               int version) {
  Writer body;
  body.put(contents.changedAt);
  if (version >= 2) body.text(contents.modelPath);
  body.text(contents.model.name);
  putImage(body, *contents.model.image, version);
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
      putStep(difference, *step->image, *newer, version);
      entry.bytes = std::move(difference.out);
    }
    body.out += entry.bytes;
    newer = step->image;
  }
  if (cache) *cache = std::move(used);
  return recoveryFileAround(body.out, version);
}

std::string recoveryFileAround(std::string_view body, int version) {
  char lines[80];
  std::snprintf(lines, sizeof lines, "%.*s%d\n%zu %016llx\n", static_cast<int>(kHeaderStart.size()),
                kHeaderStart.data(), version, body.size(),
                static_cast<unsigned long long>(checksum(body)));
  return lines + std::string(body);
}

bool parseRecoveryFile(std::string_view text, RecoveryContents& contents, std::string* error,
                       const RecoveryLimits& limits) {
  Head head;
  if (!readHead(text.substr(0, kLongestHead), head, error)) return false;
  const std::string_view body = text.substr(head.headBytes);
  if (body.size() != head.bodyBytes) {
    if (error) *error = "the file is cut short or too long";
    return false;
  }
  if (checksum(body) != head.sum) {
    if (error) *error = "the file is damaged";
    return false;
  }
  Reader r(body);
  return readBody(r, head.version, contents, error, false, limits, std::nullopt);
}

bool readRecoveryFile(int fd, RecoveryContents& contents, std::string* error, bool headerOnly,
                      const RecoveryLimits& limits) {
  Head head;
  if (!readFileHead(fd, head, error)) return false;
  Reader r(fd, static_cast<off_t>(head.headBytes), head.bodyBytes);
  return readBody(r, head.version, contents, error, headerOnly, limits, head.sum);
}

bool readRecoveryModel(int fd, RecoveryContents& contents, RecoveryStepsStart& start,
                       std::string* error, const RecoveryLimits& limits) {
  Head head;
  if (!readFileHead(fd, head, error)) return false;
  Reader r(fd, static_cast<off_t>(head.headBytes), head.bodyBytes);
  RecoveryContents read;
  size_t steps = 0;
  if (!readFields(r, head.version, read)) {
    if (error) *error = "the file is damaged";
    return false;
  }
  if (!readModel(r, head.version, read, steps, limits, error)) return false;
  start = {static_cast<off_t>(head.headBytes + r.taken()), r.left(), steps, head.version};
  if (!r.skipRest() || r.readSum() != head.sum) {
    if (error) *error = "the file is damaged";
    return false;
  }
  contents = std::move(read);
  return true;
}

bool readRecoverySteps(int fd, const RecoveryStepsStart& start,
                       std::shared_ptr<const ModelImage> model,
                       const std::function<void(Snapshot)>& each, std::string* error,
                       const RecoveryLimits& limits, const std::atomic<bool>* stop) {
  Reader r(fd, start.offset, start.bytes);
  return readSteps(r, start.version, start.count, std::move(model), each, limits, error, stop);
}
