// Saving, loading and copying models: the exact file text, round trips, and
// failures that must leave both the file on disk and the model in memory as
// they were.

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include <gtest/gtest.h>

#include "model/model.h"
#include "model/model_fixtures.h"
#include "model/model_image.h"
#include "model/skeleton.h"

namespace {

const char* kEmptyModelFile = "0\n1\n0\n0\n1.000000 1.000000 1.000000 1.000000\n0\n";

std::string saveCapturingOutput(Model& model, int& result) {
  testing::internal::CaptureStdout();
  result = model.save();
  return testing::internal::GetCapturedStdout();
}

// A strip of `count` triangles, enough text to run past small limits.
void buildStrip(Model& model, int count) {
  Vertex* previous[2] = {addVertex(model, 0, 0, 0), addVertex(model, 0, 1, 0)};
  for (int i = 1; i <= count; ++i) {
    Vertex* next = addVertex(model, i, i % 2, 0.5);
    addPolygon(model, model.currentGroup, previous[0], previous[1], next);
    previous[0] = previous[1];
    previous[1] = next;
  }
}

// Everything about two models that a copy or a reload decides, records
// compared in list order.
void expectSameState(Model& a, Model& b) {
  EXPECT_EQ(summarize(a), summarize(b));
  EXPECT_EQ(captureImage(a), captureImage(b));
  ASSERT_EQ(a.vertices.count(), b.vertices.count());
  for (int i = 0; i < a.vertices.count(); ++i) {
    EXPECT_EQ(a.vertices.at(i)->selected, b.vertices.at(i)->selected);
    EXPECT_EQ(a.vertices.at(i)->uvMapped, b.vertices.at(i)->uvMapped);
  }
  ASSERT_EQ(a.groups.count(), b.groups.count());
  for (int g = 0; g < a.groups.count(); ++g) {
    List<Polygon>& pa = a.groups.at(g)->polygons;
    List<Polygon>& pb = b.groups.at(g)->polygons;
    ASSERT_EQ(pa.count(), pb.count());
    for (int i = 0; i < pa.count(); ++i) {
      const Polygon& x = *pa.at(i);
      const Polygon& y = *pb.at(i);
      EXPECT_EQ(x.selected, y.selected);
      EXPECT_EQ(x.uvMapped, y.uvMapped);
      EXPECT_EQ(x.smooth, y.smooth);
      EXPECT_EQ(x.flipped, y.flipped);
      EXPECT_EQ(x.normal, y.normal);
      for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(x.cornerNormals[c], y.cornerNormals[c]);
        EXPECT_EQ(x.uvs[c].mapped, y.uvs[c].mapped);
        EXPECT_EQ(x.uvs[c].selected, y.uvs[c].selected);
      }
    }
  }
  EXPECT_EQ(a.hasSkeleton, b.hasSkeleton);
  if (a.hasSkeleton && b.hasSkeleton) {
    EXPECT_EQ(a.skeleton->boneCount, b.skeleton->boneCount);
  }
  EXPECT_EQ(a.currentGroup == a.groups.headItem(), b.currentGroup == b.groups.headItem());
}

TEST(ModelFileTest, OneTriangleIsSavedAsTheTenLineFile) {
  ScratchDir dir;
  Model model(dir.file("triangle.mdl"), nullptr);
  buildOneTriangle(model);
  int result;
  EXPECT_EQ(saveCapturingOutput(model, result),
            "Saving model to file: " + dir.file("triangle.mdl") + "\n");
  EXPECT_EQ(result, 1);
  EXPECT_EQ(readFile(dir.file("triangle.mdl")), kOneTriangleFile);
  EXPECT_EQ(model.vertices.at(2)->fileIndex, 2);
  EXPECT_EQ(dir.entryCount(), 1);  // no temporary left behind
}

TEST(ModelFileTest, TheTenLineFileLoadsReversed) {
  ScratchDir dir;
  writeFile(dir.file("triangle.mdl"), kOneTriangleFile);
  Model model("kept name", nullptr);
  testing::internal::CaptureStdout();
  EXPECT_EQ(model.load(dir.file("triangle.mdl")), 1);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Reading model from file: " + dir.file("triangle.mdl") + "\n");
  EXPECT_EQ(model.name, "kept name");
  ASSERT_EQ(model.vertices.count(), 3);
  EXPECT_EQ(model.vertices.headItem()->y, 1.0);  // the last vertex of the file
  ASSERT_EQ(model.currentGroup->polygons.count(), 1);
  Polygon* polygon = model.currentGroup->polygons.headItem();
  EXPECT_EQ(polygon->vertices[1]->x, 1.0);
  EXPECT_EQ(polygon->vertices[2], model.vertices.headItem());
  EXPECT_EQ(polygon->uvMapped, 0);
  EXPECT_EQ(polygon->normal, (Vec3{0, 1, 0}));
  EXPECT_EQ(model.hasSkeleton, 0);
}

TEST(ModelFileTest, EmptyModelWritesTheShortestFileAndReadsBack) {
  ScratchDir dir;
  Model model(dir.file("empty.mdl"), nullptr);
  int result;
  saveCapturingOutput(model, result);
  ASSERT_EQ(result, 1);
  EXPECT_EQ(readFile(dir.file("empty.mdl")), kEmptyModelFile);
  Model loaded("loaded", nullptr);
  ASSERT_EQ(loaded.load(dir.file("empty.mdl")), 1);
  EXPECT_EQ(loaded.vertices.count(), 0);
  EXPECT_EQ(loaded.groups.count(), 1);
  EXPECT_EQ(loaded.currentGroup->polygons.count(), 0);
}

TEST(ModelFileTest, GroupsTexturesAndBonesSurviveSaveAndLoad) {
  ScratchDir dir;
  Model model("unsaved", nullptr);
  RichModel rich(model);
  testing::internal::CaptureStdout();
  ASSERT_EQ(model.saveAs(dir.file("rich.mdl")), 1);
  EXPECT_EQ(model.name, dir.file("rich.mdl"));

  Model loaded("loaded", nullptr);
  ASSERT_EQ(loaded.load(dir.file("rich.mdl")), 1);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Saving model to file: " + dir.file("rich.mdl") + "\n" +
                "Reading model from file: " + dir.file("rich.mdl") + "\n" +
                "Read texture name: wood.bmp\n"
                "Read texture name: textures/a_name_well_over_thirty_one_characters.bmp\n");
  EXPECT_EQ(summarize(loaded), summarize(model).reversed());
  EXPECT_EQ(loaded.skeleton->boneCount, 15);
  EXPECT_EQ(loaded.rootBone()->children[0]->childCount(), 12);
}

TEST(ModelFileTest, CopyIsWhatSavingAndLoadingGivesWithoutTouchingDisk) {
  ScratchDir dir;
  Model model(dir.file("rich.mdl"), nullptr);
  RichModel rich(model);
  // Numbers the file rounds, and state the file does not carry.
  model.vertices.headItem()->x = 1.0 / 3;
  model.vertices.headItem()->selected = 1;
  rich.mapped->uvs[0].u = -1e-9;
  rich.mapped->uvs[1].v = 0.1234565;
  rich.mapped->smooth = 1;
  rich.mapped->flipped = 1;
  rich.mapped->selected = 1;
  rich.leaves[2]->end->z = 2.0 / 3;
  const ModelSummary before = summarize(model);

  testing::internal::CaptureStdout();
  std::unique_ptr<Model> copy = model.copy();
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(dir.entryCount(), 0);
  EXPECT_EQ(copy->name, model.name);
  EXPECT_EQ(summarize(model), before);

  testing::internal::CaptureStdout();
  ASSERT_EQ(model.save(), 1);
  Model loaded(model.name, nullptr);
  ASSERT_EQ(loaded.load(model.name), 1);
  testing::internal::GetCapturedStdout();
  expectSameState(*copy, loaded);
  EXPECT_EQ(copy->vertices.tailItem()->x, 0.333333);
}

TEST(ModelFileTest, CopyOfACopyIsTheOriginalAgain) {
  Model model("m", nullptr);
  RichModel rich(model);
  std::unique_ptr<Model> twice = model.copy()->copy();
  EXPECT_EQ(summarize(*twice), summarize(model));
}

TEST(ModelFileTest, SaveKeepsPermissionsAndWritesThroughSymbolicLinks) {
  ScratchDir dir;
  Model model(dir.file("model.mdl"), nullptr);
  int result;
  saveCapturingOutput(model, result);
  ASSERT_EQ(chmod(dir.file("model.mdl").c_str(), 0640), 0);
  ASSERT_EQ(symlink("model.mdl", dir.file("link.mdl").c_str()), 0);

  buildOneTriangle(model);
  model.name = dir.file("link.mdl");
  saveCapturingOutput(model, result);
  EXPECT_EQ(result, 1);
  struct stat info;
  ASSERT_EQ(lstat(dir.file("link.mdl").c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));
  ASSERT_EQ(stat(dir.file("model.mdl").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  EXPECT_EQ(readFile(dir.file("model.mdl")), kOneTriangleFile);
  EXPECT_EQ(dir.entryCount(), 2);
}

TEST(ModelFileTest, NewFilesGetTheUsualPermissions) {
  ScratchDir dir;
  const mode_t previous = umask(027);
  Model model(dir.file("new.mdl"), nullptr);
  int result;
  saveCapturingOutput(model, result);
  umask(previous);
  struct stat info;
  ASSERT_EQ(stat(dir.file("new.mdl").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST(ModelFileTest, SaveRefusesTargetsThatAreNotFiles) {
  ScratchDir dir;
  ASSERT_EQ(mkdir(dir.file("folder").c_str(), 0755), 0);
  for (const std::string& target :
       {dir.file("folder"), std::string("/dev/full"), dir.file("missing/dir/model.mdl")}) {
    Model model(target, nullptr);
    buildOneTriangle(model);
    int result;
    EXPECT_EQ(saveCapturingOutput(model, result), "") << target;
    EXPECT_EQ(result, 0) << target;
  }
  struct stat info;
  ASSERT_EQ(stat(dir.file("folder").c_str(), &info), 0);
  EXPECT_TRUE(S_ISDIR(info.st_mode));
  EXPECT_EQ(dir.entryCount(), 1);
}

TEST(ModelFileTest, FailedWriteKeepsTheOldFile) {
  ScratchDir dir;
  Model model(dir.file("model.mdl"), nullptr);
  buildOneTriangle(model);
  int result;
  saveCapturingOutput(model, result);
  ASSERT_EQ(result, 1);

  buildStrip(model, 2000);
  // A file size limit makes the disk "full" after a few kilobytes, even for root.
  struct rlimit previous;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
  struct rlimit small = previous;
  small.rlim_cur = 4096;
  auto previousHandler = signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  saveCapturingOutput(model, result);
  setrlimit(RLIMIT_FSIZE, &previous);
  signal(SIGXFSZ, previousHandler);

  EXPECT_EQ(result, 0);
  EXPECT_EQ(readFile(dir.file("model.mdl")), kOneTriangleFile);
  EXPECT_EQ(dir.entryCount(), 1);
}

TEST(ModelFileTest, SaveIntoAReadOnlyDirectoryFails) {
  if (geteuid() == 0) GTEST_SKIP() << "directory permissions do not bind root";
  ScratchDir dir;
  Model model(dir.file("model.mdl"), nullptr);
  int result;
  saveCapturingOutput(model, result);
  ASSERT_EQ(chmod(dir.file("").c_str(), 0555), 0);
  buildOneTriangle(model);
  EXPECT_EQ(saveCapturingOutput(model, result), "");
  EXPECT_EQ(result, 0);
  EXPECT_EQ(readFile(dir.file("model.mdl")), kEmptyModelFile);
}

TEST(ModelFileTest, FailedLoadLeavesTheModelAsItWas) {
  ScratchDir dir;
  Model model("m", nullptr);
  RichModel rich(model);
  const ModelSummary before = summarize(model);
  PolygonGroup* group = model.currentGroup;
  Bone* root = model.rootBone();

  testing::internal::CaptureStdout();
  EXPECT_EQ(model.load(dir.file("absent.mdl")), 0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

  writeFile(dir.file("cut.mdl"), std::string(kOneTriangleFile).substr(0, 60));
  writeFile(dir.file("trailing.mdl"), std::string(kOneTriangleFile) + "x\n");
  for (const char* name : {"cut.mdl", "trailing.mdl", ""}) {
    testing::internal::CaptureStdout();
    EXPECT_EQ(model.load(dir.file(name)), 0) << name;
    testing::internal::GetCapturedStdout();
  }
  EXPECT_EQ(summarize(model), before);
  EXPECT_EQ(model.currentGroup, group);
  EXPECT_EQ(model.rootBone(), root);
}

}  // namespace
