#pragma once
// What a model file carries, as numbers: the writer's view of a model and the
// reader's input (formats/model_file.h turns them into text and back). Real
// numbers are held exactly as the file's six-decimal text gives them back, so
// building a model from an image is the same as writing the model file and
// reading it again. Undo snapshots are images.

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/bulk_memory.h"
#include "model/vec3.h"

class Model;

struct ModelImage {
  struct PolygonRecord {
    int corners[3] = {0, 0, 0};  // vertex numbers
    double u[3] = {0, 0, 0};
    double v[3] = {0, 0, 0};
    bool operator==(const PolygonRecord&) const = default;
  };
  struct GroupRecord {
    std::vector<PolygonRecord, BulkAllocator<PolygonRecord>> polygons;
    int textured = 0;
    std::string textureName;
    double colour[4] = {1, 1, 1, 1};
    bool operator==(const GroupRecord&) const = default;
  };
  struct BoneRecord {
    int depth = 1;  // 1 for the root
    double x = 0, y = 0, z = 0, a = 0, b = 0;
    std::vector<int> polygons;  // polygon numbers, counted over all groups
    bool operator==(const BoneRecord&) const = default;
  };

  // A bone's pose at a frame of a clip: rotation w, x, y, z, translation and
  // scale, and how it goes over to the next key (Interpolation's number).
  struct KeyRecord {
    int frame = 0;
    double rotation[4] = {1, 0, 0, 0};
    double translation[3] = {0, 0, 0};
    double scale[3] = {1, 1, 1};
    int interpolation = 1;  // linear
    bool operator==(const KeyRecord&) const = default;
  };
  struct TrackRecord {
    int bone = 0;                 // bone number, in the order of `bones`
    std::vector<KeyRecord> keys;  // frames increasing
    bool operator==(const TrackRecord&) const = default;
  };
  struct ClipRecord {
    std::string name;
    int length = 24, fps = 24;
    std::vector<TrackRecord> tracks;  // bones increasing, each with keys
    bool operator==(const ClipRecord&) const = default;
  };
  // A bone's weight on a vertex, set by hand.
  struct WeightRecord {
    int vertex = 0, bone = 0;
    double weight = 0;
    bool operator==(const WeightRecord&) const = default;
  };

  std::vector<Vec3, BulkAllocator<Vec3>> vertices;  // in file order
  std::vector<GroupRecord> groups;
  std::vector<BoneRecord> bones;      // depth-first pre-order; empty without skeleton
  std::vector<ClipRecord> clips;      // in the order they were made
  std::vector<WeightRecord> weights;  // by vertex, then bone
  // Seam edges as vertex numbers, the smaller first, increasing.
  std::vector<std::pair<int, int>> seams;
  // Names of bones, by bone number in the order of `bones`, increasing.
  std::vector<std::pair<int, std::string>> boneNames;
  // What reading a file left out, one line each for the console (a texture
  // name that holds control characters); nothing a model writes.
  std::vector<std::string> notes;

  bool operator==(const ModelImage&) const = default;
  size_t memoryBytes() const;
};

// An undo step: what the model file would carry, and the model's name. An
// image never changes once taken, so undo, redo and the recovery writer's
// thread share it.
struct Snapshot {
  std::string name;
  std::shared_ptr<const ModelImage> image;
};

// The reader's construction: replaces the model's vertices, groups and
// skeleton with the image's, in the reader's list order.
void buildModel(const ModelImage& image, Model& model);
