// The four control buttons every panel carries, and edit mode.

#include <cstdio>

#include "gui/panel.h"

namespace {
constexpr double kControlSize = 10;
// Gap between the Up and Down squares over a hovered child.
constexpr double kUpDownGap = 3;
enum ControlCode { kMinimise = 0, kMoveUp = 1, kMoveDown = 2, kEdit = 3 };
}  // namespace

void Panel::buildControls() {
  const double m = margin_;
  const double top = height_ - kControlSize - m;
  minimiseControl_ =
      new Button("Minimize/Maximize", m, top, kControlSize, kControlSize, kMinimise, 0);
  editControl_ =
      new Button("Edit", width_ - kControlSize - m, top, kControlSize, kControlSize, kEdit, 0);
  // Up and Down start on the minimise square until a hovered child moves them.
  moveUpControl_ = new Button("Move Component Up", m, top, kControlSize, kControlSize, kMoveUp, 0);
  moveDownControl_ =
      new Button("Move Component Down", m, top, kControlSize, kControlSize, kMoveDown, 0);
  for (Button* control : {minimiseControl_, editControl_, moveUpControl_, moveDownControl_}) {
    controls_.pushFront(control);
    control->setColours(ui_->colour(13), ui_->colour(14));
  }
}

void Panel::editCommand(int cmd) {
  std::printf("Processing Edit Command. Cmd = %d %d\n", cmd, 3);
  if (cmd == kMinimise) setMinimised(!minimised_);
  if (cmd == kEdit) editMode_ = !editMode_;
  if (!editMode_ || (cmd != kMoveUp && cmd != kMoveDown)) return;

  const double px = ui_->mouseX() - x_;
  const double py = ui_->mouseY() - y_;
  // The walk shares the list's cursor with stackChildren, which leaves it on the
  // last node, so the walk stops after the first child it acts on.
  if (!children_.first()) return;
  do {
    Widget* child = children_.currentItem();
    if (!child->contains(px, py)) continue;
    if (cmd == kMoveUp) {
      children_.swapWithNext(child);
    } else {
      children_.swapWithPrevious(child);
    }
    stackChildren();
  } while (children_.next());
}

void Panel::updateHoveredChild() {
  hoveredChild_ = nullptr;
  const double px = ui_->mouseX() - x_;
  const double py = ui_->mouseY() - y_;
  // The last child in list order under the pointer wins.
  for (Widget* child : children_) {
    if (child->contains(px, py) && editMode_) hoveredChild_ = child;
  }
  if (!hoveredChild_) return;  // the squares keep their last place
  const Widget* c = hoveredChild_;
  Button* up = moveUpControl_;
  Button* down = moveDownControl_;
  const double m = margin_;
  up->setPosition(c->x() + c->width() - up->width() - m, c->y() + c->height() - up->height() - m);
  down->setPosition(c->x() + c->width() - down->width() - m,
                    c->y() + c->height() - up->height() - down->height() - m - kUpDownGap);
}
