#pragma once
// A file this process keeps open with an exclusive lock (flock), which tells
// every other running editor that the file is taken. The lock goes with the
// last descriptor, so the files of an editor that was killed are free at once.
//
// Taking a file never follows a symbolic link, never opens a fifo or a device
// (opening either may block or act), and takes only regular files of the
// user who runs the editor.

#include <sys/stat.h>

#include <string>

class HeldFile {
 public:
  // What was found at a path when taking it.
  enum State { kHeld, kMissing, kInUse, kLink, kNotRegular, kOtherOwner, kFailed };

  HeldFile() = default;
  // Keeps `fd`, already open and locked, as the file at `path`.
  HeldFile(std::string path, int fd);
  ~HeldFile();
  HeldFile(HeldFile&& other) noexcept;
  HeldFile& operator=(HeldFile&& other) noexcept;
  HeldFile(const HeldFile&) = delete;
  HeldFile& operator=(const HeldFile&) = delete;

  // Takes the regular file at `path` without waiting for its lock; `state`
  // says what was found and, unless held or missing, `reason` why it was not
  // taken ("a symbolic link", "not a regular file", "owned by another user,
  // NAME", "in use by another program" or the system's error).
  static HeldFile take(const std::string& path, State& state, std::string* reason = nullptr);

  bool held() const { return fd_ >= 0; }
  int fd() const { return fd_; }
  const std::string& path() const { return path_; }
  // The file's status when it was taken (or placed).
  const struct stat& status() const { return status_; }
  // Whether `path` still names this very file (nothing was renamed over it).
  bool stillAtPath() const;
  // Removes the path when it still names this file, then lets the file go.
  void remove();
  // Lets the file go; it stays on disk, free for any editor.
  void release();

 private:
  std::string path_;
  int fd_ = -1;
  struct stat status_ {};
};
