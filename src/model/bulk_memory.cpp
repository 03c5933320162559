#include "model/bulk_memory.h"

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <mutex>
#include <vector>

namespace {

constexpr size_t kHugePage = size_t{2} << 20;

#if defined(__SANITIZE_ADDRESS__)
// Under AddressSanitizer every block goes back at once, so that a use after
// its release is caught.
constexpr bool kKeepBlocks = false;
#else
constexpr bool kKeepBlocks = true;
#endif

// Large blocks given back, kept for the next block of the same size. An undo
// builds a model as large as the one it replaces, whose blocks are freed
// moments later: handing those pages on spares the system mapping and
// zeroing them again, which costs more than the building itself. What is kept
// never exceeds what is in use, the blocks given back longest ago going
// first, so a closed model's memory goes back. Large blocks are few (a
// million triangles make about a hundred), so plain lists serve.
class KeptBlocks {
 public:
  void* take(size_t bytes) {
    std::lock_guard lock(mutex_);
    for (auto kept = kept_.begin(); kept != kept_.end(); ++kept) {
      if (kept->bytes != bytes) continue;
      void* block = kept->block;
      kept_.erase(kept);
      keptBytes_ -= bytes;
      return block;
    }
    return nullptr;
  }

  // A large block now in use (false when it cannot be noted: it is freed).
  bool inUse(void* block, size_t bytes) {
    std::lock_guard lock(mutex_);
    try {
      inUse_.push_back({bytes, block});
    } catch (...) {
      return false;
    }
    inUseBytes_ += bytes;
    return true;
  }

  // A block given back: false for one this store does not know (a small
  // one), which the caller frees.
  bool keep(void* block) noexcept {
    std::lock_guard lock(mutex_);
    auto known = std::find_if(inUse_.begin(), inUse_.end(),
                              [block](const Entry& entry) { return entry.block == block; });
    if (known == inUse_.end()) return false;
    const Entry entry = *known;
    *known = inUse_.back();
    inUse_.pop_back();
    inUseBytes_ -= entry.bytes;
    try {
      kept_.push_back(entry);
    } catch (...) {
      std::free(block);
      return true;
    }
    keptBytes_ += entry.bytes;
    while (keptBytes_ > inUseBytes_) {
      keptBytes_ -= kept_.front().bytes;
      std::free(kept_.front().block);
      kept_.pop_front();
    }
    return true;
  }

  void releaseAll() noexcept {
    std::lock_guard lock(mutex_);
    for (const Entry& entry : kept_) std::free(entry.block);
    kept_.clear();
    keptBytes_ = 0;
  }

 private:
  struct Entry {
    size_t bytes;
    void* block;
  };
  std::mutex mutex_;
  std::deque<Entry> kept_;    // oldest first
  std::vector<Entry> inUse_;  // the large blocks handed out
  size_t keptBytes_ = 0, inUseBytes_ = 0;
};

KeptBlocks& keptBlocks() {
  static KeptBlocks* blocks = new KeptBlocks;  // outlives every static model
  return *blocks;
}

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
  if (!kKeepBlocks) {
    void* block = std::aligned_alloc(kHugePage, rounded);
    if (!block) throw std::bad_alloc();
    return block;
  }
  KeptBlocks& kept = keptBlocks();
  void* block = kept.take(rounded);
  if (!block) block = std::aligned_alloc(kHugePage, rounded);
  if (!block) {
    // Blocks kept for later are the first to go when memory runs short.
    kept.releaseAll();
    block = std::aligned_alloc(kHugePage, rounded);
  }
  if (!block || !kept.inUse(block, rounded)) {
    std::free(block);
    throw std::bad_alloc();
  }
  return block;
}

void freeBulk(void* block) noexcept {
  if (!block) return;
  if (kKeepBlocks && keptBlocks().keep(block)) return;
  std::free(block);
}

void releaseKeptBulk() noexcept {
  if (kKeepBlocks) keptBlocks().releaseAll();
}
