#pragma once
// Model images in the recovery file's binary form (formats/binary_body.h):
// whole, or as the difference of an older image from a newer one. A
// difference keeps, per array (vertices, each group's polygons, bones, each
// clip's tracks, the hand-set weights), the common start and end and, when
// the middles have the same length, only the runs that changed; polygon
// corners are compared after renumbering for the vertices added or removed,
// so a small edit of a large model costs a few bytes. The undo history keeps
// its older steps so, and the recovery file writes them as they are.

#include <memory>
#include <string>

#include "formats/binary_body.h"
#include "model/model_image.h"

// What the model file's reader would refuse, found while reading.
struct ImageFaults {
  size_t vertexCount = 0;  // corners must be below it
  std::string fault;
  bool fail(std::string what) {
    fault = std::move(what);
    return false;
  }
};

// Version 1 of the recovery file had no clips or weights, versions before 3
// no seams, before 4 no bone names.
void putImage(BodyWriter& w, const ModelImage& image, int version);
// Refuses what a model file could not hold (corners or bone polygons out of
// range, bone depths out of order, numbers that are not finite), saying what
// in `f` when it is more than bytes that end too soon.
bool getImage(BodyReader& r, ModelImage& image, int version, ImageFaults& f);

// `older` as its difference from `newer`; and read back over `image`, which
// holds the newer image and ends as the older (with the checks of getImage),
// in time that grows with what changed.
void putImageDifference(BodyWriter& w, const ModelImage& older, const ModelImage& newer,
                        int version);
bool getImageDifference(BodyReader& r, ModelImage& image, int version, ImageFaults& f);

// An older image as its difference from a newer one, in the form the current
// version of the recovery file writes. Its bytes never change once made, so
// copies share them (and the recovery writer's thread with them).
class ImageDifference {
 public:
  ImageDifference() = default;
  ImageDifference(const ModelImage& older, const ModelImage& newer);
  // Bytes read from a recovery file of the current version.
  explicit ImageDifference(std::string bytes);

  bool empty() const { return !bytes_; }
  const std::string& bytes() const { return *bytes_; }
  // What holding it costs.
  size_t memoryBytes() const { return bytes_ ? sizeof(std::string) + bytes_->capacity() : 0; }
  // The older image from the newer one it was made against; false (the
  // reason in `fault`) for bytes that do not give an image a model file
  // could hold.
  bool apply(const ModelImage& newer, ModelImage& older, std::string* fault = nullptr) const;

 private:
  std::shared_ptr<const std::string> bytes_;
};
