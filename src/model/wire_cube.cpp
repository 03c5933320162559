#include "model/wire_cube.h"

namespace {
// The cube as glutWireCube draws it: six faces, each a loop of four corners.
// Every edge belongs to two faces that run along it in opposite directions, so
// both its end pixels show; drawing each edge once would lose a corner pixel.
const double kCorners[8][3] = {{.5, .5, .5},   {-.5, .5, .5}, {-.5, -.5, .5}, {.5, -.5, .5},
                               {.5, -.5, -.5}, {.5, .5, -.5}, {-.5, .5, -.5}, {-.5, -.5, -.5}};
const int kFaces[6][4] = {{0, 1, 2, 3}, {0, 3, 4, 5}, {0, 5, 6, 1},
                          {1, 6, 7, 2}, {7, 4, 3, 2}, {4, 7, 6, 5}};
}  // namespace

void appendWireCube(std::vector<float>& out, double x, double y, double z, double size) {
  for (const auto& face : kFaces) {
    for (int i = 0; i < 4; ++i) {
      for (int corner : {face[i], face[(i + 1) % 4]}) {
        out.push_back(static_cast<float>(x + size * kCorners[corner][0]));
        out.push_back(static_cast<float>(y + size * kCorners[corner][1]));
        out.push_back(static_cast<float>(z + size * kCorners[corner][2]));
      }
    }
  }
}

void appendColour(std::vector<float>& out, int count, float r, float g, float b) {
  for (int i = 0; i < count; ++i) {
    out.push_back(r);
    out.push_back(g);
    out.push_back(b);
  }
}
