#pragma once
// The model posed at a frame, as animation mode draws it: every vertex where
// its weights and the bones' poses put it, face normals from the posed
// corners, smooth corner normals turned with their vertex. The weights are
// bound once per model, skeleton and weights; a new frame only poses.

#include <glm/mat3x3.hpp>
#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

#include <cstdint>
#include <vector>

#include <absl/container/flat_hash_map.h>

#include "model/rig.h"
#include "model/skin.h"

class Model;
struct Clip;
struct PolygonGroup;
struct Vertex;

class PosedDrawing {
 public:
  // Poses the model as `clip` has it at `frame`. `rigRevision` moves on
  // whenever the mesh, skeleton or weights may have changed; a nonzero
  // `poseRevision` equal to the last call's vouches that nothing changed at
  // all, and that call's pose stands. False, with nothing posed, when the
  // skeleton has more bones than a pose holds (poseRefusal says so); throws
  // std::bad_alloc when memory runs out.
  bool pose(Model& model, const Clip* clip, double frame, uint64_t rigRevision,
            uint64_t poseRevision = 0);

  const Rig& rig() const { return rig_; }
  const SkinBinding& binding() const { return binding_; }
  const std::vector<glm::dmat4>& world() const { return world_; }
  const std::vector<glm::dvec3>& points() const { return points_; }
  // Where the pose puts a vertex of the model; null for one it does not hold.
  const glm::dvec3* find(const Vertex* vertex);

  // One group's triangles, 12 floats a corner as the rest model's arrays
  // (position, colour, normal, texture coordinates), for the pose made last;
  // the group is the model's `number`th, its first corner `firstCorner` in
  // the binding. Kept until the next pose.
  const std::vector<float>& groupArrays(PolygonGroup& group, size_t number, size_t firstCorner,
                                        bool cornerNormals);

  // Draws the posed triangles and, outside textured views, the vertex points
  // (posed_model_draw.cpp); `normals` as ModelDrawing::NormalSource. False
  // when memory ran out for the arrays of some of them, which are left out.
  bool draw(Model& model, int texturedView, int normals);

 private:
  void turnNormals();

  Rig rig_;
  SkinBinding binding_;
  bool bound_ = false;
  uint64_t animationSerial_ = 0, rigRevision_ = 0, poseRevision_ = 0;
  uint64_t posesMade_ = 0;
  std::vector<BonePose> poses_;
  std::vector<glm::dmat4> world_, skin_;
  std::vector<glm::dvec3> points_;
  std::vector<glm::dmat3> turns_;  // per vertex, for the pose made turnsFor_
  uint64_t turnsFor_ = 0;
  struct Arrays {
    std::vector<float> floats;
    uint64_t filledFor = 0;  // the pose they show
  };
  std::vector<Arrays> arrays_[2];  // by group number, face then corner normals
  std::vector<float> pointArray_;
  uint64_t pointsFilledFor_ = 0;
  absl::flat_hash_map<const Vertex*, uint32_t> numberOf_;  // made on the first find
};
