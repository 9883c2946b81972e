// Seeded input sets shared by the benchmarks: random points with coordinates up to 2^20 (so
// that collinear triples are rare) and a square grid (all of them collinear in rows).
#pragma once

#include <cstdint>
#include <random>
#include <set>
#include <utility>

#include "geometry/Tipos.h"

namespace qv::bench {

// n random points, repeats allowed.
inline TNube RandomPoints(int n, uint32_t seed) {
  std::mt19937 rng(seed);
  std::uniform_int_distribution<int32_t> coord(0, 1 << 20);
  TNube points(static_cast<size_t>(n));
  for (auto& p : points) p = {coord(rng), coord(rng)};
  return points;
}

// n distinct random points.
inline TNube DistinctRandomPoints(int n, uint32_t seed) {
  std::mt19937 rng(seed);
  std::uniform_int_distribution<int32_t> coord(0, 1 << 20);
  std::set<std::pair<int32_t, int32_t>> seen;
  TNube points;
  while (static_cast<int>(points.size()) < n) {
    const TPoint p{coord(rng), coord(rng)};
    if (seen.insert({p.X, p.Y}).second) points.push_back(p);
  }
  return points;
}

// side x side points, three pixels apart.
inline TNube Grid(int side) {
  TNube points;
  for (int x = 0; x < side; ++x)
    for (int y = 0; y < side; ++y) points.push_back({x * 3, y * 3});
  return points;
}

}  // namespace qv::bench
