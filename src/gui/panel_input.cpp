// Presses, releases and the per-frame follow-up of a panel.
//
// Moving (left drag of the title band):
//   state    event                                   effect
//   idle     left press in the band, not resizing    moving, grab = pointer - corner
//   moving   update                                  corner = pointer - grab, kept in the window
//   moving   left release in the band                idle
//   moving   right release (any panel)               idle
//   moving   update finds the left button up         idle
//   moving   drawing finds the pointer outside       idle
//
// Resizing (middle drag, about the centre):
//   state     event                                  effect
//   idle      middle press, not moving or minimised  resizing, grab = pointer
//   resizing  middle release                         resizeBy(2 * (grab - pointer)), idle
//                                                    (within the least size and the window)
//   resizing  update finds the middle button up      same as the release

#include "gui/panel.h"

namespace {
constexpr int kLeft = 0;
constexpr int kMiddle = 1;
constexpr int kRight = 2;
constexpr int kDown = 0;
constexpr int kUp = 1;
}  // namespace

int Panel::mouseButton(int button, int state) {
  const double mx = ui_->mouseX();
  const double my = ui_->mouseY();
  const bool inBand = my - y_ > height_ - titleHeight_;
  int hitButton = 0;

  if (button == kLeft && state == kDown) {
    if (inBand && !moving_ && !resizing_) {
      moving_ = 1;
      grabX_ = static_cast<int>(mx - x_);
      grabY_ = static_cast<int>(my - y_);
    }
    const double px = mx - x_;
    const double py = my - y_;
    // Controls are tested whether drawn or not.
    for (Button* control : controls_) {
      if (!control->contains(px, py)) continue;
      if (control->isToggle()) control->toggle();
      editCommand(control->code());
      ui_->pushCommand(control->code());
    }
    for (Button* b : *buttons_) {
      if (!b->contains(px, py)) continue;
      if (b->isToggle()) b->toggle();
      ui_->pushCommand(b->code());
      hitButton = 1;
    }
    for (TextEntry* entry : entries_) {
      if (entry->contains(px, py)) ui_->setFocusedEntry(entry);
    }
    for (TimelineStrip* strip : timelines_) {
      if (strip->contains(px, py)) ui_->pushCommand(kFrameCommandBase + strip->frameAt(px));
    }
  } else if (button == kLeft && state == kUp) {
    if (inBand) moving_ = false, grabX_ = grabY_ = 0;
  } else if (button == kMiddle && state == kDown) {
    if (!resizing_ && !moving_ && !minimised_) {
      resizing_ = 1;
      grabX_ = static_cast<int>(mx);
      grabY_ = static_cast<int>(my);
    }
  } else if (button == kMiddle && state == kUp) {
    finishResize();
  }
  return hitButton;
}

bool Panel::scrollMessages(int rows) {
  if (minimised_) return false;
  const double px = ui_->mouseX() - x_;
  const double py = ui_->mouseY() - y_;
  for (MessageBox* box : messageBoxes_) {
    if (!box->contains(px, py)) continue;
    box->scrollBy(rows);
    return true;
  }
  return false;
}

void Panel::buttonReleased(int button) {
  if (button == kRight) {
    moving_ = false, grabX_ = grabY_ = 0;
  } else if (button == kMiddle) {
    finishResize();
  }
}

void Panel::finishResize() {
  // A panel that is not resizable still ends the drag; resizeBy ignores it.
  if (!resizing_) return;
  resizeBy(2 * (grabX_ - ui_->mouseX()), 2 * (grabY_ - ui_->mouseY()));
  resizing_ = false, grabX_ = grabY_ = 0;
}

void Panel::update() {
  if (moving_) {
    x_ = ui_->mouseX() - grabX_;
    y_ = ui_->mouseY() - grabY_;
    keepInside(ui_->windowWidth(), ui_->windowHeight());
  }
  if (!ui_->isButtonDown(kMiddle) && resizing_) finishResize();
  if (!ui_->isButtonDown(kLeft) && moving_) moving_ = false, grabX_ = grabY_ = 0;
}
