// The reference image behind a flat view: one textured, unlit rectangle in
// the view's own coordinates, drawn first and without depth so that the grid
// and the model lie over it.

#include <GL/gl.h>

#include "render/frame_draw.h"
#include "render/frame_input.h"
#include "view/reference_image.h"

void drawReferenceImage(const FrameInput& e, const Viewport& view) {
  const ReferenceImage& image = view.reference;
  if (view.kind > kTopView || !image.shown || !e.viewSet.showReferenceImages) return;
  const unsigned texture = e.textures.uploadedName(image.texture);
  if (texture == 0) return;
  const ReferenceRect r = referenceRect(image);
  glPushMatrix();
  glLoadIdentity();  // the view's own coordinates, whichever way it turns the model
  glPushAttrib(GL_ENABLE_BIT | GL_DEPTH_BUFFER_BIT | GL_POLYGON_BIT);
  glDisable(GL_LIGHTING);
  glDisable(GL_DEPTH_TEST);
  glDepthMask(GL_FALSE);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, texture);
  glColor3f(1, 1, 1);
  glBegin(GL_QUADS);
  glTexCoord2f(0, 0), glVertex2d(r.left, r.bottom);
  glTexCoord2f(1, 0), glVertex2d(r.right, r.bottom);
  glTexCoord2f(1, 1), glVertex2d(r.right, r.top);
  glTexCoord2f(0, 1), glVertex2d(r.left, r.top);
  glEnd();
  glPopAttrib();
  glPopMatrix();
}
