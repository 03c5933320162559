#include "model/pose_bake.h"

#include <cmath>

#include "model/animation.h"
#include "model/model.h"
#include "model/posed_model.h"
#include "model/skeleton.h"

void bakePose(Model& model, const Clip* clip, double frame) {
  PosedModel posed;
  if (!posed.pose(model, clip, frame)) return;  // callers refuse such a skeleton first
  const SkinBinding& binding = posed.binding();
  const std::vector<glm::dvec3>& points = posed.points();
  const std::vector<glm::dmat3>& turns = posed.turns();
  // Smooth corners' normals turned first, while the binding's corners still
  // match; flat corners take the new face normal.
  std::vector<Vec3> turned;
  turned.reserve(binding.corners.size());
  size_t corner = 0;
  for (PolygonGroup* group : model.groups) {
    for (Polygon* p : group->polygons) {
      for (const Vec3& n : p->cornerNormals) {
        const glm::dvec3 t = turns[binding.corners[corner++]] * glm::dvec3(n.x, n.y, n.z);
        const double length = glm::length(t);
        turned.push_back(length > 0 && std::isfinite(length)
                             ? Vec3{t.x / length, t.y / length, t.z / length}
                             : n);
      }
    }
  }
  for (size_t v = 0; v < points.size(); ++v) {
    Vertex& vertex = *binding.vertices[v];
    vertex.x = points[v].x, vertex.y = points[v].y, vertex.z = points[v].z;
  }
  corner = 0;
  for (PolygonGroup* group : model.groups) {
    for (Polygon* p : group->polygons) {
      p->computeNormal();
      for (Vec3& n : p->cornerNormals) {
        if (p->smooth) n = turned[corner];
        ++corner;
      }
    }
  }
  // Joints: each bone's end where its pose puts it (a child's start is its
  // parent's end record, and the root's start its own end).
  const Rig& rig = posed.rig();
  std::vector<glm::dvec3> ends(rig.size());
  for (size_t b = 0; b < rig.size(); ++b) ends[b] = posed.end(static_cast<int>(b));
  for (size_t b = 0; b < rig.size(); ++b) {
    Vertex& end = *rig.bones[b]->end;
    end.x = ends[b].x, end.y = ends[b].y, end.z = ends[b].z;
  }
  model.animation->clips.clear();
  model.animation->weights.clear();
}
