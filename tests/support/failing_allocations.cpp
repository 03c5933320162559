// The test programs' operator new and delete, on malloc and free (the library's other forms call
// these, or pair among themselves). A library's allocation never fails: an exception thrown
// through the OpenGL driver's C code (it compiles shaders with LLVM) is no running out of memory.

#include "support/failing_allocations.h"

#include <cstdlib>
#include <new>

extern "C" char __executable_start, etext;  // the program's own code, as the linker bounds it

void* operator new(size_t size) {
  const void* caller = __builtin_return_address(0);
  if (FailingAllocations::from && size >= FailingAllocations::from &&
      caller >= &__executable_start && caller < &etext) {
    ++FailingAllocations::failures;
    throw std::bad_alloc();
  }
  void* block = std::malloc(size + !size);
  if (!block) throw std::bad_alloc();
  return block;
}
void* operator new(size_t size, const std::nothrow_t&) noexcept {
  return std::malloc(size + !size);
}
void operator delete(void* block) noexcept {
  std::free(block);
}
void operator delete(void* block, size_t) noexcept {
  std::free(block);
}
