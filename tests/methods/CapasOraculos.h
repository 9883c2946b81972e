// Convex layers: seeded sets, the plain first peeling (the oracle), figures traced from edges.
#pragma once

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "Triangulos.h"
#include "geometry/FuncionesMatematicas.h"
#include "geometry/Tipos.h"
#include "methods/Capas.h"
#include "methods/Verificador.h"
#include "stats/EstadisticasCapas.h"

namespace qv::testing {

__extension__ typedef __int128 Int128;
using testing_triangles::CirclePoints;

// Sorted ascending by y, ties by x, without repeats: the order the driver establishes.
inline TNube Prepared(TNube points) {
  std::sort(points.begin(), points.end(),
            [](TPoint a, TPoint b) { return a.Y != b.Y ? a.Y < b.Y : a.X < b.X; });
  points.erase(std::unique(points.begin(), points.end()), points.end());
  return points;
}

// n points with coordinates step * [lo, hi], prepared.
inline TNube Draw(std::mt19937& rng, int n, int32_t lo, int32_t hi, int32_t step = 1) {
  std::uniform_int_distribution<int32_t> c(lo, hi);
  TNube p(static_cast<size_t>(n));
  for (auto& q : p) q = {step * c(rng), step * c(rng)};
  return Prepared(p);
}

inline bool AllOnOneLine(const TNube& p) {
  return std::all_of(p.begin(), p.end(),
                     [&](TPoint q) { return Orientation(p[0], p[1], q) == Collinear; });
}

// The seeded families of the property runs; every set is prepared (sorted, no repeats).
inline std::vector<std::pair<const char*, std::function<TNube(std::mt19937&)>>> Families() {
  return {
      {"uniform", [](std::mt19937& r) { return Draw(r, 3 + int(r() % 150), 0, 800); }},
      {"grid", [](std::mt19937& r) { return Draw(r, 3 + int(r() % 60), 0, 2 + int(r() % 8), 10); }},
      {"cocircular",  // one or two circles with many integer points
       [](std::mt19937& r) {
         TNube p = CirclePoints(5 + 20 * int(r() % 4), 300, 300);
         for (TPoint q : CirclePoints(65 + 20 * int(r() % 2), 300, 300)) p.push_back(q);
         return Prepared(p);
       }},
      {"lines",  // loose points and their projections on a row, a column and a diagonal
       [](std::mt19937& r) {
         TNube p = Draw(r, 2 + int(r() % 12), 0, 60);
         for (TPoint q : TNube(p)) p.insert(p.end(), {{q.X, 7}, {31, q.Y}, {q.X, q.X + 5}});
         return Prepared(p);
       }},
      {"tiny", [](std::mt19937& r) { return Draw(r, 3 + int(r() % 8), 0, 3); }},
      {"huge", [](std::mt19937& r) { return Draw(r, 3 + int(r() % 60), INT32_MIN, INT32_MAX); }},
  };
}

// ---- The peeling as first stated: both walkers scan every record on every step ------------

inline bool SameSpot(const TPTCapas& l, int a, int b) {
  return l[a].X == l[b].X && l[a].Y == l[b].Y;
}

// The hull walkers over the records still unassigned, skipping every record at record i's spot.
inline int WalkLayer(const TPTCapas& l, int i, bool clockwise) {
  TNube spots{{l[i].X, l[i].Y}};
  std::vector<int> record{i};
  for (int j = 0; j < l.Size(); ++j)
    if (l[j].Layer <= 0 && !SameSpot(l, i, j))
      spots.push_back({l[j].X, l[j].Y}), record.push_back(j);
  const int k = clockwise ? WalkHullClockwise(spots, 0) : WalkHullCounterclockwise(spots, 0);
  return k == kNone ? kNone : record[size_t(k)];
}

inline void ScanningBuild(const TNube& points, TPTCapas& layers) {
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
    for (const bool clockwise : {true, false}) {
      for (int cur = first, guard = 0; guard <= n; ++guard) {
        const int nxt = WalkLayer(layers, cur, clockwise);
        if (nxt == kNone) break;
        const bool atLast = SameSpot(layers, nxt, last);
        if (!clockwise || !atLast) layers[nxt].Layer = L;
        (clockwise ? layers[nxt].LayerPrev : layers[nxt].LayerNext) = cur;
        (clockwise ? layers[cur].LayerNext : layers[cur].LayerPrev) = nxt;
        ++counter;
        cur = nxt;
        if (atLast) break;
      }
    }
    layers.Sizes.push_back(std::max(1, counter));
  }
  layers.Count = L - 1;
}

// ---- Figures of a result from its edges, by tracing its faces ------------------------------

struct TFigures {
  double Weight = 0.0;
  int VertexDegree = 2, Triangles = 0, Others = 0, FaceDegree = 3;
};

// Angle order around o, exact: half-plane first, then the cross product.
inline bool AngleLess(TPoint o, TPoint p, TPoint q) {
  auto half = [&](TPoint r) { return r.Y != o.Y ? (r.Y > o.Y ? 0 : 1) : (r.X > o.X ? 0 : 1); };
  return half(p) != half(q) ? half(p) < half(q) : OrientationSign(o, p, q) > 0;
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

// Empty when the layers' edges form a pseudo-triangulation whose figures, as the statistics
// count them from the records, are those of its traced faces; otherwise what failed.
inline std::string LayerResultProblem(const TNube& p, const TPTCapas& layers) {
  const std::vector<TEdge> edges = LayerEdges(layers);
  const TCheckReport report = CheckPseudoTriangulation(p, edges);
  if (!report.Valid) return report.Reason;
  const TFigures traced = FiguresFromEdges(p, edges);
  TFigures counted{LayersWeight(p, layers), LayersVertexDegree(p, layers)};
  LayersFaceStats(layers, counted.Triangles, counted.Others, counted.FaceDegree);
  if (counted.VertexDegree != traced.VertexDegree || counted.FaceDegree != traced.FaceDegree ||
      counted.Triangles != report.Triangles || counted.Triangles + counted.Others != report.Faces ||
      std::abs(counted.Weight - traced.Weight) > 1e-9 * traced.Weight)
    return "figures differ from the traced faces";
  return "";
}

inline std::string Describe(const TNube& p) {
  std::string s;
  for (const TPoint& q : p)  // appended piece by piece: GCC 12 warns on "(" + std::string
    s.append("(").append(std::to_string(q.X)).append(",").append(std::to_string(q.Y)).append(")");
  return s;
}

inline TPTCapas Connected(const TNube& points) {
  TPTCapas layers;
  BuildConvexLayers(points, layers);
  ConnectConvexLayers(layers);
  return layers;
}

}  // namespace qv::testing
