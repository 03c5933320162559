// The recovery file gives back exactly the model and undo steps written, for random chains of
// edits, and refuses every cut, every changed byte and every image a model file could not hold.

#include <gtest/gtest.h>

#include <fcntl.h>

#include <random>

#include "formats/model_file.h"
#include "recovery/recovery_file.h"
#include "support/fixtures.h"
#include "support/format_fixtures.h"
#include "support/image_chain.h"
#include "support/undo_steps.h"

namespace {

struct RecoveryChain : ImageChain {
  RecoveryContents contents(int steps) {
    RecoveryContents c{1765000000, "/ships/ship", {"ship", nullptr}, {}};
    ModelImage image = fresh();
    for (int i = 0; i < steps; ++i, image = edited(image))
      c.undoSteps.push_back({i % 3 ? "ship" : "other", std::make_shared<ModelImage>(image)});
    c.model.image = std::make_shared<ModelImage>(image);
    return c;
  }
};

bool sameContents(const RecoveryContents& a, const RecoveryContents& b) {
  return a.changedAt == b.changedAt && sameSnapshot(a.model, b.model) &&
         std::equal(a.undoSteps.begin(), a.undoSteps.end(), b.undoSteps.begin(), b.undoSteps.end(),
                    sameSnapshot);
}

TEST(RecoveryFileTest, RandomChainsOfEditsComeBackExactly) {
  for (uint64_t seed = 1; seed <= 200; ++seed) {
    RecoveryChain chain{{std::mt19937_64(seed)}};
    const RecoveryContents written = chain.contents(chain.below(12));
    RecoveryContents read;
    ASSERT_TRUE(parseRecoveryFile(formatRecoveryFile(written), read, nullptr)) << seed;
    EXPECT_TRUE(sameContents(read, written)) << seed;
  }
}

// From a file, the body is read a piece at a time as the parse asks: the same contents as from
// memory, also for a body of several pieces and step by step with each step's difference; files
// of versions 1 (no path, clips or weights), 2 (no seams) and 3 (no bone names) are read too; and
// the limits hold.
TEST(RecoveryFileTest, AFileIsReadInPiecesAsFromMemoryAlsoOfVersionOne) {
  ScratchDir dir;
  RecoveryChain chain{{std::mt19937_64(3)}};
  RecoveryContents large = chain.contents(3);
  auto big = std::make_shared<ModelImage>(*large.model.image);
  big->vertices.resize(250000, Vec3{0.5, 1, 2});  // six megabytes, more than one piece
  large.undoSteps.push_back(large.model);
  large.model.image = big;
  for (const RecoveryContents& newest : {chain.contents(5), large}) {
    for (const int version : {4, 3, 2, 1}) {
      RecoveryContents written = newest;
      std::vector<Snapshot*> all{&written.model};
      for (Snapshot& step : written.undoSteps) all.push_back(&step);
      for (Snapshot* s : all) {  // older editors kept no names or seams, the oldest no clips
        if (version == 4) break;
        auto image = std::make_shared<ModelImage>(*s->image);
        image->boneNames.clear();
        if (version < 3) image->seams.clear();
        if (version == 1) image->clips.clear(), image->weights.clear();
        s->image = image;
      }
      writeFile(dir.file("r"), formatRecoveryFile(written, version));
      const int fd = open(dir.file("r").c_str(), O_RDONLY);
      RecoveryContents read, head;
      std::string error;
      EXPECT_TRUE(readRecoveryFile(fd, read, &error, false)) << error;
      EXPECT_TRUE(readRecoveryFile(fd, head, nullptr, true));
      // As "/recover" reads the steps: each with its difference from the next newer, the newest
      // also whole.
      RecoveryContents model;
      RecoveryStepsStart start;
      ASSERT_TRUE(readRecoveryModel(fd, model, start, &error)) << error;
      std::shared_ptr<const ModelImage> newer = model.model.image;
      size_t at = written.undoSteps.size();
      auto each = [&](Snapshot step, ImageDifference fromNewer) {
        auto applied = std::make_shared<ModelImage>();
        ASSERT_TRUE(at > 0 && fromNewer.apply(*newer, *applied));
        EXPECT_TRUE(*applied == *written.undoSteps[--at].image);
        EXPECT_TRUE(at + 1 == written.undoSteps.size() ? *step.image == *applied : !step.image);
        EXPECT_EQ(fromNewer.bytes(), ImageDifference(*applied, *newer).bytes());
        newer = applied;
      };
      EXPECT_TRUE(readRecoverySteps(fd, start, model.model.image, each, &error)) << error;
      EXPECT_EQ(at, 0u);
      close(fd);
      EXPECT_TRUE(sameContents(read, written));
      EXPECT_EQ(read.modelPath, version >= 2 ? written.modelPath : "");
      EXPECT_TRUE(head.changedAt == written.changedAt && head.model.name == written.model.name);
    }
  }
  const std::string text = formatRecoveryFile(chain.contents(5));
  RecoveryContents all, newest;
  std::string error;
  EXPECT_FALSE(parseRecoveryFile(text, all, &error, {4}));
  EXPECT_EQ(error, "the file holds more than 4 undo steps");
  ASSERT_TRUE(parseRecoveryFile(text, all, nullptr));
  const size_t twoBytes =
      all.undoSteps[3].image->memoryBytes() + all.undoSteps[4].image->memoryBytes();
  ASSERT_TRUE(parseRecoveryFile(text, newest, nullptr, {50, twoBytes}));
  ASSERT_EQ(newest.undoSteps.size(), 2u);
  EXPECT_TRUE(sameSnapshot(newest.undoSteps[0], all.undoSteps[3]) &&
              sameSnapshot(newest.undoSteps[1], all.undoSteps[4]));
}

// The undo step of each small edit of a 3,000-triangle model takes a few hundred bytes at most
// (vertices moved, added or removed, a triangle turned, a colour).
TEST(RecoveryFileTest, ASmallEditOfALargeModelCostsAFewBytes) {
  RecoveryChain chain{{std::mt19937_64(5)}};
  ModelImage large;
  large.groups.resize(2);
  for (int i = 0; i < 3002; ++i) large.vertices.push_back({i / 8.0, 0, 1});
  for (int i = 0; i < 3000; ++i) large.groups[i % 2].polygons.push_back({{i, i + 1, i + 2}});
  const auto older = std::make_shared<ModelImage>(large);
  for (int kind = 0; kind < 5; ++kind) {
    const Snapshot newer{"large", std::make_shared<ModelImage>(chain.edited(large, kind))};
    const size_t alone = formatRecoveryFile({0, "/large", newer, {}}).size();
    EXPECT_LT(formatRecoveryFile({0, "/large", newer, {{"large", older}}}).size(), alone + 310)
        << kind;
  }
  // Keying one bone of ten clips of 100 bones and 50 keys costs that bone's track.
  large.bones.resize(100);
  for (size_t b = 1; b < large.bones.size(); ++b) large.bones[b].depth = 2;
  for (int c = 0; c < 10; ++c) {
    auto& clip =
        large.clips.emplace_back(ModelImage::ClipRecord{"c" + std::to_string(c), 60, 24, {}});
    for (int b = 0; b < 100; ++b) {
      clip.tracks.push_back({b, {}});
      for (int k = 0; k < 50; ++k) clip.tracks.back().keys.push_back({k, {1, 0, 0, k / 64.0}});
    }
  }
  ModelImage keyed = large;
  keyed.clips[4].tracks[70].keys[3].rotation[1] = 0.5;
  const Snapshot newer{"large", std::make_shared<ModelImage>(keyed)};
  const size_t alone = formatRecoveryFile({0, "/m", newer, {}}).size();
  EXPECT_LT(
      formatRecoveryFile({0, "/m", newer, {{"large", std::make_shared<ModelImage>(large)}}}).size(),
      alone + 50 * 85 + 600);
}

TEST(RecoveryFileTest, EveryCutEveryChangedByteAndEveryImpossibleImageIsRefused) {
  RecoveryChain chain{{std::mt19937_64(7)}};
  const std::string text = formatRecoveryFile(chain.contents(6));
  RecoveryContents read;
  for (size_t at = 0; at < text.size(); ++at) {
    std::string changed = text;
    changed[at] ^= 0x21;
    ASSERT_FALSE(parseRecoveryFile(text.substr(0, at), read, nullptr)) << at;
    ASSERT_FALSE(parseRecoveryFile(changed, read, nullptr)) << at;
  }
  using Damage = void (*)(ModelImage&);
  const std::pair<Damage, std::string> kImages[] = {
      {[](ModelImage& m) { m.groups.clear(); }, "a model without groups"},
      {[](ModelImage& m) {
         m.groups[0].polygons = {{{0, 0, 99}}};
       },
       "a vertex number out of range"},
      {[](ModelImage& m) { m.vertices[0].x = NAN; }, "a vertex that is not finite"},
      {[](ModelImage& m) { m.bones.resize(1), m.bones[0].depth = 2; }, "bone depths out of order"},
      {[](ModelImage& m) {
         m.bones = {{1, 0, 0, 0, 0, 0, {-1}}};
       },
       "a polygon number out of range"},
      {[](ModelImage& m) {
         m.clips = {{"clip", 0, 24, {}}};
       },
       "an animation the model file refuses (clip length out of range)"},
      {[](ModelImage& m) {
         m.seams = {{0, 99}};
       },
       "a seam vertex out of range"},
      {[](ModelImage& m) {
         m.boneNames = {{99, "arm"}};
       },
       "a bone name's bone out of range"},
  };
  std::vector<std::pair<std::string, std::string>> cases = {
      {"3\n0 0 0\n", "not a recovery file"},
      {"vantorel-recovery 5\n" + text.substr(20), "a recovery file of another version"},
      {text.substr(0, text.size() - 1), "the file is cut short or too long"},
      {text + "x", "the file is cut short or too long"}};
  for (const auto& [damage, reason] : kImages) {
    RecoveryContents contents = chain.contents(2);
    ModelImage broken = *contents.undoSteps[0].image;
    damage(broken);
    contents.undoSteps[0].image = std::make_shared<ModelImage>(broken);
    cases.push_back({formatRecoveryFile(contents), "the file holds " + reason});
  }
  for (const auto& [file, reason] : cases) {
    std::string error;
    EXPECT_FALSE(parseRecoveryFile(file, read, &error));
    EXPECT_EQ(error, reason);
  }
}

}  // namespace
