#include "files/new_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <set>

#include "files/file_paths.h"
#include "files/temporary_files.h"
#include "files/write_helpers.h"

namespace {

using namespace write_helpers;

// One part written to a temporary beside its target (files/temporary_files.h:
// the next save of the target removes one a killed export left), locked
// while this export holds it, and removed unless renamed into place.
class StagedPart {
 public:
  ~StagedPart() {
    if (fd_ < 0) return;
    if (!renamed_) unlink(temporary_.c_str());
    close(fd_);
  }

  bool stage(const FilePart& part, std::string* reason) {
    target_ = part.path;
    struct stat old;
    const bool exists = lstat(target_.c_str(), &old) == 0;
    if (!exists && errno != ENOENT) return fail(reason, withError("cannot reach " + target_));
    if (exists && !S_ISREG(old.st_mode)) return fail(reason, target_ + ": not a regular file");
    if (exists && faccessat(AT_FDCWD, target_.c_str(), W_OK, AT_EACCESS) != 0)
      return fail(reason, withError("cannot write " + target_));
    fd_ = createTemporary(target_, temporary_);
    if (fd_ < 0) return fail(reason, withError("cannot create a file in " + directoryOf(target_)));
    if (exists && !keepOwner(old))
      return fail(reason, "cannot keep the owner of " + target_ + " in a new file");
    // After the owner: a change of owner clears the set-user and set-group bits.
    const mode_t mode = exists ? old.st_mode & 07777 : permissionsForNewFile();
    if (fchmod(fd_, mode) != 0 || !writeWhole(fd_, part.bytes))
      return fail(reason, withError("cannot write " + target_));
    return true;
  }

  bool rename(std::string* reason) {
    if (std::rename(temporary_.c_str(), target_.c_str()) != 0)
      return fail(reason, withError("cannot replace " + target_));
    renamed_ = true;
    return true;
  }

 private:
  bool keepOwner(const struct stat& old) {
    struct stat now;
    if (fstat(fd_, &now) != 0) return false;
    return (now.st_uid == old.st_uid && now.st_gid == old.st_gid) ||
           fchown(fd_, old.st_uid, old.st_gid) == 0;
  }

  std::string target_, temporary_;
  int fd_ = -1;
  bool renamed_ = false;
};

}  // namespace

NewFile createNewFile(const std::string& path, std::string_view bytes, std::string* reason) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd < 0 && errno == EEXIST) return NewFile::kNameTaken;
  if (fd < 0) {
    fail(reason, withError("cannot create " + path));
    return NewFile::kFailed;
  }
  const bool written = writeWhole(fd, bytes);
  if (!written) {
    fail(reason, withError("cannot write " + path));
    unlink(path.c_str());
  }
  close(fd);
  return written ? NewFile::kCreated : NewFile::kFailed;
}

bool makePrivateFolders(const std::string& path) {
  // From the top down, so that no folder is ever made before the one it is in.
  for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
    const std::string folder = path.substr(0, slash);
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return false;
    if (slash == std::string::npos) break;
  }
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::FILE* openOwnFile(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat info;
  std::FILE* file = nullptr;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != geteuid() ||
      !(file = fdopen(fd, "rb")))
    close(fd);
  return file;
}

std::string linkTarget(std::string path) {
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    char target[4096];
    const ssize_t length = readlink(path.c_str(), target, sizeof target);
    if (length < 0) return path;  // no link: what is wrong with it shows when it is written
    if (static_cast<size_t>(length) >= sizeof target) return "";
    const std::string next(target, static_cast<size_t>(length));
    path = next.front() == '/' ? next : directoryOf(path) + "/" + next;
  }
  return "";
}

bool replaceFilesTogether(const std::vector<FilePart>& parts, std::string* reason) {
  std::vector<std::unique_ptr<StagedPart>> staged;
  for (const FilePart& part : parts) {
    staged.push_back(std::make_unique<StagedPart>());
    if (!staged.back()->stage(part, reason)) return false;
  }
  for (auto& part : staged)
    if (!part->rename(reason)) return false;
  std::set<std::string> directories;
  for (const FilePart& part : parts) directories.insert(directoryOf(part.path));
  for (const std::string& directory : directories) {
    // Makes the renames durable; a failure here loses nothing already written.
    const int fd = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) fsync(fd), close(fd);
  }
  return true;
}
