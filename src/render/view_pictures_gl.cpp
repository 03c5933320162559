#include <GL/gl.h>

#include <cstring>

#include "render/view_pictures.h"

namespace {

bool npotTextures() {
  static const bool supported = [] {
    const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    return extensions && std::strstr(extensions, "GL_ARB_texture_non_power_of_two");
  }();
  return supported;
}

int textureSide(int pixels) {
  if (npotTextures()) return pixels;
  int side = 1;
  while (side < pixels) side *= 2;
  return side;
}

}  // namespace

void keepViewPicture(KeptPicture& picture, const Viewport& view) {
  const int w = view.rectRight - view.rectLeft, h = view.rectTop - view.rectBottom;
  if (w <= 0 || h <= 0) return;
  if (!picture.texture) glGenTextures(1, &picture.texture);
  glBindTexture(GL_TEXTURE_2D, picture.texture);
  if (picture.textureWidth < w || picture.textureHeight < h) {
    picture.textureWidth = textureSide(w);
    picture.textureHeight = textureSide(h);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, picture.textureWidth, picture.textureHeight, 0,
                 GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  }
  glReadBuffer(GL_BACK);
  glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, view.rectLeft, view.rectBottom, w, h);
}

namespace {
// A quad of the picture's pixels over the window rectangle (x, y, w, h) in
// the current projection, at depth z, nothing blended or modulated.
void drawPictureQuad(const KeptPicture& picture, int x, int y, int w, int h) {
  glDisable(GL_BLEND);
  glDisable(GL_LIGHTING);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  GLint envMode = GL_MODULATE;
  glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &envMode);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, picture.texture);
  const float s = static_cast<float>(w) / picture.textureWidth;
  const float t = static_cast<float>(h) / picture.textureHeight;
  glBegin(GL_QUADS);
  glTexCoord2f(0, 0), glVertex2i(x, y);
  glTexCoord2f(s, 0), glVertex2i(x + w, y);
  glTexCoord2f(s, t), glVertex2i(x + w, y + h);
  glTexCoord2f(0, t), glVertex2i(x, y + h);
  glEnd();
  glDisable(GL_TEXTURE_2D);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, envMode);
  glEnable(GL_BLEND);
}
}  // namespace

void showViewPicture(const KeptPicture& picture, const Viewport& view) {
  const int w = view.rectRight - view.rectLeft, h = view.rectTop - view.rectBottom;
  if (w <= 0 || h <= 0) return;
  glViewport(view.rectLeft, view.rectBottom, w, h);
  glScissor(view.rectLeft, view.rectBottom, w, h);
  glClear(GL_DEPTH_BUFFER_BIT);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, w, 0, h, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  // Texels land on pixels one to one: nearest filtering at pixel centres,
  // nothing blended, lit, depth-tested or modulated on the way.
  glDisable(GL_DEPTH_TEST);
  drawPictureQuad(picture, 0, 0, w, h);
  glEnable(GL_DEPTH_TEST);
}

void showViewPictureInOverlay(const KeptPicture& picture, const Viewport& view) {
  const int w = view.rectRight - view.rectLeft, h = view.rectTop - view.rectBottom;
  if (w <= 0 || h <= 0 || !picture.texture) return;
  drawPictureQuad(picture, view.rectLeft, view.rectBottom, w, h);
}
