#include "formats/recovery_writer.h"

#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

#include "files/file_replace.h"

RecoveryWriter::RecoveryWriter(Replace replace) : replace_(std::move(replace)) {
  if (!replace_) {
    replace_ = [](const std::string& path, std::string_view text, std::string* reason) {
      return replaceFileContents(path, text, {}, reason);
    };
  }
}

RecoveryWriter::~RecoveryWriter() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
    jobs_.clear();
  }
  changed_.notify_all();
  if (thread_.joinable()) thread_.join();
}

void RecoveryWriter::write(std::string path, RecoveryContents contents) {
  Job job{{std::move(path)}, true, std::move(contents)};
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!jobs_.empty() && jobs_.back().writes) jobs_.pop_back();
    jobs_.push_back(std::move(job));
    if (!thread_.joinable()) thread_ = std::thread([this] { run(); });
  }
  changed_.notify_all();
}

void RecoveryWriter::remove(std::vector<std::string> paths) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    jobs_.push_back(Job{std::move(paths), false, {}});
    if (!thread_.joinable()) thread_ = std::thread([this] { run(); });
  }
  changed_.notify_all();
}

void RecoveryWriter::wait() {
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait(lock, [this] { return jobs_.empty() && !working_; });
}

bool RecoveryWriter::busy() {
  std::lock_guard<std::mutex> lock(mutex_);
  return working_ || !jobs_.empty();
}

std::string RecoveryWriter::takeFailure() {
  std::lock_guard<std::mutex> lock(mutex_);
  return std::exchange(failure_, std::string());
}

void RecoveryWriter::run() {
  // Frames come first: on a busy processor the drawing threads get about ten
  // times the writer's share, yet the writer never waits for good. (The idle
  // class would spare frames more, but a processor kept busy for a while
  // would hold the file back for as long, past its two seconds.)
  setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 10);
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
    if (stopping_) return;
    Job job = std::move(jobs_.front());
    jobs_.pop_front();
    working_ = true;
    lock.unlock();
    perform(job);
    lock.lock();
    working_ = false;
    changed_.notify_all();
  }
}

void RecoveryWriter::perform(Job& job) {
  std::string reason;
  bool done = true;
  if (job.writes) {
    done = replace_(job.paths[0], formatRecoveryFile(job.contents, &steps_), &reason);
  } else {
    for (const std::string& path : job.paths) {
      if (std::remove(path.c_str()) != 0 && errno != ENOENT) {
        done = false;
        reason = path + ": " + std::strerror(errno);
      }
    }
  }
  if (!done) {
    std::lock_guard<std::mutex> lock(mutex_);
    failure_ = reason.empty() ? "it could not be written" : reason;
  }
}
