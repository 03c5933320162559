// The 3D picture of one view: axes and grid, bounding box, spline, model,
// markers, tool previews and skeleton.

#include <GL/gl.h>
#include <GL/glut.h>

#include "model/skeleton.h"
#include "render/frame_draw.h"
#include "render/frame_input.h"
#include "render/model_drawing.h"
#include "render/weight_colours.h"
#include "render/wire_cube.h"
#include "tools/spline.h"
#include "view/view_fit.h"

void drawAxesAndGrid(const Viewport& view) {
  glBegin(GL_LINES);
  glColor3f(1, 0.2f, 0.2f);
  glVertex3f(0, 0, 0);
  glVertex3f(10, 0, 0);
  glColor3f(0.2f, 1, 0.2f);
  glVertex3f(0, 0, 0);
  glVertex3f(0, 10, 0);
  glColor3f(0.2f, 0.2f, 1);
  glVertex3f(0, 0, 0);
  glVertex3f(0, 0, 10);
  glEnd();

  glColor3f(1, 1, 1);
  const float letters[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
  for (int i = 0; i < 3; ++i) {
    glRasterPos3f(letters[i][0], letters[i][1], letters[i][2]);
    glutBitmapCharacter(GLUT_BITMAP_HELVETICA_10, 'x' + i);
  }

  glPushMatrix();
  glColor3f(0.3f, 0.3f, 0.3f);
  if (view.kind <= kTopView) {
    const ViewGrid grid = viewGrid(view);
    const double far = grid.reach;
    glBegin(GL_LINES);
    for (int i = 0; i < grid.across.count; ++i) {
      const double h = grid.across.first + i * grid.across.step;
      if (view.kind == kSideView) {
        glVertex3d(h, -far, 0), glVertex3d(h, far, 0);
      } else if (view.kind == kFrontView) {
        glVertex3d(0, -far, h), glVertex3d(0, far, h);
      } else {
        glVertex3d(-far, 0, h), glVertex3d(far, 0, h);
      }
    }
    for (int i = 0; i < grid.up.count; ++i) {
      const double v = grid.up.first + i * grid.up.step;
      if (view.kind == kSideView) {
        glVertex3d(-far, v, 0), glVertex3d(far, v, 0);
      } else if (view.kind == kFrontView) {
        glVertex3d(0, v, -far), glVertex3d(0, v, far);
      } else {
        glVertex3d(v, 0, -far), glVertex3d(v, 0, far);
      }
    }
    glEnd();
  }
  glPopMatrix();
}

void drawBoundingBox(const FrameInput& e) {
  if (!e.toolState.boundingBoxActive) return;
  const Box3& b = e.toolState.boundingBox;
  glColor3f(0.9f, 0.6f, 0.4f);
  for (double y : {b.minY, b.maxY}) {
    glBegin(GL_LINE_LOOP);
    glVertex3d(b.minX, y, b.minZ);
    glVertex3d(b.maxX, y, b.minZ);
    glVertex3d(b.maxX, y, b.maxZ);
    glVertex3d(b.minX, y, b.maxZ);
    glEnd();
  }
  glBegin(GL_LINES);
  const double corners[4][2] = {
      {b.minX, b.minZ}, {b.maxX, b.minZ}, {b.maxX, b.maxZ}, {b.minX, b.maxZ}};
  for (const auto& c : corners) {
    glVertex3d(c[0], b.minY, c[1]);
    glVertex3d(c[0], b.maxY, c[1]);
  }
  glEnd();
}

void drawScene(const FrameInput& e, const Viewport& view) {
  if (e.animation.on) return drawPosedScene(e, view);
  const double unit = (view.right - view.left) * 0.01;
  if (view.kind != kFullView && view.renderMode != kTextured) drawBoundingBox(e);
  if (e.toolState.currentSpline) drawSpline(*e.toolState.currentSpline, 100);

  glColor3f(0.8f, 0.8f, 0.8f);
  // The shaded modes light the model with its normals; everything else is
  // unlit, the textured mode included, so that a texture layout shows as it is
  // whichever way a face is turned.
  ModelDrawing::NormalSource normals = ModelDrawing::kNoNormals;
  if (view.renderMode == kFlatShaded) normals = ModelDrawing::kFaceNormals;
  if (view.renderMode == kSmoothShaded) normals = ModelDrawing::kCornerNormals;
  if (weightsShown(e)) {
    // The model's own turn, as its drawing gives it to what follows.
    const Model& m = *e.doc.model;
    glRotatef(static_cast<float>(m.rotationX), 1, 0, 0);
    glRotatef(static_cast<float>(m.rotationY), 0, 1, 0);
    glRotatef(static_cast<float>(m.rotationZ), 0, 0, 1);
    drawWeightColours(e.drawing.weightColours.corners(*e.doc.model, e.doc.revision(),
                                                      e.doc.selectedBone));
  } else {
    if (normals != ModelDrawing::kNoNormals) glEnable(GL_LIGHTING);
    e.drawing.modelDrawing.draw(*e.doc.model, view.renderMode == kTextured, normals,
                                e.drawing.batchDrawing);
    glDisable(GL_LIGHTING);
  }

  if (e.keyDown['l']) drawNormals(*e.doc.model);
  if (e.keyDown['k'] && e.doc.model->hasSkeleton) drawBoneLinks(*e.doc.model);

  const bool moving = e.toolState.dragMode == kToolDrag && e.toolState.tool == kMove;
  glColor3f(1, 1, 0);
  if (e.drawing.batchDrawing) {
    drawSelectedMarkers(e, unit * e.viewSet.selectedMarkerScale, moving);
  } else {
    for (Vertex* p : e.doc.selectedVertices) {
      glPushMatrix();
      if (moving) {
        glTranslated(p->x + e.toolState.moveOffset.x, p->y + e.toolState.moveOffset.y,
                     p->z + e.toolState.moveOffset.z);
      } else {
        glTranslated(p->x, p->y, p->z);
      }
      glutWireCube(unit * e.viewSet.selectedMarkerScale);
      glPopMatrix();
      if (moving) {
        glBegin(GL_LINES);
        glColor3f(0.9f, 0, 0);
        glVertex3d(p->x, p->y, p->z);
        glColor3f(1, 0.7f, 0.7f);
        glVertex3d(p->x + e.toolState.moveOffset.x, p->y + e.toolState.moveOffset.y,
                   p->z + e.toolState.moveOffset.z);
        glEnd();
      }
    }
  }

  glColor3f(1, 1, 1);
  if (!(view.kind == kFullView && view.renderMode == kTextured)) {
    drawVertexMarkers(e, unit * e.viewSet.vertexMarkerScale);
  }

  if (e.doc.selectedBone) {
    glPushMatrix();
    glTranslated(e.doc.selectedBone->end->x, e.doc.selectedBone->end->y,
                 e.doc.selectedBone->end->z);
    glutWireCube(unit * e.viewSet.vertexMarkerScale * 4);
    glPopMatrix();
  }

  const bool scaling = e.toolState.dragMode == kToolDrag &&
                       (e.toolState.tool == kScale2D || e.toolState.tool == kScale3D);
  if (scaling && e.viewSet.activeView != kUvView) {
    glPushMatrix();
    glTranslated(e.toolState.selectionCentre.x, e.toolState.selectionCentre.y,
                 e.toolState.selectionCentre.z);
    glScaled(e.toolState.selectionMax.x - e.toolState.selectionMin.x,
             e.toolState.selectionMax.y - e.toolState.selectionMin.y,
             e.toolState.selectionMax.z - e.toolState.selectionMin.z);
    glScaled(e.toolState.scaleFactor.x, e.toolState.scaleFactor.y, e.toolState.scaleFactor.z);
    glutWireCube(1);
    glPopMatrix();
  }

  if (e.viewSet.showSkeleton)
    drawSkeleton(*e.doc.model, e.doc.selectedBone, e.drawing.batchDrawing);

  glColor3f(0.5f, 1, 1);
  for (Vec3* p : e.toolState.splinePoints) {
    glPushMatrix();
    glTranslated(p->x, p->y, p->z);
    glutWireCube(unit * e.viewSet.selectedMarkerScale);
    glPopMatrix();
  }
}

// The selected vertices' yellow outlines, and during a Move each outline at
// its new place with a line back, as arrays of lines in the colours the plain
// drawing gives them: after the first line back the current colour is that
// line's pink, and the later outlines take it.
void drawSelectedMarkers(const FrameInput& e, double size, bool moving) {
  constexpr size_t kMarkersPerDraw = 16384;
  std::vector<float> positions, colours;
  const CubeSight sight = currentCubeSight();
  float r = 1, g = 1, b = 0;
  size_t pending = 0;
  for (Vertex* p : e.doc.selectedVertices) {
    const Vec3 at = moving ? Vec3{p->x + e.toolState.moveOffset.x, p->y + e.toolState.moveOffset.y,
                                  p->z + e.toolState.moveOffset.z}
                           : Vec3{p->x, p->y, p->z};
    appendColour(colours, appendWireCube(positions, at.x, at.y, at.z, size, sight), r, g, b);
    if (moving) {
      positions.insert(positions.end(), {static_cast<float>(p->x), static_cast<float>(p->y),
                                         static_cast<float>(p->z), static_cast<float>(at.x),
                                         static_cast<float>(at.y), static_cast<float>(at.z)});
      appendColour(colours, 1, 0.9f, 0, 0);
      r = 1, g = 0.7f, b = 0.7f;
      appendColour(colours, 1, r, g, b);
    }
    if (++pending == kMarkersPerDraw) {
      drawColouredLines(positions, colours);
      positions.clear(), colours.clear(), pending = 0;
    }
  }
  drawColouredLines(positions, colours);
  glColor3f(r, g, b);
}
