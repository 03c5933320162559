#pragma once
// Knowing when the editor has been busy for a while. The window's callbacks
// mark their work; a thread of its own calls `show` once one stretch of work
// has lasted `delay`, and `hide` once the work is over and no more has begun
// within `linger`. Work shorter than `delay` never reaches `show`, so quick
// events never flicker the cursor, and back-to-back long work keeps it shown.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

class BusyWatch {
 public:
  using Clock = std::chrono::steady_clock;

  BusyWatch(Clock::duration delay, Clock::duration linger, std::function<void()> show,
            std::function<void()> hide);
  // Stops the thread, hiding first when shown.
  ~BusyWatch();
  BusyWatch(const BusyWatch&) = delete;
  BusyWatch& operator=(const BusyWatch&) = delete;

  // Work begins and ends; nested marks count as the outermost one.
  void begin();
  void end();

 private:
  void watch();

  const Clock::duration delay_, linger_;
  const std::function<void()> show_, hide_;
  std::mutex mutex_;
  std::condition_variable changed_;
  int depth_ = 0;
  uint64_t stretches_ = 0;   // stretches of work begun so far
  Clock::time_point since_;  // when the current stretch began
  bool stopping_ = false;
  std::thread thread_;
};

// Marks work on a watch while it lives; with no watch it marks nothing.
class BusyPeriod {
 public:
  explicit BusyPeriod(BusyWatch* watch) : watch_(watch) {
    if (watch_) watch_->begin();
  }
  ~BusyPeriod() {
    if (watch_) watch_->end();
  }
  BusyPeriod(const BusyPeriod&) = delete;
  BusyPeriod& operator=(const BusyPeriod&) = delete;

 private:
  BusyWatch* watch_;
};
