// Points and point sets shared by every unit.
#pragma once

#include <compare>
#include <cstddef>
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
  // Lexicographic: by x, then by y.
  friend auto operator<=>(const TPoint&, const TPoint&) = default;
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

// One convex-layer record, kept at the index of its point.
struct TCapa {
  int32_t X = 0;
  int32_t Y = 0;
  int32_t Layer = 0;          // 0 while unassigned, 1 for the outermost layer, 2 inside it, ...
  int32_t LayerPrev = kNone;  // counterclockwise neighbour on the layer ring
  int32_t LayerNext = kNone;  // clockwise neighbour on the layer ring
  int32_t Link1 = kNone;      // extra edge slots; a slot holding the record's own index is empty
  int32_t Link2 = kNone;
  friend bool operator==(const TCapa&, const TCapa&) = default;
};

// The convex layers of a point set: one record per point (same index), the number of layers
// and the number of points of each layer (Sizes[k - 1] for layer k).
struct TPTCapas {
  std::vector<TCapa> Records;
  std::vector<int> Sizes;
  int Count = 0;

  int Size() const { return static_cast<int>(Records.size()); }
  TCapa& operator[](int i) { return Records[static_cast<std::size_t>(i)]; }
  const TCapa& operator[](int i) const { return Records[static_cast<std::size_t>(i)]; }
};

}  // namespace qv
