// Seeded simple polygons: convex, star-shaped, spirals and combs (many reflex vertices, combs
// with long collinear runs); the sense of turn varies with the seed.
#pragma once

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "geometry/Tipos.h"

namespace qv::testing_polygons {

inline TPoint Round(double x, double y) {
  return {static_cast<int32_t>(std::lround(x)), static_cast<int32_t>(std::lround(y))};
}

// n distinct angles in [0, 2 pi), increasing.
inline std::vector<double> SortedAngles(int n, std::mt19937& rng) {
  std::uniform_real_distribution<double> u(0.0, 2 * std::numbers::pi);
  std::set<double> angles;
  while (static_cast<int>(angles.size()) < n) angles.insert(u(rng));
  return {angles.begin(), angles.end()};
}

inline void MaybeReverse(TNube& p, std::mt19937& rng) {
  if (rng() & 1u) std::reverse(p.begin(), p.end());
}

// Vertices on a circle of radius 100000 (rounded, so a few may be flat).
inline TNube Convex(int n, uint32_t seed) {
  std::mt19937 rng(seed);
  TNube p;
  for (double a : SortedAngles(n, rng)) p.push_back(Round(1e5 * std::cos(a), 1e5 * std::sin(a)));
  MaybeReverse(p, rng);
  return p;
}

// Vertices at increasing angles around the origin with random radii.
inline TNube Star(int n, uint32_t seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> radius(2e4, 1e5);
  TNube p;
  for (double a : SortedAngles(n, rng)) {
    const double r = radius(rng);
    p.push_back(Round(r * std::cos(a), r * std::sin(a)));
  }
  MaybeReverse(p, rng);
  return p;
}

// A spiral strip of about n vertices: the outer wall outwards, then the inner wall back.
inline TNube Spiral(int n, uint32_t seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> turnsD(1.0, 3.5), jitter(-0.2, 0.2);
  const int half = std::max(2, n / 2);
  const double turns = turnsD(rng);
  const double pitch = 40000.0;  // radial growth per turn; the wall is thinner than that
  const double wall = 15000.0;
  std::vector<double> t(static_cast<size_t>(half));
  for (int i = 0; i < half; ++i)
    t[i] = (i + 0.5 + jitter(rng)) / half * turns * 2 * std::numbers::pi;
  auto at = [&](double a, double r) { return Round(r * std::cos(a), r * std::sin(a)); };
  TNube p;
  for (int i = 0; i < half; ++i)
    p.push_back(at(t[i], 30000.0 + wall + pitch * t[i] / (2 * std::numbers::pi)));
  for (int i = half - 1; i >= 0; --i)
    p.push_back(at(t[i], 30000.0 + pitch * t[i] / (2 * std::numbers::pi)));
  MaybeReverse(p, rng);
  return p;
}

// A comb of about n vertices: a solid base with teeth of random widths and heights; all gap
// bottoms lie on one line, and so do the base corners.
inline TNube Comb(int n, uint32_t seed) {
  std::mt19937 rng(seed);
  std::uniform_int_distribution<int> width(5, 60), height(50, 600);
  const int teeth = std::max(1, (n - 2) / 4);
  TNube top;  // the teeth outline from left to right, above the base line y = 0
  int x = 0;
  for (int i = 0; i < teeth; ++i) {
    const int w = width(rng), h = height(rng), gap = width(rng);
    top.insert(top.end(), {{x, -h}, {x + w, -h}});
    x += w;
    if (i + 1 < teeth) {
      top.insert(top.end(), {{x, 0}, {x + gap, 0}});
      x += gap;
    }
  }
  TNube p{{0, 100}, {x, 100}};  // the base's bottom corners
  for (auto it = top.rbegin(); it != top.rend(); ++it) p.push_back(*it);
  MaybeReverse(p, rng);
  return p;
}

// Every generator with its name.
inline std::vector<std::pair<std::string, std::function<TNube(int, uint32_t)>>> Generators() {
  return {{"convex", Convex}, {"star", Star}, {"spiral", Spiral}, {"comb", Comb}};
}

}  // namespace qv::testing_polygons
