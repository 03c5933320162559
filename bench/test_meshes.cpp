#include "test_meshes.h"

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "formats/model_file.h"
#include "model/animation.h"
#include "model/model_image.h"
#include "model/skeleton.h"

namespace bench {
namespace {

constexpr double kPi = 3.14159265358979323846;

// Segments around the axis: the largest divisor of triangles / 2 not above
// the square root of the triangle count, so rings come out whole.
int segmentsFor(int triangles) {
  const int half = std::max(triangles / 2, 3);
  int best = 3;
  for (int s = 3; s * s <= triangles; ++s) {
    if (half % s == 0) best = s;
  }
  return best;
}

}  // namespace

void buildBall(Model& model, int triangles, bool extras) {
  const int segments = segmentsFor(triangles);
  const int rings = std::max(2, triangles / (2 * segments) + 1);  // pole to pole
  Bone* arm = nullptr;
  if (extras) {
    Bone* root = model.createRoot(0, 0, 0);
    arm = model.addBone(root, -3, 0.5, 0);
    model.currentGroup->material.textured = 1;
    model.currentGroup->material.textureName = "ball.bmp";
  }

  auto point = [&](int ring, int segment) {
    const double theta = kPi * ring / rings, phi = 2 * kPi * segment / segments;
    const double radius = 2.5 * (1 + 0.05 * std::sin(5 * phi) * std::sin(3 * theta));
    Vertex* v = model.newVertex(radius * std::sin(theta) * std::cos(phi), radius * std::cos(theta),
                                radius * std::sin(theta) * std::sin(phi));
    model.vertices.pushFront(v);
    return v;
  };
  std::vector<Vertex*> grid;  // rings 1 .. rings - 1, segment by segment
  grid.reserve(static_cast<size_t>(rings - 1) * segments);
  Vertex* north = point(0, 0);
  for (int r = 1; r < rings; ++r) {
    for (int s = 0; s < segments; ++s) grid.push_back(point(r, s));
  }
  Vertex* south = point(rings, 0);

  auto at = [&](int r, int s) {
    if (r == 0) return north;
    if (r == rings) return south;
    return grid[static_cast<size_t>(r - 1) * segments + s % segments];
  };
  auto uv = [&](int r, int s) {
    return std::pair<double, double>{r == 0 || r == rings ? 0.5 : double(s) / segments,
                                     1 - double(r) / rings};
  };
  auto triangle = [&](int r0, int s0, int r1, int s1, int r2, int s2) {
    Polygon* p;
    if (extras) {
      auto [u0, v0] = uv(r0, s0);
      auto [u1, v1] = uv(r1, s1);
      auto [u2, v2] = uv(r2, s2);
      p = model.newPolygon(at(r0, s0), at(r1, s1), at(r2, s2), u0, u1, u2, v0, v1, v2);
      p->uvMapped = 1;
      for (UvPoint& point : p->uvs) point.mapped = 1;
      if (p->vertices[0]->x < 0) p->bone = arm;
    } else {
      p = model.newPolygon(at(r0, s0), at(r1, s1), at(r2, s2));
    }
    model.currentGroup->polygons.pushFront(p);
  };
  // Quad (a, b, c, d) = (r, s), (r, s + 1), (r + 1, s + 1), (r + 1, s) as
  // (a, b, c) and (a, c, d), both facing out; at the poles one of them is empty.
  for (int r = 0; r < rings; ++r) {
    for (int s = 0; s < segments; ++s) {
      if (r > 0) triangle(r, s, r, s + 1, r + 1, s + 1);
      if (r + 1 < rings) triangle(r, s, r + 1, s + 1, r + 1, s);
    }
  }
}

std::unique_ptr<Editor> ballEditor(int triangles, bool extras) {
  auto editor = std::make_unique<Editor>();
  editor->doc.replaceModel(std::make_unique<Model>("ball.mdl", editor->doc.model->textures));
  buildBall(*editor->doc.model, triangles, extras);
  editor->viewSet.activeView = kSideView;
  return editor;
}

bool writeObj(Model& model, const std::string& path) {
  const ModelImage image = captureImage(model);
  std::vector<std::pair<double, double>> uvOf(image.vertices.size());
  for (const auto& group : image.groups) {
    for (const auto& p : group.polygons) {
      for (int i = 0; i < 3; ++i) uvOf[p.corners[i]] = {p.u[i], p.v[i]};
    }
  }
  std::FILE* out = std::fopen(path.c_str(), "w");
  if (!out) return false;
  for (const Vec3& v : image.vertices) std::fprintf(out, "v %f %f %f\n", v.x, v.y, v.z);
  for (const auto& [u, v] : uvOf) std::fprintf(out, "vt %f %f\n", u, v);
  for (const auto& group : image.groups) {
    for (const auto& p : group.polygons) {
      const int a = p.corners[0] + 1, b = p.corners[1] + 1, c = p.corners[2] + 1;
      std::fprintf(out, "f %d/%d %d/%d %d/%d\n", a, a, b, b, c, c);
    }
  }
  return std::fclose(out) == 0;
}

double fileMb(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 ? info.st_size / 1e6 : 0;
}

// A chain of `count` bones through the ball from bottom to top, each triangle given to the bone
// of its height, and `clips` clips keying every bone `keys` times.
void rigBall(Model& model, int count, int clips, int keys) {
  double low = 1e300, high = -1e300;
  for (Vertex* v : model.vertices) low = std::min(low, v->y), high = std::max(high, v->y);
  std::vector<Bone*> bones{model.createRoot(0, low, 0)};
  for (int i = 1; i < count; ++i)
    bones.push_back(
        model.addBone(bones.back(), 0.05 * std::sin(i), low + (high - low) * i / (count - 1), 0));
  for (PolygonGroup* group : model.groups)
    for (Polygon* p : group->polygons) {
      const int at = static_cast<int>((p->vertices[0]->y - low) / (high - low) * (count - 1) + 0.5);
      p->bone = bones[std::clamp(at, 0, count - 1)];
    }
  for (int c = 0; c < clips; ++c) {
    Clip& clip = model.animation->add("clip" + std::to_string(c + 1));
    clip.length = keys * 2;
    for (int b = 0; b < count; ++b)
      for (int k = 0; k < keys; ++k)
        clip.tracks[bones[b]].push_back(
            PoseKey{2 * k,
                    {glm::angleAxis(0.01 * std::sin(b + k + c), glm::dvec3(0, 0, 1)),
                     glm::dvec3(b == 0 ? 0.001 * k : 0, 0, 0)}});
  }
}

}  // namespace bench
