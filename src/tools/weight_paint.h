#pragma once
// Weight painting: the Weight Paint tool's stroke and the /brush and /weights
// commands. Each acts on the selected bone of the model's skeleton and is
// refused, with a message, without a skeleton or a selected bone.
//
// A stroke (press, drag, release in any of the four model views) paints at
// every pointer position: each vertex whose projection lies within the
// brush's radius (screen pixels) gets the bone's weight moved by strength ×
// falloff (model/weight_paint.h): toward 1 (a plain drag), toward 0 (Ctrl) or
// toward its neighbours' mean (Shift; neighbours share a triangle). The
// vertex's other bones share what is left in their proportions, at most four
// bones in all, summing to 1. A whole stroke is one undo step, taken at its
// first change; a stroke that changes nothing takes none. The view is fixed
// for the stroke, so the vertices' projections and a screen grid of them are
// made once at the press and each step visits the grid cells the brush
// covers.

#include <cstdint>
#include <memory>
#include <vector>

#include "model/rig.h"
#include "model/weight_paint.h"
#include "view/viewport.h"

struct ToolContext;
struct Vertex;

struct Brush {
  static constexpr double kDefaultRadius = 30, kDefaultStrength = 0.5;
  static constexpr double kMaxRadius = 2000;
  double radius = kDefaultRadius;  // screen pixels
  double strength = kDefaultStrength;
};

// Where a view shows a model point, in window pixels (y up): the flat views
// by their axes, the Full view turned as its camera turns it, all after the
// model's own rotation. The scroll offset is ignored, as viewX/viewY do.
struct ScreenPoint {
  double x, y;
};
// The turns and the view's scale worked out once, for a whole model's points.
class WindowProjection {
 public:
  WindowProjection(const Viewport& view, double modelRotX, double modelRotY, double modelRotZ);
  ScreenPoint operator()(double x, double y, double z) const;

 private:
  double rows_[2][3];  // model point -> the view's horizontal and vertical
  double offset_[2];   // ... and where the origin lands, in pixels
};

// One stroke's working state, made at the press.
struct WeightStroke {
  Rig rig;
  int bone = -1;               // the painted bone's index in the rig
  const Bone* heir = nullptr;  // takes what a vertex alone on the bone gives up
  BrushMode mode = BrushMode::kAdd;
  std::vector<Vertex*> vertices;                 // the binding's vertices
  std::vector<std::vector<BoneWeight>> weights;  // each vertex's weights as painted so far
  std::vector<float> screenX, screenY;           // each vertex's projection
  // The screen grid: cells of the brush's size over the view's rectangle,
  // cellStart[c] .. cellStart[c + 1] indexing cellItems.
  double cellSize = 1;
  int gridLeft = 0, gridBottom = 0, columns = 0, rows = 0;
  std::vector<uint32_t> cellStart, cellItems;
  // Neighbours (vertices sharing a triangle), made at the first Shift dab.
  std::vector<uint32_t> corners;
  std::vector<uint32_t> neighbourStart, neighbourItems;
  bool stepTaken = false;  // the stroke's undo step
  int dabs = 0;            // painted positions, changing or not
};

// The stroke's press, in the active view at the pointer: refused (with a
// message, and no drag) without a skeleton, a selected bone, or in the UV
// view. Ctrl chooses Subtract, Shift Smooth, else Add.
void startWeightStroke(ToolContext& e);
// One dab at the pointer; ends the stroke's undo step at its first change.
void paintWeightDab(ToolContext& e);
// The release: the stroke ends.
void endWeightStroke(ToolContext& e);

// The vertices (indices into stroke.vertices) whose projection lies within
// `radius` pixels of (x, y), with their distances; a visit of the grid cells
// the circle covers.
void verticesUnderBrush(const WeightStroke& stroke, double x, double y, double radius,
                        std::vector<uint32_t>& found, std::vector<double>& distances);

// Choosing the tool: refused without a skeleton.
void chooseWeightPaint(ToolContext& e);

// /brush RADIUS STRENGTH (numbers already read).
void setBrush(ToolContext& e, double radius, double strength);

// /weights normalize: every selected vertex's weights made to sum to 1 on its
// four largest bones. /weights smooth N: N passes in which each selected
// vertex's weights move halfway to its neighbours' mean. /weights auto: each
// selected vertex weighed by the inverse square of its distance to each bone
// segment, the nearest four bones, normalised. Each is one undo step when it
// changes something.
void normalizeSelectedWeights(ToolContext& e);
void smoothSelectedWeights(ToolContext& e, int passes);
void autoSelectedWeights(ToolContext& e);
