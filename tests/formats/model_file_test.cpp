// The model file: the writer's exact text, the reader's model, the damage it refuses.

#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "formats/model_file.h"
#include "formats/model_load.h"
#include "model/model_builder.h"
#include "model/model_image.h"
#include "model/skeleton.h"
#include "support/format_fixtures.h"

namespace {

// Three groups (two textured), mapped polygons, rounded numbers, bones three deep.
Polygon* buildRichModel(Model& model) {
  Bone* root = model.createRoot(0, 1, 0);
  root->paramA = 0.5;
  Bone *hub = model.addBone(root, 0, 2, 0), *leaves[3];
  for (int i = 0; i < 3; ++i) leaves[i] = model.addBone(hub, i, 3, 0);
  leaves[1]->paramB = -2.75;
  Bone* other = model.addBone(root, 1, 1, 1);
  Vertex* v[6];
  const double at[6][3] = {{0, 0, 0},  {1.5, 0, 0},      {0, 2.25, 0},
                           {0, 0, -3}, {4.125, 5, -6.5}, {1.0 / 3, -1e-9, 1.0 / 128}};
  for (int i = 0; i < 6; ++i) v[i] = addVertex(model, at[i][0], at[i][1], at[i][2]);
  PolygonGroup *first = model.currentGroup, *second = model.newGroup();
  first->material = Material{0.25, 0.9999999, 1, 1, "textures/skin.bmp", 0, /*textured=*/1};
  Polygon* mapped = addTriangle(model, v[0], v[1], v[2]);
  mapped->uvs[1].u = 0.75, mapped->uvs[2].v = 0.875, mapped->bone = root;
  addTriangle(model, v[2], v[1], v[3]);  // no bone: the root's
  model.groups.pushFront(second);
  second->material.alpha = 0.5;
  Bone* const bones[3] = {nullptr, hub, leaves[2]};
  for (int i = 0; i < 3; ++i) addTriangle(model, v[i], v[i + 1], v[i + 2], second)->bone = bones[i];
  model.groups.pushFront(model.currentGroup = model.newGroup());
  model.currentGroup->material.textured = 1;
  model.currentGroup->material.textureName = "wood.bmp";
  addTriangle(model, v[5], v[4], v[3])->bone = other;
  return mapped;
}

// Lists head first, bones in pre-order, the root holding polygons without a bone.
// Z stands for six zero texture coordinates, N for the four constant normals.
std::string expanded(std::string text) {
  for (auto [letter, by] : {std::pair{'Z', "0.000000 0.000000 0.000000 0.000000 0.000000 0.000000"},
                            std::pair{'N',
                                      "0.000000 1.000000 0.000000 0.000000 1.000000 0.000000 "
                                      "0.000000 1.000000 0.000000 0.000000 1.000000 0.000000 "}})
    for (size_t at; (at = text.find(letter)) != std::string::npos;) text.replace(at, 1, by);
  return text;
}
const std::string kRichFile = expanded(
    "6\n0.333333 -0.000000 0.007812\n4.125000 5.000000 -6.500000\n0.000000 0.000000 -3.000000\n"
    "0.000000 2.250000 0.000000\n1.500000 0.000000 0.000000\n0.000000 0.000000 0.000000\n"
    "3\n1\n0 1 2 Z N\n1\nwood.bmp\n1.000000 1.000000 1.000000 1.000000\n"
    "3\n3 2 1 Z N\n4 3 2 Z N\n5 4 3 Z N\n0\n1.000000 1.000000 1.000000 0.500000\n"
    "2\n3 4 2 Z N\n3 4 5 0.000000 0.750000 0.000000 0.875000 0.000000 0.000000 N\n"
    "1\ntextures/skin.bmp\n0.250000 1.000000 1.000000 1.000000\n"
    "6\n1 0.000000 1.000000 0.000000 0.500000 0.000000 3 4 5 -1\n"
    "2 0.000000 2.000000 0.000000 0.000000 0.000000 2 -1\n"
    "3 0.000000 3.000000 0.000000 0.000000 0.000000 -1\n"
    "3 1.000000 3.000000 0.000000 0.000000 -2.750000 -1\n"
    "3 2.000000 3.000000 0.000000 0.000000 0.000000 1 -1\n"
    "2 1.000000 1.000000 1.000000 0.000000 0.000000 0 -1\n");

TEST(ModelImageTest, WriterGivesTheExactTextAndBuildingItTwiceGivesItBack) {
  Model model("m", nullptr), built("built", nullptr), again("again", nullptr);
  Polygon* rich = buildRichModel(model);
  rich->selected = rich->smooth = rich->flipped = 1;
  EXPECT_EQ(textOf(model), kRichFile);
  EXPECT_TRUE(model.vertices.tailItem()->fileIndex == 5 && rich->fileIndex == 5);
  std::FILE* file = fileWith(kRichFile);
  EXPECT_EQ(printedBy([&] { readAndBuild(file, kRichFile.size(), built, /*printNames=*/true); }),
            "Read texture name: wood.bmp\nRead texture name: textures/skin.bmp\n");
  std::fclose(file);
  EXPECT_EQ(built.skeleton->boneCount, 6);
  Polygon* mapped = built.currentGroup->polygons.headItem();
  EXPECT_EQ(mapped->bone, built.rootBone());
  EXPECT_EQ(mapped->selected + mapped->smooth + mapped->flipped, 0);
  EXPECT_TRUE(sameVec(mapped->normal, 0, 1, 0) && sameVec(mapped->cornerNormals[2], 0, 1, 0));
  EXPECT_EQ(mapped->uvMapped + mapped->uvs[0].mapped + mapped->uvs[2].mapped, 3);
  EXPECT_EQ(built.currentGroup->polygons.tailItem()->uvMapped, 0);
  buildModel(captureImage(built), again);
  EXPECT_EQ(textOf(again), kRichFile);
  // Seams come last, by vertex numbers; one with a vertex no longer in the model has no line.
  model.seams.mark(rich->vertices[1], rich->vertices[0]);
  model.seams.mark(rich->vertices[2], model.newVertex(7, 7, 7));
  EXPECT_EQ(textOf(model), kRichFile + "seams 1\n4 5\n");
  // Bone names after them, by bone number, only for the named bones; they come back on the bones.
  model.skeleton->root->children[0]->name = "hub";
  model.skeleton->root->children[0]->children[2]->name = "leaf.L";
  const std::string named = kRichFile + "seams 1\n4 5\nbonenames 2\n1 hub\n4 leaf.L\n";
  EXPECT_EQ(textOf(model), named);
  Model namedBack("named", nullptr);
  buildModel(captureImage(model), namedBack);
  EXPECT_EQ(namedBack.skeleton->root->children[0]->children[2]->name, "leaf.L");
  Model one("one", nullptr);  // a corner missing from the vertex list gets a line of its own
  Vertex* b = addVertex(one, 1, 0, 0);
  addTriangle(one, addVertex(one, 0, 0, 0), b, one.newVertex(5, 5, 5));
  EXPECT_TRUE(
      textOf(one).starts_with("3\n0.000000 0.000000 0.000000\n1.000000 0.000000 0.000000\n"
                              "5.000000 5.000000 5.000000\n1\n1\n0 1 2 "));
}

const std::string kSmall =
    "3\n0 0 0\n1 0 0\n0 1 0\n1\n2\n0 1 2 0 0 0 0 0 0 \n2 1 0 0.5 0 0 0 0 0 \n1\nskin.bmp\n"
    "1 1 1 1\n2\n1 0 0 0 0 0 0 -1\n2 1 0 0 0 0 1 -1\n";

std::string replaced(std::string text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

// Damaged texts with the exact error each gives.
std::vector<std::pair<std::string, std::string>> damagedFiles() {
  auto with = [](const char* from, const char* to) { return replaced(kSmall, from, to); };
  const size_t colour = kSmall.find("1 1 1 1");
  return {
      {"-" + kSmall, "line 1: vertex count is negative"},
      {"3000" + kSmall.substr(1), "line 1: vertex count exceeds what the file holds"},
      {with("3\n", "3.0\n"), "line 1: unreadable vertex count"},
      {with("1 0 0\n", "1 0x1 0\n"), "line 3: unreadable vertex coordinate"},
      {with("1 0 0\n", "inf 0 0\n"), "line 3: vertex coordinate is not finite"},
      {with("1 0 0\n", "1e999 0 0\n"), "line 3: vertex coordinate out of range"},
      {with("1\n2\n", "0\n2\n"), "line 5: a model needs at least one group"},
      {with("1\n2\n", "1\n-2\n"), "line 6: polygon count is negative"},
      {with("1\n2\n", "1\n9\n"), "line 6: polygon count exceeds what the file holds"},
      {with("0 1 2 ", "0 1 3 "), "line 7: vertex number out of range"},
      {with("0 1 2 ", "0 -1 2 "), "line 7: vertex number out of range"},
      {with("0.5", "0..5"), "line 8: unreadable texture coordinate"},
      {with("1\nskin", "one\nskin"), "line 9: unreadable texture flag"},
      {with("1 1 1 1", "1 1 white 1"), "line 11: unreadable colour"},
      {with("2\n1 0", "-2\n1 0"), "line 12: bone count is negative"},
      {with("2\n1 0", "5\n1 0"), "line 12: bone count exceeds what the file holds"},
      {with("\n1 0 0 0 0 0 0", "\n2 0 0 0 0 0 0"), "line 13: the first bone must have depth 1"},
      {with("\n2 1 0 0 0 0 1", "\n1 1 0 0 0 0 1"),
       "line 14: bone depth does not follow the previous bone"},
      {with("\n2 1 0 0 0 0 1", "\n3 1 0 0 0 0 1"),
       "line 14: bone depth does not follow the previous bone"},
      {with("1 -1", "2 -1"), "line 14: polygon number out of range"},
      {with("1 -1", "-2 -1"), "line 14: polygon number out of range"},
      {kSmall.substr(0, kSmall.size() - 3), "line 14: polygon number or -1 missing"},
      {with("2 1 0 0 0 0 1 -1\n", "                 "), "line 14: bone depth missing"},
      {kSmall.substr(0, colour + 5), "line 11: colour missing"},
      {kSmall.substr(0, colour + 8), "line 12: bone count missing"},
      {"", "the file is empty"},
      {" \r\n\n", "the file is empty"},
      {"\n3x", "line 2: unreadable vertex count"},  // the line feed read before the window
      {kSmall + "seams 1\n0 3\n", "line 16: a seam vertex out of range"},
      {kSmall + "seams 1\n1 0\n", "line 16: a seam whose first vertex is not the smaller"},
      {kSmall + "seams 2\n1 2\n0 1\n", "line 17: seams out of order"},
      {kSmall + "seams 9\n0 1\n", "line 15: seam count exceeds what the file holds"},
      {kSmall + "bonenames 1\n2 arm\n", "line 16: a bone name's bone out of range"},
      {kSmall + "bonenames 2\n1 a\n0 b\n", "line 17: bone names out of order"},
      {kSmall + "bonenames 2\n0 a\n1 a\n", "line 17: a bone name given twice"},
      {kSmall + "bonenames 1\n0 " + std::string(64, 'n') + "\n", "line 16: an unusable bone name"},
      {kSmall + "bonenames 1\n0\n", "line 17: bone name missing"},
      {kSmall + "bonenames 9\n0 a\n", "line 15: bone name count exceeds what the file holds"},
  };
}

const std::pair<size_t, size_t> kRingShapes[] = {{1, 1}, {3, 2}, {8, 3}, {4096, 16}};

// Whole, a window at a time, or on two threads with any ring of polygon blocks:
// the same image, or the same error and the output untouched.
TEST(ModelImageTest, EveryWayOfReadingGivesTheSameImageOrTheSameError) {
  auto cases = damagedFiles();
  for (const std::string& good :
       {kRichFile, kSmall, replaced(kSmall, "skin", std::string(700, 'n')),
        replaced(kSmall, "1 0 0\n", "1.00000000000000000001 0 0\n"),
        replaced(kSmall, "1\n2\n", "2\n0\n0\n1 1 1 1\n2\n"),  // an empty group
        kSmall + "0\na note after the skeleton\n", kSmall.substr(0, kSmall.size() - 1),
        kSmall + "seams 2\n0 1\n1 2\n", kSmall + "bonenames 1\n1 arm.L\n",
        kSmall + "seams 1\n0 1\nbonenames 2\n0 r\n1 arm\n",
        replaced(replaced(kSmall, "0 0 0\n1 0 0", "\t0\t-0.0  +0e5\r\n\r\n1.000000 +0 0"),
                 "0.5 0 0 0 0 0 ", "00000.5000000 0 0 0 0 0 normals 1.0 ignored"),
        replaced(kSmall, "1\nskin.bmp", "7\nskin.bmp"),         // what scanf would take
        replaced(kSmall, "skin.bmp", "sk\x1B]0;x\x07in.bmp")})  // a name dropped, with a note
    cases.push_back({good, ""});
  ModelImage marker;
  marker.vertices.push_back(Vec3{9, 9, 9});
  for (const auto& [text, expected] : cases) {
    ModelImage whole = marker;
    std::string error;
    EXPECT_EQ(parseModelFile(text, whole, &error), expected.empty());
    EXPECT_EQ(error, expected);
    Model reference("reference", nullptr);
    if (expected.empty()) buildModel(whole, reference);
    for (size_t window : {1, 2, 3, 7, 16, 100, 4096}) {
      ModelImage image = marker;
      std::FILE* file = fileWith(text);
      EXPECT_EQ(readModelFile(file, text.size(), image, &error, window), expected.empty());
      std::fclose(file);
      EXPECT_EQ(error, expected) << "window " << window;
      EXPECT_EQ(image, expected.empty() ? whole : marker) << "window " << window;
    }
    for (auto [blockLines, blocks] : kRingShapes) {
      Model model("m", nullptr);
      std::FILE* file = fileWith(text);
      EXPECT_EQ(readAndBuild(file, text.size(), model, false, blockLines, blocks),
                expected.empty());
      std::fclose(file);
      EXPECT_TRUE(!expected.empty() || captureImage(model) == captureImage(reference)) << text;
    }
  }
  std::FILE* directory = std::fopen("/", "r");  // fails in the first read
  ModelImage image;
  std::string error;
  EXPECT_FALSE(readModelFile(directory, 4096, image, &error));
  EXPECT_EQ(error, "the file could not be read");
  std::fclose(directory);
  for (size_t length = 0; length + 1 < kRichFile.size();
       ++length) {  // only the last line feed may go
    const std::vector<char> prefix(kRichFile.begin(),
                                   kRichFile.begin() + length);  // for the sanitizer
    ASSERT_FALSE(parseModelFile(std::string_view(prefix.data(), length), image)) << length;
  }
}

}  // namespace

// A model file is told by its first lines, not by a first number alone: an ASCII DXF starts "0",
// a binary STL's header may start "1\n". A head cut short decides by what it holds.
TEST(ModelRecognition, OnlyTheModelFilesOwnLayoutIsTakenForOne) {
  // clang-format off
  const std::pair<std::string, bool> heads[] = {
      {"3\n0.000000 1.000000 -2.5e1\n", true}, {"  3\r\n\r\n0 0 0\r\n", true},
      {"0\n1\n0\n", true} /* the empty model */, {"", true}, {" \n", true}, {"12\n1.5 -2", true},
      {"7", true}, {"0\nSECTION\n2\nENTITIES\n", false}, {std::string("1\n\0\0\0", 5), false},
      {"3\n0 0\n", false}, {"3\n0 0 0 0\n", false}, {"3\nx 0 0\n", false}, {"3 4\n", false},
      {"solid x\n", false}, {"0\n-\n", false},
  };
  // clang-format on
  for (const auto& [head, ours] : heads) EXPECT_EQ(startsLikeModelFile(head), ours) << head;
}
