// What an imported file names is checked before use: indices against what
// they index, declared lengths against the file, files against its folder,
// textures against being images; and nothing planted at a texture's name is
// followed or taken for the import's own file.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>

#include "app/command_line.h"
#include "formats/model_export.h"
#include "images/image_decode.h"
#include "import/foreign_import.h"
#include "import/import_child.h"
#include "import/texture_search.h"
#include "support/format_fixtures.h"

namespace {

std::string ply(const std::string& face) {
  return "ply\nformat ascii 1.0\nelement vertex 5\nproperty float x\nproperty float y\n"
         "property float z\nelement face 1\nproperty list uchar int vertex_indices\nend_header\n"
         "0 0 0\n1 0 0\n0 1 0\n1 1 0\n2 2 0\n" +
         face + "\n";
}

std::string objWithTexture(const std::string& texture) {
  writeFile("m/t.mtl", "newmtl a\nmap_Kd " + texture + "\n");
  return "mtllib t.mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\nusemtl a\nf 1 2 3\n";
}

std::string objWithLibrary(const std::string& library) {
  writeFile("x.mtl", "newmtl a\nKd 1 0 0\n");
  return "mtllib " + library + "\nv 0 0 0\nv 1 0 0\nv 0 1 0\nusemtl a\nf 1 2 3\n";
}

// m/m.gltf with its buffer moved to `place`, named there by `uri`.
std::string gltfWithBufferAt(const std::string& place, const std::string& uri) {
  Model m("m", nullptr);
  SquareWithWing square(m);
  EXPECT_TRUE(exportModel(m, "m/m.gltf", nullptr));
  std::filesystem::rename("m/m.bin", place);
  std::string json = readFile("m/m.gltf");
  json.replace(json.find("\"m.bin\""), 7, "\"" + uri + "\"");
  return json;
}

std::string joined(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines) out += line + "|";
  return out;
}

// `text` with "{dir}" standing for `directory`.
std::string inside(const std::string& directory, std::string text) {
  const size_t at = text.find("{dir}");
  return at == std::string::npos ? text : text.replace(at, 5, directory);
}

// A 24-byte GLB whose header claims 4 GB.
const std::string kGreedyGlb =
    std::string("glTF\2\0\0\0\xFF\xFF\xFF\xFF\xF0\xFF\xFF\xFFJSON{}  ", 24);

}  // namespace

TEST(ImportBounds, IndicesLengthsFoldersAndImagesAreCheckedBeforeUse) {
  const std::string outside = "outside the model's folder)|";
  const struct {
    std::string file;
    std::function<std::string()> content;  // run in the scratch folder, which holds m/
    std::string reason, changes;
  } cases[] = {
      {"a.ply", [] { return ply("3 0 1 5"); },
       "Face 0 of mesh 0 uses vertex 5, but the mesh has 5 vertices.", ""},
      {"a.ply", [] { return ply("3 0 700000000 1"); },
       "Face 0 of mesh 0 uses vertex 700000000, but the mesh has 5 vertices.", ""},
      {"a.ply", [] { return ply("4 0 1 2 700000000"); },
       "Face 0 of mesh 0 uses vertex 700000000, but the mesh has 5 vertices.", ""},
      {"a.glb", [] { return kGreedyGlb; },
       "The GLB file's header declares 4294967295 bytes, but the file holds 24.", ""},
      {"m.gltf", [] { return gltfWithBufferAt("secret.bin", "../secret.bin"); },
       "File ../secret.bin not read (outside the model's folder).", ""},
      {"q.obj", [] { return objWithLibrary("../x.mtl"); }, "",
       "file ../x.mtl not read (" + outside},
      {"q.obj", [] { return objWithLibrary(std::filesystem::absolute("x.mtl")); }, "",
       "file {dir}/x.mtl not read (" + outside},
      {"t.obj", [] { return objWithTexture("../private/x.bmp"); }, "",
       "texture ../private/x.bmp dropped (" + outside},
      {"t.obj", [] { return objWithTexture(std::filesystem::absolute("private/x.bmp")); }, "",
       "texture {dir}/private/x.bmp dropped (" + outside},
      {"t.obj", [] { return objWithTexture("notes.txt"); }, "",
       "texture notes.txt dropped (not a BMP, PNG, TGA or JPEG image)|"},
      {"t.obj", [] { return objWithTexture("a_text_file_named_beyond_31_characters.txt"); }, "",
       "texture a_text_file_named_beyond_31_characters.txt dropped (not a BMP, PNG, TGA or JPEG "
       "image)|"},
      {"t.obj", [] { return objWithTexture("tex.bmp"); }, "", ""},
      {"t.obj", [] { return mkfifo("m/pipe.png", 0600), objWithTexture("pipe.png"); }, "",
       "texture pipe.png dropped (not a regular file)|"},
  };
  for (const auto& c : cases) {
    ScratchCwd scratch;
    std::filesystem::create_directories("m");
    std::filesystem::create_directories("private");
    writeFile("private/x.bmp", tinyBmp());
    writeFile("m/tex.bmp", tinyBmp());
    writeFile("m/notes.txt", "not a picture\n");
    writeFile("m/a_text_file_named_beyond_31_characters.txt", "not a picture\n");
    writeFile("m/" + c.file, c.content());
    const std::string root = std::filesystem::current_path().string();
    std::filesystem::current_path("m");  // an OBJ's absolute paths are read from its own folder
    const ImportResult result =
        importInChild(c.file, "m.vantorel", nullptr, {VANTOREL_PROGRAM, 20, 512 << 20});
    SCOPED_TRACE(c.file + ": " + c.reason + c.changes);
    EXPECT_EQ(result.reason, inside(root, c.reason));
    EXPECT_EQ(joined(result.changes), inside(root, c.changes));
    EXPECT_EQ(result.model != nullptr, c.reason.empty());
    // Nothing was copied beside the model.
    EXPECT_FALSE(std::filesystem::exists("m_0.bmp") || std::filesystem::exists("m_0.txt"));
  }
}

// An embedded image goes beside the model as m_0.png; whatever is planted at
// that name is neither followed nor taken for it.
TEST(ImportBounds, PlantedTexturePathsAreNeverFollowedOrTaken) {
  ScratchCwd scratch;
  writeFile("tex.bmp", tinyBmp());
  Model m("m", nullptr);
  SquareWithWing square(m);
  m.currentGroup->material.textured = 1;
  m.currentGroup->material.textureName = "tex.bmp";
  ASSERT_TRUE(exportModel(m, "m.glb", nullptr));
  unlink("tex.bmp");  // or the image's own file would be named
  ForeignModel first;
  ASSERT_TRUE(importForeignModel("m.glb", first, nullptr));
  ASSERT_EQ(first.image.groups[0].textureName, "m_0.png");
  const std::string png = readFile("m_0.png");
  const struct {
    const char* planted;
    std::function<void()> plant;
    std::string textureName;
  } cases[] = {
      {"our own file of the same picture", [&] { writeFile("m_0.png", png); }, "m_0.png"},
      {"a link to a file of the same picture",
       [&] { writeFile("victim.png", png), symlink("victim.png", "m_0.png"); }, "m_1.png"},
      {"a dangling link", [] { symlink("created.png", "m_0.png"); }, "m_1.png"},
      {"another user's file of the same picture",
       [&] { writeFile("m_0.png", png), chown("m_0.png", 65534, 65534); }, "m_1.png"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.planted);
    for (const char* name : {"m_0.png", "m_1.png", "victim.png", "created.png"}) unlink(name);
    c.plant();
    struct stat planted {};
    if (std::string(c.planted).starts_with("another") &&
        (lstat("m_0.png", &planted) != 0 || planted.st_uid == geteuid()))
      continue;  // only a privileged user can give a file away
    ForeignModel imported;
    std::string reason;
    ASSERT_TRUE(importForeignModel("m.glb", imported, &reason)) << reason;
    EXPECT_EQ(imported.image.groups[0].textureName, c.textureName);
    EXPECT_TRUE(imported.changes.empty());
    EXPECT_EQ(readFile(c.textureName), png);
    EXPECT_FALSE(std::filesystem::exists("created.png"));
    if (std::filesystem::exists("victim.png")) {
      EXPECT_EQ(readFile("victim.png"), png);
    }
  }
}

// --convert writes the textures it takes out of a file beside OUT, never into IN's folder, however
// long the paths: a GLB it writes holds the picture, which the next conversion writes out again.
TEST(ImportBounds, ConvertWritesTexturesBesideTheOutput) {
  ScratchCwd scratch;
  const std::string in = "models/made/by/another/tool/in/a/folder/far/away/",
                    out = "exports/for/the/game/engine/in/another/folder/";
  std::filesystem::create_directories(in), std::filesystem::create_directories(out);
  writeFile(in + "tex.bmp", tinyBmp());
  Model m("m", nullptr);
  SquareWithWing square(m);
  m.currentGroup->material.textured = 1;
  m.currentGroup->material.textureName = in + "tex.bmp";
  ASSERT_TRUE(exportModel(m, in + "m.glb", nullptr));
  DecodedImage picture, back;
  ASSERT_TRUE(decodeImageFile(in + "tex.bmp", picture));
  std::filesystem::remove(in + "tex.bmp");  // the picture now lives in the GLB alone
  std::string reason;
  ASSERT_TRUE(convertModel(in + "m.glb", out + "c.glb", {VANTOREL_PROGRAM, 20, 0}, &reason))
      << reason;
  ASSERT_TRUE(convertModel(out + "c.glb", "back.obj", {VANTOREL_PROGRAM, 20, 0}, &reason))
      << reason;
  EXPECT_TRUE(decodeImageFile("back_0.png", back) && back.rgba == picture.rgba);
  EXPECT_NE(readFile("back.mtl").find("map_Kd back_0.png"), std::string::npos);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(in), {}), 1);
  EXPECT_TRUE(std::filesystem::exists(out + "c_0.png"));  // beside c.glb, which holds it too
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(out), {}), 2);
}

// A texture as another machine's tools name it is found in the model's folder tree (a bounded
// walk): of another case only when no file has the exact name, under the most of its folders.
TEST(TextureSearch, FindsTheFileOfTheNameInTheFolderTreeOnly) {
  ScratchCwd scratch;
  for (const char* file : {"m/Wood.png", "m/maps/wood.png", "m/a/b/maps/wood.png", "m/o/WOOD.PNG",
                           "m/1/2/3/4/5/6/7/near.png", "m/1/2/3/4/5/6/7/8/far.png", "n/x.png"}) {
    std::filesystem::create_directories(std::filesystem::path(file).parent_path());
    writeFile(file, "");
  }
  FolderIndex index("m");
  const std::pair<const char*, const char*> cases[] = {
      {"D:\\work\\maps\\wood.png", "maps/wood.png"},   // the shallowest of the exact name
      {"..\\b\\maps\\wood.png", "a/b/maps/wood.png"},  // the most folders shared
      {"\\\\server\\maps\\WOOD.png", "Wood.png"},      // no exact name: any case
      {"WOOD.PNG", "o/WOOD.PNG"},
      {"near.png", "1/2/3/4/5/6/7/near.png"},
      {"far.png", ""},
      {"../n/x.png", ""},
      {"", ""},
  };
  for (const auto& [written, found] : cases)
    EXPECT_EQ(index.find(portableTexturePath(written)), found) << written;
}
