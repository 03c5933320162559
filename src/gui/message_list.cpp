#include "gui/message_list.h"

#include <algorithm>
#include <chrono>
#include <utility>

int64_t MessageList::processClockMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

MessageList::MessageList(std::string name, int lifetimeSeconds, Clock clock)
    : lifetimeMs_(static_cast<int64_t>(lifetimeSeconds) * 1000),
      lifetimeSeconds_(lifetimeSeconds),
      name_(std::move(name)),
      clock_(std::move(clock)) {
  nextExpiry_ = clock_() + lifetimeMs_;
  addMessage("List initialized. (Name: " + name_ + "). This is a stupid unnecessary message.");
}

void MessageList::addMessage(const std::string& text) {
  lines_.push_front(text);
}

std::string MessageList::messageAt(int index) const {
  if (index < 0 || index >= count()) return "Message not found! (Index out of range)";
  return lines_[index];
}

void MessageList::tick() {
  // nextExpiry only advances when a line goes, so after a quiet spell the
  // backlog drains one line per call until it has caught up with the clock.
  if (clock_() > nextExpiry_ && lifetimeSeconds_ != 0 && count() != 0) {
    expireOldest();
    nextExpiry_ += lifetimeMs_;
  }
}

int64_t MessageList::msUntilExpiry() const {
  if (lifetimeSeconds_ == 0 || count() == 0) return -1;
  // tick drops a line once the clock is past nextExpiry, not at it.
  return std::max<int64_t>(0, nextExpiry_ + 1 - clock_());
}

void MessageList::expireOldest() {
  if (!lines_.empty()) lines_.pop_back();
}
