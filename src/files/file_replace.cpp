#include "files/file_replace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include "files/file_paths.h"
#include "files/held_file.h"
#include "files/new_files.h"
#include "files/temporary_files.h"
#include "files/write_helpers.h"

namespace {

using namespace write_helpers;

bool readWhole(int fd, std::string& text) {
  char buffer[1 << 16];
  for (;;) {
    const ssize_t n = pread(fd, buffer, sizeof buffer, text.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    text.append(buffer, n);
  }
}

// Makes a rename durable; a failure here loses nothing already saved.
void syncDirectory(const std::string& directory) {
  const int fd = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

// A new file beside the target, locked for as long as this save holds it,
// so that no other save takes it for a leftover; removed unless kept.
class Temporary {
 public:
  explicit Temporary(const std::string& target) : fd_(createTemporary(target, path_)) {}
  ~Temporary() {
    if (fd_ < 0) return;
    if (!kept_) unlink(path_.c_str());
    close(fd_);
  }
  Temporary(const Temporary&) = delete;
  Temporary& operator=(const Temporary&) = delete;

  bool made() const { return fd_ >= 0; }
  int fd() const { return fd_; }
  const std::string& path() const { return path_; }
  void keep() { kept_ = true; }
  // The descriptor, still locked, for the caller to keep once the file is in place.
  int handOver() {
    kept_ = true;
    return std::exchange(fd_, -1);
  }

 private:
  std::string path_;
  int fd_ = -1;
  bool kept_ = false;
};

// Gives a new file the old one's owner and group; false when that is not
// allowed, as for an ordinary user saving a file another user owns.
bool takeOwnership(int fd, const struct stat& old) {
  struct stat now;
  if (fstat(fd, &now) != 0) return false;
  return (now.st_uid == old.st_uid && now.st_gid == old.st_gid) ||
         fchown(fd, old.st_uid, old.st_gid) == 0;
}

bool replaceInPlace(const std::string& target, std::string_view text,
                    const std::function<void()>& starting, std::string* reason) {
  const int fd = open(target.c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0) return fail(reason, withError("cannot open the file"));
  std::string old;
  bool ok = readWhole(fd, old);
  if (!ok) {
    close(fd);
    return fail(reason, withError("cannot read the file it replaces"));
  }
  // A copy of the old content beside the target, for a save killed halfway.
  Temporary backup(target);
  const bool backedUp = backup.made() && writeWhole(backup.fd(), old);
  if (starting) starting();
  ok = writeWhole(fd, text);
  const std::string why = withError("cannot write the file");
  if (!ok && !writeWhole(fd, old) && backedUp) backup.keep();
  close(fd);
  if (!ok) return fail(reason, why);
  // Temporaries and backups of earlier saves that were killed.
  removeLeftoverTemporaries(target);
  return true;
}

}  // namespace

bool replaceFileContents(const std::string& path, std::string_view text,
                         const std::function<void()>& starting, std::string* reason) {
  const std::string target = linkTarget(path);
  if (target.empty()) return fail(reason, "too many symbolic links");
  struct stat old;
  const bool exists = stat(target.c_str(), &old) == 0;
  if (!exists && errno != ENOENT) return fail(reason, withError("cannot reach the file"));
  // Replacing a directory or a device by a regular file would be wrong even
  // when it is possible, and so is replacing a file the user may not write.
  if (exists && !S_ISREG(old.st_mode)) return fail(reason, "not a regular file");
  if (exists && faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
    return fail(reason, withError("cannot write the file"));

  const std::string directory = directoryOf(target);
  if (exists && old.st_nlink > 1) return replaceInPlace(target, text, starting, reason);
  Temporary temporary(target);
  if (!temporary.made()) {
    if (!exists) return fail(reason, withError("cannot create a file in " + directory));
    return replaceInPlace(target, text, starting, reason);
  }
  if (exists && !takeOwnership(temporary.fd(), old))
    return replaceInPlace(target, text, starting, reason);
  // After the owner: a change of owner clears the set-user and set-group bits.
  const mode_t mode = exists ? old.st_mode & 07777 : permissionsForNewFile();
  if (starting) starting();
  if (fchmod(temporary.fd(), mode) != 0 || !writeWhole(temporary.fd(), text))
    return fail(reason, withError("cannot write " + temporary.path()));
  if (std::rename(temporary.path().c_str(), target.c_str()) != 0)
    return fail(reason, withError("cannot replace the file"));
  temporary.keep();
  syncDirectory(directory);
  removeLeftoverTemporaries(target);
  return true;
}

namespace {

// Renames `from` to `to` unless something is at `to`: false with EEXIST then.
bool renameWithoutReplacing(const std::string& from, const std::string& to) {
  if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  // A file system without that kind of rename: a second link fails just as surely.
  if (link(from.c_str(), to.c_str()) != 0) return false;
  unlink(from.c_str());
  return true;
}

}  // namespace

Placement placeNewFile(const std::string& path, std::string_view text, HeldFile& held,
                       std::string* reason) {
  const std::string directory = directoryOf(path);
  Temporary temporary(path);
  if (!temporary.made()) {
    fail(reason, withError("cannot create a file in " + directory));
    return Placement::kFailed;
  }
  if (!writeWhole(temporary.fd(), text)) {
    fail(reason, withError("cannot write " + temporary.path()));
    return Placement::kFailed;
  }
  const bool ours = held.held() && held.path() == path && held.stillAtPath();
  const bool placed = ours ? std::rename(temporary.path().c_str(), path.c_str()) == 0
                           : renameWithoutReplacing(temporary.path(), path);
  if (!placed && errno == EEXIST) return Placement::kTaken;
  if (!placed) {
    fail(reason, withError("cannot rename " + temporary.path()));
    return Placement::kFailed;
  }
  held = HeldFile(path, temporary.handOver());
  syncDirectory(directory);
  removeLeftoverTemporaries(path);
  return Placement::kPlaced;
}
