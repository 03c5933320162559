// Large blocks handed back are kept for the next block of their size, and
// never more of them than is in use.

#include "model/bulk_memory.h"

#include <gtest/gtest.h>
#include <malloc.h>

#include <cstring>

namespace {

size_t allocatedBytes() {
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

TEST(BulkMemory, AGivenBackBlockServesTheNextOfItsSizeAndGoesWhenNothingIsInUse) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "every block goes back at once under AddressSanitizer";
#endif
  constexpr size_t kBlock = size_t{5} << 20;
  const size_t before = allocatedBytes();
  void* first = allocateBulk(kBlock);
  void* second = allocateBulk(kBlock);
  std::memset(second, 7, kBlock);
  freeBulk(first);
  void* third = allocateBulk(kBlock - 100);  // rounds to the same size
  EXPECT_EQ(third, first);
  EXPECT_EQ(static_cast<unsigned char*>(second)[kBlock - 1], 7);
  freeBulk(second);
  freeBulk(third);
  // Nothing in use: nothing kept.
  EXPECT_LT(allocatedBytes(), before + (size_t{1} << 20));
}

}  // namespace
