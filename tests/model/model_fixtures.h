#pragma once
// Shared by the model tests: a scratch directory, whole-file helpers and small
// hand-built models.

#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "model/model.h"

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
