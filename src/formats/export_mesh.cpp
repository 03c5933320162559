// Corners to exported vertices. Each group's corners are looked up by value in
// a hash table, so a corner costs one lookup whatever the model's size.

#include "formats/export_mesh.h"

#include <array>
#include <bit>
#include <cmath>
#include <string>

#include <absl/container/flat_hash_map.h>

#include "model/rig.h"
#include "model/skeleton.h"
#include "model/skin.h"

namespace {

Vec3 unitOrZero(double x, double y, double z) {
  const double length = std::sqrt(x * x + y * y + z * z);
  if (!(length > 0) || !std::isfinite(length)) return Vec3{};
  return Vec3{x / length, y / length, z / length};
}

Vec3 faceNormal(const Polygon& p) {
  const Vertex &a = *p.vertices[0], &b = *p.vertices[1], &c = *p.vertices[2];
  const double e1x = b.x - a.x, e1y = b.y - a.y, e1z = b.z - a.z;
  const double e2x = c.x - b.x, e2y = c.y - b.y, e2z = c.z - b.z;
  const double sign = p.flipped ? -1 : 1;
  return unitOrZero(sign * (e1y * e2z - e1z * e2y), sign * (e1z * e2x - e1x * e2z),
                    sign * (e1x * e2y - e1y * e2x));
}

bool isZero(const Vec3& v) {
  return v.x == 0 && v.y == 0 && v.z == 0;
}

// A corner's exported values, compared as bits.
using CornerKey = std::array<uint32_t, 9>;
// Mixes the words a pair at a time; a tenth of what the general-purpose hash
// costs on these keys, which are the export's inner loop.
struct CornerHash {
  size_t operator()(const CornerKey& k) const {
    uint64_t h = k[8];
    for (int i = 0; i < 8; i += 2) {
      h = (h ^ (uint64_t{k[i]} << 32 | k[i + 1])) * 0x9E3779B97F4A7C15ull;
      h ^= h >> 29;
    }
    h = (h ^ (h >> 33)) * 0xFF51AFD7ED558CCDull;
    return h ^ (h >> 33);
  }
};

uint32_t bitsOf(float f) {
  return std::bit_cast<uint32_t>(f);
}

bool finiteFloats(const std::vector<float>& values) {
  for (float f : values)
    if (!std::isfinite(f)) return false;
  return true;
}

void flattenBones(Model& model, ExportMesh& mesh, absl::flat_hash_map<const Bone*, int>& index) {
  if (!model.hasSkeleton || !model.skeleton) return;
  std::vector<int> pathByDepth;
  forEachBone(model.skeleton->root, [&](Bone* bone, int depth) {
    pathByDepth.resize(depth);
    const int number = static_cast<int>(mesh.bones.size());
    index[bone] = number;
    ExportBone& out = mesh.bones.emplace_back();
    out.parent = depth > 0 ? pathByDepth[depth - 1] : -1;
    out.start = {bone->start->x, bone->start->y, bone->start->z};
    out.end = {bone->end->x, bone->end->y, bone->end->z};
    out.name = bone->name;
    pathByDepth.push_back(number);
  });
}

}  // namespace

Vec3 shadingNormal(const Polygon& polygon, int corner) {
  if (polygon.smooth) {
    const Vec3& n = polygon.cornerNormals[corner];
    const Vec3 unit = unitOrZero(n.x, n.y, n.z);
    if (!isZero(unit)) return unit;
  }
  const Vec3 face = faceNormal(polygon);
  return isZero(face) ? Vec3{0, 1, 0} : face;
}

namespace {

// Weights as the exchange formats hold them: single precision, summing to
// 1 as exactly as floats can (the largest takes what the others leave).
std::array<float, 4> floatWeights(const Influence& influence) {
  std::array<float, 4> out{0, 0, 0, 0};
  float others = 0;
  for (int i = 1; i < influence.count; ++i)
    others += out[i] = static_cast<float>(influence.weights[i]);
  out[0] = 1.0f - others;
  return out;
}

}  // namespace

bool buildExportMesh(Model& model, ExportMesh& mesh, std::string* reason) {
  mesh = ExportMesh{};
  absl::flat_hash_map<const Bone*, int> boneIndex;
  flattenBones(model, mesh, boneIndex);
  if (mesh.bones.size() > kMaxExportBones) {
    if (reason) *reason = "The skeleton has more bones than an export can hold.";
    return false;
  }
  // The rig orders bones as flattenBones does, depth first.
  const SkinBinding binding = bindSkin(model, flattenRig(model));
  // Each distinct set of weights once: corners compare its number.
  std::vector<uint32_t> weightsOf(binding.vertices.size());
  std::vector<Influence> distinct;
  {
    absl::flat_hash_map<std::array<uint64_t, 5>, uint32_t> numberOf;
    for (size_t v = 0; v < binding.vertices.size(); ++v) {
      const Influence& in = binding.influences[v];
      const std::array<float, 4> w = floatWeights(in);
      std::array<uint64_t, 5> key{};
      for (int i = 0; i < 4; ++i) key[i] = uint64_t{in.bones[i]} << 32 | bitsOf(w[i] + 0.0f);
      key[4] = static_cast<uint64_t>(in.count);
      auto [slot, added] = numberOf.try_emplace(key, static_cast<uint32_t>(distinct.size()));
      if (added) distinct.push_back(in);
      weightsOf[v] = slot->second;
    }
  }
  absl::flat_hash_map<CornerKey, uint32_t, CornerHash> vertexOf;
  size_t corner = 0;
  for (PolygonGroup* group : model.groups) {
    if (group->polygons.empty()) continue;
    ExportPrimitive& out = mesh.primitives.emplace_back();
    out.group = group;
    const size_t corners = size_t{3} * group->polygons.count();
    vertexOf.clear();
    vertexOf.reserve(corners);
    out.indices.reserve(corners);
    for (Polygon* polygon : group->polygons) {
      const size_t first = corner;  // the polygon's corners in the binding, in vertex order
      corner += 3;
      for (int k = 0; k < 3; ++k) {
        const int i = polygon->storedCorner(k);
        const Vertex& v = *polygon->vertices[i];
        const Vec3 n = shadingNormal(*polygon, i);
        const float values[8] = {static_cast<float>(v.x),
                                 static_cast<float>(v.y),
                                 static_cast<float>(v.z),
                                 static_cast<float>(n.x),
                                 static_cast<float>(n.y),
                                 static_cast<float>(n.z),
                                 static_cast<float>(polygon->uvs[i].u),
                                 static_cast<float>(polygon->uvs[i].v)};
        const uint32_t weights = weightsOf[binding.corners[first + i]];
        CornerKey key;
        for (int c = 0; c < 8; ++c) key[c] = bitsOf(values[c] + 0.0f);  // -0 is 0
        key[8] = weights;
        auto [slot, added] = vertexOf.try_emplace(key, static_cast<uint32_t>(out.joints.size()));
        if (added) {
          out.positions.insert(out.positions.end(), values, values + 3);
          out.normals.insert(out.normals.end(), values + 3, values + 6);
          out.uvs.insert(out.uvs.end(), values + 6, values + 8);
          const Influence& in = distinct[weights];
          out.joints.push_back({in.bones[0], in.bones[1], in.bones[2], in.bones[3]});
          out.weights.push_back(floatWeights(in));
        }
        out.indices.push_back(slot->second);
      }
    }
    if (!finiteFloats(out.positions) || !finiteFloats(out.uvs)) {
      if (reason) *reason = "The model holds numbers too large for an export.";
      return false;
    }
  }
  return true;
}
