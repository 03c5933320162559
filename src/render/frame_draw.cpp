// One frame: each shown view's 3D picture inside its rectangle, then the 2D
// overlay over the whole window (cursor label, panels with the UV view, view
// frames and captions). The overlay lies at depth 0 with the depth test on,
// so what is drawn first stays in front: the order below is the stacking order.

#include <GL/gl.h>

#include <cmath>
#include <cstdio>
#include <new>
#include <string>

#include "render/frame_draw.h"

#include "gui/rect_draw.h"
#include "gui/text.h"
#include "render/frame_input.h"
#include "render/view_camera.h"
#include "render/view_pictures.h"

namespace {
int pixels(double v) {
  return static_cast<int>(v);
}

// After a view's drawing ran out of memory part way: the matrices it pushed
// popped, the arrays and switches it turned on off again.
void endCutDrawing(GLint modelviewDepth) {
  glMatrixMode(GL_MODELVIEW);
  GLint depth = 0;
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
  for (; depth > modelviewDepth; --depth) glPopMatrix();
  for (GLenum array : {GL_VERTEX_ARRAY, GL_COLOR_ARRAY, GL_NORMAL_ARRAY, GL_TEXTURE_COORD_ARRAY})
    glDisableClientState(array);
  glDisable(GL_LIGHTING);
  glDisable(GL_TEXTURE_2D);
}

}  // namespace

void drawFrame(const FrameInput& e) {
  e.drawing.frameInPart = false;
  glEnable(GL_SCISSOR_TEST);
  glMatrixMode(GL_MODELVIEW);
  glColor3f(1, 1, 1);
  if (e.drawing.lightPending) {
    setUpLight(e.drawing);
    e.drawing.lightPending = false;
  }
  // Lighting is switched on only around the shaded model drawing.
  glDisable(GL_LIGHTING);

  // The views draw the model as it stands when the frame begins. With kept
  // pictures every change to the model moves sceneRevision on, so arrays
  // built for an earlier frame of the same revision still hold.
  struct FrameOfModel {
    ModelDrawing& drawing;
    FrameOfModel(ModelDrawing& d, const Model& model, uint64_t revision) : drawing(d) {
      drawing.beginFrame(model, revision);
    }
    ~FrameOfModel() { drawing.endFrame(); }
  } frame(e.drawing.modelDrawing, *e.doc.model,
          e.drawing.keepViewPictures ? e.viewSet.sceneRevision + 1 : 0);

  // A view whose drawing runs out of memory shows what was drawn before; the
  // editor goes on. Answers whether the view was drawn whole.
  auto drawView = [&e](const Viewport& view) {
    setUpViewCamera(view, &view == &e.viewSet.views[e.viewSet.activeView] &&
                              e.toolState.dragMode == kScrollView);
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    glPushMatrix();
    const bool before = e.drawing.frameInPart;
    e.drawing.frameInPart = false;
    try {
      applyRenderMode(view.renderMode);
      drawReferenceImage(e, view);
      if (e.viewSet.showGrid) drawAxesAndGrid(view);
      drawScene(e, view);
    } catch (const std::bad_alloc&) {
      endCutDrawing(depth + 1);
      e.drawing.frameInPart = true;
    }
    glPopMatrix();
    const bool whole = !e.drawing.frameInPart;
    e.drawing.frameInPart |= before;
    return whole;
  };
  // In the one-view layout the shown view's rectangle is the whole window;
  // in the four-view layout the views tile it.
  const int first = e.viewSet.layoutMode == 0 ? e.viewSet.singleView : 0,
            last = e.viewSet.layoutMode == 0 ? e.viewSet.singleView : 3;
  e.drawing.viewsRedrawn = 0;
  // A changed UV view is drawn first, inside its own rectangle, and kept; the
  // views drawn next cover that rectangle again, and the overlay puts the
  // kept picture in its place among the panels.
  if (e.drawing.keepViewPictures && e.uvViewShown) {
    const ViewContent now = viewContent(e, kUvView);
    if (e.drawing.keptViews.stale(kUvView, now)) {
      const Viewport& uv = e.viewSet.uvView();
      glScissor(uv.rectLeft, uv.rectBottom, uv.rectRight - uv.rectLeft, uv.rectTop - uv.rectBottom);
      glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
      setOverlayShading(e);
      drawUvContent(e);
      keepViewPicture(e.drawing.keptViews.picture(kUvView), uv);
      e.drawing.keptViews.picture(kUvView).content = now;
      e.drawing.viewsRedrawn |= 1 << kUvView;
    }
  }
  for (int i = first; i <= last; ++i) {
    const Viewport& v = e.viewSet.views[i];
    const ViewContent now = viewContent(e, i);
    KeptPicture& picture = e.drawing.keptViews.picture(i);
    if (e.drawing.keepViewPictures && !e.drawing.keptViews.stale(i, now)) {
      showViewPicture(picture, v);
      continue;
    }
    glViewport(v.rectLeft, v.rectBottom, v.rectRight - v.rectLeft, v.rectTop - v.rectBottom);
    glScissor(v.rectLeft, v.rectBottom, v.rectRight - v.rectLeft, v.rectTop - v.rectBottom);
    const bool whole = drawView(v);
    e.drawing.viewsRedrawn |= 1 << i;
    if (e.drawing.keepViewPictures && whole) {  // a view drawn in part is drawn again next frame
      keepViewPicture(picture, v);
      picture.content = now;
    }
  }
  setOverlayShading(e);

  setUpOverlay(e);
  drawCursorLabel(e);
  drawWidgets(e);
  drawViewFrames(e);
  glFlush();
}

// The overlay's two-coloured lines take the shading the last view's drawing
// leaves, kept picture or not.
void setOverlayShading(const FrameInput& e) {
  applyRenderMode(e.viewSet.views[e.viewSet.layoutMode == 0 ? e.viewSet.singleView : 3].renderMode);
  if (e.keyDown['l'] && e.doc.model->groups.tailItem()) glShadeModel(GL_SMOOTH);
}

void setUpOverlay(const FrameInput& e) {
  const int w = pixels(e.windowWidth), h = pixels(e.windowHeight);
  glViewport(0, 0, w, h);
  glScissor(0, 0, w, h);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, e.overlayWidth, 0, e.overlayHeight, 0, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
}

void applyRenderMode(int mode) {
  switch (mode) {
    case kWireframe:
      glShadeModel(GL_FLAT);
      glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
      break;
    case kFlatShaded:
    case kTextured:
      glShadeModel(GL_FLAT);
      glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
      break;
    case kSmoothShaded:
      glShadeModel(GL_SMOOTH);
      glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
      break;
    default:
      break;
  }
}

void drawCursorLabel(const FrameInput& e) {
  glColor4f(1, 1, 1, 0.8f);
  glRasterPos2d(e.pointer.mouseX + 5, e.pointer.mouseY + 5);
  drawText(e.cursorLabel);
  glRasterPos2d(e.pointer.mouseX + 5, e.pointer.mouseY - 5);
  const Viewport& v = e.viewSet.views[e.viewUnderPointer];
  char text[128];
  std::snprintf(text, sizeof text, "%.2f, %.2f", v.viewX(e.pointer.mouseX),
                v.viewY(e.pointer.mouseY));
  drawText(text);
}

void drawWidgets(const FrameInput& e) {
  for (Panel* panel : e.widgets) {
    if (panel->isHidden()) continue;
    if (panel == e.activeMenu && e.toolState.dragMode != kPopupMenu) continue;
    if (panel == e.uvMapperWidget) {
      if (!e.panelsShown) continue;
      if (!panel->isMinimised() && e.drawing.keepViewPictures) {
        drawUvRubberBand(e);
        showViewPictureInOverlay(e.drawing.keptViews.picture(kUvView), e.viewSet.uvView());
      } else if (!panel->isMinimised()) {
        drawUvView(e);
      }
      panel->draw();
    } else if (e.panelsShown || panel == e.activeMenu || panel == e.timelineWidget) {
      panel->draw();
    }
  }
}

void drawViewFrames(const FrameInput& e) {
  const double w = e.windowWidth, h = e.windowHeight;
  glColor4f(1, 1, 1, 0.7f);
  if (e.viewSet.layoutMode == 1) {
    glBegin(GL_LINES);
    glVertex2i(pixels(w * e.viewSet.splitX), 0);
    glVertex2i(pixels(w * e.viewSet.splitX), pixels(h));
    glVertex2i(0, pixels(h * e.viewSet.splitY));
    glVertex2i(pixels(w), pixels(h * e.viewSet.splitY));
    glEnd();
    const int under = e.viewUnderPointer;
    const int captionX[4] = {5, pixels(w * e.viewSet.splitX + 5), 5,
                             pixels(w * e.viewSet.splitX + 5)};
    const int captionY[4] = {5, 5, pixels(h * e.viewSet.splitY + 5),
                             pixels(h * e.viewSet.splitY + 5)};
    for (int i = 0; i < 4; ++i) {
      const Viewport& v = e.viewSet.views[i];
      if (i == under) {
        glBegin(GL_LINE_LOOP);
        glColor3f(0.9f, 0.9f, 0);
        glVertex2i(v.rectLeft + 1, v.rectBottom + 1);
        glVertex2i(v.rectRight - 1, v.rectBottom + 1);
        glColor3f(0.8f, 0.8f, 0.6f);
        glVertex2i(v.rectRight - 1, v.rectTop - 1);
        glVertex2i(v.rectLeft + 1, v.rectTop - 1);
        glEnd();
      }
      glRasterPos2i(captionX[i], captionY[i]);
      drawText(e.viewCaptions[i]);
    }
  }
  const bool boxDrag = e.toolState.dragMode == kToolDrag &&
                       (e.toolState.tool == kCreateBox || e.toolState.tool == kCreateCylinder);
  if (e.toolState.dragMode == kRubberBand || boxDrag) {
    glColor3f(1, 1, 1);
    drawRectOutline(e.pointer.pressX, e.pointer.pressY, e.pointer.mouseX, e.pointer.mouseY);
  }
}
