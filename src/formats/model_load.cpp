// Loading a model file on two threads: one reads and parses, the other builds
// the records of what has been parsed, and the reader helps with the last
// blocks.

#include "formats/model_load.h"

#include <algorithm>
#include <atomic>
#include <cassert>
#include <cstdio>
#include <exception>
#include <memory>
#include <new>
#include <thread>

#include "files/file_paths.h"
#include "formats/polygon_ring.h"
#include "formats/read_progress.h"
#include "model/model.h"
#include "model/model_builder.h"

namespace {

// Waits until `count` reaches `wanted` or the read has ended; the count then.
template <class T>
T awaitCount(const std::atomic<T>& count, T wanted, const ReadProgress& progress) {
  for (;;) {
    const T now = count.load(std::memory_order_acquire);
    if (now >= wanted) return now;
    // Counts are final once the outcome is known.
    if (progress.outcome.load(std::memory_order_acquire) != 0) {
      return count.load(std::memory_order_acquire);
    }
    std::this_thread::yield();
  }
}

// The two threads' shared state: the building thread builds what has been
// parsed as it comes; the reading thread, once its read succeeded, helps
// place the blocks of polygons still waiting in the ring.
class SharedBuild {
 public:
  SharedBuild(const ModelImage& image, ReadProgress& progress, Model& model)
      : image_(image), progress_(progress), ring_(*progress.ring), builder_(model, image) {}

  bool build(bool printNames);
  void help();
  // Ends every wait of the reading thread: the building thread gave up.
  void abandon() {
    abandoned_.store(true, std::memory_order_release);
    ring_.abandon();
  }

 private:
  void beginParsedGroups();
  void place(size_t block, size_t total, int groups);
  size_t totalPolygons() const { return progress_.polygons.load(std::memory_order_acquire); }
  bool abandoned() const { return abandoned_.load(std::memory_order_acquire); }

  const ModelImage& image_;
  ReadProgress& progress_;
  PolygonRing& ring_;
  ModelBuilder builder_;
  std::atomic<bool> verticesAdded_{false};
  std::atomic<int> groupsBegun_{0};
  std::atomic<size_t> nextBlock_{0};
  std::atomic<size_t> blocksPlaced_{0};
  std::atomic<bool> abandoned_{false};
};

void SharedBuild::beginParsedGroups() {
  const int parsed = progress_.groupsBegun.load(std::memory_order_acquire);
  if (builder_.groupsBegun() == parsed) return;
  while (builder_.groupsBegun() < parsed) {
    builder_.beginGroup(progress_.groupSizes[builder_.groupsBegun()]);
  }
  groupsBegun_.store(parsed, std::memory_order_release);
}

// Places block `block` of polygons, the read having published `available`.
void SharedBuild::place(size_t block, size_t available, int groups) {
  const size_t first = block * ring_.blockLines();
  builder_.placePolygons(first, std::min(available - first, ring_.blockLines()), groups,
                         ring_.block(block));
  ring_.placed(block);
  blocksPlaced_.fetch_add(1, std::memory_order_release);
}

bool SharedBuild::build(bool printNames) {
  const long vertexCount = awaitCount(progress_.vertexCount, 0L, progress_);
  if (vertexCount < 0) return false;
  for (size_t added = 0; added < static_cast<size_t>(vertexCount);) {
    const size_t ready = awaitCount(progress_.vertices, added + 1, progress_);
    if (ready <= added) return false;
    builder_.addVertices(ready - added);
    added = ready;
  }
  verticesAdded_.store(true, std::memory_order_release);

  // Blocks of polygons in order as they are parsed, each after beginning the
  // groups the read has begun, so that the helper never waits long for the
  // group it needs.
  const size_t blockLines = ring_.blockLines();
  for (;;) {
    const size_t block = nextBlock_.fetch_add(1);
    const size_t wanted = (block + 1) * blockLines;
    const size_t parsed = awaitCount(progress_.polygons, wanted, progress_);
    if (progress_.outcome.load(std::memory_order_acquire) < 0) return false;
    // Every polygon counted belongs to a group the read has begun.
    beginParsedGroups();
    if (block * blockLines >= parsed) break;  // the read ended before this block
    place(block, parsed, builder_.groupsBegun());
  }

  const size_t blocks = (totalPolygons() + blockLines - 1) / blockLines;
  while (blocksPlaced_.load(std::memory_order_acquire) < blocks) std::this_thread::yield();
  builder_.finish();
  for (const ModelImage::GroupRecord& group : image_.groups)
    if (printNames && group.textured)
      std::printf("Read texture name: %s\n", shownName(group.textureName).c_str());
  return true;
}

void SharedBuild::help() {
  while (!verticesAdded_.load(std::memory_order_acquire)) {
    if (abandoned()) return;
    std::this_thread::yield();
  }
  const size_t total = totalPolygons();
  // Polygon number -> the number of groups that must have begun to hold it.
  std::vector<size_t> groupEnds;
  size_t end = 0;
  for (size_t size : progress_.groupSizes) groupEnds.push_back(end += size);
  for (;;) {
    const size_t block = nextBlock_.fetch_add(1);
    const size_t first = block * ring_.blockLines();
    if (first >= total) return;
    const size_t last = std::min(total, first + ring_.blockLines()) - 1;
    const int needed = static_cast<int>(std::upper_bound(groupEnds.begin(), groupEnds.end(), last) -
                                        groupEnds.begin() + 1);
    int begun;
    while ((begun = groupsBegun_.load(std::memory_order_acquire)) < needed) {
      if (abandoned()) return;
      std::this_thread::yield();
    }
    place(block, total, begun);
  }
}

}  // namespace

bool readAndBuild(std::FILE* file, size_t sizeHint, Model& model, bool printNames,
                  size_t blockLines, size_t ringBlocks, std::string* error,
                  std::vector<std::string>* notes) {
  ModelImage image;
  PolygonRing ring(blockLines, ringBlocks);
  ReadProgress progress;
  progress.ring = &ring;
  SharedBuild shared(image, progress, model);
  std::exception_ptr readFailure;
  bool built;
  {
    std::jthread reader([&] {
      try {
        if (readModelFile(file, sizeHint, image, progress, error)) shared.help();
      } catch (...) {
        readFailure = std::current_exception();
        progress.outcome.store(-1, std::memory_order_release);
      }
    });
    try {
      built = shared.build(printNames);
    } catch (...) {
      shared.abandon();
      throw;
    }
  }
  if (readFailure) std::rethrow_exception(readFailure);
  if (built && notes) *notes = std::move(image.notes);
  return built;
}
