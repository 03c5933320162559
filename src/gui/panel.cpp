#include "gui/panel.h"

#include <utility>

namespace {
// Room reserved above a child whose label is drawn outside it.
constexpr int kOutsideLabelRoom = 12;
// Height of a minimised panel's strip.
constexpr double kStripHeight = 25;

bool hasOutsideLabel(const Widget* w) {
  return w->isLabelShown() && w->isLabelOutside();
}
bool stretches(const Widget* w) {
  return w->heightMode() == kProportionalSize || w->heightMode() == kFillSize;
}
}  // namespace

Panel::Panel(std::string name, double x, double y, double width, double height, UiContext* ui)
    : Widget(x, y, width, height, std::move(name)),
      savedHeight_(static_cast<int>(height)),
      titleHeight_(ui->titleBarHeight()),
      ui_(ui) {
  buildControls();
}

Panel::~Panel() {
  // The controls are the panel's own; every other child belongs to the builder.
  delete minimiseControl_;
  delete editControl_;
  delete moveUpControl_;
  delete moveDownControl_;
}

void Panel::configure(const PanelAbilities& abilities) {
  resizable_ = abilities.resizable;
  editable_ = abilities.editable;
  minimisable_ = abilities.minimisable;
}

void Panel::makeMenu(List<Button>* items, const MenuShape& shape) {
  const double width = shape.width, rowHeight = shape.rowHeight;
  const int withTitle = shape.withTitle;
  resizable_ = editable_ = minimisable_ = 0;
  const double title = withTitle ? titleHeight_ : 0;
  buttons_ = items;
  width_ = width;
  height_ = items->count() * rowHeight + title;
  // Pushing each item to the front stacks the first item highest: the top row.
  for (Button* item : *items) {
    children_.pushFront(item);
    item->setSize(width, rowHeight);
    item->showLabel();
    item->setLabelAlignment(0, 2);
  }
  margin_ = 0;
  hasTitleBar_ = withTitle;
  stretchChildren();
  stackChildren();
}

void Panel::addMessageBox(MessageBox* box) {
  messageBoxes_.pushFront(box);
  children_.pushFront(box);
  box->recordRatios(width_ - 2 * margin_, stretchSpace());
}

void Panel::addEntry(TextEntry* entry) {
  entries_.pushFront(entry);
  children_.pushFront(entry);
  entry->recordRatios(width_ - 2 * margin_, stretchSpace());
}

double Panel::stretchSpace() const {
  double fixed = 2 * margin_ + titleHeight_;
  for (const Widget* child : children_) {
    if (child->heightMode() == kKeepSize) fixed += child->height();
    if (hasOutsideLabel(child)) fixed += kOutsideLabelRoom;
  }
  return height_ - fixed - children_.count() * margin_;
}

void Panel::stackChildren() {
  // Walks with the list's own cursor and leaves it on the last node: the edit
  // walk that called us ends there, so one press moves at most one child.
  int c = static_cast<int>(margin_);
  if (!children_.first()) return;
  do {
    Widget* child = children_.currentItem();
    child->setPosition(margin_, c);
    c = static_cast<int>(child->height() + margin_ + c);
    if (hasOutsideLabel(child)) c += kOutsideLabelRoom;
  } while (children_.next());
}

void Panel::stretchChildren() {
  const double inner = width_ - 2 * margin_;
  const double space = stretchSpace();
  double stretchTotal = 0;
  for (const Widget* child : children_) {
    if (stretches(child)) stretchTotal += child->height();
  }
  // Proportional and filling children share the space by their current heights.
  for (Widget* child : children_) {
    if (stretches(child)) child->setHeight(child->height() / stretchTotal * space);
    if (child->widthMode() == kFillSize) child->setWidth(inner);
    if (child->width() > inner) child->setWidth(inner);
  }
}

void Panel::resizeBy(double dx, double dy) {
  if (!resizable_) return;
  const double oldInner = width_ - 2 * margin_;
  const double oldSpace = stretchSpace();
  for (Widget* child : children_) child->recordRatios(oldInner, oldSpace);
  width_ += dx;
  height_ += dy;
  savedHeight_ = static_cast<int>(height_);
  // Grow or shrink about the centre.
  x_ -= dx / 2;
  y_ -= dy / 2;
  const double inner = width_ - 2 * margin_;
  const double space = stretchSpace();
  for (Widget* child : children_) child->applyRatios(inner, space);
  minimiseControl_->setY(height_ - margin_ - minimiseControl_->height());
  editControl_->setPosition(width_ - margin_ - editControl_->width(),
                            height_ - margin_ - editControl_->height());
  stackChildren();
}

void Panel::setMinimised(int flag) {
  if (!minimisable_) return;
  minimised_ = flag;
  double controlY;
  // The top edge stays where it is in both directions.
  if (flag) {
    y_ = y_ + height_ - kStripHeight;
    height_ = kStripHeight;
    controlY = 10;
  } else {
    height_ = savedHeight_;
    y_ = y_ - height_ + kStripHeight;
    controlY = height_ - 15;
  }
  minimiseControl_->setPosition(5, controlY);
}

int Panel::inTitleBar(double px, double py) const {
  return contains(px, py) && py - y_ > height_ - titleHeight_;
}
