#include <GL/gl.h>

#include "model/wire_cube.h"

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
