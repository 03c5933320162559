// The posed model's triangles and points, from arrays (posed_drawing.h).

#include <GL/gl.h>

#include <new>

#include "images/texture_cache.h"
#include "model/model.h"
#include "model/posed_model.h"
#include "render/model_drawing.h"
#include "render/posed_drawing.h"

namespace {

constexpr GLsizei kStride = 12 * sizeof(float);

void drawTriangles(const std::vector<float>& floats, bool normals, bool textured) {
  if (floats.empty()) return;
  const float* data = floats.data();
  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(3, GL_FLOAT, kStride, data);
  glEnableClientState(GL_COLOR_ARRAY);
  glColorPointer(4, GL_FLOAT, kStride, data + 3);
  if (normals) {
    glEnableClientState(GL_NORMAL_ARRAY);
    glNormalPointer(GL_FLOAT, kStride, data + 7);
  }
  if (textured) {
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(2, GL_FLOAT, kStride, data + 10);
  }
  glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(floats.size() / 12));
  glDisableClientState(GL_VERTEX_ARRAY);
  glDisableClientState(GL_COLOR_ARRAY);
  glDisableClientState(GL_NORMAL_ARRAY);
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  // The current colour as the rest model's drawing leaves it.
  glColor4fv(data + floats.size() - 12 + 3);
}

}  // namespace

bool PosedDrawing::draw(Model& model, PosedModel& posed, int texturedView, int normals) {
  const bool lit = normals != ModelDrawing::kNoNormals;
  bool whole = true;
  size_t corner = 0, number = 0;
  for (PolygonGroup* group : model.groups) {
    Material& material = group->material;
    if (!material.textureLoaded && material.textured) {
      material.textureId = model.textures ? model.textures->acquire(material.textureName) : -1;
      material.textureLoaded = 1;
    }
    const bool textured = material.textured && texturedView && material.textureId > 0;
    if (textured) {
      glEnable(GL_TEXTURE_2D);
      // The name OpenGL gave the texture, which is not its id (the kept view
      // pictures take names too): binding the id would paint one of those.
      glBindTexture(GL_TEXTURE_2D,
                    model.textures ? model.textures->uploadedName(material.textureId) : 0);
    }
    // A group whose arrays find no memory is left out; the others are drawn.
    try {
      drawTriangles(
          groupArrays(posed, *group, number, corner, normals == ModelDrawing::kCornerNormals), lit,
          textured);
    } catch (const std::bad_alloc&) {
      for (auto& byGroup : arrays_) byGroup.clear();
      whole = false;
    }
    ++number;
    if (textured) glDisable(GL_TEXTURE_2D);
    corner += size_t{3} * group->polygons.count();
  }
  if (texturedView) return whole;
  if (pointsFilledFor_ != posed.serial()) {
    const size_t listed = static_cast<size_t>(model.vertices.count());
    const std::vector<glm::dvec3>& points = posed.points();
    pointArray_.clear();
    try {
      for (size_t v = 0; v < listed && v < points.size(); ++v)
        pointArray_.insert(pointArray_.end(),
                           {static_cast<float>(points[v].x), static_cast<float>(points[v].y),
                            static_cast<float>(points[v].z)});
      pointsFilledFor_ = posed.serial();
    } catch (const std::bad_alloc&) {
      std::vector<float>().swap(pointArray_);
      return false;
    }
  }
  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(3, GL_FLOAT, 0, pointArray_.data());
  glDrawArrays(GL_POINTS, 0, static_cast<GLsizei>(pointArray_.size() / 3));
  glDisableClientState(GL_VERTEX_ARRAY);
  return whole;
}
