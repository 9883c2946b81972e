#include "methods/Incremental.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>

#include "geometry/CierreConvexo.h"
#include "geometry/FuncionesMatematicas.h"
#include "geometry/UserError.h"
#include "methods/CaminosMinimos.h"
#include "methods/Constructores.h"
#include "methods/Triangulos.h"
#include "methods/Verificador.h"

namespace qv {
namespace {

TDCEL Fan(int n) {  // of an abstract convex n-gon, as the chooser hands it over
  TDCEL d;
  ConvexPolygonFan(n, d);
  return d;
}

bool HasEdge(const TDCEL& pt, int a, int b) {
  const std::vector<TEdge> e = EdgeList(pt);
  return std::count(e.begin(), e.end(), TEdge{std::min(a, b), std::max(a, b)}) > 0;
}

// Points lying on a hull side without being a corner (they can have no angle above 180).
std::set<int> HullSidePoints(const TNube& points) {
  TDCEL hull;
  BuildHull(points, hull);
  ReduceHullToCorners(points, hull);
  std::set<int> side;
  for (int j = 0; j < static_cast<int>(points.size()); ++j)
    for (int e = 0; e < hull.HalfEdgeCount(); ++e) {
      const TPoint a = points[hull.Origin(e)], b = points[hull.Destination(e)], p = points[j];
      if (p != a && p != b && OrientationSign(a, b, p) == 0 && (p.X - a.X) * (p.X - b.X) <= 0 &&
          (p.Y - a.Y) * (p.Y - b.Y) <= 0)
        side.insert(j);
    }
  return side;
}

// The result is a pseudo-triangulation with n - 2 faces (so, connected, 2n - 3 edges) whose only
// unpointed vertices lie on hull sides.
void ExpectPseudoTriangulation(const TNube& points, const TDCEL& pt, const std::string& label) {
  const int n = static_cast<int>(points.size());
  const TCheckReport report = CheckSubdivision(points, pt);
  ASSERT_TRUE(report.Valid) << report.Reason << " " << label;
  for (int v : report.NonPointedVertices)
    EXPECT_TRUE(HullSidePoints(points).count(v)) << label << " vertex " << v;
  EXPECT_EQ(report.Faces, n - 2) << label;
}

TDCEL RunFace(TNube& points, const std::function<TDCEL(int)>& choose = Fan,
              int* dragged = nullptr) {
  TDCEL pt;
  int none = kNone;
  ComputeIncrementalFace(points, dragged ? *dragged : none, choose, pt);
  return pt;
}

TEST(IncrementalFace, TriangularHullAsksForNoTriangulation) {
  TNube points{{100, 100}, {50, 0}, {0, 100}, {50, 60}};
  const TDCEL pt = RunFace(points, [](int) -> TDCEL { throw std::logic_error("chooser asked"); });
  // Sorted by y, then x: (50,0), (50,60), (0,100), (100,100); point 1 goes into the hull face.
  EXPECT_EQ(points[1], (TPoint{50, 60}));
  ExpectPseudoTriangulation(points, pt, "");  // no hull side points: pointed
}

TEST(IncrementalFace, EquidistantPointIsJoinedToBAndC) {
  // (10,10) is 5 away from each corner. The hull face's half-edge leaves a = (14,13), then
  // b = (10,5) and c = (6,13) follow.
  TNube points{{10, 5}, {10, 10}, {6, 13}, {14, 13}};
  TDCEL pt;
  BuildHull(points, pt);
  ASSERT_EQ(points[pt.Origin(pt.FaceEdge(0))], (TPoint{14, 13}));
  InsertPointBoundedFace(1, points, pt);
  EXPECT_TRUE(HasEdge(pt, 1, 0) && HasEdge(pt, 1, 2) && !HasEdge(pt, 1, 3));
  EXPECT_TRUE(CheckSubdivision(points, pt).Valid);
}

TEST(IncrementalFace, NudgesDownOffHorizontalLinesAndRightOffOthers) {
  // A diamond whose chosen diagonal is horizontal: (30,50) lies on it and moves one pixel down,
  // then past the hull vertex (100,50), which is renumbered with it, as the dragged point is.
  TNube points{{50, 0}, {0, 50}, {30, 50}, {100, 50}, {50, 100}};
  TDCEL across;  // chooser vertices 0..3 stand for (50,0), (0,50), (50,100), (100,50)
  BuildPolygon(TNube(4), across);
  across.SplitFace(0, 1, 3);
  int dragged = 3;
  TDCEL pt = RunFace(
      points, [&](int) { return across; }, &dragged);
  EXPECT_EQ(points, (TNube{{50, 0}, {0, 50}, {100, 50}, {30, 51}, {50, 100}}));
  EXPECT_EQ(dragged, 2);
  ExpectPseudoTriangulation(points, pt, "across");
  EXPECT_TRUE(HasEdge(pt, 1, 2));  // the diagonal, between the renumbered corners

  // The fan's diagonal is vertical: (50,30) lies on it and moves one pixel right.
  points = {{50, 0}, {50, 30}, {0, 50}, {100, 50}, {50, 100}};
  pt = RunFace(points);
  EXPECT_EQ(points[1], (TPoint{51, 30}));
  ExpectPseudoTriangulation(points, pt, "fan");
}

TEST(IncrementalFace, NudgeNeverLeavesTheInteriorOfTheHull) {
  // Down would reach the corner (50,10): the point moves up instead, before (55,8).
  TNube points{{0, 0}, {100, 0}, {55, 8}, {50, 9}, {50, 10}};
  TDCEL pt;
  BuildHull(points, pt);
  EXPECT_EQ(NudgeInsertPoint(3, points, true, pt), 2);
  EXPECT_EQ(TNube(points.begin() + 2, points.begin() + 4), (TNube{{50, 8}, {55, 8}}));
  // A hull two pixels thick: neither way stays inside; nothing changes.
  points = {{0, 0}, {100, 0}, {50, 1}, {50, 2}};
  pt.Clear();
  BuildHull(points, pt);
  const TNube old = points;
  EXPECT_THROW(NudgeInsertPoint(2, points, true, pt), UserError);
  EXPECT_EQ(points, old);
}

TEST(IncrementalFace, PointInFaceIsHalfOpenAndExact) {
  TNube points{{0, 0}, {0, 10}, {10, 10}};
  TDCEL pt;
  BuildPolygon(points, pt);  // counterclockwise on the screen
  // (5,5) lies on the slanted edge, to its left; (0,5) on the left edge, to its right.
  EXPECT_TRUE(PointInFace(points, 0, {2, 5}, pt) && PointInFace(points, 0, {5, 5}, pt));
  EXPECT_FALSE(PointInFace(points, 0, {6, 5}, pt) || PointInFace(points, 0, {0, 5}, pt));
  // The same triangle the other way round: its slanted edge runs down the screen.
  points = {{0, 0}, {10, 10}, {0, 10}};
  pt.Clear();
  BuildPolygon(points, pt);
  EXPECT_TRUE(PointInFace(points, 0, {2, 5}, pt) && PointInFace(points, 0, {5, 5}, pt));
}

TEST(IncrementalFace, HullSidePointsBecomeVerticesAndOnlyCornersAreChosenFor) {
  // A 4 x 4 grid: 4 corners, 8 points on the sides, 4 inside.
  TNube points = testing_triangles::GridPoints(4, 4, 20);
  int asked = 0;
  const TDCEL pt = RunFace(points, [&](int n) { return Fan(asked = n); });
  EXPECT_EQ(asked, 4);
  const std::vector<int> unpointed = CheckSubdivision(points, pt).NonPointedVertices;
  EXPECT_EQ(std::set<int>(unpointed.begin(), unpointed.end()).size(), 8u);
  ExpectPseudoTriangulation(points, pt, "");
}

TEST(IncrementalVertex, OneInteriorPointIsReachedByOneChain) {
  // Triangle A (0,50), B (60,0), C (100,80); B is the middle vertex by x and splits.
  // Rows {the inside point p, the chain's end}; after sorting: A 0, then B and p in x order, C 3.
  for (const auto& [inside, chainEnd] :
       std::vector<std::pair<TPoint, int>>{{{30, 45}, 0}, {{70, 50}, 3}}) {
    TNube points{{100, 80}, inside, {60, 0}, {0, 50}};
    TDCEL pt;
    int dragged = kNone;
    std::vector<int> counters;
    ComputeIncrementalVertex(points, dragged, pt, &counters);
    const int p = chainEnd == 0 ? 1 : 2, b = chainEnd == 0 ? 2 : 1;
    ASSERT_EQ(points[p], inside);
    // Left of B the first chain runs B -> p -> A and the second is skipped; right of B the
    // first is skipped and the second runs B -> p -> C.
    EXPECT_TRUE(HasEdge(pt, b, p) && HasEdge(pt, p, chainEnd));
    EXPECT_TRUE(counters[b] == 1 && counters[chainEnd] == 1);
    ExpectPseudoTriangulation(points, pt, "");
  }
}

TEST(IncrementalVertex, SummaryAndMedianFollowXOrder) {
  // A hexagon sorted by x (ties: lower on the screen first).
  TNube points{{0, 40}, {0, 20}, {20, 60}, {30, 0}, {60, 50}, {70, 10}};
  TDCEL pt;
  BuildHull(points, pt);
  const TFaceSummary s = FaceSummary(0, points, pt);
  EXPECT_TRUE(s.Count == 6 && s.Left == 0 && s.Right == 5);
  // Forward from 0: 2, 4, 5; backward: 1, 3, 5. Merged by x: 0, 1, 2, 3, ... so position 3.
  EXPECT_EQ(MedianVertex(0, s.Left, s.Count, points, pt), 3);
  EXPECT_TRUE(FaceHasNoPoint(0, s.Left, s.Right, points, pt));
}

// Sets whose median split or corner would run a chain straight through a point, while another
// split vertex or corner leaves every point off the hull sides pointed.
TEST(IncrementalVertex, SplitsThroughPointsAreAvoided) {
  const std::vector<TNube> sets = {
      // The split threading no point is at the leftmost vertex of the x order.
      {{0, 10}, {0, 20}, {30, 10}, {20, 30}, {30, 20}, {10, 20}},
      {{0, 20}, {0, 50}, {10, 40}, {40, 10}, {50, 30}, {60, 0}},              // (10,40) between two
      {{0, 40}, {0, 50}, {10, 30}, {10, 40}, {10, 50}, {50, 0}, {50, 30}},    // a column of three
      {{0, 30}, {10, 10}, {10, 40}, {20, 20}, {40, 40}, {60, 10}, {60, 20}},  // a diagonal
      {{0, 0}, {0, 10}, {0, 20}, {10, 0}, {10, 20}, {20, 0}, {20, 10}, {20, 20}},  // all on sides
  };
  for (size_t i = 0; i < sets.size(); ++i) {
    TNube points = sets[i];
    TDCEL pt;
    int dragged = kNone;
    ComputeIncrementalVertex(points, dragged, pt);
    const TCheckReport report = CheckSubdivision(points, pt);
    ASSERT_TRUE(report.Valid) << report.Reason;
    for (int v : report.NonPointedVertices)
      EXPECT_TRUE(HullSidePoints(points).count(v)) << "set " << i << " vertex " << v;
  }
}

}  // namespace
}  // namespace qv
