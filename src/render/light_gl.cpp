#include <GL/gl.h>

#include "app/editor.h"
#include "render/frame_draw.h"
#include "render/light.h"

void Light::apply() const {
  glLightfv(GL_LIGHT0 + index, GL_POSITION, position);
  glLightfv(GL_LIGHT0 + index, GL_DIFFUSE, diffuse);
}

void Light::enable() {
  enabled = 1;
  glEnable(GL_LIGHT0 + index);
}

void setUpLight(Editor& e) {
  glEnable(GL_COLOR_MATERIAL);
  glColorMaterial(GL_FRONT_AND_BACK, GL_DIFFUSE);
  glEnable(GL_LIGHTING);
  e.drawing.light = std::make_unique<Light>(0);
  e.drawing.light->setPosition(10, 10, 10, 1);
  e.drawing.light->apply();
  e.drawing.light->enable();
}
