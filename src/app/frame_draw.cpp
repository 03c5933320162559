#include <GL/gl.h>

#include "app/editor.h"

void Editor::drawFrame() {
  glEnable(GL_SCISSOR_TEST);
  glMatrixMode(GL_MODELVIEW);
  glColor3f(1, 1, 1);
  int w = static_cast<int>(windowWidth()), h = static_cast<int>(windowHeight());
  glViewport(0, 0, w, h);
  glScissor(0, 0, w, h);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glFlush();
}
