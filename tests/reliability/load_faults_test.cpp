// Opening what is no whole model file, or loading what is no readable image as
// a texture, leaves the model, its name, the selection and the current
// group's texture as they were; whatever the name refers to (a pipe without a
// writer, /dev/zero, a directory, a header promising gigabytes of pixels), the
// editor answers at once and stays small.

#include <sys/stat.h>

#include <sstream>
#include <vector>

#include "console/console_commands.h"
#include "support/child_process.h"
#include "support/editor_fixture.h"
#include "support/fixtures.h"
#include "tools/selection.h"

namespace {

class LoadFaultTest : public EditorTest {
 protected:
  // Everything a failed /open or /loadtex must leave alone.
  std::string state() {
    const Material& m = editor.model->currentGroup->material;
    std::ostringstream out;
    out << editor.model.get() << formatModelFile(captureImage(*editor.model)) << editor.model->name
        << m.textureName << m.textured << m.textureId << editor.uvTexture << editor.showUvTexture
        << editor.selectedVertices.count() << editor.selectedPolygons.count()
        << editor.selectedBone;
    return out.str();
  }
  ScratchDir dir;
};

TEST_F(LoadFaultTest, WhatIsNoModelOrImageIsRefusedAndChangesNothing) {
  // Two groups, the second textured, and a root bone with a child.
  const std::string model =
      "4\n0 0 0\n1 0 0\n0 1 0\n1 1 -2.5\n2\n1\n0 1 2 0 1 0 0 0 1 \n0\n1 0 0 1\n2\n"
      "1 2 3 0.25 0.5 0.75 0 0 0 \n3 0 1 0 0 0 0 0 0 \n1\nold.bmp\n0.5 0.5 0.5 1\n"
      "2\n1 0 0 0 0 0 0 -1\n2 0 1 0 0 0 1 2 -1\n";
  const std::pair<const char*, std::string> files[] = {
      {"model.mdl", model},
      {"texture.bmp", tinyBmp()},
      {"cut.mdl", model.substr(0, model.size() / 2)},
      {"trailing.mdl", model + "1\n"},
      {"count.mdl", "1e400" + model.substr(1)},  // vertex count out of range
      {"corner.mdl", "2\n0 0 0\n1 1 1\n1\n1\n0 1 2 0 0 0 0 0 0\n0\n1 1 1 1\n0\n"},  // no vertex 2
      {"zeros.mdl", std::string(4096, '\0')},
      {"empty.bmp", ""},
      {"cut.bmp", bmpFile(2, 2, 24, std::string(15, 'x'))},             // one byte short
      {"huge.bmp", bmpFile(100000, 100000, 24, std::string(64, 'x'))},  // 40 GB as RGBA
      // 8 x 16,645,888 pixels (half a gigabyte) of a compression nobody knows.
      {"strange.bmp", bmpFile(8, 16645888, 1, std::string(24, 'x'), 0xe0000000)},
      {"depthless.bmp", bmpFile(16384, 16384, 0, std::string(24, 'x'))},  // no bits per pixel
  };
  for (const auto& [name, bytes] : files) writeFile(dir.file(name), bytes);
  ASSERT_EQ(mkfifo(dir.file("pipe").c_str(), 0644), 0);
  printedBy([&] {
    runConsoleCommand(editor, "/open " + dir.file("model.mdl"));
    runConsoleCommand(editor, "/loadtex " + dir.file("texture.bmp"));
  });
  ASSERT_EQ(lastConsoleMessage(), "Texture Loaded!");
  ASSERT_EQ(editor.model->name, dir.file("model.mdl"));
  ASSERT_EQ(editor.model->vertices.count(), 4);
  selectAllVertices(editor);
  selectAllPolygons(editor);
  editor.selectedBone = editor.model->rootBone();
  const std::string before = state();
  std::vector<std::string> names = {dir.file("pipe"), "/dev/zero", "/dev/null", dir.file(""),
                                    dir.file("absent")};
  for (size_t i = 2; i < std::size(files); ++i) names.push_back(dir.file(files[i].first));

  struct rusage self {};
  getrusage(RUSAGE_SELF, &self);
  const ChildResult child = runInChild(
      [&] {
        SilencedStdout quiet;
        for (const auto& [command, answer] : {std::pair{"/open ", "Error! Model failed to load!"},
                                              {"/loadtex ", "Error! Texture failed to load!"}}) {
          for (const std::string& name : names) {
            runConsoleCommand(editor, command + name);
            if (lastConsoleMessage() == answer && state() == before) continue;
            std::fprintf(stderr, "%s%s: %s\n", command, name.c_str(), lastConsoleMessage().c_str());
            return 1;
          }
        }
        return 0;
      },
      20, 0, rlim_t{1} << 31);
  EXPECT_TRUE(child.exited && child.code == 0) << "ended by signal " << child.signal;
  EXPECT_LT(child.maxRssKb, self.ru_maxrss + 64 * 1024) << "kilobytes at the peak";
}

}  // namespace
