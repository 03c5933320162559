#include "gui/panel.h"

#include <algorithm>
#include <utility>

namespace {
// Room reserved above a child whose label is drawn outside it.
constexpr int kOutsideLabelRoom = 12;
// Height of a minimised panel's strip.
constexpr double kStripHeight = 25;
// Height a resize leaves to the stretching children at least: a message box
// of 45 pixels still shows two lines.
constexpr double kLeastStretch = 45;

// Where a panel's edge from `at`, `size` long, goes to lie inside a window
// `window` long: past the far edge it stops on it, before 0 at 0.
double insideWindow(double at, double size, double window) {
  if (at + size > window) return window - size;
  return at < 0 ? 0 : at;
}

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
  resizable_ = editable_ = minimisable_ = false;
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

double Panel::leastWidth() const {
  double widest = 0;
  for (const Widget* child : children_) {
    if (child->widthMode() == kKeepSize) widest = std::max(widest, child->width());
  }
  return std::max(leastWidth_, widest + 2 * margin_);
}

double Panel::leastHeight() const {
  // The stretch space is what is left of the height; a resize leaves it
  // room for two lines, so that the children never turn over.
  bool stretching = false;
  for (const Widget* child : children_) stretching = stretching || stretches(child);
  return std::max(leastHeight_, height_ - stretchSpace() + (stretching ? kLeastStretch : 0));
}

PanelRect Panel::resized(double dx, double dy) const {
  const double windowW = ui_->windowWidth(), windowH = ui_->windowHeight();
  const double leastW = leastWidth(), leastH = leastHeight();
  PanelRect to;
  to.width = std::clamp(width_ + dx, leastW, std::max(leastW, windowW));
  to.height = std::clamp(height_ + dy, leastH, std::max(leastH, windowH));
  // Grow or shrink about the centre.
  to.x = x_ - (to.width - width_) / 2;
  to.y = y_ - (to.height - height_) / 2;
  to.x = insideWindow(to.x, to.width, windowW);
  to.y = insideWindow(to.y, to.height, windowH);
  return to;
}

void Panel::keepInside(double windowWidth, double windowHeight) {
  x_ = insideWindow(x_, width_, windowWidth);
  y_ = insideWindow(y_, height_, windowHeight);
}

void Panel::popUpAt(double px, double py) {
  const double windowW = ui_->windowWidth(), windowH = ui_->windowHeight();
  x_ = px + 5;
  y_ = py - height_;
  if (x_ + width_ > windowW) x_ = px - 5 - width_;
  if (y_ < 0) y_ = py;
  keepInside(windowW, windowH);
}

void Panel::resizeBy(double dx, double dy) {
  if (!resizable_) return;
  const PanelRect to = resized(dx, dy);
  const double oldInner = width_ - 2 * margin_;
  const double oldSpace = stretchSpace();
  for (Widget* child : children_) child->recordRatios(oldInner, oldSpace);
  width_ = to.width;
  height_ = to.height;
  savedHeight_ = static_cast<int>(height_);
  x_ = to.x;
  y_ = to.y;
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

bool Panel::inTitleBar(double px, double py) const {
  return contains(px, py) && py - y_ > height_ - titleHeight_;
}
