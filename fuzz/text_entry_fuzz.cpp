// Typing any bytes into the console prompt: the entry never holds more than
// its 128 characters, and each finished line is exactly what a plain model of
// the entry says it should be.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "gui/text_entry.h"

namespace {

void require(bool condition) {
  if (!condition) std::abort();
}

// What the entry should hold: Backspace drops the last character, Enter
// finishes a non-empty line, a full entry ignores further characters.
struct Expected {
  std::string typed;
  std::string line;
  bool ready = false;

  void type(unsigned char c) {
    if (c == 8) {
      if (!typed.empty()) typed.pop_back();
    } else if (c == 13) {
      if (!typed.empty()) {
        line = typed;
        ready = true;
        typed.clear();
      }
    } else if (typed.size() < TextEntry::kCapacity) {
      typed.push_back(static_cast<char>(c));
    }
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TextEntry entry("prompt", 0, 0, 200, 20);
  Expected expected;
  for (size_t i = 0; i < size; ++i) {
    entry.typeKey(data[i]);
    expected.type(data[i]);
    require(entry.length() >= 0 && entry.length() <= TextEntry::kCapacity);
    require(entry.length() == static_cast<int>(expected.typed.size()));
    const std::string shown = entry.typed();
    require(shown.size() == static_cast<size_t>(TextEntry::kCapacity));
    require(shown.compare(0, expected.typed.size(), expected.typed) == 0);
    require(shown.find_first_not_of(' ', expected.typed.size()) == std::string::npos);
    require((entry.isLineReady() != 0) == expected.ready);
    // Taking the line, as the frame pump does, now and then.
    if (expected.ready && (data[i] & 1)) {
      require(entry.takeLine() == expected.line);
      expected.ready = false;
    }
  }
  return 0;
}
