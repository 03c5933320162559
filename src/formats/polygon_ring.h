#pragma once
// Polygon lines on their way from a read to the threads that build records
// from them: a few blocks of memory used over and over, rather than room for
// every line of a file that may hold millions. The reader waits for a block
// to have been placed before it writes over it.

#include <atomic>
#include <cstddef>
#include <memory>

#include "model/model_image.h"

class PolygonRing {
 public:
  PolygonRing(size_t blockLines, size_t blocks);

  size_t blockLines() const { return blockLines_; }

  // Where line `number` (over all groups, in file order) goes. The first
  // line of a block waits until the block that used its memory before has
  // been placed; null when the wait was abandoned.
  ModelImage::PolygonRecord* slot(size_t number);
  // The lines of block `index`, once the read has published them.
  const ModelImage::PolygonRecord* block(size_t index) const;
  // Block `index` has been placed; its memory may take later lines.
  void placed(size_t index);
  // Ends the reader's waits: nobody will place blocks any more.
  void abandon();

 private:
  size_t blockLines_, blocks_;
  std::unique_ptr<ModelImage::PolygonRecord[]> lines_;
  // freeFor_[s] is the first block that may use memory block s.
  std::unique_ptr<std::atomic<size_t>[]> freeFor_;
  std::atomic<bool> abandoned_{false};
};
