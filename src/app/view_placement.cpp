// The editor's views and panels in its window: the layout the user chose, the
// view under the pointer, the UV view inside the UV Mapper panel, and the
// panels kept inside a window that shrinks.

#include "app/editor.h"
#include "view/view_layout.h"

void Editor::layoutViews() {
  const double w = windowWidth(), h = windowHeight();
  if (viewSet.layoutMode == 0) {
    fillWindow(viewSet.views[viewSet.singleView], w, h);
  } else {
    splitWindow(viewSet.views, viewSet.splitX, viewSet.splitY, w, h);
  }
}

int Editor::viewAt(int x, int y) const {
  const Panel* uv = uvMapperWidget;
  if (uv && panelsShown && uv->contains(x, y) && !uv->isMinimised() && !uv->isHidden()) {
    return kUvView;
  }
  if (viewSet.layoutMode == 0) return viewSet.singleView;
  return quadrantAt(x, y, viewSet.splitX, viewSet.splitY, windowWidth(), windowHeight());
}

void Editor::placeUvView() {
  const Panel* p = uvMapperWidget;
  centreUvView(viewSet.uvView(), p->x(), p->y(), p->width(), p->height());
}

bool Editor::uvViewShown() const {
  const Panel* uv = uvMapperWidget;
  return panelsShown && uv && !uv->isHidden() && !uv->isMinimised();
}

void Editor::keepPanelsInWindow() {
  for (Panel* panel : widgets) panel->keepInside(windowWidth(), windowHeight());
}
