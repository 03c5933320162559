#pragma once
// Mirror editing across the plane through the origin square to one model axis.
// A vertex's partner is the vertex at its reflection (within
// kMirrorTolerance), found through a hash of every vertex's position, never by
// a search over the model; a vertex on the plane is its own partner. While
// mirroring is on, the transforms (Move, Rotate, Scale, Flatten and the typed
// ones) move each partner of a moved vertex to the reflection of its new
// place in the same undo step, and keep vertices on the plane on it. Where a
// vertex and its partner are both selected, the one on the positive side
// leads.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include <absl/container/flat_hash_map.h>

struct ToolContext;
struct Vertex;
class Model;

constexpr double kMirrorTolerance = 1e-4;

// Every vertex of a model (or of a list) by where it is, to find partners.
// Cells are several tolerances wide, so that the reach of a point touches one
// or two along each axis; a cell is known by a 64-bit mix of its numbers, and
// two cells that share one only share a chain of candidates, each of which is
// checked by its position.
class MirrorIndex {
 public:
  MirrorIndex(const Model& model, int axis);
  MirrorIndex(const std::vector<Vertex*>& vertices, int axis);
  // The vertex at v's reflection: v itself on the plane, null when none. Of
  // several as near, one marked with `preferred` (model/marks.h) is taken.
  Vertex* partnerOf(const Vertex& v, uint64_t preferred = 0) const;
  // Whether v lies on the plane (within the tolerance).
  bool onPlane(const Vertex& v) const;
  int axis() const { return axis_; }

 private:
  void add(Vertex* v);
  int axis_;
  std::vector<Vertex*> vertices_;
  std::vector<int32_t> next_;  // the next vertex of the same cell's chain, -1 at its end
  absl::flat_hash_map<uint64_t, int32_t> first_;  // by cell, the newest vertex added there
};

// Around one transform of the selection: made before it changes anything,
// `apply` after it.
class MirrorFollow {
 public:
  explicit MirrorFollow(ToolContext& e);
  void apply();

 private:
  int axis_ = -1;
  std::vector<std::pair<Vertex*, Vertex*>> follow_;  // leader, partner (the same: on the plane)
};

// "/mirror x|y|z|off": the answer for the user, "" when the word is none of them.
std::string setMirror(ToolContext& e, const std::string& word);
// The key: off to the last axis and back.
void toggleMirror(ToolContext& e);
// "mirror x", or "" when off, for the views' captions.
std::string mirrorLabel(int axis);

// "/symmetrize AXIS" makes the model its own mirror image: the side of the
// plane given (the positive one, or the negative with `negative`) stays and
// the other becomes its reflection, vertices near the plane put on it. One
// undo step; says what was mirrored.
void symmetrize(ToolContext& e, int axis, bool negative);
