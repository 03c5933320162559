#pragma once
// What the code that writes files shares: the limits of links it works
// within, writing a whole file, and how a failure hands back its reason.

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <string_view>

namespace write_helpers {

inline constexpr int kMaxLinkHops = 40;

// Puts `why` in `reason` when one is asked for; false, for `return fail(...)`.
inline bool fail(std::string* reason, const std::string& why) {
  if (reason) *reason = why;
  return false;
}

// "what: " and the text of the last system error.
inline std::string withError(const std::string& what) {
  return what + ": " + std::strerror(errno);
}

// The permissions a new file gets: read and write for all, less the umask.
inline mode_t permissionsForNewFile() {
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

// The whole of `text` from the start of the file, the file cut to its length
// and flushed to the disk.
inline bool writeWhole(int fd, std::string_view text) {
  size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = pwrite(fd, text.data() + done, text.size() - done, done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += n;
  }
  return ftruncate(fd, text.size()) == 0 && fsync(fd) == 0;
}

}  // namespace write_helpers
