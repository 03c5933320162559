#pragma once
// A model file read that a builder follows on another thread (readAndBuild in
// model_load.h): the reader publishes how far it has got, and hands polygon
// lines over through a ring instead of keeping them in the image.

#include <atomic>
#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

#include "formats/model_file.h"
#include "formats/text_window.h"
#include "model/model_image.h"

class PolygonRing;

// How far a read has got. The counts only grow, and what a count covers is
// complete in the image once the count shows it (stored with release, to be
// loaded with acquire).
struct ReadProgress {
  std::atomic<long> vertexCount{-1};  // set once image.vertices has its size
  std::atomic<size_t> vertices{0};    // vertices read
  std::atomic<int> groupsBegun{0};    // groups whose polygon count is known
  std::atomic<size_t> polygons{0};    // polygons read, over all groups in file order
  std::atomic<int> outcome{0};        // 1 once the read succeeded, -1 once it failed
  // Polygon counts of the groups begun, sized when the group count is read.
  std::vector<size_t> groupSizes;
  // Where polygon lines go instead of the image's groups, which then stay
  // empty; set by the reader's caller.
  PolygonRing* ring = nullptr;
};

// readModelFile, filling the image in place (a failure leaves it partly
// filled), publishing every step in `progress`, and sending polygon lines to
// the progress's ring if it has one.
bool readModelFile(std::FILE* file, size_t sizeHint, ModelImage& image, ReadProgress& progress,
                   std::string* error = nullptr, size_t windowBytes = TextWindow::kDefaultCapacity);
