// Entry point and window callbacks. The callbacks only forward to the one
// Editor; a List error escaping an operation is reported on standard output
// and the program goes on.

#include <GL/freeglut.h>

#include <cstdio>
#include <cstdlib>
#include <exception>

#include "app/editor.h"
#include "app/gl_platform.h"

Editor* gEditor = nullptr;
Panel* gMainWidget = nullptr;

namespace {

template <class Operation>
void guarded(Operation operation) {
  try {
    operation();
  } catch (const ListError& error) {
    std::printf("%s\n", error.what());
  }
}

void onDisplay() {
  glClearColor(0, 0, 0, 0);
  glColor3f(1, 1, 1);
  guarded([] { gEditor->framePump(); });
  guarded([] { gEditor->drawFrame(); });
  glutSwapBuffers();
  glFlush();
}

void onReshape(int width, int height) {
  gMainWidget->setSize(width, height);
  gEditor->uiContext()->setWindowSize(width, height);
  guarded([] { gEditor->layoutViews(); });
  glutPostRedisplay();
}

void onKeyDown(unsigned char key, int x, int y) {
  gEditor->setModifiers(glutGetModifiers());
  gEditor->setKeyState(key & 0xFF, 1);
  guarded([&] { gEditor->keyPressed(key, x, y); });
  glutPostRedisplay();
}

void onKeyUp(unsigned char key, int, int) {
  gEditor->setKeyState(key & 0xFF, 0);
  glutPostRedisplay();
}

void onMotion(int x, int y) {
  guarded([&] { gEditor->mouseMoved(x, y); });
  glutPostRedisplay();
}

void onMouse(int button, int state, int x, int y) {
  gEditor->setModifiers(glutGetModifiers());
  guarded([&] {
    gEditor->mouseMoved(x, y);
    gEditor->mouseButton(button, state);
  });
  glutPostRedisplay();
}

void onSpecialKey(int key, int x, int y) {
  gEditor->setModifiers(glutGetModifiers());
  guarded([&] { gEditor->specialKeyPressed(key, x, y); });
  glutPostRedisplay();
}

}  // namespace

int main(int argc, char** argv) {
  // The trace on standard output is followed line by line by whoever watches it.
  std::setvbuf(stdout, nullptr, _IOLBF, 0);

  gEditor = new Editor();
  gMainWidget = new Panel("main", 100, 100, 800, 600, gEditor->uiContext());

  openWindow(&argc, argv);

  glutDisplayFunc(onDisplay);
  glutReshapeFunc(onReshape);
  glutKeyboardFunc(onKeyDown);
  glutKeyboardUpFunc(onKeyUp);
  glutMotionFunc(onMotion);
  glutPassiveMotionFunc(onMotion);
  glutMouseFunc(onMouse);
  glutSpecialFunc(onSpecialKey);

  setInitialGlState();
  connectTextureUploads(gEditor->uiContext()->textures());

  gEditor->setMainWidget(gMainWidget);
  gEditor->layoutViews();
  glutMainLoop();
  return 0;
}
