#include "render/model_drawing.h"

#include <GL/gl.h>

#include <new>

#include "images/texture_cache.h"
#include "model/model.h"
#include "model/skeleton.h"

namespace {

void vertexAt(const Vertex& vertex) {
  glVertex3f(static_cast<float>(vertex.x), static_cast<float>(vertex.y),
             static_cast<float>(vertex.z));
}

void vertexAt(double x, double y, double z) {
  glVertex3f(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z));
}

void normalOf(const Vec3& n) {
  glNormal3f(static_cast<float>(n.x), static_cast<float>(n.y), static_cast<float>(n.z));
}

// Looks the group's texture up once: the cache remembers files that failed,
// and asking again every frame would only repeat the failure.
void acquireTexture(Material& material, TextureCache* textures) {
  if (material.textureLoaded || !material.textured) return;
  material.textureId = textures ? textures->acquire(material.textureName) : -1;
  material.textureLoaded = 1;
}

// One vertex of the batched triangles: position, colour, normal, texture
// coordinates, as the immediate-mode calls would pass them.
constexpr int kFloatsPerCorner = 12;
constexpr GLsizei kStride = kFloatsPerCorner * sizeof(float);

void putCorner(float* out, const Vertex& v, const float colour[4], const Vec3& normal,
               const UvPoint& uv) {
  out[0] = static_cast<float>(v.x), out[1] = static_cast<float>(v.y);
  out[2] = static_cast<float>(v.z);
  for (int i = 0; i < 4; ++i) out[3 + i] = colour[i];
  out[7] = static_cast<float>(normal.x), out[8] = static_cast<float>(normal.y);
  out[9] = static_cast<float>(normal.z);
  out[10] = static_cast<float>(uv.u), out[11] = static_cast<float>(uv.v);
}

// A group's corners for batched drawing, one after another.
void fillGroupArrays(PolygonGroup& group, ModelDrawing::NormalSource normals,
                     std::vector<float>& buffer) {
  const Material& m = group.material;
  const float plain[4] = {static_cast<float>(m.red), static_cast<float>(m.green),
                          static_cast<float>(m.blue), static_cast<float>(m.alpha)};
  const float picked[4] = {1.0f, 0.9f, 0.3f, 1.0f};
  buffer.resize(static_cast<size_t>(group.polygons.count()) * 3 * kFloatsPerCorner);
  float* out = buffer.data();
  for (Polygon* p : group.polygons) {
    const float* colour = p->selected ? picked : plain;
    for (int i = 0; i < 3; ++i, out += kFloatsPerCorner) {
      const Vec3& n = normals == ModelDrawing::kCornerNormals ? p->cornerNormals[i] : p->normal;
      putCorner(out, *p->vertices[i], colour, n, p->uvs[i]);
    }
  }
}

// A group's triangles in one glDrawArrays, from the group's filled arrays.
// Afterwards the current colour, normal and texture coordinates are set to
// what the last immediate-mode call of each would have left, since later
// drawing (the vertex points) uses them.
void drawGroupBatched(PolygonGroup& group, bool textured, ModelDrawing::NormalSource normals,
                      const std::vector<float>& buffer) {
  const int count = group.polygons.count();
  if (count == 0) return;
  const float* data = buffer.data();
  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(3, GL_FLOAT, kStride, data);
  glEnableClientState(GL_COLOR_ARRAY);
  glColorPointer(4, GL_FLOAT, kStride, data + 3);
  if (normals != ModelDrawing::kNoNormals) {
    glEnableClientState(GL_NORMAL_ARRAY);
    glNormalPointer(GL_FLOAT, kStride, data + 7);
  }
  if (textured) {
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(2, GL_FLOAT, kStride, data + 10);
  }
  glDrawArrays(GL_TRIANGLES, 0, count * 3);
  glDisableClientState(GL_VERTEX_ARRAY);
  glDisableClientState(GL_COLOR_ARRAY);
  glDisableClientState(GL_NORMAL_ARRAY);
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);

  const float* last = data + (static_cast<size_t>(count) * 3 - 1) * kFloatsPerCorner;
  glColor4fv(last + 3);
  if (normals != ModelDrawing::kNoNormals) glNormal3fv(last + 7);
  if (textured) glTexCoord2fv(last + 10);
}

void drawGroupImmediate(PolygonGroup& group, bool textured, ModelDrawing::NormalSource normals) {
  const Material& material = group.material;
  glBegin(GL_TRIANGLES);
  for (Polygon* polygon : group.polygons) {
    if (polygon->selected) {
      glColor4f(1.0f, 0.9f, 0.3f, 1.0f);
    } else {
      glColor4f(static_cast<float>(material.red), static_cast<float>(material.green),
                static_cast<float>(material.blue), static_cast<float>(material.alpha));
    }
    if (normals == ModelDrawing::kFaceNormals) normalOf(polygon->normal);
    for (int i = 0; i < 3; ++i) {
      if (normals == ModelDrawing::kCornerNormals) normalOf(polygon->cornerNormals[i]);
      if (textured) {
        glTexCoord2f(static_cast<float>(polygon->uvs[i].u), static_cast<float>(polygon->uvs[i].v));
      }
      vertexAt(*polygon->vertices[i]);
    }
  }
  glEnd();
}

}  // namespace

void ModelDrawing::beginFrame(const Model& model, uint64_t revision) {
  if (revision == 0 || revision != revision_ || &model != model_) ++generation_;
  revision_ = revision;
  model_ = &model;
  inFrame_ = true;
}

void ModelDrawing::endFrame() {
  inFrame_ = false;
  // Arrays of an earlier generation show a model that is gone; their memory
  // goes.
  absl::erase_if(drawArrays_,
                 [this](const auto& entry) { return entry.second.generation != generation_; });
}

void ModelDrawing::draw(Model& model, int texturedView, NormalSource normals, bool batched) {
  glRotatef(static_cast<float>(model.rotationX), 1, 0, 0);
  glRotatef(static_cast<float>(model.rotationY), 0, 1, 0);
  glRotatef(static_cast<float>(model.rotationZ), 0, 0, 1);

  // The arrays under `key`, built by `fill` unless this frame built them;
  // null when memory runs out, and the drawing the plain way then needs none.
  auto arraysFor = [this](const std::pair<const PolygonGroup*, int>& key,
                          const auto& fill) -> const std::vector<float>* {
    try {
      DrawArrays& arrays = drawArrays_[key];
      if (inFrame_ && arrays.generation == generation_) return &arrays.floats;
      arrays.generation = 0;
      fill(arrays.floats);
      arrays.generation = inFrame_ ? generation_ : 0;
      return &arrays.floats;
    } catch (const std::bad_alloc&) {
      drawArrays_.erase(key);
      return nullptr;
    }
  };
  for (PolygonGroup* group : model.groups) {
    Material& material = group->material;
    acquireTexture(material, model.textures);
    const bool drawTextured = material.textured && texturedView && material.textureId > 0;
    if (drawTextured) {
      glEnable(GL_TEXTURE_2D);
      glBindTexture(GL_TEXTURE_2D,
                    model.textures ? model.textures->uploadedName(material.textureId) : 0);
    }
    glPushMatrix();
    const std::vector<float>* arrays =
        batched ? arraysFor(
                      {group, normals},
                      [&](std::vector<float>& floats) { fillGroupArrays(*group, normals, floats); })
                : nullptr;
    if (arrays) {
      drawGroupBatched(*group, drawTextured, normals, *arrays);
    } else {
      drawGroupImmediate(*group, drawTextured, normals);
    }
    glPopMatrix();
    if (drawTextured) glDisable(GL_TEXTURE_2D);
  }

  const std::vector<float>* points =
      !texturedView && batched
          ? arraysFor({nullptr, 0},
                      [&](std::vector<float>& floats) {
                        floats.resize(static_cast<size_t>(model.vertices.count()) * 3);
                        float* out = floats.data();
                        for (Vertex* v : model.vertices) {
                          *out++ = static_cast<float>(v->x), *out++ = static_cast<float>(v->y);
                          *out++ = static_cast<float>(v->z);
                        }
                      })
          : nullptr;
  if (points) {
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, points->data());
    glDrawArrays(GL_POINTS, 0, model.vertices.count());
    glDisableClientState(GL_VERTEX_ARRAY);
  } else if (!texturedView) {
    glBegin(GL_POINTS);
    for (Vertex* vertex : model.vertices) vertexAt(*vertex);
    glEnd();
  }
  glFlush();
}

void drawUvTriangles(Model& model) {
  for (Polygon* polygon : model.currentGroup->polygons) {
    if (!polygon->uvMapped) continue;
    glBegin(GL_TRIANGLES);
    for (const UvPoint& uv : polygon->uvs) {
      glVertex2f(static_cast<float>(uv.u), static_cast<float>(uv.v));
    }
    glEnd();
  }
}

void drawNormals(Model& model) {
  // The group a drawing walk over `groups` ends on: the last one in the list.
  PolygonGroup* group = model.groups.tailItem();
  if (!group) return;
  glShadeModel(GL_SMOOTH);
  glBegin(GL_LINES);
  for (Polygon* polygon : group->polygons) {
    const Vertex& p0 = *polygon->vertices[0];
    const Vertex& p1 = *polygon->vertices[1];
    const Vertex& p2 = *polygon->vertices[2];
    const double mx = (p0.x + p1.x + p2.x) / 3;
    const double my = (p0.y + p1.y + p2.y) / 3;
    const double mz = (p0.z + p1.z + p2.z) / 3;
    const Vec3& n = polygon->normal;
    glColor3f(0.9f, 0.5f, 0.2f);
    vertexAt(mx, my, mz);
    glColor3f(1, 1, 1);
    vertexAt(mx + n.x, my + n.y, mz + n.z);
    for (int i = 0; i < 3; ++i) {
      const Vertex& corner = *polygon->vertices[i];
      const Vec3& cn = polygon->cornerNormals[i];
      glColor3f(0.2f, 0.5f, 0.9f);
      vertexAt(corner);
      glColor3f(1, 1, 1);
      vertexAt(corner.x + cn.x, corner.y + cn.y, corner.z + cn.z);
    }
  }
  glEnd();
}

void drawBoneLinks(Model& model) {
  Bone* root = model.rootBone();
  if (!model.hasSkeleton || !root) return;
  glColor4f(1.0f, 0.5f, 0.2f, 0.9f);
  glBegin(GL_LINES);
  for (PolygonGroup* group : model.groups) {
    for (Polygon* polygon : group->polygons) {
      const Vertex& p0 = *polygon->vertices[0];
      const Vertex& p1 = *polygon->vertices[1];
      const Vertex& p2 = *polygon->vertices[2];
      vertexAt((p0.x + p1.x + p2.x) / 3, (p0.y + p1.y + p2.y) / 3, (p0.z + p1.z + p2.z) / 3);
      vertexAt(*(polygon->bone ? polygon->bone : root)->end);
    }
  }
  glEnd();
}
