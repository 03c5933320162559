#include "import/skin_import.h"

#include <algorithm>
#include <cmath>

#include "formats/model_file.h"

namespace {

constexpr double kSame = 1e-4;  // single precision weights and derived shares agree this well

// The four largest weights, summing to 1: what the editor would pose with.
std::vector<std::pair<int, double>> strongest(const std::vector<std::pair<int, float>>& in) {
  std::vector<std::pair<int, double>> out;
  for (auto [bone, w] : in)
    if (w > 0 && std::isfinite(w)) out.emplace_back(bone, w);
  std::sort(out.begin(), out.end(), [](const auto& a, const auto& b) {
    return a.second > b.second || (a.second == b.second && a.first < b.first);
  });
  if (out.size() > 4) out.resize(4);
  double sum = 0;
  for (const auto& w : out) sum += w.second;
  for (auto& w : out) w.second /= sum;
  return out;
}

double weightOf(const std::vector<std::pair<int, double>>& weights, int bone) {
  for (const auto& [b, w] : weights)
    if (b == bone) return w;
  return 0;
}

}  // namespace

void assignSkin(ModelImage& image, const VertexWeights& fileWeights) {
  const size_t vertices = image.vertices.size();
  std::vector<std::vector<std::pair<int, double>>> weights(vertices);
  for (size_t v = 0; v < vertices && v < fileWeights.size(); ++v)
    weights[v] = strongest(fileWeights[v]);
  std::vector<int> corners(vertices, 0);
  for (const auto& group : image.groups)
    for (const auto& p : group.polygons)
      for (int c : p.corners) ++corners[c];
  // Triangles of each bone left at each vertex.
  std::vector<std::vector<std::pair<int, int>>> left(vertices);
  for (size_t v = 0; v < vertices; ++v)
    for (const auto& [bone, w] : weights[v])
      left[v].emplace_back(bone, static_cast<int>(std::lround(w * corners[v])));
  auto leftAt = [&](int v, int bone) -> int* {
    for (auto& [b, n] : left[v])
      if (b == bone) return &n;
    return nullptr;
  };

  std::vector<const ModelImage::PolygonRecord*> polygons;
  for (const auto& group : image.groups)
    for (const auto& p : group.polygons) polygons.push_back(&p);
  // The bones left at all three corners, and the one of largest summed weight among them (or,
  // with `anyBone`, among all bones of its corners).
  auto choose = [&](const ModelImage::PolygonRecord& p, bool anyBone, int* choices) {
    std::vector<int> seen;
    int best = -1;
    double bestSum = -1;
    for (int c : p.corners) {
      for (const auto& [bone, w] : weights[c]) {
        if (std::find(seen.begin(), seen.end(), bone) != seen.end()) continue;
        double sum = 0;
        bool everywhere = true;
        for (int k : p.corners) {
          sum += weightOf(weights[k], bone);
          const int* n = leftAt(k, bone);
          everywhere = everywhere && n && *n > 0;
        }
        if (!everywhere && !anyBone) continue;
        seen.push_back(bone);
        if (sum > bestSum || (sum == bestSum && bone < best)) bestSum = sum, best = bone;
      }
    }
    if (choices) *choices = static_cast<int>(seen.size());
    return best;
  };
  constexpr int kUnassigned = -2;
  std::vector<int> boneOf(polygons.size(), kUnassigned);
  auto assign = [&](size_t f, int bone) {
    boneOf[f] = bone;
    if (bone >= 0)
      for (int k : polygons[f]->corners)
        if (int* n = leftAt(k, bone)) --*n;
  };
  // Triangles with one bone left at all their corners first, for as long as that settles any;
  // then the rest in order.
  for (int pass = 0, settled = 1; pass < 8 && settled; ++pass) {
    settled = 0;
    for (size_t f = 0; f < polygons.size(); ++f) {
      if (boneOf[f] != kUnassigned) continue;
      int choices = 0;
      const int only = choose(*polygons[f], false, &choices);
      if (only >= 0 && choices == 1) assign(f, only), ++settled;
    }
  }
  for (size_t f = 0; f < polygons.size(); ++f) {
    if (boneOf[f] != kUnassigned) continue;
    const int left = choose(*polygons[f], false, nullptr);
    assign(f, left >= 0 ? left : choose(*polygons[f], true, nullptr));
  }
  for (auto& bone : image.bones) bone.polygons.clear();
  for (size_t f = 0; f < polygons.size(); ++f)
    if (boneOf[f] >= 0) image.bones[boneOf[f]].polygons.push_back(static_cast<int>(f));

  // The weights the triangles give each vertex, against the file's.
  std::vector<std::vector<std::pair<int, double>>> derived(vertices);
  for (size_t f = 0; f < polygons.size(); ++f) {
    const int bone = std::max(0, boneOf[f]);  // none: the root's
    for (int c : polygons[f]->corners) {
      auto at = std::find_if(derived[c].begin(), derived[c].end(),
                             [bone](const auto& w) { return w.first == bone; });
      if (at == derived[c].end())
        derived[c].emplace_back(bone, 1);
      else
        at->second += 1;
    }
  }
  image.weights.clear();
  for (size_t v = 0; v < vertices; ++v) {
    if (weights[v].empty() || image.bones.empty()) continue;
    std::vector<std::pair<int, float>> shares;
    for (const auto& [bone, n] : derived[v]) shares.emplace_back(bone, static_cast<float>(n));
    const auto fromTriangles = strongest(shares);
    bool same = fromTriangles.size() == weights[v].size();
    for (const auto& [bone, w] : weights[v])
      same = same && std::abs(weightOf(fromTriangles, bone) - w) < kSame;
    if (same) continue;
    auto set = weights[v];
    std::sort(set.begin(), set.end());
    for (const auto& [bone, w] : set)
      image.weights.push_back({static_cast<int>(v), bone, roundAsWritten(w)});
  }
}
