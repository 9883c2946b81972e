// Geometric checks of a sweep-line result, independent of the code that builds it.
#pragma once

#include <algorithm>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "dcel/DCEL.h"
#include "geometry/FuncionesMatematicas.h"
#include "geometry/Tipos.h"
#include "methods/Verificador.h"

namespace qv::testing {

// The origins along the cycle of face f, starting at its face edge.
inline std::vector<int> FaceCycle(const TDCEL& d, int f) {
  std::vector<int> out;
  int e = d.FaceEdge(f);
  do {
    out.push_back(d.Origin(e));
    e = d.Next(e);
  } while (e != d.FaceEdge(f) && out.size() <= d.HalfEdges.size());
  return out;
}

// Twice the signed area in screen coordinates (negative: counterclockwise on the screen).
inline int64_t Shoelace(const TNube& p, const std::vector<int>& cycle) {
  int64_t s = 0;
  for (size_t i = 0; i < cycle.size(); ++i) {
    const TPoint a = p[cycle[i]], b = p[cycle[(i + 1) % cycle.size()]];
    s += int64_t{a.X} * b.Y - int64_t{b.X} * a.Y;
  }
  return s;
}

// Twice the area of the convex hull (monotone chain).
inline int64_t HullArea2(TNube p) {
  std::sort(p.begin(), p.end(),
            [](TPoint a, TPoint b) { return a.X != b.X ? a.X < b.X : a.Y < b.Y; });
  std::vector<TPoint> h(2 * p.size());
  size_t k = 0;
  auto cross = [](TPoint o, TPoint a, TPoint b) {
    return (int64_t{a.X} - o.X) * (int64_t{b.Y} - o.Y) -
           (int64_t{a.Y} - o.Y) * (int64_t{b.X} - o.X);
  };
  for (size_t i = 0; i < p.size(); ++i) {
    while (k >= 2 && cross(h[k - 2], h[k - 1], p[i]) <= 0) --k;
    h[k++] = p[i];
  }
  for (size_t i = p.size() - 1, t = k + 1; i-- > 0;) {
    while (k >= t && cross(h[k - 2], h[k - 1], p[i]) <= 0) --k;
    h[k++] = p[i];
  }
  int64_t s = 0;
  for (size_t i = 0; i + 1 < k; ++i)
    s += int64_t{h[i].X} * h[i + 1].Y - int64_t{h[i + 1].X} * h[i].Y;
  return s < 0 ? -s : s;
}

// Edges counted once (a twin pair is one edge, a twinless half-edge one boundary edge).
inline int EdgeCount(const TDCEL& d) {
  int edges = 0;
  for (int e = 0; e < d.HalfEdgeCount(); ++e)
    if (d.Origin(e) != kNone && (!d.HasTwin(e) || e < d.Twin(e))) ++edges;
  return edges;
}

// Largest number of distinct edges at a vertex.
inline int MaxDegree(const TDCEL& d, int n) {
  std::vector<int> deg(static_cast<size_t>(n), 0);
  for (int e = 0; e < d.HalfEdgeCount(); ++e) {
    if (d.Origin(e) == kNone || (d.HasTwin(e) && e > d.Twin(e))) continue;
    ++deg[d.Origin(e)];
    ++deg[d.Destination(e)];
  }
  return *std::max_element(deg.begin(), deg.end());
}

// Empty when the subdivision is a pointed pseudo-triangulation of the hull of p as the sweep
// builds it: a valid structure, n - 2 faces and 2n - 3 edges, every face counterclockwise on the
// screen with exactly three convex corners, faces covering the hull area, a convex hull boundary,
// and every vertex pointed: an angle above 180 degrees in a face or outside the hull, or exactly
// 180 where the vertex lay straight on the hull when later points covered it (a seen edge-on
// hull edge stays). Otherwise what failed.
inline std::string CheckSweepResult(const TNube& p, const TDCEL& d) {
  std::ostringstream why;
  const int n = static_cast<int>(p.size());
  std::string structure;
  if (!d.IsValid(&structure)) return "invalid structure: " + structure;
  if (d.FaceCount() != n - 2) why << "faces " << d.FaceCount() << " != " << n - 2 << "; ";
  if (EdgeCount(d) != 2 * n - 3) why << "edges " << EdgeCount(d) << " != " << 2 * n - 3 << "; ";
  if (d.VertexCount() != n) why << "vertex slots " << d.VertexCount() << "; ";
  int64_t area = 0;
  std::vector<char> pointed(static_cast<size_t>(n), 0), straight(static_cast<size_t>(n), 0);
  for (int f = 0; f < d.FaceCount(); ++f) {
    const std::vector<int> c = FaceCycle(d, f);
    const int64_t a = Shoelace(p, c);
    if (a >= 0) why << "face " << f << " not counterclockwise; ";
    area += a;
    int convex = 0;
    for (size_t i = 0; i < c.size(); ++i) {
      const int prev = c[(i + c.size() - 1) % c.size()], v = c[i], next = c[(i + 1) % c.size()];
      const uint8_t o = Orientation(p[prev], p[v], p[next]);
      if (o == CounterClockwise) ++convex;
      if (o == Clockwise) pointed[v] = 1;  // reflex in this face
      if (o == Collinear) straight[v] = 1;
    }
    if (convex != 3) why << "face " << f << " has " << convex << " convex corners; ";
  }
  if (-area != HullArea2(p)) why << "faces cover " << -area << " of hull " << HullArea2(p) << "; ";
  // The hull boundary: the twinless half-edges, counterclockwise on the screen.
  std::vector<int> into(static_cast<size_t>(n), kNone);
  for (int e = 0; e < d.HalfEdgeCount(); ++e)
    if (d.Origin(e) != kNone && !d.HasTwin(e)) into[d.Destination(e)] = d.Origin(e);
  for (int e = 0; e < d.HalfEdgeCount(); ++e) {
    if (d.Origin(e) == kNone || d.HasTwin(e)) continue;
    const int v = d.Origin(e);
    const uint8_t o = Orientation(p[into[v]], p[v], p[d.Destination(e)]);
    if (o == Clockwise) why << "hull not convex at " << v << "; ";
    if (o == CounterClockwise) pointed[v] = 1;
    if (o == Collinear) straight[v] = 1;
  }
  for (int v = 0; v < n; ++v)
    if (!pointed[v] && !straight[v]) why << "vertex " << v << " not pointed; ";
  // The independent checker: planarity and coverage from the edges alone, then the records.
  const TCheckReport report = CheckSubdivision(p, d);
  if (!report.Valid) why << "checker: " << report.Reason << "; ";
  if (report.Faces != n - 2) why << "checker faces " << report.Faces << "; ";
  for (int v : report.NonPointedVertices)
    if (!straight[v]) why << "checker: vertex " << v << " not pointed; ";
  return why.str();
}

}  // namespace qv::testing
