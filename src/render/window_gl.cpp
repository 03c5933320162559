// The window callbacks. They only forward to the one Editor; a List error
// escaping an operation is reported on standard output and the program goes
// on.

#include "render/window.h"

#include <GL/freeglut.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <new>
#include <string>
#include <vector>

#include "app/editor.h"
#include "console/open_request.h"
#include "render/frame_draw.h"
#include "render/gl_platform.h"
#include "render/wait_cursor.h"
#include "tools/animation_mode.h"
#include "recovery/recovery_session.h"
#include "document/undo.h"

// The two process-wide pointers the callbacks need, set once by runEditorWindow.
Editor* gEditor = nullptr;
Panel* gMainWidget = nullptr;

namespace {

// Work longer than a moment shows the wait cursor (render/wait_cursor.h).
// Memory that runs out where nothing nearer caught it (edits, frames and
// posing catch their own) leaves that work undone; the editor goes on.
template <class Operation>
void guarded(Operation operation) {
  const BusyPeriod busy(waitCursorWatch());
  try {
    operation();
  } catch (const ListError& error) {
    std::printf("%s\n", error.what());
  } catch (const std::bad_alloc&) {
    try {
      gEditor->consoleMessage("Not enough memory for that: it was left undone.");
    } catch (const std::bad_alloc&) {  // not even for the message: the editor still goes on
    }
  }
}

// Unsaved work reaches the recovery file without waiting for input or a
// frame. The timer runs only while there is such work, so an idle editor
// wakes for nothing.
bool gRecoveryTimerSet = false;

void onRecoveryTimer(int);

void keepRecoveryTicking() {
  const int delay = recoveryTickDelayMs(gEditor->recovery);
  if (gRecoveryTimerSet || delay < 0) return;
  gRecoveryTimerSet = true;
  glutTimerFunc(static_cast<unsigned>(delay), onRecoveryTimer, 0);
}

void onRecoveryTimer(int) {
  gRecoveryTimerSet = false;
  bool told = false;
  guarded([&] { told = recoveryTick(gEditor->recovery); });
  if (told) glutPostRedisplay();  // its console message
  keepRecoveryTicking();
}

// Playback asks for a frame when the next one is due, by a timer that runs
// only while a clip plays.
bool gPlaybackTimerSet = false;

void onPlaybackTimer(int);

void keepPlaybackTicking() {
  if (gPlaybackTimerSet || !gEditor->animation.playing) return;
  int wait = -1;
  guarded([&] { wait = playbackTick(*gEditor, std::chrono::steady_clock::now()); });
  if (wait < 0) return;
  gPlaybackTimerSet = true;
  glutTimerFunc(static_cast<unsigned>(wait), onPlaybackTimer, 0);
}

void onPlaybackTimer(int) {
  gPlaybackTimerSet = false;
  const uint64_t before = gEditor->sceneRevision;
  guarded([] { playbackTick(*gEditor, std::chrono::steady_clock::now()); });
  if (gEditor->sceneRevision != before) glutPostRedisplay();
  keepPlaybackTicking();
}

// Frames are drawn only after events; a line of the message box that is due
// to expire brings one more frame at its time.
bool gMessageTimerSet = false;

void onMessageTimer(int) {
  gMessageTimerSet = false;
  glutPostRedisplay();
}

// An open under way (console/open_request.h) is polled until it is done, and
// counts as work for the wait cursor meanwhile.
constexpr unsigned kOpenPollMs = 50;
bool gOpenTimerSet = false;
bool gOpenMarked = false;

void onOpenTimer(int);

void keepPollingOpen() {
  BusyWatch* watch = waitCursorWatch();
  const bool underWay = gEditor->backgroundOpen != nullptr;
  if (watch && underWay != gOpenMarked) {
    underWay ? watch->begin() : watch->end();
    gOpenMarked = underWay;
  }
  if (gOpenTimerSet || !underWay) return;
  gOpenTimerSet = true;
  glutTimerFunc(kOpenPollMs, onOpenTimer, 0);
}

void onOpenTimer(int) {
  gOpenTimerSet = false;
  bool changed = false;
  guarded([&] { runEdit(gEditor->doc, [&] { changed = pollOpen(*gEditor); }); });
  if (changed) glutPostRedisplay();
  keepPollingOpen();
}

void onDisplay() {
  const BusyPeriod busy(waitCursorWatch());  // the frame pump and the drawing as one
  glClearColor(0, 0, 0, 0);
  glColor3f(1, 1, 1);
  guarded([] { gEditor->framePump(); });
  if (gEditor->quitRequested) {
    // "/quit" closes the window as the user's close does: GLUT takes it away
    // once this callback is over, calling onClose, and the program ends.
    gEditor->quitRequested = false;
    glutDestroyWindow(glutGetWindow());
    return;
  }
  guarded([] { drawFrame(*gEditor); });
  glutSwapBuffers();
  glFlush();
  keepRecoveryTicking();
  keepPlaybackTicking();
  keepPollingOpen();
  const int64_t ms = gEditor->consoleMessages ? gEditor->consoleMessages->msUntilExpiry() : -1;
  if (ms >= 0 && !gMessageTimerSet) {
    gMessageTimerSet = true;
    glutTimerFunc(static_cast<unsigned>(ms), onMessageTimer, 0);
  }
}

void onReshape(int width, int height) {
  gMainWidget->setSize(width, height);
  gEditor->uiContext()->setWindowSize(width, height);
  guarded([] {
    gEditor->layoutViews();
    gEditor->keepPanelsInWindow();
  });
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

// The window closes and the program ends, but only once unsaved work is on disk.
// GLUT calls this before it takes the window away: the window leaves first, as
// keeping the work may take a while, which would look like a close ignored.
void onClose() {
  stopWaitCursor();
  hideWindowNow();
  leaveEditorAndTell(gEditor->recovery);
}

}  // namespace

void runEditorWindow(Editor* editor, Panel* mainWidget,
                     const std::vector<std::string>& glutArguments,
                     const std::function<void()>& whenOpen) {
  gEditor = editor;
  gMainWidget = mainWidget;
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
  connectTextureUploads(gEditor->uiContext()->textures());
  gEditor->setMainWidget(gMainWidget);
  gEditor->layoutViews();
  {
    const BusyPeriod busy(waitCursorWatch());
    whenOpen();
  }
  keepPollingOpen();
  glutMainLoop();
}
