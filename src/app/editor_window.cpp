// The editor's window handlers and timers (contract in editor_window.h). A
// List error escaping an operation is reported on standard output and the
// program goes on.

#include "app/editor_window.h"

#include <chrono>
#include <cstdio>
#include <new>

#include "app/editor.h"
#include "app/editor_frame.h"
#include "console/open_request.h"
#include "document/undo.h"
#include "recovery/recovery_session.h"
#include "render/frame_draw.h"
#include "render/gl_platform.h"
#include "render/wait_cursor.h"
#include "render/window.h"
#include "tools/animation_mode.h"

namespace {

// The two process-wide pointers the handlers need, set once by runEditorWindow.
Editor* gEditor = nullptr;
Panel* gMainWidget = nullptr;

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

void keepRecoveryTicking() {
  const int delay = recoveryTickDelayMs(gEditor->recovery);
  if (gRecoveryTimerSet || delay < 0) return;
  gRecoveryTimerSet = true;
  afterMilliseconds(static_cast<unsigned>(delay), [] {
    gRecoveryTimerSet = false;
    bool told = false;
    guarded([&] { told = recoveryTick(gEditor->recovery); });
    if (told) postFrame();  // its console message
    keepRecoveryTicking();
  });
}

// Playback asks for a frame when the next one is due, by a timer that runs
// only while a clip plays.
bool gPlaybackTimerSet = false;

void keepPlaybackTicking() {
  if (gPlaybackTimerSet || !gEditor->animation.playing) return;
  int wait = -1;
  guarded([&] { wait = playbackTick(*gEditor, std::chrono::steady_clock::now()); });
  if (wait < 0) return;
  gPlaybackTimerSet = true;
  afterMilliseconds(static_cast<unsigned>(wait), [] {
    gPlaybackTimerSet = false;
    const uint64_t before = gEditor->viewSet.sceneRevision;
    guarded([] { playbackTick(*gEditor, std::chrono::steady_clock::now()); });
    if (gEditor->viewSet.sceneRevision != before) postFrame();
    keepPlaybackTicking();
  });
}

// An open under way (console/open_request.h) is polled until it is done, and
// counts as work for the wait cursor meanwhile.
constexpr unsigned kOpenPollMs = 50;
bool gOpenTimerSet = false;
bool gOpenMarked = false;

void keepPollingOpen() {
  BusyWatch* watch = waitCursorWatch();
  const bool underWay = gEditor->commandState.backgroundOpen != nullptr;
  if (watch && underWay != gOpenMarked) {
    underWay ? watch->begin() : watch->end();
    gOpenMarked = underWay;
  }
  if (gOpenTimerSet || !underWay) return;
  gOpenTimerSet = true;
  afterMilliseconds(kOpenPollMs, [] {
    gOpenTimerSet = false;
    bool changed = false;
    guarded([&] { runEdit(gEditor->doc, [&] { changed = pollOpen(*gEditor); }); });
    if (changed) postFrame();
    keepPollingOpen();
  });
}

// Frames are drawn only after events; a line of the message box that is due
// to expire brings one more frame at its time.
bool gMessageTimerSet = false;

void keepMessagesExpiring() {
  const int64_t ms = gEditor->consoleMessages ? gEditor->consoleMessages->msUntilExpiry() : -1;
  if (ms < 0 || gMessageTimerSet) return;
  gMessageTimerSet = true;
  afterMilliseconds(static_cast<unsigned>(ms), [] {
    gMessageTimerSet = false;
    postFrame();
  });
}

bool frame() {
  const BusyPeriod busy(waitCursorWatch());  // the frame pump and the drawing as one
  guarded([] { gEditor->framePump(); });
  if (gEditor->commandState.quitRequested) {
    // "/quit" closes the window as the user's close does.
    gEditor->commandState.quitRequested = false;
    return false;
  }
  guarded([] { drawFrame(*gEditor); });
  return true;
}

void afterFrame() {
  keepRecoveryTicking();
  keepPlaybackTicking();
  keepPollingOpen();
  keepMessagesExpiring();
}

WindowHandlers editorHandlers() {
  WindowHandlers h;
  h.frame = frame;
  h.afterFrame = afterFrame;
  h.reshape = [](int width, int height) {
    gMainWidget->setSize(width, height);
    gEditor->uiContext()->setWindowSize(width, height);
    guarded([] {
      gEditor->layoutViews();
      gEditor->keepPanelsInWindow();
    });
  };
  h.keyDown = [](unsigned char key, int x, int y, int modifiers) {
    gEditor->setModifiers(modifiers);
    gEditor->setKeyState(key & 0xFF, 1);
    guarded([&] { gEditor->keyPressed(key, x, y); });
  };
  h.keyUp = [](unsigned char key) { gEditor->setKeyState(key & 0xFF, 0); };
  h.motion = [](int x, int y) { guarded([&] { gEditor->mouseMoved(x, y); }); };
  h.mouse = [](int button, int state, int x, int y, int modifiers) {
    gEditor->setModifiers(modifiers);
    guarded([&] {
      gEditor->mouseMoved(x, y);
      gEditor->mouseButton(button, state);
    });
  };
  h.specialKey = [](int key, int x, int y, int modifiers) {
    gEditor->setModifiers(modifiers);
    guarded([&] { gEditor->specialKeyPressed(key, x, y); });
  };
  // The program ends, but only once unsaved work is on disk.
  h.close = [] { leaveEditorAndTell(gEditor->recovery); };
  return h;
}

}  // namespace

void runEditorWindow(Editor* editor, Panel* mainWidget,
                     const std::vector<std::string>& glutArguments,
                     const std::function<void()>& whenOpen) {
  gEditor = editor;
  gMainWidget = mainWidget;
  runWindow(glutArguments, editorHandlers(), [&] {
    connectTextureUploads(gEditor->uiContext()->textures());
    gEditor->setMainWidget(gMainWidget);
    gEditor->layoutViews();
    {
      const BusyPeriod busy(waitCursorWatch());
      whenOpen();
    }
    keepPollingOpen();
  });
}
