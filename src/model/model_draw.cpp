// The model in a view, its UV layout, its normals and its bone links, in
// OpenGL 1.1 immediate mode inside the camera the caller has set up.

#include <GL/gl.h>

#include "model/model.h"
#include "model/skeleton.h"
#include "model/texture_cache.h"

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

}  // namespace

void Model::draw(int texturedView, NormalSource normals) {
  glRotatef(static_cast<float>(rotationX), 1, 0, 0);
  glRotatef(static_cast<float>(rotationY), 0, 1, 0);
  glRotatef(static_cast<float>(rotationZ), 0, 0, 1);

  for (PolygonGroup* group : groups) {
    Material& material = group->material;
    acquireTexture(material, textures);
    const bool drawTextured = material.textured && texturedView && material.textureId > 0;
    if (drawTextured) {
      glEnable(GL_TEXTURE_2D);
      glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(material.textureId));
    }
    glPushMatrix();
    glBegin(GL_TRIANGLES);
    for (Polygon* polygon : group->polygons) {
      if (polygon->selected) {
        glColor4f(1.0f, 0.9f, 0.3f, 1.0f);
      } else {
        glColor4f(static_cast<float>(material.red), static_cast<float>(material.green),
                  static_cast<float>(material.blue), static_cast<float>(material.alpha));
      }
      if (normals == kFaceNormals) normalOf(polygon->normal);
      for (int i = 0; i < 3; ++i) {
        if (normals == kCornerNormals) normalOf(polygon->cornerNormals[i]);
        if (drawTextured) {
          glTexCoord2f(static_cast<float>(polygon->uvs[i].u),
                       static_cast<float>(polygon->uvs[i].v));
        }
        vertexAt(*polygon->vertices[i]);
      }
    }
    glEnd();
    glPopMatrix();
    if (drawTextured) glDisable(GL_TEXTURE_2D);
  }

  if (!texturedView) {
    glBegin(GL_POINTS);
    for (Vertex* vertex : vertices) vertexAt(*vertex);
    glEnd();
  }
  glFlush();
}

void Model::drawUvTriangles() {
  for (Polygon* polygon : currentGroup->polygons) {
    if (!polygon->uvMapped) continue;
    glBegin(GL_TRIANGLES);
    for (const UvPoint& uv : polygon->uvs) {
      glVertex2f(static_cast<float>(uv.u), static_cast<float>(uv.v));
    }
    glEnd();
  }
}

void Model::drawNormals() {
  // The group a drawing walk over `groups` ends on: the last one in the list.
  PolygonGroup* group = groups.tailItem();
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

void Model::drawBoneLinks() {
  Bone* root = rootBone();
  if (!hasSkeleton || !root) return;
  glColor4f(1.0f, 0.5f, 0.2f, 0.9f);
  glBegin(GL_LINES);
  for (PolygonGroup* group : groups) {
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
