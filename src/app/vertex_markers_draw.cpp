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

}  // namespace

void Editor::drawVertexMarkers(const Viewport& view, double size) {
  if (!batchMarkers || view.kind > kTopView) {
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
  markerBuffer_.resize(static_cast<size_t>(count) * 12);
  float* out = markerBuffer_.data();
  // The cube's corners are computed in single precision, as glTranslated then
  // glutSolidCube's float vertices would place them.
  const double h = static_cast<float>(size) * 0.5f;
  for (Vertex* p : model->vertices) {
    nearFace(view.kind, p->x, p->y, p->z, h, out);
    out += 12;
  }
  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(3, GL_FLOAT, 0, markerBuffer_.data());
  glDrawArrays(GL_QUADS, 0, count * 4);
  glDisableClientState(GL_VERTEX_ARRAY);
}
