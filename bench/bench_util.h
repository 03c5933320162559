#pragma once
// Small timing helpers shared by the benchmarks: median of several runs.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace bench {

// Runs `setup` (untimed) then `work` (timed) `runs` times; returns the median in ms.
inline double medianMs(int runs, const std::function<void()>& setup,
                       const std::function<void()>& work) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    setup();
    auto start = std::chrono::steady_clock::now();
    work();
    auto end = std::chrono::steady_clock::now();
    times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

inline void row(const char* name, double ms) { std::printf("%-48s %10.3f ms\n", name, ms); }

}  // namespace bench
