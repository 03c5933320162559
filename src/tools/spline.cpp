#include "tools/spline.h"

#include <cmath>
#include <cstdio>
#include <utility>

namespace {

constexpr double kTolerance = 1e-6;

void printPoints(const std::vector<Vec3*>& points) {
  for (size_t k = 0; k < points.size(); ++k)
    std::printf("verts[%d]: %lf %lf %lf\n", static_cast<int>(k), points[k]->x, points[k]->y,
                points[k]->z);
}

}  // namespace

Spline::Spline(List<Vec3>& list) {
  const int n = list.count();
  pointCount = n;
  segmentCount = n - 1;

  // The head is the newest point, so index 0 ends up the first one clicked.
  points.assign(n, nullptr);
  int index = n - 1;
  for (Vec3* p : list) {
    points[index] = p;
    std::printf("verts[%d]: %lf %lf %lf\n", index, p->x, p->y, p->z);
    if (index == n - 1 || p->x < xMin_) xMin_ = p->x;
    if (index == n - 1 || p->x > xMax_) xMax_ = p->x;
    --index;
  }

  // Bubble passes keep points of equal x in click order.
  for (int pass = 0; pass < n; ++pass)
    for (int k = 0; k + 1 < n; ++k)
      if (points[k + 1]->x < points[k]->x) std::swap(points[k], points[k + 1]);
  printPoints(points);

  auto x = [this](int i) { return points[i]->x; };
  auto y = [this](int i) { return points[i]->y; };

  // The natural spline's equations for the inner second derivatives; the
  // ends are held at 0.
  const int m = n > 2 ? n - 2 : 0;
  std::vector<double> rhs(m);
  for (int j = 0; j < m; ++j) {
    rhs[j] =
        6 * ((y(j + 1) - y(j + 2)) / (x(j + 1) - x(j + 2)) - (y(j) - y(j + 1)) / (x(j) - x(j + 1)));
    std::printf("c1sol[%d]: %lf\n", j, rhs[j]);
  }
  std::vector<std::vector<double>> matrix(m, std::vector<double>(m, 0.0));
  for (int j = 0; j < m; ++j) {
    matrix[j][j] = 2 * ((x(j + 1) - x(j)) + (x(j + 2) - x(j + 1)));
    if (j + 1 < m) matrix[j][j + 1] = x(j + 2) - x(j + 1);
    if (j > 0) matrix[j][j - 1] = x(j + 1) - x(j);
    for (double entry : matrix[j]) std::printf("%lf ", entry);
    std::printf("\n");
  }

  secondDerivatives.assign(n, 0.0);
  std::vector<double> inner = solveGaussSeidel(matrix, rhs);
  for (int j = 0; j < m; ++j) secondDerivatives[j + 1] = inner[j];
  for (int j = 0; j < n; ++j) std::printf("S[%d]: %lf\n", j, secondDerivatives[j]);

  const std::vector<double>& s = secondDerivatives;
  for (int j = 0; j + 1 < n; ++j) {
    double h = x(j + 1) - x(j);
    SplineSegment seg;
    seg.a = (s[j + 1] - s[j]) / (h * 6);
    seg.b = s[j] * 0.5;
    seg.c = (y(j + 1) - y(j)) / h - h * (2 * s[j] + s[j + 1]) * 0.16666666666666666;
    seg.d = y(j);
    seg.x0 = x(j);
    segments.push_back(seg);
    std::printf("cpolys[%d]: %lf %lf %lf %lf %lf\n", j, seg.a, seg.b, seg.c, seg.d, seg.x0);
  }

  std::printf("g(0.66): %lf\n", evaluate(0.66));
  std::printf("g(1.75): %lf\n", evaluate(1.75));
}

double Spline::evaluate(double x) const {
  if (segments.empty()) return pointCount > 0 ? points[0]->y : 0.0;
  // At or past the last point no interval contains x; the last cubic carries
  // on, so the curve ends exactly on the last point.
  size_t i = 0;
  while (i + 1 < segments.size() && !(x < points[i + 1]->x)) ++i;
  const SplineSegment& seg = segments[i];
  double t = x - seg.x0;
  return ((seg.a * t + seg.b) * t + seg.c) * t + seg.d;
}

double Spline::minimum(int count) const {
  if (count < 1) count = 1;
  double step = (xMax_ - xMin_) / count;
  double lowest = evaluate(xMin_);
  for (int i = 1; i < count; ++i) {
    double value = evaluate(xMin_ + i * step);
    if (value < lowest) lowest = value;
  }
  return lowest;
}

bool Spline::isFinite() const {
  for (double s : secondDerivatives)
    if (!std::isfinite(s)) return false;
  for (const SplineSegment& seg : segments)
    for (double v : {seg.a, seg.b, seg.c, seg.d, seg.x0})
      if (!std::isfinite(v)) return false;
  return true;
}

std::vector<double> Spline::solveGaussSeidel(std::vector<std::vector<double>> a,
                                             std::vector<double> b) {
  const size_t m = b.size();
  for (size_t k = 0; k < m; ++k) {
    double pivot = a[k][k];
    b[k] /= pivot;
    for (size_t j = 0; j < m; ++j)
      if (j != k) a[k][j] /= pivot;
  }

  std::vector<double> x(m, 0.0);
  for (int sweep = 0; sweep < kMaxSweeps; ++sweep) {
    std::vector<double> previous = x;
    for (size_t k = 0; k < m; ++k) {
      double value = b[k];
      for (size_t j = 0; j < m; ++j)
        if (j != k) value -= a[k][j] * x[j];
      x[k] = value;
    }
    bool settled = true;
    for (size_t k = 0; k < m; ++k) {
      // A value that is no longer a number (two points of equal x do this)
      // has no change to measure; the sweeps go on while any other value
      // still moves, up to the cap.
      double change = std::fabs(x[k] - previous[k]);
      if (std::isfinite(change) && change > kTolerance) settled = false;
    }
    if (settled) break;
  }
  return x;
}
