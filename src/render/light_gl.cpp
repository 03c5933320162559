#include <GL/gl.h>

#include "render/drawing_state.h"
#include "render/frame_draw.h"
#include "render/light.h"

void Light::apply() const {
  glLightfv(GL_LIGHT0 + index, GL_POSITION, position);
  glLightfv(GL_LIGHT0 + index, GL_DIFFUSE, diffuse);
}

void Light::enable() {
  enabled = true;
  glEnable(GL_LIGHT0 + index);
}

void setUpLight(DrawingState& drawing) {
  glEnable(GL_COLOR_MATERIAL);
  glColorMaterial(GL_FRONT_AND_BACK, GL_DIFFUSE);
  glEnable(GL_LIGHTING);
  drawing.light = std::make_unique<Light>(0);
  drawing.light->setPosition(10, 10, 10, 1);
  drawing.light->apply();
  drawing.light->enable();
}
