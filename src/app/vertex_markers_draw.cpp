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

void cubeTriangles(const Vertex& p, float size, float* out) {
  static const int kOrder[6] = {0, 1, 2, 0, 2, 3};
  for (const auto& face : kCubeFaces) {
    for (int corner : kOrder) {
      const float* c = kCubeCorners[face[corner]];
      *out++ = static_cast<float>(p.x) + size * c[0];
      *out++ = static_cast<float>(p.y) + size * c[1];
      *out++ = static_cast<float>(p.z) + size * c[2];
    }
  }
}

}  // namespace

void Editor::drawVertexMarkers(const Viewport& view, double size) {
  if (!batchMarkers) {
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
  GLint polygonMode[2] = {GL_FILL, GL_FILL};
  glGetIntegerv(GL_POLYGON_MODE, polygonMode);
  const bool faceOn = view.kind <= kTopView && polygonMode[0] == GL_FILL;
  const int floatsPerMarker = faceOn ? 12 : 108;
  markerBuffer_.resize(static_cast<size_t>(count) * floatsPerMarker);
  float* out = markerBuffer_.data();
  const double h = static_cast<float>(size) * 0.5f;
  for (Vertex* p : model->vertices) {
    if (faceOn) {
      nearFace(view.kind, p->x, p->y, p->z, h, out);
    } else {
      cubeTriangles(*p, static_cast<float>(size), out);
    }
    out += floatsPerMarker;
  }
  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(3, GL_FLOAT, 0, markerBuffer_.data());
  glDrawArrays(faceOn ? GL_QUADS : GL_TRIANGLES, 0, count * (faceOn ? 4 : 36));
  glDisableClientState(GL_VERTEX_ARRAY);
}
