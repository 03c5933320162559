#pragma once
// Where the pointer is and where the current drag began, in window pixels
// with y up, and the modifier keys of the last input event.

struct Pointer {
  int mouseX = 0, mouseY = 0;
  int pressX = 0, pressY = 0;
  int modifiers = -1;  // last glutGetModifiers() recorded by a callback
};
