#pragma once
// A natural cubic spline y = f(x) through control points, fitted with an
// iterative Gauss-Seidel solve of its tridiagonal system. Only x and y of the
// points are used; the curve is drawn in the plane z = drawZ.

#include <vector>

#include "model/list.h"
#include "model/vec3.h"

struct SplineSegment {
  double a = 0, b = 0, c = 0, d = 0, x0 = 0;  // a*t^3 + b*t^2 + c*t + d with t = x - x0
};

class Spline {
 public:
  // Fits the points of the list (newest at the head); prints the fit's trace.
  explicit Spline(List<Vec3>& points);

  double evaluate(double x) const;
  double minimum(int count) const;
  double xMin() const { return xMin_; }
  double xMax() const { return xMax_; }
  // True when every coefficient of the fit is a finite number.
  bool isFinite() const;

  // Solves A x = b (m unknowns) by Gauss-Seidel sweeps, stopping when no
  // finite value changes by more than 1e-6 (a value that is no longer a
  // number has no change to measure) or after kMaxSweeps sweeps.
  static constexpr int kMaxSweeps = 10000;
  static std::vector<double> solveGaussSeidel(std::vector<std::vector<double>> a,
                                              std::vector<double> b);

  int pointCount = 0;
  int segmentCount = 0;
  double drawZ = 0;
  std::vector<double> secondDerivatives;
  std::vector<Vec3*> points;  // sorted by x ascending; shared with the editor's list
  std::vector<SplineSegment> segments;

 private:
  double xMin_ = 0, xMax_ = 0;
};
