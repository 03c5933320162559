// Exports of several files change all of them or none, and write no name
// that could make a line of its own or break the glTF file's JSON.
#include "formats/model_export.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <nlohmann/json.hpp>

#include <functional>
#include <map>
#include <optional>

#include "support/arm_fixture.h"
#include "support/format_fixtures.h"

namespace {

// Files written past `bytes` fail with "File too large", as on a full disk.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &old_);
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{bytes, old_.rlim_max};
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_);
    signal(SIGXFSZ, SIG_DFL);
  }

 private:
  rlimit old_;
};

// Every entry of the folder with its bytes, or where its link leads.
std::map<std::string, std::string> folderContents() {
  std::map<std::string, std::string> contents;
  for (const auto& entry : std::filesystem::directory_iterator(".")) {
    const std::string name = entry.path().filename().string();
    contents[name] = entry.is_symlink() ? "-> " + std::filesystem::read_symlink(name).string()
                     : entry.is_regular_file() ? readFile(name)
                                               : "(other)";
  }
  return contents;
}

}  // namespace

TEST(ModelExport, FailsWithoutChangingAnyFile) {
  ScratchCwd scratch;
  writeFile("tex.bmp", tinyBmp());
  const struct {
    std::string path;
    std::function<void(Model&)> plant;
    rlim_t fileSizeLimit;
    std::string reason;
  } cases[] = {
      {"part.obj", nullptr, 200, "cannot write part.obj: File too large"},
      {"part.obj", [](Model&) { unlink("part.mtl"), symlink("victim.txt", "part.mtl"); }, 0,
       "part.mtl: not a regular file"},
      {"part.gltf", [](Model&) { unlink("part_0.png"), mkfifo("part_0.png", 0600); }, 0,
       "part_0.png: not a regular file"},
      {"e\nv 9 9 9\n#.obj", nullptr, 0,
       "A name written into a file cannot hold control characters: e\\x0Av 9 9 9\\x0A#"},
      {"part.glb",
       [](Model& m) {
         writeFile("a\x01.bmp", tinyBmp());
         m.currentGroup->material.textureName = "a\x01.bmp";
       },
       0, "A name written into a file cannot hold control characters: a\\x01.bmp"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    for (const char* name : {"part.obj", "part.mtl", "part.gltf", "part.bin", "part_0.png",
                             "part.glb", "victim.txt", "a\x01.bmp"}) {
      unlink(name);
      if (std::string(name) != "a\x01.bmp") writeFile(name, std::string("old ") + name);
    }
    Model m("m", nullptr);
    SquareWithWing square(m);
    m.currentGroup->material.textured = 1;
    m.currentGroup->material.textureName = "tex.bmp";
    if (c.plant) c.plant(m);
    const auto before = folderContents();
    std::string reason;
    {
      std::optional<FileSizeLimit> limit;
      if (c.fileSizeLimit) limit.emplace(c.fileSizeLimit);
      EXPECT_FALSE(exportModel(m, c.path, &reason));
    }
    EXPECT_EQ(reason, c.reason);
    EXPECT_EQ(folderContents(), before);  // no old file changed, no temporary left
  }
}

TEST(ModelExport, NameOutsideUtf8LeavesAsReplacementCharacter) {
  ScratchCwd scratch;
  writeFile("caf\xe9.bmp", tinyBmp());
  Model m("m", nullptr);
  SquareWithWing square(m);
  m.currentGroup->material.textured = 1;
  m.currentGroup->material.textureName = "caf\xe9.bmp";
  ASSERT_TRUE(exportModel(m, "m.gltf", nullptr));
  EXPECT_EQ(nlohmann::json::parse(readFile("m.gltf"))["images"][0]["name"], "caf\uFFFD.bmp");
}

// A named bone's joint node (and a leaf's end node) carries its name; the others keep "boneN".
TEST(ModelExport, JointNodesAreNamedByTheirBones) {
  ScratchCwd scratch;
  Model m("m", nullptr);
  Arm arm(m);
  const std::pair<const char*, const char*> kNames[] = {
      {"", "mesh bone0 bone1 bone2 bone2_end"}, {"hand.L", "mesh hip bone1 hand.L hand.L_end"}};
  for (const auto& [name, nodes] : kNames) {
    arm.fore->name = name;
    arm.root->name = *name ? "hip" : "";
    ASSERT_TRUE(exportModel(m, "m.gltf", nullptr));
    std::string names;
    const nlohmann::json gltf = nlohmann::json::parse(readFile("m.gltf"));
    for (const auto& node : gltf["nodes"])
      names += (names.empty() ? "" : " ") + node["name"].get<std::string>();
    EXPECT_EQ(names, nodes);
  }
}
