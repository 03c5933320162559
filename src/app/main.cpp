// Entry point and window callbacks. The callbacks only forward to the one
// Editor; a List error escaping an operation is reported on standard output
// and the program goes on.

#include <GL/freeglut.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/editor.h"
#include "app/gl_platform.h"
#include "console/model_commands.h"

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

// Frames are drawn only after events; a line of the message box that is due
// to expire brings one more frame at its time.
bool gMessageTimerSet = false;

void onMessageTimer(int) {
  gMessageTimerSet = false;
  glutPostRedisplay();
}

void onDisplay() {
  glClearColor(0, 0, 0, 0);
  glColor3f(1, 1, 1);
  guarded([] { gEditor->framePump(); });
  guarded([] { gEditor->drawFrame(); });
  glutSwapBuffers();
  glFlush();
  const int64_t ms = gEditor->consoleMessages ? gEditor->consoleMessages->msUntilExpiry() : -1;
  if (ms >= 0 && !gMessageTimerSet) {
    gMessageTimerSet = true;
    glutTimerFunc(static_cast<unsigned>(ms), onMessageTimer, 0);
  }
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
  const CommandLine command = parseCommandLine(std::vector<std::string>(argv, argv + argc));
  ImportSettings imports;
  imports.program = kOwnProgram;
  if (command.action != CommandLine::kOpenEditor) return runWithoutWindow(command, imports);

  gEditor = new Editor();
  gEditor->importSettings = imports;
  gMainWidget = new Panel("main", 100, 100, 800, 600, gEditor->uiContext());

  std::vector<char*> glutArgv;
  for (const std::string& a : command.glutArguments)
    glutArgv.push_back(const_cast<char*>(a.c_str()));
  int glutArgc = static_cast<int>(glutArgv.size());
  glutArgv.push_back(nullptr);
  openWindow(&glutArgc, glutArgv.data());

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
  // After the window is up, so that the model's texture reaches OpenGL.
  std::string reason;
  if (!command.input.empty() && !openModel(*gEditor, command.input, &reason))
    std::fprintf(stderr, "vantorel: %s: %s\n", command.input.c_str(), reason.c_str());
  glutMainLoop();
  return 0;
}
