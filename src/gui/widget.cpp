#include "gui/widget.h"

#include <utility>

#include "gui/text.h"

Widget::Widget(double x, double y, double width, double height, std::string name)
    : x_(x), y_(y), width_(width), height_(height), name_(std::move(name)) {}

void Widget::setLabelAlignment(int h, int v) {
  if (h >= 0 && h <= 2) labelAlignX_ = h;
  if (v >= 0 && v <= 2) labelAlignY_ = v;
}

bool Widget::contains(double px, double py) const {
  return px >= x_ && px <= x_ + width_ && py >= y_ && py <= y_ + height_;
}

bool Widget::labelPosition(double ox, double oy,
                           const std::function<int(const std::string&)>& textWidth, double* rasterX,
                           double* rasterY) const {
  if (labelHidden_ == 1) return false;
  if (labelAlignX_ < 0 || labelAlignX_ > 2 || labelAlignY_ < 0 || labelAlignY_ > 2) return false;
  if (labelOutside_ != 0 && labelOutside_ != 1) return false;

  const double m = margin_;
  const double f = fontHeight();
  const double left = ox + x_;
  const double bottom = oy + y_;
  if (labelCentred_ && labelOutside_ == 0) {
    // The capitals' height in the middle: the font's height less its descent.
    *rasterX = left + (width_ - textWidth(name_)) / 2;
    *rasterY = bottom + (height_ - (f - kFontDescent)) / 2;
    return true;
  }
  switch (labelAlignX_) {
    case 0:
      *rasterX = left + m;
      break;
    case 1:
      // The text starts at the middle; it is not centred.
      *rasterX = left + width_ / 2;
      break;
    default:
      *rasterX = left + width_ - textWidth(name_) - m;
      break;
  }
  if (labelAlignY_ == 1) {
    *rasterY = bottom + height_ / 2;
  } else if (labelOutside_ == 0) {
    *rasterY = labelAlignY_ == 0 ? bottom + height_ - f - m : bottom + m;
  } else {
    *rasterY = labelAlignY_ == 0 ? bottom + height_ + m : bottom - f;
  }
  return true;
}

void Widget::recordRatios(double innerWidth, double stretchSpace) {
  widthRatio_ = widthMode_ == kFillSize ? 1 : width_ / innerWidth;
  heightRatio_ = heightMode_ == kFillSize ? 1 : height_ / stretchSpace;
  xRatio_ = x_ / innerWidth;
  yRatio_ = y_ / stretchSpace;
}

void Widget::applyRatios(double innerWidth, double stretchSpace) {
  if (widthMode_ == kProportionalSize) {
    width_ = innerWidth * widthRatio_;
  } else if (widthMode_ == kFillSize) {
    width_ = innerWidth;
  }
  if (heightMode_ == kProportionalSize) {
    height_ = stretchSpace * heightRatio_;
  } else if (heightMode_ == kFillSize) {
    height_ = stretchSpace;
  }
  x_ = innerWidth * xRatio_;
  y_ = stretchSpace * yRatio_;
}

Button::Button(std::string name, double x, double y, double width, double height, int code,
               int toggles)
    : Widget(x, y, width, height, std::move(name)), code_(code), toggles_(toggles) {
  setLabelAlignment(1, 1);
  showLabel();
}
