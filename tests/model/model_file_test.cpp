// Saving, loading and copying models: the exact file text, round trips, and
// failures that must leave both the file on disk and the model in memory as
// they were.

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "model/model.h"
#include "model/model_fixtures.h"
#include "model/model_image.h"

namespace {

const char* kEmptyModelFile = "0\n1\n0\n0\n1.000000 1.000000 1.000000 1.000000\n0\n";

int quietly(const std::function<int()>& fileOperation) {
  testing::internal::CaptureStdout();
  const int result = fileOperation();
  testing::internal::GetCapturedStdout();
  return result;
}

TEST(ModelFileTest, OneTriangleIsSavedAsTheTenLineFile) {
  ScratchDir dir;
  Model model(dir.file("triangle.mdl"), nullptr);
  buildOneTriangle(model);
  testing::internal::CaptureStdout();
  EXPECT_EQ(model.save(), 1);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Saving model to file: " + dir.file("triangle.mdl") + "\n");
  EXPECT_EQ(readFile(dir.file("triangle.mdl")), kOneTriangleFile);
  EXPECT_EQ(dir.entryCount(), 1);  // no temporary left behind

  Model empty(dir.file("empty.mdl"), nullptr);
  EXPECT_EQ(quietly([&] { return empty.save(); }), 1);
  EXPECT_EQ(readFile(dir.file("empty.mdl")), kEmptyModelFile);
}

TEST(ModelFileTest, TheTenLineFileLoadsWithListsReversed) {
  ScratchDir dir;
  writeFile(dir.file("triangle.mdl"), kOneTriangleFile);
  Model model("kept name", nullptr);
  testing::internal::CaptureStdout();
  EXPECT_EQ(model.load(dir.file("triangle.mdl")), 1);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Reading model from file: " + dir.file("triangle.mdl") + "\n");
  EXPECT_EQ(model.name, "kept name");
  ASSERT_EQ(model.vertices.count(), 3);
  EXPECT_EQ(model.vertices.headItem()->y, 1.0);  // the file's last vertex
  Polygon* polygon = model.currentGroup->polygons.headItem();
  EXPECT_EQ(polygon->vertices[1]->x, 1.0);
  EXPECT_EQ(polygon->vertices[2], model.vertices.headItem());
  EXPECT_EQ(model.hasSkeleton, 0);
}

TEST(ModelFileTest, TwoRoundTripsGiveBackGroupsTexturesAndBones) {
  ScratchDir dir;
  Model model("unsaved", nullptr);
  RichModel rich(model);
  Model once("once", nullptr), twice("twice", nullptr);
  testing::internal::CaptureStdout();
  ASSERT_EQ(model.saveAs(dir.file("a.mdl")), 1);
  ASSERT_EQ(once.load(dir.file("a.mdl")), 1);
  ASSERT_EQ(once.saveAs(dir.file("b.mdl")), 1);
  ASSERT_EQ(twice.load(dir.file("b.mdl")), 1);
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(model.name, dir.file("a.mdl"));
  // Each write and read reverses every list; two restore the order.
  EXPECT_EQ(captureImage(twice), captureImage(model));
  EXPECT_EQ(once.vertices.headItem()->z, 0.0);
  EXPECT_EQ(once.vertices.tailItem()->z, 8.0);
}

TEST(ModelFileTest, CopyIsWhatSavingAndLoadingGivesWithoutTouchingDisk) {
  ScratchDir dir;
  Model model(dir.file("rich.mdl"), nullptr);
  RichModel rich(model);
  model.vertices.headItem()->x = 1.0 / 3;
  model.vertices.headItem()->selected = 1;
  rich.mapped->uvs[0].u = -1e-9;
  rich.mapped->smooth = rich.mapped->flipped = rich.mapped->selected = 1;
  rich.leaves[2]->end->z = 2.0 / 3;

  testing::internal::CaptureStdout();
  std::unique_ptr<Model> copy = model.copy();
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(dir.entryCount(), 0);
  EXPECT_EQ(copy->name, model.name);

  Model loaded("loaded", nullptr);
  ASSERT_EQ(quietly([&] { return model.save() && loaded.load(model.name); }), 1);
  EXPECT_EQ(captureImage(*copy), captureImage(loaded));
  EXPECT_EQ(copy->vertices.tailItem()->x, 0.333333);
  EXPECT_EQ(copy->vertices.tailItem()->selected, 0);
  Polygon* mapped = copy->groups.headItem()->polygons.headItem();
  EXPECT_EQ(mapped->smooth + mapped->flipped + mapped->selected, 0);
  EXPECT_EQ(mapped->normal, (Vec3{0, 1, 0}));
  EXPECT_EQ(mapped->uvMapped, 1);
}

TEST(ModelFileTest, SaveKeepsPermissionsAndWritesThroughSymbolicLinks) {
  ScratchDir dir;
  const mode_t previousMask = umask(027);
  Model model(dir.file("model.mdl"), nullptr);
  quietly([&] { return model.save(); });
  umask(previousMask);
  struct stat info;
  ASSERT_EQ(stat(dir.file("model.mdl").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);

  ASSERT_EQ(chmod(dir.file("model.mdl").c_str(), 0604), 0);
  ASSERT_EQ(symlink("model.mdl", dir.file("link.mdl").c_str()), 0);
  buildOneTriangle(model);
  EXPECT_EQ(quietly([&] { return model.saveAs(dir.file("link.mdl")); }), 1);
  ASSERT_EQ(lstat(dir.file("link.mdl").c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));
  ASSERT_EQ(stat(dir.file("model.mdl").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0604u);
  EXPECT_EQ(readFile(dir.file("model.mdl")), kOneTriangleFile);
}

TEST(ModelFileTest, SaveRefusesTargetsThatAreNotFilesOrCannotBeCreated) {
  ScratchDir dir;
  ASSERT_EQ(mkdir(dir.file("folder").c_str(), 0755), 0);
  for (const std::string& target : {dir.file("folder"), std::string("/dev/full"),
                                    dir.file("missing/model.mdl"), std::string()}) {
    Model model(target, nullptr);
    buildOneTriangle(model);
    testing::internal::CaptureStdout();
    EXPECT_EQ(model.save(), 0) << target;
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << target;
  }
  EXPECT_EQ(dir.entryCount(), 1);
}

TEST(ModelFileTest, FailedWriteKeepsTheOldFile) {
  ScratchDir dir;
  Model model(dir.file("model.mdl"), nullptr);
  buildOneTriangle(model);
  ASSERT_EQ(quietly([&] { return model.save(); }), 1);
  for (int i = 0; i < 200; ++i) addVertex(model, i, i, i);

  // A file size limit fills the "disk" after one kilobyte, even for root.
  struct rlimit previous, small;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
  small = previous;
  small.rlim_cur = 1024;
  auto previousHandler = signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const int result = quietly([&] { return model.save(); });
  setrlimit(RLIMIT_FSIZE, &previous);
  signal(SIGXFSZ, previousHandler);

  EXPECT_EQ(result, 0);
  EXPECT_EQ(readFile(dir.file("model.mdl")), kOneTriangleFile);
  EXPECT_EQ(dir.entryCount(), 1);
}

TEST(ModelFileTest, FailedLoadLeavesTheModelAsItWas) {
  ScratchDir dir;
  Model model("m", nullptr);
  RichModel rich(model);
  const ModelImage before = captureImage(model);
  PolygonGroup* group = model.currentGroup;
  Bone* root = model.rootBone();

  testing::internal::CaptureStdout();
  EXPECT_EQ(model.load(dir.file("absent.mdl")), 0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  writeFile(dir.file("cut.mdl"), std::string(kOneTriangleFile).substr(0, 60));
  writeFile(dir.file("trailing.mdl"), std::string(kOneTriangleFile) + "x\n");
  for (const char* name : {"cut.mdl", "trailing.mdl", ""}) {
    EXPECT_EQ(quietly([&] { return model.load(dir.file(name)); }), 0) << name;
  }
  EXPECT_EQ(captureImage(model), before);
  EXPECT_EQ(model.currentGroup, group);
  EXPECT_EQ(model.rootBone(), root);
}

// Saves the large model as "large.mdl" in `dir`; the file's text.
std::string savedLargeModel(const ScratchDir& dir) {
  Model original(dir.file("large.mdl"), nullptr);
  buildLargeModel(original);
  return quietly([&] { return original.save(); }) == 1 ? readFile(dir.file("large.mdl")) : "";
}

TEST(ModelFileTest, LargeLoadGivesWhatReadingThenBuildingGives) {
  ScratchDir dir;
  const std::string text = savedLargeModel(dir);
  ASSERT_FALSE(text.empty());
  ModelImage parsed;
  ASSERT_TRUE(parseModelFile(text, parsed));
  Model reference("reference", nullptr);
  buildModel(parsed, reference, false);

  Model model("m", nullptr);
  RichModel rich(model);
  Vertex* earlier = model.vertices.headItem();
  const double earlierX = earlier->x;
  ASSERT_EQ(quietly([&] { return model.load(dir.file("large.mdl")); }), 1);
  EXPECT_EQ(model.polygonCount(), 2 * 119 * 119);
  EXPECT_EQ(captureImage(model), captureImage(reference));
  EXPECT_EQ(model.currentGroup, model.groups.headItem());
  // Records of the model before the load stay readable: a selection may
  // still point at them.
  EXPECT_EQ(earlier->x, earlierX);
}

TEST(ModelFileTest, LargeFileFailingLateLeavesTheModelAsItWas) {
  ScratchDir dir;
  const std::string text = savedLargeModel(dir);
  ASSERT_FALSE(text.empty());
  const size_t lastGroupColour = text.rfind("1.000000 1.000000\n");
  ASSERT_NE(lastGroupColour, std::string::npos);
  const std::string damaged[] = {
      text.substr(0, text.size() / 2),                // cut in the polygons
      text.substr(0, text.size() - 4),                // cut in the skeleton
      text.substr(0, lastGroupColour) + "x\n",        // a bad colour after all polygons
      text + "9\n",                                   // trailing text
      text.substr(0, 40) + "\n-3" + text.substr(40),  // a bad vertex early on
  };

  Model model("m", nullptr);
  RichModel rich(model);
  const ModelImage before = captureImage(model);
  PolygonGroup* group = model.currentGroup;
  for (size_t i = 0; i < std::size(damaged); ++i) {
    writeFile(dir.file("damaged.mdl"), damaged[i]);
    EXPECT_EQ(quietly([&] { return model.load(dir.file("damaged.mdl")); }), 0) << i;
    EXPECT_EQ(captureImage(model), before) << i;
    EXPECT_EQ(model.currentGroup, group) << i;
  }
}

}  // namespace
