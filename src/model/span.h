#pragma once
// A closed interval from two unordered bounds, widened on both sides: what a
// rubber band or a click with its tolerance covers along one axis.

#include <algorithm>

struct Span {
  double low, high;
  Span(double a, double b, double widen)
      : low(std::min(a, b) - widen), high(std::max(a, b) + widen) {}
  bool holds(double value) const { return low <= value && value <= high; }
};
