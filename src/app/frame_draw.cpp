// One frame: each shown view's 3D picture inside its rectangle, then the 2D
// overlay over the whole window (cursor label, panels with the UV view, view
// frames and captions). The overlay lies at depth 0 with the depth test on,
// so what is drawn first stays in front: the order below is the stacking order.

#include <GL/gl.h>

#include <cmath>
#include <cstdio>

#include "app/editor.h"
#include "app/view_pictures.h"
#include "gui/rect_draw.h"
#include "gui/text.h"
#include "view/view_camera.h"

namespace {
int pixels(double v) {
  return static_cast<int>(v);
}
}  // namespace

void Editor::drawFrame() {
  glEnable(GL_SCISSOR_TEST);
  glMatrixMode(GL_MODELVIEW);
  glColor3f(1, 1, 1);
  if (lightPending) {
    setUpLight();
    lightPending = 0;
  }
  // Lighting is switched on only around the shaded model drawing.
  glDisable(GL_LIGHTING);

  // The views draw the model as it stands when the frame begins. With kept
  // pictures every change to the model moves sceneRevision on, so arrays
  // built for an earlier frame of the same revision still hold.
  struct FrameOfModel {
    Model& model;
    FrameOfModel(Model& m, uint64_t revision) : model(m) { model.beginFrame(revision); }
    ~FrameOfModel() { model.endFrame(); }
  } frame(*model, keepViewPictures ? sceneRevision + 1 : 0);

  auto drawView = [this](Viewport& view) {
    setUpViewCamera(view, &view == &views[activeView] && dragMode == kScrollView);
    glPushMatrix();
    applyRenderMode(view.renderMode);
    if (showGrid) drawAxesAndGrid(view);
    drawScene(view);
    glPopMatrix();
  };
  // In the one-view layout the shown view's rectangle is the whole window;
  // in the four-view layout the views tile it.
  const int first = layoutMode == 0 ? singleView : 0, last = layoutMode == 0 ? singleView : 3;
  viewsRedrawn = 0;
  // A changed UV view is drawn first, inside its own rectangle, and kept; the
  // views drawn next cover that rectangle again, and the overlay puts the
  // kept picture in its place among the panels.
  if (keepViewPictures && uvViewShown()) {
    placeUvView();
    const ViewContent now = viewContent(*this, kUvView);
    if (keptViews.stale(kUvView, now)) {
      const Viewport& uv = uvView();
      glScissor(uv.rectLeft, uv.rectBottom, uv.rectRight - uv.rectLeft, uv.rectTop - uv.rectBottom);
      glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
      setOverlayShading();
      drawUvContent();
      keepViewPicture(keptViews.picture(kUvView), uv);
      keptViews.picture(kUvView).content = now;
      viewsRedrawn |= 1 << kUvView;
    }
  }
  for (int i = first; i <= last; ++i) {
    Viewport& v = views[i];
    const ViewContent now = viewContent(*this, i);
    KeptPicture& picture = keptViews.picture(i);
    if (keepViewPictures && !keptViews.stale(i, now)) {
      showViewPicture(picture, v);
      continue;
    }
    glViewport(v.rectLeft, v.rectBottom, v.rectRight - v.rectLeft, v.rectTop - v.rectBottom);
    glScissor(v.rectLeft, v.rectBottom, v.rectRight - v.rectLeft, v.rectTop - v.rectBottom);
    drawView(v);
    viewsRedrawn |= 1 << i;
    if (keepViewPictures) {
      keepViewPicture(picture, v);
      picture.content = now;
    }
  }
  setOverlayShading();

  setUpOverlay();
  drawCursorLabel();
  drawWidgets();
  drawViewFrames();
  glFlush();
}

// The overlay's two-coloured lines take the shading the last view's drawing
// leaves, kept picture or not.
void Editor::setOverlayShading() {
  applyRenderMode(views[layoutMode == 0 ? singleView : 3].renderMode);
  if (keyDown['l'] && model->groups.tailItem()) glShadeModel(GL_SMOOTH);
}

void Editor::setUpOverlay() {
  const int w = pixels(windowWidth()), h = pixels(windowHeight());
  glViewport(0, 0, w, h);
  glScissor(0, 0, w, h);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, ui->windowWidth(), 0, ui->windowHeight(), 0, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
}

void Editor::applyRenderMode(int mode) {
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

void Editor::drawCursorLabel() {
  glColor4f(1, 1, 1, 0.8f);
  glRasterPos2d(mouseX + 5, mouseY + 5);
  drawText(cursorLabelName());
  glRasterPos2d(mouseX + 5, mouseY - 5);
  const Viewport& v = views[viewAt(mouseX, mouseY)];
  char text[128];
  std::snprintf(text, sizeof text, "%.2f, %.2f", v.viewX(mouseX), v.viewY(mouseY));
  drawText(text);
}

void Editor::drawWidgets() {
  for (Panel* panel : widgets) {
    if (panel->isHidden()) continue;
    if (panel == activeMenu && dragMode != kPopupMenu) continue;
    if (panel == uvMapperWidget) {
      if (!panelsShown) continue;
      if (!panel->isMinimised() && keepViewPictures) {
        placeUvView();
        drawUvRubberBand();
        showViewPictureInOverlay(keptViews.picture(kUvView), uvView());
      } else if (!panel->isMinimised()) {
        drawUvView();
      }
      panel->draw();
    } else if (panelsShown || panel == activeMenu) {
      panel->draw();
    }
  }
}

void Editor::drawViewFrames() {
  const double w = windowWidth(), h = windowHeight();
  glColor4f(1, 1, 1, 0.7f);
  if (layoutMode == 1) {
    glBegin(GL_LINES);
    glVertex2i(pixels(w * splitX), 0);
    glVertex2i(pixels(w * splitX), pixels(h));
    glVertex2i(0, pixels(h * splitY));
    glVertex2i(pixels(w), pixels(h * splitY));
    glEnd();
    const int under = viewAt(mouseX, mouseY);
    const int captionX[4] = {5, pixels(w * splitX + 5), 5, pixels(w * splitX + 5)};
    const int captionY[4] = {5, 5, pixels(h * splitY + 5), pixels(h * splitY + 5)};
    for (int i = 0; i < 4; ++i) {
      const Viewport& v = views[i];
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
      drawText(viewCaption(i));
    }
  }
  const bool boxDrag = dragMode == kToolDrag && (tool == kCreateBox || tool == kCreateCylinder);
  if (dragMode == kRubberBand || boxDrag) {
    glColor3f(1, 1, 1);
    drawRectOutline(pressX, pressY, mouseX, mouseY);
  }
}
