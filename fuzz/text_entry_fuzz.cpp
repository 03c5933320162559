// Typing any bytes into the prompt: the entry shows what a plain string model of it holds.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>

#include "gui/text_entry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TextEntry entry("prompt", 0, 0, 200, 20);
  std::string typed, line;
  bool ready = false;
  for (size_t i = 0; i < size; ++i) {
    const unsigned char c = data[i];
    entry.typeKey(c);
    if (c == 8) {
      if (!typed.empty()) typed.pop_back();
    } else if (c == 13) {
      if (!typed.empty()) line = std::exchange(typed, ""), ready = true;
    } else if (static_cast<int>(typed.size()) < TextEntry::kCapacity) {
      typed.push_back(static_cast<char>(c));
    }
    const std::string shown = entry.typed();
    bool same = entry.length() == static_cast<int>(typed.size()) &&
                shown == typed + std::string(TextEntry::kCapacity - typed.size(), ' ') &&
                (entry.isLineReady() != 0) == ready;
    if (ready && (c & 1)) {  // the frame pump takes the line, now and then
      same = same && entry.takeLine() == line;
      ready = false;
    }
    if (!same) std::abort();
  }
  return 0;
}
