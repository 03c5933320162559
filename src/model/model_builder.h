#pragma once
// The reader's construction of a model, in file order: vertices, then each
// group's polygons, then materials and bones. A whole image is built in one
// go (buildModel); a load builds while the file is still being read, on two
// threads (formats/model_load.h).

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "model/model_image.h"

struct Polygon;
struct PolygonGroup;
struct Vertex;

class ModelBuilder {
 public:
  // Starts replacing the model's vertices and groups; the model's lists hold
  // the new records in the reader's order as they are added.
  ModelBuilder(Model& model, const ModelImage& image);

  void addVertices(size_t count);  // the image's next `count` vertices
  // Starts the image's next group, of `polygonCount` polygons: their records
  // are set aside and listed in it at once, and filled in by placePolygons.
  void beginGroup(size_t polygonCount);
  int groupsBegun() const { return groupsBegun_; }
  // Fills the records of polygons [first, first + count), numbered over all
  // groups in file order, from their lines. Their groups must be among the
  // first `groups` begun, and every vertex must have been added. Calls on
  // disjoint ranges may run at once, on different threads, beside the calls
  // above.
  void placePolygons(size_t first, size_t count, int groups,
                     const ModelImage::PolygonRecord* lines) const;
  // Gives every group its material and installs the image's skeleton; every
  // polygon must have been placed.
  void finish();

 private:
  // One group's polygon records, set aside together.
  struct Run {
    size_t first = 0;  // number of the first polygon
    Polygon* records = nullptr;
  };
  // The group holding polygon `number`, among the first `groups`.
  int groupOf(size_t number, int groups) const;

  Model& model_;
  const ModelImage& image_;
  std::vector<Vertex*> vertexByNumber_;
  std::vector<PolygonGroup*> groups_;
  std::unique_ptr<Run[]> runs_;  // sized once, so readers never see it move
  int groupsBegun_ = 0;
  size_t polygonsBegun_ = 0;
};
