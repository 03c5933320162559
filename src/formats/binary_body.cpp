// Reading the recovery file's body from a file (contracts in binary_body.h).

#include "formats/binary_body.h"

#include <unistd.h>

#include <cerrno>

namespace {

constexpr size_t kReadChunk = 1 << 22;  // the body is read a piece of this size at a time

}  // namespace

bool BodyReader::skipRest() {
  for (at_ = end_; left() > 0; at_ = end_)
    if (!fill(std::min(left(), kReadChunk))) return false;
  return true;
}

bool BodyReader::fill(size_t need) {
  if (fd_ < 0 || need > left()) return false;
  const size_t unread = end_ - at_;
  // Whole words until the end, so that the checksum can be taken piece by piece.
  const size_t wanted = std::min(length_ - read_, (std::max(need, kReadChunk) + 7) / 8 * 8);
  // data_ is the buffer here (or nothing is unread), whose bytes a resize keeps.
  if (buffer_.size() < unread + wanted) buffer_.resize(unread + wanted);
  std::memmove(buffer_.data(), buffer_.data() + at_, unread);
  base_ += at_, at_ = 0, end_ = unread;
  data_ = buffer_.data();
  size_t got = 0;
  while (got < wanted) {
    const ssize_t n = pread(fd_, buffer_.data() + end_ + got, wanted - got, offset_ + read_ + got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;  // shorter than when it was looked at: changed meanwhile
    got += n;
  }
  sum_.add(buffer_.data() + end_, got);
  read_ += got, end_ += got;
  return end_ >= need;
}
