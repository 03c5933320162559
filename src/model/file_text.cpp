#include "model/file_text.h"

#include <cstdlib>
#include <new>

namespace {
constexpr size_t kChunk = size_t{1} << 16;
}  // namespace

FileText::~FileText() {
  std::free(data_);
}

void FileText::reserve(size_t capacity) {
  if (capacity <= capacity_) return;
  // realloc keeps what was read; fresh memory is not cleared.
  char* bigger = static_cast<char*>(std::realloc(data_, capacity));
  if (!bigger) throw std::bad_alloc();
  data_ = bigger;
  capacity_ = capacity;
}

bool FileText::readAll(std::FILE* file, size_t sizeHint) {
  // One byte beyond the hint, so that a file of the size it said ends the
  // first read at end of file without growing the buffer.
  reserve(sizeHint + 1);
  for (;;) {
    if (capacity_ - size_ < kChunk / 4) reserve(2 * capacity_ + kChunk);
    const size_t got = std::fread(data_ + size_, 1, capacity_ - size_, file);
    size_ += got;
    if (got == 0) break;
  }
  return !std::ferror(file);
}
