// Hand-made subdivisions, face walks, local checks, seeded point sets, the sweep result's checks.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "PoligonosAleatorios.h"
#include "dcel/DCEL.h"
#include "geometry/FuncionesMatematicas.h"
#include "geometry/Tipos.h"
#include "methods/Eleccion.h"
#include "methods/Verificador.h"

namespace qv::testing_triangles {

using Tri = std::array<int, 3>;

// The origins of face f's cycle from its face edge on.
inline std::vector<int> FaceCycle(const TDCEL& d, int f) {
  std::vector<int> out;
  const int start = d.FaceEdge(f);
  if (start == kNone) return out;
  int e = start;
  do {
    out.push_back(d.Origin(e));
    e = d.Next(e);
  } while (e != start && out.size() <= d.HalfEdges.size());
  return out;
}

// Face f's cycle from its smallest vertex on: cycles compare whatever edge the face stores.
inline std::vector<int> CycleFromSmallest(const TDCEL& d, int f) {
  std::vector<int> c = FaceCycle(d, f);
  std::rotate(c.begin(), std::min_element(c.begin(), c.end()), c.end());
  return c;
}

// The diagonals of the chooser's triangulation: its half-edges after the polygon's sides.
inline std::set<TEdge> Diagonals(const TTriangulationChoice& c) {
  std::set<TEdge> out;
  const TDCEL& t = c.Triangulation();
  for (int e = c.Size(); e < t.HalfEdgeCount(); ++e)
    out.insert({std::min(t.Origin(e), t.Destination(e)), std::max(t.Origin(e), t.Destination(e))});
  return out;
}

// A subdivision from triangles given counterclockwise on the screen; face i is triangle i,
// half-edge 3i + j runs from corner j to corner j + 1; shared sides become twins.
inline TDCEL FromTriangles(const std::vector<Tri>& triangles) {
  TDCEL d;
  std::map<std::pair<int, int>, int> byEnds;
  for (size_t i = 0; i < triangles.size(); ++i) {
    const int f = static_cast<int>(i), h = 3 * f;
    for (int j = 0; j < 3; ++j) {
      const int a = triangles[i][j], b = triangles[i][(j + 1) % 3];
      const auto twin = byEnds.find({b, a});
      d.AddHalfEdge(a, j == 0 ? h + 2 : h + j - 1, j == 2 ? h : h + j + 1,
                    twin == byEnds.end() ? kNone : twin->second, f);
      byEnds[{a, b}] = h + j;
    }
    d.SetFaceEdge(f, h);
  }
  return d;
}

// No vertex lies strictly inside the circle across any inner edge.
inline ::testing::AssertionResult LocallyDelaunay(const TNube& p, const TDCEL& d) {
  for (int e = 0; e < d.HalfEdgeCount(); ++e) {
    if (d.Origin(e) == kNone || !d.HasTwin(e)) continue;
    const int t = d.Twin(e);
    const TPoint a = p[d.Origin(e)], b = p[d.Origin(t)], c = p[d.Origin(d.Prev(t))];
    const TPoint x = p[d.Origin(d.Prev(e))];
    if (OrientationSign(a, b, c) * InCircle(a, b, c, x) < 0)
      return ::testing::AssertionFailure() << "half-edge " << e << " has a point inside";
  }
  return ::testing::AssertionSuccess();
}

// Convex corners of face f (strictly less than 180 degrees), its cycle counterclockwise.
inline int ConvexCorners(const TNube& p, const TDCEL& d, int f) {
  const std::vector<int> c = FaceCycle(d, f);
  const size_t n = c.size();
  int corners = 0;
  for (size_t i = 0; i < n; ++i) {
    const TPoint u = p[c[(i + n - 1) % n]], v = p[c[i]], w = p[c[(i + 1) % n]];
    if (Orientation(u, v, w) == CounterClockwise) ++corners;
  }
  return corners;
}

inline TNube RandomPoints(int n, uint32_t seed, int range = 1000) {
  std::mt19937 rng(seed);
  std::uniform_int_distribution<int32_t> coord(0, range);
  TNube points(static_cast<size_t>(n));
  for (auto& q : points) q = {coord(rng), coord(rng)};
  return points;
}

inline TNube GridPoints(int columns, int rows, int step = 1) {
  TNube points;
  for (int x = 0; x < columns; ++x)
    for (int y = 0; y < rows; ++y) points.push_back({x * step, y * step});
  return points;
}

// Every integer point on the circle of radius r about (cx, cy).
inline TNube CirclePoints(int r, int cx = 0, int cy = 0) {
  TNube points;
  for (int x = -r; x <= r; ++x)
    for (int y = -r; y <= r; ++y)
      if (x * x + y * y == r * r) points.push_back({cx + x, cy + y});
  return points;
}

// The sweep order: ascending x, ties descending y (stable).
inline void SortForSweep(TNube& points) {
  std::stable_sort(points.begin(), points.end(),
                   [](TPoint a, TPoint b) { return a.X != b.X ? a.X < b.X : a.Y > b.Y; });
}

}  // namespace qv::testing_triangles

namespace qv::testing {

using testing_triangles::FaceCycle;

// What is wrong with a sweep result ("" when nothing): on top of the checker, n - 2 faces and
// 2n - 3 edges, counterclockwise cycles, and every vertex pointed except one lying straight on
// the hull when later points covered it (an edge seen edge-on stays).
inline std::string CheckSweepResult(const TNube& p, const TDCEL& d) {
  std::ostringstream why;
  const int n = static_cast<int>(p.size());
  const TCheckReport report = CheckSubdivision(p, d);
  if (!report.Valid) return "checker: " + report.Reason;
  if (d.FaceCount() != n - 2) why << "faces " << d.FaceCount() << " != " << n - 2 << "; ";
  const int edges = static_cast<int>(EdgeList(d).size());
  if (edges != 2 * n - 3) why << "edges " << edges << " != " << 2 * n - 3 << "; ";
  std::vector<char> straight(static_cast<size_t>(n), 0);
  for (int f = 0; f < d.FaceCount(); ++f) {
    const std::vector<int> c = FaceCycle(d, f);
    // Screen coordinates: negative for counterclockwise on the screen.
    __extension__ __int128 area2 = 0;
    for (size_t i = 0; i < c.size(); ++i) {
      const int prev = c[(i + c.size() - 1) % c.size()], v = c[i], next = c[(i + 1) % c.size()];
      area2 += __extension__ __int128{int64_t{p[v].X} * p[next].Y - int64_t{p[next].X} * p[v].Y};
      if (Orientation(p[prev], p[v], p[next]) == Collinear) straight[v] = 1;
    }
    if (area2 >= 0) why << "face " << f << " not counterclockwise; ";
  }
  for (int e = 0; e < d.HalfEdgeCount(); ++e)  // straight angles on the final hull
    if (!d.HasTwin(e)) {
      int in = d.Prev(e);
      for (int guard = d.HalfEdgeCount(); d.HasTwin(in) && guard > 0; --guard)
        in = d.Prev(d.Twin(in));
      if (Orientation(p[d.Origin(in)], p[d.Origin(e)], p[d.Destination(e)]) == Collinear)
        straight[d.Origin(e)] = 1;
    }
  for (int v : report.NonPointedVertices)
    if (!straight[v]) why << "vertex " << v << " not pointed; ";
  return why.str();
}

}  // namespace qv::testing
