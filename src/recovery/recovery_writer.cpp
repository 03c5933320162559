#include "recovery/recovery_writer.h"

#include <sys/resource.h>
#include <unistd.h>

#include <exception>
#include <new>
#include <utility>

#include "files/file_paths.h"
#include "recovery/recovery_names.h"

namespace {

constexpr int kMostNames = 99;  // editors on one model at once, and files found earlier

bool isNameOf(const std::string& path, const std::string& first) {
  const size_t slash = path.rfind('/'), firstSlash = first.rfind('/');
  return directoryOf(path) == directoryOf(first) &&
         isRecoveryName(path.substr(slash == std::string::npos ? 0 : slash + 1),
                        first.substr(firstSlash == std::string::npos ? 0 : firstSlash + 1));
}

}  // namespace

RecoveryWriter::RecoveryWriter(Place place) : place_(std::move(place)) {
  if (!place_) {
    place_ = [](const std::string& path, std::string_view text, HeldFile& held,
                std::string* reason) { return placeNewFile(path, text, held, reason); };
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

void RecoveryWriter::write(std::string first, RecoveryContents contents,
                           std::unique_ptr<ModelCopy> copy) {
  Job job{true, std::move(first), std::move(contents), std::move(copy)};
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!jobs_.empty() && jobs_.back().writes) jobs_.pop_back();
    jobs_.push_back(std::move(job));
    if (!thread_.joinable()) thread_ = std::thread([this] { run(); });
  }
  changed_.notify_all();
}

void RecoveryWriter::removeHeld() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    jobs_.push_back(Job{});
    if (!thread_.joinable()) thread_ = std::thread([this] { run(); });
  }
  changed_.notify_all();
}

HeldFile RecoveryWriter::exchangeHeld(HeldFile next) {
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait(lock, [this] { return jobs_.empty() && !working_; });
  std::swap(held_, next);
  heldPath_ = held_.held() ? held_.path() : "";
  return next;
}

void RecoveryWriter::wait() {
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait(lock, [this] { return jobs_.empty() && !working_; });
}

bool RecoveryWriter::busy() {
  std::lock_guard<std::mutex> lock(mutex_);
  return working_ || !jobs_.empty();
}

std::string RecoveryWriter::heldPath() {
  std::lock_guard<std::mutex> lock(mutex_);
  return heldPath_;
}

std::string RecoveryWriter::takeFailure() {
  std::lock_guard<std::mutex> lock(mutex_);
  return std::exchange(failure_, std::string());
}

std::string RecoveryWriter::lastFailure() {
  std::lock_guard<std::mutex> lock(mutex_);
  return lastFailure_;
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
    job = {};  // the copy and the images go on this thread, not under the lock
    lock.lock();
    working_ = false;
    heldPath_ = held_.held() ? held_.path() : "";
    changed_.notify_all();
  }
}

// The file held while it is one of this model's names; else the first name
// where nothing is. The file held for another model goes once this is written.
bool RecoveryWriter::place(const std::string& first, const std::string& text, std::string& reason) {
  HeldFile previous;
  if (held_.held() && !isNameOf(held_.path(), first)) previous = std::move(held_);
  for (int n = 1; n <= kMostNames;) {
    const bool ours = held_.held();
    const std::string path = ours ? held_.path() : numberedRecoveryPath(first, n);
    switch (place_(path, text, held_, &reason)) {
      case Placement::kPlaced:
        previous.remove();
        return true;
      case Placement::kTaken:  // ours was taken away: the names from the first again
        held_.release();
        n += ours ? 0 : 1;
        break;
      case Placement::kFailed:
        if (!held_.held()) held_ = std::move(previous);
        return false;
    }
  }
  reason = "every name for it is taken";
  return false;
}

void RecoveryWriter::perform(Job& job) {
  std::string reason;
  bool done = true;
  try {
    if (!job.writes) {
      held_.remove();
    } else if (job.copy) {
      job.contents.model.image = std::make_shared<const ModelImage>(job.copy->image());
      job.copy.reset();
    }
    if (job.writes) done = place(job.first, formatRecoveryFile(job.contents), reason);
  } catch (const std::bad_alloc&) {
    done = false;
    reason = "not enough memory for the recovery file";
  } catch (const std::exception& error) {  // nothing may end the editor from this thread
    done = false;
    reason = error.what();
  }
  std::lock_guard<std::mutex> lock(mutex_);
  if (!job.writes) return;
  if (!done) failure_ = lastFailure_ = reason.empty() ? "it could not be written" : reason;
  if (done) lastFailure_.clear();
}
