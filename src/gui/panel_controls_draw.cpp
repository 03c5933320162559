// Control squares are plain fills without labels.

#include <GL/gl.h>

#include "gui/panel.h"

namespace {
constexpr int kOutline = 5;
}  // namespace

void Panel::drawControls() {
  glColor4fv(ui_->colour(kOutline));
  minimiseControl_->drawOutline(x_, y_);
  glColor4fv(minimised_ ? minimiseControl_->colourB() : minimiseControl_->colourA());
  minimiseControl_->drawFilled(x_, y_);
}

void Panel::drawEditOverlay() {
  updateHoveredChild();
  if (!editable_) return;
  glColor4fv(editMode_ ? editControl_->colourB() : editControl_->colourA());
  editControl_->drawFilled(x_, y_);
  if (!editMode_ || !hoveredChild_) return;
  for (Button* control : {moveUpControl_, moveDownControl_}) {
    glColor4fv(ui_->colour(kOutline));
    control->drawOutline(x_, y_);
    if (control->isChecked()) control->drawCross(x_, y_);
    glColor4fv(control->isChecked() ? editControl_->colourA() : editControl_->colourB());
    control->drawFilled(x_, y_);
  }
}
