#pragma once
// The arrays animation mode draws the posed model from (model/posed_model.h
// makes the pose): face normals from the posed corners, smooth corner normals
// turned with their vertex. They are kept while the pose they show stands.

#include <cstddef>
#include <cstdint>
#include <vector>

class Model;
class PosedModel;
struct PolygonGroup;

class PosedDrawing {
 public:
  // One group's triangles, 12 floats a corner as the rest model's arrays
  // (position, colour, normal, texture coordinates), for the pose; the group
  // is the model's `number`th, its first corner `firstCorner` in the binding.
  // Kept until the next pose.
  const std::vector<float>& groupArrays(PosedModel& posed, PolygonGroup& group, size_t number,
                                        size_t firstCorner, bool cornerNormals);

  // Draws the posed triangles and, outside textured views, the vertex points
  // (posed_model_draw.cpp); `normals` as ModelDrawing::NormalSource. False
  // when memory ran out for the arrays of some of them, which are left out.
  bool draw(Model& model, PosedModel& posed, int texturedView, int normals);

 private:
  struct Arrays {
    std::vector<float> floats;
    uint64_t filledFor = 0;  // the pose they show
  };
  std::vector<Arrays> arrays_[2];  // by group number, face then corner normals
  std::vector<float> pointArray_;
  uint64_t pointsFilledFor_ = 0;
};
