#include "model/bulk_memory.h"

#include <sys/mman.h>

#include <cstdlib>

namespace {
constexpr size_t kHugePage = size_t{2} << 20;
}  // namespace

void* allocateBulk(size_t bytes) {
  if (bytes < kHugePage) {
    void* block = std::malloc(bytes > 0 ? bytes : 1);
    if (!block) throw std::bad_alloc();
    return block;
  }
  const size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
  void* block = std::aligned_alloc(kHugePage, rounded);
  if (!block) throw std::bad_alloc();
  // Advice only: where huge pages are not offered, ordinary pages serve.
  madvise(block, rounded, MADV_HUGEPAGE);
  return block;
}

void freeBulk(void* block) noexcept {
  std::free(block);
}
