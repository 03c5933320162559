#pragma once
// An Editor with its main panel, and input played as the window callbacks deliver it (GLUT
// coordinates, y down from the top of the 600-pixel window).

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/editor.h"
#include "console/console_commands.h"
#include "document/undo.h"
#include "tools/polygon_ops.h"
#include "tools/selection.h"
#include "tools/tool_menu.h"
#include "tools/transforms.h"
#include "view/input_codes.h"
#include "view/view_layout.h"

class EditorTest : public ::testing::Test {
 protected:
  EditorTest() : mainPanel("main", 100, 100, 800, 600, editor.uiContext()) {
    editor.setMainWidget(&mainPanel);
    editor.layoutViews();
  }

  void moveTo(int x, int y) { editor.mouseMoved(x, y); }
  void button(int b, int state, int x, int y, int modifiers) {
    editor.setModifiers(modifiers);
    editor.mouseMoved(x, y);
    editor.mouseButton(b, state);
  }
  void press(int b, int x, int y, int modifiers = 0) { button(b, kButtonDown, x, y, modifiers); }
  void release(int b, int x, int y, int modifiers = 0) { button(b, kButtonUp, x, y, modifiers); }
  void click(int b, int x, int y, int modifiers = 0) {
    press(b, x, y, modifiers);
    release(b, x, y, modifiers);
  }
  void drag(int b, int x0, int y0, int x1, int y1, int modifiers = 0) {
    press(b, x0, y0, modifiers);
    moveTo((x0 + x1) / 2, (y0 + y1) / 2);
    release(b, x1, y1, modifiers);
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
  std::string lastConsoleMessage() { return editor.consoleMessages->currentList()->messageAt(0); }
  int messageCount() { return editor.consoleMessages->currentList()->count(); }
  // The console messages added since it held `before`, oldest first, each ended by `end`.
  std::string messagesSince(int before, const std::string& end = "|") {
    const MessageList& list = *editor.consoleMessages->currentList();
    std::string added;
    for (int i = list.count() - before - 1; i >= 0; --i) added += list.messageAt(i) + end;
    return added;
  }
  // The console messages a line adds, each ended by `end`.
  std::string said(const std::string& line, const std::string& end = "|") {
    const int before = messageCount();
    runConsoleCommand(editor, line);
    return messagesSince(before, end);
  }
  int consoleLinesStartingWith(const std::string& start) {
    const MessageList& list = *editor.consoleMessages->currentList();
    int count = 0;
    for (int i = 0; i < list.count(); ++i) count += list.messageAt(i).starts_with(start);
    return count;
  }

  // A view's pixel rectangle, size and extent: "0,0-400,300 400x300 [-4:4 x -3:3]".
  static std::string viewState(const Viewport& v) {
    char text[160];
    std::snprintf(text, sizeof text, "%d,%d-%d,%d %gx%g [%g:%g x %g:%g]", v.rectLeft, v.rectBottom,
                  v.rectRight, v.rectTop, v.pixelWidth, v.pixelHeight, v.left, v.right, v.bottom,
                  v.top);
    return text;
  }
  static std::string rectOf(const Widget& w) {  // in its holder: "5,35 390x135"
    char text[80];
    std::snprintf(text, sizeof text, "%g,%g %gx%g", w.x(), w.y(), w.width(), w.height());
    return text;
  }

  int glutX(int view, double h) {  // the window pixel of a point of a flat view
    const Viewport& v = editor.viewSet.views[view];
    return static_cast<int>(v.rectLeft + (h - v.left) / (v.right - v.left) * v.pixelWidth + 0.5);
  }
  int glutY(int view, double u) {
    const Viewport& v = editor.viewSet.views[view];
    return 600 - static_cast<int>(v.rectBottom +
                                  (u - v.bottom) / (v.top - v.bottom) * v.pixelHeight + 0.5);
  }

  Editor editor;
  Panel mainPanel;
};
