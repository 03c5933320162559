#pragma once
// The reader's construction of a model, in file order: vertices, then each
// group's polygons, then materials and bones. A whole image is built in one
// go (buildModel); a load feeds the builder while the file is still being
// read, so that reading and building overlap.

#include <cstddef>
#include <vector>

#include "model/model_image.h"

struct Polygon;
struct PolygonGroup;
struct Vertex;

class ModelBuilder {
 public:
  // Starts replacing the model's vertices and groups; the model's lists hold
  // the new records in the reader's order as they are added.
  explicit ModelBuilder(Model& model, size_t vertexCount = 0, size_t polygonCount = 0);

  void addVertices(const Vec3* positions, size_t count);
  // Starts the next group; its polygons follow.
  void beginGroup(size_t polygonCount);
  // Polygons of the group begun last. Corner numbers must name vertices added.
  void addPolygons(const ModelImage::PolygonRecord* lines, size_t count);
  // Gives every group begun its material from the image and installs the
  // image's skeleton. `printNames` prints "Read texture name: %s\n" for each
  // texture name, as reading a file does.
  void finish(const ModelImage& image, bool printNames);

 private:
  Model& model_;
  std::vector<Vertex*> vertexByNumber_;
  std::vector<Polygon*> polygonByNumber_;
  std::vector<PolygonGroup*> groups_;
};

// Builds `model` from `image` while a read on another thread fills the image,
// following `progress`, and finishes it once the read succeeded. False when
// the read failed; the model is then partly built and only fit to be thrown
// away.
bool buildWhileReading(const ModelImage& image, const ReadProgress& progress, Model& model,
                       bool printNames);
