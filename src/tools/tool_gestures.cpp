// What a left press, the drag motion and the release do for each tool in a
// flat view or the UV view. Input dispatch sets pressX/pressY before the
// press, runs the motion once more at the release position, and sets dragMode
// to 0 before the release. The release follows the tool current at that
// moment, so switching tools mid-drag ends the drag as the new tool. (A
// rubber band, dragMode 4, is ended by input dispatch itself.)
//
//   tool                    press                 motion                      release
//   Select V/P/Bone         rubber band (4)       -                           selectInRect
//   Move                    tool drag (6)         moveOffset                  moveSelection
//   Rotate                  tool drag             -                           rotateSelection
//   Scale 2D / 3D           tool drag, box        scaleFactor                 scaleSelection
//   Add Vertex              add vertex, no drag   -                           -
//   Create Box / Cylinder   tool drag             -                           create, Select Vertex
//   Extrude                 tool drag             first: extrude, Move        -
//   Add Bone                tool drag             -                           addBoneAtCursor
//   Create Spline           add point, no drag    -                           -
//   Weight Paint            tool drag, first dab  dab                         end stroke
//
// In animation mode the select tools pick what the views show, Move and
// Rotate pose the selected bone (the release keys it), and every other tool,
// or Move and Rotate in the UV view, is refused at the press.

#include "tools/tool_gestures.h"
#include "tools/animation_mode.h"
#include "tools/animation_rules.h"
#include "tools/creation.h"
#include "tools/live_transform.h"
#include "tools/polygon_ops.h"
#include "tools/selection.h"
#include "tools/snapping.h"
#include "tools/spline_tool.h"
#include "tools/tool_context.h"
#include "tools/transforms.h"
#include "tools/weight_paint.h"

namespace {

using Reaction = void (*)(ToolContext&);

struct Gesture {
  int pressDragMode;  // dragMode after the press
  Reaction press;
  Reaction motion;
  Reaction release;
};

// The box drawn by the Scale preview.
void computeVertexBox(ToolContext& e) {
  computeSelectionBox(e, SelectionBoxOf::kVertices);
}

void applyMove(ToolContext& e) {
  moveSelection(e, e.toolState.moveOffset.x, e.toolState.moveOffset.y, e.toolState.moveOffset.z);
}
// Dragging upward turns the selection the negative way.
void applyRotate(ToolContext& e) {
  rotateSelection(e, snappedAngle(e, (e.pointer.pressY - e.pointer.mouseY) * 0.01));
}

void createBoxThenSelect(ToolContext& e) {
  createBox(e);
  e.toolState.tool = kSelectVertex;
}
void createCylinderThenSelect(ToolContext& e) {
  createCylinder(e);
  e.toolState.tool = kSelectVertex;
}

// A select tool can only be current at a tool-drag release when it was chosen
// during the drag; the release then selects like a rubber band.
void selectInDrag(ToolContext& e) {
  const Viewport& view = e.viewSet.views[e.viewSet.activeView];
  selectInRect(e, view.viewX(e.pointer.pressX), view.viewY(e.pointer.pressY),
               view.viewX(e.pointer.mouseX), view.viewY(e.pointer.mouseY));
}

// The first motion detaches the selected polygons and hands them to Move; the
// offset is not updated by this motion, so a click without movement moves the
// new cap by the offset left from the last Move drag. Without a polygon
// selection every motion does nothing and the tool stays Extrude.
void startExtrude(ToolContext& e) {
  if (e.doc.selectedPolygons.empty()) return;
  prepareExtrude(e);
  extrudeSelection(e);
  e.toolState.tool = kMove;
}

const Gesture kGestures[] = {
    {kRubberBand, nullptr, nullptr, selectInDrag},                     // Select Vertex
    {kRubberBand, nullptr, nullptr, selectInDrag},                     // Select Polygon
    {kRubberBand, nullptr, nullptr, selectInDrag},                     // Select Bone
    {kToolDrag, nullptr, updateMoveOffset, applyMove},                 // Move
    {kToolDrag, nullptr, nullptr, applyRotate},                        // Rotate
    {kToolDrag, computeVertexBox, updateScaleFactor, scaleSelection},  // Scale 2D
    {kToolDrag, computeVertexBox, updateScaleFactor, scaleSelection},  // Scale 3D
    {kNoDrag, addVertexAtCursor, nullptr, nullptr},                    // Add Vertex
    {kToolDrag, nullptr, nullptr, createBoxThenSelect},                // Create Box
    {kToolDrag, nullptr, nullptr, createCylinderThenSelect},           // Create Cylinder
    {kToolDrag, nullptr, startExtrude, nullptr},                       // Extrude
    {kToolDrag, nullptr, nullptr, addBoneAtCursor},                    // Add Bone
    {kNoDrag, addSplinePoint, nullptr, nullptr},                       // Create Spline
    {kToolDrag, startWeightStroke, paintWeightDab, endWeightStroke},   // Weight Paint
};

void movePoseByOffset(ToolContext& e) {
  if (e.animation.ikBones) {
    reachPose(e, e.toolState.moveOffset);
  } else {
    movePose(e, e.toolState.moveOffset);
  }
}
void rotatePoseByDrag(ToolContext& e) {
  rotatePose(e, snappedAngle(e, (e.pointer.pressY - e.pointer.mouseY) * 0.01));
}

// The gestures of animation mode, by tool: those its rules let pose or pick.
const Gesture kPoseGestures[] = {
    {kRubberBand, nullptr, nullptr, selectInDrag},             // Select Vertex
    {kRubberBand, nullptr, nullptr, selectInDrag},             // Select Polygon
    {kRubberBand, nullptr, nullptr, selectInDrag},             // Select Bone
    {kToolDrag, nullptr, updateMoveOffset, movePoseByOffset},  // Move
    {kToolDrag, nullptr, nullptr, rotatePoseByDrag},           // Rotate
};

const Gesture* gestureOf(const ToolContext& e, int tool) {
  if (const ModeRule* rule = modeRule(e, ModeRule::kTool, tool)) {
    const bool posing = rule->effect == ModeRule::kPicksPosed ||
                        (rule->effect == ModeRule::kPosesBone &&
                         e.viewSet.views[e.viewSet.activeView].kind != kUvView);
    return posing ? &kPoseGestures[tool] : nullptr;
  }
  constexpr int kCount = sizeof kGestures / sizeof kGestures[0];
  return (tool >= 0 && tool < kCount) ? &kGestures[tool] : nullptr;
}

}  // namespace

void toolPress(ToolContext& e) {
  const Gesture* g = gestureOf(e, e.toolState.tool);
  if (!g) {
    refusedByMode(e, ModeRule::kTool, e.toolState.tool);
    return;
  }
  e.toolState.dragMode = g->pressDragMode;
  if (g->press) g->press(e);
}

void toolMotion(ToolContext& e) {
  const Gesture* g = gestureOf(e, e.toolState.tool);
  if (g && g->motion) g->motion(e);
}

void toolRelease(ToolContext& e) {
  const Gesture* g = gestureOf(e, e.toolState.tool);
  if (g && g->release) g->release(e);
}
