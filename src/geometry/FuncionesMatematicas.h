// Geometric predicates and measures on canvas points.
//
// Screen sense: y grows downwards, so A(p, q, r) = (q-p) x (r-p) is positive when
// p -> q -> r turns clockwise as seen on the screen. Every orientation-type predicate below
// is exact for all 32-bit coordinates (128-bit intermediate arithmetic).
#pragma once

#include <cstdint>

#include "geometry/Tipos.h"

namespace qv {

// Orientation codes.
enum : uint8_t { Clockwise = 0, CounterClockwise = 1, Collinear = 2 };
// TurnTest modes.
enum : uint8_t { ClockwiseOrStraight = 0, CounterClockwiseOrStraight = 1 };
// SegmentIntersection codes.
enum : uint8_t { ProperCrossing = 0, EndpointOnLine = 1, NoCrossing = 2, AllCollinear = 3 };

// Clockwise (A > 0), CounterClockwise (A < 0) or Collinear, on the screen.
uint8_t Orientation(TPoint p, TPoint q, TPoint r);
// Sign of A(p, q, r): +1 clockwise on the screen, -1 counterclockwise, 0 collinear. Inline:
// the method loops call it for every candidate point.
inline int OrientationSign(TPoint p, TPoint q, TPoint r) {
  const int64_t qx = int64_t{q.X} - p.X, qy = int64_t{q.Y} - p.Y;
  const int64_t rx = int64_t{r.X} - p.X, ry = int64_t{r.Y} - p.Y;
  // Differences below 2^31 (every canvas) keep each product below 2^62, so the 64-bit
  // difference of the products is exact; wider ones need 128 bits.
  constexpr int64_t kSmall = int64_t{1} << 31;
  const auto small = [](int64_t v) { return v > -kSmall && v < kSmall; };
  if (small(qx) && small(qy) && small(rx) && small(ry)) {
    const int64_t a = qx * ry - qy * rx;
    return (a > 0) - (a < 0);
  }
  __extension__ using Wide = __int128;
  const Wide a = Wide{qx} * ry - Wide{qy} * rx;
  return (a > 0) - (a < 0);
}
// Mode 0: p0 -> p1 -> p2 turns clockwise on the screen or goes straight (A >= 0).
// Mode 1: counterclockwise or straight (A <= 0). Any other mode: false.
bool TurnTest(TPoint p0, TPoint p1, TPoint p2, uint8_t mode);
// For a, b, c clockwise on the screen: -1 when d is strictly inside their circle, +1 strictly
// outside, 0 on it; signs reversed for a counterclockwise triple. Exact when all coordinate
// differences are below 2^30; beyond that a long-double evaluation (no undefined behaviour).
int InCircle(TPoint a, TPoint b, TPoint c, TPoint d);
// Classifies two segments against each other's supporting lines (see the codes above).
uint8_t SegmentIntersection(TPoint p1, TPoint p2, TPoint p3, TPoint p4);
// Crossing point of the line p0p1 with the line p2p3; (+inf, +inf) for parallel axis lines.
void LineIntersection(TPoint p0, TPoint p1, TPoint p2, TPoint p3, TPointF& out);
double Distance(TPoint p, TPoint q);
double DistanceF(TPointF p, TPointF q);
// Next hull point clockwise (resp. counterclockwise) on the screen from point i, or -1.
int WalkHullClockwise(const TNube& points, int i);
int WalkHullCounterclockwise(const TNube& points, int i);
// Index of the smallest (largest) y, first index on ties. The set must not be empty.
int TopmostPoint(const TNube& points);
int BottommostPoint(const TNube& points);

}  // namespace qv
