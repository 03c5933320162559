// The UV view inside the UV Mapper panel: the unit square of texture space,
// the UV triangles of the current group over the texture (or black), their
// charts' borders and seams, and the markers of the selected UV points.

#include <GL/gl.h>

#include <vector>

#include "gui/rect_draw.h"
#include "images/texture_cache.h"
#include "render/frame_draw.h"
#include "render/frame_input.h"
#include "render/model_drawing.h"
#include "render/uv_outlines.h"

namespace {
void square(double u, double v, double half) {
  drawRectOutline(u - half, v - half, u + half, v + half);
}

// Chart borders light blue, seams red and twice as wide, over the triangles
// (whose lines lie at the same depth).
void drawOutlines(const std::vector<UvSegment>& segments) {
  if (segments.empty()) return;
  const bool depthTest = glIsEnabled(GL_DEPTH_TEST);
  glDisable(GL_DEPTH_TEST);
  glBegin(GL_LINES);
  glColor3f(0.3f, 0.8f, 1);
  bool seams = false;
  for (const UvSegment& s : segments) {
    if (s.seam && !seams) {
      glEnd();
      glLineWidth(2);
      glBegin(GL_LINES);
      glColor3f(1, 0.2f, 0.2f);
      seams = true;
    }
    glVertex2d(s.u0, s.v0);
    glVertex2d(s.u1, s.v1);
  }
  glEnd();
  glLineWidth(1);
  if (depthTest) glEnable(GL_DEPTH_TEST);
}
}  // namespace

void drawUvView(const FrameInput& e) {
  drawUvRubberBand(e);
  drawUvContent(e);
  setUpOverlay(e);
}

void drawUvRubberBand(const FrameInput& e) {
  if (e.toolState.dragMode == kRubberBand && e.viewSet.activeView == kUvView) {
    glColor3f(1, 1, 1);
    drawRectOutline(e.pointer.pressX, e.pointer.pressY, e.pointer.mouseX, e.pointer.mouseY);
  }
}

void drawUvContent(const FrameInput& e) {
  const Viewport& uv = e.viewSet.uvView();
  const int w = static_cast<int>(uv.pixelWidth), h = static_cast<int>(uv.pixelHeight);
  glViewport(uv.rectLeft, uv.rectBottom, w, h);
  glScissor(uv.rectLeft, uv.rectBottom, w, h);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, 1, 0, 1, 0, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();

  glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
  glColor3f(1, 1, 1);
  drawUvTriangles(*e.doc.model);

  const double half = (uv.right - uv.left) * e.viewSet.selectedMarkerScale * 0.005;
  const bool moving = e.toolState.dragMode == kToolDrag && e.toolState.tool == kMove &&
                      e.viewSet.activeView == kUvView;
  for (Polygon* polygon : e.doc.model->currentGroup->polygons) {
    if (!polygon->uvMapped) continue;
    for (const UvPoint& point : polygon->uvs) {
      if (!point.selected) continue;
      if (moving) {
        glColor3f(1, 1, 0);
        square(point.u + e.toolState.moveOffset.x, point.v + e.toolState.moveOffset.y, half);
        glColor3f(0.5f, 0.5f, 0);
        square(point.u, point.v, half);
        glBegin(GL_LINES);
        glColor3f(0.9f, 0, 0);
        glVertex2d(point.u, point.v);
        glColor3f(1, 0.7f, 0.7f);
        glVertex2d(point.u + e.toolState.moveOffset.x, point.v + e.toolState.moveOffset.y);
        glEnd();
      } else {
        square(point.u, point.v, half);
      }
    }
  }

  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  const bool textured = e.viewSet.showUvTexture && e.viewSet.uvTexture > 0;
  if (textured) {
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, e.textures.uploadedName(e.viewSet.uvTexture));
    glColor3f(1, 1, 1);
  } else {
    glColor3f(0, 0, 0);
  }
  glBegin(GL_QUADS);
  glTexCoord2f(0, 0), glVertex2f(0, 0);
  glTexCoord2f(1, 0), glVertex2f(1, 0);
  glTexCoord2f(1, 1), glVertex2f(1, 1);
  glTexCoord2f(0, 1), glVertex2f(0, 1);
  glEnd();
  if (textured) glDisable(GL_TEXTURE_2D);

  glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
  glColor3f(1, 1, 1);
  drawUvTriangles(*e.doc.model);
  drawOutlines(e.drawing.uvOutlines.outlines(*e.doc.model, e.doc.revision()));
}
