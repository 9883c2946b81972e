#include "methods/Triangulacion.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "geometry/CierreConvexo.h"
#include "geometry/FuncionesMatematicas.h"
#include "geometry/Pila.h"
#include "geometry/UserError.h"
#include "methods/Pasos.h"

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
  s.D.AddTriangle(face[0], face[1], face[2], kNone, kNone, kNone, 0);
  for (int i = 0; i < 3; ++i) s.HullOut[face[i]] = i;
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
      s.D.AddTriangle(i, i + 1, m, kNone, kNone, side, f);
      s.HullOut[i] = h;
      if (i == 0) s.HullOut[m] = h + 2;
      side = h + 1;
    } else {  // i+1 -> i -> m
      s.D.AddTriangle(i + 1, i, m, kNone, side, kNone, f);
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

// The point at k moved one pixel to the right keeps index k and lands on no other point.
bool NudgeKeepsPlace(const TSweep& s, int k) {
  if (k + 1 >= static_cast<int>(s.Points.size())) return true;
  const TPoint p = s.P(k), next = s.P(k + 1);
  return next.X > p.X + 1 || (next.X == p.X + 1 && next.Y < p.Y);
}

// Nudges point k while it coincides with the last inserted point L or lies on the line of a
// hull edge at L. A point equal to L always moves (and may pass later points). A point on a
// hull line moves only where the move cures that and keeps the order as it is: a move past
// later points makes the next of them point k, which lies on the same line when the points
// form a column, and the nudges would then run down the whole column and on into the next
// ones (a grid drifts to the right). Otherwise k is inserted where it lies: L stays on the
// hull as a straight vertex, which the strict visibility tests of the walks take in stride.
// At a fixed L each point meets each line at one x and L itself once, so the loop is bounded.
void SettleCollinear(TSweep& s, int k) {
  const int n = static_cast<int>(s.Points.size());
  const TPoint l = s.P(s.Last->Value);
  const TPoint a = s.P(s.Last->NextNode->Value), b = s.P(s.Last->PrevNode->Value);
  for (int guard = 3 * (n - k) + 3; guard != 0; --guard) {
    const TPoint p = s.P(k);
    const bool onA = Orientation(p, l, a) == Collinear, onB = Orientation(p, l, b) == Collinear;
    if (!onA && !onB) return;
    if (p == l) {
      if (p.X == kMaxCoordinate) throw UserError("No coincident points allowed.");
    } else {
      const bool horizontal = (onA ? a : b).Y == l.Y;  // no move to the right leaves it
      if (horizontal || p.X == kMaxCoordinate || !NudgeKeepsPlace(s, k)) return;
    }
    NudgePoint(k, s.Points, s.Dragged);
  }
  if (s.P(k) == l) throw UserError("No coincident points allowed.");
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
    d.AddTriangle(cv, k, nv, kToC, kNone, s.HullOut[cv], f);
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
    d.AddTriangle(k, cv, pv, pending, s.HullOut[pv], kNone, f);
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

// Point k joined the triangulation by the half-edges from edges on and the faces from faces
// on. Kept out of the sweep's loop.
[[gnu::cold, gnu::noinline]] void RecordInsertion(int k, int edges, int faces, const TDCEL& d,
                                                  TRecorder& recorder) {
  const int made = d.FaceCount() - faces;
  recorder.StepAdded(d, edges,
                     "Point {0} joins the triangulation: " + std::to_string(made) +
                         (made == 1 ? " triangle" : " triangles") + " over the hull edges it sees",
                     {k});
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
  // A triangulation of n points has at most 2n - 5 faces and 6n - 15 half-edges.
  subdivision.Vertices.reserve(points.size());
  subdivision.HalfEdges.reserve(6 * points.size());
  subdivision.Faces.reserve(2 * points.size());
  TSweep s{points, subdivision, draggedPoint, {}, std::vector<int>(points.size(), kNone), nullptr};
  TRecorder* const recorder = ActiveRecorder();
  try {
    int k = StartSweep(s);
    if (recorder) RecordSweepStart(*recorder, subdivision, k);
    for (; k < n; ++k) {
      const int edges = subdivision.HalfEdgeCount(), faces = subdivision.FaceCount();
      SettleCollinear(s, k);
      InsertPoint(s, k);
      if (recorder) RecordInsertion(k, edges, faces, subdivision, *recorder);
    }
  } catch (...) {
    subdivision.Clear();
    throw;
  }
}

namespace {

// InCircle with fast paths, same answer. The coordinate differences of 32-bit points are exact
// in double, so the classic static error bound of the in-circle determinant decides the sign
// whenever the rounded value clears it; that settles nearly every quadrilateral of scattered
// points at once. What it leaves (nearly or exactly cocircular points) is settled exactly in
// 64-bit integers when the points are canvas-sized, which covers the cocircular squares of
// grids, and by the wide exact predicate otherwise.
int InCircleFiltered(TPoint a, TPoint b, TPoint c, TPoint d) {
  const double adx = double(a.X) - d.X, ady = double(a.Y) - d.Y;
  const double bdx = double(b.X) - d.X, bdy = double(b.Y) - d.Y;
  const double cdx = double(c.X) - d.X, cdy = double(c.Y) - d.Y;
  const double bc = bdx * cdy - bdy * cdx, ca = cdx * ady - cdy * adx, ab = adx * bdy - ady * bdx;
  const double al = adx * adx + ady * ady, bl = bdx * bdx + bdy * bdy, cl = cdx * cdx + cdy * cdy;
  const double det = al * bc + bl * ca + cl * ab;
  const double permanent = (std::abs(bdx * cdy) + std::abs(bdy * cdx)) * al +
                           (std::abs(cdx * ady) + std::abs(cdy * adx)) * bl +
                           (std::abs(adx * bdy) + std::abs(ady * bdx)) * cl;
  constexpr double kEpsilon = 0x1p-53;
  constexpr double kBound = (10.0 + 96.0 * kEpsilon) * kEpsilon;
  if (det > kBound * permanent) return -1;
  if (-det > kBound * permanent) return 1;
  // Canvas-sized differences (below 2^14): lifts below 2^29, each term below 2^58, exact in
  // 64 bits.
  const int64_t ax = int64_t{a.X} - d.X, ay = int64_t{a.Y} - d.Y;
  const int64_t bx = int64_t{b.X} - d.X, by = int64_t{b.Y} - d.Y;
  const int64_t cx = int64_t{c.X} - d.X, cy = int64_t{c.Y} - d.Y;
  constexpr int64_t kSmall = int64_t{1} << 14;
  if (std::max({std::abs(ax), std::abs(ay), std::abs(bx), std::abs(by), std::abs(cx),
                std::abs(cy)}) < kSmall) {
    const int64_t exact = (ax * ax + ay * ay) * (bx * cy - by * cx) +
                          (bx * bx + by * by) * (cx * ay - cy * ax) +
                          (cx * cx + cy * cy) * (ax * by - ay * bx);
    return (exact < 0) - (exact > 0);
  }
  return InCircle(a, b, c, d);
}

// The in-circle test of the flip loop, set up once from the extent of the point set: every
// coordinate difference the test can meet is at most Extent.
struct TInCircleBound {
  // Extent below 2^14: the determinant is exact in 64 bits (see InCircleFiltered) and cheaper
  // than any filter.
  bool Small = false;
  // Otherwise a static filter. With every difference at most M the permanent of the
  // determinant is at most 3 * (2M^2) * (2M^2) = 12 M^4, and the rounding error of the double
  // evaluation stays below 11 * 2^-53 times the permanent; Threshold = 2^-47 * 12 M^4 is six
  // times that (the few roundings in M^4 itself included), so a rounded determinant beyond it
  // has the sign of the exact one. Nearly every quadrilateral of scattered points clears it.
  double Threshold = 0;
};

TInCircleBound InCircleBoundOf(const TNube& points) {
  if (points.empty()) return {true, 0};
  int32_t minX = points[0].X, maxX = minX, minY = points[0].Y, maxY = minY;
  for (const TPoint p : points) {
    minX = std::min(minX, p.X);
    maxX = std::max(maxX, p.X);
    minY = std::min(minY, p.Y);
    maxY = std::max(maxY, p.Y);
  }
  const int64_t extent = std::max(int64_t{maxX} - minX, int64_t{maxY} - minY);
  const double m = static_cast<double>(extent), m2 = m * m;
  return {extent < (int64_t{1} << 14), 0x1p-47 * 12.0 * (m2 * m2)};
}

// InCircle(a, b, c, d) under the bound: the same answer as InCircleFiltered.
[[gnu::always_inline]] inline int InCircleBounded(const TInCircleBound& bound, TPoint a, TPoint b,
                                                  TPoint c, TPoint d) {
  if (bound.Small) {
    const int64_t ax = int64_t{a.X} - d.X, ay = int64_t{a.Y} - d.Y;
    const int64_t bx = int64_t{b.X} - d.X, by = int64_t{b.Y} - d.Y;
    const int64_t cx = int64_t{c.X} - d.X, cy = int64_t{c.Y} - d.Y;
    const int64_t exact = (ax * ax + ay * ay) * (bx * cy - by * cx) +
                          (bx * bx + by * by) * (cx * ay - cy * ax) +
                          (cx * cx + cy * cy) * (ax * by - ay * bx);
    return (exact < 0) - (exact > 0);
  }
  const double adx = double(a.X) - d.X, ady = double(a.Y) - d.Y;
  const double bdx = double(b.X) - d.X, bdy = double(b.Y) - d.Y;
  const double cdx = double(c.X) - d.X, cdy = double(c.Y) - d.Y;
  const double det = (adx * adx + ady * ady) * (bdx * cdy - bdy * cdx) +
                     (bdx * bdx + bdy * bdy) * (cdx * ady - cdy * adx) +
                     (cdx * cdx + cdy * cdy) * (adx * bdy - ady * bdx);
  if (det > bound.Threshold) return -1;
  if (det < -bound.Threshold) return 1;
  return InCircleFiltered(a, b, c, d);
}

// The quadrilateral around e: a -> b is e, c the apex of the twin's triangle, x the apex of e's
// own triangle. OrientationSign(a, b, c) * InCircle(a, b, c, x) is positive when e is legal
// and 0 when the four points are cocircular (an edge then counts as illegal). faceSign, when not 0,
// is known to be OrientationSign(a, b, c) already (every face turns that way) and saves the test.
// Forced inline: the flip loop runs it on nearly every pop, and as an out-of-line call (register
// spills around every call) it measurably slowed the loop.
[[gnu::always_inline]] inline int Legality(int e, const TNube& points, const TDCEL& d,
                                           const TInCircleBound& bound, int faceSign) {
  const int t = d.Twin(e);
  const TPoint a = points[d.Origin(e)], b = points[d.Origin(t)];
  const TPoint c = points[d.Origin(d.Prev(t))], x = points[d.Origin(d.Prev(e))];
  const int sign = faceSign != 0 ? faceSign : OrientationSign(a, b, c);
  return sign * InCircleBounded(bound, a, b, c, x);
}

// The common sense of turn of the faces, as OrientationSign of any face's vertices in cycle
// order: -1 when every face is a counterclockwise triangle on the screen (as the sweep builds
// them), +1 when every one is clockwise, 0 for anything else.
int CommonFaceSign(const TNube& points, const TDCEL& d) {
  int common = 0;
  for (int f = 0; f < d.FaceCount(); ++f) {
    const int e = d.FaceEdge(f);
    if (e == kNone) continue;
    if (d.Next(d.Next(d.Next(e))) != e) return 0;
    const int sign = OrientationSign(points[d.Origin(d.Prev(e))], points[d.Origin(e)],
                                     points[d.Origin(d.Next(e))]);
    if (sign == 0 || (common != 0 && sign != common)) return 0;
    common = sign;
  }
  return common;
}

// What the initial pass left on a half-edge it queued: nothing (or no longer waiting), or
// waiting with its legality as tested then, still valid while no flip has touched its
// quadrilateral, or waiting with a quadrilateral that has changed since. (Enumerations rather
// than plain bytes: a store through an unsigned char may alias anything, and would make the
// compiler reload the subdivision after every flag written in the flip loop.)
enum class TQueued : uint8_t { None = 0, Changed = 1, Illegal = 2, Cocircular = 3 };

// Per edge (kept on its lower half-edge): its last flip was across four cocircular points, and
// it was found legal with no flip touching its quadrilateral since (an edge may wait on the
// stack more than once, and a second test of the same four points would only repeat the first).
enum class TEdgeMarks : uint8_t { None = 0, CocircularFlip = 1, LegalUnchanged = 2 };

constexpr bool Has(TEdgeMarks marks, TEdgeMarks bit) {
  return (static_cast<uint8_t>(marks) & static_cast<uint8_t>(bit)) != 0;
}
constexpr TEdgeMarks With(TEdgeMarks marks, TEdgeMarks bit) {
  return static_cast<TEdgeMarks>(static_cast<uint8_t>(marks) | static_cast<uint8_t>(bit));
}
constexpr TEdgeMarks Without(TEdgeMarks marks, TEdgeMarks bit) {
  return static_cast<TEdgeMarks>(static_cast<uint8_t>(marks) & ~static_cast<uint8_t>(bit));
}

// The state of the flip loop: the stack, the initial pass's queue flags above per half-edge,
// the edge marks above, and the sign that Legality may take for granted (see DelaunayFlips).
struct TFlipState {
  TDCEL Subdivision;
  TPila Stack;
  std::vector<TQueued> Queued;
  std::vector<TEdgeMarks> EdgeFlags;
  int FaceSign = 0;
  TInCircleBound Bound;
};

// How a step treats an edge marked by a cocircular flip whose four points are still cocircular:
// flip it all the same (Plain), leave it (Marks), or leave the state as it was before the pop
// (StopBefore), so that the caller can keep the state there.
enum class TFlipMode : uint8_t { Plain, Marks, StopBefore };

// What one pop of the loop did.
enum class TFlipStep : uint8_t { Kept, Flipped, Blocked };

// The flip of a-b to c-x, across four points on one circle or across one strictly inside.
// Kept out of the flip loop.
[[gnu::cold, gnu::noinline]] void RecordFlip(int a, int b, int c, int x, bool cocircular,
                                             TRecorder& recorder) {
  recorder.Step({{c, x}}, {{a, b}},
                cocircular ? "Flip between four points on one circle: {0}-{1} replaced by {2}-{3}"
                           : "Flip restores the empty circle: {0}-{1} replaced by {2}-{3}",
                {a, b, c, x});
}

// Pops one half-edge and flips it when illegal; the four sides of the new quadrilateral are
// queued unless they or their twins wait from the initial pass. A flip across four cocircular
// points is marked, a flip across a point strictly inside the circle clears the mark. A marked
// edge still cocircular is reported Blocked and treated as the mode says. Inlined into each of
// the loops below, one per mode.
template <TFlipMode Mode>
[[gnu::always_inline]] inline TFlipStep FlipStep(const TNube& points, TFlipState& s,
                                                 TRecorder* recorder) {
  TDCEL& d = s.Subdivision;
  const int e = s.Stack.Pop();
  const int t = d.Twin(e);
  TEdgeMarks& flags = s.EdgeFlags[std::min(e, t)];
  // A half-edge still flagged by the initial pass is that pass's own entry (later pushes skip
  // flagged edges, and nothing flags again), so its test stands unless a flip has touched it.
  const TQueued queued = s.Queued[e];
  s.Queued[e] = TQueued::None;
  int legality = 1;
  if (queued == TQueued::Illegal) {
    legality = -1;
  } else if (queued == TQueued::Cocircular) {
    legality = 0;
  } else if (!Has(flags, TEdgeMarks::LegalUnchanged)) {
    legality = Legality(e, points, d, s.Bound, s.FaceSign);
    if (legality > 0) flags = With(flags, TEdgeMarks::LegalUnchanged);
  }
  if (legality > 0) return TFlipStep::Kept;
  const bool blocked = legality == 0 && Has(flags, TEdgeMarks::CocircularFlip);
  if (Mode != TFlipMode::Plain && blocked) {
    if (Mode == TFlipMode::StopBefore) {
      s.Queued[e] = queued;
      s.Stack.Push(e);
    }
    return TFlipStep::Blocked;
  }
  flags = legality == 0 ? TEdgeMarks::CocircularFlip : TEdgeMarks::None;
  const int a = recorder ? d.Origin(e) : kNone, b = recorder ? d.Origin(t) : kNone;
  // The flip leaves e between en and tp and t between tn and ep (see TDCEL::FlipEdge).
  const int en = d.Next(e), ep = d.Prev(e), tn = d.Next(t), tp = d.Prev(t);
  d.FlipEdge(e);
  if (recorder) RecordFlip(a, b, d.Origin(e), d.Origin(t), legality == 0, *recorder);
  // The flip changes the quadrilateral of each of the four sides (one of its triangles is new)
  // and of no other edge. In the order Prev(e), Prev(t), Next(e), Next(t).
  for (const int x : {en, tn, tp, ep}) {
    const int y = d.Twin(x);
    if (y == kNone) continue;
    TEdgeMarks& marks = s.EdgeFlags[std::min(x, y)];
    marks = Without(marks, TEdgeMarks::LegalUnchanged);
    TQueued& own = s.Queued[x];
    TQueued& twin = s.Queued[y];
    if (own == TQueued::None && twin == TQueued::None) {
      s.Stack.Push(x);
    } else {
      if (own != TQueued::None) own = TQueued::Changed;
      if (twin != TQueued::None) twin = TQueued::Changed;
    }
  }
  return blocked ? TFlipStep::Blocked : TFlipStep::Flipped;
}

}  // namespace

void DelaunayFlips(const TNube& points, TDCEL& subdivision) {
  const int count = subdivision.HalfEdgeCount();
  TFlipState s;
  s.Subdivision = std::move(subdivision);
  s.Queued.assign(static_cast<size_t>(count), TQueued::None);
  s.EdgeFlags.assign(static_cast<size_t>(count), TEdgeMarks::None);
  TDCEL& d = s.Subdivision;
  // When all faces turn the same way, every flip keeps it so: a flip happens only when the apex
  // x of one triangle lies inside or on the circle through the other triangle a, b, c, beyond
  // the chord ab. The segment from c to x then stays in the disk and crosses line ab inside the
  // chord, and not at a or b (the line through c and a meets the circle only at c and a), so the
  // quadrilateral is strictly convex and its two new triangles are proper and keep the sense of
  // turn. Then the sign of the twin's triangle a, b, c is the same constant for every edge.
  s.FaceSign = -CommonFaceSign(points, d);
  s.Bound = InCircleBoundOf(points);
  // Initial pass: the higher half-edge of every illegal edge, once. With a common sign the two
  // half-edges of an edge evaluate the same determinant (in-circle is symmetric under swapping
  // a, b and c, x together) with the same sign, so the lower one, coming second, adds nothing.
  for (int e = count - 1; e >= 0; --e) {
    if (d.Origin(e) == kNone || !d.HasTwin(e)) continue;
    if (s.FaceSign != 0 && e < d.Twin(e)) continue;
    if (s.Queued[d.Twin(e)] != TQueued::None) continue;
    const int legality = Legality(e, points, d, s.Bound, s.FaceSign);
    if (legality <= 0) {
      s.Queued[e] = legality == 0 ? TQueued::Cocircular : TQueued::Illegal;
      s.Stack.Push(e);
    }
  }
  TRecorder* const recorder = ActiveRecorder();
  // The plain Lawson flips, which may go round for ever among cocircular points. Until a
  // marked edge comes up for a second cocircular flip they coincide with the flips that stop
  // such edges; the state there is kept. When the plain flips then go on far longer than
  // any run among cocircular points that comes to an end, they are taken to cycle: the kept
  // state is restored and finished with the marks. (Exact predicates: every strict flip lowers
  // the lifted surface, and between strict flips a marked edge is not flipped again, so that
  // finish ends; the budget only guards it.)
  while (!s.Stack.IsEmpty() &&
         FlipStep<TFlipMode::StopBefore>(points, s, recorder) != TFlipStep::Blocked) {
  }
  if (!s.Stack.IsEmpty()) {
    TFlipState kept = s;
    const size_t keptSteps = recorder ? recorder->Size() : 0;
    int64_t sinceKept = 0;
    const int64_t patience = 8 * int64_t{count} + 64;
    while (!s.Stack.IsEmpty()) {
      if (FlipStep<TFlipMode::Plain>(points, s, recorder) != TFlipStep::Kept &&
          ++sinceKept > patience)
        break;
    }
    if (!s.Stack.IsEmpty()) {
      s = std::move(kept);
      if (recorder) recorder->Truncate(keptSteps);
      for (int64_t budget = int64_t{count} * count + 16; !s.Stack.IsEmpty() && budget-- > 0;)
        FlipStep<TFlipMode::Marks>(points, s, recorder);
    }
  }
  subdivision = std::move(s.Subdivision);
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
  for (int guard = d.HalfEdgeCount(); guard != 0; --guard) {
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
