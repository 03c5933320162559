#include "render/wire_cube.h"

namespace {
// The cube as glutWireCube draws it: six faces, each a loop of four corners.
// Every edge belongs to two faces that run along it in opposite directions, so
// both its end pixels show; drawing each edge once would lose a corner pixel.
const double kCorners[8][3] = {{.5, .5, .5},   {-.5, .5, .5}, {-.5, -.5, .5}, {.5, -.5, .5},
                               {.5, -.5, -.5}, {.5, .5, -.5}, {-.5, .5, -.5}, {-.5, -.5, -.5}};
const int kFaces[6][4] = {{0, 1, 2, 3}, {0, 3, 4, 5}, {0, 5, 6, 1},
                          {1, 6, 7, 2}, {7, 4, 3, 2}, {4, 7, 6, 5}};
}  // namespace

int appendWireCube(std::vector<float>& out, double x, double y, double z, double size,
                   const CubeSight& sight) {
  const double centre[3] = {x, y, z};
  auto put = [&](const double* corner) {
    for (int axis = 0; axis < 3; ++axis)
      out.push_back(static_cast<float>(centre[axis] + size * corner[axis]));
  };
  if (sight.depthAxis < 0) {
    for (const auto& face : kFaces) {
      for (int i = 0; i < 4; ++i) put(kCorners[face[i]]), put(kCorners[face[(i + 1) % 4]]);
    }
    return 48;
  }
  // The nearer face's corners in order round it.
  const int u = (sight.depthAxis + 1) % 3, w = (sight.depthAxis + 2) % 3;
  const double round[4][2] = {{.5, .5}, {-.5, .5}, {-.5, -.5}, {.5, -.5}};
  double corners[4][3];
  for (int i = 0; i < 4; ++i) {
    corners[i][sight.depthAxis] = sight.nearSign * .5;
    corners[i][u] = round[i][0];
    corners[i][w] = round[i][1];
  }
  for (int i = 0; i < 4; ++i) {
    put(corners[i]), put(corners[(i + 1) % 4]);
    put(corners[(i + 1) % 4]), put(corners[i]);
  }
  return 16;
}

void appendColour(std::vector<float>& out, int count, float r, float g, float b) {
  for (int i = 0; i < count; ++i) {
    out.push_back(r);
    out.push_back(g);
    out.push_back(b);
  }
}
