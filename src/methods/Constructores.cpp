#include "methods/Constructores.h"

#include "geometry/CierreConvexo.h"
#include "geometry/FuncionesMatematicas.h"

namespace qv {

namespace {

// The two hull walks; false when a walk does not reach the bottommost point within one step
// per point (coincident points can make the walkers oscillate).
bool BuildHullCycle(const TNube& points, TDCEL& s) {
  const int n = static_cast<int>(points.size());
  const int top = TopmostPoint(points), bottom = BottommostPoint(points);
  s.SetFaceEdge(0, 0);
  // Right-hand chain, from T down to M; its half-edges run upwards.
  int last = WalkHullClockwise(points, top);
  if (last == kNone) return false;
  s.SetVertexEdge(last, 0);
  s.AddHalfEdge(last, kNone, kNone, kNone, 0);
  int k = 1;
  for (int steps = 0; last != bottom; ++steps) {
    const int r = WalkHullClockwise(points, last);
    if (r == kNone || steps > n) return false;
    s.SetVertexEdge(r, k);
    s.AddHalfEdge(r, kNone, k - 1, kNone, 0);
    ++k;
    last = r;
  }
  const int leavingBottom = k - 1;
  s.SetVertexEdge(top, k);
  // Left-hand chain, from T down to M.
  const int l1 = WalkHullCounterclockwise(points, top);
  if (l1 == kNone) return false;
  if (l1 == bottom) {
    s.AddHalfEdge(top, 0, leavingBottom, kNone, 0);
    return true;
  }
  s.AddHalfEdge(top, 0, kNone, kNone, 0);
  ++k;
  int u = l1;
  int w = WalkHullCounterclockwise(points, u);
  for (int steps = 0; w != bottom; ++steps) {
    if (w == kNone || steps > n) return false;
    s.SetVertexEdge(u, k);
    s.AddHalfEdge(u, k - 1, kNone, kNone, 0);
    ++k;
    u = w;
    w = WalkHullCounterclockwise(points, u);
  }
  s.SetVertexEdge(u, k);
  s.AddHalfEdge(u, k - 1, leavingBottom, kNone, 0);
  return true;
}

}  // namespace

void BuildHull(const TNube& points, TDCEL& subdivision) {
  if (subdivision.HalfEdgeCount() > 0 || points.size() < 3) return;
  // A set on one line has no hull polygon: the walks would not describe a cycle.
  if (AllCollinearPoints(points)) return;
  if (!BuildHullCycle(points, subdivision) || !subdivision.IsValid()) subdivision.Clear();
}

void BuildPolygon(const TNube& polygon, TDCEL& subdivision) {
  const int n = static_cast<int>(polygon.size());
  if (n == 0) return;
  subdivision.SetFaceEdge(0, 0);
  for (int i = 0; i + 1 < n; ++i) {
    subdivision.SetVertexEdge(i, subdivision.HalfEdgeCount());
    subdivision.AddHalfEdge(i, subdivision.HalfEdgeCount() - 1, kNone, kNone, 0);
  }
  subdivision.SetVertexEdge(n - 1, subdivision.HalfEdgeCount());
  subdivision.AddHalfEdge(n - 1, subdivision.HalfEdgeCount() - 1, 0, kNone, 0);
}

void ReduceToBoundary(const TNube& points, TDCEL& subdivision) {
  TDCEL reduced;
  const int start = subdivision.Next(0);
  int guard = subdivision.HalfEdgeCount();
  for (int e = start; e != 0 && guard-- > 0; e = subdivision.Next(e)) {
    reduced.SetVertexEdge(subdivision.Origin(e), reduced.HalfEdgeCount());
    reduced.AddHalfEdge(subdivision.Origin(e), reduced.HalfEdgeCount() - 1, kNone, kNone, 0);
  }
  reduced.AddHalfEdge(subdivision.Origin(0), reduced.HalfEdgeCount() - 1, 0, kNone, 0);
  reduced.SetFaceEdge(0, 0);
  for (int v = reduced.VertexCount(); v < static_cast<int>(points.size()); ++v)
    reduced.SetVertexEdge(v, kNone);
  subdivision = std::move(reduced);
}

}  // namespace qv
