// The OBJ writer. Numbers are written with six decimals like the model file,
// through the same formatter, so a large model costs no printf per number.

#include "formats/obj_export.h"

#include <array>
#include <bit>
#include <charconv>
#include <filesystem>
#include <utility>

#include <absl/container/flat_hash_map.h>

#include "formats/export_mesh.h"
#include "formats/six_decimals.h"
#include "model/marks.h"

namespace {

class Text {
 public:
  void reals(char tag1, char tag2, const double* values, int count) {
    room(4 + count * (kMaxSixDecimalsChars + 1));
    put(tag1);
    if (tag2) put(tag2);
    for (int i = 0; i < count; ++i) {
      put(' ');
      used_ = writeSixDecimals(cursor(), values[i]) - text_.data();
    }
    put('\n');
  }
  void face(const int (*corners)[3]) {
    room(2 + 3 * 3 * 12);
    put('f');
    for (int i = 0; i < 3; ++i) {
      for (int k = 0; k < 3; ++k) {
        put(k == 0 ? ' ' : '/');
        used_ =
            std::to_chars(cursor(), text_.data() + text_.size(), corners[i][k]).ptr - text_.data();
      }
    }
    put('\n');
  }
  void line(const std::string& s) {
    room(s.size() + 1);
    text_.replace(used_, s.size(), s);
    used_ += s.size();
    put('\n');
  }
  std::string take() {
    text_.resize(used_);
    return std::move(text_);
  }

 private:
  void room(size_t bytes) {
    if (used_ + bytes > text_.size()) text_.resize(std::max(2 * text_.size(), used_ + bytes));
  }
  void put(char c) { text_[used_++] = c; }
  char* cursor() { return text_.data() + used_; }
  std::string text_;
  size_t used_ = 0;
};

using Pair = std::array<uint64_t, 2>;
using Triple = std::array<uint64_t, 3>;

// Number (1-based, as OBJ counts) of a distinct value, writing it when new.
template <class Key, int N>
int numberOf(absl::flat_hash_map<Key, int, absl::Hash<Key>>& numbers, const double (&values)[N],
             Text& out, char tag2) {
  Key key;
  for (int i = 0; i < N; ++i) key[i] = std::bit_cast<uint64_t>(values[i]);
  auto [slot, added] = numbers.try_emplace(key, static_cast<int>(numbers.size()) + 1);
  if (added) out.reals('v', tag2, values, N);
  return slot->second;
}

}  // namespace

std::string objTextureReference(const std::string& textureName, const std::string& objDirectory) {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::path texture = fs::absolute(textureName, error);
  const fs::path directory = fs::absolute(objDirectory, error);
  if (error) return textureName;
  const fs::path relative =
      texture.lexically_normal().lexically_relative(directory.lexically_normal());
  return relative.empty() ? texture.lexically_normal().string() : relative.string();
}

ObjFiles buildObj(Model& model, const std::string& mtlName, const std::string& objDirectory) {
  Text obj, mtl;
  obj.line("# Vantorel");
  obj.line("mtllib " + mtlName);
  const uint64_t pass = newMarkPass();
  int vertexCount = 0;
  for (Vertex* v : model.vertices) {
    v->markPass = pass;
    v->markNumber = static_cast<uint32_t>(++vertexCount);
    const double xyz[3] = {v->x, v->y, v->z};
    obj.reals('v', 0, xyz, 3);
  }
  absl::flat_hash_map<Pair, int, absl::Hash<Pair>> uvNumbers;
  absl::flat_hash_map<Triple, int, absl::Hash<Triple>> normalNumbers;
  int groupNumber = 0;
  for (PolygonGroup* group : model.groups) {
    const std::string name = "group" + std::to_string(groupNumber);
    const std::string material = "material" + std::to_string(groupNumber++);
    const Material& m = group->material;
    mtl.line("newmtl " + material);
    const double kd[3] = {m.red, m.green, m.blue};
    mtl.reals('K', 'd', kd, 3);
    mtl.reals('d', 0, &m.alpha, 1);
    if (m.textured && !m.textureName.empty())
      mtl.line("map_Kd " + objTextureReference(m.textureName, objDirectory));
    if (group->polygons.empty()) continue;
    obj.line("g " + name);
    obj.line("usemtl " + material);
    for (Polygon* p : group->polygons) {
      int corners[3][3];
      for (int i = 0; i < 3; ++i) {
        Vertex* v = p->vertices[i];
        if (!isMarked(v, pass)) {  // a corner outside the vertex list still gets a "v"
          v->markPass = pass;
          v->markNumber = static_cast<uint32_t>(++vertexCount);
          const double xyz[3] = {v->x, v->y, v->z};
          obj.reals('v', 0, xyz, 3);
        }
        const double uv[2] = {p->uvs[i].u, p->uvs[i].v};
        const Vec3 n = shadingNormal(*p, i);
        const double normal[3] = {n.x + 0.0, n.y + 0.0, n.z + 0.0};  // no "-0.000000"
        corners[i][0] = static_cast<int>(v->markNumber);
        corners[i][1] = numberOf<Pair, 2>(uvNumbers, uv, obj, 't');
        corners[i][2] = numberOf<Triple, 3>(normalNumbers, normal, obj, 'n');
      }
      if (p->flipped) std::swap(corners[0], corners[2]);  // its winding gives its facing
      obj.face(corners);
    }
  }
  return ObjFiles{obj.take(), mtl.take()};
}
