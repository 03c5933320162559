#pragma once
// A scripted user for the randomized soak: drives an Editor without a window
// through random selections, tool gestures, keys, menu codes, console lines
// (typed or run directly) and undo, the way the window callbacks deliver
// them. Each step is one action of the user: a button pressed in one step is
// released in the next. Every random choice comes from one seeded generator, so a seed and a
// step count replay a run exactly. File names stay inside the working
// directory, which the caller makes a scratch directory.

#include <cstdint>
#include <random>
#include <string>

#include "app/editor.h"
#include "gui/panel.h"

class SoakDriver {
 public:
  explicit SoakDriver(uint64_t seed);

  // Performs one random operation and then a frame's pump, as the display
  // callback would; returns a short description for the failure report.
  std::string step();

  Editor editor;

 private:
  int below(int n) { return static_cast<int>(rng_() % static_cast<uint64_t>(n)); }
  bool chance(int percent) { return below(100) < percent; }
  double real(double lo, double hi) {
    return lo + (hi - lo) * (static_cast<double>(rng_() >> 11) * 0x1.0p-53);
  }

  // GLUT-style input: window coordinates with y down.
  void moveTo(int x, int y) { editor.mouseMoved(x, y); }
  void button(int b, int state, int x, int y, int modifiers);
  int randomModifiers();
  // A window point: anywhere, in the UV view, or on a vertex of the model.
  void randomPoint(int& x, int& y);
  // Where a flat view shows a random vertex of the model; false without any.
  bool vertexPoint(int& x, int& y);

  std::string selectGesture();
  std::string pickVertices();
  std::string selectAll();
  std::string toolGesture();
  std::string keyPress();
  std::string specialKey();
  std::string menuCommand();
  std::string consoleLine(bool typed);
  std::string popupMenu();
  std::string looseMouseEvent();
  std::string randomCommand();
  std::string fileName();
  std::string number();

  static constexpr int kButtons = 5;  // left, middle, right, wheel up, wheel down

  std::mt19937_64 rng_;
  Panel mainPanel_;
  int held_[kButtons] = {};  // 1 while the driver holds that button down
};
