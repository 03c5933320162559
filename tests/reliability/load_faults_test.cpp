// A failed /open or /loadtex leaves model, name, selection and texture alone, and answers at once
// and stays small whatever the name is (a pipe, /dev/zero, a directory, gigabytes promised).

#include <sys/stat.h>

#include <sstream>
#include <vector>

#include "formats/model_file.h"
#include "support/child_process.h"
#include "support/editor_fixture.h"
#include "support/fixtures.h"

namespace {

using LoadFaultTest = EditorTest;

TEST_F(LoadFaultTest, WhatIsNoModelOrImageIsRefusedAndChangesNothing) {
  auto state = [&] {
    const Material& m = editor.doc.model->currentGroup->material;
    std::ostringstream out;
    out << editor.doc.model.get() << formatModelFile(captureImage(*editor.doc.model))
        << editor.doc.model->name << m.textureName << m.textured << m.textureId
        << editor.viewSet.uvTexture << editor.viewSet.showUvTexture
        << editor.doc.selectedVertices.count() << editor.doc.selectedPolygons.count()
        << editor.doc.selectedBone;
    return out.str();
  };
  ScratchDir dir;
  SquareWithWing square(*editor.doc.model);
  editor.doc.model->addBone(editor.doc.model->createRoot(0, 0, 0), 1, 1, 0);
  const std::string model = formatModelFile(captureImage(*editor.doc.model));
  const std::pair<const char*, std::string> files[] = {
      {"texture.bmp", tinyBmp()},
      {"cut.mdl", model.substr(0, model.size() / 2)},
      {"huge.bmp", bmpFile(100000, 100000, 24, std::string(64, 'x'))},  // 40 GB as RGBA
      {"strange.bmp", bmpFile(8, 16645888, 1, std::string(24, 'x'), 0xe0000000)},
  };
  for (const auto& [name, bytes] : files) writeFile(dir.file(name), bytes);
  ASSERT_EQ(mkfifo(dir.file("pipe").c_str(), 0644), 0);
  printedBy([&] { runConsoleCommand(editor, "/loadtex " + dir.file("texture.bmp")); });
  ASSERT_EQ(lastConsoleMessage(), "Texture Loaded!");
  selectAllVertices(editor);
  selectAllPolygons(editor);
  editor.doc.selectedBone = editor.doc.model->rootBone();
  const std::string before = state();
  std::vector<std::string> names = {dir.file("pipe"), "/dev/zero", "/dev/null", dir.file(""),
                                    dir.file("absent")};
  for (size_t i = 1; i < std::size(files); ++i) names.push_back(dir.file(files[i].first));

  struct rusage self {};
  getrusage(RUSAGE_SELF, &self);
  const ChildResult child = runInChild(
      [&] {
        SilencedStdout quiet;
        for (const auto& [command, answer] : {std::pair{"/open ", "Error! Model failed to load!"},
                                              {"/loadtex ", "Error! Texture failed to load!"}}) {
          for (const std::string& name : names) {
            runConsoleCommand(editor, command + name);
            const std::string error = editor.consoleMessages->currentList()->messageAt(1);
            if (error == answer && state() == before) continue;
            std::fprintf(stderr, "%s%s: %s\n", command, name.c_str(), lastConsoleMessage().c_str());
            return 1;
          }
        }
        return 0;
      },
      20, 0, rlim_t{1} << 31);
  EXPECT_EQ(child.code, 0);
  EXPECT_LT(child.maxRssKb, self.ru_maxrss + 64 * 1024) << "kilobytes at the peak";
}

}  // namespace
