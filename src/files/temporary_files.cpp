#include "files/temporary_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <string_view>

#include "files/file_paths.h"

namespace {

constexpr size_t kNameMax = 255;  // longest file name the file systems take
constexpr int kAttempts = 100;    // names already taken, or a file removed under us
constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

// Twelve hexadecimal digits of a hash of `stem`, seeded so that the digits
// are nothing a user would type after a name.
std::string checkOf(std::string_view stem) {
  uint64_t hash = 14695981039346656037ull;
  for (unsigned char c : std::string_view("vantorel temporary "))
    hash = (hash ^ c) * 1099511628211ull;
  for (unsigned char c : stem) hash = (hash ^ c) * 1099511628211ull;
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
  return std::string(hex, 12);
}

std::string randomPart() {
  unsigned char bytes[kTemporaryRandomPart];
  if (getrandom(bytes, sizeof bytes, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof bytes)) {
    // Without the kernel's randomness the clock and the process do: a name
    // taken is only tried again.
    static uint64_t counter = 0;
    struct timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    uint64_t mixed = now.tv_nsec ^ (uint64_t(getpid()) << 32) ^ (++counter * 0x9E3779B97F4A7C15ull);
    for (unsigned char& byte : bytes) byte = static_cast<unsigned char>(mixed >>= 7);
  }
  std::string part;
  for (unsigned char byte : bytes) part += kAlphabet[byte % (sizeof kAlphabet - 1)];
  return part;
}

// Whether `name` is one a temporary beginning with `prefix` gets.
bool isTemporaryName(std::string_view name, const std::string& prefix) {
  if (name.size() != prefix.size() + kTemporarySuffix || !name.starts_with(prefix)) return false;
  const size_t tilde = prefix.size() + kTemporaryRandomPart;
  return name[tilde] == '~' && name.substr(tilde + 1) == checkOf(name.substr(0, tilde));
}

bool sameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

std::string nameOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string temporaryPrefix(const std::string& target) {
  return "." + nameOf(target).substr(0, kNameMax - 2 - kTemporarySuffix) + ".";
}

int createTemporary(const std::string& target, std::string& path) {
  const std::string prefix = temporaryPrefix(target);
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    const std::string stem = prefix + randomPart();
    path = directoryOf(target) + "/" + stem + "~" + checkOf(stem);
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0 && errno == EEXIST) continue;
    if (fd < 0) return -1;
    // Another save's clean-up may take the file before it is locked: then
    // the name is made anew.
    struct stat made, named;
    flock(fd, LOCK_EX);
    if (fstat(fd, &made) == 0 && stat(path.c_str(), &named) == 0 && sameFile(made, named))
      return fd;
    close(fd);
  }
  errno = EEXIST;
  return -1;
}

void removeLeftoverTemporaries(const std::string& target) {
  const std::string directory = directoryOf(target), prefix = temporaryPrefix(target);
  DIR* dir = opendir(directory.c_str());
  if (!dir) return;
  while (const dirent* entry = readdir(dir)) {
    if (!isTemporaryName(entry->d_name, prefix)) continue;
    const std::string path = directory + "/" + entry->d_name;
    const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat held, named;
    if (fstat(fd, &held) == 0 && S_ISREG(held.st_mode) && held.st_nlink == 1 &&
        flock(fd, LOCK_EX | LOCK_NB) == 0 && stat(path.c_str(), &named) == 0 &&
        sameFile(held, named))
      unlink(path.c_str());
    close(fd);
  }
  closedir(dir);
}
