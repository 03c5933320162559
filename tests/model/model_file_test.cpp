// Saving and loading model files: the trace, the file on disk, what a save
// refuses or survives, and large files read on two threads.

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "model/model_builder.h"
#include "model/model_image.h"
#include "model/skeleton.h"
#include "support/fixtures.h"

namespace {

mode_t permissionsOf(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

TEST(ModelFileTest, SaveAndLoadTraceTheirFilesAndASaveNeverCostsTheOldFile) {
  ScratchDir dir;
  const std::string path = dir.file("model.mdl"), link = dir.file("link.mdl");
  Model model(path, nullptr), loaded("kept name", nullptr);
  Vertex* c = addVertex(model, 0, 1, 0);  // listed a, b, c: the list's head is the newest
  Vertex* b = addVertex(model, 1, 0, 0);
  addTriangle(model, addVertex(model, 0, 0, 0), b, c);
  const mode_t previousMask = umask(027);
  EXPECT_EQ(printedBy([&] { EXPECT_EQ(model.save(), 1); }), "Saving model to file: " + path + "\n");
  umask(previousMask);
  const std::string file = readFile(path);  // its exact text is the writer's, tested on its own
  EXPECT_EQ(file, formatModelFile(captureImage(model)));
  EXPECT_EQ(permissionsOf(path), 0640u);
  EXPECT_EQ(printedBy([&] { EXPECT_EQ(loaded.load(path), 1); }),
            "Reading model from file: " + path + "\n");
  EXPECT_EQ(loaded.name, "kept name");
  Model built("built", nullptr);  // what the reader builds, exactly, as the image test pins
  buildModel(captureImage(model), built, false);
  EXPECT_EQ(captureImage(loaded), captureImage(built));
  for (const std::string& bad : {dir.file("absent.mdl"), dir.path(), dir.file("cut.mdl")}) {
    writeFile(dir.file("cut.mdl"), file.substr(0, 60));
    const std::string trace = printedBy([&] { EXPECT_EQ(Model("m", nullptr).load(bad), 0); });
    EXPECT_EQ(trace, bad == dir.file("cut.mdl") ? "Reading model from file: " + bad + "\n" : "");
  }

  // Through a link the target is replaced, keeping its permissions.
  ASSERT_EQ(chmod(path.c_str(), 0604), 0);
  ASSERT_EQ(symlink("model.mdl", link.c_str()), 0);
  ASSERT_EQ(symlink("loop.mdl", dir.file("loop.mdl").c_str()), 0);
  SilencedStdout quiet;
  for (int i = 0; i < 200; ++i) addVertex(model, i, i, i);
  EXPECT_EQ(model.saveAs(link), 1);
  struct stat info;
  EXPECT_TRUE(lstat(link.c_str(), &info) == 0 && S_ISLNK(info.st_mode));
  EXPECT_EQ(permissionsOf(path), 0604u);
  const std::string saved = readFile(path);
  EXPECT_EQ(saved, formatModelFile(captureImage(model)));
  for (const std::string& target :
       {dir.path(), dir.file("missing/model.mdl"), dir.file("loop.mdl"), std::string()})
    EXPECT_EQ(model.saveAs(target), 0) << target;

  // A file size limit fills the "disk" after one kilobyte, even for root.
  struct rlimit previous, small;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
  small = previous;
  small.rlim_cur = 1024;
  auto previousHandler = signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const int result = model.saveAs(path);
  setrlimit(RLIMIT_FSIZE, &previous);
  signal(SIGXFSZ, previousHandler);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(readFile(path), saved);
  EXPECT_EQ(dir.entryCount(), 4);  // the model, the cut file and two links: no temporary left
}

}  // namespace
