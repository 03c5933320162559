#include "model/bulk_memory.h"

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
  // Aligned and whole, so that where the system backs memory with huge pages
  // on its own, every page of the block can be one. The block is not advised
  // as huge explicitly: where that advice makes the kernel compact memory on
  // demand, one load was measured to stall for most of a second.
  const size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
  void* block = std::aligned_alloc(kHugePage, rounded);
  if (!block) throw std::bad_alloc();
  return block;
}

void freeBulk(void* block) noexcept {
  std::free(block);
}
