#pragma once
// The model as the exporters see it: each group's triangles over vertices that
// are distinct in (position, normal, texture coordinate, weights), single
// precision as the exchange formats want it, and the bone tree flattened. A
// vertex's weights are the ones it poses with in the editor (model/skin.h),
// the same for every corner, so bone borders split nothing.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/model.h"

struct ExportBone {
  int parent = -1;  // index among the bones, -1 for the root
  Vec3 start;       // the parent's end joint; the root's own end
  Vec3 end;
  std::string name;  // the bone's, "" for an unnamed one
};

struct ExportPrimitive {
  const PolygonGroup* group = nullptr;
  std::vector<float> positions;  // 3 per vertex
  std::vector<float> normals;    // 3 per vertex, unit length
  std::vector<float> uvs;        // 2 per vertex, as the editor holds them (v up the image)
  // Per vertex, up to four bones (indices among the bones, 0 the root) and
  // their weights, largest first, summing to 1 in single precision; unused
  // slots hold bone 0 and weight 0.
  std::vector<std::array<uint16_t, 4>> joints;
  std::vector<std::array<float, 4>> weights;
  std::vector<uint32_t> indices;  // 3 per triangle, wound to face as shown (Polygon::storedCorner)

  size_t vertexCount() const { return joints.size(); }
};

struct ExportMesh {
  std::vector<ExportPrimitive> primitives;  // groups with triangles, in group-list order
  std::vector<ExportBone> bones;            // depth-first, parents first; empty without skeleton
};

// The most bones an export can address (joint indices are 16 bits).
constexpr size_t kMaxExportBones = 65535;

// The normal the editor shades a corner with: the smoothed corner normal of a
// smooth polygon, the face normal otherwise, recomputed from the corners; a
// triangle without area gets (0, 1, 0), so every normal has unit length.
Vec3 shadingNormal(const Polygon& polygon, int corner);

// False (with `reason`) when the model cannot be exported: a number that does
// not fit single precision, or more bones than an export can address.
bool buildExportMesh(Model& model, ExportMesh& mesh, std::string* reason);
