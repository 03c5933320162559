#pragma once
// A two-bone arm along x: the root's joint at the origin, the upper arm to
// (1, 0, 0), the forearm on to (2, 0, 0), and a strip of four triangles
// around them, y from -0.25 to 0.25. The two upper triangles belong to the
// upper arm, the two lower ones to the forearm; the elbow vertices are used
// by both:
//
//   v3------v4------v5      v1: 1 upper, 2 fore triangles
//   | \ up  | \ fore|      v4: 2 upper, 1 fore
//   |  \    |  \    |
//   v0------v1------v2

#include "model/model.h"
#include "model/skeleton.h"
#include "support/fixtures.h"

struct Arm {
  explicit Arm(Model& m) {
    const double at[6][2] = {{0, -.25}, {1, -.25}, {2, -.25}, {0, .25}, {1, .25}, {2, .25}};
    for (int i = 0; i < 6; ++i) v[i] = addVertex(m, at[i][0], at[i][1], 0);
    root = m.createRoot(0, 0, 0);
    upper = m.addBone(root, 1, 0, 0);
    fore = m.addBone(upper, 2, 0, 0);
    const int tris[4][3] = {{0, 1, 4}, {0, 4, 3}, {1, 2, 5}, {1, 5, 4}};
    for (int t = 0; t < 4; ++t) {
      p[t] = addTriangle(m, v[tris[t][0]], v[tris[t][1]], v[tris[t][2]]);
      p[t]->bone = t < 2 ? upper : fore;
    }
  }
  Vertex* v[6];
  Polygon* p[4];
  Bone *root, *upper, *fore;
};
