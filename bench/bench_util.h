#pragma once
// Timing and memory helpers shared by the benchmark cases: the median of
// several runs, each run preceded by untimed preparation, and the bytes the
// allocator holds.

#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

namespace bench {

// Runs `setup` (untimed) then `work` (timed) `runs` times; the median in ms.
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

// Bytes handed out by malloc and not yet freed (small blocks and mapped ones).
inline double allocatedMb() {
  const struct mallinfo2 info = mallinfo2();
  return static_cast<double>(info.uordblks + info.hblkhd) / (1024.0 * 1024.0);
}

}  // namespace bench

#include <unistd.h>

#include <cstdio>
#include <string>

namespace bench {

// A private directory under /tmp for the files a case writes; removed with
// what it holds when the case ends.
class ScratchDirectory {
 public:
  ScratchDirectory() {
    char name[] = "/tmp/vantorel-bench-XXXXXX";
    if (mkdtemp(name)) path_ = name;
  }
  ~ScratchDirectory() {
    for (const std::string& file : files_) std::remove(file.c_str());
    if (!path_.empty()) rmdir(path_.c_str());
  }
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;

  // A path in the directory, removed at the end (with its save leftovers, if any).
  std::string file(const std::string& name) {
    files_.push_back(path_ + "/" + name);
    return files_.back();
  }

 private:
  std::string path_;
  std::vector<std::string> files_;
};

}  // namespace bench
