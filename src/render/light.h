#pragma once
// The one OpenGL light (light_gl.cpp does the GL calls).

class Light {
 public:
  explicit Light(int index) : index(index) {}
  void setPosition(float x, float y, float z, float w) {
    position[0] = x;
    position[1] = y;
    position[2] = z;
    position[3] = w;
  }
  void apply() const;
  void enable();

  float position[4] = {1, 1, 1, 1};
  float diffuse[4] = {1, 1, 1, 1};
  int index;
  bool enabled = false;
};
