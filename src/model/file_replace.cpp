#include "model/file_replace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr int kMaxLinkHops = 40;

std::string nameOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool fail(std::string* reason, const std::string& path, int error) {
  if (reason) *reason = path + ": " + std::strerror(error);
  return false;
}

// Where the bytes must go: the end of a chain of symbolic links.
bool followLinks(std::string& path) {
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    struct stat info;
    if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return true;
    std::vector<char> target(info.st_size > 0 ? info.st_size + 1 : 4096);
    const ssize_t length = readlink(path.c_str(), target.data(), target.size());
    if (length <= 0 || static_cast<size_t>(length) >= target.size()) return false;
    std::string next(target.data(), length);
    path = next.front() == '/' ? next : directoryOf(path) + "/" + next;
  }
  return false;
}

}  // namespace

std::string directoryOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string stemOf(const std::string& path) {
  const std::string name = nameOf(path);
  const size_t dot = name.rfind('.');
  return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

std::string extensionOf(const std::string& path) {
  const std::string name = nameOf(path);
  const size_t dot = name.rfind('.');
  if (dot == std::string::npos || dot == 0) return "";
  std::string ext = name.substr(dot);
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext;
}

bool replaceFile(const std::string& path, const std::string& bytes, std::string* reason) {
  std::string target = path;
  if (!followLinks(target)) return fail(reason, path, ELOOP);
  mode_t mode = 0666;
  struct stat info;
  if (stat(target.c_str(), &info) == 0) {
    if (!S_ISREG(info.st_mode)) {
      if (reason) *reason = path + ": not a regular file";
      return false;
    }
    mode = info.st_mode & 07777;
  } else if (errno == ENOENT) {
    const mode_t mask = umask(0);
    umask(mask);
    mode &= ~mask;
  } else {
    return fail(reason, path, errno);
  }
  std::string temporary = directoryOf(target) + "/." + nameOf(target) + ".XXXXXX";
  const int fd = mkstemp(temporary.data());
  if (fd < 0) return fail(reason, path, errno);
  int error = fchmod(fd, mode) == 0 ? 0 : errno;
  size_t written = 0;
  while (error == 0 && written < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + written, bytes.size() - written);
    if (n < 0 && errno != EINTR) error = errno;
    if (n > 0) written += static_cast<size_t>(n);
  }
  if (error == 0 && fsync(fd) != 0) error = errno;
  if (close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && std::rename(temporary.c_str(), target.c_str()) != 0) error = errno;
  if (error != 0) {
    std::remove(temporary.c_str());
    return fail(reason, path, error);
  }
  return true;
}
