#include <GL/gl.h>

#include "render/wire_cube.h"

void drawColouredLines(const std::vector<float>& positions, const std::vector<float>& colours) {
  if (positions.empty()) return;
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_COLOR_ARRAY);
  glVertexPointer(3, GL_FLOAT, 0, positions.data());
  glColorPointer(3, GL_FLOAT, 0, colours.data());
  glDrawArrays(GL_LINES, 0, static_cast<GLsizei>(positions.size() / 3));
  glDisableClientState(GL_COLOR_ARRAY);
  glDisableClientState(GL_VERTEX_ARRAY);
  glColor3fv(&colours[colours.size() - 3]);
}

CubeSight currentCubeSight() {
  GLdouble m[16];  // column by column
  glGetDoublev(GL_MODELVIEW_MATRIX, m);
  CubeSight sight;
  for (int axis = 0; axis < 3; ++axis) {
    // An axis that moves nothing across or up the window, while the other two
    // move both rows between them, is the line of sight of a flat view.
    const bool alongSight = m[axis * 4] == 0 && m[axis * 4 + 1] == 0 && m[axis * 4 + 2] != 0;
    if (!alongSight) continue;
    sight.depthAxis = axis;
    sight.nearSign = m[axis * 4 + 2] > 0 ? 1 : -1;  // eye z grows towards the viewer
  }
  return sight;
}
