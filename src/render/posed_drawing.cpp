#include "render/posed_drawing.h"

#include <cmath>

#include "model/animation.h"
#include "model/model.h"
#include "model/posed_model.h"

namespace {

glm::dvec3 unitOr(const glm::dvec3& n, const glm::dvec3& fallback) {
  const double length = glm::length(n);
  return length > 0 && std::isfinite(length) ? n / length : fallback;
}

}  // namespace

const std::vector<float>& PosedDrawing::groupArrays(PosedModel& posed, PolygonGroup& group,
                                                    size_t number, size_t firstCorner,
                                                    bool cornerNormals) {
  auto& byGroup = arrays_[cornerNormals ? 1 : 0];
  if (byGroup.size() <= number) byGroup.resize(number + 1);
  Arrays& arrays = byGroup[number];
  if (arrays.filledFor == posed.serial()) return arrays.floats;
  arrays.filledFor = 0;  // until filled: the memory for them may run out
  const std::vector<glm::dmat3>* turns = cornerNormals ? &posed.turns() : nullptr;
  const std::vector<uint32_t>& corners = posed.binding().corners;
  const std::vector<glm::dvec3>& points = posed.points();
  const Material& m = group.material;
  const float plain[4] = {static_cast<float>(m.red), static_cast<float>(m.green),
                          static_cast<float>(m.blue), static_cast<float>(m.alpha)};
  const float picked[4] = {1.0f, 0.9f, 0.3f, 1.0f};
  arrays.floats.resize(static_cast<size_t>(group.polygons.count()) * 36);
  float* out = arrays.floats.data();
  size_t corner = firstCorner;
  for (Polygon* p : group.polygons) {
    const uint32_t v[3] = {corners[corner], corners[corner + 1], corners[corner + 2]};
    corner += 3;
    const glm::dvec3 a = points[v[0]], b = points[v[1]], c = points[v[2]];
    glm::dvec3 face = glm::cross(b - a, c - b);
    face = unitOr(p->flipped ? -face : face, glm::dvec3(0));
    const float* colour = p->selected ? picked : plain;
    for (int i = 0; i < 3; ++i, out += 12) {
      const glm::dvec3& at = points[v[i]];
      glm::dvec3 n = face;
      if (cornerNormals) {
        const Vec3& rest = p->cornerNormals[i];
        n = unitOr((*turns)[v[i]] * glm::dvec3(rest.x, rest.y, rest.z), face);
      }
      out[0] = static_cast<float>(at.x), out[1] = static_cast<float>(at.y);
      out[2] = static_cast<float>(at.z);
      for (int k = 0; k < 4; ++k) out[3 + k] = colour[k];
      out[7] = static_cast<float>(n.x), out[8] = static_cast<float>(n.y);
      out[9] = static_cast<float>(n.z);
      out[10] = static_cast<float>(p->uvs[i].u), out[11] = static_cast<float>(p->uvs[i].v);
    }
  }
  arrays.filledFor = posed.serial();
  return arrays.floats;
}
