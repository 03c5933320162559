#include "render/busy_watch.h"

#include <utility>

BusyWatch::BusyWatch(Clock::duration delay, Clock::duration linger, std::function<void()> show,
                     std::function<void()> hide)
    : delay_(delay), linger_(linger), show_(std::move(show)), hide_(std::move(hide)) {
  thread_ = std::thread([this] { watch(); });
}

BusyWatch::~BusyWatch() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

void BusyWatch::begin() {
  std::lock_guard lock(mutex_);
  if (depth_++ > 0) return;
  ++stretches_;
  since_ = Clock::now();
  changed_.notify_all();
}

void BusyWatch::end() {
  std::lock_guard lock(mutex_);
  if (--depth_ == 0) changed_.notify_all();
}

void BusyWatch::watch() {
  std::unique_lock lock(mutex_);
  while (true) {
    changed_.wait(lock, [this] { return stopping_ || depth_ > 0; });
    if (stopping_) return;
    // A stretch that ends before the delay shows nothing.
    const uint64_t stretch = stretches_;
    if (changed_.wait_until(lock, since_ + delay_,
                            [&] { return stopping_ || depth_ == 0 || stretches_ != stretch; }))
      continue;
    lock.unlock();
    show_();
    lock.lock();
    // Shown while the work goes on, or begins again within the linger.
    while (!stopping_) {
      changed_.wait(lock, [this] { return stopping_ || depth_ == 0; });
      if (!changed_.wait_for(lock, linger_, [this] { return stopping_ || depth_ > 0; })) break;
    }
    lock.unlock();
    hide_();
    lock.lock();
  }
}
