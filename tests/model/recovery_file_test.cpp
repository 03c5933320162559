// The recovery file gives back exactly the model and undo steps written, for random chains of
// edits, and refuses every cut, every changed byte and every image a model file could not hold.

#include <gtest/gtest.h>

#include <random>

#include "model/recovery_file.h"

namespace {

using Polygon = ModelImage::PolygonRecord;

class Chain {
 public:
  explicit Chain(uint64_t seed) : rng_(seed) {}

  ModelImage fresh() {
    ModelImage image;
    for (int i = below(30) + 1; i > 0; --i) image.vertices.push_back({real(), real(), real()});
    for (int g = below(3) + 1; g > 0; --g) {
      auto& group = image.groups.emplace_back();
      for (int p = below(20); p > 0; --p) group.polygons.push_back(polygon(image));
      group.textured = below(2), group.textureName = group.textured ? "t.bmp" : "";
    }
    return fixBones(image);
  }

  // One small edit, or now and then a new model.
  ModelImage edited(ModelImage image) {
    auto& polygons = image.groups[below(image.groups.size())].polygons;
    const int n = image.vertices.size();
    switch (below(7)) {
      case 0:  // a run of vertices moves
        for (int i = below(n), end = std::min(n, i + below(5) + 1); i < end; ++i)
          image.vertices[i].y += 0.5;
        break;
      case 1:  // vertices added at the front, and a triangle on them
        image.vertices.insert(image.vertices.begin(), 2, Vec3{real(), real(), real()});
        for (auto& group : image.groups)
          for (Polygon& p : group.polygons)
            for (int& c : p.corners) c += 2;
        polygons.insert(polygons.begin(), Polygon{{0, 1, 2}, {0, 1, 0}, {0, 0, 1}});
        break;
      case 2:  // the last vertex goes with its triangles
        for (auto& group : image.groups)
          std::erase_if(group.polygons, [&](const Polygon& p) {
            return std::max({p.corners[0], p.corners[1], p.corners[2]}) == n - 1;
          });
        if (n > 1) image.vertices.pop_back();
        break;
      case 3:  // a triangle turns
        if (!polygons.empty())
          std::swap(polygons[below(polygons.size())].corners[1], polygons[0].corners[2]);
        break;
      case 4:
        image.groups.back().colour[below(4)] = real();
        break;
      case 5:
        if (image.groups.size() > 1 && below(2))
          image.groups.pop_back();
        else
          image.groups.emplace_back().polygons.push_back(polygon(image));
        break;
      default:
        return fresh();
    }
    return fixBones(image);
  }

  int below(size_t n) { return static_cast<int>(rng_() % n); }

 private:
  double real() { return (below(2001) - 1000) / 8.0; }
  Polygon polygon(const ModelImage& image) {
    const int n = image.vertices.size();
    return {{below(n), below(n), below(n)}, {real(), 0, 1}, {0.25, real(), 0}};
  }
  // A root and two children holding polygon numbers of the image, or none.
  ModelImage fixBones(ModelImage image) {
    size_t count = 0;
    for (const auto& group : image.groups) count += group.polygons.size();
    image.bones.clear();
    if (below(3) == 0) return image;
    for (int depth : {1, 2, 3, 2}) {
      auto& bone = image.bones.emplace_back();
      bone.depth = depth, bone.x = real();
      for (size_t p = below(3); p < count; p += 1 + below(4)) bone.polygons.push_back(p);
    }
    return image;
  }
  std::mt19937_64 rng_;
};

RecoveryContents chainOf(Chain& chain, int steps) {
  RecoveryContents contents{1765000000, {"dir/ship.vantorel", nullptr}, {}};
  ModelImage image = chain.fresh();
  for (int i = 0; i < steps; ++i) {
    contents.undoSteps.push_back(
        {i % 3 ? "dir/ship.vantorel" : "other", std::make_shared<ModelImage>(image)});
    image = chain.edited(image);
  }
  contents.model.image = std::make_shared<ModelImage>(image);
  return contents;
}

void expectSame(const RecoveryContents& a, const RecoveryContents& b) {
  EXPECT_EQ(a.changedAt, b.changedAt);
  EXPECT_EQ(a.model.name, b.model.name);
  EXPECT_EQ(*a.model.image, *b.model.image);
  ASSERT_EQ(a.undoSteps.size(), b.undoSteps.size());
  for (size_t i = 0; i < a.undoSteps.size(); ++i) {
    EXPECT_EQ(a.undoSteps[i].name, b.undoSteps[i].name) << "step " << i;
    EXPECT_EQ(*a.undoSteps[i].image, *b.undoSteps[i].image) << "step " << i;
  }
}

TEST(RecoveryFileTest, RandomChainsOfEditsComeBackExactlyAlsoFromCachedDifferences) {
  for (uint64_t seed = 1; seed <= 200; ++seed) {
    Chain chain(seed);
    const RecoveryContents written = chainOf(chain, chain.below(12));
    RecoveryContents read;
    std::string error;
    ASSERT_TRUE(parseRecoveryFile(formatRecoveryFile(written), read, &error)) << seed << error;
    expectSame(written, read);
    // The next write, a change later, reuses the differences of the first: the same bytes.
    RecoveryStepCache cache;
    formatRecoveryFile(written, &cache);
    RecoveryContents next = written;
    next.undoSteps.push_back(written.model);
    next.model.image = std::make_shared<ModelImage>(chain.edited(*written.model.image));
    EXPECT_EQ(formatRecoveryFile(next, &cache), formatRecoveryFile(next)) << seed;
  }
}

TEST(RecoveryFileTest, EveryCutAndEveryChangedByteIsRefused) {
  Chain chain(7);
  const std::string text = formatRecoveryFile(chainOf(chain, 6));
  RecoveryContents read;
  std::string error;
  for (size_t cut = 0; cut < text.size(); ++cut)
    ASSERT_FALSE(parseRecoveryFile(text.substr(0, cut), read, &error)) << cut;
  for (size_t at = 0; at < text.size(); ++at) {
    std::string changed = text;
    changed[at] ^= 0x21;
    ASSERT_FALSE(parseRecoveryFile(changed, read, &error)) << at;
  }
  const std::pair<std::string, std::string> kCases[] = {
      {"3\n0 0 0\n", "not a recovery file"},
      {"vantorel-recovery 2\n" + text.substr(20), "a recovery file of another version"},
      {text.substr(0, text.size() - 1), "the file is cut short or too long"},
      {text + "x", "the file is cut short or too long"},
  };
  for (const auto& [file, reason] : kCases) {
    EXPECT_FALSE(parseRecoveryFile(file, read, &error));
    EXPECT_EQ(error, reason);
  }
}

TEST(RecoveryFileTest, ImagesAModelFileCouldNotHoldAreRefused) {
  Chain chain(3);
  const std::pair<void (*)(ModelImage&), std::string> kCases[] = {
      {[](ModelImage& m) { m.groups.clear(); }, "a model without groups"},
      {[](ModelImage& m) {
         m.groups[0].polygons.push_back({{0, 0, 99}});
       },
       "a vertex number out of range"},
      {[](ModelImage& m) { m.vertices[0].x = NAN; }, "a vertex that is not finite"},
      {[](ModelImage& m) { m.bones.resize(1), m.bones[0].depth = 2; }, "bone depths out of order"},
      {[](ModelImage& m) {
         m.bones = {{1, 0, 0, 0, 0, 0, {-1}}};
       },
       "a polygon number out of range"},
  };
  for (const auto& [damage, reason] : kCases) {
    RecoveryContents contents = chainOf(chain, 2), read;
    ModelImage broken = *contents.undoSteps[0].image;
    damage(broken);
    contents.undoSteps[0].image = std::make_shared<ModelImage>(broken);
    std::string error;
    EXPECT_FALSE(parseRecoveryFile(formatRecoveryFile(contents), read, &error));
    EXPECT_EQ(error, "the file holds " + reason);
  }
}

}  // namespace
