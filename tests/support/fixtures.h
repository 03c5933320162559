#pragma once
// What tests of every area share: a scratch directory and whole files, small
// hand-built meshes, BMP files made to measure, and standard output captured
// or silenced. One definition of each, so no two tests build a vertex or a
// BMP in different ways.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "model/model.h"
#include "support/bmp_file.h"

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
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }
  long entryCount() const {
    auto entries = std::filesystem::directory_iterator(path_);
    return std::distance(begin(entries), end(entries));
  }

 private:
  std::string path_;
};

inline std::string readFile(const std::string& path) {
  std::ostringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}

inline void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// Records enter the model's lists at the head, as the tools add them.
inline Vertex* addVertex(Model& m, double x, double y, double z) {
  Vertex* v = m.newVertex(x, y, z);
  m.vertices.pushFront(v);
  return v;
}

// A triangle in `group` (the current group when none is given).
inline Polygon* addTriangle(Model& m, Vertex* a, Vertex* b, Vertex* c,
                            PolygonGroup* group = nullptr) {
  Polygon* p = m.newPolygon(a, b, c);
  (group ? group : m.currentGroup)->polygons.pushFront(p);
  return p;
}

// Three triangles in the plane z = 0:
//
//  d-----c
//  | p2 /|
//  |  /p1|  p3
//  a-----b-----e      p1 = a b c, p2 = a c d, p3 = b e c
struct SquareWithWing {
  explicit SquareWithWing(Model& m)
      : a(addVertex(m, 0, 0, 0)),
        b(addVertex(m, 1, 0, 0)),
        c(addVertex(m, 1, 1, 0)),
        d(addVertex(m, 0, 1, 0)),
        e(addVertex(m, 2, 0, 0)),
        p1(addTriangle(m, a, b, c)),
        p2(addTriangle(m, a, c, d)),
        p3(addTriangle(m, b, e, c)) {}
  Vertex *a, *b, *c, *d, *e;
  Polygon *p1, *p2, *p3;
};

// The unit cube [0, 1]^3 as twelve triangles, two per face, wound so that
// every face normal points out of the cube (or, with outward false, into it).
//
//        2-----3      corner i sits at (i & 1, (i >> 1) & 1, (i >> 2) & 1)
//       /|    /|
//      6-----7 |      y
//      | 0---|-1      |
//      |/    |/       +-- x
//      4-----5       /
//                   z
inline std::array<Polygon*, 12> addUnitBox(Model& m, bool outward) {
  Vertex* c[8];
  for (int i = 0; i < 8; ++i) c[i] = addVertex(m, i & 1, (i >> 1) & 1, (i >> 2) & 1);
  // Each face listed counter-clockwise as seen from outside the cube.
  const int faces[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 4, 6, 2},
                           {1, 3, 7, 5}, {0, 1, 5, 4}, {2, 6, 7, 3}};
  std::array<Polygon*, 12> out{};
  int n = 0;
  for (const auto& f : faces) {
    const int tris[2][3] = {{f[0], f[1], f[2]}, {f[0], f[2], f[3]}};
    for (const auto& t : tris) {
      out[n++] = outward ? addTriangle(m, c[t[0]], c[t[1]], c[t[2]])
                         : addTriangle(m, c[t[0]], c[t[2]], c[t[1]]);
    }
  }
  return out;
}

// Compares a vector with expected components exactly, naming the difference.
inline ::testing::AssertionResult sameVec(const Vec3& v, double x, double y, double z) {
  if (v.x == x && v.y == y && v.z == z) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "(" << v.x << ", " << v.y << ", " << v.z << ") is not ("
                                       << x << ", " << y << ", " << z << ")";
}
inline Vec3 positionOf(const Vertex* v) { return Vec3{v->x, v->y, v->z}; }

// Standard output of `action`, as one string.
template <class F>
std::string printedBy(F&& action) {
  testing::internal::CaptureStdout();
  action();
  return testing::internal::GetCapturedStdout();
}

// Sends standard output to /dev/null while it lives: long runs of editor
// operations print a trace line for nearly every one of them.
class SilencedStdout {
 public:
  SilencedStdout() {
    std::fflush(stdout);
    saved_ = dup(STDOUT_FILENO);
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, STDOUT_FILENO);
    close(null);
  }
  ~SilencedStdout() {
    std::fflush(stdout);
    dup2(saved_, STDOUT_FILENO);
    close(saved_);
  }
  SilencedStdout(const SilencedStdout&) = delete;
  SilencedStdout& operator=(const SilencedStdout&) = delete;

 private:
  int saved_;
};
