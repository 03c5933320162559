// Importing other formats, directly and in a child process that may crash or hang.
#include "import/foreign_import.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include "formats/model_export.h"
#include "formats/model_file.h"
#include "import/import_child.h"
#include "model/model_builder.h"
#include "support/format_fixtures.h"

namespace {

ForeignModel imported(const std::string& path) {
  ForeignModel result;
  std::string reason;
  EXPECT_TRUE(importForeignModel(path, result, &reason)) << path << ": " << reason;
  return result;
}

ImportResult importWith(const char* fault, const std::string& path, int seconds = 20,
                        uint64_t memory = 0) {
  if (fault) setenv("VANTOREL_IMPORT_FAULT", fault, 1);
  ImportResult result = importInChild(path, "named", nullptr, {VANTOREL_PROGRAM, seconds, memory});
  unsetenv("VANTOREL_IMPORT_FAULT");
  return result;
}

}  // namespace

// Model -> file -> model gives back all the model file holds (OBJ keeps no bones).
TEST(ForeignImport, RandomModelsComeBackThroughEveryExportFormat) {
  ScratchCwd scratch;
  std::filesystem::create_directories("sub");
  writeFile("tex.bmp", tinyBmp());
  writeFile("sub/tex.bmp", tinyBmp());  // an OBJ's texture is read from its folder
  std::mt19937 rng(7);
  for (int round = 0; round < 12; ++round) {
    for (const char* path : {"m.glb", "m.gltf", "sub/m.obj"}) {
      Model m("m", nullptr);
      const bool obj = std::string(path).ends_with(".obj");
      const char* texture = round % 2 == 0 ? "" : obj ? "sub/tex.bmp" : "tex.bmp";
      buildRandomModel(m, rng, texture, obj ? 0 : static_cast<int>(rng() % 5));
      std::string reason;
      ASSERT_TRUE(exportModel(m, path, &reason)) << reason;
      ForeignModel back = imported(path);
      ModelImage want = captureImage(m);
      for (auto& group : want.groups)
        if (group.textured && std::string(path) == "m.gltf") group.textureName = "m_0.png";
      SCOPED_TRACE(std::string(path) + " round " + std::to_string(round));
      expectSameImage(want, back.image);
      EXPECT_TRUE(back.changes.empty());
    }
  }
}

TEST(ForeignImport, SaysWhatTheModelFileCannotKeep) {
  ScratchCwd scratch;
  writeFile("a_texture_name_too_long_for_the_file.bmp", tinyBmp());
  writeFile("q.mtl",
            "newmtl long\nmap_Kd a_texture_name_too_long_for_the_file.bmp\n"
            "newmtl gone\nmap_Kd another_texture_name_too_long_to_keep.bmp\n");
  writeFile("q.obj",
            "mtllib q.mtl\nv 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nusemtl long\n"
            "f 1 2 3 4\nusemtl gone\nf 1 2 3\nl 1 3\n");
  const ForeignModel q = imported("q.obj");
  EXPECT_EQ(q.changes,
            (std::vector<std::string>{"quads split into triangles", "points and lines dropped",
                                      "textures without a usable name dropped"}));
  ASSERT_EQ(q.image.groups.size(), 2u);
  EXPECT_EQ(q.image.groups[0].polygons.size(), 2u);
  EXPECT_EQ(q.image.groups[0].textureName, "q_0.bmp");  // copied beside the model
  EXPECT_EQ(readFile("q_0.bmp"), readFile("a_texture_name_too_long_for_the_file.bmp"));
  EXPECT_EQ(q.image.groups[1].textured, 0);
  EXPECT_EQ(q.image.vertices.size(), 4u);
}

TEST(ImportChild, HandsBackTheModelAndWhatItCouldNotKeep) {
  ScratchCwd scratch;
  writeFile("quad.obj", "v 0 0 0\nv 2 0 0\nv 2 1 0\nv 0 1 0\nf 1 2 3 4\n");
  EXPECT_EQ(importWith(nullptr, "quad.obj").changes,
            std::vector<std::string>{"quads split into triangles"});
  writeFile("tex.bmp", tinyBmp());  // groups, a texture and bones come back as in its own copy
  std::mt19937 rng(11);
  Model m("m", nullptr), copy("copy", nullptr);
  buildRandomModel(m, rng, "tex.bmp", 3);
  ASSERT_TRUE(exportModel(m, "m.glb", nullptr));
  const ImportResult back = importWith(nullptr, "m.glb");
  ASSERT_NE(back.model, nullptr) << back.reason;
  EXPECT_EQ(back.model->name, "named");
  buildModel(captureImage(m), copy, false);
  expectSameImage(captureImage(copy), captureImage(*back.model));
}

TEST(ImportChild, CrashesHangsMemoryAndMalformedFilesGiveReasons) {
  ScratchCwd scratch;
  Model m("m", nullptr);
  SquareWithWing square(m);
  ASSERT_TRUE(exportModel(m, "good.glb", nullptr));
  const std::string glb = readFile("good.glb");
  writeFile("cut.glb", glb.substr(0, glb.size() / 2));
  std::string badView = glb;  // positions read from the smaller view of the texture coordinates
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
       "The GLB file's header declares 1176 bytes, but the file holds 588."},
      {nullptr, "bad.glb", 20, 0, "GLTF: count*stride 60 > maxSize 40 in accessors[0]"},
      {nullptr, "bad.obj", 20, 0, "OBJ: vertex index out of range"},
  };
  for (const auto& c : cases) {
    const ImportResult result = importWith(c.fault, c.file, c.seconds, c.memory);
    EXPECT_EQ(result.model, nullptr);
    EXPECT_EQ(result.reason, c.reason) << (c.fault ? c.fault : c.file);
  }
}
