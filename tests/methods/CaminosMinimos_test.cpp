#include "methods/CaminosMinimos.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <tuple>

#include "methods/Constructores.h"
#include "methods/Verificador.h"

namespace qv {
namespace {

using Edges = std::set<TEdge>;

// The sides of an n-gon and the given edges.
Edges PolygonEdges(int n, Edges out = {}) {
  for (int i = 0; i < n; ++i) out.insert({std::min(i, (i + 1) % n), std::max(i, (i + 1) % n)});
  return out;
}

int LiveFaces(const TDCEL& s) {
  return static_cast<int>(
      std::count_if(s.Faces.begin(), s.Faces.end(), [](int e) { return e != kNone; }));
}

// A triangulation of the abstract convex m-gon with the given diagonals.
TDCEL TriangulationWith(int m, const std::vector<std::pair<int, int>>& diagonals) {
  TDCEL t;
  BuildPolygon(TNube(static_cast<size_t>(m)), t);
  bool ok = false;
  for (auto [a, b] : diagonals) t.SplitFace(FindSplitFace(a, b, t, ok), a, b);
  return t;
}

const TTriangulationSource kFan = [](int m, TDCEL& t) { ConvexPolygonFan(m, t); };

// Counterclockwise as displayed: a rectangle with a spike pushed up from its bottom side; the
// spike's tip, vertex 3, is the only reflex vertex.
//
//   0 +--------------------+ 6
//     |         3          |
//     |        / \         |
//   1 +-----2/    \4-------+ 5
TNube SpikePolygon() {
  return {{0, 0}, {0, 90}, {80, 100}, {100, 60}, {120, 100}, {200, 90}, {200, 0}};
}

// The sense of the hull walk must be recognised whichever vertex carries index 0; point 0 of a
// reversed entry is its former last point. Refusals move no point: the property harness.
TEST(ShortestPathsPolygon, RunOrientsTheEntryForEveryRotationAndTellsWhetherItReversed) {
  const TNube base = {{0, 0}, {0, 100}, {50, 60}, {100, 100}, {100, 0}, {50, 30}};
  for (int r = 0; r < 6; ++r) {
    TNube ccw(base);
    std::rotate(ccw.begin(), ccw.begin() + r, ccw.end());
    TNube p = ccw, cw(ccw.rbegin(), ccw.rend());
    EXPECT_FALSE(TShortestPathsRun(p).Reversed());
    EXPECT_TRUE(TShortestPathsRun(cw).Reversed());
    EXPECT_TRUE(p == ccw && cw == ccw) << r;
  }
}

// Each new edge is inserted once, as two half-edges.
TEST(ShortestPathsGeodesics, SharedSegmentsOnceAndStraightRunsStopAtVertices) {
  // Rows {polygon, diagonals of the triangulation, edges added to the polygon's sides}.
  const std::vector<std::tuple<TNube, std::vector<std::pair<int, int>>, Edges>> rows = {
      // The spike's tip 3 blocks 1-5, and the base 2-4 runs outside: geodesics 1-5 (1, 3, 5),
      // 1-4 (1, 3, 4) and 2-4 (2, 3, 4) bend there and share 1-3 and the spike's sides.
      {SpikePolygon(), {{0, 5}, {1, 5}, {1, 4}, {2, 4}}, {{0, 5}, {1, 3}, {3, 5}}},
      // 0-3 passes exactly through the reflex vertex 2: it stops there, as 0-2 and 2-3.
      {{{0, 0}, {0, 100}, {50, 50}, {100, 100}, {100, 0}, {100, -20}, {50, -20}},
       {{0, 3}, {0, 4}, {0, 5}, {1, 3}},
       {{0, 2}, {0, 4}, {0, 5}}},
  };
  for (auto [polygon, diagonals, added] : rows) {
    TDCEL result;
    TShortestPathsRun(polygon).Compute(TriangulationWith(7, diagonals), false, kFan, result);
    const std::vector<TEdge> edges = EdgeList(result);
    EXPECT_EQ(Edges(edges.begin(), edges.end()), PolygonEdges(7, added));
    EXPECT_EQ(result.HalfEdgeCount(), 7 + 2 * static_cast<int>(added.size()));
    EXPECT_EQ(LiveFaces(result), 1 + static_cast<int>(added.size()));
  }
}

TEST(ShortestPathsGeodesics, FindSplitFaceTellsNewFromExistingEdges) {
  TDCEL s;
  BuildPolygon(TNube(6), s);
  s.SplitFace(0, 0, 3);  // faces 0 (3, 4, 5, 0) and 1 (0, 1, 2, 3)
  // Rows {a, b, a new diagonal, a face found}: 0-3 exists, 3-4 is a side, no face holds 1 and 5.
  const std::tuple<int, int, bool, bool> rows[] = {{1, 3, true, true},
                                                   {5, 3, true, true},
                                                   {0, 3, false, true},
                                                   {3, 4, false, true},
                                                   {1, 5, false, false}};
  for (const auto& [a, b, fresh, found] : rows) {
    bool ok = !fresh;
    const int f = FindSplitFace(a, b, s, ok);
    EXPECT_TRUE(ok == fresh && (f != kNone) == found) << a << "-" << b;
    EXPECT_TRUE(!fresh || (s.FindEdgeInFace(a, f) != kNone && s.FindEdgeInFace(b, f) != kNone));
  }
}

// Counterclockwise as displayed: a square with a V notch in its bottom side (pocket 2, 3, 4)
// and a slot from its top side (pocket 7, 8, 9, 10). The hull's top side passes through 7 and
// 10, which split it into the polygon edges 6-7 and 10-0 and the lid 7-10. The lids are outer
// boundary, the pocket sides of the chains are not any more.
TEST(ShortestPathsPockets, OnePocketPerLidWithLidsOnTheBoundary) {
  TNube p = {{0, 0},   {0, 200}, {80, 200},  {100, 170}, {120, 200}, {200, 200},
             {200, 0}, {150, 0}, {150, 150}, {50, 150},  {50, 0}};
  std::vector<int> sizes;  // the pocket triangulations come from the source given
  TTriangulationSource recording = [&](int m, TDCEL& d) { sizes.push_back(m), kFan(m, d); };
  TDCEL t, plain, result;
  ConvexPolygonFan(11, t);
  TShortestPathsRun run(p);
  run.Compute(t, false, kFan, plain);
  const THalfEdgeRanges r = run.Compute(t, true, recording, result);
  EXPECT_EQ(sizes, (std::vector<int>{3, 4}));
  EXPECT_TRUE(r.PolygonEnd == 11 && r.ResultEnd == plain.HalfEdgeCount());
  // Pocket 2, 4, 3 is a triangle (3 half-edges); pocket 7, 10, 9, 8 a quadrilateral split by
  // one diagonal (4 + 2): faces = polygon faces + 1 + 2.
  EXPECT_EQ(r.PocketsEnd - r.ResultEnd, 9);
  EXPECT_EQ(LiveFaces(result), LiveFaces(plain) + 3);
  Edges outer;
  for (int e = 0; e < result.HalfEdgeCount(); ++e)
    if (result.Twin(e) == kNone) outer.insert({result.Origin(e), result.Destination(e)});
  EXPECT_EQ(outer, (Edges{{0, 1}, {1, 2}, {2, 4}, {4, 5}, {5, 6}, {6, 7}, {7, 10}, {10, 0}}));
}

// The first draw decides how many diagonals flip (1 + a draw below 3(m - 3)), each later draw
// picks one diagonal half-edge; the flip count is part of what a seed means.
TEST(ShortestPathsTriangulations, RandomTriangulationFlipsAsManyTimesAsItsFirstDrawSays) {
  for (const auto& [seed, m, flips] : {std::tuple(1u, 8, 11), std::tuple(2u, 12, 10)}) {
    std::mt19937 rng(seed);
    std::vector<int> ranges;
    TDCEL t;
    RandomConvexTriangulation(
        m, [&](int k) { return ranges.push_back(k), static_cast<int>(rng() % unsigned(k)); }, t);
    ASSERT_EQ(static_cast<int>(ranges.size()), 1 + flips) << seed;
    EXPECT_EQ(ranges.front(), 3 * (m - 3));
    for (size_t i = 1; i < ranges.size(); ++i) EXPECT_EQ(ranges[i], 2 * (m - 3));
    EXPECT_TRUE(t.IsValid() && LiveFaces(t) == m - 2) << seed;
  }
}

}  // namespace
}  // namespace qv
