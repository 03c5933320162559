#include "model/skeleton.h"

#include "model/span.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <utility>

Vertex* Skeleton::newJoint(double x, double y, double z) {
  joints_.push_back(std::make_unique<Vertex>());
  Vertex* joint = joints_.back().get();
  joint->x = x;
  joint->y = y;
  joint->z = z;
  return joint;
}

Skeleton::Skeleton(double x, double y, double z) {
  Vertex* joint = newJoint(x, y, z);
  bones_.push_back(std::make_unique<Bone>());
  root = bones_.back().get();
  root->start = joint;
  root->end = joint;
  boneCount = 1;
}

int Skeleton::addChild(Bone* parent, Bone* child) {
  parent->children.push_back(child);
  ++boneCount;
  return parent->childCount() - 1;
}

Bone* Skeleton::newBone(Bone* parent, double x, double y, double z) {
  Vertex* joint = newJoint(x, y, z);
  bones_.push_back(std::make_unique<Bone>());
  Bone* bone = bones_.back().get();
  bone->start = parent->end;
  bone->end = joint;
  bone->parent = parent;
  return bone;
}

void forEachBone(Bone* bone, const std::function<void(Bone*, int)>& visit) {
  if (!bone) return;
  std::vector<std::pair<Bone*, int>> pending{{bone, 0}};
  while (!pending.empty()) {
    auto [next, depth] = pending.back();
    pending.pop_back();
    visit(next, depth);
    for (auto child = next->children.rbegin(); child != next->children.rend(); ++child) {
      pending.emplace_back(*child, depth + 1);
    }
  }
}

void translateBone(Bone* bone, double dx, double dy, double dz) {
  // A joint coordinate that would leave the range of a double keeps its value.
  auto move = [](double& c, double by) {
    if (std::isfinite(c + by)) c += by;
  };
  forEachBone(bone, [&](Bone* moved, int) {
    move(moved->end->x, dx);
    move(moved->end->y, dy);
    move(moved->end->z, dz);
  });
}

Bone* Model::createRoot(double x, double y, double z) {
  if (hasSkeleton) return nullptr;
  setSkeleton(std::make_unique<Skeleton>(x, y, z));
  return skeleton->root;
}

Bone* Model::addBone(Bone* parent, double x, double y, double z) {
  if (!hasSkeleton) return createRoot(x, y, z);
  if (!parent) return nullptr;
  Bone* bone = skeleton->newBone(parent, x, y, z);
  skeleton->addChild(parent, bone);
  return bone;
}

Bone* Model::findBone(double a, double b, double c, double d, int plane, double /*tolerance*/) {
  // A plain click has no extent; bones are picked by rubber band only.
  if (a == c || b == d) return nullptr;
  std::printf("Looking up bones...\n");
  if (!hasSkeleton || plane < 0 || plane > 2) return nullptr;

  const Span anywhere(-10000, 10000, 0);
  Span x = anywhere, y = anywhere, z = anywhere;
  if (plane == 0) {
    x = Span(a, c, 0);
    y = Span(b, d, 0);
  } else if (plane == 1) {
    y = Span(b, d, 0);
    z = Span(a, c, 0);
  } else {
    x = Span(b, d, 0);
    z = Span(a, c, 0);
  }

  Bone* found = nullptr;
  forEachBone(skeleton->root, [&](Bone* bone, int) {
    const Vertex& joint = *bone->end;
    if (!found && x.holds(joint.x) && y.holds(joint.y) && z.holds(joint.z)) found = bone;
  });
  return found;
}

void Model::dumpSkeleton() {
  if (!hasSkeleton) return;
  forEachBone(skeleton->root, [](Bone* bone, int depth) {
    std::cout << depth << ' ' << bone->end->x << ' ' << bone->end->y << ' ' << bone->end->z << ' '
              << bone->paramA << ' ' << bone->paramB << std::endl;
  });
}
