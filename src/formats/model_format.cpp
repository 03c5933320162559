// The model file text: integers as "%d", reals as "%lf", byte for byte, built
// in one buffer without printf.

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>

#include "formats/animation_file.h"
#include "formats/bone_name_section.h"
#include "formats/model_file.h"
#include "formats/seam_section.h"
#include "formats/six_decimals.h"
#include "model/model_image.h"

namespace {

// The normals the file carries are constants, four of them per polygon line.
constexpr std::string_view kPolygonLineNormals =
    "0.000000 1.000000 0.000000 0.000000 1.000000 0.000000 "
    "0.000000 1.000000 0.000000 0.000000 1.000000 0.000000 ";

class TextBuffer {
 public:
  // Makes room for `bytes` more characters; call before each line.
  void reserveLine(size_t bytes) {
    if (used_ + bytes > text_.size()) text_.resize(std::max(2 * text_.size(), used_ + bytes));
  }
  void integer(int value) { used_ = std::to_chars(cursor(), end(), value).ptr - text_.data(); }
  void real(double value) { used_ = writeSixDecimals(cursor(), value) - text_.data(); }
  void character(char c) { text_[used_++] = c; }
  void raw(std::string_view part) {
    std::memcpy(cursor(), part.data(), part.size());
    used_ += part.size();
  }
  std::string take() {
    text_.resize(used_);
    return std::move(text_);
  }

 private:
  char* cursor() { return text_.data() + used_; }
  char* end() { return text_.data() + text_.size(); }

  std::string text_;
  size_t used_ = 0;
};

constexpr size_t kIntegerRoom = 12;
constexpr size_t kRealRoom = kMaxSixDecimalsChars + 1;

size_t estimatedSize(const ModelImage& image) {
  size_t polygons = 0;
  for (const auto& group : image.groups) polygons += group.polygons.size();
  return 64 + image.vertices.size() * 32 +
         polygons * (3 * 8 + 6 * 10 + kPolygonLineNormals.size()) + image.groups.size() * 64 +
         image.bones.size() * 96 + animationSectionBytes(image) + seamSectionBytes(image) +
         boneNameSectionBytes(image);
}

void writeVertices(const ModelImage& image, TextBuffer& out) {
  out.reserveLine(kIntegerRoom);
  out.integer(static_cast<int>(image.vertices.size()));
  out.character('\n');
  for (const Vec3& vertex : image.vertices) {
    out.reserveLine(3 * kRealRoom);
    out.real(vertex.x);
    out.character(' ');
    out.real(vertex.y);
    out.character(' ');
    out.real(vertex.z);
    out.character('\n');
  }
}

void writeGroup(const ModelImage::GroupRecord& group, TextBuffer& out) {
  out.reserveLine(kIntegerRoom);
  out.integer(static_cast<int>(group.polygons.size()));
  out.character('\n');
  for (const ModelImage::PolygonRecord& polygon : group.polygons) {
    out.reserveLine(3 * kIntegerRoom + 6 * kRealRoom + kPolygonLineNormals.size() + 1);
    for (int corner : polygon.corners) {
      out.integer(corner);
      out.character(' ');
    }
    for (double u : polygon.u) {
      out.real(u);
      out.character(' ');
    }
    for (double v : polygon.v) {
      out.real(v);
      out.character(' ');
    }
    out.raw(kPolygonLineNormals);
    out.character('\n');
  }
  out.reserveLine(kIntegerRoom + group.textureName.size() + 1 + 4 * kRealRoom);
  out.integer(group.textured);
  out.character('\n');
  if (group.textured) {
    out.raw(group.textureName);
    out.character('\n');
  }
  for (int i = 0; i < 4; ++i) {
    if (i > 0) out.character(' ');
    out.real(group.colour[i]);
  }
  out.character('\n');
}

void writeBones(const ModelImage& image, TextBuffer& out) {
  out.reserveLine(kIntegerRoom);
  out.integer(static_cast<int>(image.bones.size()));
  out.character('\n');
  for (const ModelImage::BoneRecord& bone : image.bones) {
    out.reserveLine(kIntegerRoom + 5 * kRealRoom);
    out.integer(bone.depth);
    out.character(' ');
    for (double value : {bone.x, bone.y, bone.z, bone.a, bone.b}) {
      out.real(value);
      out.character(' ');
    }
    for (int polygon : bone.polygons) {
      out.reserveLine(kIntegerRoom);
      out.integer(polygon);
      out.character(' ');
    }
    out.reserveLine(3);
    out.raw("-1\n");
  }
}

}  // namespace

std::string formatModelFile(const ModelImage& image) {
  TextBuffer out;
  out.reserveLine(estimatedSize(image));
  writeVertices(image, out);
  out.reserveLine(kIntegerRoom);
  out.integer(static_cast<int>(image.groups.size()));
  out.character('\n');
  for (const ModelImage::GroupRecord& group : image.groups) writeGroup(group, out);
  writeBones(image, out);
  std::string text = out.take();
  appendAnimationSection(image, text);
  appendSeamSection(image, text);
  appendBoneNameSection(image, text);
  return text;
}
