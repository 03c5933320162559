// The four-view layout, scrolling and zooming a view. In the one-view layout
// the shown view's pixel rectangle covers the whole window, so pointer mapping
// matches what is drawn there.

#include "view/view_layout.h"

namespace {
void setRect(Viewport& v, double pixelWidth, double pixelHeight, int left, int bottom, int right,
             int top) {
  v.pixelWidth = pixelWidth;
  v.pixelHeight = pixelHeight;
  v.rectLeft = left;
  v.rectBottom = bottom;
  v.rectRight = right;
  v.rectTop = top;
}
}  // namespace

void applyZoom(Viewport& view) {
  double cx = (view.right + view.left) * 0.5;
  double cy = (view.top + view.bottom) * 0.5;
  view.aspect = view.pixelHeight / view.pixelWidth;
  view.left = cx - view.zoom;
  view.right = cx + view.zoom;
  view.bottom = cy - view.aspect * view.zoom;
  view.top = cy + view.aspect * view.zoom;
}

void fillWindow(Viewport& view, double windowWidth, double windowHeight) {
  setRect(view, windowWidth, windowHeight, 0, 0, static_cast<int>(windowWidth),
          static_cast<int>(windowHeight));
  applyZoom(view);
}

void splitWindow(Viewport (&views)[5], double splitX, double splitY, double windowWidth,
                 double windowHeight) {
  const double w = windowWidth, h = windowHeight, sx = splitX, sy = splitY;
  int midX = static_cast<int>(w * sx), midY = static_cast<int>(h * sy);
  int right = static_cast<int>(w), top = static_cast<int>(h);
  setRect(views[0], w * sx, h * sy, 0, 0, midX, midY);
  setRect(views[1], w * (1 - sx), h * sy, midX, 0, right, midY);
  setRect(views[2], w * sx, h * (1 - sy), 0, midY, midX, top);
  setRect(views[3], w * (1 - sx), h * (1 - sy), midX, midY, right, top);
  for (int i = 0; i < 4; ++i) applyZoom(views[i]);
}

int quadrantAt(int x, int y, double splitX, double splitY, double windowWidth,
               double windowHeight) {
  if (windowWidth * splitX <= x) return (windowHeight * splitY <= y) ? 3 : 1;
  return (windowHeight * splitY <= y) ? 2 : 0;
}

void scrollViewBy(int dx, int dy, Viewport& view) {
  double fx = dx / view.pixelWidth, fy = dy / view.pixelHeight;
  double width = view.right - view.left, height = view.top - view.bottom;
  view.left += fx * width;
  view.right += fx * width;
  view.bottom += fy * height;
  view.top += fy * height;
}

void zoomViewBy(int steps, Viewport& view) {
  view.zoom += steps * 0.1;
  if (view.zoom < 1.0) view.zoom = 1.0;
  applyZoom(view);
}

void centreUvView(Viewport& uv, double x, double y, double width, double height) {
  uv.rectLeft = static_cast<int>(x + (width - uv.pixelWidth) * 0.5);
  uv.rectBottom = static_cast<int>(y + (height - 25 - uv.pixelHeight) * 0.5);
  uv.rectRight = uv.rectLeft + static_cast<int>(uv.pixelWidth);
  uv.rectTop = uv.rectBottom + static_cast<int>(uv.pixelHeight);
  uv.left = 0;
  uv.right = 1;
  uv.bottom = 0;
  uv.top = 1;
}
