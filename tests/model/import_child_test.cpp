#include "model/import_child.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include "model/model_builder.h"
#include "model/model_export.h"
#include "support/fixtures.h"
#include "support/format_fixtures.h"

namespace {

ImportResult importWith(const char* fault, const std::string& path, int seconds = 20,
                        uint64_t memory = 0) {
  if (fault) setenv("VANTOREL_IMPORT_FAULT", fault, 1);
  ImportResult result = importInChild(path, "named", nullptr, {VANTOREL_PROGRAM, seconds, memory});
  unsetenv("VANTOREL_IMPORT_FAULT");
  return result;
}

}  // namespace

TEST(ImportChild, HandsBackTheModelAndWhatItCouldNotKeep) {
  ScratchCwd scratch;
  writeFile("quad.obj", "v 0 0 0\nv 2 0 0\nv 2 1 0\nv 0 1 0\nf 1 2 3 4\n");
  EXPECT_EQ(importWith(nullptr, "quad.obj").changes,
            std::vector<std::string>{"quads split into triangles"});
  // A model with groups, a texture and bones comes back as its own copy would.
  writeFile("tex.bmp", tinyBmp());
  std::mt19937 rng(11);
  Model m("m", nullptr);
  buildRandomModel(m, rng, "tex.bmp", 3);
  ASSERT_TRUE(exportModel(m, "m.glb", nullptr));
  const ImportResult back = importWith(nullptr, "m.glb");
  ASSERT_NE(back.model, nullptr) << back.reason;
  EXPECT_EQ(back.model->name, "named");
  Model copy("copy", nullptr);  // built from the file's image, as the import's is
  buildModel(captureImage(m), copy, false);
  expectSameImage(captureImage(copy), captureImage(*back.model));
}

// Whatever goes wrong in the child, the caller gets a reason and no model.
TEST(ImportChild, CrashesHangsMemoryAndMalformedFilesGiveReasons) {
  ScratchCwd scratch;
  Model m("m", nullptr);
  SquareWithWing square(m);  // five vertices, all alike but for their position
  ASSERT_TRUE(exportModel(m, "good.glb", nullptr));
  const std::string glb = readFile("good.glb");
  writeFile("cut.glb", glb.substr(0, glb.size() / 2));
  std::string badView = glb;  // the positions read from the smaller view of the texture coordinates
  badView.replace(badView.find("\"bufferView\":0"), 14, "\"bufferView\":2");
  writeFile("bad.glb", badView);
  writeFile("bad.obj", "v 0 0 0\nv 1 0 0\nf 1 2 7\n");
  const struct {
    const char* fault;
    const char* file;
    int seconds;
    uint64_t memory;
    const char* reason;
  } cases[] = {
      {"crash", "good.glb", 20, 0, "The importer crashed (Aborted)."},
      {"hang", "good.glb", 1, 0, "The importer took longer than 1 seconds."},
      {"memory", "good.glb", 20, 256 << 20, "The importer needed more than its 256 MB of memory."},
      {nullptr, "cut.glb", 20, 0,
       "No suitable reader found for the file format of file \"cut.glb\"."},
      {nullptr, "bad.glb", 20, 0, "GLTF: count*stride 60 > maxSize 40 in accessors[0]"},
      {nullptr, "bad.obj", 20, 0, "OBJ: vertex index out of range"},
  };
  for (const auto& c : cases) {
    const ImportResult result = importWith(c.fault, c.file, c.seconds, c.memory);
    EXPECT_EQ(result.model, nullptr);
    EXPECT_EQ(result.reason, c.reason) << (c.fault ? c.fault : c.file);
  }
}
