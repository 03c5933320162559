#pragma once
// The numbers GLUT delivers for buttons, modifiers and special keys, so that
// the editor's logic needs no window-system header.

// The wheel arrives as presses (and releases) of buttons 3 (away from the
// user) and 4 (toward).
enum MouseButton {
  kLeftButton = 0,
  kMiddleButton = 1,
  kRightButton = 2,
  kWheelUp = 3,
  kWheelDown = 4
};
enum ButtonState { kButtonDown = 0, kButtonUp = 1 };

// Modifier bits of glutGetModifiers(); lock keys may add other bits, so
// bindings compare only these three.
enum Modifier { kShift = 1, kCtrl = 2, kAlt = 4, kModifierMask = 7 };

enum SpecialKey {
  kKeyF1 = 1,
  kKeyF2 = 2,
  kKeyF3 = 3,
  kKeyF4 = 4,
  kKeyF5 = 5,
  kKeyF6 = 6,
  kKeyF7 = 7,
  kKeyF8 = 8,
  kKeyF9 = 9,
  kKeyF10 = 10,
  kKeyF11 = 11,
  kKeyF12 = 12,
  kKeyLeft = 100,
  kKeyUp = 101,
  kKeyRight = 102,
  kKeyDown = 103,
  kKeyPageUp = 104,
  kKeyPageDown = 105,
  kKeyHome = 106,
  kKeyEnd = 107,
  kKeyInsert = 108,
};
