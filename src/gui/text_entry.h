#pragma once
// A one-line keyboard entry of up to 128 characters. Enter turns the typed
// characters into a finished line; finished lines wait in order until taken,
// so lines typed (or pasted) faster than frames are drawn are never lost.
//
//   state            key            effect
//   any              Backspace      last character removed (nothing when empty)
//   length > 0       Enter          typed joins the finished lines; typed emptied
//   length == 0      Enter          nothing
//   length < 128     other          character appended
//   length == 128    other          ignored (the buffer is full)

#include <deque>
#include <string>

#include "gui/widget.h"

class TextEntry : public Widget {
 public:
  static constexpr int kCapacity = 128;

  TextEntry(std::string name, double x, double y, double width, double height);

  void typeKey(unsigned char c);
  bool isLineReady() const { return lines_.empty() ? false : true; }
  // The oldest finished line, taken out; "" when there is none.
  std::string takeLine();
  int length() const { return length_; }
  // The typed characters followed by spaces up to the full capacity.
  std::string typed() const { return std::string(typed_, kCapacity); }

  void drawTyped(double ox, double oy) const;  // text_entry_draw.cpp

 private:
  int length_ = 0;
  std::deque<std::string> lines_;  // finished lines, oldest first
  char typed_[kCapacity];
};
