// The recovery file gives back exactly the model and undo steps written, for random chains of
// edits, and refuses every cut, every changed byte and every image a model file could not hold.

#include <gtest/gtest.h>

#include <fcntl.h>

#include <random>

#include "formats/model_file.h"
#include "recovery/recovery_file.h"
#include "support/fixtures.h"
#include "support/format_fixtures.h"

namespace {

using Polygon = ModelImage::PolygonRecord;

struct Chain {
  std::mt19937_64 rng;
  int below(size_t n) { return static_cast<int>(rng() % n); }
  double real() { return (below(2001) - 1000) / 8.0; }
  Polygon polygon(int n) { return {{below(n), below(n), below(n)}, {real(), 0, 1}, {0, real()}}; }

  ModelImage fresh() {
    Model model("fresh", nullptr);
    std::mt19937 seed(rng());
    buildRandomModel(model, seed, below(2) ? "t.bmp" : "", below(4));
    return captureImage(model);
  }

  // A bone keyed anew in a clip (made when there is none), or a weight set or taken away.
  void animate(ModelImage& m) {
    if (m.bones.empty() || m.vertices.empty()) return;
    if (below(4) == 0) {
      if (m.weights.empty())
        m.weights.push_back({0, 0, 0.5});
      else
        m.weights.pop_back();
      return;
    }
    if (m.clips.empty() || below(4) == 0)
      m.clips.push_back({"c" + std::to_string(m.clips.size()), 24, 24, {}});
    auto& tracks = m.clips[below(m.clips.size())].tracks;
    const int bone = below(m.bones.size());
    auto at = std::find_if(tracks.begin(), tracks.end(), [&](auto& t) { return t.bone >= bone; });
    if (at == tracks.end() || at->bone != bone) at = tracks.insert(at, {bone, {}});
    at->keys = {{below(5), {1, real(), 0, 0}, {real(), 0, 0}}, {10 + below(9), {0, 0, 1, 0}}};
  }

  // One small edit (a run of vertices moved, two added at the front with a triangle, the last
  // removed with its triangles, a triangle turned, a colour, a group added or removed, a key or
  // a weight) or a new model.
  ModelImage edited(ModelImage m, int kind = -1) {
    auto& polygons = m.groups[below(m.groups.size())].polygons;
    const int n = m.vertices.size();
    kind = kind < 0 ? below(8) : kind;
    if (kind == 7) animate(m);
    for (int i = below(n), end = std::min(n, i + below(5) + 1); kind == 0 && i < end; ++i)
      m.vertices[i].y += 0.5;
    if (kind == 1 || kind == 2) {
      if (kind == 1) m.vertices.insert(m.vertices.begin(), 2, Vec3{real(), 1, 2});
      for (auto& group : m.groups) {
        std::erase_if(group.polygons, [&](const Polygon& p) {
          return kind == 2 && std::max({p.corners[0], p.corners[1], p.corners[2]}) == n - 1;
        });
        for (Polygon& p : group.polygons)
          for (int& c : p.corners) c += kind == 1 ? 2 : 0;
      }
      if (kind == 1) polygons.insert(polygons.begin(), Polygon{{0, 1, 2}});
      if (kind == 2 && n > 1) m.vertices.pop_back();
    }
    if (kind == 3 && !polygons.empty())
      std::swap(polygons.back().corners[1], polygons[0].corners[2]);
    if (kind == 4) m.groups.back().colour[below(4)] = real();
    if (kind == 5 && m.groups.size() > 1)
      m.groups.pop_back();
    else if (kind == 5)
      m.groups.emplace_back().polygons = {polygon(n)};
    size_t count = 0;  // bones keep only polygon numbers that still exist
    for (const auto& group : m.groups) count += group.polygons.size();
    for (auto& bone : m.bones) std::erase_if(bone.polygons, [&](size_t p) { return p >= count; });
    if (kind == 2)  // weights keep only vertices that still exist
      std::erase_if(m.weights, [&](auto& w) { return w.vertex >= int(m.vertices.size()); });
    return kind == 6 ? fresh() : m;
  }

  RecoveryContents contents(int steps) {
    RecoveryContents c{1765000000, "/ships/ship", {"ship", nullptr}, {}};
    ModelImage image = fresh();
    for (int i = 0; i < steps; ++i, image = edited(image))
      c.undoSteps.push_back({i % 3 ? "ship" : "other", std::make_shared<ModelImage>(image)});
    c.model.image = std::make_shared<ModelImage>(image);
    return c;
  }
};

bool same(const Snapshot& a, const Snapshot& b) {
  return a.name == b.name && *a.image == *b.image;
}

bool sameContents(const RecoveryContents& a, const RecoveryContents& b) {
  return a.changedAt == b.changedAt && same(a.model, b.model) &&
         std::equal(a.undoSteps.begin(), a.undoSteps.end(), b.undoSteps.begin(), b.undoSteps.end(),
                    same);
}

TEST(RecoveryFileTest, RandomChainsOfEditsComeBackExactlyAlsoFromCachedDifferences) {
  for (uint64_t seed = 1; seed <= 200; ++seed) {
    Chain chain{std::mt19937_64(seed)};
    const RecoveryContents written = chain.contents(chain.below(12));
    RecoveryContents read;
    ASSERT_TRUE(parseRecoveryFile(formatRecoveryFile(written), read, nullptr)) << seed;
    EXPECT_TRUE(sameContents(read, written)) << seed;
    // The next write, a change later, reuses the differences of the first: the same bytes.
    RecoveryStepCache cache;
    formatRecoveryFile(written, &cache);
    RecoveryContents next = written;
    next.undoSteps.push_back(written.model);
    next.model.image = std::make_shared<ModelImage>(chain.edited(*written.model.image));
    EXPECT_EQ(formatRecoveryFile(next, &cache), formatRecoveryFile(next)) << seed;
  }
}

// From a file, the body is read a piece at a time as the parse asks: the same contents as from
// memory, also for a body of several pieces; files of version 1 (no path, clips or weights) are
// read too; and the limits hold.
TEST(RecoveryFileTest, AFileIsReadInPiecesAsFromMemoryAlsoOfVersionOne) {
  ScratchDir dir;
  Chain chain{std::mt19937_64(3)};
  RecoveryContents large = chain.contents(3);
  auto big = std::make_shared<ModelImage>(*large.model.image);
  big->vertices.resize(250000, Vec3{0.5, 1, 2});  // six megabytes, more than one piece
  large.undoSteps.push_back(large.model);
  large.model.image = big;
  for (const RecoveryContents& newest : {chain.contents(5), large}) {
    for (const int version : {2, 1}) {
      RecoveryContents written = newest;
      std::vector<Snapshot*> all{&written.model};
      for (Snapshot& step : written.undoSteps) all.push_back(&step);
      for (Snapshot* s : all) {  // older editors kept no clips or weights
        if (version == 2) break;
        auto image = std::make_shared<ModelImage>(*s->image);
        image->clips.clear(), image->weights.clear();
        s->image = image;
      }
      writeFile(dir.file("r"), formatRecoveryFile(written, nullptr, version));
      const int fd = open(dir.file("r").c_str(), O_RDONLY);
      RecoveryContents read, head;
      std::string error;
      EXPECT_TRUE(readRecoveryFile(fd, read, &error, false)) << error;
      EXPECT_TRUE(readRecoveryFile(fd, head, nullptr, true));
      close(fd);
      EXPECT_TRUE(sameContents(read, written));
      EXPECT_EQ(read.modelPath, version == 2 ? written.modelPath : "");
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
  EXPECT_TRUE(same(newest.undoSteps[0], all.undoSteps[3]) &&
              same(newest.undoSteps[1], all.undoSteps[4]));
}

// The undo step of each small edit of a 3,000-triangle model takes a few hundred bytes at most
// (vertices moved, added or removed, a triangle turned, a colour).
TEST(RecoveryFileTest, ASmallEditOfALargeModelCostsAFewBytes) {
  Chain chain{std::mt19937_64(5)};
  ModelImage large;
  large.groups.resize(2);
  for (int i = 0; i < 3002; ++i) large.vertices.push_back({i / 8.0, 0, 1});
  for (int i = 0; i < 3000; ++i) large.groups[i % 2].polygons.push_back({{i, i + 1, i + 2}});
  const auto older = std::make_shared<ModelImage>(large);
  for (int kind = 0; kind < 5; ++kind) {
    const Snapshot newer{"large", std::make_shared<ModelImage>(chain.edited(large, kind))};
    const size_t alone = formatRecoveryFile({0, "/large", newer, {}}).size();
    EXPECT_LT(formatRecoveryFile({0, "/large", newer, {{"large", older}}}).size(), alone + 300)
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
      alone + 50 * 60 + 600);
}

TEST(RecoveryFileTest, EveryCutEveryChangedByteAndEveryImpossibleImageIsRefused) {
  Chain chain{std::mt19937_64(7)};
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
  };
  std::vector<std::pair<std::string, std::string>> cases = {
      {"3\n0 0 0\n", "not a recovery file"},
      {"vantorel-recovery 3\n" + text.substr(20), "a recovery file of another version"},
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
