#pragma once
// Memory running out, on purpose: while one lives, each allocation of at least `bytes` that the
// program's own code makes on its thread throws std::bad_alloc; failed() counts them.

#include <cstddef>

struct FailingAllocations {
  explicit FailingAllocations(size_t bytes) { from = bytes, failures = 0; }
  ~FailingAllocations() { from = 0; }
  int failed() const { return failures; }

  inline static thread_local size_t from = 0;  // 0: nothing fails
  inline static thread_local int failures = 0;
};
