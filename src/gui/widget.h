#pragma once
// What every interface element shares: a rectangle relative to its holding
// panel (y up), a name that doubles as its label, a margin, rules for following
// the holder's size and rules for placing the label. Kinds are separate classes
// on this base, without virtual operations.
//
// Drawing relies on the depth test with everything at depth 0: the first
// fragment drawn at a pixel wins, so each element draws its foreground first
// and its fill last.

#include <functional>
#include <string>

enum SizeMode { kKeepSize = 0, kProportionalSize = 1, kFillSize = 2 };

class Widget {
 public:
  Widget(double x, double y, double width, double height, std::string name);

  double x() const { return x_; }
  double y() const { return y_; }
  double width() const { return width_; }
  double height() const { return height_; }
  void setX(double x) { x_ = x; }
  void setY(double y) { y_ = y; }
  void setWidth(double w) { width_ = w; }
  void setHeight(double h) { height_ = h; }
  void setPosition(double x, double y) {
    x_ = x;
    y_ = y;
  }
  void setSize(double w, double h) {
    width_ = w;
    height_ = h;
  }
  double margin() const { return margin_; }
  void setMargin(double m) { margin_ = m; }

  void setWidthMode(int m) { widthMode_ = m; }
  void setHeightMode(int m) { heightMode_ = m; }
  int widthMode() const { return widthMode_; }
  int heightMode() const { return heightMode_; }

  // Each value is stored only if it lies in 0..2. h: 0 left, 1 middle, 2 right;
  // v: 0 top, 1 middle, 2 bottom.
  void setLabelAlignment(int h, int v);
  int labelAlignX() const { return labelAlignX_; }
  int labelAlignY() const { return labelAlignY_; }
  void hideLabel() { labelHidden_ = 1; }
  void showLabel() { labelHidden_ = 0; }
  bool isLabelShown() const { return labelHidden_ == 0; }
  // A centred label lies in the middle of the widget both ways, whatever the
  // alignment says (inside only).
  void centreLabel() { labelCentred_ = true; }
  void setLabelOutside(int flag) { labelOutside_ = flag; }
  int isLabelOutside() const { return labelOutside_; }

  void hide() { hidden_ = true; }
  void show() { hidden_ = false; }
  bool isHidden() const { return hidden_; }

  const std::string& name() const { return name_; }

  // Inclusive on all four edges; (px, py) relative to the holder.
  bool contains(double px, double py) const;

  // Where drawLabel sets the raster position, given the text width measure;
  // false when no label is drawn.
  bool labelPosition(double ox, double oy, const std::function<int(const std::string&)>& textWidth,
                     double* rasterX, double* rasterY) const;

  // Drawing in the current colour, offset by the holder's corner (widget_draw.cpp).
  void drawOutline(double ox, double oy) const;
  void drawFilled(double ox, double oy) const;
  void drawCross(double ox, double oy) const;
  void drawLabel(double ox, double oy) const;

  // Following the holder's resize.
  void recordRatios(double innerWidth, double stretchSpace);
  void applyRatios(double innerWidth, double stretchSpace);

 protected:
  double x_, y_, width_, height_;
  double margin_ = 5;
  int widthMode_ = kKeepSize;
  int heightMode_ = kKeepSize;
  int labelOutside_ = 0;
  int labelHidden_ = 0;
  bool labelCentred_ = false;
  int labelAlignX_ = 0;
  int labelAlignY_ = 0;
  bool hidden_ = false;
  double widthRatio_ = 0, heightRatio_ = 0, xRatio_ = 0, yRatio_ = 0;
  std::string name_;
};

// A button posts its command code when clicked; a toggle button flips its
// checked state first.
class Button : public Widget {
 public:
  Button(std::string name, double x, double y, double width, double height, int code, int toggles);

  int code() const { return code_; }
  bool isChecked() const { return checked_; }
  void toggle() { checked_ = !checked_; }
  bool isToggle() const { return toggles_; }
  void setColours(const float* a, const float* b) {
    colourA_ = a;
    colourB_ = b;
  }
  const float* colourA() const { return colourA_; }
  const float* colourB() const { return colourB_; }

 private:
  int code_;
  bool checked_ = false;
  bool toggles_;
  const float* colourA_ = nullptr;  // set only for a panel's control buttons
  const float* colourB_ = nullptr;
};
