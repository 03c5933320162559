// Facing leaves memory with the triangle: after every way out and back in, each triangle's winding
// gives the normal the editor showed, and each corner keeps its texture coordinates.

#include <functional>
#include <map>

#include "formats/export_mesh.h"
#include "recovery/recovery_session.h"
#include "tools/tool_fixture.h"

namespace {

using Face = std::array<std::array<double, 5>, 3>;  // x, y, z, u, v of each corner

double dotWithWinding(const Face& f, const Vec3& n) {
  double e[2][3], c[3];
  for (int k = 0; k < 3; ++k) e[0][k] = f[1][k] - f[0][k], e[1][k] = f[2][k] - f[1][k];
  for (int k = 0; k < 3; ++k)
    c[k] = e[0][(k + 1) % 3] * e[1][(k + 2) % 3] - e[0][(k + 2) % 3] * e[1][(k + 1) % 3];
  return (c[0] * n.x + c[1] * n.y + c[2] * n.z) /
         std::sqrt(c[0] * c[0] + c[1] * c[1] + c[2] * c[2]);
}

// Corners as text to six decimals, what every way out keeps; sorted positions name the triangle.
std::string textOf(const std::array<double, 5>& corner, int values = 5) {
  std::string text;
  for (int i = 0; i < values; ++i) text += num(corner[i]) + " ";
  return text;
}
std::string placeOf(const Face& f) {
  std::array<std::string, 3> corners{textOf(f[0], 3), textOf(f[1], 3), textOf(f[2], 3)};
  std::sort(corners.begin(), corners.end());
  return corners[0] + corners[1] + corners[2];
}
Face faceOf(const Polygon& p) {
  Face f;
  for (int i = 0; i < 3; ++i)
    f[i] = {p.vertices[i]->x, p.vertices[i]->y, p.vertices[i]->z, p.uvs[i].u, p.uvs[i].v};
  return f;
}

class FacingTest : public ToolTest {
 protected:
  FacingTest() { editor.commandState.importSettings.program = VANTOREL_PROGRAM; }
  // A box of the Create Box tool with three of its triangles turned by 'f', and a unit box
  // wound inward turned by 'o'; every corner mapped to texture coordinates of its own.
  void drawScene() {
    key('b');
    dragIn(kSideView, -3, -1, -1, 1.5);
    for (int i = 0; i < 3; ++i)
      editor.doc.selectedPolygons.pushFront(model().currentGroup->polygons.at(i));
    key('f');
    editor.doc.selectedPolygons.clear();
    for (Polygon* p : addUnitBox(model(), false)) editor.doc.selectedPolygons.pushFront(p);
    key('o');
    int n = 0;
    shown.clear();
    for (Polygon* p : model().currentGroup->polygons) {
      for (int i = 0; i < 3; ++i) p->uvs[i].u = (i + 1) / 4.0, p->uvs[i].v = n++ / 100.0;
      const Face f = faceOf(*p);
      shown[placeOf(f)] = {{textOf(f[0]), textOf(f[1]), textOf(f[2])}, p->normal};
    }
  }
  void expectShownFacing(const std::vector<Face>& faces) {
    ASSERT_EQ(faces.size(), shown.size());
    for (const Face& f : faces) {
      const auto& [corners, normal] = shown.at(placeOf(f));
      EXPECT_GT(dotWithWinding(f, normal), 0.999) << placeOf(f);
      for (const auto& c : f)
        EXPECT_TRUE(std::count(corners.begin(), corners.end(), textOf(c))) << textOf(c) << "moved";
    }
  }
  // Each triangle by place: its corners as text and the normal the editor showed.
  std::map<std::string, std::pair<std::array<std::string, 3>, Vec3>> shown;
  ScratchDir dir;
};

TEST_F(FacingTest, EveryWayOutKeepsTheFacingShownInTheWinding) {
  const std::string m = dir.file("m.vantorel");
  const auto run = [&](const auto&... lines) { (runConsoleCommand(editor, lines), ...); };
  const auto startOver = [&] {
    editor.doc.replaceModel(std::make_unique<Model>("m", editor.doc.model->textures));
    printedBy([&] { run("/save " + m), drawScene(); });
  };
  const std::vector<std::pair<const char*, std::function<void()>>> ways = {
      {"saved and opened", [&] { run("/save " + m, "/open " + m); }},
      {"exported to glTF and opened", [&] { run("/export " + m + ".glb", "/open " + m + ".glb"); }},
      {"exported to OBJ and opened", [&] { run("/export " + m + ".obj", "/open " + m + ".obj"); }},
      {"recovered", [&] { leaveEditor(editor.recovery), run("/open " + m, "/recover"); }},
  };
  for (const auto& [way, act] : ways) {
    SCOPED_TRACE(way);
    startOver();
    printedBy(act);
    std::vector<Face> faces;
    for (Polygon* p : model().currentGroup->polygons) {
      ASSERT_EQ(p->flipped, 0);
      faces.push_back(faceOf(*p));
    }
    expectShownFacing(faces);
  }
  // Exports carry normals beside the winding: they are the normals shown too.
  startOver();
  ExportMesh mesh;
  ASSERT_TRUE(buildExportMesh(model(), mesh, nullptr));
  const ExportPrimitive& out = mesh.primitives.at(0);
  std::vector<Face> faces;
  for (size_t t = 0; t < out.indices.size(); t += 3) {
    Face& f = faces.emplace_back();
    for (int k = 0; k < 3; ++k) {
      const uint32_t i = out.indices[t + k];
      f[k] = {out.positions[3 * i], out.positions[3 * i + 1], out.positions[3 * i + 2],
              out.uvs[2 * i], out.uvs[2 * i + 1]};
    }
    for (int k = 0; k < 3; ++k) {
      const float* n = &out.normals[3 * out.indices[t + k]];
      EXPECT_GT(dotWithWinding(f, Vec3{n[0], n[1], n[2]}), 0.999) << placeOf(f);
    }
  }
  expectShownFacing(faces);
}

}  // namespace
