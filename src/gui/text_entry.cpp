#include "gui/text_entry.h"

#include <cstring>
#include <utility>

namespace {
constexpr unsigned char kBackspace = 8;
constexpr unsigned char kEnter = 13;
}  // namespace

TextEntry::TextEntry(std::string name, double x, double y, double width, double height)
    : Widget(x, y, width, height, std::move(name)) {
  std::memset(typed_, ' ', kCapacity);
  setWidthMode(kFillSize);
  setHeightMode(kKeepSize);
  setLabelAlignment(0, 0);
  hideLabel();
}

void TextEntry::typeKey(unsigned char c) {
  if (c == kBackspace) {
    if (length_ > 0) typed_[--length_] = ' ';
  } else if (c == kEnter) {
    if (length_ > 0) {
      lines_.emplace_back(typed_, length_);
      std::memset(typed_, ' ', kCapacity);
      length_ = 0;
    }
  } else if (length_ < kCapacity) {
    // Every other code is kept, printable or not; a full buffer ignores it.
    typed_[length_++] = static_cast<char>(c);
  }
}

std::string TextEntry::takeLine() {
  if (lines_.empty()) return {};
  std::string line = std::move(lines_.front());
  lines_.pop_front();
  return line;
}
