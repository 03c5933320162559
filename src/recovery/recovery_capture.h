#pragma once
// The model copied for the recovery file a slice at a time, so that no slice
// holds the main thread for long, and turned into its image on the writer's
// thread: the copy is rebuilt as a model of its own and captured there, so
// the image is the very one captureImage gives of the model as it was.
//
// Between two slices the model must not change: after an edit the copy is
// thrown away and a new one started.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/animation.h"
#include "model/model.h"
#include "model/model_image.h"

class ModelCopy {
 public:
  enum Progress { kMore, kDone, kChanged };

  // `pass` is a fresh mark pass (model/marks.h) for this copy.
  ModelCopy(const Model& model, uint64_t pass);
  ~ModelCopy();
  ModelCopy(const ModelCopy&) = delete;
  ModelCopy& operator=(const ModelCopy&) = delete;

  // Copies up to `records` more vertices and polygons, fewer when `enough`
  // (asked after every few thousand) says so; kDone once the whole model is
  // copied (the last slice also takes the groups' looks, the skeleton and
  // the animation), kChanged when the lists no longer have the lengths the
  // slices before found.
  Progress copySome(size_t records, const std::function<bool()>& enough = {});
  const Model* model() const { return &model_; }

  // The image of the model as copied, on any thread once copySome said kDone.
  ModelImage image() const;

 private:
  struct GroupCopy {
    std::vector<Polygon> polygons;
    Material material;
  };
  struct BoneCopy {
    const Bone* bone;
    const Bone* parent;
    Vertex end;
    double paramA, paramB;
    std::string name;
  };
  // Counts a record off `budget`, which `enough` may end early.
  struct Budget {
    size_t left;
    const std::function<bool()>& enough;
    size_t sinceAsked = 0;
    bool take();
  };
  bool copyVertices(Budget& budget);
  bool copyPolygons(Budget& budget);
  bool finish();

  const Model& model_;
  uint64_t pass_;
  std::vector<const Vertex*> listed_;  // the model's vertices in list order, and their copies
  std::vector<Vertex> vertices_;
  std::vector<const Vertex*> outside_;  // corners not marked as listed, and their copies
  std::vector<Vertex> outsideCopies_;
  std::vector<GroupCopy> groups_;  // sized by the first slice that reaches the polygons
  size_t groupIndex_ = 0;          // the group being copied
  std::vector<BoneCopy> bones_;
  int hasSkeleton_ = 0;
  std::vector<Clip> clips_;  // their tracks keyed by the model's bones
  std::vector<std::pair<const Vertex*, std::vector<BoneWeight>>> weights_;
  std::vector<SeamSet::Edge> seams_;
  bool done_ = false;
};
