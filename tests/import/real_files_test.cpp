// Files written by other tools (tests/data/imports, whose ORIGIN says how they were made), opened
// from another folder as the editor opens them: each comes in, is fitted in every view, keeps or
// names its texture, and comes back the same through glTF.

#include <gtest/gtest.h>

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
  RealFilesTest() { editor.importSettings.program = VANTOREL_PROGRAM; }

  // Every vertex lies in each flat view's visible rectangle.
  bool inEveryView() {
    for (Vertex* v : editor.model->vertices) {
      const double across[3] = {v->x, v->z, v->z}, up[3] = {v->y, v->y, v->x};
      for (int i = kSideView; i <= kTopView; ++i) {
        const Viewport& view = editor.views[i];
        if (across[i] < view.left || across[i] > view.right || up[i] < view.bottom ||
            up[i] > view.top)
          return false;
      }
    }
    return true;
  }
};

}  // namespace

TEST_F(RealFilesTest, EachOpensFitsKeepsOrNamesItsTextureAndComesBackThroughGltf) {
  const struct {
    const char* file;
    size_t vertices, triangles;
    const char* texture;  // the picture the texture shows: "" for none, "*" for the file's own
    const char* changes;
  } cases[] = {
      {"pyramid.fbx", 5, 6, "checker.png", "quads split into triangles"},
      {"pyramid.glb", 5, 6, "checker.png", ""},
      {"pyramid.3ds", 5, 6, "checker.png", ""},
      {"pyramid.ply", 5, 6, "checker.png", "quads split into triangles"},
      {"pyramid.mdl", 5, 6, "*", ""},  // Quake's binary model, its skin inside
      {"scan", 5, 6, "checker.png", "quads split into triangles"},  // a PLY without extension
      {"missing.3ds", 5, 6, "", "texture missing.png not found (No such file or directory)"},
      {"lines.obj", 3, 1, "", "1 point, 3 lines and 2 degenerate triangles dropped"},
  };
  ScratchCwd scratch;
  const std::string folder = "from/another/folder/", data = getenv("VANTOREL_TEST_DATA");
  fs::create_directories(folder);
  for (const auto& entry : fs::directory_iterator(data + "/imports"))
    fs::copy_file(entry.path(), folder + entry.path().filename().string());
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    std::string reason;
    bool opened = false;
    printedBy([&] { opened = openModel(editor, folder + c.file, &reason); });
    ASSERT_TRUE(opened) << reason;
    const ModelImage image = captureImage(*editor.model);
    EXPECT_EQ(image.vertices.size(), c.vertices);
    size_t triangles = 0;
    for (const auto& group : image.groups) triangles += group.polygons.size();
    EXPECT_EQ(triangles, c.triangles);
    EXPECT_TRUE(inEveryView());
    EXPECT_EQ(lastConsoleMessage(),
              *c.changes ? std::string("Import: ") + c.changes : "Model successfully loaded!");
    const ModelImage::GroupRecord& group = image.groups.back();
    const bool missing = std::string(c.file) == "missing.3ds";
    EXPECT_EQ(group.textured, *c.texture || missing ? 1 : 0);
    if (missing) {
      EXPECT_EQ(group.textureName, folder + "missing.png");
    } else if (*c.texture) {
      const std::string shows = *c.texture == '*' ? group.textureName : folder + c.texture;
      EXPECT_FALSE(picture(shows).empty());
      EXPECT_EQ(picture(group.textureName), picture(shows));
    }
    ASSERT_EQ(exportModel(*editor.model, "back.glb", &reason), !missing) << reason;
    if (missing) continue;
    ForeignModel back;
    ASSERT_TRUE(importForeignModel("back.glb", back, &reason)) << reason;
    ModelImage want = image;
    for (size_t g = 0; g < want.groups.size() && g < back.image.groups.size(); ++g) {
      const std::string& name = back.image.groups[g].textureName;
      if (want.groups[g].textured) {
        EXPECT_EQ(picture(name), picture(want.groups[g].textureName));
      }
      want.groups[g].textureName = name;
    }
    expectSameImage(want, back.image);
  }
}
