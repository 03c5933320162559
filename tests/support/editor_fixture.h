#pragma once
// An Editor with its main panel, as the program builds them, and helpers that
// play input events the way the window callbacks deliver them (GLUT window
// coordinates, y down).

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/editor.h"
#include "app/input_codes.h"

class EditorTest : public ::testing::Test {
 protected:
  EditorTest() : mainPanel("main", 100, 100, 800, 600, editor.uiContext()) {
    editor.setMainWidget(&mainPanel);
    editor.layoutViews();
  }

  // Pointer motion at GLUT coordinates (y down from the top of the 600-pixel window).
  void moveTo(int x, int y) { editor.mouseMoved(x, y); }
  void press(int button, int x, int y, int modifiers = 0) {
    editor.setModifiers(modifiers);
    editor.mouseMoved(x, y);
    editor.mouseButton(button, kButtonDown);
  }
  void release(int button, int x, int y, int modifiers = 0) {
    editor.setModifiers(modifiers);
    editor.mouseMoved(x, y);
    editor.mouseButton(button, kButtonUp);
  }
  void click(int button, int x, int y, int modifiers = 0) {
    press(button, x, y, modifiers);
    release(button, x, y, modifiers);
  }
  void drag(int button, int x0, int y0, int x1, int y1, int modifiers = 0) {
    press(button, x0, y0, modifiers);
    moveTo((x0 + x1) / 2, (y0 + y1) / 2);
    release(button, x1, y1, modifiers);
  }
  void key(unsigned char k, int modifiers = 0) {
    editor.setModifiers(modifiers);
    editor.setKeyState(k, 1);
    editor.keyPressed(k, 0, 0);
    editor.setKeyState(k, 0);
  }
  void special(int k, int modifiers = 0) {
    editor.setModifiers(modifiers);
    editor.specialKeyPressed(k, 0, 0);
  }
  void typeLine(const std::string& text) {
    for (char c : text) key(static_cast<unsigned char>(c));
    key(13);
  }
  std::string lastConsoleMessage() { return editor.consoleMessages->currentList()->messageAt(0); }

  // A view's pixel rectangle (left, bottom - right, top), pixel size and visible
  // extent: "0,0-400,300 400x300 [-4:4 x -3:3]".
  static std::string viewState(const Viewport& v) {
    char text[160];
    std::snprintf(text, sizeof text, "%d,%d-%d,%d %gx%g [%g:%g x %g:%g]", v.rectLeft, v.rectBottom,
                  v.rectRight, v.rectTop, v.pixelWidth, v.pixelHeight, v.left, v.right, v.bottom,
                  v.top);
    return text;
  }
  // A widget's corner and size in its holder: "5,35 390x135".
  static std::string rectOf(const Widget& w) {
    char text[80];
    std::snprintf(text, sizeof text, "%g,%g %gx%g", w.x(), w.y(), w.width(), w.height());
    return text;
  }

  // Window pixel of a point of a flat view, in GLUT coordinates (y down).
  int glutX(int view, double h) {
    const Viewport& v = editor.views[view];
    return static_cast<int>(v.rectLeft + (h - v.left) / (v.right - v.left) * v.pixelWidth + 0.5);
  }
  int glutY(int view, double vv) {
    const Viewport& v = editor.views[view];
    int up =
        static_cast<int>(v.rectBottom + (vv - v.bottom) / (v.top - v.bottom) * v.pixelHeight + 0.5);
    return 600 - up;
  }

  Editor editor;
  Panel mainPanel;
};
