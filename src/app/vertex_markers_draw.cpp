// The white cube drawn at every model vertex. With filled polygons a face
// turned away from the viewer never shows (a face turned towards it covers
// the same pixels nearer), and in a flat view the side faces are edge-on:
// drawing only the faces that can show, with every corner computed on the CPU
// into one array drawn in a few calls, gives the plain cubes' picture for a
// fraction of the work - except that a corner may round to the neighbouring
// pixel at a marker's edge.

#include <GL/gl.h>
#include <GL/glut.h>

#include <algorithm>
#include <array>
#include <vector>

#include "app/editor.h"

namespace {

// One marker cube as glutSolidCube makes it: eight corners, six faces of
// four, each face drawn as the triangles (0, 1, 2) and (0, 2, 3). In line
// polygon mode every triangle edge shows, so only the same triangles give the
// same picture.
const float kCubeCorners[8][3] = {{.5f, .5f, .5f},   {-.5f, .5f, .5f},  {-.5f, -.5f, .5f},
                                  {.5f, -.5f, .5f},  {.5f, -.5f, -.5f}, {.5f, .5f, -.5f},
                                  {-.5f, .5f, -.5f}, {-.5f, -.5f, -.5f}};
const int kCubeFaces[6][4] = {{0, 1, 2, 3}, {0, 3, 4, 5}, {0, 5, 6, 1},
                              {1, 6, 7, 2}, {7, 4, 3, 2}, {4, 7, 6, 5}};

// Outward normal of each face: axis (0 x, 1 y, 2 z) and sign.
const int kFaceAxis[6] = {2, 0, 1, 0, 1, 2};
const int kFaceSign[6] = {1, 1, 1, -1, -1, -1};

// Which faces of a cube to draw under the model-view matrix `m` (column-major,
// as OpenGL reports it) with filled polygons. A face turned clearly away from
// the viewer lies, at every pixel, behind a face turned towards it, so it never
// shows; a face seen exactly edge-on covers no pixel. Faces between the two
// are kept, so that rounding can never lose a pixel.
void facesToDraw(const float m[16], bool keep[6]) {
  auto at = [m](int row, int column) { return static_cast<double>(m[column * 4 + row]); };
  for (int f = 0; f < 6; ++f) {
    // The two axes spanning the face, in the order that makes the 2 x 2
    // minor of the window rows the face's signed area factor.
    const int u = (kFaceAxis[f] + 1) % 3, w = (kFaceAxis[f] + 2) % 3;
    const double area = kFaceSign[f] * (at(0, u) * at(1, w) - at(0, w) * at(1, u));
    // Exact zeros in the matrix leave all four corners on one window line.
    const bool collapsed = (at(0, u) == 0 && at(0, w) == 0) || (at(1, u) == 0 && at(1, w) == 0) ||
                           (at(0, u) == 0 && at(1, u) == 0) || (at(0, w) == 0 && at(1, w) == 0);
    keep[f] = area > 1e-2 || (area > -1e-2 && !collapsed);
  }
}

const int kOpposite[6] = {5, 3, 4, 1, 2, 0};

// The lines a marker shows in line polygon mode in a flat view, where one
// face covers the cube, as pairs of corners: that face's edges and the two
// diagonals lying on it (its own and the opposite face's); the other
// triangle edges fall on these or on single points.
std::vector<std::array<int, 2>> markerLines(const bool front[6]) {
  const int f = static_cast<int>(std::find(front, front + 6, true) - front);
  const int* c = kCubeFaces[f];
  const int* back = kCubeFaces[kOpposite[f]];
  return {{c[0], c[1]}, {c[1], c[2]}, {c[2], c[3]}, {c[3], c[0]}, {c[0], c[2]}, {back[0], back[2]}};
}

void putCorner(std::vector<float>& out, const Vertex& p, double size, int corner) {
  const float* c = kCubeCorners[corner];
  out.push_back(static_cast<float>(p.x + size * c[0]));
  out.push_back(static_cast<float>(p.y + size * c[1]));
  out.push_back(static_cast<float>(p.z + size * c[2]));
}

// Markers go to OpenGL this many at a time, so the buffer stays small.
constexpr int kMarkersPerDraw = 16384;

}  // namespace

void Editor::drawVertexMarkers(double size) {
  if (!batchDrawing) {
    for (Vertex* p : model->vertices) {
      glPushMatrix();
      glTranslated(p->x, p->y, p->z);
      glutSolidCube(size);
      glPopMatrix();
    }
    return;
  }
  if (model->vertices.empty()) return;
  GLint polygonMode[2] = {GL_FILL, GL_FILL};
  glGetIntegerv(GL_POLYGON_MODE, polygonMode);
  float matrix[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, matrix);
  // Filled: the faces that can show, as quads. Lines: every triangle edge
  // shows, hidden or not; in a flat view all of them fall on the front
  // face's edges and diagonals, drawn once each as lines.
  bool keep[6];
  facesToDraw(matrix, keep);
  const bool fill = polygonMode[0] == GL_FILL;
  const bool flat = std::count(keep, keep + 6, true) == 1;
  GLenum primitive = GL_QUADS;
  std::vector<int> corners;
  if (fill) {
    for (int f = 0; f < 6; ++f)
      if (keep[f]) corners.insert(corners.end(), kCubeFaces[f], kCubeFaces[f] + 4);
  } else if (flat) {
    primitive = GL_LINES;
    for (const auto& line : markerLines(keep))
      corners.insert(corners.end(), line.begin(), line.end());
  } else {
    primitive = GL_TRIANGLES;
    for (const int* face : kCubeFaces)
      for (int i : {0, 1, 2, 0, 2, 3}) corners.push_back(face[i]);
  }
  if (corners.empty()) return;
  // Corners are computed here, not by a translation per marker: they may
  // round to a neighbouring pixel at a marker's edge, nowhere else.
  glEnableClientState(GL_VERTEX_ARRAY);
  int pending = 0;
  auto flush = [&] {
    glVertexPointer(3, GL_FLOAT, 0, markerBuffer_.data());
    glDrawArrays(primitive, 0, static_cast<GLsizei>(markerBuffer_.size() / 3));
    markerBuffer_.clear();
    pending = 0;
  };
  markerBuffer_.clear();
  markerBuffer_.reserve(static_cast<size_t>(kMarkersPerDraw) * corners.size() * 3);
  for (Vertex* p : model->vertices) {
    for (int corner : corners) putCorner(markerBuffer_, *p, size, corner);
    if (++pending == kMarkersPerDraw) flush();
  }
  if (pending) flush();
  glDisableClientState(GL_VERTEX_ARRAY);
}
