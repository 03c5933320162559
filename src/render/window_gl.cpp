// The window and its callbacks, which forward to the handlers given.

#include "render/window.h"

#include <GL/freeglut.h>

#include <map>
#include <utility>

#include "render/gl_platform.h"
#include "render/wait_cursor.h"

namespace {

WindowHandlers gHandlers;  // set once by runWindow

std::map<int, std::function<void()>> gTimers;
int gNextTimer = 0;

void onTimer(int id) {
  auto found = gTimers.find(id);
  if (found == gTimers.end()) return;
  const std::function<void()> work = std::move(found->second);
  gTimers.erase(found);
  work();
}

void onDisplay() {
  glClearColor(0, 0, 0, 0);
  glColor3f(1, 1, 1);
  if (!gHandlers.frame()) {
    // GLUT takes the window away once this callback is over, calling onClose.
    glutDestroyWindow(glutGetWindow());
    return;
  }
  glutSwapBuffers();
  glFlush();
  gHandlers.afterFrame();
}

void onReshape(int width, int height) {
  gHandlers.reshape(width, height);
  glutPostRedisplay();
}

void onKeyDown(unsigned char key, int x, int y) {
  gHandlers.keyDown(key, x, y, glutGetModifiers());
  glutPostRedisplay();
}

void onKeyUp(unsigned char key, int, int) {
  gHandlers.keyUp(key);
  glutPostRedisplay();
}

void onMotion(int x, int y) {
  gHandlers.motion(x, y);
  glutPostRedisplay();
}

void onMouse(int button, int state, int x, int y) {
  gHandlers.mouse(button, state, x, y, glutGetModifiers());
  glutPostRedisplay();
}

void onSpecialKey(int key, int x, int y) {
  gHandlers.specialKey(key, x, y, glutGetModifiers());
  glutPostRedisplay();
}

// GLUT calls this before it takes the window away: the window leaves first,
// as what the close handler keeps may take a while, which would look like a
// close ignored.
void onClose() {
  stopWaitCursor();
  hideWindowNow();
  gHandlers.close();
}

}  // namespace

void postFrame() {
  glutPostRedisplay();
}

void afterMilliseconds(unsigned ms, std::function<void()> work) {
  const int id = gNextTimer++;
  gTimers.emplace(id, std::move(work));
  glutTimerFunc(ms, onTimer, id);
}

void runWindow(const std::vector<std::string>& glutArguments, WindowHandlers handlers,
               const std::function<void()>& whenOpen) {
  gHandlers = std::move(handlers);
  std::vector<char*> glutArgv;
  for (const std::string& a : glutArguments) glutArgv.push_back(const_cast<char*>(a.c_str()));
  int glutArgc = static_cast<int>(glutArgv.size());
  glutArgv.push_back(nullptr);
  openWindow(&glutArgc, glutArgv.data());
  startWaitCursor();
  glutDisplayFunc(onDisplay);
  glutReshapeFunc(onReshape);
  glutKeyboardFunc(onKeyDown);
  glutKeyboardUpFunc(onKeyUp);
  glutMotionFunc(onMotion);
  glutPassiveMotionFunc(onMotion);
  glutMouseFunc(onMouse);
  glutSpecialFunc(onSpecialKey);
  glutCloseFunc(onClose);
  setInitialGlState();
  whenOpen();
  glutMainLoop();
}
