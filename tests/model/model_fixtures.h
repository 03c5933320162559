#pragma once
// Hand-built models for the tests of model files: one triangle with its exact
// file text, a model using every part of the file, and a large one.

#include <vector>

#include "model/model.h"
#include "model/skeleton.h"
#include "support/fixtures.h"

inline Polygon* addPolygon(Model& model, PolygonGroup* group, Vertex* a, Vertex* b, Vertex* c) {
  return addTriangle(model, a, b, c, group);
}

// One triangle on (0,0,0), (1,0,0), (0,1,0), vertex list in that order.
inline void buildOneTriangle(Model& model) {
  Vertex* c = addVertex(model, 0, 1, 0);
  Vertex* b = addVertex(model, 1, 0, 0);
  addPolygon(model, model.currentGroup, addVertex(model, 0, 0, 0), b, c);
}

inline const char* kOneTriangleFile =
    "3\n0.000000 0.000000 0.000000\n1.000000 0.000000 0.000000\n0.000000 1.000000 0.000000\n"
    "1\n1\n0 1 2 0.000000 0.000000 0.000000 0.000000 0.000000 0.000000 "
    "0.000000 1.000000 0.000000 0.000000 1.000000 0.000000 "
    "0.000000 1.000000 0.000000 0.000000 1.000000 0.000000 \n"
    "0\n1.000000 1.000000 1.000000 1.000000\n0\n";

// Three groups (two textured), mapped and unmapped polygons, numbers that the
// file rounds, and a skeleton three deep: root -> hub -> leaves[0..2];
// root -> other. Its file text is kRichFile in model_image_test.cpp.
struct RichModel {
  explicit RichModel(Model& model) {
    Bone* root = model.createRoot(0, 1, 0);
    root->paramA = 0.5;
    hub = model.addBone(root, 0, 2, 0);
    for (int i = 0; i < 3; ++i) leaves.push_back(model.addBone(hub, i, 3, 0));
    leaves[1]->paramB = -2.75;
    Bone* other = model.addBone(root, 1, 1, 1);

    Vertex* v[6];
    const double at[6][3] = {{0, 0, 0},  {1.5, 0, 0},      {0, 2.25, 0},
                             {0, 0, -3}, {4.125, 5, -6.5}, {1.0 / 3, -1e-9, 1.0 / 128}};
    for (int i = 0; i < 6; ++i) v[i] = addVertex(model, at[i][0], at[i][1], at[i][2]);
    PolygonGroup* first = model.currentGroup;
    first->material = Material{0.25, 0.9999999, 1, 1, "textures/skin.bmp", 0, /*textured=*/1};
    mapped = addPolygon(model, first, v[0], v[1], v[2]);
    mapped->uvs[1].u = 0.75;
    mapped->uvs[2].v = 0.875;
    mapped->bone = root;
    addPolygon(model, first, v[2], v[1], v[3]);  // no bone: the root's
    PolygonGroup* second = model.newGroup();
    model.groups.pushFront(second);
    second->material.alpha = 0.5;
    Bone* const bones[3] = {nullptr, hub, leaves[2]};
    for (int i = 0; i < 3; ++i)
      addPolygon(model, second, v[i], v[i + 1], v[i + 2])->bone = bones[i];
    model.currentGroup = model.newGroup();
    model.groups.pushFront(model.currentGroup);
    model.currentGroup->material.textured = 1;
    model.currentGroup->material.textureName = "wood.bmp";
    addPolygon(model, model.currentGroup, v[5], v[4], v[3])->bone = other;
  }
  Polygon* mapped;
  Bone* hub;
  std::vector<Bone*> leaves;
};

// Large enough that a load builds it in many blocks on both of its threads:
// a strip of triangles with texture coordinates in groups of thousands, an
// empty group between them, and a bone holding every third triangle.
inline void buildLargeModel(Model& model) {
  Bone* arm = model.addBone(model.createRoot(0, 0, 0), 1, 0, 0);
  Vertex* last[2] = {addVertex(model, 0, 0, 0), addVertex(model, 0, 1, 0)};
  for (int i = 0; i < 30000; ++i) {
    if (i % 7000 == 6999) model.groups.pushFront(model.currentGroup = model.newGroup());
    if (i == 14000) model.groups.pushFront(model.newGroup());
    Vertex* next = addVertex(model, i * 0.5, i % 2, i % 7 - 3.25);
    Polygon* p = addPolygon(model, model.currentGroup, last[0], last[1], next);
    p->uvs[i % 3].u = i % 64 / 64.0;
    p->bone = i % 3 ? nullptr : arm;
    last[0] = last[1], last[1] = next;
  }
}
