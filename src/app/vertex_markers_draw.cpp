// The white cube drawn at every model vertex. With filled polygons a face
// turned away from the viewer never shows (a face turned towards it covers
// the same pixels nearer), and in a flat view the side faces are edge-on:
// drawing only the faces that can show, from one small vertex array, gives
// the same pixels for a fraction of the rasterising. Corners are placed by
// the same per-vertex translation as the plain cubes, so they round alike.

#include <GL/gl.h>
#include <GL/glut.h>

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
  // In line mode every edge of every triangle shows, hidden or not.
  bool keep[6] = {true, true, true, true, true, true};
  if (polygonMode[0] == GL_FILL) facesToDraw(matrix, keep);
  // One marker's triangles in the cube's own coordinates, each marker placed
  // by the same translation the plain drawing uses: every corner then goes
  // through exactly the transform glutSolidCube's corners go through, and
  // only the faces that can show are drawn.
  static const Vertex kOrigin;
  markerBuffer_.resize(108);
  const int floats = cubeTriangles(kOrigin, static_cast<float>(size), keep, markerBuffer_.data());
  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(3, GL_FLOAT, 0, markerBuffer_.data());
  for (Vertex* p : model->vertices) {
    glPushMatrix();
    glTranslated(p->x, p->y, p->z);
    glDrawArrays(GL_TRIANGLES, 0, floats / 3);
    glPopMatrix();
  }
  glDisableClientState(GL_VERTEX_ARRAY);
}
