#include "files/held_file.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace {

constexpr int kAttempts = 3;  // a file renamed over while it was being taken is looked at again

std::string ownerName(uid_t uid) {
  struct passwd entry, *found = nullptr;
  char buffer[1024];
  if (getpwuid_r(uid, &entry, buffer, sizeof buffer, &found) == 0 && found) return found->pw_name;
  return "number " + std::to_string(uid);
}

bool sameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

HeldFile refuse(HeldFile::State& state, HeldFile::State why, std::string* reason,
                const std::string& text) {
  state = why;
  if (reason) *reason = text;
  return {};
}

}  // namespace

HeldFile::HeldFile(std::string path, int fd) : path_(std::move(path)), fd_(fd) {
  fstat(fd_, &status_);
}

HeldFile::~HeldFile() {
  release();
}

HeldFile::HeldFile(HeldFile&& other) noexcept
    : path_(std::move(other.path_)), fd_(std::exchange(other.fd_, -1)), status_(other.status_) {}

HeldFile& HeldFile::operator=(HeldFile&& other) noexcept {
  if (this != &other) {
    release();
    path_ = std::move(other.path_);
    fd_ = std::exchange(other.fd_, -1);
    status_ = other.status_;
  }
  return *this;
}

HeldFile HeldFile::take(const std::string& path, State& state, std::string* reason) {
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    struct stat seen;
    if (lstat(path.c_str(), &seen) != 0) {
      if (errno == ENOENT) return refuse(state, kMissing, reason, "");
      return refuse(state, kFailed, reason, std::strerror(errno));
    }
    // Decided before opening: opening a fifo or a device may block or act.
    if (S_ISLNK(seen.st_mode)) return refuse(state, kLink, reason, "a symbolic link");
    if (!S_ISREG(seen.st_mode)) return refuse(state, kNotRegular, reason, "not a regular file");
    if (seen.st_uid != geteuid())
      return refuse(state, kOtherOwner, reason, "owned by another user, " + ownerName(seen.st_uid));
    const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0 && errno == ELOOP) return refuse(state, kLink, reason, "a symbolic link");
    if (fd < 0 && errno != ENOENT) return refuse(state, kFailed, reason, std::strerror(errno));
    if (fd < 0) continue;
    HeldFile file(path, fd);
    if (!sameFile(file.status_, seen)) continue;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
      if (errno == EWOULDBLOCK) return refuse(state, kInUse, reason, "in use by another program");
      return refuse(state, kFailed, reason, std::strerror(errno));
    }
    // The holder may have renamed a new file into place before letting go of
    // the old one: then the lock is on a file that is no longer there.
    if (!file.stillAtPath()) continue;
    state = kHeld;
    return file;
  }
  return refuse(state, kInUse, reason, "in use by another program");
}

bool HeldFile::stillAtPath() const {
  struct stat now;
  return fd_ >= 0 && lstat(path_.c_str(), &now) == 0 && sameFile(now, status_);
}

void HeldFile::remove() {
  if (stillAtPath()) unlink(path_.c_str());
  release();
}

void HeldFile::release() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
}
