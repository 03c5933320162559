#pragma once
// Memory for the records a load or an undo makes by the million. Filling
// hundreds of megabytes page by page costs more in page faults than the
// filling itself, so large blocks are aligned to the system's huge pages,
// which it may then use for them. Contents start uninitialised.

#include <cstddef>
#include <memory>
#include <new>

// A block of at least `bytes`, aligned for any record; never null (throws
// std::bad_alloc). Released with freeBulk.
void* allocateBulk(size_t bytes);
void freeBulk(void* block) noexcept;
// Large blocks are kept after their release for the next of their size, never
// more bytes than are in use; this hands every kept block back to the system.
void releaseKeptBulk() noexcept;

struct BulkDeleter {
  void operator()(void* block) const noexcept { freeBulk(block); }
};

// An array of n default-initialised T (trivial T stay uninitialised).
template <class T>
std::unique_ptr<T[], BulkDeleter> makeBulkArray(size_t n) {
  T* items = static_cast<T*>(allocateBulk(n * sizeof(T)));
  for (size_t i = 0; i < n; ++i) new (items + i) T;
  return std::unique_ptr<T[], BulkDeleter>(items);
}

// For containers filled with one record per triangle.
template <class T>
struct BulkAllocator {
  using value_type = T;
  BulkAllocator() = default;
  template <class U>
  BulkAllocator(const BulkAllocator<U>&) noexcept {}
  T* allocate(size_t n) { return static_cast<T*>(allocateBulk(n * sizeof(T))); }
  void deallocate(T* items, size_t) noexcept { freeBulk(items); }
  template <class U>
  bool operator==(const BulkAllocator<U>&) const noexcept {
    return true;
  }
};
