#include "formats/polygon_ring.h"

#include <thread>

PolygonRing::PolygonRing(size_t blockLines, size_t blocks)
    : blockLines_(blockLines),
      blocks_(blocks),
      lines_(std::make_unique<ModelImage::PolygonRecord[]>(blockLines * blocks)),
      freeFor_(std::make_unique<std::atomic<size_t>[]>(blocks)) {
  for (size_t s = 0; s < blocks; ++s) freeFor_[s].store(s, std::memory_order_relaxed);
}

ModelImage::PolygonRecord* PolygonRing::slot(size_t number) {
  const size_t block = number / blockLines_;
  const size_t memory = block % blocks_;
  if (number % blockLines_ == 0) {
    while (freeFor_[memory].load(std::memory_order_acquire) < block) {
      if (abandoned_.load(std::memory_order_acquire)) return nullptr;
      std::this_thread::yield();
    }
  }
  return &lines_[memory * blockLines_ + number % blockLines_];
}

const ModelImage::PolygonRecord* PolygonRing::block(size_t index) const {
  return &lines_[(index % blocks_) * blockLines_];
}

void PolygonRing::placed(size_t index) {
  freeFor_[index % blocks_].store(index + blocks_, std::memory_order_release);
}

void PolygonRing::abandon() {
  abandoned_.store(true, std::memory_order_release);
}
