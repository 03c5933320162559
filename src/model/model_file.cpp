// Saving and loading models. A save never destroys the previous file:
// the text goes to a temporary file beside the target, which replaces the
// target only once it is completely on disk.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <exception>
#include <string>
#include <thread>
#include <vector>

#include "model/model.h"
#include "model/model_builder.h"
#include "model/model_image.h"
#include "model/regular_file.h"

namespace {

constexpr int kMaxLinkHops = 40;

std::string directoryOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// The file a save must replace: a symbolic link keeps pointing at the saved
// file instead of being replaced by it. Empty when the chain does not end.
std::string followLinks(std::string path) {
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    struct stat info;
    if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
    std::vector<char> target(info.st_size > 0 ? info.st_size + 1 : 4096);
    const ssize_t length = readlink(path.c_str(), target.data(), target.size());
    if (length < 0 || static_cast<size_t>(length) >= target.size()) return {};
    std::string next(target.data(), length);
    path = next.front() == '/' ? next : directoryOf(path) + "/" + next;
  }
  return {};
}

mode_t permissionsForNewFile() {
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

bool writeAll(std::FILE* file, const std::string& text) {
  return std::fwrite(text.data(), 1, text.size(), file) == text.size() && std::fflush(file) == 0 &&
         fsync(fileno(file)) == 0;
}

// Makes the rename itself durable; a failure here loses nothing already saved.
void syncDirectory(const std::string& directory) {
  const int fd = open(directory.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

}  // namespace

int Model::save() {
  const std::string target = followLinks(name);
  if (target.empty()) return 0;
  mode_t mode;
  struct stat info;
  if (stat(target.c_str(), &info) == 0) {
    // Replacing a directory or a device by a regular file would be wrong even
    // when it is possible.
    if (!S_ISREG(info.st_mode)) return 0;
    mode = info.st_mode & 07777;
  } else if (errno == ENOENT) {
    mode = permissionsForNewFile();
  } else {
    return 0;
  }

  const size_t slash = target.rfind('/');
  std::string temporary = directoryOf(target) + "/." +
                          (slash == std::string::npos ? target : target.substr(slash + 1)) +
                          ".XXXXXX";
  const int fd = mkstemp(temporary.data());
  if (fd < 0) return 0;
  std::printf("Saving model to file: %s\n", name.c_str());

  const std::string text = formatModelFile(captureImage(*this));
  bool ok = fchmod(fd, mode) == 0;
  std::FILE* file = fdopen(fd, "wb");
  if (!file) {
    close(fd);
    ok = false;
  } else {
    ok = writeAll(file, text) && ok;
    ok = std::fclose(file) == 0 && ok;
  }
  if (!ok || std::rename(temporary.c_str(), target.c_str()) != 0) {
    std::remove(temporary.c_str());
    return 0;
  }
  syncDirectory(directoryOf(target));
  return 1;
}

int Model::saveAs(const std::string& path) {
  name = path;
  return save();
}

int Model::load(const std::string& path) {
  std::FILE* file = openRegularFile(path);
  if (!file) return 0;
  std::printf("Reading model from file: %s\n", path.c_str());
  struct stat info;
  const size_t size = fstat(fileno(file), &info) == 0 && info.st_size > 0 ? info.st_size : 0;

  const bool built = readAndBuild(file, size, *this, /*printNames=*/true);
  std::fclose(file);
  return built ? 1 : 0;
}
