#include "gui/ui_context.h"

#include <cstdint>

#include "gui/text_entry.h"

UiContext::UiContext() : textures_(std::make_unique<TextureCache>()) {}

void UiContext::setButton(int button, int state) {
  if (button < 0 || button > 2) return;
  if (state == 0) {
    buttonDown_[button] = 1;
  } else if (state == 1) {
    buttonDown_[button] = 0;
  }
}

bool UiContext::isButtonDown(int button) const {
  return (button >= 0 && button <= 2) ? buttonDown_[button] : 0;
}

void UiContext::setColour(int slot, float red, float green, float blue, float alpha) {
  colours_[slot][0] = red;
  colours_[slot][1] = green;
  colours_[slot][2] = blue;
  colours_[slot][3] = alpha;
}

void UiContext::pushCommand(int code) {
  commands_.pushFront(reinterpret_cast<void*>(static_cast<intptr_t>(code)));
}

int UiContext::popCommand() {
  if (commands_.empty()) return -1;
  return static_cast<int>(reinterpret_cast<intptr_t>(commands_.popBack()));
}

void UiContext::pollFocusedEntry() {
  while (focusedEntry_ && focusedEntry_->isLineReady())
    commandLines_.push_back(focusedEntry_->takeLine());
}

std::string UiContext::takeCommandLine() {
  if (commandLines_.empty()) return {};
  std::string line = std::move(commandLines_.front());
  commandLines_.pop_front();
  return line;
}
