#pragma once
// A whole file's bytes in memory, read for parsing, into memory that is not
// cleared first: a model file of a million triangles is about 200 MB, and
// clearing that much before reading over it costs a third of parsing it.

#include <cstddef>
#include <cstdio>
#include <string_view>

class FileText {
 public:
  FileText() = default;
  ~FileText();
  FileText(const FileText&) = delete;
  FileText& operator=(const FileText&) = delete;

  // Reads from the file's current position to its end, however much the
  // size the file reported beforehand says (it may grow or shrink
  // meanwhile). False on a read error.
  bool readAll(std::FILE* file, size_t sizeHint);

  std::string_view text() const { return std::string_view(data_, size_); }

 private:
  void reserve(size_t capacity);

  char* data_ = nullptr;
  size_t size_ = 0, capacity_ = 0;
};
