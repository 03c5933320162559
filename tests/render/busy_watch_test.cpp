// When the busy watch shows and hides, with a 50 ms delay and a 300 ms linger.

#include "render/busy_watch.h"

#include <gtest/gtest.h>

namespace {

using std::chrono::milliseconds;

// Short work, nested or not, never shows; long work shows once, and more work right after it
// keeps it shown, hidden once the work is over.
TEST(BusyWatchTest, OnlyWorkOutlastingTheDelayShowsAndBackToBackWorkShowsOnce) {
  std::mutex mutex;
  std::condition_variable changed;
  int shows = 0, hides = 0;
  auto counter = [&](int& count) {
    return [&] {
      std::lock_guard lock(mutex);
      ++count;
      changed.notify_all();
    };
  };
  auto waitUntil = [&](auto done) {
    std::unique_lock lock(mutex);
    return changed.wait_for(lock, std::chrono::seconds(5), done);
  };
  BusyWatch watch(milliseconds(50), milliseconds(300), counter(shows), counter(hides));
  for (int i = 0; i < 100; ++i) {
    const BusyPeriod work(&watch), nested(&watch);
  }
  std::this_thread::sleep_for(milliseconds(150));
  EXPECT_EQ(shows, 0);
  {
    const BusyPeriod work(&watch);
    ASSERT_TRUE(waitUntil([&] { return shows == 1; }));
  }
  { const BusyPeriod more(&watch); }
  ASSERT_TRUE(waitUntil([&] { return hides == 1; }));
  EXPECT_EQ(shows, 1);
}

}  // namespace
