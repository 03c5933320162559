#pragma once
// Text read a piece at a time: a window of a few hundred kilobytes slides over
// a file, so reading a 200 MB model file needs neither 200 MB of fresh memory
// nor a pass to copy it there. Whole texts already in memory are read through
// the same interface without copying.

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string_view>

class TextWindow {
 public:
  static constexpr size_t kDefaultCapacity = size_t{256} << 10;

  explicit TextWindow(std::string_view text);
  // Reads `file` from its current position. `sizeHint` is the size the file
  // reported (it may change meanwhile); `capacity` the window's starting size.
  TextWindow(std::FILE* file, size_t sizeHint, size_t capacity = kDefaultCapacity);
  TextWindow(const TextWindow&) = delete;
  TextWindow& operator=(const TextWindow&) = delete;

  const char* begin() const { return begin_; }
  const char* end() const { return end_; }

  // Keeps the text from `from` on and appends what follows it in the file,
  // growing the window when it is full; `from` is moved to where that text
  // now is. False when nothing more came (end of the file, or a read error).
  bool more(const char*& from);

  bool readFailed() const { return readFailed_; }

  // About how many bytes of the text follow `at`, by the file's reported size.
  size_t remainingAfter(const char* at) const;

  // The line number (from 1) of the text at `at`; reads the file again from
  // its start when the window has moved past the earlier lines.
  long lineOf(const char* at) const;

 private:
  std::unique_ptr<char[]> storage_;
  size_t capacity_ = 0;
  const char* begin_;
  const char* end_;
  std::FILE* file_ = nullptr;
  long fileStart_ = 0;   // where the file was when reading began
  size_t dropped_ = 0;   // bytes of text before begin_
  size_t sizeHint_ = 0;  // the text's size as reported
  bool readFailed_ = false;
};
