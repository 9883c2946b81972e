// Points and point sets shared by every unit.
#pragma once

#include <cstdint>
#include <vector>

namespace qv {

// Sentinel for "no point / no vertex / no half-edge / no face" in every index field.
constexpr int kNone = -1;

// An integer canvas point in pixels: x grows to the right, y grows downwards.
struct TPoint {
  int32_t X = 0;
  int32_t Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

// A point with fractional coordinates (line intersections).
struct TPointF {
  double X = 0.0;
  double Y = 0.0;
};

// A point set; a point is known by its index.
using TNube = std::vector<TPoint>;
// A polygon or polygonal chain in boundary order, the last vertex joined to the first.
using TFrontera = std::vector<TPoint>;

}  // namespace qv
