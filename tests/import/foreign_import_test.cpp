// Importing other formats, directly and in a child process that may crash or hang.
#include "import/foreign_import.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <filesystem>
#include <map>
#include <thread>

#include "formats/model_export.h"
#include "formats/model_file.h"
#include "import/import_child.h"
#include "support/arm_fixture.h"
#include "support/child_process.h"
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

// Per vertex position, its triangles' bones and how many of its corners each has: the weights
// it poses with. An export's triangles come back to bones that give every vertex the same ones
// (which triangle of a vertex has which bone may differ where its weights cannot tell).
std::map<std::array<long, 3>, std::map<int, int>> boneShares(const ModelImage& m) {
  std::map<std::array<long, 3>, std::map<int, int>> shares;
  std::vector<int> boneOf;
  for (const auto& g : m.groups) boneOf.resize(boneOf.size() + g.polygons.size(), 0);
  for (size_t b = 0; b < m.bones.size(); ++b)
    for (int p : m.bones[b].polygons) boneOf[p] = static_cast<int>(b);
  size_t number = 0;
  for (const auto& g : m.groups)
    for (const auto& p : g.polygons) {
      for (int c : p.corners) {
        const Vec3& v = m.vertices[c];
        ++shares[{std::lround(v.x * 1e4), std::lround(v.y * 1e4), std::lround(v.z * 1e4)}]
                [boneOf[number]];
      }
      ++number;
    }
  return shares;
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
      EXPECT_EQ(boneShares(want), boneShares(back.image));
      EXPECT_TRUE(back.image.weights.empty()) << "the weights derive from the triangles again";
      ModelImage wantAnyTriangle = want, backAnyTriangle = back.image;
      for (auto* image : {&wantAnyTriangle, &backAnyTriangle})
        for (auto& bone : image->bones) bone.polygons.clear();
      expectSameImage(wantAnyTriangle, backAnyTriangle);
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
  EXPECT_EQ(q.changes,  // a missing texture keeps its name, the whole path when no other fits
            (std::vector<std::string>{
                "quads split into triangles", "1 line dropped",
                "texture another_texture_name_too_long_to_keep.bmp not found (No such file or "
                "directory)"}));
  ASSERT_EQ(q.image.groups.size(), 2u);
  EXPECT_EQ(q.image.groups[0].polygons.size(), 2u);
  EXPECT_EQ(q.image.groups[0].textureName, "q_0.bmp");  // copied beside the model
  EXPECT_EQ(readFile("q_0.bmp"), readFile("a_texture_name_too_long_for_the_file.bmp"));
  EXPECT_EQ(
      q.image.groups[1].textureName,
      (std::filesystem::current_path() / "another_texture_name_too_long_to_keep.bmp").string());
  EXPECT_EQ(q.image.vertices.size(), 4u);
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
      {"longline", "good.glb", 20, 0,
       "The importer's answer was unreadable (a line longer than 64 KB)."},
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

TEST(ImportChild, DiesWithTheEditor) {
  ScratchCwd scratch;
  Model m("m", nullptr);
  SquareWithWing square(m);
  const std::string file = (std::filesystem::current_path() / "hanging.glb").string();
  ASSERT_TRUE(exportModel(m, file, nullptr));
  const auto importing = [&] {  // an import child at work on the file
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
      const std::string cmdline = readFile((entry.path() / "cmdline").string());
      if (cmdline.find("--import-child") != std::string::npos &&
          cmdline.find(file) != std::string::npos)
        return true;
    }
    return false;
  };
  std::atomic<bool> seen{false};  // at work before the editor's end
  std::atomic<bool> started{false};  // the fork must not copy a lock the starting thread holds
  std::thread watch([&] {
    started = true;
    for (int i = 0; i < 290 && !seen; ++i) seen = (usleep(10000), importing());
  });
  while (!started) usleep(1000);
  const ChildResult editor =
      runInChild([&] { return importWith("hang", file, 20).model ? 0 : 1; }, 30, 3000000);
  watch.join();
  EXPECT_TRUE(seen);
  EXPECT_EQ(editor.code, -1);  // killed
  bool gone = false;
  for (int i = 0; i < 200 && !(gone = !importing()); ++i) usleep(10000);
  EXPECT_TRUE(gone);
}

// Joint node names come in as bone names when they can be ("boneN" on bone N is the export's
// name for no name); the others are left out and said, shown safely.
TEST(ForeignImport, JointNamesBecomeBoneNamesWhenTheyAreUsable) {
  ScratchCwd scratch;
  Model m("m", nullptr);
  Arm arm(m);
  arm.root->name = "hip", arm.upper->name = "arm.L";
  ASSERT_TRUE(exportModel(m, "a.gltf", nullptr));
  const ForeignModel a = imported("a.gltf");
  EXPECT_EQ(a.image.boneNames,
            (std::vector<std::pair<int, std::string>>{{0, "hip"}, {1, "arm.L"}}));
  EXPECT_TRUE(a.changes.empty());
  std::string text = readFile("a.gltf");
  for (const auto& [from, to] :
       {std::pair{"\"hip\"", "\"sk\\u001bin\""}, {"\"arm.L\"", "\"upper arm\""}})
    text.replace(text.find(from), std::string(from).size(), to);
  writeFile("b.gltf", text);
  const ForeignModel b = imported("b.gltf");
  EXPECT_TRUE(b.image.boneNames.empty());
  EXPECT_EQ(b.changes, (std::vector<std::string>{
                           "2 bone names not kept (not one word of at most 63 printable "
                           "characters, or another bone's already), the first sk\\x1Bin"}));
}
