#pragma once
// Slots for records of one type, taken one at a time or in runs from chunks
// that keep their address until the store is cleared or goes: a list's nodes
// and a model's records are made by the million, and neither may move once
// pointed at. Each new chunk doubles the one before, up to kMaxChunk slots.
// Slots start uninitialised: whoever takes one constructs its record there.

#include <algorithm>
#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

#include "model/bulk_memory.h"

template <class T>
class ChunkStore {
 public:
  static constexpr size_t kMaxChunk = 1 << 16;

  explicit ChunkStore(size_t firstChunk) : first_(firstChunk), next_(firstChunk) {}
  ChunkStore(const ChunkStore&) = delete;
  ChunkStore& operator=(const ChunkStore&) = delete;
  // The store moved from is left empty, as if new.
  ChunkStore(ChunkStore&& other) noexcept : first_(other.first_), next_(other.first_) {
    *this = std::move(other);
  }
  ChunkStore& operator=(ChunkStore&& other) noexcept {
    if (this == &other) return *this;
    chunks_ = std::move(other.chunks_);
    other.chunks_.clear();
    next_ = std::exchange(other.next_, other.first_);
    cursor_ = std::exchange(other.cursor_, nullptr);
    end_ = std::exchange(other.end_, nullptr);
    return *this;
  }

  // Called once per list node, so the common case is one compare and one
  // increment, inlined at the caller.
  T* take() {
    if (cursor_ == end_) addDoubledChunk();
    return reinterpret_cast<T*>(&(cursor_++)->storage);
  }

  // `count` slots side by side (none for 0): in the last chunk if it has room
  // for them, else in a chunk of exactly that size, which leaves the doubling
  // where it was.
  T* takeRun(size_t count) {
    if (count == 0) return nullptr;
    if (room() < count) addChunk(count);
    T* run = reinterpret_cast<T*>(&cursor_->storage);
    cursor_ += count;
    return run;
  }

  // Before `more` slots are taken one by one: the next chunk holds at least
  // as many as the last chunk lacks (up to kMaxChunk).
  void expect(size_t more) {
    const size_t free = room();
    if (more > free) next_ = std::max(next_, std::min(more - free, kMaxChunk));
  }

  // Every slot taken, in order of taking within each chunk.
  template <class Visit>
  void forEachTaken(Visit visit) {
    for (Chunk& chunk : chunks_) {
      Slot* end = &chunk == &chunks_.back() ? cursor_ : chunk.slots.get() + chunk.used;
      for (Slot* s = chunk.slots.get(); s != end; ++s) visit(reinterpret_cast<T*>(&s->storage));
    }
  }

  // Releases every chunk; the slots' records must need no destruction.
  void clear() {
    chunks_.clear();
    next_ = first_;
    cursor_ = end_ = nullptr;
  }

 private:
  struct Slot {
    alignas(T) unsigned char storage[sizeof(T)];
  };
  // `used` counts the slots taken from a chunk once a later chunk follows it;
  // the last chunk is used up to cursor_.
  struct Chunk {
    std::unique_ptr<Slot[], BulkDeleter> slots;
    size_t used;
  };

  // Out of line, so that take() saves no registers for it.
  [[gnu::noinline, gnu::cold]] void addDoubledChunk() {
    addChunk(next_);
    next_ = std::min(2 * next_, kMaxChunk);
  }
  size_t room() const { return static_cast<size_t>(end_ - cursor_); }
  void addChunk(size_t capacity) {
    if (!chunks_.empty())
      chunks_.back().used = static_cast<size_t>(cursor_ - chunks_.back().slots.get());
    chunks_.push_back(Chunk{makeBulkArray<Slot>(capacity), 0});
    cursor_ = chunks_.back().slots.get();
    end_ = cursor_ + capacity;
  }

  std::vector<Chunk> chunks_;
  size_t first_;
  size_t next_;
  Slot* cursor_ = nullptr;  // next free slot of the last chunk
  Slot* end_ = nullptr;     // end of the last chunk
};
