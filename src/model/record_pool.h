#pragma once
// Stable-address storage for the records of one model. Records are made one at
// a time and released together when the pool goes; nothing is freed one by one,
// because selections and tool state may still point at a record that an edit
// took out of the model's lists.

#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

#include "model/bulk_memory.h"

template <class T>
class RecordPool {
 public:
  template <class... Args>
  T* make(Args&&... args) {
    if (chunks_.empty() || used_ == chunkSize_) {
      if (!chunks_.empty() && chunkSize_ < kMaxChunk) chunkSize_ *= 2;
      // Records are constructed in place; zeroing the chunk first only costs time.
      chunks_.push_back(makeBulkArray<Slot>(chunkSize_));
      used_ = 0;
    }
    Slot& slot = chunks_.back()[used_++];
    T* record = new (&slot.storage) T(std::forward<Args>(args)...);
    ++live_;
    return record;
  }

  size_t size() const { return live_; }

  RecordPool() = default;
  RecordPool(const RecordPool&) = delete;
  RecordPool& operator=(const RecordPool&) = delete;
  ~RecordPool() { destroyAll(); }

 private:
  static constexpr size_t kFirstChunk = 64;
  static constexpr size_t kMaxChunk = 1 << 16;
  struct Slot {
    alignas(T) unsigned char storage[sizeof(T)];
  };

  void destroyAll() {
    size_t size = kFirstChunk;
    for (size_t c = 0; c < chunks_.size(); ++c) {
      size_t n = (c + 1 == chunks_.size()) ? used_ : size;
      for (size_t i = 0; i < n; ++i) reinterpret_cast<T*>(&chunks_[c][i].storage)->~T();
      if (size < kMaxChunk) size *= 2;
    }
    chunks_.clear();
  }

  std::vector<std::unique_ptr<Slot[], BulkDeleter>> chunks_;
  size_t chunkSize_ = kFirstChunk;
  size_t used_ = 0;
  size_t live_ = 0;
};
