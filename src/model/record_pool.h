#pragma once
// Stable-address storage for the records of one model. Records are made one at
// a time and released together when the pool goes; nothing is freed one by one,
// because selections and tool state may still point at a record that an edit
// took out of the model's lists.

#include <cstddef>
#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

#include "model/bulk_memory.h"

template <class T>
class RecordPool {
 public:
  template <class... Args>
  T* make(Args&&... args) {
    if (chunks_.empty() || chunks_.back().used == chunks_.back().capacity) {
      if (!chunks_.empty() && chunkSize_ < kMaxChunk) chunkSize_ *= 2;
      // Records are constructed in place; zeroing the chunk first only costs time.
      chunks_.push_back(Chunk{makeBulkArray<Slot>(chunkSize_), chunkSize_, 0});
    }
    Chunk& chunk = chunks_.back();
    T* record = new (&chunk.slots[chunk.used].storage) T(std::forward<Args>(args)...);
    ++chunk.used;
    ++live_;
    return record;
  }

  size_t size() const { return live_; }

  // Room for `count` records side by side, counted as made but not yet
  // constructed: the caller constructs each in place before anything reads
  // it. Only for records that need no destruction, so that a run abandoned
  // half-filled costs nothing to release.
  T* makeRun(size_t count) {
    static_assert(std::is_trivially_destructible_v<T>);
    if (count == 0) return nullptr;
    if (chunks_.empty() || chunks_.back().capacity - chunks_.back().used < count) {
      chunks_.push_back(Chunk{makeBulkArray<Slot>(count), count, 0});
    }
    Chunk& chunk = chunks_.back();
    T* run = reinterpret_cast<T*>(&chunk.slots[chunk.used].storage);
    chunk.used += count;
    live_ += count;
    return run;
  }

  RecordPool() = default;
  RecordPool(const RecordPool&) = delete;
  RecordPool& operator=(const RecordPool&) = delete;
  ~RecordPool() {
    if constexpr (std::is_trivially_destructible_v<T>) return;
    for (Chunk& chunk : chunks_) {
      for (size_t i = 0; i < chunk.used; ++i) {
        reinterpret_cast<T*>(&chunk.slots[i].storage)->~T();
      }
    }
  }

 private:
  static constexpr size_t kFirstChunk = 64;
  static constexpr size_t kMaxChunk = 1 << 16;
  struct Slot {
    alignas(T) unsigned char storage[sizeof(T)];
  };
  struct Chunk {
    std::unique_ptr<Slot[], BulkDeleter> slots;
    size_t capacity;
    size_t used;
  };

  std::vector<Chunk> chunks_;
  size_t chunkSize_ = kFirstChunk;
  size_t live_ = 0;
};
