#include "files/confined_paths.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "files/file_paths.h"

namespace {

namespace fs = std::filesystem;

// Links followed as far as the path exists, the rest by its name alone.
std::string resolved(const std::string& path) {
  std::error_code error;
  const fs::path absolute = fs::absolute(path, error);
  if (error) return "";
  const fs::path canonical = fs::weakly_canonical(absolute, error);
  return error ? "" : canonical.string();
}

}  // namespace

FolderBounds::FolderBounds(const std::string& file)
    : folder_(resolved(directoryOf(file))), file_(resolved(file)) {}

std::string FolderBounds::inside(const std::string& path) const {
  const std::string real = resolved(path);
  if (real.empty() || folder_.empty()) return "";
  if (real == file_) return real;
  const std::string prefix = folder_ == "/" ? folder_ : folder_ + "/";
  return real.size() > prefix.size() && real.compare(0, prefix.size(), prefix) == 0 ? real : "";
}

std::FILE* FolderBounds::open(const std::string& path, std::string* reason) const {
  auto refuse = [reason](const std::string& why) -> std::FILE* {
    if (reason) *reason = why;
    return nullptr;
  };
  const std::string real = inside(path);
  if (real.empty()) return refuse(kOutsideFolder);
  // The resolved path holds no link; one planted since is refused, and a
  // fifo does not block the open.
  const int fd = ::open(real.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return refuse(errno == ELOOP ? "not a regular file" : std::strerror(errno));
  struct stat info;
  std::FILE* file = nullptr;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || !(file = fdopen(fd, "rb"))) {
    close(fd);
    return refuse("not a regular file");
  }
  return file;
}
