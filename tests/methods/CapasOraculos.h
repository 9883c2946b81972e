// Test helpers for the convex-layers method: seeded point sets, the peeling and the face count
// in their first, plain form (kept as oracles), and the figures of a result recomputed from its
// edges alone.
#pragma once

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "geometry/FuncionesMatematicas.h"
#include "geometry/Tipos.h"
#include "methods/Capas.h"
#include "methods/Verificador.h"
#include "stats/EstadisticasCapas.h"

namespace qv::testing {

__extension__ typedef __int128 Int128;

// ---- Point sets ----------------------------------------------------------------------------

// Sorted ascending by y, ties by x, without repeats: the order the driver establishes.
inline TNube Prepared(TNube points) {
  auto byYX = [](TPoint a, TPoint b) { return a.Y != b.Y ? a.Y < b.Y : a.X < b.X; };
  std::sort(points.begin(), points.end(), byYX);
  points.erase(std::unique(points.begin(), points.end()), points.end());
  return points;
}

inline TNube Uniform(std::mt19937& rng, int n, int lo, int hi) {
  std::uniform_int_distribution<int32_t> c(lo, hi);
  TNube p(static_cast<size_t>(n));
  for (auto& q : p) q = {c(rng), c(rng)};
  return Prepared(p);
}

inline TNube Normal(std::mt19937& rng, int n, double sigma) {
  std::normal_distribution<double> c(400.0, sigma);
  TNube p(static_cast<size_t>(n));
  for (auto& q : p) q = {int32_t(std::lround(c(rng))), int32_t(std::lround(c(rng)))};
  return Prepared(p);
}

// Coordinates on a coarse grid, so that many points share rows, columns and diagonals.
inline TNube Grid(std::mt19937& rng, int n, int cells, int step) {
  std::uniform_int_distribution<int32_t> c(0, cells);
  TNube p(static_cast<size_t>(n));
  for (auto& q : p) q = {step * c(rng), step * c(rng)};
  return Prepared(p);
}

// Points rounded onto one to three concentric circles, at random or evenly spaced angles.
inline TNube Circular(std::mt19937& rng, int n) {
  std::uniform_int_distribution<int> rings(1, 3), even(0, 1);
  std::uniform_real_distribution<double> angle(0.0, 2.0 * std::numbers::pi);
  const int k = rings(rng);
  const bool spaced = even(rng) == 1;
  TNube p;
  for (int i = 0; i < n; ++i) {
    const double r = 40.0 * (1 + i % k);
    const double a = spaced ? 2.0 * std::numbers::pi * (i / k) / std::max(1, n / k) : angle(rng);
    p.push_back(
        {int32_t(std::lround(300 + r * std::cos(a))), int32_t(std::lround(300 + r * std::sin(a)))});
  }
  return Prepared(p);
}

// Points on three lines (rows, columns or diagonals) plus a few loose ones.
inline TNube Lines(std::mt19937& rng, int n) {
  std::uniform_int_distribution<int> kind(0, 3), off(0, 60), t(0, 60);
  TNube p;
  for (int line = 0; line < 3; ++line) {
    const int k = kind(rng), o = off(rng);
    for (int i = 0; i < n / 4; ++i) {
      const int s = t(rng);
      p.push_back(k == 0   ? TPoint{s, o}
                  : k == 1 ? TPoint{o, s}
                  : k == 2 ? TPoint{s, s + o - 30}
                           : TPoint{s, o - s});
    }
  }
  for (int i = 0; i < n / 4; ++i) p.push_back({off(rng), off(rng)});
  return Prepared(p);
}

inline bool AllOnOneLine(const TNube& p) {
  for (const TPoint& q : p)
    if (Orientation(p[0], p[1], q) != Collinear) return false;
  return true;
}

// No three points on a line: around every point no two others in the same or the opposite
// direction. Coordinates must be below 2^30 in magnitude.
inline bool InGeneralPosition(const TNube& p) {
  for (const TPoint& o : p) {
    std::vector<TPoint> dirs;
    for (const TPoint& q : p) {
      if (q == o) continue;
      TPoint d{q.X - o.X, q.Y - o.Y};
      if (d.Y < 0 || (d.Y == 0 && d.X < 0)) d = {-d.X, -d.Y};  // fold opposite directions
      dirs.push_back(d);
    }
    // Folded into one half-plane, directions are ordered by the turn between them.
    std::sort(dirs.begin(), dirs.end(), [](TPoint a, TPoint b) {
      return OrientationSign({0, 0}, a, b) > 0;
    });
    for (size_t i = 1; i < dirs.size(); ++i)
      if (OrientationSign({0, 0}, dirs[i - 1], dirs[i]) == 0) return false;
  }
  return true;
}

struct TFamily {
  const char* Name;
  std::function<TNube(std::mt19937&)> Make;
};

// The seeded families of the property runs; every set is prepared (sorted, no repeats).
inline std::vector<TFamily> Families() {
  return {
      {"uniform", [](std::mt19937& r) { return Uniform(r, 3 + int(r() % 150), 0, 800); }},
      {"normal", [](std::mt19937& r) { return Normal(r, 3 + int(r() % 150), 60.0); }},
      {"grid", [](std::mt19937& r) { return Grid(r, 3 + int(r() % 60), 2 + int(r() % 8), 10); }},
      {"circular", [](std::mt19937& r) { return Circular(r, 3 + int(r() % 60)); }},
      {"lines", [](std::mt19937& r) { return Lines(r, 4 + int(r() % 40)); }},
      {"tiny", [](std::mt19937& r) { return Grid(r, 3 + int(r() % 8), 3, 1); }},
      {"huge", [](std::mt19937& r) { return Uniform(r, 3 + int(r() % 60), INT32_MIN, INT32_MAX); }},
  };
}

// ---- The peeling as first stated: both walkers scan every record on every step ------------

using Walker = std::function<int(const TPTCapas&, int)>;

inline bool SameSpot(const TPTCapas& l, int a, int b) {
  return l[a].X == l[b].X && l[a].Y == l[b].Y;
}

inline void ScanningBuild(const TNube& points, TPTCapas& layers, const Walker& cw,
                          const Walker& ccw) {
  const int n = static_cast<int>(points.size());
  layers.Records.assign(points.size(), TCapa{});
  layers.Sizes.clear();
  for (int i = 0; i < n; ++i) layers[i] = {points[size_t(i)].X, points[size_t(i)].Y, 0, i, i, i, i};
  int L = 1;
  for (;; ++L) {
    int first = kNone, last = kNone;
    for (int i = 0; i < n; ++i)
      if (layers[i].Layer <= 0) last = i, first = first == kNone ? i : first;
    if (last == kNone) break;
    layers[first].Layer = L;
    int counter = 0;
    for (int cur = first, guard = 0; guard <= n; ++guard) {
      const int nxt = cw(layers, cur);
      if (nxt == kNone) break;
      if (!SameSpot(layers, nxt, last)) layers[nxt].Layer = L;
      layers[nxt].LayerPrev = cur;
      layers[cur].LayerNext = nxt;
      ++counter;
      cur = nxt;
      if (SameSpot(layers, nxt, last)) break;
    }
    for (int cur = first, guard = 0; guard <= n; ++guard) {
      const int nxt = ccw(layers, cur);
      if (nxt == kNone) break;
      layers[nxt].Layer = L;
      layers[nxt].LayerNext = cur;
      layers[cur].LayerPrev = nxt;
      ++counter;
      cur = nxt;
      if (SameSpot(layers, nxt, last)) break;
    }
    layers.Sizes.push_back(std::max(1, counter));
  }
  layers.Count = L - 1;
}

inline void ScanningBuild(const TNube& points, TPTCapas& layers) {
  ScanningBuild(points, layers, WalkLayerClockwise, WalkLayerCounterclockwise);
}

// The walkers with the bearing computed as an angle, as they were first written.
inline int AngleWalk(const TPTCapas& l, int i, bool clockwise) {
  const TPoint p{l[i].X, l[i].Y};
  int best = kNone;
  double bestBearing = clockwise ? 360.0 : 0.0;
  for (int j = 0; j < l.Size(); ++j) {
    if (l[j].Layer > 0 || SameSpot(l, i, j)) continue;
    const double b = Bearing(p, {l[j].X, l[j].Y});
    if (clockwise ? (b >= 90.0 && b < bestBearing) : (b <= 270.0 && b > bestBearing))
      best = j, bestBearing = b;
  }
  return best;
}

// ---- The face count from the records, as first stated -------------------------------------
// Every face between two layers is counted from one vertex of its outer layer by following
// the links; the region inside the two innermost layers is counted from the layer sizes. It
// holds when no three points lie on a line.

inline int RingSteps(const TPTCapas& l, int x, int target) {
  int steps = 0;
  do {
    x = l[x].LayerNext;
    ++steps;
  } while (x != target && steps <= l.Size());
  return steps;
}

inline int OwnedFaceDegree(const TPTCapas& l, int v) {
  const TCapa& r = l[v];
  const int l1 = r.Link1, l2 = r.Link2, prev = r.LayerPrev;
  if (l[l1].Layer == l[l2].Layer && l[l1].Layer != r.Layer) return 2 + RingSteps(l, l1, l2);
  if (l1 == prev && l[l2].Layer != r.Layer) {
    const int t = l[l1].Link2;
    return t == l2 ? 3 : 3 + RingSteps(l, t, l2);
  }
  if (l1 == prev) {
    const int t = l[l1].Link2;
    if (t == l2) return 3;
    const int e = l[l2].Link1;
    return t == e ? 4 : 4 + RingSteps(l, t, e);
  }
  return 0;
}

inline void CountedFaceStats(const TPTCapas& l, int& triangles, int& others, int& maxDegree) {
  triangles = others = 0;
  maxDegree = 3;
  const int K = l.Count, inner = LayerSize(l, K);
  int marker = 0;
  for (int v = 0; v < l.Size(); ++v) {
    const TCapa& r = l[v];
    if (r.Layer == K || (r.Layer == K - 1 && inner == 1)) continue;
    if (r.Layer == K - 1 && inner == 2) {
      if (r.Link1 == r.LayerPrev && marker == 0) {
        const int t = l[r.Link1].Link2;
        if (t != r.Link2) marker = l[t].LayerNext == r.Link2 ? 4 : 5;
      }
      continue;
    }
    const int d = OwnedFaceDegree(l, v);
    if (d == 0) continue;
    (d == 3 ? triangles : others) += 1;
    maxDegree = std::max(maxDegree, d);
  }
  if (inner > 2) {
    triangles += inner - 2;
  } else if (inner == 1) {
    maxDegree = std::max(4, maxDegree);
    triangles += LayerSize(l, K - 1) - 2;
    others += 1;
  } else if (marker == 4) {
    maxDegree = std::max(4, maxDegree);
    triangles += LayerSize(l, K - 1) - 2;
    others += 2;
  } else {
    maxDegree = std::max(5, maxDegree);
    triangles += LayerSize(l, K - 1) - 1;
    others += 1;
  }
}

// ---- Figures of a result from its edges, by tracing its faces ------------------------------

struct TFigures {
  double Weight = 0.0;
  int VertexDegree = 2;
  int Triangles = 0, Others = 0, FaceDegree = 3;
};

// Angle order around o, exact: half-plane first, then the cross product.
inline bool AngleLess(TPoint o, TPoint p, TPoint q) {
  auto half = [&](TPoint r) { return r.Y != o.Y ? (r.Y > o.Y ? 0 : 1) : (r.X > o.X ? 0 : 1); };
  if (half(p) != half(q)) return half(p) < half(q);
  return OrientationSign(o, p, q) > 0;
}

inline TFigures FiguresFromEdges(const TNube& points, const std::vector<TEdge>& edges) {
  TFigures f;
  const int n = static_cast<int>(points.size()), m = static_cast<int>(edges.size());
  std::vector<std::vector<int>> around(static_cast<size_t>(n));
  auto origin = [&](int h) { return (h & 1) ? edges[size_t(h >> 1)].B : edges[size_t(h >> 1)].A; };
  for (int h = 0; h < 2 * m; ++h) around[size_t(origin(h))].push_back(h);
  std::vector<int> slot(size_t(2 * m)), next(size_t(2 * m)), seen(size_t(2 * m), 0);
  for (int v = 0; v < n; ++v) {
    auto& r = around[size_t(v)];
    f.VertexDegree = std::max(f.VertexDegree, static_cast<int>(r.size()));
    std::sort(r.begin(), r.end(), [&](int a, int b) {
      return AngleLess(points[size_t(v)], points[size_t(origin(a ^ 1))],
                       points[size_t(origin(b ^ 1))]);
    });
    for (size_t i = 0; i < r.size(); ++i) slot[size_t(r[i])] = static_cast<int>(i);
  }
  for (int h = 0; h < 2 * m; ++h) {
    const auto& r = around[size_t(origin(h ^ 1))];
    next[size_t(h)] = r[(size_t(slot[size_t(h ^ 1)]) + r.size() - 1) % r.size()];
  }
  for (const TEdge& e : edges) f.Weight += Distance(points[size_t(e.A)], points[size_t(e.B)]);
  for (int s = 0; s < 2 * m; ++s) {
    if (seen[size_t(s)]) continue;
    int d = 0;
    Int128 area = 0;
    for (int h = s; !seen[size_t(h)]; h = next[size_t(h)]) {
      seen[size_t(h)] = 1;
      ++d;
      const TPoint p = points[size_t(origin(h))], q = points[size_t(origin(h ^ 1))];
      area += Int128{p.X} * q.Y - Int128{p.Y} * q.X;
    }
    if (area <= 0) continue;  // the outer face
    (d == 3 ? f.Triangles : f.Others) += 1;
    f.FaceDegree = std::max(f.FaceDegree, d);
  }
  return f;
}

inline TFigures LayerFigures(const TNube& points, const TPTCapas& layers) {
  TFigures f;
  f.Weight = LayersWeight(points, layers);
  f.VertexDegree = LayersVertexDegree(points, layers);
  LayersFaceStats(layers, f.Triangles, f.Others, f.FaceDegree);
  return f;
}

inline std::string Describe(const TNube& p) {
  std::string s;
  for (const TPoint& q : p) s += "(" + std::to_string(q.X) + "," + std::to_string(q.Y) + ")";
  return s;
}

inline TPTCapas Connected(const TNube& points) {
  TPTCapas layers;
  BuildConvexLayers(points, layers);
  ConnectConvexLayers(layers);
  return layers;
}

}  // namespace qv::testing
