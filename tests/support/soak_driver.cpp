#include "support/soak_driver.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <sstream>
#include <vector>

#include "app/input_codes.h"
#include "console/console_commands.h"
#include "support/fixtures.h"
#include "tools/tool_menu.h"

namespace {

constexpr int kWidth = 800, kHeight = 600;
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

// Blank-separated choices; the constructor lays out the files.
constexpr const char* kCommands =
    "/open /save /loadtex /setbb /showtex /hidetex /setx /sety /setz /getpos /setcylinder "
    "/smoothpolys /flattenpolys /setcolor /polycount /unknown setx";
constexpr const char* kFileNames =
    "a.mdl b.mdl model.mdl tex.bmp bad.bmp broken.mdl dir missing.mdl tab\tname.bmp nodir/x fifo "
    "zero";
constexpr const char* kNumbers =
    "0 1 -1 2.5 -3.25 0.000001 1e308 -1e308 1e309 nan inf abc +3 -0 1e-320 "
    "1.7976931348623157e308 12 4 0.5 +-1 7x .5";
// Bound keys, Backspace, Delete, and what Ctrl+S and Ctrl+/ send.
const std::string kKeys = "\b /BR`bcdefmnopqrsvwxz\x7f\x13\x1flk";
// 8 and 16 stand for lock keys, which bindings must ignore.
const int kModifiers[] = {0, 0, kShift, kCtrl, kAlt, kShift | kCtrl, 8, 8 | kShift, 16 | kCtrl};

struct Point {
  int x, y;  // GLUT window coordinates, y down
};
std::ostream& operator<<(std::ostream& out, Point p) {
  return out << "(" << p.x << "," << p.y << ")";
}

// The parts joined by blanks.
template <class... Parts>
std::string say(const Parts&... parts) {
  std::ostringstream out;
  ((out << parts << ' '), ...);
  return out.str().substr(0, out.str().size() - 1);
}

// The actions of one step, on the driver's editor and generator.
class User {
 public:
  explicit User(SoakDriver& d) : d_(d), e_(d.editor) {}

  std::string act() {
    const int roll = below(100);
    if (roll < 38) return gesture();
    if (roll < 44) return pickVertices();
    if (roll < 48) {  // select or deselect all of one kind
      const int k = kKeyF1 + below(3), modifiers = chance(70) ? kShift : kCtrl;
      special(k, modifiers);
      return say("special key", k, "modifiers", modifiers);
    }
    if (roll < 68) return keyPress(roll >= 61);
    if (roll < 74) {
      const int code = below(32);
      e_.uiContext()->pushCommand(code);
      return say("menu code", code);
    }
    if (roll < 86) return consoleLine(roll >= 82);
    if (roll < 91) return popupMenu();
    const Point at = randomPoint();
    const int b = below(5), modifiers = chance(70) ? 0 : randomModifiers();
    if (roll < 95) {  // a press alone, released by the next step
      button(b, kButtonDown, at, modifiers);
      return say("press button", b, "at", at, "modifiers", modifiers);
    }
    key('z');
    return "undo";
  }

  std::string releaseButton(int b) {
    const Point at = randomPoint();
    button(b, kButtonUp, at, chance(80) ? 0 : randomModifiers());
    return say("release button", b, "at", at);
  }

 private:
  int below(size_t n) { return static_cast<int>(d_.rng() % n); }
  bool chance(int percent) { return below(100) < percent; }
  int randomModifiers() { return kModifiers[below(std::size(kModifiers))]; }
  std::string pickWord(const char* words) {
    std::vector<std::string> list;
    std::istringstream in(words);
    for (std::string word; std::getline(in, word, ' ');) list.push_back(word);
    return list[below(list.size())];
  }

  void button(int b, int state, Point at, int modifiers) {
    e_.setModifiers(modifiers);
    e_.mouseMoved(at.x, at.y);
    e_.mouseButton(b, state);
    d_.held[b] = state == kButtonDown;
  }
  void click(int b, Point at, int modifiers) {
    button(b, kButtonDown, at, modifiers);
    button(b, kButtonUp, at, modifiers);
  }
  void key(unsigned char k, int modifiers = 0) {
    e_.setModifiers(modifiers);
    e_.keyPressed(k, 0, 0);
  }
  void special(int k, int modifiers = 0) {
    e_.setModifiers(modifiers);
    e_.specialKeyPressed(k, 0, 0);
  }

  // Where a flat view shows a random vertex of the model; false without any.
  bool vertexPoint(Point& at) {
    if (e_.model->vertices.empty()) return false;
    const Vertex* v = e_.model->vertices.at(below(e_.model->vertices.count()));
    const int kind = e_.layoutMode == 1 ? below(3) : e_.singleView;
    const Viewport& view = e_.views[kind];
    const double h = kind == kSideView ? v->x : v->z, vv = kind == kTopView ? v->x : v->y;
    const double px = view.rectLeft + (h - view.left) / (view.right - view.left) * view.pixelWidth;
    const double py =
        view.rectBottom + (vv - view.bottom) / (view.top - view.bottom) * view.pixelHeight;
    at = {static_cast<int>(std::clamp(px, -100.0, 900.0)) + below(7) - 3,
          kHeight - static_cast<int>(std::clamp(py, -100.0, 700.0)) + below(7) - 3};
    return true;
  }
  // Anywhere, in the UV view (where texture points are picked), or on a vertex.
  Point randomPoint() {
    const Viewport& uv = e_.views[kUvView];
    if (e_.panelsShown && chance(15))
      return {uv.rectLeft + below(std::max(1, uv.rectRight - uv.rectLeft)),
              kHeight - uv.rectBottom - below(std::max(1, uv.rectTop - uv.rectBottom))};
    Point at;
    if (chance(35) || !vertexPoint(at)) at = {below(kWidth), below(kHeight)};
    return at;
  }

  // A tool chosen by F1-F3, by key or from the menu, then a click or a drag
  // with it, now and then changing the tool halfway.
  std::string gesture() {
    const int how = below(4);
    if (how == 0) special(kKeyF1 + below(3));
    if (how == 1) key(" mrsvbcexq"[below(10)]);
    if (how >= 2) toolMenuCommand(e_, 17 + below(13));
    const int tool = e_.tool, b = chance(90) ? kLeftButton : below(3);
    const int modifiers = chance(50) ? 0 : randomModifiers();
    const Point from = randomPoint(), to = chance(25) ? from : randomPoint();
    button(b, kButtonDown, from, modifiers);
    for (int i = below(4); i > 0; --i)
      e_.mouseMoved(from.x + (to.x - from.x) * i / 4, from.y + (to.y - from.y) * i / 4);
    if (chance(5)) toolMenuCommand(e_, 17 + below(13));
    button(b, kButtonUp, to, modifiers);
    return say("tool", tool, "button", b, "from", from, "to", to, "modifiers", modifiers);
  }

  // Clicks on a few vertices, the first replacing the selection and the others
  // added with Shift, then often a key that works on exactly such a selection.
  std::string pickVertices() {
    special(kKeyF1);
    const int count = 1 + below(4);
    Point at;
    for (int i = 0; i < count && vertexPoint(at); ++i) click(kLeftButton, at, i ? kShift : 0);
    const int k = chance(60) ? "pnd\x7f"[below(4)] : 0;
    if (k) key(k);
    return say("pick", count, "vertices, key", k);
  }

  // A key at a random pointer position: mostly a bound one, sometimes any
  // byte; or a special key (F1-F12, arrows, pages, Home, End, Insert, 112).
  std::string keyPress(bool isSpecial) {
    const int n = below(22);
    int k = isSpecial    ? (n < 12   ? n + 1
                            : n < 21 ? n + 88
                                     : 112)
            : chance(90) ? kKeys[below(kKeys.size())]
                         : below(256);
    int modifiers = chance(isSpecial ? 50 : 85) ? 0 : randomModifiers();
    if (!isSpecial && (k == 19 || k == 31)) modifiers = kCtrl;
    const Point at = randomPoint();
    e_.mouseMoved(at.x, at.y);
    e_.setModifiers(modifiers);
    if (isSpecial) {
      e_.specialKeyPressed(k, at.x, at.y);
    } else {
      e_.setKeyState(k, 1);
      e_.keyPressed(static_cast<unsigned char>(k), at.x, at.y);
      e_.setKeyState(k, 0);
    }
    return say(isSpecial ? "special key" : "key", k, "modifiers", modifiers);
  }

  std::string popupMenu() {
    const Point at = randomPoint();
    click(kRightButton, at, chance(30) ? kCtrl : 0);
    if (!chance(80) || !e_.activeMenu) return say("pop-up menu at", at);
    const Panel& menu = *e_.activeMenu;
    const Point item = {
        static_cast<int>(menu.x()) + below(std::max(1, int(menu.width()))),
        kHeight - static_cast<int>(menu.y()) - below(std::max(1, int(menu.height())))};
    click(kLeftButton, item, 0);
    return say("pop-up menu at", at, "click at", item);
  }

  // A console line, run directly or typed at the prompt of the shown panels
  // (with a few Backspaces pressed in vain).
  std::string consoleLine(bool typed) {
    std::string line = pickWord(kCommands);
    if (line == "/open" || line == "/save" || line == "/loadtex") {
      if (chance(90)) line += " " + pickWord(kFileNames);
    } else {
      const int usual = line == "/setbb"         ? 6
                        : line == "/setcolor"    ? 4
                        : line == "/setcylinder" ? 2
                                                 : 1;
      for (int i = chance(75) ? usual : below(8); i > 0; --i)
        line += (chance(90) ? " " : "  ") +
                (chance(40) ? std::to_string(below(21) - 10) : pickWord(kNumbers));
    }
    if (!typed) {
      runConsoleCommand(e_, line);
      return "console: " + line;
    }
    if (!e_.panelsShown) special(kKeyHome);
    e_.uiContext()->setFocusedEntry(e_.consolePrompt);
    for (char c : line + "\r") {
      if (chance(3)) key('\b');
      key(c);
    }
    e_.framePump();
    if (chance(80)) e_.uiContext()->setFocusedEntry(nullptr);
    return "typed: " + line;
  }

  SoakDriver& d_;
  Editor& e_;
};

}  // namespace

SoakDriver::SoakDriver(uint64_t seed)
    : mainPanel("main", 100, 100, kWidth, kHeight, editor.uiContext()), rng(seed) {
  editor.setMainWidget(&mainPanel);
  editor.layoutViews();
  editor.undoLimit = 8;  // so that the oldest snapshots are dropped often
  for (const char* name : {"seed.mdl", "model.mdl"}) writeFile(name, kSeedModel);
  writeFile("broken.mdl", std::string(kSeedModel).substr(0, 40));
  for (const char* name : {"tex.bmp", "tab\tname.bmp"}) writeFile(name, tinyBmp());
  writeFile("bad.bmp", "BM this is no image");
  mkdir("dir", 0755);
  mkfifo("fifo", 0644);
  symlink("/dev/zero", "zero");
  runConsoleCommand(editor, "/open seed.mdl");
}

std::string SoakDriver::step() {
  std::string what;
  const int b = static_cast<int>(std::find(held, held + 5, 1) - held);
  if (b < 5) {
    what = User(*this).releaseButton(b);  // before the user does anything else
  } else if (editor.model->polygonCount() > kMaxPolygons ||
             editor.model->vertices.count() > 2 * kMaxPolygons) {
    writeFile("seed.mdl", kSeedModel);
    runConsoleCommand(editor, "/open seed.mdl");
    what = "reopen the seed model";
  } else {
    what = User(*this).act();
  }
  editor.framePump();
  return what;
}
