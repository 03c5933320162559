#include "model/foreign_import.h"

#include <assimp/scene.h>
#include <gtest/gtest.h>
#include <assimp/Exporter.hpp>
#include <assimp/Importer.hpp>

#include "model/model_export.h"
#include "support/format_fixtures.h"

namespace {

ForeignModel imported(const std::string& path) {
  ForeignModel result;
  std::string reason;
  EXPECT_TRUE(importForeignModel(path, result, &reason)) << path << ": " << reason;
  return result;
}

}  // namespace

// Model -> file -> model gives back vertices, triangles, texture coordinates,
// colours, texture names, bones and their triangles (OBJ keeps no bones).
TEST(ForeignImport, RandomModelsComeBackThroughEveryExportFormat) {
  ScratchCwd scratch;
  writeFile("tex.bmp", tinyBmp());
  std::mt19937 rng(7);
  for (int round = 0; round < 12; ++round) {
    for (const char* path : {"m.glb", "m.gltf", "sub/m.obj"}) {
      std::filesystem::create_directories("sub");
      Model m("m", nullptr);
      const bool obj = std::string(path).ends_with(".obj");
      buildRandomModel(m, rng, round % 2 ? "tex.bmp" : "", obj ? 0 : static_cast<int>(rng() % 5));
      std::string reason;
      ASSERT_TRUE(exportModel(m, path, &reason)) << reason;
      ForeignModel back = imported(path);
      ModelImage want = captureImage(m);
      // A .gltf's images are files of their own beside it.
      for (auto& group : want.groups)
        if (group.textured && std::string(path) == "m.gltf") group.textureName = "m_0.png";
      SCOPED_TRACE(std::string(path) + " round " + std::to_string(round));
      expectSameImage(want, back.image);
      EXPECT_TRUE(back.changes.empty());
    }
  }
}

TEST(ForeignImport, AGltfWrittenByAssimpItselfImports) {
  ScratchCwd scratch;
  std::mt19937 rng(3);
  Model m("m", nullptr);
  buildRandomModel(m, rng, "", 0);
  ASSERT_TRUE(exportModel(m, "m.obj", nullptr));
  Assimp::Importer importer;
  const aiScene* scene = importer.ReadFile("m.obj", 0);
  ASSERT_NE(scene, nullptr);
  ASSERT_EQ(Assimp::Exporter().Export(scene, "glb2", "assimp.glb"), AI_SUCCESS);
  expectSameImage(imported("m.obj").image, imported("assimp.glb").image);
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
