#include "formats/text_window.h"

#include <algorithm>
#include <cstring>
#include <vector>

TextWindow::TextWindow(std::string_view text)
    : begin_(text.data()), end_(text.data() + text.size()), sizeHint_(text.size()) {}

TextWindow::TextWindow(std::FILE* file, size_t sizeHint, size_t capacity)
    : storage_(std::make_unique_for_overwrite<char[]>(std::max<size_t>(capacity, 1))),
      capacity_(std::max<size_t>(capacity, 1)),
      begin_(storage_.get()),
      end_(storage_.get()),
      file_(file),
      fileStart_(std::ftell(file)),
      sizeHint_(sizeHint) {}

bool TextWindow::more(const char*& from) {
  if (!file_ || readFailed_) return false;
  const size_t kept = end_ - from;
  char* base = storage_.get();
  if (kept == capacity_) {
    // One item longer than the window: make room for it.
    auto bigger = std::make_unique_for_overwrite<char[]>(2 * capacity_);
    std::memcpy(bigger.get(), from, kept);
    storage_ = std::move(bigger);
    capacity_ *= 2;
    base = storage_.get();
  } else if (kept > 0) {
    std::memmove(base, from, kept);
  }
  dropped_ += from - begin_;
  begin_ = base;
  from = base;
  end_ = base + kept;
  const size_t got = std::fread(base + kept, 1, capacity_ - kept, file_);
  end_ += got;
  if (got == 0 && std::ferror(file_)) readFailed_ = true;
  return got > 0;
}

size_t TextWindow::remainingAfter(const char* at) const {
  const size_t offset = dropped_ + (at - begin_);
  const size_t inWindow = end_ - at;
  return std::max(inWindow, sizeHint_ > offset ? sizeHint_ - offset : 0);
}

long TextWindow::lineOf(const char* at) const {
  long line = 1 + std::count(begin_, at, '\n');
  if (dropped_ == 0 || !file_) return line;
  // The earlier lines are counted from the file itself; an error report is
  // rare enough that reading the file again costs nothing that matters.
  const long resume = std::ftell(file_);
  if (resume < 0 || std::fseek(file_, fileStart_, SEEK_SET) != 0) return line;
  std::vector<char> piece(64 << 10);
  for (size_t left = dropped_; left > 0;) {
    const size_t got = std::fread(piece.data(), 1, std::min(left, piece.size()), file_);
    if (got == 0) break;
    line += std::count(piece.data(), piece.data() + got, '\n');
    left -= got;
  }
  std::fseek(file_, resume, SEEK_SET);
  return line;
}
