#include "files/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

std::FILE* openRegularFile(const std::string& path, std::string* reason) {
  auto refuse = [reason](const std::string& why) -> std::FILE* {
    if (reason) *reason = why;
    return nullptr;
  };
  // Without O_NONBLOCK, opening a pipe waits for a writer before fstat could
  // tell what it is.
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return refuse(std::strerror(errno));
  struct stat info;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(fd);
    return refuse("not a regular file");
  }
  std::FILE* file = fdopen(fd, "rb");
  if (!file) {
    close(fd);
    return refuse(std::strerror(errno));
  }
  return file;
}
