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

#include "app/editor.h"
#include "tools/live_transform.h"

namespace {

using Reaction = void (*)(Editor&);

struct Gesture {
  int pressDragMode;  // dragMode after the press
  Reaction press;
  Reaction motion;
  Reaction release;
};

void computeVertexBox(Editor& e) {
  e.computeSelectionBox(0);
}
void addVertex(Editor& e) {
  e.addVertexAtCursor();
}
void addSplinePoint(Editor& e) {
  e.addSplinePoint();
}

void applyMove(Editor& e) {
  e.moveSelection(e.moveOffset.x, e.moveOffset.y, e.moveOffset.z);
}
// Dragging upward turns the selection the negative way.
void applyRotate(Editor& e) {
  e.rotateSelection((e.pressY - e.mouseY) * 0.01);
}
void applyScale(Editor& e) {
  e.scaleSelection();
}
void addBone(Editor& e) {
  e.addBoneAtCursor();
}

void createBox(Editor& e) {
  e.createBox();
  e.tool = kSelectVertex;
}
void createCylinder(Editor& e) {
  e.createCylinder();
  e.tool = kSelectVertex;
}

// A select tool can only be current at a tool-drag release when it was chosen
// during the drag; the release then selects like a rubber band.
void selectInDrag(Editor& e) {
  const Viewport& view = e.views[e.activeView];
  e.selectInRect(view.viewX(e.pressX), view.viewY(e.pressY), view.viewX(e.mouseX),
                 view.viewY(e.mouseY));
}

// The first motion detaches the selected polygons and hands them to Move; the
// offset is not updated by this motion, so a click without movement moves the
// new cap by the offset left from the last Move drag. Without a polygon
// selection every motion does nothing and the tool stays Extrude.
void startExtrude(Editor& e) {
  if (e.selectedPolygons.empty()) return;
  e.prepareExtrude();
  e.extrudeSelection();
  e.tool = kMove;
}

const Gesture kGestures[] = {
    {kRubberBand, nullptr, nullptr, selectInDrag},                 // Select Vertex
    {kRubberBand, nullptr, nullptr, selectInDrag},                 // Select Polygon
    {kRubberBand, nullptr, nullptr, selectInDrag},                 // Select Bone
    {kToolDrag, nullptr, updateMoveOffset, applyMove},             // Move
    {kToolDrag, nullptr, nullptr, applyRotate},                    // Rotate
    {kToolDrag, computeVertexBox, updateScaleFactor, applyScale},  // Scale 2D
    {kToolDrag, computeVertexBox, updateScaleFactor, applyScale},  // Scale 3D
    {kNoDrag, addVertex, nullptr, nullptr},                        // Add Vertex
    {kToolDrag, nullptr, nullptr, createBox},                      // Create Box
    {kToolDrag, nullptr, nullptr, createCylinder},                 // Create Cylinder
    {kToolDrag, nullptr, startExtrude, nullptr},                   // Extrude
    {kToolDrag, nullptr, nullptr, addBone},                        // Add Bone
    {kNoDrag, addSplinePoint, nullptr, nullptr},                   // Create Spline
};

const Gesture* gestureOf(int tool) {
  constexpr int kCount = sizeof kGestures / sizeof kGestures[0];
  return (tool >= 0 && tool < kCount) ? &kGestures[tool] : nullptr;
}

}  // namespace

void Editor::toolPress() {
  const Gesture* g = gestureOf(tool);
  if (!g) return;
  dragMode = g->pressDragMode;
  if (g->press) g->press(*this);
}

void Editor::toolMotion() {
  const Gesture* g = gestureOf(tool);
  if (g && g->motion) g->motion(*this);
}

void Editor::toolRelease() {
  const Gesture* g = gestureOf(tool);
  if (g && g->release) g->release(*this);
}
