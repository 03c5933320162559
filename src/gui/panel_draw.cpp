// A panel draws its parts front first: the depth test keeps the first fragment
// at each pixel, so children come before the title band and the background.

#include <GL/gl.h>

#include "gui/panel.h"
#include "gui/rect_draw.h"
#include "gui/text.h"

namespace {
enum Slot {
  kBackground = 0,
  kBackgroundHovered = 1,
  kBackgroundMoving = 2,
  kBackgroundResizing = 3,
  kTitleBand = 4,
  kOutline = 5,
  kMenuButton = 7,
  kMenuButtonHovered = 8,
  kEntryFocused = 11,
  kEntryUnfocused = 12,
  kLabel = 15,
};

}  // namespace

void Panel::draw() {
  const UiContext& ui = *ui_;
  auto colour = [&ui](int slot) { glColor4fv(ui.colour(slot)); };
  const double mx = ui.mouseX();
  const double my = ui.mouseY();

  colour(kOutline);
  drawOutline(0, 0);

  if (moving_) {
    drawRectOutline(x_ - 3, y_ - 3, x_ + width_ + 3, y_ + height_ + 3);
    if (!contains(mx, my)) moving_ = 0;
  }

  if (resizing_) {
    // Preview of the size the release will give.
    static const float kPreview[3][4] = {
        {0.9f, 0.9f, 0.9f, 0.5f}, {1, 1, 1, 1}, {0.9f, 0.9f, 0.9f, 0.5f}};
    const PanelRect to = resized(2 * (grabX_ - mx), 2 * (grabY_ - my));
    for (int i = 0; i < 3; ++i) {
      glColor4fv(kPreview[i]);
      drawRectOutline(to.x - 1 + i, to.y - 1 + i, to.x + to.width - 1 + i,
                      to.y + to.height - 1 + i);
    }
  }

  if (minimisable_) drawControls();

  if (isLabelShown()) {
    colour(kLabel);
    glRasterPos2d(minimisable_ ? x_ + 20 : x_ + 5, y_ + height_ - 15);
    drawTextClipped(name_, static_cast<int>(width_ - 30));
  }

  if (!minimised_) {
    drawEditOverlay();
    for (Button* b : *buttons_) {
      colour(kOutline);
      b->drawOutline(x_, y_);
      if (b->isLabelShown()) {
        colour(kLabel);
        b->drawLabel(x_, y_);
      }
      if (b->isChecked()) b->drawCross(x_, y_);
      colour(b->contains(mx - x_, my - y_) ? kMenuButtonHovered : kMenuButton);
      b->drawFilled(x_, y_);
    }
    for (MessageBox* box : messageBoxes_) {
      box->update();
      box->drawLines(x_, y_);
      if (box->isLabelShown()) {
        colour(kLabel);
        box->drawLabel(x_, y_);
      }
      colour(kOutline);
      box->drawOutline(x_, y_);
    }
    for (TimelineStrip* strip : timelines_) strip->draw(x_, y_);
    for (TextEntry* entry : entries_) {
      entry->drawTyped(x_, y_);
      colour(entry == ui.focusedEntry() ? kEntryFocused : kEntryUnfocused);
      entry->drawFilled(x_, y_);
      if (entry->isLabelShown()) {
        colour(kLabel);
        entry->drawLabel(x_, y_);
      }
      colour(kOutline);
      entry->drawOutline(x_, y_);
    }
  }

  if (hasTitleBar_) {
    const double bandBottom = y_ + height_ - titleHeight_;
    colour(kTitleBand);
    glBegin(GL_QUADS);
    glVertex2d(x_, bandBottom);
    glVertex2d(x_ + width_, bandBottom);
    glVertex2d(x_ + width_, y_ + height_);
    glVertex2d(x_, y_ + height_);
    glEnd();
    colour(kOutline);
    glBegin(GL_LINES);
    glVertex2d(x_, bandBottom);
    glVertex2d(x_ + width_, bandBottom);
    glEnd();
  }

  if (moving_) {
    colour(kBackgroundMoving);
  } else if (resizing_) {
    colour(kBackgroundResizing);
  } else {
    colour(contains(mx, my) ? kBackgroundHovered : kBackground);
  }
  drawFilled(0, 0);
}
