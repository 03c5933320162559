// Frames of the editor as events make them, with kept view pictures, each beside the same
// frame drawn from scratch (every view drawn again): pointer moves, typing, hover, a Full view
// rotation step, a one-view scroll step, a Move drag step and full redraws in each render mode.
// Then what large selections and skeletons cost a full redraw, beside a plain model of that many
// triangles. Needs an X display (Xvfb); shares the window of frame_cases.cpp.

#include <GL/glut.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "app/editor.h"
#include "app/editor_frame.h"
#include "bench_registry.h"
#include "bench_util.h"
#include "model/skeleton.h"
#include "render/frame_draw.h"
#include "test_meshes.h"
#include "view/input_codes.h"

bool ensureBenchWindow();  // frame_cases.cpp

namespace {

constexpr int kWidth = 800, kHeight = 600;

struct Session {
  std::unique_ptr<Editor> editor;
  std::unique_ptr<Panel> mainPanel;
};

Session openSession(int vertices) {
  Session s;
  s.editor = vertices > 0 ? bench::ballEditor(2 * vertices) : std::make_unique<Editor>();
  s.mainPanel = std::make_unique<Panel>("main", 100, 100, kWidth, kHeight, s.editor->uiContext());
  s.editor->setMainWidget(s.mainPanel.get());
  s.editor->layoutViews();
  for (Viewport& v : s.editor->viewSet.views) v.renderMode = kFlatShaded;
  return s;
}

// The median of a frame after `event`, as the program runs it: the event, the frame pump, the
// frame, glFinish.
double frameMs(Editor& e, int runs, const std::function<void(int)>& event) {
  int step = 0;
  e.framePump();
  drawFrame(e);  // pictures kept, light set up
  glFinish();
  return bench::medianMs(
      runs, [] {},
      [&] {
        event(step++);
        e.framePump();
        drawFrame(e);
        glFinish();
      });
}

void rowPair(bench::Report& report, const std::string& name, Editor& e, int runs,
             const std::function<void(int)>& event, const char* unchanged) {
  e.drawing.keepViewPictures = true;
  const double kept = frameMs(e, runs, event);
  const int redrawn = e.drawing.viewsRedrawn;
  e.drawing.keepViewPictures = false;
  const double scratch = frameMs(e, runs, event);
  e.drawing.keepViewPictures = true;
  e.drawing.forgetViewPictures();
  char note[160];
  std::snprintf(note, sizeof note, "from scratch / kept: %.1fx; views drawn again: %s%s",
                scratch / kept,
                redrawn == 0    ? "none"
                : redrawn == 15 ? "all"
                                : "one",
                unchanged);
  report.row("frame kind, " + name, "ms", kept, note);
  report.row("frame kind, " + name + ", from scratch", "ms", scratch);
}

}  // namespace

BENCH_CASE(71, "frame kinds") {
  if (!ensureBenchWindow()) return;
  const int runs = context.size >= 1000000 ? 3 : context.runs;
  Session session = openSession(context.size);
  Editor& e = *session.editor;
  auto glut = [](int x, int y) { return std::make_pair(x, y); };
  auto move = [&](std::pair<int, int> at) { e.mouseMoved(at.first, at.second); };
  auto button = [&](int b, int state) { e.mouseButton(b, state); };

  // Frames that draw no view, each beside the same frame over an empty model (the bound).
  Session emptySession = openSession(0);
  Editor& empty = *emptySession.editor;
  auto overlayRow = [&](const char* name, const std::function<void(Editor&, int)>& event) {
    const double bound = frameMs(empty, context.runs, [&](int i) { event(empty, i); });
    e.drawing.keepViewPictures = true;
    const double kept = frameMs(e, runs, [&](int i) { event(e, i); });
    char note[96];
    std::snprintf(note, sizeof note, "%.2fx the same frame over an empty model", kept / bound);
    report.row(std::string("frame kind, ") + name + ", empty model", "ms", bound);
    rowPair(
        report, name, e, runs, [&](int i) { event(e, i); }, "");
    report.row(std::string("frame kind, ") + name + ", kept, beside the empty model", "ms", kept,
               note);
  };
  overlayRow("pointer move", [](Editor& ed, int i) { ed.mouseMoved(300 + i % 7, 100); });
  for (Editor* ed : {&e, &empty}) {
    ed->panelsShown = true;
    ed->ui->setFocusedEntry(ed->consolePrompt);
  }
  overlayRow("typed character", [](Editor& ed, int i) {
    ed.setKeyState('a', 1);
    ed.keyPressed(i % 2 ? 8 : 'a', 0, 0);
    ed.setKeyState('a', 0);
  });
  for (Editor* ed : {&e, &empty}) ed->ui->setFocusedEntry(nullptr);
  overlayRow("hover", [](Editor& ed, int i) { ed.mouseMoved(460 + i % 2 * 10, 390); });
  e.panelsShown = false;

  move(glut(600, 150));
  button(kLeftButton, kButtonDown);
  rowPair(
      report, "Full view rotation step", e, runs, [&](int i) { move(glut(600 + i, 150)); }, "");
  button(kLeftButton, kButtonUp);

  move(glut(200, 450));
  button(kMiddleButton, kButtonDown);
  rowPair(
      report, "one-view scroll step", e, runs, [&](int i) { move(glut(200 + i, 450)); }, "");
  button(kMiddleButton, kButtonUp);

  int picked = 0;
  for (Vertex* v : e.doc.model->vertices) {
    if (++picked > 100) break;
    v->selected = 1;
    e.doc.selectedVertices.pushFront(v);
  }
  e.toolState.tool = kMove;
  move(glut(200, 450));
  button(kLeftButton, kButtonDown);
  rowPair(
      report, "edit (Move drag step, 100 selected)", e, runs,
      [&](int i) { move(glut(200 + i % 5, 450)); }, "");
  button(kLeftButton, kButtonUp);
  e.doc.selectedVertices.clear();

  const char* const kModes[] = {"wireframe", "flat shaded", "smooth shaded", "textured"};
  for (int mode = 0; mode < 4; ++mode) {
    for (Viewport& v : e.viewSet.views) v.renderMode = mode;
    rowPair(
        report, std::string("full redraw, four views ") + kModes[mode], e, runs,
        [&](int) { e.drawing.forgetViewPictures(); }, "");
  }
}

// Full redraws of four flat-shaded views: every vertex selected, or a skeleton of as many bones
// as a chain or one root's children, beside the plain model of that many vertices.
BENCH_CASE(72, "frames of large selections and skeletons") {
  if (!ensureBenchWindow()) return;
  const int runs = context.size >= 1000000 ? 3 : context.runs;
  Session session = openSession(context.size);
  Editor& e = *session.editor;
  auto redraw = [&] { return frameMs(e, runs, [&](int) { e.drawing.forgetViewPictures(); }); };
  const double plain = redraw();
  report.row("full redraw, plain model", "ms", plain, "four views flat shaded");
  for (Vertex* v : e.doc.model->vertices) e.doc.selectedVertices.pushFront(v);
  const double selected = redraw();
  char note[96];
  std::snprintf(note, sizeof note, "%.1fx the plain model", selected / plain);
  report.row("full redraw, every vertex selected", "ms", selected, note);
  e.doc.selectedVertices.clear();

  for (const bool chain : {true, false}) {
    Session bones = openSession(0);
    Model& m = *bones.editor->doc.model;
    Bone* last = m.createRoot(0, 0, 0);
    for (int i = 1; i < context.size; ++i) {
      const double a = i * 0.001;
      last = m.addBone(chain ? last : m.rootBone(), 3 * std::cos(a), 2 * std::sin(a * 3), 0);
    }
    const double ms =
        frameMs(*bones.editor, runs, [&](int) { bones.editor->drawing.forgetViewPictures(); });
    std::snprintf(note, sizeof note, "%.1fx the plain model", ms / plain);
    report.row(
        chain ? "full redraw, skeleton chain" : "full redraw, skeleton of one root's children",
        "ms", ms, note);
  }
}
