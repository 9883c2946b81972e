// The shortest-paths construction as first stated: visibility of every pair tested against every
// edge, Dijkstra over the whole visibility matrix, then each diagonal's geodesic followed hop by
// hop and inserted. Cubic, but plainly right, so the program's funnels are checked against it.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "geometry/FuncionesMatematicas.h"
#include "methods/CaminosMinimos.h"

namespace qv::oracle {

template <typename T>
using TMatrix = std::vector<std::vector<T>>;

inline double PolygonArea(const TNube& p) {
  double sum = 0.0;
  for (size_t i = 0; i < p.size(); ++i) {
    const TPoint a = p[i], b = p[(i + 1) % p.size()];
    sum += double(int64_t{a.X} * b.Y) - double(int64_t{a.Y} * b.X);
  }
  return std::fabs(sum) / 2.0;
}

inline bool OpenSegmentHoldsVertex(const TNube& p, int i, int j) {
  for (int k = 0; k < static_cast<int>(p.size()); ++k) {
    if (k == i || k == j || OrientationSign(p[i], p[j], p[k]) != 0) continue;
    if (std::min(p[i].X, p[j].X) <= p[k].X && p[k].X <= std::max(p[i].X, p[j].X) &&
        std::min(p[i].Y, p[j].Y) <= p[k].Y && p[k].Y <= std::max(p[i].Y, p[j].Y))
      return true;
  }
  return false;
}

// vis[i][j]: the closed segment i-j crosses no edge, both polygons it cuts off are smaller than
// the whole (so it runs inside), and no vertex lies in its relative interior (a straight run
// through a vertex is two segments).
inline TMatrix<char> Visibility(const TNube& p) {
  const int n = static_cast<int>(p.size());
  TMatrix<char> vis(size_t(n), std::vector<char>(size_t(n), 0));
  const double area = PolygonArea(p);
  for (int i = 0; i < n; ++i) {
    vis[i][i] = 1;
    vis[i][(i + 1) % n] = vis[(i + 1) % n][i] = 1;
    for (int j = i + 2; j < n - (i == 0); ++j) {
      bool ok = !OpenSegmentHoldsVertex(p, i, j);
      for (int k = 0; k < n && ok; ++k)
        ok = SegmentIntersection(p[i], p[j], p[k], p[(k + 1) % n]) != ProperCrossing;
      if (!ok) continue;
      TNube q1(p.begin(), p.begin() + i + 1), q2(p.begin() + i, p.begin() + j + 1);
      q1.insert(q1.end(), p.begin() + j, p.end());
      if (PolygonArea(q1) <= area && PolygonArea(q2) < area) vis[i][j] = vis[j][i] = 1;
    }
  }
  return vis;
}

// trace[s][k]: the first vertex after s on the geodesic from s to k (k itself when visible).
// Dijkstra from every source, every finished vertex relaxing every vertex; equal distances go
// to the lowest index.
inline TMatrix<int> FirstHops(const TNube& p, const TMatrix<char>& vis) {
  const int n = static_cast<int>(p.size());
  const double inf = std::numeric_limits<double>::infinity();
  TMatrix<int> trace(size_t(n), std::vector<int>(size_t(n), kNone));
  for (int s = 0; s < n; ++s) {
    std::vector<double> d(static_cast<size_t>(n));
    for (int k = 0; k < n; ++k) d[k] = vis[s][k] ? Distance(p[s], p[k]) : inf;
    for (int k = 0; k < n; ++k) trace[s][k] = vis[s][k] ? s : kNone;
    std::vector<bool> finished(size_t(n), false);
    finished[s] = true;
    for (int round = 1; round < n; ++round) {
      int u = kNone;
      for (int k = 0; k < n; ++k)
        if (!finished[k] && d[k] != inf && (u == kNone || d[k] < d[u])) u = k;
      if (u == kNone) break;
      for (int k = 0; k < n; ++k)
        if (vis[u][k] && d[u] + Distance(p[u], p[k]) < d[k]) {
          d[k] = d[u] + Distance(p[u], p[k]);
          trace[s][k] = trace[s][u] != s ? trace[s][u] : u;
        }
      finished[u] = true;
    }
  }
  return trace;
}

// The geodesic of every diagonal of the triangulation (in half-edge order, from the diagonal's
// origin) inserted segment by segment into the subdivision holding the polygon.
inline void InsertGeodesics(const TNube& p, const TDCEL& triangulation, TDCEL& subdivision) {
  const TMatrix<char> vis = Visibility(p);
  const TMatrix<int> trace = FirstHops(p, vis);
  std::vector<char> done(static_cast<size_t>(triangulation.HalfEdgeCount()), 0);
  for (int e = 0; e < triangulation.HalfEdgeCount(); ++e) {
    const int t = triangulation.Twin(e);
    if (done[e] || t == kNone) continue;
    done[e] = done[t] = 1;
    const int a = triangulation.Origin(e), b = triangulation.Destination(e);
    for (int h = a, g; h != b && h != kNone; h = g) {
      g = vis[h][b] ? b : trace[h][b];
      bool fresh = false;  // a segment not in the subdivision yet
      const int f = g == kNone ? kNone : FindSplitFace(h, g, subdivision, fresh);
      if (fresh && h != g) subdivision.SplitFace(f, h, g);
    }
  }
}

}  // namespace qv::oracle
