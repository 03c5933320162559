#pragma once
// Random chains of model images, each a small edit of the one before (or now and then a new
// model), for the tests of what keeps images as their differences.

#include <algorithm>
#include <random>
#include <string>

#include "formats/model_file.h"
#include "model/model.h"
#include "support/format_fixtures.h"

struct ImageChain {
  std::mt19937_64 rng;
  int below(size_t n) { return static_cast<int>(rng() % n); }
  double real() { return (below(2001) - 1000) / 8.0; }
  ModelImage::PolygonRecord polygon(int n) {
    return {{below(n), below(n), below(n)}, {real(), 0, 1}, {0, real()}};
  }

  ModelImage fresh() {
    Model model("fresh", nullptr);
    std::mt19937 seed(rng());
    buildRandomModel(model, seed, below(2) ? "t.bmp" : "", below(4));
    return captureImage(model);
  }

  // A bone keyed anew in a clip (made when there is none), a weight set or taken away, the last
  // bone named or unnamed, or the seam between the first two vertices marked or cleared.
  void animate(ModelImage& m) {
    if (m.vertices.size() > 1 && below(3) == 0) {
      if (!m.seams.empty() && m.seams.front() == std::pair{0, 1})
        m.seams.erase(m.seams.begin());
      else
        m.seams.insert(m.seams.begin(), {0, 1});
      return;
    }
    if (m.bones.empty() || m.vertices.empty()) return;
    if (below(5) == 0) {  // the last bone named or unnamed
      const int last = static_cast<int>(m.bones.size()) - 1;
      if (!m.boneNames.empty() && m.boneNames.back().first == last)
        m.boneNames.pop_back();
      else
        m.boneNames.emplace_back(last, "bone.L");
      return;
    }
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
  // a weight, a seam) or a new model.
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
        std::erase_if(group.polygons, [&](const ModelImage::PolygonRecord& p) {
          return kind == 2 && std::max({p.corners[0], p.corners[1], p.corners[2]}) == n - 1;
        });
        for (ModelImage::PolygonRecord& p : group.polygons)
          for (int& c : p.corners) c += kind == 1 ? 2 : 0;
      }
      if (kind == 1) polygons.insert(polygons.begin(), ModelImage::PolygonRecord{{0, 1, 2}});
      if (kind == 2 && n > 1) m.vertices.pop_back();
      for (auto& [a, b] : m.seams) a += kind == 1 ? 2 : 0, b += kind == 1 ? 2 : 0;
      std::erase_if(m.seams, [&](auto& seam) { return seam.second >= int(m.vertices.size()); });
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
};
