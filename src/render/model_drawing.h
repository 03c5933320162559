#pragma once
// The model in a view, its UV layout, its normals, its bone links and its
// skeleton, in OpenGL 1.1 inside the camera the caller has set up. Every
// function here needs a current GL context.

#include <cstdint>
#include <utility>
#include <vector>

#include <absl/container/flat_hash_map.h>

class Model;
struct Bone;
struct PolygonGroup;

// Draws a model's triangles and vertex points, keeping the arrays batched
// drawing fills for as long as the model they show is unchanged.
class ModelDrawing {
 public:
  // Which normals lighting gets: none (unlit drawing), the face normal of each
  // triangle, or its corner normals (smooth shading shows).
  enum NormalSource { kNoNormals, kFaceNormals, kCornerNormals };

  // Nothing edits the model while a frame draws it in several views, so
  // between these two calls the arrays batched drawing uses are built once
  // and drawn from in every view; outside them they are built on each draw.
  // A frame of the same model given the same nonzero `revision` as the one
  // before vouches that the model is unchanged since, and draws from the
  // arrays built then.
  void beginFrame(const Model& model, uint64_t revision = 0);
  void endFrame();

  // `batched` draws each group's triangles and the vertex points from vertex
  // arrays, one call each; otherwise every vertex is one immediate-mode call.
  // Both give the same pixels and leave the same current colour and normal,
  // so arrays that find no memory are drawn the second way.
  void draw(Model& model, int texturedView, NormalSource normals = kNoNormals, bool batched = true);

 private:
  // The arrays batched drawing uses, by group (null for the vertex points)
  // and normal source, with the frame that built them.
  struct DrawArrays {
    std::vector<float> floats;
    uint64_t generation = 0;  // the generation_ they were built in
  };
  absl::flat_hash_map<std::pair<const PolygonGroup*, int>, DrawArrays> drawArrays_;
  const Model* model_ = nullptr;  // the model of the last frame
  uint64_t generation_ = 0;       // moves on with each frame that may see another model
  uint64_t revision_ = 0;         // of the last frame
  bool inFrame_ = false;
};

// The current group's mapped triangles in texture space.
void drawUvTriangles(Model& model);
// Face and corner normals of the last group as short lines.
void drawNormals(Model& model);
// A line from each triangle's centre to the end joint of its bone.
void drawBoneLinks(Model& model);
// `batched` draws the joints' cubes and the bones as one array of lines.
void drawSkeleton(Model& model, Bone* selectedBone, bool batched = true);
