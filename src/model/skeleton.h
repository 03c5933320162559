#pragma once
// A model's bone tree. Each bone is a segment from a start joint to an end
// joint; a child's start joint is the very record that is its parent's end, so
// moving a joint moves one bone's end and all its children's starts at once.
// Bones are never deleted; a bone may have any number of children.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/model.h"

struct Bone {
  Vertex* start = nullptr;        // the parent's end joint; the root's own end joint
  Vertex* end = nullptr;          // end joint, owned by the skeleton
  double paramA = 0, paramB = 0;  // stored with the bone and in the model file only
  std::string name;               // "" or a name no other bone has (model/bone_names.h)
  Bone* parent = nullptr;
  std::vector<Bone*> children;

  int childCount() const { return static_cast<int>(children.size()); }
};

class Skeleton {
 public:
  // A root bone of length 0 with its joint at (x, y, z).
  Skeleton(double x, double y, double z);

  // Stores child as parent's next child; returns its index among the children.
  int addChild(Bone* parent, Bone* child);
  // A new bone from parent's end joint to a new joint at (x, y, z), not yet
  // added to the tree.
  Bone* newBone(Bone* parent, double x, double y, double z);

  Bone* root = nullptr;
  int boneCount = 0;  // bones in the tree, the root included

 private:
  Vertex* newJoint(double x, double y, double z);

  std::vector<std::unique_ptr<Bone>> bones_;
  std::vector<std::unique_ptr<Vertex>> joints_;
};

// Adds (dx, dy, dz) to the bone's end joint and to every descendant's.
void translateBone(Bone* bone, double dx, double dy, double dz);

// Visits bone and its descendants depth first: a bone before its children,
// children in order; depth is 0 at `bone`. Iterative, because a model file may
// hold a chain of bones far deeper than the call stack.
void forEachBone(Bone* bone, const std::function<void(Bone*, int depth)>& visit);
