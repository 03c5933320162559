#pragma once
// Stable-address storage for the records of one model. Records are made one at
// a time and released together when the pool goes; nothing is freed one by one,
// because selections and tool state may still point at a record that an edit
// took out of the model's lists.

#include <cstddef>
#include <new>
#include <type_traits>
#include <utility>

#include "model/chunk_store.h"

template <class T>
class RecordPool {
 public:
  template <class... Args>
  T* make(Args&&... args) {
    T* record = new (store_.take()) T(std::forward<Args>(args)...);
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
    live_ += count;
    return store_.takeRun(count);
  }

  RecordPool() = default;
  RecordPool(const RecordPool&) = delete;
  RecordPool& operator=(const RecordPool&) = delete;
  ~RecordPool() {
    if constexpr (!std::is_trivially_destructible_v<T>) {
      store_.forEachTaken([](T* record) { record->~T(); });
    }
  }

 private:
  static constexpr size_t kFirstChunk = 64;
  ChunkStore<T> store_{kFirstChunk};
  size_t live_ = 0;
};
