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
    return *this;
  }

  T* take() {
    if (room() == 0) {
      addChunk(next_);
      next_ = std::min(2 * next_, kMaxChunk);
    }
    Chunk& chunk = chunks_.back();
    return slot(chunk, chunk.used++);
  }

  // `count` slots side by side (none for 0): in the last chunk if it has room
  // for them, else in a chunk of exactly that size, which leaves the doubling
  // where it was.
  T* takeRun(size_t count) {
    if (count == 0) return nullptr;
    if (room() < count) addChunk(count);
    Chunk& chunk = chunks_.back();
    T* run = slot(chunk, chunk.used);
    chunk.used += count;
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
      for (size_t i = 0; i < chunk.used; ++i) visit(slot(chunk, i));
    }
  }

  // Releases every chunk; the slots' records must need no destruction.
  void clear() {
    chunks_.clear();
    next_ = first_;
  }

 private:
  struct Slot {
    alignas(T) unsigned char storage[sizeof(T)];
  };
  struct Chunk {
    std::unique_ptr<Slot[], BulkDeleter> slots;
    size_t capacity;
    size_t used;
  };

  size_t room() const {
    return chunks_.empty() ? 0 : chunks_.back().capacity - chunks_.back().used;
  }
  void addChunk(size_t capacity) {
    chunks_.push_back(Chunk{makeBulkArray<Slot>(capacity), capacity, 0});
  }
  static T* slot(Chunk& chunk, size_t i) { return reinterpret_cast<T*>(&chunk.slots[i].storage); }

  std::vector<Chunk> chunks_;
  size_t first_;
  size_t next_;
};
