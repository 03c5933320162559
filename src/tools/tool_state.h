#pragma once
// The tools' state: the current tool, what the mouse drag does, the live
// values of a transform drag, the selection's box, the corners of a shape
// being created, the user's bounding box and the spline being drawn.

#include <deque>
#include <memory>

#include "model/list.h"
#include "model/vec3.h"
#include "tools/snapping.h"
#include "tools/spline.h"
#include "tools/weight_paint.h"

enum Tool {
  kSelectVertex = 0,
  kSelectPolygon = 1,
  kSelectBone = 2,
  kMove = 3,
  kRotate = 4,
  kScale2D = 5,
  kScale3D = 6,
  kAddVertex = 7,
  kCreateBox = 8,
  kCreateCylinder = 9,
  kExtrude = 10,
  kAddBone = 11,
  kCreateSpline = 12,
  kWeightPaint = 13,
};

// What the current mouse drag does (5 is not used).
enum DragMode {
  kNoDrag = 0,
  kScrollView = 1,
  kRotateView = 2,
  kZoomView = 3,
  kRubberBand = 4,
  kToolDrag = 6,
  kPopupMenu = 7,
};

struct Box3 {
  double minX = 0, maxX = 1, minY = 0, maxY = 1, minZ = 0, maxZ = 1;
};
struct UvPair {
  double u = 0, v = 0;
};
struct BoxCorners {
  double x0 = 0, x1 = 0, y0 = 0, y1 = 0, z0 = 0, z1 = 0;
};

struct ToolState {
  int tool = kSelectVertex;
  int dragMode = kNoDrag;
  // The live values of a Move or Scale drag, drawn as its preview. The offset
  // outlives the drag: an Extrude click moves by the one left from the last Move.
  Vec3 moveOffset{0, 0, 0};
  Vec3 scaleFactor{1, 1, 1};
  // The boxes of the last computeSelectionBox, of vertices or polygons and of
  // UV points: the Scale preview draws the first, and a computation over an
  // empty selection starts from them.
  Vec3 selectionCentre;
  UvPair uvSelectionCentre;
  Vec3 selectionMin{0, 0, 0}, selectionMax{0, 0, 0};
  UvPair uvSelectionMin, uvSelectionMax;
  BoxCorners boxCorner;           // corners of a box or cylinder being created
  Box3 boundingBox;               // the user's bounding box (/setbb)
  bool boundingBoxActive = true;  // no operation changes it
  Snapping snapping;              // of the mouse tools in the flat views
  double mergeDistance = 0.001;   // the last /merge's, which N merges by
  int mirrorAxis = -1;            // 0 to 2 while mirror editing is on across that axis
  int lastMirrorAxis = 0;         // what the key turns on again
  int cylinderLevels = 10;
  int cylinderSides = 8;
  std::unique_ptr<Spline> currentSpline;
  Brush brush;                          // the Weight Paint tool's (/brush)
  std::shared_ptr<WeightStroke> stroke;  // while a Weight Paint drag runs
  List<Vec3> splinePoints;  // clicked control points, newest first

  void setBoundingBox(double minX, double maxX, double minY, double maxY, double minZ,
                      double maxZ) {
    boundingBox = Box3{minX, maxX, minY, maxY, minZ, maxZ};
  }
  // Keeps a clicked spline point where the point list can refer to it.
  Vec3* keepSplinePoint(const Vec3& point) {
    splinePointStore_.push_back(point);
    return &splinePointStore_.back();
  }

 private:
  std::deque<Vec3> splinePointStore_;
};
