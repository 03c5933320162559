// Files written by other tools (tests/data/imports, whose ORIGIN says how they were made), opened
// from another folder as the editor opens them: each comes in standing up, is fitted in every
// view, keeps or names its texture however the tool named it, and comes back the same through
// glTF.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "console/model_commands.h"
#include "formats/model_export.h"
#include "formats/model_file.h"
#include "images/image_decode.h"
#include "import/foreign_import.h"
#include "support/editor_fixture.h"
#include "support/format_fixtures.h"

namespace {

namespace fs = std::filesystem;

std::vector<unsigned char> picture(const std::string& file) {
  DecodedImage image;
  return decodeImageFile(file, image) ? image.rgba : std::vector<unsigned char>{};
}

class RealFilesTest : public EditorTest {
 protected:
  RealFilesTest() { editor.commandState.importSettings.program = VANTOREL_PROGRAM; }

  // Every vertex lies in each flat view's visible rectangle.
  bool inEveryView() {
    for (Vertex* v : editor.doc.model->vertices) {
      const double across[3] = {v->x, v->z, v->z}, up[3] = {v->y, v->y, v->x};
      for (int i = kSideView; i <= kTopView; ++i) {
        const Viewport& view = editor.viewSet.views[i];
        if (across[i] < view.left || across[i] > view.right || up[i] < view.bottom ||
            up[i] > view.top)
          return false;
      }
    }
    return true;
  }
};

}  // namespace

TEST_F(RealFilesTest, EachOpensStandsUpKeepsOrNamesItsTextureAndComesBackThroughGltf) {
  const struct {
    const char* file;
    size_t vertices, triangles;
    double top;           // the highest vertex: a pyramid's apex
    const char* texture;  // the picture the last group shows: "" for none, "*" for the file's own
    const char* changes;
  } cases[] = {
      {"pyramid.fbx", 5, 6, 2, "checker.png", "quads split into triangles"},
      {"zup.fbx", 5, 6, 2, "checker.png", "quads split into triangles"},  // and D:\...\checker.png
      {"zup.x", 5, 6, 2, "", ""},
      {"pyramid.glb", 5, 6, 2, "checker.png", ""},
      // Written Y up by Assimp into a format that is Z up, which Assimp's reader turns.
      {"pyramid.3ds", 5, 6, 1, "checker.png", ""},
      {"capitals.3ds", 5, 6, 1, "checker.png", ""},                                // CHECKER.PNG
      {"windows.obj", 5, 6, 2, "maps/stripes.bmp", "quads split into triangles"},  // ..\STRIPES.bmp
      {"pyramid.ply", 5, 6, 2, "checker.png", "quads split into triangles"},
      {"pyramid.mdl", 5, 6, 1, "*", ""},  // Quake's binary model, its skin inside, Z up too
      {"scan", 5, 6, 2, "checker.png", "quads split into triangles"},  // a PLY without extension
      {"header1.stl", 5, 6, 2, "", ""},                                // whose header starts "1\n"
      {"triangle.dxf", 3, 1, 0, "", ""},                               // whose first line is "0"
      {"groups.raw", 6, 2, 1, "", ""},  // Assimp leaves a null child node
      {"missing.3ds", 5, 6, 1, "", "texture missing.png not found (No such file or directory)"},
      {"lines.obj", 3, 1, 1, "", "1 point, 3 lines and 2 degenerate triangles dropped"},
  };
  ScratchCwd scratch;
  const std::string folder = "from/another/folder/", data = getenv("VANTOREL_TEST_DATA");
  fs::create_directories(folder);
  fs::copy(data + "/imports", folder, fs::copy_options::recursive);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    std::string reason;
    bool opened = false;
    printedBy([&] { opened = openModel(editor, folder + c.file, &reason); });
    ASSERT_TRUE(opened) << reason;
    const ModelImage image = captureImage(*editor.doc.model);
    EXPECT_EQ(image.vertices.size(), c.vertices);
    size_t triangles = 0;
    for (const auto& group : image.groups) triangles += group.polygons.size();
    EXPECT_EQ(triangles, c.triangles);
    double top = -1e9;
    for (const Vec3& v : image.vertices) top = std::max(top, v.y);
    EXPECT_EQ(top, c.top);
    EXPECT_TRUE(inEveryView());
    // Named in the working directory, where F5 writes it.
    const std::string named = fs::path(c.file).stem().string() + ".vantorel";
    EXPECT_EQ(editor.doc.model->name, named);
    EXPECT_EQ(lastConsoleMessage(),
              *c.changes ? std::string("Import: ") + c.changes
                         : "F5 saves the model as " + (fs::current_path() / named).string() + ".");
    const ModelImage::GroupRecord& group = image.groups.back();
    const bool missing = std::string(c.file) == "missing.3ds";
    for (const auto& each : image.groups)
      EXPECT_TRUE(!each.textured || missing || !picture(each.textureName).empty());
    EXPECT_EQ(group.textured, *c.texture || missing ? 1 : 0);
    if (missing) {
      EXPECT_EQ(group.textureName, folder + "missing.png");
    } else if (*c.texture) {
      const std::string shows = *c.texture == '*' ? group.textureName : folder + c.texture;
      EXPECT_EQ(picture(group.textureName), picture(shows));
    }
    // A texture that cannot be read is left out, said once; no folder of this machine goes out.
    std::vector<std::string> leftOut;
    ASSERT_TRUE(exportModel(*editor.doc.model, "back.glb", &reason, &leftOut)) << reason;
    EXPECT_EQ(leftOut.size(), missing ? 1u : 0u);
    EXPECT_EQ(readFile("back.glb").find(folder), std::string::npos);
    ForeignModel back;
    ASSERT_TRUE(importForeignModel("back.glb", back, &reason)) << reason;
    ModelImage want = image;
    for (size_t g = 0; g < want.groups.size() && g < back.image.groups.size(); ++g) {
      const std::string& name = back.image.groups[g].textureName;
      if (want.groups[g].textured && !missing) {
        EXPECT_EQ(picture(name), picture(want.groups[g].textureName));
      }
      want.groups[g].textured &= !missing;
      want.groups[g].textureName = name;
    }
    expectSameImage(want, back.image);
  }
}
