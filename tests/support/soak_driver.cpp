#include "support/soak_driver.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>

#include "app/input_codes.h"
#include "support/bmp_file.h"

namespace {

constexpr int kWindowWidth = 800, kWindowHeight = 600;
// Models larger than this are swapped for the seed model, so that every
// step's checks stay quick.
constexpr int kMaxPolygons = 3000;

// Two groups, the current one textured, a skeleton of three bones.
constexpr const char* kSeedModel =
    "5\n0 0 0\n1 0 0\n0 1 0\n1 1 0.5\n-0.5 0.25 1\n"
    "2\n1\n0 1 2 0 1 0 0 0 1 \n0\n1 0 0 1\n"
    "3\n1 3 2 0.25 0.5 0.75 0 0 0 \n3 4 0 0 0 0 0 0 0 \n4 0 1 0 0 0 0 0 0 \n"
    "1\ntex.bmp\n0.5 0.5 0.5 1\n"
    "3\n1 0 0 0 0 0 0 -1\n2 0 1 0 0 0 1 2 -1\n2 1 0 0 0 0 3 -1\n";

void writeFile(const std::string& name, const std::string& bytes) {
  std::ofstream(name, std::ios::binary) << bytes;
}

const std::string kTextureBytes = tinyBmp();

const char* const kFileNames[] = {
    "a.mdl", "b.mdl",       "model.mdl",     "tex.bmp", "bad.bmp", "broken.mdl",
    "dir",   "missing.mdl", "tab\tname.bmp", "nodir/x", "fifo",    "zero",
};

const char* const kNumbers[] = {
    "0",     "1",   "-1",  "2.5", "-3.25", "0.000001", "1e308",  "-1e308",
    "1e309", "nan", "inf", "abc", "+3",    "-0",       "1e-320", "1.7976931348623157e308",
    "12",    "4",   "0.5", "+-1", "7x",    ".5",
};

const char* const kCommands[] = {
    "/open",         "/save",     "/loadtex",   "/setbb",   "/showtex",     "/hidetex",
    "/setx",         "/sety",     "/setz",      "/getpos",  "/setcylinder", "/smoothpolys",
    "/flattenpolys", "/setcolor", "/polycount", "/unknown", "setx",
};

}  // namespace

SoakDriver::SoakDriver(uint64_t seed)
    : rng_(seed), mainPanel_("main", 100, 100, kWindowWidth, kWindowHeight, editor.uiContext()) {
  editor.setMainWidget(&mainPanel_);
  editor.layoutViews();
  writeFile("seed.mdl", kSeedModel);
  writeFile("model.mdl", kSeedModel);
  writeFile("broken.mdl", std::string(kSeedModel).substr(0, 40));
  writeFile("tex.bmp", kTextureBytes);
  writeFile("tab\tname.bmp", kTextureBytes);
  writeFile("bad.bmp", "BM this is no image");
  mkdir("dir", 0755);
  mkfifo("fifo", 0644);
  symlink("/dev/zero", "zero");
  editor.runConsoleCommand("/open seed.mdl");
}

void SoakDriver::button(int b, int state, int x, int y, int modifiers) {
  editor.setModifiers(modifiers);
  editor.mouseMoved(x, y);
  editor.mouseButton(b, state);
  held_[b] = state == kButtonDown;
}

int SoakDriver::randomModifiers() {
  static const int kChoices[] = {0, 0,          kShift,    kCtrl, kAlt, kShift | kCtrl,
                                 8, 8 | kShift, 16 | kCtrl};
  return kChoices[below(std::size(kChoices))];
}

bool SoakDriver::vertexPoint(int& x, int& y) {
  List<Vertex>& vertices = editor.model->vertices;
  if (vertices.empty()) return false;
  const Vertex* v = vertices.at(below(vertices.count()));
  const int kind = editor.layoutMode == 1 ? below(3) : editor.singleView;
  const Viewport& view = editor.views[kind];
  const double h = kind == kSideView ? v->x : v->z;
  const double vv = kind == kTopView ? v->x : v->y;
  const double px = view.rectLeft + (h - view.left) / (view.right - view.left) * view.pixelWidth;
  const double py =
      view.rectBottom + (vv - view.bottom) / (view.top - view.bottom) * view.pixelHeight;
  x = static_cast<int>(std::clamp(px, -100.0, 900.0)) + below(7) - 3;
  y = kWindowHeight - static_cast<int>(std::clamp(py, -100.0, 700.0)) + below(7) - 3;
  return true;
}

void SoakDriver::randomPoint(int& x, int& y) {
  const Viewport& uv = editor.views[kUvView];
  if (editor.panelsShown && chance(15)) {
    // Inside the UV view, where texture points are picked and moved.
    x = uv.rectLeft + below(std::max(1, uv.rectRight - uv.rectLeft));
    y = kWindowHeight - (uv.rectBottom + below(std::max(1, uv.rectTop - uv.rectBottom)));
    return;
  }
  if (chance(35) || !vertexPoint(x, y)) {
    x = below(kWindowWidth);
    y = below(kWindowHeight);
  }
}

std::string SoakDriver::selectGesture() {
  switch (below(3)) {
    case 0:
      editor.setModifiers(0);
      editor.specialKeyPressed(kKeyF1 + below(3), 0, 0);
      break;
    case 1:
      editor.setModifiers(0);
      editor.keyPressed(' ', 0, 0);
      break;
    default:
      editor.toolMenuCommand(17 + below(3));
  }
  int x0, y0, x1, y1;
  randomPoint(x0, y0);
  if (chance(40)) {
    x1 = x0;
    y1 = y0;
  } else {
    randomPoint(x1, y1);
  }
  const int modifiers = randomModifiers();
  button(kLeftButton, kButtonDown, x0, y0, modifiers);
  moveTo((x0 + x1) / 2, (y0 + y1) / 2);
  button(kLeftButton, kButtonUp, x1, y1, modifiers);
  return "select with tool " + std::to_string(editor.tool) + " from (" + std::to_string(x0) + "," +
         std::to_string(y0) + ") to (" + std::to_string(x1) + "," + std::to_string(y1) +
         ") modifiers " + std::to_string(modifiers);
}

// Clicks on a few vertices, the first replacing the selection and the others
// added with Shift, then often a key that works on exactly such a selection.
std::string SoakDriver::pickVertices() {
  editor.setModifiers(0);
  editor.specialKeyPressed(kKeyF1, 0, 0);
  const int count = 1 + below(4);
  for (int i = 0; i < count; ++i) {
    int x, y;
    if (!vertexPoint(x, y)) break;
    button(kLeftButton, kButtonDown, x, y, i == 0 ? 0 : kShift);
    button(kLeftButton, kButtonUp, x, y, i == 0 ? 0 : kShift);
  }
  std::string what = "pick " + std::to_string(count) + " vertices";
  if (chance(60)) {
    static const unsigned char kKeys[] = {'p', 'n', 'd', 127};
    const unsigned char key = kKeys[below(std::size(kKeys))];
    editor.setModifiers(0);
    editor.keyPressed(key, 0, 0);
    what += ", key " + std::to_string(key);
  }
  return what;
}

std::string SoakDriver::selectAll() {
  const int key = kKeyF1 + below(3);
  const int modifiers = chance(70) ? kShift : kCtrl;
  editor.setModifiers(modifiers);
  editor.specialKeyPressed(key, 0, 0);
  return "special key " + std::to_string(key) + " modifiers " + std::to_string(modifiers);
}

std::string SoakDriver::toolGesture() {
  static const unsigned char kToolKeys[] = {'m', 'r', 's', 'v', 'b', 'c', 'e', 'x', 'q'};
  if (chance(50)) {
    editor.setModifiers(0);
    editor.keyPressed(kToolKeys[below(std::size(kToolKeys))], 0, 0);
  } else {
    editor.toolMenuCommand(20 + below(10));
  }
  const int tool = editor.tool;
  int x0, y0, x1, y1;
  randomPoint(x0, y0);
  randomPoint(x1, y1);
  const int b = chance(85) ? kLeftButton : below(3);
  const int modifiers = chance(80) ? 0 : randomModifiers();
  button(b, kButtonDown, x0, y0, modifiers);
  for (int i = below(4); i > 0; --i) moveTo(x0 + (x1 - x0) * i / 4, y0 + (y1 - y0) * i / 4);
  // Now and then the tool changes in the middle of the drag.
  if (chance(5)) editor.toolMenuCommand(17 + below(13));
  button(b, kButtonUp, x1, y1, modifiers);
  return "tool " + std::to_string(tool) + " button " + std::to_string(b) + " from (" +
         std::to_string(x0) + "," + std::to_string(y0) + ") to (" + std::to_string(x1) + "," +
         std::to_string(y1) + ")";
}

std::string SoakDriver::keyPress() {
  static const unsigned char kKeys[] = {8,   ' ', '/', 'B', 'R', '`', 'b', 'c', 'd',
                                        'e', 'f', 'm', 'n', 'o', 'p', 'q', 'r', 's',
                                        'v', 'w', 'x', 'z', 127, 19,  31,  'l', 'k'};
  unsigned char key =
      chance(90) ? kKeys[below(std::size(kKeys))] : static_cast<unsigned char>(below(256));
  int modifiers = (key == 19 || key == 31) ? kCtrl : (chance(85) ? 0 : randomModifiers());
  int x, y;
  randomPoint(x, y);
  moveTo(x, y);
  editor.setModifiers(modifiers);
  editor.setKeyState(key, 1);
  editor.keyPressed(key, x, y);
  editor.setKeyState(key, 0);
  return "key " + std::to_string(key) + " modifiers " + std::to_string(modifiers);
}

std::string SoakDriver::specialKey() {
  static const int kKeys[] = {1,  2,   3,   4,   5,   6,   7,   8,   9,   10,  11,
                              12, 100, 101, 102, 103, 104, 105, 106, 107, 108, 112};
  const int key = kKeys[below(std::size(kKeys))];
  const int modifiers = chance(50) ? 0 : randomModifiers();
  int x, y;
  randomPoint(x, y);
  moveTo(x, y);
  editor.setModifiers(modifiers);
  editor.specialKeyPressed(key, x, y);
  return "special key " + std::to_string(key) + " modifiers " + std::to_string(modifiers);
}

std::string SoakDriver::menuCommand() {
  const int code = below(32);
  editor.uiContext()->pushCommand(code);
  return "menu code " + std::to_string(code);
}

std::string SoakDriver::popupMenu() {
  int x, y;
  randomPoint(x, y);
  const int modifiers = chance(30) ? kCtrl : 0;
  button(kRightButton, kButtonDown, x, y, modifiers);
  button(kRightButton, kButtonUp, x, y, modifiers);
  std::string what = "pop-up menu at (" + std::to_string(x) + "," + std::to_string(y) + ")";
  if (chance(80) && editor.activeMenu) {
    const Panel& menu = *editor.activeMenu;
    const int cx = static_cast<int>(menu.x() + real(0, menu.width()));
    const int cy = kWindowHeight - static_cast<int>(menu.y() + real(0, menu.height()));
    button(kLeftButton, kButtonDown, cx, cy, 0);
    button(kLeftButton, kButtonUp, cx, cy, 0);
    what += ", click at (" + std::to_string(cx) + "," + std::to_string(cy) + ")";
  }
  return what;
}

// A press, or the release of a held button: one half of a click, the other
// half coming with a later step.
std::string SoakDriver::looseMouseEvent() {
  int x, y;
  randomPoint(x, y);
  const int b = below(kButtons);
  const int state = held_[b] ? kButtonUp : kButtonDown;
  const int modifiers = chance(70) ? 0 : randomModifiers();
  button(b, state, x, y, modifiers);
  return "mouse button " + std::to_string(b) + " state " + std::to_string(state) + " at (" +
         std::to_string(x) + "," + std::to_string(y) + ")";
}

std::string SoakDriver::fileName() {
  return kFileNames[below(std::size(kFileNames))];
}

std::string SoakDriver::number() {
  if (chance(40)) return std::to_string(below(21) - 10);
  return kNumbers[below(std::size(kNumbers))];
}

std::string SoakDriver::randomCommand() {
  const int index = below(std::size(kCommands));
  std::string line = kCommands[index];
  int parameters;
  switch (index) {
    case 0:
    case 1:
    case 2:  // file commands
      return chance(90) ? line + " " + fileName() : line;
    case 3:
      parameters = chance(70) ? 6 : below(8);
      break;
    case 13:
      parameters = chance(70) ? 4 : below(6);
      break;
    case 10:
      return chance(90) ? line + " " + std::to_string(below(14)) + " " + std::to_string(below(7))
                        : line + " " + number();
    default:
      parameters = chance(80) ? 1 : below(3);
  }
  for (int i = 0; i < parameters; ++i) line += (chance(90) ? " " : "  ") + number();
  return line;
}

std::string SoakDriver::consoleLine(bool typed) {
  const std::string line = randomCommand();
  if (!typed) {
    editor.runConsoleCommand(line);
    return "console: " + line;
  }
  UiContext& ui = *editor.uiContext();
  if (!editor.panelsShown) editor.specialKeyPressed(kKeyHome, 0, 0);
  const Panel& console = *editor.consoleWidget;
  const TextEntry& prompt = *editor.consolePrompt;
  const int px = static_cast<int>(console.x() + prompt.x() + prompt.width() / 2);
  const int py = kWindowHeight - static_cast<int>(console.y() + prompt.y() + prompt.height() / 2);
  // The click must reach the prompt, or it would be an action of its own on
  // whatever covers the prompt (a panel, a pop-up menu, or a view).
  const double upY = kWindowHeight - py;
  const Panel* front = nullptr;
  for (Panel* panel : editor.widgets) {
    if (!panel->isHidden() && panel->contains(px, upY)) {
      front = panel;
      break;
    }
  }
  if (editor.dragMode == kNoDrag && front == &console && !console.isMinimised()) {
    button(kLeftButton, kButtonDown, px, py, 0);
    button(kLeftButton, kButtonUp, px, py, 0);
  }
  // Otherwise the user would make room for the prompt first.
  if (ui.focusedEntry() != editor.consolePrompt) ui.setFocusedEntry(editor.consolePrompt);
  for (char c : line) {
    if (chance(3)) editor.keyPressed(8, 0, 0);
    editor.keyPressed(static_cast<unsigned char>(c), 0, 0);
  }
  editor.keyPressed(13, 0, 0);
  editor.framePump();
  if (chance(80)) ui.setFocusedEntry(nullptr);
  return "typed: " + line;
}

std::string SoakDriver::step() {
  std::string what;
  const int* heldButton = std::find(held_, held_ + kButtons, 1);
  if (heldButton != held_ + kButtons) {
    // A held button is let go before the user does anything else.
    int x, y;
    randomPoint(x, y);
    const int b = static_cast<int>(heldButton - held_);
    button(b, kButtonUp, x, y, chance(80) ? 0 : randomModifiers());
    what = "release button " + std::to_string(b) + " at (" + std::to_string(x) + "," +
           std::to_string(y) + ")";
  } else if (editor.model->polygonCount() > kMaxPolygons ||
             editor.model->vertices.count() > 2 * kMaxPolygons) {
    writeFile("seed.mdl", kSeedModel);
    editor.runConsoleCommand("/open seed.mdl");
    what = "reopen the seed model";
  } else {
    const int roll = below(100);
    if (roll < 18) {
      what = selectGesture();
    } else if (roll < 24) {
      what = pickVertices();
    } else if (roll < 28) {
      what = selectAll();
    } else if (roll < 48) {
      what = toolGesture();
    } else if (roll < 61) {
      what = keyPress();
    } else if (roll < 68) {
      what = specialKey();
    } else if (roll < 74) {
      what = menuCommand();
    } else if (roll < 82) {
      what = consoleLine(false);
    } else if (roll < 86) {
      what = consoleLine(true);
    } else if (roll < 91) {
      what = popupMenu();
    } else if (roll < 95) {
      what = looseMouseEvent();
    } else {
      editor.setModifiers(0);
      editor.keyPressed('z', 0, 0);
      what = "undo";
    }
  }
  editor.framePump();
  return what;
}
