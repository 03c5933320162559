// The white cube drawn at every model vertex. In a flat view a cube is seen
// face-on: its four side faces are edge-on and cover no pixel, and the face
// nearest the viewer covers exactly the square its far face covers, at the
// depth that wins. Drawing only that face, all markers in one vertex array,
// gives the same pixels for a fraction of the work.

#include <GL/gl.h>
#include <GL/glut.h>

#include "app/editor.h"

namespace {

// The corners of the near face of a cube of half-size h at (x, y, z).
void nearFace(int kind, double x, double y, double z, double h, float* out) {
  double corners[4][3];
  const double s[4][2] = {{-h, -h}, {h, -h}, {h, h}, {-h, h}};
  for (int i = 0; i < 4; ++i) {
    switch (kind) {
      case kSideView:  // looking along -Z: the face at z + h
        corners[i][0] = x + s[i][0], corners[i][1] = y + s[i][1], corners[i][2] = z + h;
        break;
      case kFrontView:  // looking along +X: the face at x - h
        corners[i][0] = x - h, corners[i][1] = y + s[i][1], corners[i][2] = z + s[i][0];
        break;
      default:  // Top, looking along -Y: the face at y + h
        corners[i][0] = x + s[i][1], corners[i][1] = y + h, corners[i][2] = z + s[i][0];
        break;
    }
  }
  for (int i = 0; i < 4; ++i) {
    for (int k = 0; k < 3; ++k) out[i * 3 + k] = static_cast<float>(corners[i][k]);
  }
}

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

// The triangles of the faces kept, as glutSolidCube draws them; the count of
// floats written.
int cubeTriangles(const Vertex& p, float size, const bool keep[6], float* out) {
  static const int kOrder[6] = {0, 1, 2, 0, 2, 3};
  const float* start = out;
  for (int f = 0; f < 6; ++f) {
    if (!keep[f]) continue;
    const int* face = kCubeFaces[f];
    for (int corner : kOrder) {
      const float* c = kCubeCorners[face[corner]];
      *out++ = static_cast<float>(p.x) + size * c[0];
      *out++ = static_cast<float>(p.y) + size * c[1];
      *out++ = static_cast<float>(p.z) + size * c[2];
    }
  }
  return static_cast<int>(out - start);
}

// True when the matrix turns axes into axes exactly: each row of its rotation
// part holds one non-zero entry, of magnitude one. Then translating a corner
// before the transform rounds as translating the matrix does.
bool turnsAxesIntoAxes(const float m[16]) {
  for (int row = 0; row < 3; ++row) {
    int nonZero = 0;
    for (int column = 0; column < 3; ++column) {
      const float entry = m[column * 4 + row];
      if (entry == 0) continue;
      if (entry != 1 && entry != -1) return false;
      ++nonZero;
    }
    if (nonZero != 1) return false;
  }
  return true;
}

}  // namespace

void Editor::drawVertexMarkers(const Viewport& view, double size) {
  GLint polygonMode[2] = {GL_FILL, GL_FILL};
  glGetIntegerv(GL_POLYGON_MODE, polygonMode);
  const bool filled = polygonMode[0] == GL_FILL;
  float matrix[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, matrix);
  // Corners placed before the transform round differently from cubes placed
  // by the matrix, as glutSolidCube's are, unless the matrix only turns axes
  // into axes: in a freely turned view a pixel now and then would differ.
  const bool plain = !batchDrawing || (view.kind > kTopView && !turnsAxesIntoAxes(matrix));
  if (plain) {
    for (Vertex* p : model->vertices) {
      glPushMatrix();
      glTranslated(p->x, p->y, p->z);
      glutSolidCube(size);
      glPopMatrix();
    }
    return;
  }
  const int count = model->vertices.count();
  if (count == 0) return;
  const bool faceOn = view.kind <= kTopView && filled;
  // In line mode every edge of every triangle shows, hidden or not.
  bool keep[6] = {true, true, true, true, true, true};
  if (filled && !faceOn) facesToDraw(matrix, keep);
  markerBuffer_.resize(static_cast<size_t>(count) * (faceOn ? 12 : 108));
  float* out = markerBuffer_.data();
  const double h = static_cast<float>(size) * 0.5f;
  for (Vertex* p : model->vertices) {
    if (faceOn) {
      nearFace(view.kind, p->x, p->y, p->z, h, out);
      out += 12;
    } else {
      out += cubeTriangles(*p, static_cast<float>(size), keep, out);
    }
  }
  const GLsizei corners = static_cast<GLsizei>((out - markerBuffer_.data()) / 3);
  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(3, GL_FLOAT, 0, markerBuffer_.data());
  glDrawArrays(faceOn ? GL_QUADS : GL_TRIANGLES, 0, corners);
  glDisableClientState(GL_VERTEX_ARRAY);
}
