#pragma once
// The state that the window toolkit and the rest of the program share: the
// pointer and mouse buttons, the queue of command codes posted by buttons, the
// finished console line, the colour table, the title-bar height, the text
// entry with keyboard focus, the texture cache and the window size.

#include <deque>
#include <memory>
#include <string>

#include "images/texture_cache.h"
#include "model/list.h"

class TextEntry;

class UiContext {
 public:
  static constexpr int kColourSlots = 16;

  UiContext();

  TextureCache* textures() { return textures_.get(); }

  void setMousePosition(int x, int y) {
    mouseX_ = x;
    mouseY_ = y;
  }
  int mouseX() const { return mouseX_; }
  int mouseY() const { return mouseY_; }  // measured upward from the bottom edge

  // button 0 left, 1 middle, 2 right; state 0 down, 1 up. Others are ignored.
  void setButton(int button, int state);
  bool isButtonDown(int button) const;

  void setColour(int slot, float red, float green, float blue, float alpha);
  const float* colour(int slot) const { return colours_[slot]; }

  void setTitleBarHeight(double height) { titleBarHeight_ = height; }
  double titleBarHeight() const { return titleBarHeight_; }

  // Lines the entry losing the focus has finished are taken first, so that
  // none waits for the focus to come back.
  void setFocusedEntry(TextEntry* entry) {
    pollFocusedEntry();
    focusedEntry_ = entry;
  }
  TextEntry* focusedEntry() const { return focusedEntry_; }

  // First in, first out: pushCommand adds at the front, popCommand takes the
  // back and answers -1 when the queue is empty.
  void pushCommand(int code);
  int popCommand();
  int queuedCommands() const { return commands_.count(); }

  // Moves the finished lines out of the focused entry, if it has any; they
  // wait here in order, each to be taken once.
  void pollFocusedEntry();
  bool isLinePending() const { return commandLines_.empty() ? false : true; }
  std::string takeCommandLine();  // the oldest pending line; "" when none

  // The window's size in pixels, kept by the window layer (reshape).
  void setWindowSize(int width, int height) {
    windowWidth_ = width;
    windowHeight_ = height;
  }
  int windowWidth() const { return windowWidth_; }
  int windowHeight() const { return windowHeight_; }

 private:
  std::unique_ptr<TextureCache> textures_;
  int mouseX_ = 0;
  int mouseY_ = 0;
  int buttonDown_[3] = {0, 0, 0};
  double titleBarHeight_ = 20;
  std::deque<std::string> commandLines_;
  float colours_[kColourSlots][4] = {};
  UntypedList commands_;  // each node's data word holds a code
  TextEntry* focusedEntry_ = nullptr;
  int windowWidth_ = 800;
  int windowHeight_ = 600;
};
