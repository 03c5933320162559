#pragma once
// Shared by the model tests: a scratch directory, whole-file helpers and small
// hand-built models.

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "model/model.h"
#include "support/fixtures.h"
#include "model/skeleton.h"

inline Polygon* addPolygon(Model& model, PolygonGroup* group, Vertex* a, Vertex* b, Vertex* c) {
  return addTriangle(model, a, b, c, group);
}

// One triangle on (0,0,0), (1,0,0), (0,1,0), vertex list in that order.
inline void buildOneTriangle(Model& model) {
  Vertex* c = addVertex(model, 0, 1, 0);
  Vertex* b = addVertex(model, 1, 0, 0);
  Vertex* a = addVertex(model, 0, 0, 0);
  addPolygon(model, model.currentGroup, a, b, c);
}

inline const char* kOneTriangleFile =
    "3\n"
    "0.000000 0.000000 0.000000\n"
    "1.000000 0.000000 0.000000\n"
    "0.000000 1.000000 0.000000\n"
    "1\n"
    "1\n"
    "0 1 2 0.000000 0.000000 0.000000 0.000000 0.000000 0.000000 "
    "0.000000 1.000000 0.000000 0.000000 1.000000 0.000000 "
    "0.000000 1.000000 0.000000 0.000000 1.000000 0.000000 \n"
    "0\n"
    "1.000000 1.000000 1.000000 1.000000\n"
    "0\n";

// Three groups (two textured, one name longer than 31 characters), mapped and
// unmapped polygons, and a skeleton three deep whose middle bone has twelve
// children:  root -> hub -> leaves[0..11];  root -> other.
struct RichModel {
  explicit RichModel(Model& model) {
    Vertex* v[6];
    const double at[6][3] = {{0, 0, 0},  {1.5, 0, 0},      {0, 2.25, 0},
                             {0, 0, -3}, {4.125, 5, -6.5}, {-0.000125, 7, 8}};
    for (int i = 0; i < 6; ++i) v[i] = addVertex(model, at[i][0], at[i][1], at[i][2]);
    PolygonGroup* first = model.currentGroup;
    first->material.textured = 1;
    first->material.textureName = "textures/a_name_well_over_thirty_one_characters.bmp";
    first->material.red = 0.25;
    mapped = addPolygon(model, first, v[0], v[1], v[2]);
    mapped->uvs[1].u = 0.75;
    mapped->uvs[2].v = 0.875;
    addPolygon(model, first, v[2], v[1], v[3]);

    PolygonGroup* second = model.newGroup();
    model.groups.pushFront(second);
    second->material.alpha = 0.5;
    for (int i = 0; i < 3; ++i) addPolygon(model, second, v[i], v[i + 1], v[i + 2]);

    PolygonGroup* third = model.newGroup();
    model.groups.pushFront(third);
    third->material.textured = 1;
    third->material.textureName = "wood.bmp";
    addPolygon(model, third, v[5], v[4], v[3]);
    model.currentGroup = third;

    Bone* root = model.createRoot(0, 1, 0);
    root->paramA = 0.5;
    hub = model.addBone(root, 0, 2, 0);
    for (int i = 0; i < 12; ++i) leaves.push_back(model.addBone(hub, i, 3, 0));
    leaves[3]->paramB = -2.75;
    Bone* other = model.addBone(root, 1, 1, 1);
    // Polygons in writing order: #0 third's, #1-#3 second's, #4-#5 first's.
    second->polygons.at(0)->bone = leaves[11];
    second->polygons.at(1)->bone = hub;
    third->polygons.at(0)->bone = other;
    mapped->bone = root;
  }
  Polygon* mapped;
  Bone* hub;
  std::vector<Bone*> leaves;
};

// A model large enough that a load builds it in many steps, on both of its
// threads, while the file is still being read: groups of thousands of
// triangles with texture coordinates, an empty group between them, and bones
// holding some of the triangles.
inline void buildLargeModel(Model& model) {
  std::vector<Vertex*> grid;
  constexpr int kSide = 120;
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) grid.push_back(addVertex(model, x * 0.5, y * 0.25, x - y));
  }
  PolygonGroup* group = model.currentGroup;
  for (int y = 0; y + 1 < kSide; ++y) {
    if (y % 20 == 19) {
      if (y == 59) model.groups.pushFront(model.newGroup());
      group = model.newGroup();
      group->material.red = y / 100.0;
      model.groups.pushFront(group);
    }
    for (int x = 0; x + 1 < kSide; ++x) {
      Vertex* a = grid[y * kSide + x];
      Vertex* b = grid[y * kSide + x + 1];
      Vertex* c = grid[(y + 1) * kSide + x];
      Polygon* p = addPolygon(model, group, a, b, c);
      p->uvs[0].u = x / 64.0;
      addPolygon(model, group, b, grid[(y + 1) * kSide + x + 1], c);
    }
  }
  Bone* root = model.createRoot(0, 0, 0);
  Bone* arm = model.addBone(root, 1, 0, 0);
  List<Polygon> some;
  int n = 0;
  for (Polygon* p : group->polygons) {
    if (n++ % 3 == 0) some.pushFront(p);
  }
  Model::assignPolygonsToBone(arm, some);
}
