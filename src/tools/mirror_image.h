#pragma once
// The mirror image of what an edit makes or takes while mirror editing is on,
// across the plane of mirror.h. A triangle's image has its corners' partners
// in reverse order, with its facing flag, so that it faces out the mirrored
// way; a triangle is its own image when that gives back the same corners from
// some corner on, or when it lies on the plane (drawn from both sides there).
// Everything is found through hashes, in time linear in what is looked at.

#include <array>
#include <optional>
#include <utility>
#include <vector>

#include <absl/container/flat_hash_map.h>

#include "tools/mirror.h"

struct Polygon;
struct PolygonGroup;
struct ToolContext;
struct Vertex;
class Model;

// Triangles by the corners in the order of the facing they show, from
// whichever corner.
class TriangleIndex {
 public:
  void add(Polygon* p);
  // The triangles over these corners (stored order) and facing flag, oldest
  // added first; find gives the first, null when none.
  const std::vector<Polygon*>& all(Vertex* const corners[3], int flipped) const;
  Polygon* find(Vertex* const corners[3], int flipped) const;

 private:
  absl::flat_hash_map<std::array<Vertex*, 3>, std::vector<Polygon*>> byCorners_;
};

// The index of the model's partners across the mirror's plane, or none while
// mirror editing is off.
std::optional<MirrorIndex> mirrorIndexOf(ToolContext& e);

// The corners of p's image (its corners' partners, reversed); false when a
// corner has no partner or p is its own image.
bool imageCorners(const MirrorIndex& index, const Polygon& p, Vertex* corners[3]);

// A new triangle over `corners` (p's image) taking p's texture coordinates in
// the same reversed order, its shading, facing and bone, at the head of `group`.
Polygon* addImageOf(Model& model, PolygonGroup& group, const Polygon& p, Vertex* const corners[3]);

// Adds to the selections the partner of every selected vertex and, in the
// current group, images of the selected triangles, until each triangle's
// corners and facing are selected no more often than its image's (so that of
// two equal triangles selected both images go too).
void addImagesToSelection(ToolContext& e, const MirrorIndex& index);

// Gives `image` the facing flag of `p`, so that it stays p's mirror image.
void faceAs(const Polygon& p, Polygon& image);

// The image of new geometry in the current group: each of `vertices` gets a
// reflected copy (those on the plane are put onto it exactly and are their own
// image), and each of `polygons` its image, unless it is its own or already
// among them. New geometry whose every vertex has its partner among them is
// symmetric already and gets nothing, even where its triangles' diagonals
// are not mirrored (a box across the plane). Returns the vertices and
// triangles made; nothing while mirror editing is off.
std::pair<std::vector<Vertex*>, std::vector<Polygon*>> addMirrorImage(
    ToolContext& e, const std::vector<Vertex*>& vertices, const std::vector<Polygon*>& polygons);
