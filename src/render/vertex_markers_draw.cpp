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
#include <cmath>
#include <vector>

#include "render/frame_draw.h"
#include "render/frame_input.h"

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

// In a flat view with filled polygons a marker shows as one square of the
// front face: a point of that many pixels across at the face's centre covers
// the same pixels, at the face's depth, as one primitive instead of two. Only
// when the square's sides are within a pixel of a whole number of pixels;
// false, drawing nothing, otherwise.
bool drawMarkersAsPoints(const FrameInput& e, double size, const int face[4]) {
  GLdouble modelview[16], projection[16];
  GLint viewport[4];
  glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
  glGetDoublev(GL_PROJECTION_MATRIX, projection);
  glGetIntegerv(GL_VIEWPORT, viewport);
  // Window pixels across per model unit along an axis, through both matrices.
  auto across = [&](const float* from, const float* to, int row) {
    double d = 0;
    for (int axis = 0; axis < 3; ++axis) {
      double eye[2] = {0, 0};
      for (int r = 0; r < 2; ++r) eye[r] = modelview[axis * 4 + r] * (to[axis] - from[axis]);
      d += (projection[0] * eye[0] + projection[4] * eye[1]) * (row == 0) +
           (projection[1] * eye[0] + projection[5] * eye[1]) * (row == 1);
    }
    return std::abs(d) * size * viewport[2 + row] / 2;
  };
  const float* a = kCubeCorners[face[0]];
  const float* b = kCubeCorners[face[1]];
  const float* c = kCubeCorners[face[2]];
  const double w = std::max(across(a, b, 0), across(b, c, 0));
  const double h = std::max(across(a, b, 1), across(b, c, 1));
  const double side = std::round(w);
  if (side < 1 || std::abs(w - side) > 1e-3 || std::abs(h - side) > 1e-3) return false;
  float centre[3] = {0, 0, 0};
  for (int i = 0; i < 4; ++i)
    for (int axis = 0; axis < 3; ++axis) centre[axis] += kCubeCorners[face[i]][axis] / 4;
  // A point whose centre leaves the view is dropped whole, where the square
  // would show in part: markers that reach the view's edge stay squares.
  auto window = [&](const Vertex& p, int row) {
    const double at[3] = {p.x, p.y, p.z};
    double eye[2] = {modelview[12], modelview[13]};
    for (int axis = 0; axis < 3; ++axis)
      for (int r = 0; r < 2; ++r) eye[r] += modelview[axis * 4 + r] * at[axis];
    const double ndc =
        projection[row] * eye[0] + projection[4 + row] * eye[1] + projection[12 + row];
    return (ndc + 1) * viewport[2 + row] / 2;
  };
  const double margin = side / 2 + 1;
  std::vector<float> squares;
  e.drawing.markerBuffer.clear();
  e.drawing.markerBuffer.reserve(static_cast<size_t>(e.doc.model->vertices.count()) * 3);
  for (Vertex* p : e.doc.model->vertices) {
    const double x = window(*p, 0), y = window(*p, 1);
    if (x < margin || y < margin || x > viewport[2] - margin || y > viewport[3] - margin) {
      for (int i = 0; i < 4; ++i) putCorner(squares, *p, size, face[i]);
      continue;
    }
    e.drawing.markerBuffer.push_back(static_cast<float>(p->x + size * centre[0]));
    e.drawing.markerBuffer.push_back(static_cast<float>(p->y + size * centre[1]));
    e.drawing.markerBuffer.push_back(static_cast<float>(p->z + size * centre[2]));
  }
  GLfloat pointSize = 1;
  glGetFloatv(GL_POINT_SIZE, &pointSize);
  glPointSize(static_cast<float>(side));
  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(3, GL_FLOAT, 0, e.drawing.markerBuffer.data());
  glDrawArrays(GL_POINTS, 0, static_cast<GLsizei>(e.drawing.markerBuffer.size() / 3));
  glPointSize(pointSize);
  if (!squares.empty()) {
    glVertexPointer(3, GL_FLOAT, 0, squares.data());
    glDrawArrays(GL_QUADS, 0, static_cast<GLsizei>(squares.size() / 3));
  }
  glDisableClientState(GL_VERTEX_ARRAY);
  return true;
}

void drawVertexMarkers(const FrameInput& e, double size) {
  if (!e.drawing.batchDrawing) {
    for (Vertex* p : e.doc.model->vertices) {
      glPushMatrix();
      glTranslated(p->x, p->y, p->z);
      glutSolidCube(size);
      glPopMatrix();
    }
    return;
  }
  if (e.doc.model->vertices.empty()) return;
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
  if (fill && flat) {
    const int f = static_cast<int>(std::find(keep, keep + 6, true) - keep);
    if (drawMarkersAsPoints(e, size, kCubeFaces[f])) return;
  }
  // Corners are computed here, not by a translation per marker: they may
  // round to a neighbouring pixel at a marker's edge, nowhere else.
  glEnableClientState(GL_VERTEX_ARRAY);
  int pending = 0;
  auto flush = [&] {
    glVertexPointer(3, GL_FLOAT, 0, e.drawing.markerBuffer.data());
    glDrawArrays(primitive, 0, static_cast<GLsizei>(e.drawing.markerBuffer.size() / 3));
    e.drawing.markerBuffer.clear();
    pending = 0;
  };
  e.drawing.markerBuffer.clear();
  e.drawing.markerBuffer.reserve(static_cast<size_t>(kMarkersPerDraw) * corners.size() * 3);
  for (Vertex* p : e.doc.model->vertices) {
    for (int corner : corners) putCorner(e.drawing.markerBuffer, *p, size, corner);
    if (++pending == kMarkersPerDraw) flush();
  }
  if (pending) flush();
  glDisableClientState(GL_VERTEX_ARRAY);
}
