// Reads model file text into an image. The text comes from the user's disk, so
// nothing in it is trusted: every count, number and depth is checked before it
// is used, and anything the writer could not have produced is refused, up to
// the end of the skeleton; text after it is ignored.

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>

#include "formats/model_file.h"
#include "formats/polygon_ring.h"
#include "formats/read_progress.h"
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

// The writer's numbers are at most this long; a fast reader needs them, and
// the character after them, in the window.
constexpr size_t kFastNumberBytes = 32;

class Scanner {
 public:
  explicit Scanner(TextWindow& text) : text_(text), at_(text.begin()), end_(text.end()) {}

  bool integer(int& value, const char* what) {
    skipBlanks();
    lookAhead(kFastNumberBytes);
    return shortInteger(value) || number(value, what);
  }

  bool real(double& value, const char* what) {
    skipBlanks();
    lookAhead(kFastNumberBytes);
    if (sixDecimals(value)) return true;
    if (!number(value, what)) return false;
    if (!std::isfinite(value)) return fail(std::string(what) + " is not finite");
    return true;
  }

  // A count of items that each take at least `minBytes` of the text.
  bool count(int& value, const char* what, size_t minBytes) {
    if (!integer(value, what)) return false;
    if (value < 0) return fail(std::string(what) + " is negative");
    if (static_cast<size_t>(value) > (text_.remainingAfter(at_) + 1) / minBytes) {
      return fail(std::string(what) + " exceeds what the file holds");
    }
    return true;
  }

  // One run of non-blank characters.
  bool word(std::string& value, const char* what) {
    skipBlanks();
    const size_t length = wholeToken();
    if (length == 0) return fail(std::string(what) + " missing");
    value.assign(at_, length);
    at_ += length;
    return true;
  }

  void skipRestOfLine() {
    for (;;) {
      const void* lineFeed = std::memchr(at_, '\n', end_ - at_);
      if (lineFeed) {
        at_ = static_cast<const char*>(lineFeed) + 1;
        return;
      }
      at_ = end_;
      if (!more()) return;
    }
  }

  // Whatever follows the skeleton (a note, a hand-edited tail) is not read.
  bool readSucceeded() { return !text_.readFailed() || fail("the file could not be read"); }

  bool fail(const std::string& reason) {
    // What is missing after a read error is the error's doing.
    if (text_.readFailed()) {
      error_ = "the file could not be read";
      return false;
    }
    error_ = "line " + std::to_string(text_.lineOf(at_)) + ": " + reason;
    return false;
  }

  const std::string& error() const { return error_; }

 private:
  static bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

  // Slides the window on, keeping the text from at_.
  bool more() {
    const bool got = text_.more(at_);
    end_ = text_.end();
    return got;
  }

  // Afterwards the window holds `bytes` from at_, or the text ends within
  // them: the fast readers may take the window's end for the text's end.
  void lookAhead(size_t bytes) {
    while (static_cast<size_t>(end_ - at_) < bytes && more()) {
    }
  }

  void skipBlanks() {
    for (;;) {
      while (at_ != end_ && isBlank(*at_)) ++at_;
      if (at_ != end_ || !more()) return;
    }
  }

  // Brings the token at at_ wholly into the window; its length.
  size_t wholeToken() {
    size_t length = 0;
    for (;;) {
      while (at_ + length != end_ && !isBlank(at_[length])) ++length;
      if (at_ + length != end_ || !more()) return length;
    }
  }

  bool endsHere(const char* p) const { return p == end_ || isBlank(*p); }

  static unsigned digit(char c) { return static_cast<unsigned>(c - '0'); }

  // The writer's integers, at most nine digits with an optional minus sign,
  // read directly; anything else is left to the general reader.
  bool shortInteger(int& value) {
    const char* p = at_;
    const bool negative = p != end_ && *p == '-';
    if (negative) ++p;
    const char* digits = p;
    int magnitude = 0;
    while (p != end_ && digit(*p) < 10 && p - digits < 9) magnitude = magnitude * 10 + digit(*p++);
    if (p == digits || !endsHere(p)) return false;
    value = negative ? -magnitude : magnitude;
    at_ = p;
    return true;
  }

  // The writer's reals, "%lf" with at most nine integer digits, read directly.
  // Whole part and millionths make an integer below 2^53, exact in a double,
  // and dividing it by 10^6 rounds once: the result is the double nearest to
  // the decimal, which is what the general reader gives.
  bool sixDecimals(double& value) {
    const char* p = at_;
    const bool negative = p != end_ && *p == '-';
    if (negative) ++p;
    const char* digits = p;
    uint64_t whole = 0;
    while (p != end_ && digit(*p) < 10 && p - digits < 9) whole = whole * 10 + digit(*p++);
    if (p == digits || end_ - p < 7 || *p != '.') return false;
    ++p;
    uint64_t millionths = 0;
    for (int i = 0; i < 6; ++i, ++p) {
      if (digit(*p) >= 10) return false;
      millionths = millionths * 10 + digit(*p);
    }
    if (!endsHere(p)) return false;
    const double magnitude = static_cast<double>(whole * 1000000 + millionths) / 1e6;
    value = negative ? -magnitude : magnitude;
    at_ = p;
    return true;
  }

  template <class T>
  bool number(T& value, const char* what) {
    skipBlanks();
    const size_t length = wholeToken();
    if (length == 0) return fail(std::string(what) + " missing");
    const char* start = at_;
    const char* stopAt = at_ + length;
    // Reading with scanf accepts an explicit plus sign; so do we.
    if (*start == '+' && start + 1 != stopAt && start[1] != '-') ++start;
    auto [stop, status] = std::from_chars(start, stopAt, value);
    if (status == std::errc::result_out_of_range) {
      return fail(std::string(what) + " out of range");
    }
    if (status != std::errc() || stop != stopAt) return fail(std::string("unreadable ") + what);
    at_ = stop;
    return true;
  }

  TextWindow& text_;
  const char* at_;
  const char* end_;
  std::string error_;
};

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
  const bool understood = readVertices(in, target, publish) &&
                          readGroups(in, target, publish, polygonsRead) &&
                          readBones(in, target, polygonsRead) && in.readSucceeded();
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
