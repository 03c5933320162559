#pragma once
// Sets of items numbered 0 to n - 1 that join two at a time (charts of
// triangles that share an edge), with paths halved as they are walked.

#include <cstddef>
#include <numeric>
#include <vector>

class UnionFind {
 public:
  explicit UnionFind(size_t n) : parent_(n) { std::iota(parent_.begin(), parent_.end(), 0); }
  size_t root(size_t i) {
    while (parent_[i] != i) i = parent_[i] = parent_[parent_[i]];
    return i;
  }
  void join(size_t a, size_t b) { parent_[root(a)] = root(b); }

 private:
  std::vector<size_t> parent_;
};
