#include "geometry/FuncionesMatematicas.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <numbers>
#include <random>
#include <tuple>
#include <vector>

namespace qv {
namespace {

constexpr int32_t lo = INT32_MIN, hi = INT32_MAX;

// Orientation in the screen sense (y down), exact where the products need more than 64 bits;
// TurnTest accepts straight turns in both modes and nothing in an unknown mode.
TEST(Predicates, OrientationAndTurnsExactUpToThe32BitLimits) {
  const std::vector<std::tuple<TPoint, TPoint, TPoint, int>> rows{
      // a, b, c, sign
      {{0, 0}, {10, 0}, {10, 10}, 1},        {{0, 0}, {10, 0}, {10, -10}, -1},
      {{0, 0}, {10, 0}, {20, 0}, 0},         {{0, 0}, {10, 0}, {5, 0}, 0},
      {{lo, lo}, {hi, hi}, {hi - 1, hi}, 1}, {{lo, lo}, {hi, hi}, {hi, hi - 1}, -1},
      {{lo, 0}, {hi, 0}, {0, 0}, 0},         {{lo, hi}, {hi, lo}, {hi, hi}, 1},
      {{lo, lo}, {hi, lo}, {hi, hi}, 1}};
  for (const auto& [a, b, c, sign] : rows) {
    EXPECT_EQ(OrientationSign(a, b, c), sign) << c.X;
    EXPECT_EQ(Orientation(a, b, c), sign > 0 ? Clockwise : sign < 0 ? CounterClockwise : Collinear);
    EXPECT_EQ(TurnTest(a, b, c, ClockwiseOrStraight), sign >= 0) << c.X;
    EXPECT_EQ(TurnTest(a, b, c, CounterClockwiseOrStraight), sign <= 0) << c.X;
    for (uint8_t mode : {uint8_t{2}, uint8_t{255}}) EXPECT_FALSE(TurnTest(a, b, c, mode));
  }
}

// InCircle times the orientation of a, b, c: -1 inside, 1 outside, 0 on the circle.
TEST(Predicates, InCircleSignsExactAtHugeRadii) {
  const int32_t r = 1 << 24;
  const TPoint a{0, 0}, b{10, 0}, c{0, 10}, w{-r, 0}, n{0, -r}, e{r, 0};
  const std::tuple<TPoint, TPoint, TPoint, TPoint, int> rows[] = {
      {a, b, c, {5, 5}, -1},     {a, b, c, {20, 20}, 1},
      {a, b, c, {10, 10}, 0},    {a, c, b, {5, 5}, -1},
      {w, n, e, {0, r}, 0},      {w, n, e, {0, r + 1}, 1},
      {w, n, e, {0, r - 1}, -1}, {{lo + 1, 0}, {0, lo + 1}, {hi, 0}, {0, 0}, -1}};
  for (const auto& [p, q, t, d, sign] : rows)
    EXPECT_EQ(InCircle(p, q, t, d) * OrientationSign(p, q, t), sign) << d.X << "," << d.Y;
}

TEST(Predicates, SegmentClassesAreAgainstSupportingLines) {
  const std::vector<std::tuple<TPoint, TPoint, TPoint, TPoint, int>> rows{
      {{0, 0}, {10, 0}, {5, 0}, {5, 10}, EndpointOnLine},
      {{0, 0}, {10, 0}, {20, 0}, {20, 10}, EndpointOnLine},
      {{0, 0}, {10, 0}, {0, 5}, {10, 5}, NoCrossing},
      {{0, 0}, {10, 0}, {5, -5}, {5, 5}, ProperCrossing},
      {{0, 0}, {10, 0}, {20, 0}, {30, 0}, AllCollinear},
      {{0, 0}, {10, 0}, {10, 0}, {10, 5}, EndpointOnLine},  // shared endpoint
      {{0, 5}, {5, 0}, {0, 0}, {10, 10}, ProperCrossing},
      {{0, 5}, {5, 5}, {0, 0}, {4, 4}, EndpointOnLine},      // on the line beyond the segment
      {{5, 10}, {5, 14}, {0, 0}, {10, 20}, EndpointOnLine},  // only the second line sees it
      {{5, 5}, {5, 9}, {0, 0}, {10, 20}, NoCrossing},
      {{lo, lo}, {hi, hi}, {lo, hi}, {hi, lo}, ProperCrossing}};
  for (const auto& [a, b, c, d, expected] : rows)
    EXPECT_EQ(SegmentIntersection(a, b, c, d), expected) << a.X << "," << c.X;
}

TEST(Measures, LineIntersectionAndDistanceAtTheLimits) {
  const double inf = std::numeric_limits<double>::infinity();
  const std::vector<std::tuple<TPoint, TPoint, TPoint, TPoint, TPointF>> rows{
      {{0, 0}, {10, 0}, {0, 5}, {10, 5}, {inf, inf}},  // both horizontal
      {{0, 3}, {10, 3}, {7, 0}, {7, 10}, {7, 3}},      // horizontal, then vertical
      {{7, 0}, {7, 10}, {0, 3}, {10, 3}, {7, 3}},      // vertical, then horizontal
      {{0, 0}, {10, 10}, {0, 10}, {10, 0}, {5, 5}},    // general
      {{0, 4}, {8, 4}, {0, 0}, {2, 8}, {1, 4}},        // first horizontal
      {{0, 0}, {2, 8}, {3, -5}, {3, 9}, {3, 12}},      // second vertical
      {{lo, 0}, {0, lo}, {lo, lo}, {0, 0}, {-1073741824.0, -1073741824.0}},
      {{lo, 3}, {hi, 3}, {7, lo}, {7, hi}, {7, 3}}};
  for (const auto& [p0, p1, p2, p3, expected] : rows) {
    TPointF out;
    LineIntersection(p0, p1, p2, p3, out);
    EXPECT_DOUBLE_EQ(out.X, expected.X) << p0.X << "," << p0.Y;
    EXPECT_DOUBLE_EQ(out.Y, expected.Y) << p0.X << "," << p0.Y;
  }
  EXPECT_DOUBLE_EQ(Distance({0, 0}, {3, 4}), 5);
  EXPECT_DOUBLE_EQ(Distance({lo, 0}, {hi, 0}), 4294967295.0);
  EXPECT_DOUBLE_EQ(DistanceF({0.5, 0}, {3.5, 4}), 5);
}

// The walkers compare bearings (clockwise from up, a point onto itself at 180) exactly; the float
// Bearing gives the same choices.
double Bearing(TPoint p, TPoint q) {
  const double dx = double(q.X) - p.X, dy = double(q.Y) - p.Y;
  if (dx == 0) return dy >= 0 ? 180.0 : 360.0;
  const double t = std::atan(dy / dx) * 180.0 / std::numbers::pi;
  return dx > 0 ? 90.0 + t : 270.0 + t;
}

int SlowWalk(const TNube& pts, int i, bool clockwise) {
  int best = kNone;
  double bestBearing = clockwise ? 360.0 : 0.0;
  for (int j = 0; j < static_cast<int>(pts.size()); ++j) {
    const double b = Bearing(pts[i], pts[j]);
    if (j != i && (clockwise ? (b >= 90 && b < bestBearing) : (b <= 270 && b > bestBearing))) {
      bestBearing = b;
      best = j;
    }
  }
  return best;
}

TEST(Walkers, FollowTheHullWithTiesToTheLowestIndex) {
  // Ties (points on one ray: the lowest index), straight up never clockwise, flat turns: a small
  // grid holds them all.
  std::mt19937 rng(3);
  std::uniform_int_distribution<int32_t> c(0, 12);
  for (int trial = 0; trial < 300; ++trial) {
    TNube pts(8);
    for (auto& p : pts) p = {c(rng), c(rng)};
    for (int i = 0; i < 8; ++i) {
      ASSERT_EQ(WalkHullClockwise(pts, i), SlowWalk(pts, i, true));
      ASSERT_EQ(WalkHullCounterclockwise(pts, i), SlowWalk(pts, i, false));
    }
  }
}

}  // namespace
}  // namespace qv
