#pragma once
// A scripted user for the randomized soak: drives an Editor without a window
// through random selections, tool gestures, keys, menu codes, pop-up menus,
// console lines (typed or run directly) and undo, the way the window callbacks
// deliver them. A button pressed in one step is released in the next. Every
// random choice comes from one seeded generator, so a seed and a step count
// replay a run exactly. File names stay inside the working directory, which
// the caller makes a scratch directory.

#include <cstdint>
#include <random>
#include <string>

#include "app/editor.h"
#include "gui/panel.h"

struct SoakDriver {
  explicit SoakDriver(uint64_t seed);
  // Performs one random action and then a frame's pump, as the display
  // callback would; returns what it did, for the failure report.
  std::string step();

  Editor editor;
  Panel mainPanel;
  std::mt19937_64 rng;
  int held[5] = {};  // 1 while a button is down: left, middle, right, wheel up, wheel down
};
