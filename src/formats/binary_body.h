#pragma once
// The recovery file's body in little-endian binary: what writes it, what
// reads it back (from memory, or from a file a piece at a time), and its
// checksum.

#include <sys/types.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>

inline constexpr int kRecoveryVersion = 4;       // of the file the body is in, as written now
inline constexpr size_t kLongestText = 1 << 16;  // a name or a path

// FNV-1a over 8-byte words (the last one padded with zeros): a byte at a
// time would cost the writer more than formatting does. Taken a piece at a
// time, each piece but the last a whole number of words.
class Checksum {
 public:
  void add(const char* bytes, size_t size) {
    for (size_t at = 0; at < size; at += 8) {
      uint64_t word = 0;
      std::memcpy(&word, bytes + at, std::min<size_t>(8, size - at));
      hash_ = (hash_ ^ word) * 1099511628211ull;
    }
  }
  uint64_t value() const { return hash_; }

 private:
  uint64_t hash_ = 14695981039346656037ull;
};

inline uint64_t checksum(std::string_view bytes) {
  Checksum sum;
  sum.add(bytes.data(), bytes.size());
  return sum.value();
}

class BodyWriter {
 public:
  template <class T>
  void put(const T& value) {
    static_assert(std::is_trivially_copyable_v<T>);
    out.append(reinterpret_cast<const char*>(&value), sizeof(T));
  }
  void count(size_t n) { put(static_cast<uint32_t>(n)); }
  void text(const std::string& s) { count(s.size()), out.append(s); }
  std::string out;
};

// The body, from memory or read from a file as the parse asks for it (the
// checksum is then taken of what was read).
class BodyReader {
 public:
  explicit BodyReader(std::string_view whole)
      : data_(whole.data()), end_(whole.size()), length_(end_) {}
  BodyReader(int fd, off_t offset, size_t length) : fd_(fd), offset_(offset), length_(length) {}

  template <class T>
  bool get(T& value) {
    if (end_ - at_ < sizeof(T) && !fill(sizeof(T))) return false;
    std::memcpy(&value, data_ + at_, sizeof(T));
    taking(sizeof(T));
    return true;
  }
  // A count of items of at least `minBytes` each: never more than the bytes left allow.
  bool count(size_t& n, size_t minBytes) {
    uint32_t value = 0;
    if (!get(value) || value > left() / minBytes) return false;
    n = value;
    return true;
  }
  bool text(std::string& s) {
    size_t n = 0;
    if (!count(n, 1) || n > kLongestText || (end_ - at_ < n && !fill(n))) return false;
    s.assign(data_ + at_, n);
    taking(n);
    return true;
  }
  // A number that is checked against something else, not the bytes left.
  bool number(size_t& n) {
    uint32_t value = 0;
    if (!get(value)) return false;
    n = value;
    return true;
  }
  size_t left() const { return length_ - base_ - at_; }
  size_t taken() const { return base_ + at_; }
  bool atEnd() const { return left() == 0; }
  uint64_t readSum() const { return sum_.value(); }
  // Takes the rest unread, so that the checksum covers it.
  bool skipRest();
  // The bytes taken from now on are appended to `into` too (nullptr: no more).
  void record(std::string* into) { record_ = into; }

 private:
  void taking(size_t n) {
    if (record_) record_->append(data_ + at_, n);
    at_ += n;
  }
  // Keeps the bytes not yet taken and reads at least `need` more.
  bool fill(size_t need);

  const char* data_ = nullptr;
  size_t at_ = 0, end_ = 0;  // in data_
  size_t base_ = 0;          // body offset of data_[0]
  int fd_ = -1;
  off_t offset_ = 0;  // of the body in the file
  size_t length_;     // of the body
  size_t read_ = 0;   // bytes of the body read from the file
  std::string buffer_;
  Checksum sum_;
  std::string* record_ = nullptr;
};
