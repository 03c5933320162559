#pragma once
// A one-line keyboard entry of up to 128 characters. Enter turns the typed
// characters into a finished line.
//
//   state            key            effect
//   any              Backspace      last character removed (nothing when empty)
//   length > 0       Enter          line = typed; lineReady = 1; typed emptied
//   length == 0      Enter          nothing
//   length < 128     other          character appended
//   length == 128    other          ignored (the buffer is full)

#include <string>

#include "gui/widget.h"

class TextEntry : public Widget {
 public:
  static constexpr int kCapacity = 128;

  TextEntry(std::string name, double x, double y, double width, double height);

  void typeKey(unsigned char c);
  int isLineReady() const { return lineReady_; }
  std::string takeLine();
  int length() const { return length_; }
  // The typed characters followed by spaces up to the full capacity.
  std::string typed() const { return std::string(typed_, kCapacity); }

  void drawTyped(double ox, double oy) const;  // text_entry_draw.cpp

 private:
  int length_ = 0;
  int lineReady_ = 0;
  std::string line_;
  char typed_[kCapacity];
};
