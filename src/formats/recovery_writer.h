#pragma once
// Writes recovery files on a thread of its own, so that no frame and no edit
// waits for the disk. Jobs run in the order given; a write waiting its turn
// is replaced by a newer write, as only the newest state matters.

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "formats/recovery_file.h"

class RecoveryWriter {
 public:
  // Writes a whole file without ever leaving it half-written; false with a
  // reason when it cannot. replaceFileContents unless a test gives another.
  using Replace =
      std::function<bool(const std::string& path, std::string_view text, std::string* reason)>;

  explicit RecoveryWriter(Replace replace = {});
  // Finishes the job under way; jobs still waiting are dropped.
  ~RecoveryWriter();
  RecoveryWriter(const RecoveryWriter&) = delete;
  RecoveryWriter& operator=(const RecoveryWriter&) = delete;

  void write(std::string path, RecoveryContents contents);
  // Removes the files (those missing are no failure).
  void remove(std::vector<std::string> paths);
  // Returns once every job given so far is done.
  void wait();
  bool busy();
  // Why the last failed write failed ("" when none failed since the last call).
  std::string takeFailure();

 private:
  struct Job {
    std::vector<std::string> paths;  // one to write, or those to remove
    bool writes = false;
    RecoveryContents contents;
  };
  void run();
  void perform(Job& job);

  Replace replace_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Job> jobs_;
  bool working_ = false;
  bool stopping_ = false;
  std::string failure_;
  RecoveryStepCache steps_;  // used by the writing thread only
  std::thread thread_;       // started by the first job
};
