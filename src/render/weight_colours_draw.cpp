#include <GL/gl.h>

#include "render/weight_colours.h"

void drawWeightColours(const std::vector<float>& corners) {
  if (corners.empty()) return;
  glPushAttrib(GL_POLYGON_BIT | GL_LIGHTING_BIT | GL_ENABLE_BIT | GL_CURRENT_BIT);
  glDisable(GL_LIGHTING);
  glDisable(GL_TEXTURE_2D);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  glShadeModel(GL_SMOOTH);
  constexpr GLsizei kStride = 6 * sizeof(float);
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_COLOR_ARRAY);
  glVertexPointer(3, GL_FLOAT, kStride, corners.data());
  glColorPointer(3, GL_FLOAT, kStride, corners.data() + 3);
  glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(corners.size() / 6));
  glDisableClientState(GL_COLOR_ARRAY);
  glDisableClientState(GL_VERTEX_ARRAY);
  glPopAttrib();
}
