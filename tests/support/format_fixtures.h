#pragma once
// For the export and import tests: a scratch working directory, random models, and
// the comparison of what two models' files would hold.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

#include "formats/model_file.h"
#include "model/model.h"
#include "model/model_image.h"
#include "model/skeleton.h"
#include "support/fixtures.h"

class ScratchCwd : public ScratchDir {
 public:
  ScratchCwd() : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(path());
  }
  ~ScratchCwd() { std::filesystem::current_path(previous_); }

 private:
  std::filesystem::path previous_;
};

inline std::string textOf(Model& model) {
  return formatModelFile(captureImage(model));
}

// A temporary file holding `text`, read from its start.
inline std::FILE* fileWith(const std::string& text) {
  std::FILE* file = std::tmpfile();
  std::fwrite(text.data(), 1, text.size(), file);
  std::rewind(file);
  return file;
}

// 1 to 3 groups, every vertex used, six-decimal numbers; the first group textured
// with `texture` if given; a random tree of `bones` bones holding random triangles, every
// second bone named.
inline void buildRandomModel(Model& m, std::mt19937& rng, const std::string& texture, int bones) {
  auto six = [&](double low, double high) {
    return std::round(std::uniform_real_distribution<double>(low, high)(rng) * 1e6) / 1e6;
  };
  const int groups = 1 + static_cast<int>(rng() % 3), corners = 3 * (2 + rng() % 6);
  std::vector<Vertex*> vertices;
  for (int i = 0; i < corners; ++i)
    vertices.push_back(addVertex(m, six(-4, 4), six(-4, 4), six(-4, 4)));
  std::vector<Bone*> boneList;
  for (int b = 0; b < bones; ++b)
    boneList.push_back(m.addBone(boneList.empty() ? nullptr : boneList[rng() % boneList.size()],
                                 six(-4, 4), six(-4, 4), six(-4, 4)));
  for (int b = 1; b < bones; b += 2) boneList[b]->name = "b" + std::to_string(b) + ".L";
  std::vector<PolygonGroup*> groupList{m.currentGroup};
  for (int g = 1; g < groups; ++g) m.groups.pushFront(groupList.emplace_back(m.newGroup()));
  for (PolygonGroup* group : groupList)
    for (double* channel : {&group->material.red, &group->material.green, &group->material.blue,
                            &group->material.alpha})
      *channel = six(0, 1);
  if (!texture.empty())
    groupList[0]->material.textured = 1, groupList[0]->material.textureName = texture;
  const int triangles = corners / 3 + 1 + static_cast<int>(rng() % 3);
  for (int t = 0; t < triangles; ++t) {
    Vertex* c[3];
    do  // three corners apart: an import drops a triangle with a repeated one
      for (int k = 0; k < 3; ++k) c[k] = vertices[t < corners / 3 ? 3 * t + k : rng() % corners];
    while (c[0] == c[1] || c[1] == c[2] || c[0] == c[2]);
    Polygon* p = addTriangle(m, c[0], c[1], c[2], groupList[t % groups]);
    for (UvPoint& uv : p->uvs) uv.u = six(0, 1), uv.v = six(0, 1);
    if (!boneList.empty()) p->bone = boneList[rng() % boneList.size()];
  }
}

inline void expectSameImage(const ModelImage& want, const ModelImage& got) {
  auto near = [](const Vec3& a, const Vec3& b) {
    return std::abs(a.x - b.x) < 1e-5 && std::abs(a.y - b.y) < 1e-5 && std::abs(a.z - b.z) < 1e-5;
  };
  ASSERT_EQ(want.vertices.size(), got.vertices.size());
  ASSERT_EQ(want.groups.size(), got.groups.size());
  for (size_t g = 0; g < want.groups.size(); ++g) {
    const auto &w = want.groups[g], &h = got.groups[g];
    EXPECT_EQ(w.textureName, h.textureName);
    EXPECT_TRUE(std::equal(w.colour, w.colour + 4, h.colour)) << "group " << g;
    ASSERT_EQ(w.polygons.size(), h.polygons.size());
    for (size_t p = 0; p < w.polygons.size(); ++p)
      for (int k = 0; k < 3; ++k)
        EXPECT_TRUE(
            near(want.vertices[w.polygons[p].corners[k]], got.vertices[h.polygons[p].corners[k]]) &&
            w.polygons[p].u[k] == h.polygons[p].u[k] && w.polygons[p].v[k] == h.polygons[p].v[k]);
  }
  ASSERT_EQ(want.bones.size(), got.bones.size());
  for (size_t b = 0; b < want.bones.size(); ++b) {
    const auto &w = want.bones[b], &h = got.bones[b];
    EXPECT_TRUE(w.depth == h.depth && w.polygons == h.polygons &&
                near({w.x, w.y, w.z}, {h.x, h.y, h.z}))
        << "bone " << b;
  }
  EXPECT_EQ(want.boneNames, got.boneNames);
}
