#pragma once
// The edges marked as seams: where unwrapping cuts the surface into charts
// whatever the angle between the faces. An edge is its two vertices, in
// either order; marks outlive the triangles along them, so deleting and
// rebuilding a face keeps the cut.

#include <cstddef>
#include <utility>

#include <absl/container/flat_hash_set.h>

struct Vertex;

class SeamSet {
 public:
  using Edge = std::pair<const Vertex*, const Vertex*>;  // smaller address first

  static Edge edge(const Vertex* a, const Vertex* b) { return a < b ? Edge{a, b} : Edge{b, a}; }
  void mark(const Vertex* a, const Vertex* b) { edges_.insert(edge(a, b)); }
  void clear(const Vertex* a, const Vertex* b) { edges_.erase(edge(a, b)); }
  bool contains(const Vertex* a, const Vertex* b) const { return edges_.contains(edge(a, b)); }
  bool empty() const { return edges_.empty(); }
  size_t size() const { return edges_.size(); }
  void reserve(size_t n) { edges_.reserve(n); }
  auto begin() const { return edges_.begin(); }
  auto end() const { return edges_.end(); }
  bool operator==(const SeamSet&) const = default;

 private:
  absl::flat_hash_set<Edge> edges_;
};
