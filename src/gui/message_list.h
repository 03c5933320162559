#pragma once
// A named list of short text lines, newest first, whose oldest line may expire
// after a fixed lifetime.

#include <cstdint>
#include <deque>
#include <functional>
#include <string>

class MessageList {
 public:
  // The clock in milliseconds: a steady wall clock by default (processor time
  // stands still while the editor waits for events), replaceable for tests.
  using Clock = std::function<int64_t()>;
  static int64_t processClockMs();

  MessageList(std::string name, int lifetimeSeconds, Clock clock = processClockMs);

  void addMessage(const std::string& text);
  // The text of the line at index (0 is the newest), or
  // "Message not found! (Index out of range)".
  std::string messageAt(int index) const;
  int count() const { return static_cast<int>(lines_.size()); }
  int firstVisible() const { return firstVisible_; }
  const std::string& name() const { return name_; }

  // Drops the oldest line once the clock has passed nextExpiry (at most one a call).
  void tick();
  // Milliseconds until a tick will drop a line (0 when one is due), or -1
  // when none ever will: lines that never expire, or no line left.
  int64_t msUntilExpiry() const;
  void expireOldest();

 private:
  int64_t nextExpiry_;
  int64_t lifetimeMs_;
  int lifetimeSeconds_;
  int firstVisible_ = 0;
  std::string name_;
  std::deque<std::string> lines_;  // front is the newest
  Clock clock_;
};
