// A view's picture in animation mode: the model and skeleton posed at the
// current frame, the selected vertices and bone where the pose puts them.
// The mesh cannot be edited in the mode, so its vertex markers are left out.

#include <GL/gl.h>
#include <GL/glut.h>

#include "model/posed_model.h"
#include "render/frame_draw.h"
#include "render/frame_input.h"
#include "render/model_drawing.h"
#include "render/posed_drawing.h"
#include "render/view_freshness.h"
#include "render/weight_colours.h"
#include "render/wire_cube.h"

namespace {

void drawPosedSkeleton(const PosedModel& posed, const Bone* selectedBone) {
  const Rig& rig = posed.rig();
  if (rig.size() == 0) return;
  float current[4];
  glGetFloatv(GL_CURRENT_COLOR, current);
  float r = current[0], g = current[1], b = current[2];
  std::vector<float> positions, colours;
  std::vector<char> underSelection(rig.size(), 0);
  const CubeSight sight = currentCubeSight();
  for (size_t i = 0; i < rig.size(); ++i) {
    const int p = rig.parent[i];
    underSelection[i] = p >= 0 && (underSelection[p] || rig.bones[p] == selectedBone);
    const glm::dvec3 start = posed.start(static_cast<int>(i));
    const glm::dvec3 end = posed.end(static_cast<int>(i));
    appendColour(colours, appendWireCube(positions, end.x, end.y, end.z, 0.1, sight), r, g, b);
    r = underSelection[i] ? 1 : 0, g = underSelection[i] ? 0 : 1, b = 0;
    positions.insert(positions.end(), {static_cast<float>(start.x), static_cast<float>(start.y),
                                       static_cast<float>(start.z), static_cast<float>(end.x),
                                       static_cast<float>(end.y), static_cast<float>(end.z)});
    appendColour(colours, 2, r, g, b);
  }
  drawColouredLines(positions, colours);
  glColor3f(r, g, b);
}

}  // namespace

void drawPosedScene(const FrameInput& e, const Viewport& view) {
  const double unit = (view.right - view.left) * 0.01;
  if (view.kind != kFullView && view.renderMode != kTextured) drawBoundingBox(e);
  PosedModel& posed = e.posedModel;  // posed for this frame by drawFrame

  glColor3f(0.8f, 0.8f, 0.8f);
  ModelDrawing::NormalSource normals = ModelDrawing::kNoNormals;
  if (view.renderMode == kFlatShaded) normals = ModelDrawing::kFaceNormals;
  if (view.renderMode == kSmoothShaded) normals = ModelDrawing::kCornerNormals;
  if (weightsShown(e)) {
    drawWeightColours(e.drawing.weightColours.corners(posed, e.doc.selectedBone));
  } else {
    if (normals != ModelDrawing::kNoNormals) glEnable(GL_LIGHTING);
    if (!e.drawing.posedDrawing.draw(*e.doc.model, posed, view.renderMode == kTextured, normals))
      e.drawing.frameInPart = true;
    glDisable(GL_LIGHTING);
  }

  glColor3f(1, 1, 0);
  std::vector<float> positions, colours;
  const CubeSight sight = currentCubeSight();
  for (Vertex* v : e.doc.selectedVertices) {
    if (const glm::dvec3* at = posed.find(v)) {
      const int ends = appendWireCube(positions, at->x, at->y, at->z,
                                      unit * e.viewSet.selectedMarkerScale, sight);
      appendColour(colours, ends, 1, 1, 0);
    }
  }
  drawColouredLines(positions, colours);

  const int selected = posed.rig().indexOf(e.doc.selectedBone);
  if (selected >= 0) {
    const glm::dvec3 end = posed.end(selected);
    glPushMatrix();
    glTranslated(end.x, end.y, end.z);
    glutWireCube(unit * e.viewSet.vertexMarkerScale * 4);
    glPopMatrix();
  }
  if (e.viewSet.showSkeleton) drawPosedSkeleton(posed, e.doc.selectedBone);
}
