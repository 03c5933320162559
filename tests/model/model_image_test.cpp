// What a model file carries: capturing it from a model, reading it from text
// (and refusing damaged text), and building a model from it.

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/model.h"
#include "model/model_fixtures.h"
#include "model/model_image.h"
#include "model/skeleton.h"

namespace {

// Three vertices, two polygons in one textured group, a root and one child.
const std::string kSmallFile =
    "3\n0 0 0\n1 0 0\n0 1 0\n"
    "1\n2\n0 1 2 0 0 0 0 0 0 \n2 1 0 0.5 0 0 0 0 0 \n1\nskin.bmp\n1 1 1 1\n"
    "2\n1 0 0 0 0 0 0 -1\n2 1 0 0 0 0 1 -1\n";

std::string replaced(std::string text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return text.replace(at, from.size(), to);
}

// The reader takes the writer's own number shapes by a shorter road than
// other spellings; both roads must give the double nearest to the text.
TEST(ModelImageTest, NumbersReadAsTheNearestDouble) {
  std::mt19937 random(5);
  std::vector<std::string> words = {"0.000000",
                                    "-0.000000",
                                    "999999999.999999",
                                    "-999999999.999999",
                                    "1000000000.000000",
                                    "0.1",
                                    "+2.5",
                                    "1e3",
                                    "12.3456789",
                                    "-7",
                                    "00012.000100",
                                    "4503599.627370"};
  for (int i = 0; i < 3000; ++i) {
    const double magnitude = std::pow(10.0, static_cast<double>(random() % 24) - 8);
    const double x = (static_cast<double>(random()) / random.max() - 0.5) * magnitude;
    char text[400];
    std::snprintf(text, sizeof text, "%lf", x);
    words.push_back(text);
  }
  while (words.size() % 3) words.push_back("1.000000");
  std::string file = std::to_string(words.size() / 3) + "\n";
  for (size_t i = 0; i < words.size(); i += 3) {
    file += words[i] + " " + words[i + 1] + " " + words[i + 2] + "\n";
  }
  file += "1\n0\n0\n1 1 1 1\n0\n";
  ModelImage image;
  std::string error;
  ASSERT_TRUE(parseModelFile(file, image, &error)) << error;
  for (size_t i = 0; i < words.size(); ++i) {
    const Vec3& v = image.vertices[i / 3];
    const double read = i % 3 == 0 ? v.x : i % 3 == 1 ? v.y : v.z;
    const double expected = std::strtod(words[i].c_str(), nullptr);
    EXPECT_EQ(read, expected) << words[i];
    EXPECT_EQ(std::signbit(read), std::signbit(expected)) << words[i];
  }
}

TEST(ModelImageTest, ReaderSkipsBlanksOfAnyKindAndTheRestOfPolygonLines) {
  ModelImage plain, relaxed;
  ASSERT_TRUE(parseModelFile(kSmallFile, plain));
  EXPECT_EQ(plain.groups[0].polygons[1].u[0], 0.5);
  EXPECT_EQ(plain.bones[1].polygons, std::vector<int>{1});
  std::string text = replaced(kSmallFile, "0 0 0\n1 0 0", "\t0\t0  0\r\n\r\n1 +0 0");
  text = replaced(text, "0 0 0 0 0 0 \n2", "0 0 0 0 0 0 normals 1.0 ignored\n2");
  text.pop_back();  // no line feed at the very end
  std::string error;
  ASSERT_TRUE(parseModelFile(text, relaxed, &error)) << error;
  EXPECT_EQ(relaxed, plain);
}

TEST(ModelImageTest, AnyNonzeroTextureFlagMeansTexturedAndNamesAreReadWhole) {
  const std::string longName(300, 'n');
  ModelImage image;
  ASSERT_TRUE(parseModelFile(replaced(kSmallFile, "1\nskin.bmp", "7\n" + longName), image));
  EXPECT_EQ(image.groups[0].textured, 1);
  EXPECT_EQ(image.groups[0].textureName, longName);
}

struct Damage {
  const char* why;
  std::string text;
  const char* reason;
};

std::vector<Damage> damagedFiles() {
  return {
      {"negative vertex count", "-" + kSmallFile, "vertex count is negative"},
      {"more vertices than bytes", "3000" + kSmallFile.substr(1), "vertex count exceeds"},
      {"fractional count", replaced(kSmallFile, "3\n", "3.0\n"), "unreadable vertex count"},
      {"letters in a number", replaced(kSmallFile, "1 0 0\n", "1 0x1 0\n"), "unreadable vertex"},
      {"infinite coordinate", replaced(kSmallFile, "1 0 0\n", "inf 0 0\n"), "not finite"},
      {"NaN coordinate", replaced(kSmallFile, "1 0 0\n", "nan 0 0\n"), "not finite"},
      {"overflowing coordinate", replaced(kSmallFile, "1 0 0\n", "1e999 0 0\n"), "out of range"},
      {"group count 0", replaced(kSmallFile, "1\n2\n", "0\n2\n"), "at least one group"},
      {"negative polygon count", replaced(kSmallFile, "1\n2\n", "1\n-2\n"), "polygon count is"},
      {"more polygons than bytes", replaced(kSmallFile, "1\n2\n", "1\n9\n"), "exceeds"},
      {"vertex number past the end", replaced(kSmallFile, "0 1 2 ", "0 1 3 "), "vertex number"},
      {"negative vertex number", replaced(kSmallFile, "0 1 2 ", "0 -1 2 "), "vertex number"},
      {"bad texture coordinate", replaced(kSmallFile, "0.5", "0..5"), "texture coordinate"},
      {"bad texture flag", replaced(kSmallFile, "1\nskin", "one\nskin"), "texture flag"},
      {"bad colour", replaced(kSmallFile, "1 1 1 1", "1 1 white 1"), "colour"},
      {"negative bone count", replaced(kSmallFile, "2\n1 0", "-2\n1 0"), "bone count is"},
      {"more bones than bytes", replaced(kSmallFile, "2\n1 0", "5\n1 0"), "bone count exceeds"},
      {"first bone below the root", replaced(kSmallFile, "\n1 0 0 0 0 0 0", "\n2 0 0 0 0 0 0"),
       "depth 1"},
      {"second root", replaced(kSmallFile, "\n2 1 0 0 0 0 1", "\n1 1 0 0 0 0 1"), "depth"},
      {"depth skipping a level", replaced(kSmallFile, "\n2 1 0 0 0 0 1", "\n3 1 0 0 0 0 1"),
       "depth"},
      {"polygon number past the end", replaced(kSmallFile, "1 -1", "2 -1"), "polygon number"},
      {"polygon number below -1", replaced(kSmallFile, "1 -1", "-2 -1"), "polygon number"},
      {"bone line without -1", kSmallFile.substr(0, kSmallFile.size() - 3), "-1 missing"},
      {"blanks where a bone line should be",
       replaced(kSmallFile, "2 1 0 0 0 0 1 -1\n", std::string(17, ' ')), "bone depth missing"},
      {"missing colour", kSmallFile.substr(0, kSmallFile.find("1 1 1 1") + 5), "colour missing"},
      {"missing skeleton section", kSmallFile.substr(0, kSmallFile.find("1 1 1 1") + 8),
       "bone count missing"},
      {"empty file", "", "vertex count missing"},
      {"text after the skeleton", kSmallFile + "0\n", "unexpected text"},
  };
}

TEST(ModelImageTest, RefusesEachKindOfDamage) {
  for (const Damage& damage : damagedFiles()) {
    ModelImage image;
    image.vertices.push_back(Vec3{9, 9, 9});
    std::string error;
    EXPECT_FALSE(parseModelFile(damage.text, image, &error)) << damage.why;
    EXPECT_NE(error.find(damage.reason), std::string::npos) << damage.why << ": " << error;
    EXPECT_EQ(image.vertices.size(), 1u) << damage.why << ": the output must stay as it was";
  }
}

TEST(ModelImageTest, RefusesCutShortFilesAndSurvivesDamage) {
  Model model("m", nullptr);
  RichModel rich(model);
  const std::string text = formatModelFile(captureImage(model));
  ModelImage image;
  ASSERT_TRUE(parseModelFile(text, image));
  // Only the final line feed may go; every shorter prefix is refused. Each
  // prefix sits in a buffer of its own size so that the sanitizer sees any
  // read past it.
  for (size_t length = 0; length + 1 < text.size(); ++length) {
    const std::vector<char> prefix(text.begin(), text.begin() + length);
    ASSERT_FALSE(parseModelFile(std::string_view(prefix.data(), length), image))
        << "prefix of " << length << " bytes";
  }
  // Damage anywhere: whatever the reader accepts must build a model.
  for (size_t at = 0; at < text.size(); ++at) {
    for (char replacement : {'0', '9', '-', ' ', '\n', '.', 'x'}) {
      std::string damaged = text;
      damaged[at] = replacement;
      if (parseModelFile(damaged, image)) {
        Model built("built", nullptr);
        buildModel(image, built, false);
      }
    }
  }
}

// A file is read a window at a time; wherever the window's edges fall, in
// the middle of a number, a name or a line of normals, the outcome must be
// what reading the whole text gives, down to the line an error names.
TEST(ModelImageTest, ReadingAFileInPiecesGivesWhatTheWholeTextGives) {
  Model model("m", nullptr);
  RichModel rich(model);
  std::vector<std::string> texts = {formatModelFile(captureImage(model)), kSmallFile,
                                    replaced(kSmallFile, "skin.bmp", std::string(700, 'n')),
                                    replaced(kSmallFile, "1 0 0\n", "1.00000000000000000001 0 0\n"),
                                    replaced(kSmallFile, "3\n", "300\x01\n")};
  for (const Damage& damage : damagedFiles()) texts.push_back(damage.text);
  for (const std::string& text : texts) {
    ModelImage whole;
    std::string wholeError;
    const bool wholeRead = parseModelFile(text, whole, &wholeError);
    for (size_t window : {1, 2, 3, 7, 16, 100, 4096}) {
      std::FILE* file = std::tmpfile();
      ASSERT_NE(file, nullptr);
      std::fwrite(text.data(), 1, text.size(), file);
      std::rewind(file);
      ModelImage pieces;
      std::string piecesError;
      EXPECT_EQ(readModelFile(file, text.size(), pieces, &piecesError, window), wholeRead)
          << wholeError << " / window " << window;
      EXPECT_EQ(pieces, whole) << "window " << window;
      EXPECT_EQ(piecesError, wholeError) << "window " << window;
      std::fclose(file);
    }
  }
}

TEST(ModelImageTest, AReadErrorIsReportedAsOne) {
  // Reading a directory as a file fails in the first read.
  std::FILE* directory = std::fopen("/", "r");
  ASSERT_NE(directory, nullptr);
  ModelImage image;
  std::string error;
  EXPECT_FALSE(readModelFile(directory, 4096, image, &error));
  EXPECT_EQ(error, "the file could not be read");
  std::fclose(directory);
}

TEST(ModelImageTest, CaptureNumbersRecordsAndListsBonesInTheWritersOrder) {
  Model model("m", nullptr);
  RichModel rich(model);
  ModelImage image = captureImage(model);
  EXPECT_EQ(model.vertices.tailItem()->fileIndex, 5);
  EXPECT_EQ(rich.mapped->fileIndex, 5);
  EXPECT_EQ(image.groups[2].polygons[1].u[1], 0.75);
  EXPECT_EQ(image.groups[0].textureName, "wood.bmp");

  std::vector<int> depths;
  for (const auto& bone : image.bones) depths.push_back(bone.depth);
  EXPECT_EQ(depths, (std::vector<int>{1, 2, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 2}));
  EXPECT_EQ(image.bones[5].b, -2.75);
  // Unassigned polygons are listed with the root.
  EXPECT_EQ(image.bones[0].polygons, (std::vector<int>{3, 4, 5}));
  EXPECT_EQ(image.bones[1].polygons, std::vector<int>{2});
  EXPECT_EQ(image.bones[13].polygons, std::vector<int>{1});
  EXPECT_EQ(image.bones[14].polygons, std::vector<int>{0});
}

TEST(ModelImageTest, CaptureHoldsWhatTheTextGivesBack) {
  Model model("m", nullptr);
  Vertex* vertex = addVertex(model, 1.0 / 3, -1e-9, 1.0 / 128);
  addPolygon(model, model.currentGroup, vertex, vertex, vertex)->uvs[0].u = 0.1234567;
  model.currentGroup->material.green = 0.9999999;
  ModelImage image = captureImage(model);
  EXPECT_EQ(image.vertices[0].x, 0.333333);
  EXPECT_TRUE(image.vertices[0].y == 0 && std::signbit(image.vertices[0].y));
  EXPECT_EQ(image.vertices[0].z, 0.007812);  // a tie, to even as printf does
  EXPECT_EQ(image.groups[0].polygons[0].u[0], 0.123457);
  EXPECT_EQ(image.groups[0].colour[1], 1.0);
  ModelImage reread;
  ASSERT_TRUE(parseModelFile(formatModelFile(image), reread));
  EXPECT_EQ(reread, image);
}

TEST(ModelImageTest, CornerMissingFromTheVertexListGetsALineOfItsOwn) {
  Model model("m", nullptr);
  buildOneTriangle(model);
  Vertex* stray = model.newVertex(5, 5, 5);
  addPolygon(model, model.currentGroup, model.vertices.at(0), model.vertices.at(1), stray);
  ModelImage image = captureImage(model);
  ASSERT_EQ(image.vertices.size(), 4u);
  EXPECT_EQ(image.groups[0].polygons[0].corners[2], 3);
  EXPECT_TRUE(parseModelFile(formatModelFile(image), image));
}

TEST(ModelImageTest, BuildGivesLoadTimeFlagsAndNormalsAndNamesTheTextures) {
  Model original("m", nullptr);
  RichModel rich(original);
  rich.mapped->selected = rich.mapped->smooth = rich.mapped->flipped = 1;
  Model built("built", nullptr);
  testing::internal::CaptureStdout();
  buildModel(captureImage(original), built, /*printNames=*/true);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Read texture name: wood.bmp\n"
            "Read texture name: textures/a_name_well_over_thirty_one_characters.bmp\n");
  EXPECT_EQ(built.currentGroup, built.groups.headItem());
  EXPECT_EQ(built.skeleton->boneCount, 15);
  Polygon* mapped = built.currentGroup->polygons.headItem();
  EXPECT_EQ(mapped->uvs[1].u, 0.75);
  EXPECT_EQ(mapped->selected + mapped->smooth + mapped->flipped, 0);
  EXPECT_EQ(mapped->normal, (Vec3{0, 1, 0}));
  EXPECT_EQ(mapped->cornerNormals[0], (Vec3{0, 1, 0}));
  EXPECT_EQ(mapped->uvMapped + mapped->uvs[0].mapped, 2);
  EXPECT_EQ(built.currentGroup->polygons.tailItem()->uvMapped, 0);
}

}  // namespace
