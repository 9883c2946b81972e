#include "methods/Remocion.h"

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "geometry/FuncionesMatematicas.h"
#include "geometry/Pila.h"
#include "geometry/UserError.h"
#include "methods/Ejecucion.h"
#include "methods/Pasos.h"
#include "methods/Triangulacion.h"

namespace qv {

namespace {

uint8_t O(const TNube& points, int p, int q, int r) {
  return Orientation(points[p], points[q], points[r]);
}

// Vertex v sees its neighbour w across the edge being deleted; before is the vertex before v
// in one face and after the vertex after v in the other. v turns reflex when both angles turn
// the same way and their sum turns the other way (a straight sum is not reflex).
bool BecomesReflex(const TNube& points, int after, int v, int w, int before) {
  const uint8_t first = O(points, after, v, w), second = O(points, w, v, before);
  const uint8_t whole = O(points, after, v, before);
  return first == second && whole != first && whole != Collinear;
}

// Reports the deletion of the removable edge e, before it happens.
[[gnu::cold, gnu::noinline]] void RecordEdgeRemoval(int e, const TNube& points, const TDCEL& d,
                                                    TRecorder& recorder) {
  const int t = d.Twin(e);
  const int a = d.Origin(e), b = d.Origin(t);
  const int p = d.Origin(d.Prev(e)), s = d.Origin(d.Next(d.Next(t)));
  const int reflex = BecomesReflex(points, s, a, b, p) ? a : b;
  recorder.Step({}, {{a, b}},
                "Edge {0}-{1} removed: vertex {2} turns reflex and the two faces merge into a "
                "pseudo-triangle",
                {a, b, reflex});
}

}  // namespace

bool IsRemovableEdge(int e, const TNube& points, const TDCEL& subdivision) {
  const TDCEL& d = subdivision;
  const int t = d.Twin(e);
  if (t == kNone || d.Origin(e) == kNone || d.FaceOf(e) == d.FaceOf(t)) return false;
  const int a = d.Origin(e), b = d.Origin(t);
  const int p = d.Origin(d.Prev(e)), q = d.Origin(d.Next(d.Next(e)));
  const int r = d.Origin(d.Prev(t)), s = d.Origin(d.Next(d.Next(t)));
  return BecomesReflex(points, s, a, b, p) != BecomesReflex(points, q, b, a, r);
}

void RemoveEdges(const TNube& points, TDCEL& subdivision) {
  TDCEL& d = subdivision;
  const int count = d.HalfEdgeCount();
  std::vector<uint8_t> queued(static_cast<size_t>(count), 0);
  TPila stack;
  // Initial pass: the lower half-edge of every removable edge, in increasing order.
  for (int e = 0; e < count; ++e) {
    if (!d.HasTwin(e)) {
      queued[e] = 0;
    } else if (IsRemovableEdge(e, points, d)) {
      queued[e] = queued[d.Twin(e)] == 0 ? 1 : 0;
      if (queued[e] != 0) stack.Push(e);
    }
  }
  // Every pop that queues something is followed by a pop that removes an edge, so the pops are
  // bounded by a small multiple of the edges; the budget only makes that explicit.
  int64_t budget = 16 * int64_t{count} + 16;
  while (!stack.IsEmpty() && budget-- > 0) {
    const int e = stack.Pop();
    queued[e] = 0;
    if (d.Origin(e) == kNone) continue;  // deleted while a second copy waited
    const int t = d.Twin(e);
    const int around[4] = {d.Prev(e), d.Next(e), d.Prev(t), d.Next(t)};
    if (IsRemovableEdge(e, points, d)) {
      if (TRecorder* recorder = ActiveRecorder()) RecordEdgeRemoval(e, points, d, *recorder);
      d.RemoveEdge(e);
    }
    for (const int x : around) {
      if (IsRemovableEdge(x, points, d) && queued[x] == 0 && queued[d.Twin(x)] == 0) stack.Push(x);
    }
  }
}

bool IsTriangle(int f, const TDCEL& subdivision) {
  const int e = subdivision.FaceEdge(f);
  return subdivision.Next(subdivision.Next(subdivision.Next(e))) == e;
}

namespace {

// Inner triangle f with three triangular neighbours: every vertex v of f is reflex in the union,
// seen between the apex x across the edge ending at v and the apex y across the edge leaving v.
bool AllVerticesTurnReflex(const TNube& points, const TDCEL& d, int f) {
  int h = d.FaceEdge(f);
  for (int i = 0; i < 3; ++i, h = d.Next(h)) {
    if (!d.HasTwin(h) || !d.HasTwin(d.Prev(h))) return false;
    const int v = d.Origin(h);
    const int x = d.Origin(d.Prev(d.Twin(d.Prev(h))));
    const int y = d.Origin(d.Next(d.Next(d.Twin(h))));
    if (O(points, x, v, y) != Clockwise) return false;
  }
  return true;
}

// Reports the removal of the triangle of e, before it happens.
[[gnu::cold, gnu::noinline]] void RecordTriangleRemoval(int e, const TDCEL& d,
                                                        TRecorder& recorder) {
  const int a = d.Origin(e), b = d.Origin(d.Next(e)), c = d.Origin(d.Prev(e));
  recorder.Step({}, {{a, b}, {b, c}, {c, a}},
                "Triangle {0}-{1}-{2} removed: it and its three neighbours become one "
                "pseudo-triangle",
                {a, b, c});
}

}  // namespace

void RemoveTriangles(const TNube& points, TDCEL& subdivision) {
  TDCEL& d = subdivision;
  const int count = d.FaceCount();
  for (int f = 0; f < count; ++f) {
    const int e = d.FaceEdge(f);
    if (e == kNone || !IsTriangle(f, d) || d.FaceOnBoundary(f)) continue;
    const int n1 = d.FaceOf(d.Twin(e)), n2 = d.FaceOf(d.Twin(d.Next(e)));
    const int n3 = d.FaceOf(d.Twin(d.Prev(e)));
    if (!IsTriangle(n1, d) || !IsTriangle(n2, d) || !IsTriangle(n3, d)) continue;
    if (!AllVerticesTurnReflex(points, d, f)) continue;
    if (TRecorder* recorder = ActiveRecorder()) RecordTriangleRemoval(e, d, *recorder);
    d.RemoveFace(f);
  }
}

const char* RemocionStatusText(TRemocionVariant variant) {
  switch (variant) {
    case TRemocionVariant::Sweep:
      return "SWEEP LINE TRIANGULATION";
    case TRemocionVariant::Delaunay:
      return "DELAUNAY TRIANGULATION";
    case TRemocionVariant::RemoveEdges:
      return "TRIANGULATE FIRST, THEN REMOVE EDGES";
    case TRemocionVariant::RemoveTriangles:
      break;
  }
  return "TRIANGULATE FIRST, THEN REMOVE EDGES AND TRIANGLES";
}

int ComputeTriangulateRemove(TNube& points, TRemocionVariant variant, int& draggedPoint,
                             TDCEL& pt) {
  if (points.size() < 3) throw UserError("At least 3 points are needed.");
  pt.Clear();
  // Sweep order: ascending x, ties descending y; a collinear start moves point 0 left and
  // sorts again.
  SortPointsByDirection(points, 1, 0, draggedPoint);
  const TNube sorted = points;
  const int sortedDragged = draggedPoint;
  NoteSortedPoints(points.size(), "from left to right");
  if (CollinearStart(points)) {
    SortPointsByDirection(points, 1, 0, draggedPoint);
    // Point 0 had the smallest x and now has a smaller one: it is still point 0.
    if (TRecorder* recorder = ActiveRecorder())
      recorder->Step({}, {},
                     "Point {0} moved one pixel left: points {0}, {1} and {2} were on one line",
                     {0, 1, 2});
  }
  try {
    SweepTriangulation(points, pt, &draggedPoint);
  } catch (const UserError&) {
    points = sorted;
    draggedPoint = sortedDragged;
    // Refused as the other methods refuse the set: for coincident points before collinear ones.
    RefuseDegenerateSortedPoints(points, 1, 0);
    throw;
  }
  const int moved = CountMovedPoints(sorted, points);
  if (variant == TRemocionVariant::Sweep) return moved;
  DelaunayFlips(points, pt);
  if (variant == TRemocionVariant::Delaunay) return moved;
  RemoveEdges(points, pt);
  if (variant == TRemocionVariant::RemoveTriangles) RemoveTriangles(points, pt);
  return moved;
}

}  // namespace qv
