#include "geometry/FuncionesMatematicas.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace qv {
namespace {

TEST(Predicates, OrientationFollowsTheScreenSense) {
  EXPECT_EQ(Orientation({0, 0}, {10, 0}, {10, 10}), Clockwise);
  EXPECT_EQ(Orientation({0, 0}, {10, 0}, {10, -10}), CounterClockwise);
  EXPECT_EQ(Orientation({0, 0}, {10, 0}, {20, 0}), Collinear);
  EXPECT_EQ(OrientationSign({0, 0}, {10, 0}, {10, 10}), 1);
  EXPECT_EQ(OrientationSign({0, 0}, {10, 0}, {10, -10}), -1);
  EXPECT_DOUBLE_EQ(SignedArea2({0, 0}, {10, 0}, {10, 10}), 100.0);
  EXPECT_DOUBLE_EQ(CrossProduct({3, 4}, {5, 7}), 1.0);
}

TEST(Predicates, TurnTestModes) {
  const TPoint a{0, 0}, b{10, 0}, cw{20, 10}, ccw{20, -10}, straight{20, 0}, back{5, 0};
  EXPECT_TRUE(TurnTest(a, b, cw, ClockwiseOrStraight));
  EXPECT_FALSE(TurnTest(a, b, ccw, ClockwiseOrStraight));
  EXPECT_TRUE(TurnTest(a, b, ccw, CounterClockwiseOrStraight));
  EXPECT_FALSE(TurnTest(a, b, cw, CounterClockwiseOrStraight));
  for (TPoint p : {straight, back}) {
    EXPECT_TRUE(TurnTest(a, b, p, ClockwiseOrStraight));
    EXPECT_TRUE(TurnTest(a, b, p, CounterClockwiseOrStraight));
  }
  for (uint8_t mode : {uint8_t{2}, uint8_t{3}, uint8_t{255}}) {
    EXPECT_FALSE(TurnTest(a, b, cw, mode));
    EXPECT_FALSE(TurnTest(a, b, straight, mode));
  }
}

// Near the ends of the 32-bit range the products need more than 64 bits.
TEST(Predicates, ExactNearTheLimitsOf32Bits) {
  const TPoint lo{INT32_MIN, INT32_MIN}, hi{INT32_MAX, INT32_MAX};
  EXPECT_EQ(Orientation(lo, hi, {INT32_MAX - 1, INT32_MAX}), Clockwise);
  EXPECT_EQ(Orientation(lo, hi, {INT32_MAX, INT32_MAX - 1}), CounterClockwise);
  EXPECT_EQ(Orientation({INT32_MIN, 0}, {INT32_MAX, 0}, {0, 0}), Collinear);
  EXPECT_EQ(Orientation({INT32_MIN, INT32_MAX}, {INT32_MAX, INT32_MIN}, hi), Clockwise);
  EXPECT_EQ(OrientationSign(lo, {INT32_MAX, INT32_MIN}, hi), 1);
  EXPECT_FALSE(TurnTest(lo, hi, {INT32_MAX, INT32_MAX - 1}, ClockwiseOrStraight));
  EXPECT_TRUE(TurnTest(lo, hi, {INT32_MAX, INT32_MAX - 1}, CounterClockwiseOrStraight));
  EXPECT_EQ(SegmentIntersection(lo, hi, {INT32_MIN, INT32_MAX}, {INT32_MAX, INT32_MIN}),
            ProperCrossing);
  EXPECT_GT(SignedArea2(lo, {INT32_MAX, INT32_MIN}, hi), 0.0);
  EXPECT_DOUBLE_EQ(CrossProduct({INT32_MAX, INT32_MIN}, {INT32_MIN, INT32_MIN}),
                   -2147483648.0 * 4294967295.0);
  // Scaling a small configuration towards the limits keeps every orientation.
  std::mt19937 rng(7);
  std::uniform_int_distribution<int32_t> small(-1000, 1000);
  auto big = [](TPoint t) { return TPoint{t.X * 2000000, t.Y * 2000000}; };
  for (int i = 0; i < 2000; ++i) {
    const TPoint p{small(rng), small(rng)}, q{small(rng), small(rng)}, r{small(rng), small(rng)};
    ASSERT_EQ(Orientation(p, q, r), Orientation(big(p), big(q), big(r)));
    ASSERT_EQ(TurnTest(p, q, r, 0), TurnTest(big(p), big(q), big(r), 0));
  }
}

TEST(Predicates, InCircleSignsAndOrientationFreeProduct) {
  const TPoint a{0, 0}, b{10, 0}, c{0, 10};  // clockwise on the screen
  EXPECT_EQ(InCircle(a, b, c, {5, 5}), -1);
  EXPECT_EQ(InCircle(a, b, c, {20, 20}), 1);
  EXPECT_EQ(InCircle(a, b, c, {10, 10}), 0);
  EXPECT_EQ(InCircle(a, c, b, {5, 5}), 1);  // counterclockwise triple: reversed
  EXPECT_EQ(InCircle(a, c, b, {5, 5}) * OrientationSign(a, c, b), -1);
  // Exact at 2^24: one unit inside or outside a huge circle.
  const int32_t r = 1 << 24;
  const TPoint w{-r, 0}, n{0, -r}, e{r, 0};
  const int s = OrientationSign(w, n, e);
  EXPECT_EQ(InCircle(w, n, e, {0, r}), 0);
  EXPECT_EQ(InCircle(w, n, e, {0, r + 1}) * s, 1);
  EXPECT_EQ(InCircle(w, n, e, {0, r - 1}) * s, -1);
  // Far beyond: no undefined behaviour, and still the obvious answer.
  const TPoint W{INT32_MIN + 1, 0}, N{0, INT32_MIN + 1}, E{INT32_MAX, 0};
  EXPECT_EQ(InCircle(W, N, E, {0, 0}) * OrientationSign(W, N, E), -1);
}

TEST(Predicates, SegmentClassesAreAgainstSupportingLines) {
  const TPoint a{0, 0}, b{10, 0};
  EXPECT_EQ(SegmentIntersection(a, b, {5, 0}, {5, 10}), EndpointOnLine);
  EXPECT_EQ(SegmentIntersection(a, b, {20, 0}, {20, 10}), EndpointOnLine);
  EXPECT_EQ(SegmentIntersection(a, b, {0, 5}, {10, 5}), NoCrossing);
  EXPECT_EQ(SegmentIntersection(a, b, {5, -5}, {5, 5}), ProperCrossing);
  EXPECT_EQ(SegmentIntersection(a, b, {20, 0}, {30, 0}), AllCollinear);
  EXPECT_EQ(SegmentIntersection(a, b, {10, 0}, {10, 5}), EndpointOnLine);  // shared endpoint
  EXPECT_EQ(SegmentIntersection({0, 5}, {5, 0}, {0, 0}, {10, 10}), ProperCrossing);
  // (5, 5) lies on the line y = x beyond the second segment: still an endpoint on the line.
  EXPECT_EQ(SegmentIntersection({0, 5}, {5, 5}, {0, 0}, {4, 4}), EndpointOnLine);
  // Only step 2 sees the touch: the first segment ends on the second's supporting line.
  EXPECT_EQ(SegmentIntersection({5, 10}, {5, 14}, {0, 0}, {10, 20}), EndpointOnLine);
  EXPECT_EQ(SegmentIntersection({5, 5}, {5, 9}, {0, 0}, {10, 20}), NoCrossing);
}

TEST(Measures, LineIntersectionCases) {
  const double inf = std::numeric_limits<double>::infinity();
  const int32_t lo = INT32_MIN, hi = INT32_MAX;
  struct Row {
    TPoint p0, p1, p2, p3;
    TPointF expected;
  };
  const std::vector<Row> rows{
      {{0, 0}, {10, 0}, {0, 5}, {10, 5}, {inf, inf}},  // both horizontal
      {{0, 3}, {10, 3}, {7, 0}, {7, 10}, {7, 3}},      // horizontal, then vertical
      {{7, 0}, {7, 10}, {0, 3}, {10, 3}, {7, 3}},      // vertical, then horizontal
      {{0, 0}, {10, 10}, {0, 10}, {10, 0}, {5, 5}},    // general
      {{0, 4}, {8, 4}, {0, 0}, {2, 8}, {1, 4}},        // first horizontal
      {{0, 0}, {2, 8}, {3, -5}, {3, 9}, {3, 12}},      // second vertical
      // x = -2^31 on both lines: x + y = -2^31 meets y = x at -2^30.
      {{lo, 0}, {0, lo}, {lo, lo}, {0, 0}, {-1073741824.0, -1073741824.0}},
      {{lo, 3}, {hi, 3}, {7, lo}, {7, hi}, {7, 3}},
  };
  for (const Row& r : rows) {
    TPointF out;
    LineIntersection(r.p0, r.p1, r.p2, r.p3, out);
    EXPECT_DOUBLE_EQ(out.X, r.expected.X) << r.p0.X << "," << r.p0.Y;
    EXPECT_DOUBLE_EQ(out.Y, r.expected.Y) << r.p0.X << "," << r.p0.Y;
  }
}

TEST(Measures, BearingIsClockwiseFromUp) {
  const TPoint o{0, 0};
  EXPECT_DOUBLE_EQ(Bearing(o, {10, 0}), 90);
  EXPECT_DOUBLE_EQ(Bearing(o, {0, 10}), 180);
  EXPECT_DOUBLE_EQ(Bearing(o, {-10, 0}), 270);
  EXPECT_DOUBLE_EQ(Bearing(o, {0, -10}), 360);
  EXPECT_DOUBLE_EQ(Bearing(o, o), 180);
  EXPECT_DOUBLE_EQ(Bearing(o, {10, 10}), 135);
  EXPECT_DOUBLE_EQ(Bearing(o, {10, -10}), 45);
  EXPECT_DOUBLE_EQ(Distance({0, 0}, {3, 4}), 5);
  EXPECT_DOUBLE_EQ(Distance({INT32_MIN, 0}, {INT32_MAX, 0}), 4294967295.0);
  EXPECT_DOUBLE_EQ(DistanceF({0.5, 0}, {3.5, 4}), 5);
}

TEST(Measures, AreaAndExtremes) {
  const TNube square{{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  EXPECT_DOUBLE_EQ(PolygonArea(square), 100);
  EXPECT_DOUBLE_EQ(PolygonArea(TNube(square.rbegin(), square.rend())), 100);
  EXPECT_DOUBLE_EQ(PolygonArea(TNube{{0, 0}, {5, 5}}), 0);
  const TNube set{{5, 3}, {1, 1}, {7, 1}, {2, 9}, {0, 9}};
  EXPECT_EQ(TopmostPoint(set), 1);
  EXPECT_EQ(BottommostPoint(set), 3);
}

// The walkers compare bearings exactly; the float Bearing gives the same choices.
int SlowWalk(const TNube& pts, int i, bool clockwise) {
  int best = kNone;
  double bestBearing = clockwise ? 360.0 : 0.0;
  for (int j = 0; j < static_cast<int>(pts.size()); ++j) {
    if (j == i) continue;
    const double b = Bearing(pts[i], pts[j]);
    if (clockwise ? (b >= 90 && b < bestBearing) : (b <= 270 && b > bestBearing)) {
      bestBearing = b;
      best = j;
    }
  }
  return best;
}

TEST(Walkers, FollowTheHullWithTiesToTheLowestIndex) {
  const TNube set{{50, 0}, {100, 50}, {50, 100}, {0, 50}, {50, 50}};
  EXPECT_EQ(WalkHullClockwise(set, 0), 1);
  EXPECT_EQ(WalkHullClockwise(set, 1), 2);
  EXPECT_EQ(WalkHullCounterclockwise(set, 0), 3);
  EXPECT_EQ(WalkHullCounterclockwise(set, 3), 2);
  // Two points on one ray: the lower index wins even when farther.
  EXPECT_EQ(WalkHullClockwise(TNube{{0, 0}, {20, 20}, {10, 10}, {-5, 40}}, 0), 1);
  EXPECT_EQ(WalkHullClockwise(TNube{{0, 0}, {10, 10}, {20, 20}, {-5, 40}}, 0), 1);
  // A point straight above (bearing 360) is never taken clockwise.
  EXPECT_EQ(WalkHullClockwise(TNube{{0, 10}, {0, 0}}, 0), kNone);
  // Same y: right of T is bearing 90 (clockwise), left is 270 (counterclockwise).
  const TNube flat{{10, 0}, {20, 0}, {0, 0}, {10, 30}};
  EXPECT_EQ(WalkHullClockwise(flat, 0), 1);
  EXPECT_EQ(WalkHullCounterclockwise(flat, 0), 2);
  std::mt19937 rng(3);
  std::uniform_int_distribution<int32_t> c(0, 12);  // small grid: many equal bearings
  for (int trial = 0; trial < 500; ++trial) {
    TNube pts(8);
    for (auto& p : pts) p = {c(rng), c(rng)};
    for (int i = 0; i < 8; ++i) {
      ASSERT_EQ(WalkHullClockwise(pts, i), SlowWalk(pts, i, true));
      ASSERT_EQ(WalkHullCounterclockwise(pts, i), SlowWalk(pts, i, false));
    }
  }
}

TEST(AngleSearches, WidestAngleAndNoNaNForCoincidentCandidates) {
  // P = point 0, Q = point 1 = A, B = point 2: candidates lie beyond the line AB from P.
  const TNube pts{{0, 0}, {100, 0}, {60, -60}, {100, -100}, {0, -200}, {50, -10}, {0, 0}};
  EXPECT_EQ(MaxAngleCandidate(pts, 0, 1, 1, 2, 0, 6, false), 4);  // 90 degrees at P
  EXPECT_EQ(MaxAngleCandidate(pts, 0, 1, 1, 2, 0, 6, true), 3);   // same x as P skipped
  EXPECT_EQ(MaxAngleCandidate(pts, 0, 1, 1, 2, 5, 5, false), 1);  // wrong side only: j
  // P, A, B on one line: a point coincident with P passes the side tests but has no angle.
  const TNube line{{0, 0}, {100, 0}, {200, 0}, {0, 0}, {50, 0}, {-50, 0}};
  EXPECT_EQ(MaxAngleCandidate(line, 0, 1, 1, 2, 0, 4, false), 1);
  EXPECT_EQ(MaxAngleCandidate(line, 0, 1, 1, 2, 0, 5, false), 5);  // 180 degrees
  // Triangle Q=(0,0), P=(100,0), M=(0,-100) runs counterclockwise on the screen.
  const TNube tri{{100, 0}, {0, 0}, {0, -100}, {10, -10}, {50, -5}, {0, 0}};
  EXPECT_EQ(MaxAngleInTriangle(tri, 0, 1, 2, 0, 5), 4);
  EXPECT_EQ(MaxAngleInTriangle(tri, 0, 1, 2, 0, 2), 2);  // no candidate: m
  EXPECT_EQ(MaxAngleInTriangle(tri, 0, 1, 2, 5, 5), 2);  // only a copy of Q: m
}

}  // namespace
}  // namespace qv
