#include "methods/Triangulacion.h"

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <vector>

#include "geometry/CierreConvexo.h"
#include "geometry/FuncionesMatematicas.h"
#include "geometry/Pila.h"
#include "geometry/UserError.h"

namespace qv {

namespace {

constexpr int32_t kMaxCoordinate = std::numeric_limits<int32_t>::max();

// The working state of one sweep: the hull of the points inserted so far as a ring of point
// indices (counterclockwise on the screen) and, per vertex on the ring, its twinless half-edge
// to its ring successor, so that a new triangle finds the hull edge it covers at once.
struct TSweep {
  TNube& Points;
  TDCEL& D;
  int* Dragged;
  TRing Ring;
  std::vector<int> HullOut;
  RingNode* Last = nullptr;

  TPoint P(int i) const { return Points[static_cast<size_t>(i)]; }
};

// Points 0, 1, 2 not collinear: the first face is their triangle, counterclockwise.
void StartTriangle(TSweep& s) {
  const bool ccw = Orientation(s.P(2), s.P(1), s.P(0)) == Clockwise;
  const int face[3] = {0, ccw ? 1 : 2, ccw ? 2 : 1};
  for (int i = 0; i < 3; ++i) {
    s.D.AddHalfEdge(face[i], i == 0 ? 2 : i - 1, i == 2 ? 0 : i + 1, kNone, 0);
    s.HullOut[face[i]] = i;
  }
  s.D.SetFaceEdge(0, 0);
  RingPushBack(ccw ? 0 : 1, s.Ring);
  RingPushBack(ccw ? 1 : 0, s.Ring);
  s.Last = RingPushBack(2, s.Ring);
}

// Points 0 .. m-1 lie on one line in sweep order and point m is off it: the first faces are the
// triangles of m over each segment of the run, counterclockwise, from the run's start on. The
// run's inner points stay on the hull as straight vertices.
void StartFan(TSweep& s, int m) {
  const bool ccw = Orientation(s.P(0), s.P(1), s.P(m)) == CounterClockwise;
  int side = kNone;  // the half-edge between m and the run point shared with the next triangle
  for (int i = 0; i + 1 < m; ++i) {
    const int f = s.D.FaceCount(), h = s.D.HalfEdgeCount();
    if (ccw) {  // i -> i+1 -> m
      s.D.AddHalfEdge(i, h + 2, h + 1, kNone, f);
      s.D.AddHalfEdge(i + 1, h, h + 2, kNone, f);
      s.D.AddHalfEdge(m, h + 1, h, side, f);
      s.HullOut[i] = h;
      if (i == 0) s.HullOut[m] = h + 2;
      side = h + 1;
    } else {  // i+1 -> i -> m
      s.D.AddHalfEdge(i + 1, h + 2, h + 1, kNone, f);
      s.D.AddHalfEdge(i, h, h + 2, side, f);
      s.D.AddHalfEdge(m, h + 1, h, kNone, f);
      s.HullOut[i + 1] = h;
      if (i == 0) s.HullOut[0] = h + 1;
      side = h + 2;
    }
    s.D.SetFaceEdge(f, h);
  }
  if (ccw) {
    s.HullOut[m - 1] = side;
    for (int i = 0; i < m; ++i) RingPushBack(i, s.Ring);
    s.Last = RingPushBack(m, s.Ring);
  } else {
    s.HullOut[m] = side;
    RingPushBack(0, s.Ring);
    s.Last = RingPushBack(m, s.Ring);
    for (int i = m - 1; i > 0; --i) RingPushBack(i, s.Ring);
  }
}

// Moves the point at index i off its predecessor while the two coincide.
void SeparateFromPrevious(TSweep& s, int i) {
  const int n = static_cast<int>(s.Points.size());
  for (int guard = n - i + 1; s.P(i) == s.P(i - 1); --guard) {
    if (s.P(i).X == kMaxCoordinate || guard <= 0) throw UserError("No coincident points allowed.");
    NudgePoint(i, s.Points, s.Dragged);
  }
}

// Builds the first faces and returns the index of the first point not yet inserted.
int StartSweep(TSweep& s) {
  const int n = static_cast<int>(s.Points.size());
  SeparateFromPrevious(s, 1);
  if (Orientation(s.P(0), s.P(1), s.P(2)) != Collinear) {
    StartTriangle(s);
    return 3;
  }
  // A collinear start: gather the run on the line of points 0 and 1 (some point is off it).
  int m = 2;
  while (m < n && Orientation(s.P(0), s.P(1), s.P(m)) == Collinear) {
    SeparateFromPrevious(s, m);
    if (Orientation(s.P(0), s.P(1), s.P(m)) == Collinear) ++m;
  }
  assert(m < n);
  StartFan(s, m);
  return m + 1;
}

// Nudges point k while it lies on the line of a hull edge at the last inserted point L. At a
// fixed L each point can meet each of the two lines at one x only, or coincide with L once, so
// the nudges at one k are bounded; a horizontal edge on k's row is the one line a move to the
// right never leaves, and k is then inserted on it.
void SettleCollinear(TSweep& s, int k) {
  const int n = static_cast<int>(s.Points.size());
  const TPoint l = s.P(s.Last->Value);
  const TPoint a = s.P(s.Last->NextNode->Value), b = s.P(s.Last->PrevNode->Value);
  for (int guard = 3 * (n - k) + 3;; --guard) {
    const TPoint p = s.P(k);
    const bool onA = Orientation(p, l, a) == Collinear, onB = Orientation(p, l, b) == Collinear;
    if (!onA && !onB) return;
    const bool coincident = p == l;
    if (!coincident && (onA ? a : b).Y == l.Y) return;
    if (p.X == kMaxCoordinate || guard <= 0) {
      if (coincident) throw UserError("No coincident points allowed.");
      return;
    }
    NudgePoint(k, s.Points, s.Dragged);
  }
}

// Joins point k to the hull edges it sees on both sides of the last inserted point and puts k
// into the ring in place of the hull vertices it hides.
void InsertPoint(TSweep& s, int k) {
  TDCEL& d = s.D;
  const TPoint p = s.P(k);
  const int ringSize = s.Ring.Size();
  // Forward walk: triangles c -> k -> next(c) over the visible edges after L.
  int firstForward = kNone, kToC = kNone;
  RingNode* c = s.Last;
  for (int steps = 0;
       steps < ringSize && Orientation(p, s.P(c->Value), s.P(c->NextNode->Value)) == Clockwise;
       ++steps) {
    const int cv = c->Value, nv = c->NextNode->Value;
    const int f = d.FaceCount(), h = d.HalfEdgeCount();
    d.AddHalfEdge(cv, h + 2, h + 1, kToC, f);
    d.AddHalfEdge(k, h, h + 2, kNone, f);
    d.AddHalfEdge(nv, h + 1, h, s.HullOut[cv], f);
    d.SetFaceEdge(f, h + 1);
    if (firstForward == kNone) firstForward = h;
    kToC = h + 1;
    c = c->NextNode;
  }
  RingNode* end = c;
  // Backward walk: triangles k -> c -> prev(c) over the visible edges before L.
  int pending = firstForward, firstBackward = kNone;
  c = s.Last;
  for (int steps = 0; steps < ringSize &&
                      Orientation(p, s.P(c->Value), s.P(c->PrevNode->Value)) == CounterClockwise;
       ++steps) {
    const int cv = c->Value, pv = c->PrevNode->Value;
    const int f = d.FaceCount(), h = d.HalfEdgeCount();
    d.AddHalfEdge(k, h + 2, h + 1, pending, f);
    d.AddHalfEdge(cv, h, h + 2, s.HullOut[pv], f);
    d.AddHalfEdge(pv, h + 1, h, kNone, f);
    d.SetFaceEdge(f, h);
    if (firstBackward == kNone) firstBackward = h;
    pending = h + 2;
    c = c->PrevNode;
  }
  RingNode* begin = c;
  assert(firstForward != kNone || firstBackward != kNone);
  s.HullOut[begin->Value] = pending;
  s.HullOut[k] = firstForward != kNone ? kToC : firstBackward;
  s.Last = RingReplaceBetween(begin->Value, end->Value, k, s.Ring);
}

void RequireNotAllCollinear(const TNube& points) {
  if (AllCollinearPoints(points)) throw UserError("At least 3 non-collinear points are needed.");
}

}  // namespace

void NudgePoint(int k, TNube& points, int* draggedPoint) {
  const int n = static_cast<int>(points.size());
  TPoint p = points[k];
  assert(p.X < kMaxCoordinate);
  ++p.X;
  int i = k;
  while (i + 1 < n &&
         (points[i + 1].X < p.X || (points[i + 1].X == p.X && points[i + 1].Y > p.Y))) {
    points[i] = points[i + 1];
    ++i;
  }
  points[i] = p;
  if (draggedPoint != nullptr && *draggedPoint >= k && *draggedPoint <= i)
    *draggedPoint = *draggedPoint == k ? i : *draggedPoint - 1;
}

void SweepTriangulation(TNube& points, TDCEL& subdivision, int* draggedPoint) {
  assert(subdivision.HalfEdgeCount() == 0);
  const int n = static_cast<int>(points.size());
  if (n < 3) return;
  RequireNotAllCollinear(points);
  TSweep s{points, subdivision, draggedPoint, {}, std::vector<int>(points.size(), kNone), nullptr};
  try {
    for (int k = StartSweep(s); k < n; ++k) {
      SettleCollinear(s, k);
      InsertPoint(s, k);
    }
  } catch (...) {
    subdivision.Clear();
    throw;
  }
}

bool IsLegalEdge(int e, const TNube& points, const TDCEL& subdivision) {
  const TDCEL& d = subdivision;
  assert(d.HasTwin(e));
  const int t = d.Twin(e);
  const TPoint a = points[d.Origin(e)], b = points[d.Origin(t)];
  const TPoint c = points[d.Origin(d.Prev(t))], dd = points[d.Origin(d.Prev(e))];
  return OrientationSign(a, b, c) * InCircle(a, b, c, dd) > 0;
}

namespace {

// The four points of the quadrilateral around e lie exactly on one circle.
bool OnOneCircle(int e, const TNube& points, const TDCEL& d) {
  const int t = d.Twin(e);
  return InCircle(points[d.Origin(e)], points[d.Origin(t)], points[d.Origin(d.Prev(t))],
                  points[d.Origin(d.Prev(e))]) == 0;
}

}  // namespace

void DelaunayFlips(const TNube& points, TDCEL& subdivision) {
  TDCEL& d = subdivision;
  const int count = d.HalfEdgeCount();
  std::vector<uint8_t> queued(static_cast<size_t>(count), 0);
  // Per edge (its lower half-edge index): flipped last because its four points are cocircular.
  std::vector<uint8_t> cocircularFlip(static_cast<size_t>(count), 0);
  TPila stack;
  // Initial pass: the higher half-edge of every illegal edge, once.
  for (int e = count - 1; e >= 0; --e) {
    if (d.Origin(e) == kNone || !d.HasTwin(e)) continue;
    if (!IsLegalEdge(e, points, d) && queued[d.Twin(e)] == 0) {
      queued[e] = 1;
      stack.Push(e);
    }
  }
  // With exact predicates the flips end (each strict flip lowers the lifted surface, and an
  // edge is flipped at most once on a circle between strict flips); the budget only guards the
  // rounded in-circle test of coordinates 2^30 apart.
  int64_t budget = int64_t{count} * count + 16;
  while (!stack.IsEmpty() && budget-- > 0) {
    const int e = stack.Pop();
    queued[e] = 0;
    if (IsLegalEdge(e, points, d)) continue;
    uint8_t& mark = cocircularFlip[std::min(e, d.Twin(e))];
    if (OnOneCircle(e, points, d)) {
      if (mark != 0) continue;
      mark = 1;
    } else {
      mark = 0;
    }
    d.FlipEdge(e);
    const int t = d.Twin(e);
    for (const int x : {d.Prev(e), d.Prev(t), d.Next(e), d.Next(t)}) {
      if (d.HasTwin(x) && queued[x] == 0 && queued[d.Twin(x)] == 0) stack.Push(x);
    }
  }
}

void FanTriangulation(TDCEL& subdivision) {
  TDCEL& d = subdivision;
  if (d.HalfEdgeCount() < 4) return;
  assert(d.FaceCount() == 1 && d.VertexEdge(0) != kNone);
  const int in0 = d.Prev(d.VertexEdge(0));
  const int z = d.Origin(in0);
  int e = d.Next(d.VertexEdge(0));
  d.StoreFaceEdge(0, e);
  int f = 0;
  for (int guard = d.HalfEdgeCount(); guard > 0; --guard) {
    // Close the triangle of face f with the diagonal back to vertex 0 ...
    const int next = d.Next(e);
    d.AddHalfEdge(d.Destination(e), e, d.Prev(e), kNone, f);
    const int closing = d.HalfEdgeCount() - 1;
    // ... and open face f + 1 with its twin, in front of the next boundary edge.
    ++f;
    e = next;
    d.SetFace(e, f);
    d.SetFaceEdge(f, e);
    d.AddHalfEdge(0, in0, e, closing, f);
    if (d.Destination(e) == z) break;
  }
  d.SetFace(in0, f);
}

}  // namespace qv
