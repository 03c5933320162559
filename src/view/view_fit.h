#pragma once
// Framing a part of model space in a view, and the grid of a flat view at any
// zoom.

#include "model/vec3.h"
#include "view/viewport.h"

// A box of model space, empty until a point is added.
struct ModelBounds {
  Vec3 min, max;
  bool empty = true;
  void add(double x, double y, double z);
  Vec3 centre() const { return {(min.x + max.x) / 2, (min.y + max.y) / 2, (min.z + max.z) / 2}; }
};

// Makes `view` show all of `target` with a tenth to spare, keeping one unit as
// many pixels across as up and a half width of at least 1, as zooming does.
// A flat view centres the box's shadow on its plane; the Full view turns about
// the box's centre and shows the ball around the box, so that it stays in view
// at any turn. The view reaches in depth past every corner of `whole` (and at
// least as far as at start-up), so that no part of the model is cut away. An
// empty or unbounded target leaves the view as it was.
void fitView(Viewport& view, const ModelBounds& target, const ModelBounds& whole);

// The grid of a flat view, one family of lines per axis: at multiples of
// `step` from `first`, `count` of them across the visible range. The step is
// 1, or 10, 100, ... where lines a unit apart would fall closer than
// kMinGridGap pixels. Every line reaches `reach` units either way from the
// origin: 100000, or further when the view shows more.
struct GridLines {
  double first = 0, step = 1;
  int count = 0;
};
struct ViewGrid {
  static constexpr double kMinGridGap = 4;
  GridLines across, up;  // lines at horizontal and at vertical view coordinates
  double reach = 100000;
};
ViewGrid viewGrid(const Viewport& view);
