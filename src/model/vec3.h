#pragma once

// A plain coordinate triple; arithmetic is written out where it is used.
struct Vec3 {
  double x = 0, y = 0, z = 0;

  bool operator==(const Vec3&) const = default;
};
