#pragma once
// Shared by the model tests: a scratch directory, whole-file helpers and small
// hand-built models.

#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/model.h"
#include "model/skeleton.h"

// A fresh directory, removed with everything in it when the test ends.
class ScratchDir {
 public:
  ScratchDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vantorel-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
  }
  ~ScratchDir() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  std::string file(const std::string& name) const { return path_ + "/" + name; }
  int entryCount() const {
    int count = 0;
    for ([[maybe_unused]] auto& entry : std::filesystem::directory_iterator(path_)) ++count;
    return count;
  }

 private:
  std::string path_;
};

inline std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

inline void writeFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// Adds a vertex at the head of the model's vertex list, as the tools do.
inline Vertex* addVertex(Model& model, double x, double y, double z) {
  Vertex* vertex = model.newVertex(x, y, z);
  model.vertices.pushFront(vertex);
  return vertex;
}

inline Polygon* addPolygon(Model& model, PolygonGroup* group, Vertex* a, Vertex* b, Vertex* c) {
  Polygon* polygon = model.newPolygon(a, b, c);
  group->polygons.pushFront(polygon);
  return polygon;
}

// One triangle on (0,0,0), (1,0,0), (0,1,0), with the vertex list in that
// order from its head.
inline void buildOneTriangle(Model& model) {
  Vertex* c = addVertex(model, 0, 1, 0);
  Vertex* b = addVertex(model, 1, 0, 0);
  Vertex* a = addVertex(model, 0, 0, 0);
  addPolygon(model, model.currentGroup, a, b, c);
}

// The file of buildOneTriangle's model.
inline const char* kOneTriangleFile =
    "3\n"
    "0.000000 0.000000 0.000000\n"
    "1.000000 0.000000 0.000000\n"
    "0.000000 1.000000 0.000000\n"
    "1\n"
    "1\n"
    "0 1 2 0.000000 0.000000 0.000000 0.000000 0.000000 0.000000 "
    "0.000000 1.000000 0.000000 0.000000 1.000000 0.000000 "
    "0.000000 1.000000 0.000000 0.000000 1.000000 0.000000 \n"
    "0\n"
    "1.000000 1.000000 1.000000 1.000000\n"
    "0\n";

// A model with three groups (two textured, one name longer than 31
// characters), mapped and unmapped polygons, and a skeleton three deep whose
// middle bone has twelve children. Every number is exact at six decimals.
struct RichModel {
  explicit RichModel(Model& model) {
    Vertex* v[6];
    const double positions[6][3] = {{0, 0, 0},  {1.5, 0, 0},      {0, 2.25, 0},
                                    {0, 0, -3}, {4.125, 5, -6.5}, {-0.000125, 7, 8}};
    for (int i = 0; i < 6; ++i) {
      v[i] = addVertex(model, positions[i][0], positions[i][1], positions[i][2]);
    }
    PolygonGroup* first = model.currentGroup;
    first->material.textured = 1;
    first->material.textureName = "textures/a_name_well_over_thirty_one_characters.bmp";
    first->material.red = 0.25;
    mapped = addPolygon(model, first, v[0], v[1], v[2]);
    const double uv[6] = {0.5, 0.75, 1, 0.125, 0, 0.875};
    for (int i = 0; i < 3; ++i) {
      mapped->uvs[i].u = uv[i];
      mapped->uvs[i].v = uv[3 + i];
    }
    addPolygon(model, first, v[2], v[1], v[3]);

    PolygonGroup* second = model.newGroup();
    model.groups.pushFront(second);
    second->material.blue = 0;
    second->material.alpha = 0.5;
    for (int i = 0; i < 3; ++i) addPolygon(model, second, v[i], v[i + 1], v[i + 2]);

    PolygonGroup* third = model.newGroup();
    model.groups.pushFront(third);
    third->material.textured = 1;
    third->material.textureName = "wood.bmp";
    addPolygon(model, third, v[5], v[4], v[3]);
    model.currentGroup = third;

    Bone* root = model.createRoot(0, 1, 0);
    root->paramA = 0.5;
    hub = model.addBone(root, 0, 2, 0);
    for (int i = 0; i < 12; ++i) leaves.push_back(model.addBone(hub, i, 3, 0));
    leaves[3]->paramB = -2.75;
    Bone* other = model.addBone(root, 1, 1, 1);
    second->polygons.at(0)->bone = leaves[11];
    second->polygons.at(1)->bone = hub;
    third->polygons.at(0)->bone = other;
    first->polygons.at(1)->bone = root;
  }
  Polygon* mapped;
  Bone* hub;
  std::vector<Bone*> leaves;
};

// What a model holds in the terms of its file, in list order, for comparing
// models without comparing addresses.
struct ModelSummary {
  std::vector<std::string> vertices;
  std::vector<std::vector<std::string>> groups;  // material, then polygons
  std::vector<std::string> bones;                // pre-order

  bool operator==(const ModelSummary&) const = default;

  // The summary after one write and read: every list reversed.
  ModelSummary reversed() const {
    ModelSummary out = *this;
    std::reverse(out.vertices.begin(), out.vertices.end());
    std::reverse(out.groups.begin(), out.groups.end());
    for (auto& group : out.groups) std::reverse(group.begin() + 1, group.end());
    return out;
  }
};

inline std::string numbers(std::initializer_list<double> values) {
  std::string text;
  char part[40];
  for (double value : values) {
    std::snprintf(part, sizeof part, "%.17g ", value);
    text += part;
  }
  return text;
}

inline ModelSummary summarize(Model& model) {
  ModelSummary summary;
  std::vector<Bone*> preorder;
  std::vector<int> depths;
  if (model.hasSkeleton) {
    forEachBone(model.rootBone(), [&](Bone* bone, int depth) {
      preorder.push_back(bone);
      summary.bones.push_back(
          std::to_string(depth) + " " +
          numbers({bone->end->x, bone->end->y, bone->end->z, bone->paramA, bone->paramB}) +
          std::to_string(bone->childCount()));
    });
  }
  auto boneNumber = [&](Bone* bone) -> long {
    if (!bone) return 0;  // unassigned means the root
    return std::find(preorder.begin(), preorder.end(), bone) - preorder.begin();
  };
  for (Vertex* vertex : model.vertices) {
    summary.vertices.push_back(numbers({vertex->x, vertex->y, vertex->z}));
  }
  for (PolygonGroup* group : model.groups) {
    const Material& m = group->material;
    std::vector<std::string> lines = {numbers({m.red, m.green, m.blue, m.alpha}) +
                                      std::to_string(m.textured) + " " +
                                      (m.textured ? m.textureName : "")};
    for (Polygon* p : group->polygons) {
      std::string line;
      for (int i = 0; i < 3; ++i) {
        line += numbers(
            {p->vertices[i]->x, p->vertices[i]->y, p->vertices[i]->z, p->uvs[i].u, p->uvs[i].v});
        EXPECT_EQ(p->uvs[i].vertex, p->vertices[i]);
      }
      lines.push_back(line + "bone " + std::to_string(boneNumber(p->bone)));
    }
    summary.groups.push_back(lines);
  }
  return summary;
}
