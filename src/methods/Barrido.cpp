#include "methods/Barrido.h"

#include <cassert>
#include <cstdint>

#include "geometry/CierreConvexo.h"
#include "geometry/FuncionesMatematicas.h"
#include "geometry/UserError.h"
#include "methods/Pasos.h"

namespace qv {

namespace {

// The hull ring runs counterclockwise on the screen, so point k sees the hull edge a -> b
// strictly when k -> a -> b turns clockwise on the screen: A(P[k], P[a], P[b]) > 0. An edge
// seen edge-on (A = 0) is not seen; the hull then keeps a straight angle there.
bool Sees(const TNube& p, int k, const RingNode* a, const RingNode* b) {
  return OrientationSign(p[k], p[a->Value], p[b->Value]) > 0;
}

// The ends of the hull chain seen from point k: U, reached forward from the start over the seen
// edges, and W, reached backward. The chain W -> ... -> U (ring order) is what k sees.
struct TTangents {
  RingNode* U = nullptr;
  RingNode* W = nullptr;
};

// Walks both tangents from start. A walk that would go round the whole ring (never the case
// for a point outside a proper convex polygon) counts as a failure.
bool WalkTangents(const TNube& p, int k, RingNode* start, int ringSize, TTangents& out) {
  RingNode* u = start;
  for (int steps = 0; Sees(p, k, u, u->NextNode); u = u->NextNode)
    if (++steps >= ringSize) return false;
  RingNode* w = start;
  for (int steps = 0; Sees(p, k, w->PrevNode, w); w = w->PrevNode)
    if (++steps >= ringSize) return false;
  out = {u, w};
  return u != w;
}

// The seen chain of point k. The walks start at the previous point, which the sweep order puts
// on the seen chain. When it is not there (an order broken by the collinear-start nudge or by
// rounding of the sort keys) but k still sees some edge, the walks start from that edge instead,
// which gives the same chain: the edges a point outside a convex polygon sees are consecutive.
bool FindSeenChain(const TNube& p, int k, RingNode* last, int ringSize, TTangents& out) {
  if (WalkTangents(p, k, last, ringSize, out)) return true;
  RingNode* v = last;
  for (int i = 0; i < ringSize; ++i, v = v->NextNode)
    if (Sees(p, k, v, v->NextNode)) return WalkTangents(p, k, v, ringSize, out);
  return false;
}

// Point k sees no hull edge: it coincides with an earlier point or lies on or inside the hull.
[[noreturn]] void RefuseInsertion(const TNube& p, int k) {
  for (int i = 0; i < k; ++i)
    if (p[i] == p[k]) throw UserError("No coincident points allowed.");
  throw UserError("The points cannot be swept at this angle.");
}

// The twinless half-edge from -> v on the hull. Starting from a half-edge entering v, each step
// crosses to the next face around v (Prev of the twin); the rotation ends at the boundary, so it
// is bounded by the degree of v.
int BoundaryEdgeInto(const TDCEL& s, int v, int from) {
  int e = s.Prev(s.VertexEdge(v));
  for (int guard = s.HalfEdgeCount(); s.Origin(e) != from && guard != 0; --guard) {
    assert(s.HasTwin(e));
    e = s.Prev(s.Twin(e));
  }
  assert(s.Origin(e) == from && !s.HasTwin(e));
  return e;
}

// Face 0 and the ring of the first three points, both counterclockwise on the screen.
// Returns the ring node of point 2.
RingNode* StartTriangle(const TNube& p, TDCEL& s, TRing& ring) {
  const uint8_t o = Orientation(p[2], p[1], p[0]);
  s.SetFaceEdge(0, 0);
  if (o == Clockwise) {  // 0 -> 1 -> 2 turns counterclockwise on the screen
    RingPushBack(0, ring);
    RingPushBack(1, ring);
    s.AddTriangle(0, 1, 2, kNone, kNone, kNone, 0);
  } else {  // face 0 runs 0 -> 2 -> 1
    RingPushBack(1, ring);
    RingPushBack(0, ring);
    s.AddTriangle(0, 2, 1, kNone, kNone, kNone, 0);
  }
  return RingPushBack(2, ring);
}

// The new face k -> U -> ... -> W -> k: the tangent half-edge k -> U, the twins of the seen
// hull edges from U back to W, and the closing half-edge W -> k.
//
//        W ---- ... ---- U          ring order W -> ... -> U (counterclockwise)
//          \            /           new face cycle k -> U -> ... -> W -> k
//           \          /
//            \        /
//                k
void AddFace(int k, const TTangents& t, TDCEL& s) {
  const int face = s.FaceCount();
  s.AddHalfEdge(k, kNone, kNone, kNone, face);
  for (const RingNode* v = t.U; v != t.W; v = v->PrevNode) {
    const int b = BoundaryEdgeInto(s, v->Value, v->PrevNode->Value);
    const int count = s.HalfEdgeCount();
    s.AddHalfEdge(v->Value, count - 1, count + 1, b, face);
  }
  s.AddHalfEdge(t.W->Value, s.HalfEdgeCount() - 1, s.VertexEdge(k), kNone, face);
  s.SetFaceEdge(face, s.HalfEdgeCount() - 1);
}

// Points 0 .. m-1 lie on one line in sweep order and point m is off it: the first faces are the
// triangles of m over each segment of the run, counterclockwise, from the run's start on, so
// that the run's points and m get 2m - 1 edges and m - 1 faces as m + 1 swept points would.
// The run's inner points stay on the hull as straight vertices. Returns the ring node of m.
//
//      0 ------ 1 ------ 2 -- ... -- m-1     one triangle per segment of the run,
//        `.      \        |        .'         all of them sharing the apex m
//           `.    \       |     .'
//              `.  \      |  .'
//                 `. \    | .'
//                     m
RingNode* StartFan(const TNube& p, int m, TDCEL& s, TRing& ring) {
  const bool ccw = Orientation(p[0], p[1], p[m]) == CounterClockwise;
  int side = kNone;  // the half-edge between m and the run point the next triangle shares
  for (int i = 0; i + 1 < m; ++i) {
    const int f = s.FaceCount(), h = s.HalfEdgeCount();
    if (ccw) {  // i -> i+1 -> m
      s.AddTriangle(i, i + 1, m, kNone, kNone, side, f);
      side = h + 1;
    } else {  // i+1 -> i -> m
      s.AddTriangle(i + 1, i, m, kNone, side, kNone, f);
      side = h + 2;
    }
    s.SetFaceEdge(f, h);
  }
  if (ccw) {  // ring 0, 1, ..., m-1, m
    for (int i = 0; i < m; ++i) RingPushBack(i, ring);
    return RingPushBack(m, ring);
  }
  RingPushBack(0, ring);  // ring 0, m, m-1, ..., 1
  RingNode* last = RingPushBack(m, ring);
  for (int i = m - 1; i > 0; --i) RingPushBack(i, ring);
  return last;
}

// Point k of a run on the line of points 0 and 1 lies strictly beyond point k - 1 in the
// direction from 0 to 1. The two steps lie on one line, so they agree in direction exactly when
// their x steps agree in sign (their y steps, on a vertical line); a zero step is no advance.
bool AheadOnRun(const TNube& p, int k) {
  const int64_t ux = int64_t{p[1].X} - p[0].X, uy = int64_t{p[1].Y} - p[0].Y;
  const int64_t dx = int64_t{p[k].X} - p[k - 1].X, dy = int64_t{p[k].Y} - p[k - 1].Y;
  if (ux != 0) return dx != 0 && (dx > 0) == (ux > 0);
  return dy != 0 && (dy > 0) == (uy > 0);
}

// The first faces: the triangle of points 0, 1, 2, or the fan over a leading collinear run.
// Returns the ring node of the last point they hold and sets next to the first one left. A
// run that doubles back on itself is refused (coincident points first), as is a set all on
// one line.
RingNode* StartSweep(const TNube& p, TDCEL& s, TRing& ring, int& next) {
  const int n = static_cast<int>(p.size());
  if (p[1] == p[0]) RefuseInsertion(p, 1);
  int m = 2;
  for (; m < n && Orientation(p[0], p[1], p[m]) == Collinear; ++m)
    if (!AheadOnRun(p, m)) RefuseInsertion(p, m);
  if (m == n) throw UserError("At least 3 non-collinear points are needed.");
  next = m + 1;
  return m == 2 ? StartTriangle(p, s, ring) : StartFan(p, m, s, ring);
}

// Point k joined the hull by its edges to the tangent points w and u. Kept out of the sweep's
// loop, which then stays as it is without a recorder.
[[gnu::cold, gnu::noinline]] void RecordJoin(int k, int w, int u, TRecorder& recorder) {
  recorder.Step({{k, w}, {k, u}}, {},
                "Point {0} joins the hull: edges to its tangent points {1} and {2}", {k, w, u});
}

}  // namespace

void Sweep(const TNube& points, TDCEL& subdivision) {
  const int n = static_cast<int>(points.size());
  if (n < 3) throw UserError("At least 3 points are needed.");

  // Built in place: the tables keep their capacity from the previous run, which spares
  // reallocation and fresh memory when a shown result is recomputed on every edit.
  TDCEL& built = subdivision;
  built.Clear();
  built.Vertices.reserve(static_cast<size_t>(n));
  built.HalfEdges.reserve(4 * static_cast<size_t>(n));
  built.Faces.reserve(static_cast<size_t>(n));
  TRing ring;
  int first = 3;
  RingNode* last = nullptr;
  try {
    last = StartSweep(points, built, ring, first);
  } catch (const UserError&) {
    built.Clear();
    throw;
  }
  TRecorder* const recorder = ActiveRecorder();
  if (recorder) RecordSweepStart(*recorder, built, first);
  for (int k = first; k < n; ++k) {
    TTangents t;
    if (!FindSeenChain(points, k, last, ring.Size(), t)) {
      // Checked before point k's face is added; the faces built so far are dropped.
      built.Clear();
      RefuseInsertion(points, k);
    }
    AddFace(k, t, built);
    if (recorder) RecordJoin(k, t.W->Value, t.U->Value, *recorder);
    // The seen chain's inner vertices leave the hull; the ring reads ... W, k, U ...
    last = RingReplaceBetween(t.W->Value, t.U->Value, k, ring);
  }
  RingFree(ring);
}

}  // namespace qv
