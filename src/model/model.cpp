#include "model/model.h"

#include <cmath>
#include <utility>

#include "model/animation.h"
#include "model/skeleton.h"

Model::Model(std::string name, TextureCache* textures)
    : textures(textures), animation(std::make_unique<Animation>()), name(std::move(name)) {
  currentGroup = newGroup();
  groups.pushFront(currentGroup);
}

// Out of line because Skeleton and Animation are incomplete in the header.
Model::~Model() = default;

Vertex* Model::newVertex(double x, double y, double z) {
  Vertex* vertex = vertexPool_.make();
  vertex->x = x;
  vertex->y = y;
  vertex->z = z;
  return vertex;
}

Polygon* Model::newPolygon(Vertex* a, Vertex* b, Vertex* c) {
  return newPolygon(a, b, c, 0, 0, 0, 0, 0, 0);
}

Polygon* Model::newPolygon(Vertex* a, Vertex* b, Vertex* c, double ua, double ub, double uc,
                           double va, double vb, double vc) {
  const double u[3] = {ua, ub, uc};
  const double v[3] = {va, vb, vc};
  Polygon* polygon = makePolygon(a, b, c, u, v);
  polygon->computeNormal();
  polygon->resetCornerNormals();
  return polygon;
}

Polygon* Model::makePolygon(Vertex* a, Vertex* b, Vertex* c, const double u[3], const double v[3]) {
  Polygon* polygon = polygonPool_.make();
  Vertex* corners[3] = {a, b, c};
  for (int i = 0; i < 3; ++i) {
    polygon->vertices[i] = corners[i];
    polygon->uvs[i].vertex = corners[i];
    polygon->uvs[i].u = u[i];
    polygon->uvs[i].v = v[i];
  }
  return polygon;
}

PolygonGroup* Model::newGroup() {
  return groupPool_.make();
}

Bone* Model::rootBone() const {
  return skeleton ? skeleton->root : nullptr;
}

void Model::setSkeleton(std::unique_ptr<Skeleton> next) {
  if (skeleton) retiredSkeletons_.push_back(std::move(skeleton));
  skeleton = std::move(next);
  hasSkeleton = skeleton ? 1 : 0;
}

int Model::polygonCount() const {
  int total = 0;
  for (PolygonGroup* group : groups) total += group->polygons.count();
  return total;
}

void Polygon::computeNormal() {
  const Vertex& p0 = *vertices[0];
  const Vertex& p1 = *vertices[1];
  const Vertex& p2 = *vertices[2];
  const double e1x = p1.x - p0.x, e1y = p1.y - p0.y, e1z = p1.z - p0.z;
  const double e2x = p2.x - p1.x, e2y = p2.y - p1.y, e2z = p2.z - p1.z;
  const double nx = e1y * e2z - e1z * e2y;
  const double ny = e1z * e2x - e1x * e2z;
  const double nz = e1x * e2y - e1y * e2x;
  const double length = std::sqrt(nx * nx + ny * ny + nz * nz);
  // Lighting and the normal lines would turn NaN into garbage; a triangle
  // without area simply has no direction.
  if (!(length > 0) || !std::isfinite(length)) {
    normal = Vec3{};
    return;
  }
  const double scale = (flipped ? -1.0 : 1.0) / length;
  normal = Vec3{nx * scale, ny * scale, nz * scale};
}

void Polygon::resetCornerNormals() {
  for (Vec3& corner : cornerNormals) corner = normal;
}

void Polygon::flip() {
  flipped = flipped ? 0 : 1;
  normal = Vec3{-normal.x, -normal.y, -normal.z};
}
