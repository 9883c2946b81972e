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

double ToDouble(Int128 v) {
  return static_cast<double>(v);
}

double Degrees(double radians) {
  return radians * 180.0 / std::numbers::pi;
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

// arccos of the angle between u and v, cosine clamped into [-1, 1]; the lengths must be > 0.
double AngleDegrees(int64_t ux, int64_t uy, int64_t vx, int64_t vy) {
  const double dot = static_cast<double>(ux) * static_cast<double>(vx) +
                     static_cast<double>(uy) * static_cast<double>(vy);
  const double lu = std::hypot(static_cast<double>(ux), static_cast<double>(uy));
  const double lv = std::hypot(static_cast<double>(vx), static_cast<double>(vy));
  const double c = std::clamp(dot / (lu * lv), -1.0, 1.0);
  return Degrees(std::acos(c));
}

}  // namespace

uint8_t Orientation(TPoint p, TPoint q, TPoint r) {
  const int s = OrientationSign(p, q, r);
  return s > 0 ? Clockwise : (s < 0 ? CounterClockwise : Collinear);
}

double SignedArea2(TPoint p, TPoint q, TPoint r) {
  return ToDouble(Area2Exact(p, q, r));
}

double CrossProduct(TPoint u, TPoint v) {
  return ToDouble(Int128{u.X} * v.Y - Int128{u.Y} * v.X);
}

bool TurnTest(TPoint p0, TPoint p1, TPoint p2, uint8_t mode) {
  // The y-flipped cross product of (p1 - p0) and (p2 - p1) equals -A(p0, p1, p2).
  const int a = Sign(Area2Exact(p0, p1, p2));
  if (mode == ClockwiseOrStraight) return a >= 0;
  if (mode == CounterClockwiseOrStraight) return a <= 0;
  return false;
}

double Det2(double a, double b, double c, double d) {
  return a * d - b * c;
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

double Bearing(TPoint p, TPoint q) {
  const int64_t dx = int64_t{q.X} - p.X, dy = int64_t{q.Y} - p.Y;
  if (dx == 0) return dy >= 0 ? 180.0 : 360.0;
  const double t = Degrees(std::atan(double(dy) / double(dx)));
  return dx > 0 ? 90.0 + t : 270.0 + t;
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

int WalkLayerClockwise(const TPTCapas& layers, int i) {
  const TPoint p{layers[i].X, layers[i].Y};
  int best = kNone;
  TPoint bestPoint;
  for (int j = 0; j < layers.Size(); ++j) {
    const TPoint q{layers[j].X, layers[j].Y};
    if (layers[j].Layer > 0 || q == p || !BearingAtLeast90(p, q)) continue;
    if (BearingGroup(int64_t{q.X} - p.X, int64_t{q.Y} - p.Y) == 3) continue;  // 360 is out
    if (best == kNone || CompareBearing(p, q, bestPoint) < 0) best = j, bestPoint = q;
  }
  return best;
}

int WalkLayerCounterclockwise(const TPTCapas& layers, int i) {
  const TPoint p{layers[i].X, layers[i].Y};
  int best = kNone;
  TPoint bestPoint;
  for (int j = 0; j < layers.Size(); ++j) {
    const TPoint q{layers[j].X, layers[j].Y};
    if (layers[j].Layer > 0 || q == p || !BearingAtMost270(p, q)) continue;
    if (best == kNone || CompareBearing(p, q, bestPoint) > 0) best = j, bestPoint = q;
  }
  return best;
}

int TopmostPoint(const TNube& points) {
  int best = 0;
  for (int i = 1; i < static_cast<int>(points.size()); ++i)
    if (points[i].Y < points[best].Y) best = i;
  return best;
}

int BottommostPoint(const TNube& points) {
  int best = 0;
  for (int i = 1; i < static_cast<int>(points.size()); ++i)
    if (points[i].Y > points[best].Y) best = i;
  return best;
}

double PolygonArea(const TNube& points) {
  const size_t n = points.size();
  if (n < 3) return 0.0;
  double sum = 0.0;
  for (size_t i = 0; i < n; ++i) {
    const TPoint a = points[i], b = points[(i + 1) % n];
    sum += double(int64_t{a.X} * b.Y) - double(int64_t{a.Y} * b.X);
  }
  return std::fabs(sum) / 2.0;
}

int MaxAngleCandidate(const TNube& points, int i, int j, int a, int b, int lo, int hi,
                      bool skipSameX) {
  const TPoint P = points[i], Q = points[j], A = points[a], B = points[b];
  const uint8_t side = (a == j) ? Orientation(P, B, A) : Orientation(P, A, B);
  if (P == Q) return j;  // no direction to measure against
  int best = j;
  double bestAngle = 0.0;
  for (int k = lo; k <= hi; ++k) {
    if (k == i || k == j) continue;
    const TPoint C = points[k];
    if (Orientation(P, C, Q) != side || Orientation(A, C, B) == Clockwise) continue;
    if (skipSameX && C.X == P.X) continue;
    if (C == P) continue;  // a coincident candidate has no angle
    const double angle = AngleDegrees(int64_t{Q.X} - P.X, int64_t{Q.Y} - P.Y, int64_t{C.X} - P.X,
                                      int64_t{C.Y} - P.Y);
    if (angle > bestAngle) {
      bestAngle = angle;
      best = k;
    }
  }
  return best;
}

int MaxAngleInTriangle(const TNube& points, int i, int j, int m, int lo, int hi) {
  const TPoint P = points[i], Q = points[j], M = points[m];
  if (M == Q) return m;
  int best = kNone;
  double bestAngle = 0.0;
  for (int k = lo; k <= hi; ++k) {
    if (k == j || k == m || k == i) continue;
    const TPoint C = points[k];
    if (Orientation(Q, P, C) == Clockwise || Orientation(P, M, C) == Clockwise ||
        Orientation(M, Q, C) == Clockwise)
      continue;
    if (C == Q) continue;
    const double angle = AngleDegrees(int64_t{M.X} - Q.X, int64_t{M.Y} - Q.Y, int64_t{C.X} - Q.X,
                                      int64_t{C.Y} - Q.Y);
    if (angle > bestAngle) {
      bestAngle = angle;
      best = k;
    }
  }
  return best == kNone ? m : best;
}

}  // namespace qv
