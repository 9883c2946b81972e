#include "methods/Ejecucion.h"

#include "methods/Barrido.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <random>
#include <tuple>

#include "Rechazo.h"
#include "geometry/FuncionesMatematicas.h"
#include "methods/Triangulos.h"

namespace qv {
namespace {

using testing::CheckSweepResult;
using V = std::vector<int>;

// The order's definition: a stable sort by the keys (x dirX + y dirY, x dirY - y dirX), each
// computed as written, the dragged index following its point.
void PlainSortByDirection(TNube& p, double dirX, double dirY, int& dragged) {
  std::vector<int> order(p.size());
  std::iota(order.begin(), order.end(), 0);
  auto key = [&](int i) {
    return std::pair{p[i].X * dirX + p[i].Y * dirY, p[i].X * dirY - p[i].Y * dirX};
  };
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return key(a) < key(b); });
  TNube sorted;
  for (int i : order) sorted.push_back(p[i]);
  if (dragged != kNone)
    dragged = static_cast<int>(std::find(order.begin(), order.end(), dragged) - order.begin());
  p = sorted;
}

TEST(SweepDirection, FollowsTheCompassAngle) {
  const double r3 = std::sqrt(3.0);
  const std::tuple<int, double, double> rows[] = {
      {0, 1, 0},     {90, 0, -1},  {45, 1, -1},  {30, r3, -1}, {180, -1, 0}, {270, 0, 1},
      {135, -1, -1}, {60, 1, -r3}, {330, r3, 1}, {360, 1, 0},  {-90, 0, 1}};
  for (const auto& [angle, dx, dy] : rows) {
    double x = 99, y = 99;
    SweepDirectionFromAngle(angle, x, y);
    EXPECT_NEAR(x, dx, 1e-9) << angle;
    EXPECT_NEAR(y, dy, 1e-9) << angle;
    EXPECT_TRUE(angle != 90 || x == 0.0);  // cos 90 rounds to exactly zero: no tiny ratio
  }
}

TEST(SortByDirection, MatchesThePlainStableSortOnInputsWithTies) {
  auto expectPlainOrder = [](TNube p, double dx, double dy, int dragged) {
    TNube expected = p;
    int expectedDragged = dragged;
    PlainSortByDirection(expected, dx, dy, expectedDragged);
    SortPointsByDirection(p, dx, dy, dragged);
    EXPECT_EQ(p, expected) << dx << "," << dy << " size " << p.size();
    EXPECT_EQ(dragged, expectedDragged);
  };
  std::mt19937 gen(12345);
  // Short directions make distinct points share rounded keys: the order among them must be kept.
  std::vector<std::pair<double, double>> dirs = {
      {1, 1}, {0.3, 0.2}, {1e-3, -2e-3}, {1e-300, 1e-300}};
  for (int a = 0; a < 360; a += 7) {
    double x = 0, y = 0;
    SweepDirectionFromAngle(a, x, y);
    dirs.emplace_back(x, y);
  }
  for (int round = 0; round < 4; ++round) {
    for (const auto& [dx, dy] : dirs) {
      const int n = static_cast<int>(gen() % 40);
      const int range = 1 + static_cast<int>(gen() % 6);  // tiny ranges: many equal keys
      TNube p(static_cast<size_t>(n));
      for (TPoint& q : p) q = {static_cast<int>(gen() % range), static_cast<int>(gen() % range)};
      expectPlainOrder(p, dx, dy, n > 0 && gen() % 4 != 0 ? static_cast<int>(gen() % n) : kNone);
    }
  }
  // Large enough for the radix path. Small coordinates around 0 give many equal keys and keys of
  // -0 and +0; huge ones give keys that agree in their leading bits and keys rounded together.
  gen.seed(777);
  for (const int spread : {20, 1 << 30}) {
    for (const auto& [dx, dy] :
         {std::pair{-1.0, 0.0}, {0.0, -1.0}, {0.0, 1.0}, {0.3, 0.2}, {1.7320508076, -1.0}}) {
      TNube p(4500);  // above the size where the radix sort takes over
      std::uniform_int_distribution<int> coordinate(-spread, spread);
      for (TPoint& q : p) q = {coordinate(gen), spread > 20 ? 1000000000 : coordinate(gen)};
      expectPlainOrder(p, dx, dy, static_cast<int>(gen() % p.size()));
    }
  }
}

TEST(ComputeSweepLine, CollinearStartIsNudgedWhereThatServesAndFannedElsewhere) {
  constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
  // Rows: points, angle, 1 where the move of the first point one pixel left serves.
  const std::tuple<TNube, int, int> rows[] = {
      {{{10, 0}, {10, 1}, {10, 2}, {9, -1}}, 180, 1},
      {{{0, 0}, {1, 0}, {2, 0}, {3, 5}}, 0, 0},
      {testing_triangles::GridPoints(3, 3, 10), 90, 0},  // no move left leaves the bottom row
      {{{100, 500}, {200, 500}, {300, 500}, {200, 100}, {400, 300}}, 90, 0},
      {{{10, 0}, {10, 1}, {10, 2}, {9, 0}}, 180, 0},  // the moved point would land on (9, 0)
      // The moved point would fall behind (101, 100), leaving (100, 155) inside the hull.
      {{{100, 155}, {101, 100}, {100, 198}, {100, 200}, {100, 199}}, 179, 0},
      {{{kMin, 0}, {kMin, 10}, {kMin, 20}, {kMin + 5, 5}}, 0, 0},  // no pixel further left
      {{{0, 20}, {0, 0}, {10, 10}, {100, 10}}, 0, 0},
  };
  for (const auto& [in, angle, moved] : rows) {
    TNube p = in;
    double dx = 0, dy = 0;
    SweepDirectionFromAngle(angle, dx, dy);
    int dragged = kNone;
    TDCEL d;  // what was there before is cleared and replaced
    d.SetFaceEdge(0, 0);
    d.AddHalfEdge(0, 0, 0, kNone, 0);
    EXPECT_EQ(ComputeSweepLine(p, dx, dy, dragged, d), moved) << in[0].X << " " << angle;
    EXPECT_EQ(CountMovedPoints(in, p), moved);
    EXPECT_EQ(CheckSweepResult(p, d), "") << in[0].X << " " << angle;
  }
}

// Rows: points in order, a face, its cycle counterclockwise on the screen from its smallest
// vertex, or the refusal. Few, collinear and coincident sets in general: the property harness. A
// leading run on one line must advance along it, coincidence named first; a point inside, on an
// edge or on the line of an edge inside the hull sees nothing. Nothing of the result before, nor
// of the faces built before a refusal, is left.
TEST(SweepLine, EachPointMakesOneFaceOverTheChainItSeesOrTheOrderIsRefused) {
  const std::string coincident = "No coincident points allowed.",
                    unswept = "The points cannot be swept at this angle.";
  const std::tuple<TNube, int, V, std::string> rows[] = {
      {{{0, 0}, {0, 20}, {10, 10}, {11, 14}}, 1, {1, 3, 2}, ""},  // one seen edge: a triangle
      // 3 lies on the line of the hull edge 2 -> 0, beyond 2: only the edge 1 -> 2 is seen.
      {{{0, 0}, {0, 20}, {10, 10}, {12, 12}}, 1, {1, 3, 2}, ""},
      // After point 4 the hull is 0, 3, 4, 1; point 5 far right sees the chain 0, 3, 4, 1.
      {{{0, 0}, {0, 100}, {10, 50}, {20, 10}, {20, 90}, {1000, 50}}, 3, {0, 3, 4, 1, 5}, ""},
      // Order not along one direction: 3 sees only the edge 0 -> 1, away from point 2.
      {{{9, 0}, {10, 1}, {10, 2}, {9, -1}}, 1, {0, 1, 3}, ""},
      {{{0, 0}, {0, 0}, {0, 0}}, 0, {}, coincident},
      {{{0, 0}, {1, 0}, {1, 0}, {3, 5}}, 0, {}, coincident},
      {{{0, 0}, {2, 0}, {1, 0}, {3, 5}}, 0, {}, unswept},
      {{{0, 0}, {0, 2}, {0, 1}, {3, 5}}, 0, {}, unswept},
      {{{0, 0}, {0, 10}, {10, 5}, {3, 5}}, 0, {}, unswept},
      {{{0, 0}, {0, 10}, {10, 5}, {0, 5}}, 0, {}, unswept},
      {{{0, 0}, {0, 10}, {10, 5}, {20, 5}, {20, 0}, {5, 5}}, 0, {}, unswept}};  // at the last point
  for (const auto& [p, face, expected, refusal] : rows) {
    TDCEL d;
    Sweep({{0, 20}, {0, 0}, {10, 10}, {100, 10}}, d);
    EXPECT_EQ(testing::Refusal([&] { Sweep(p, d); }), refusal) << p.size();
    if (!refusal.empty()) {
      EXPECT_TRUE(d.HalfEdgeCount() == 0 && d.FaceCount() == 0 && d.VertexCount() == 0);
      continue;
    }
    EXPECT_EQ(CheckSweepResult(p, d), "") << p.size();
    EXPECT_EQ(testing_triangles::CycleFromSmallest(d, face), expected) << p.size();
  }
}

}  // namespace
}  // namespace qv
