#pragma once
// Writes recovery files on a thread of its own, so that no frame and no edit
// waits for the disk. Jobs run in the order given; a write waiting its turn
// is replaced by a newer write, as only the newest state matters.
//
// The writer holds the file it last wrote (files/held_file.h), so that no
// other editor takes it, and replaces that file at each write. A write for
// another model, or when the file was taken away, goes to the first of the
// model's recovery names (recovery/recovery_names.h) where nothing is; a name
// where something else lies (another editor's file, one found earlier, a
// link) is never written over.

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "files/file_replace.h"
#include "files/held_file.h"
#include "recovery/recovery_capture.h"
#include "recovery/recovery_file.h"

class RecoveryWriter {
 public:
  // Puts a whole file in place as placeNewFile does; a test may give one
  // that fails.
  using Place = std::function<Placement(const std::string& path, std::string_view text,
                                        HeldFile& held, std::string* reason)>;

  explicit RecoveryWriter(Place place = {});
  // Finishes the job under way; jobs still waiting are dropped. The file
  // held stays on disk.
  ~RecoveryWriter();
  RecoveryWriter(const RecoveryWriter&) = delete;
  RecoveryWriter& operator=(const RecoveryWriter&) = delete;

  // Writes `contents` for the model whose first recovery name is `first`;
  // with `copy`, the model's image is made from it on the writer's thread.
  void write(std::string first, RecoveryContents contents,
             std::unique_ptr<ModelCopy> copy = nullptr);
  // Removes the file held (nothing unsaved is left in it).
  void removeHeld();
  // Once every job is done: the file held, handed over (still locked), and
  // `next` held instead, to be replaced by the next write.
  HeldFile exchangeHeld(HeldFile next = {});
  // Returns once every job given so far is done.
  void wait();
  bool busy();
  // The file held ("" for none).
  std::string heldPath();
  // Why the last failed write failed ("" when none failed since the last call).
  std::string takeFailure();
  // Why the newest write failed, until a write succeeds ("" when it did not).
  std::string lastFailure();

 private:
  struct Job {
    bool writes = false;  // else it removes the file held
    std::string first;
    RecoveryContents contents;
    std::unique_ptr<ModelCopy> copy;
  };
  void run();
  void perform(Job& job);
  bool place(const std::string& first, const std::string& text, std::string& reason);

  Place place_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Job> jobs_;
  bool working_ = false;
  bool stopping_ = false;
  std::string failure_, lastFailure_;
  HeldFile held_;         // the writing thread's, or anyone's while no job runs
  std::string heldPath_;  // held_'s path, for other threads
  std::thread thread_;    // started by the first job
};
