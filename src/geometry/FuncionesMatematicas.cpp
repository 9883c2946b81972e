#include "geometry/FuncionesMatematicas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <numbers>

namespace qv {

namespace {

__extension__ typedef __int128 Int128;

// A(p, q, r) exactly: differences need 33 bits, products 66, so 128-bit arithmetic.
Int128 Area2Exact(TPoint p, TPoint q, TPoint r) {
  const int64_t qx = int64_t{q.X} - p.X, qy = int64_t{q.Y} - p.Y;
  const int64_t rx = int64_t{r.X} - p.X, ry = int64_t{r.Y} - p.Y;
  return Int128{qx} * ry - Int128{qy} * rx;
}

int Sign(Int128 v) {
  return (v > 0) - (v < 0);
}

// Exact comparison of the bearings from p to a and from p to b (-1, 0, +1). The bearing grows
// clockwise on the screen from straight up: the half-plane dx > 0 holds (0, 180), dx = 0 with
// dy >= 0 is exactly 180, dx < 0 holds (180, 360) and straight up is 360. Inside a half-plane
// the bearing grows with dy / dx.
int BearingGroup(int64_t dx, int64_t dy) {
  if (dx > 0) return 0;
  if (dx == 0) return dy >= 0 ? 1 : 3;
  return 2;
}

int CompareBearing(TPoint p, TPoint a, TPoint b) {
  const int64_t ax = int64_t{a.X} - p.X, ay = int64_t{a.Y} - p.Y;
  const int64_t bx = int64_t{b.X} - p.X, by = int64_t{b.Y} - p.Y;
  const int ga = BearingGroup(ax, ay), gb = BearingGroup(bx, by);
  if (ga != gb) return ga < gb ? -1 : 1;
  if (ga == 1 || ga == 3) return 0;
  // Same open half-plane: compare ay / ax with by / bx; ax * bx > 0.
  return Sign(Int128{ay} * bx - Int128{by} * ax);
}

// Bearing of the straight-right direction (90) and straight-left (270) as reference points.
bool BearingAtLeast90(TPoint p, TPoint q) {
  const int64_t dx = int64_t{q.X} - p.X, dy = int64_t{q.Y} - p.Y;
  return dx <= 0 || dy >= 0;
}

bool BearingAtMost270(TPoint p, TPoint q) {
  const int64_t dx = int64_t{q.X} - p.X, dy = int64_t{q.Y} - p.Y;
  if (dx > 0) return true;
  if (dx == 0) return dy >= 0;
  return dy >= 0;
}

}  // namespace

uint8_t Orientation(TPoint p, TPoint q, TPoint r) {
  const int s = OrientationSign(p, q, r);
  return s > 0 ? Clockwise : (s < 0 ? CounterClockwise : Collinear);
}

bool TurnTest(TPoint p0, TPoint p1, TPoint p2, uint8_t mode) {
  // The y-flipped cross product of (p1 - p0) and (p2 - p1) equals -A(p0, p1, p2).
  const int a = Sign(Area2Exact(p0, p1, p2));
  if (mode == ClockwiseOrStraight) return a >= 0;
  if (mode == CounterClockwiseOrStraight) return a <= 0;
  return false;
}

int InCircle(TPoint a, TPoint b, TPoint c, TPoint d) {
  // The 4x4 lifted determinant is invariant under translation, so translate d to the origin
  // and expand the remaining 3x3 determinant of rows (x, y, x^2 + y^2).
  const int64_t ax = int64_t{a.X} - d.X, ay = int64_t{a.Y} - d.Y;
  const int64_t bx = int64_t{b.X} - d.X, by = int64_t{b.Y} - d.Y;
  const int64_t cx = int64_t{c.X} - d.X, cy = int64_t{c.Y} - d.Y;
  constexpr int64_t kExactBound = int64_t{1} << 30;
  const bool exact = std::max({std::llabs(ax), std::llabs(ay), std::llabs(bx), std::llabs(by),
                               std::llabs(cx), std::llabs(cy)}) < kExactBound;
  if (exact) {
    // Entries below 2^30, lifts below 2^61: every term below 2^121, the sum below 2^124.
    const Int128 la = Int128{ax} * ax + Int128{ay} * ay;
    const Int128 lb = Int128{bx} * bx + Int128{by} * by;
    const Int128 lc = Int128{cx} * cx + Int128{cy} * cy;
    const Int128 det = la * (Int128{bx} * cy - Int128{by} * cx) -
                       lb * (Int128{ax} * cy - Int128{ay} * cx) +
                       lc * (Int128{ax} * by - Int128{ay} * bx);
    return -Sign(det);
  }
  using LD = long double;
  const LD la = LD(ax) * ax + LD(ay) * ay, lb = LD(bx) * bx + LD(by) * by;
  const LD lc = LD(cx) * cx + LD(cy) * cy;
  const LD det = la * (LD(bx) * cy - LD(by) * cx) - lb * (LD(ax) * cy - LD(ay) * cx) +
                 lc * (LD(ax) * by - LD(ay) * bx);
  return (det < 0) - (det > 0);
}

uint8_t SegmentIntersection(TPoint p1, TPoint p2, TPoint p3, TPoint p4) {
  const int d1 = Sign(Area2Exact(p1, p2, p3)), d2 = Sign(Area2Exact(p1, p2, p4));
  if (d1 == 0 || d2 == 0) return (d1 == 0 && d2 == 0) ? AllCollinear : EndpointOnLine;
  const int d3 = Sign(Area2Exact(p3, p4, p1)), d4 = Sign(Area2Exact(p3, p4, p2));
  if (d3 == 0 || d4 == 0) return (d3 == 0 && d4 == 0) ? AllCollinear : EndpointOnLine;
  if (d1 == d2 || d3 == d4) return NoCrossing;
  return ProperCrossing;
}

void LineIntersection(TPoint p0, TPoint p1, TPoint p2, TPoint p3, TPointF& out) {
  const double a1 = double(p1.Y) - p0.Y, b1 = -(double(p1.X) - p0.X);
  // Negated only once widened: -p.X overflows for x = -2^31.
  const double c1 = -double(p0.X) * a1 - double(p0.Y) * b1;
  const double a2 = double(p3.Y) - p2.Y, b2 = -(double(p3.X) - p2.X);
  const double c2 = -double(p2.X) * a2 - double(p2.Y) * b2;
  const double inf = std::numeric_limits<double>::infinity();
  if ((a1 == 0 && a2 == 0) || (b1 == 0 && b2 == 0)) {
    out = {inf, inf};
  } else if (a1 == 0 && b2 == 0) {
    out = {double(p2.X), double(p0.Y)};
  } else if (b1 == 0 && a2 == 0) {
    out = {double(p0.X), double(p2.Y)};
  } else if (a1 == 0) {
    const double y = p0.Y;
    out = {(-b2 * y - c2) / a2, y};
  } else if (a2 == 0) {
    const double y = p2.Y;
    out = {(-b1 * y - c1) / a1, y};
  } else if (b1 == 0) {
    const double x = p0.X;
    out = {x, (-a2 * x - c2) / b2};
  } else if (b2 == 0) {
    const double x = p2.X;
    out = {x, (-a1 * x - c1) / b1};
  } else {
    const double m = -a2 / a1;
    const double y = (-m * c1 - c2) / (m * b1 + b2);
    out = {(-b1 * y - c1) / a1, y};
  }
}

double Distance(TPoint p, TPoint q) {
  const double dx = double(int64_t{p.X} - q.X), dy = double(int64_t{p.Y} - q.Y);
  return std::sqrt(dx * dx + dy * dy);
}

double DistanceF(TPointF p, TPointF q) {
  const double dx = p.X - q.X, dy = p.Y - q.Y;
  return std::sqrt(dx * dx + dy * dy);
}

int WalkHullClockwise(const TNube& points, int i) {
  // Smallest bearing of at least 90, strictly smaller replacing, starting from 360: the
  // comparisons are exact, so equal bearings go to the lowest index whatever the distances.
  const TPoint p = points[i];
  int best = kNone;
  for (int j = 0; j < static_cast<int>(points.size()); ++j) {
    if (j == i || !BearingAtLeast90(p, points[j])) continue;
    const int64_t dx = int64_t{points[j].X} - p.X, dy = int64_t{points[j].Y} - p.Y;
    if (BearingGroup(dx, dy) == 3) continue;  // 360 never beats the starting value 360
    if (best == kNone || CompareBearing(p, points[j], points[best]) < 0) best = j;
  }
  return best;
}

int WalkHullCounterclockwise(const TNube& points, int i) {
  const TPoint p = points[i];
  int best = kNone;
  for (int j = 0; j < static_cast<int>(points.size()); ++j) {
    if (j == i || !BearingAtMost270(p, points[j])) continue;
    if (best == kNone || CompareBearing(p, points[j], points[best]) > 0) best = j;
  }
  return best;
}

int TopmostPoint(const TNube& points) {
  return static_cast<int>(std::ranges::min_element(points, {}, &TPoint::Y) - points.begin());
}

int BottommostPoint(const TNube& points) {
  return static_cast<int>(std::ranges::max_element(points, {}, &TPoint::Y) - points.begin());
}

}  // namespace qv
