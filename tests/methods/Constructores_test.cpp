#include "methods/Constructores.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

#include "geometry/CierreConvexo.h"
#include "geometry/FuncionesMatematicas.h"

namespace qv {
namespace {

using V = std::vector<int>;

std::vector<int> CycleOrigins(const TDCEL& d, int start) {
  std::vector<int> out;
  int e = start;
  do {
    out.push_back(d.Origin(e));
    e = d.Next(e);
  } while (e != start && out.size() <= d.HalfEdges.size());
  return out;
}

TEST(BuildHull, DiamondWithInnerPointHasTheDescribedNumbering) {
  const TNube pts{{50, 0}, {100, 50}, {50, 100}, {0, 50}, {50, 50}};
  TDCEL d;
  BuildHull(pts, d);
  ASSERT_TRUE(d.IsValid());
  ASSERT_EQ(d.HalfEdgeCount(), 4);
  EXPECT_EQ(d.FaceCount(), 1);
  EXPECT_EQ(CycleOrigins(d, d.FindEdgeInFace(0, 0)), (V{0, 3, 2, 1}));
  EXPECT_EQ(d.Origin(0), 1);
  EXPECT_EQ(d.Destination(0), 0);
  EXPECT_EQ(d.Origin(1), 2);
  EXPECT_EQ(d.Destination(1), 1);
  EXPECT_EQ(d.Origin(2), 0);
  EXPECT_EQ(d.Destination(2), 3);
  EXPECT_EQ(d.Origin(3), 3);
  EXPECT_EQ(d.Destination(3), 2);
  EXPECT_EQ(d.VertexCount(), 4);
  EXPECT_EQ(d.VertexEdge(4), kNone);
  for (const auto& h : d.HalfEdges) EXPECT_EQ(h.Twin, kNone);
}

TEST(BuildHull, SingleEdgeLeftChainClosesDirectly) {
  // T = 0; its counterclockwise neighbour is the bottommost point.
  const TNube pts{{10, 0}, {30, 20}, {0, 40}};
  TDCEL d;
  BuildHull(pts, d);
  ASSERT_TRUE(d.IsValid());
  EXPECT_EQ(d.HalfEdgeCount(), 3);
  EXPECT_EQ(d.Origin(2), 0);
  EXPECT_EQ(d.Destination(2), 2);
  EXPECT_EQ(CycleOrigins(d, 2), (V{0, 2, 1}));
}

TEST(BuildHull, HorizontalTopEdgeAndCollinearBoundaryPoints) {
  // Two points share the smallest y: the lower index is T and the other is r1 (to its right).
  const TNube pts{{0, 0}, {20, 0}, {20, 20}, {0, 20}, {10, 0}, {10, 10}};
  TDCEL d;
  BuildHull(pts, d);
  ASSERT_TRUE(d.IsValid());
  EXPECT_EQ(d.Origin(0), 1);  // r1 = 1, not 4: equal bearings go to the lowest index
  EXPECT_EQ(d.Destination(0), 0);
  EXPECT_EQ(d.HalfEdgeCount(), 4);
  // Mirrored: the other point lies to the left, so it is l1.
  const TNube left{{20, 0}, {0, 0}, {0, 20}, {20, 20}};
  TDCEL e;
  BuildHull(left, e);
  ASSERT_TRUE(e.IsValid());
  const int fromTop = e.FindEdgeInFace(0, 0);
  EXPECT_EQ(e.Destination(fromTop), 1);
}

TEST(BuildHull, RefusesDegenerateInputWithoutHarm) {
  TDCEL d;
  BuildHull(TNube{{0, 0}, {5, 5}}, d);
  EXPECT_EQ(d.HalfEdgeCount(), 0);
  BuildHull(TNube{{0, 0}, {5, 5}, {10, 10}, {-3, -3}}, d);  // one line: stays empty
  EXPECT_EQ(d.HalfEdgeCount(), 0);
  EXPECT_EQ(d.FaceCount(), 0);
  BuildHull(TNube{{0, 0}, {0, 0}, {0, 0}}, d);
  EXPECT_EQ(d.HalfEdgeCount(), 0);
  TDCEL full;
  BuildHull(TNube{{0, 0}, {10, 0}, {0, 10}}, full);
  const int before = full.HalfEdgeCount();
  BuildHull(TNube{{0, 0}, {50, 0}, {0, 50}, {50, 50}}, full);  // not empty: untouched
  EXPECT_EQ(full.HalfEdgeCount(), before);
}

TEST(BuildHull, RandomSetsGiveConvexCounterclockwiseCycles) {
  std::mt19937 rng(11);
  for (int trial = 0; trial < 300; ++trial) {
    std::uniform_int_distribution<int32_t> c(0, trial % 2 ? 15 : 1000);
    TNube pts(3 + trial % 40);
    for (auto& p : pts) p = {c(rng), c(rng)};
    // Coincident points may leave the hull empty, never invalid; distinct points always work.
    TDCEL raw;
    BuildHull(pts, raw);
    ASSERT_TRUE(raw.IsValid());
    std::set<std::pair<int, int>> distinct;
    std::erase_if(pts, [&](TPoint p) { return !distinct.insert({p.X, p.Y}).second; });
    if (pts.size() < 3) continue;
    TDCEL d;
    BuildHull(pts, d);
    if (AllCollinearPoints(pts)) {
      EXPECT_EQ(d.HalfEdgeCount(), 0);
      continue;
    }
    ASSERT_TRUE(d.IsValid());
    ASSERT_GE(d.HalfEdgeCount(), 3);
    // Never turning clockwise on the screen (points on a hull edge may stay as straight
    // corners), every vertex once, and every point on the inner side or on the boundary.
    std::set<int> seen;
    for (int e = 0; e < d.HalfEdgeCount(); ++e) {
      const TPoint a = pts[d.Origin(e)], b = pts[d.Destination(e)];
      ASSERT_TRUE(seen.insert(d.Origin(e)).second);
      ASSERT_NE(Orientation(a, b, pts[d.Destination(d.Next(e))]), Clockwise);
      for (const TPoint& p : pts) ASSERT_NE(Orientation(a, b, p), Clockwise);
    }
  }
}

TEST(BuildPolygon, KeepsThePointOrder) {
  const TNube poly{{0, 0}, {10, 0}, {10, 10}, {5, 3}, {0, 10}};
  TDCEL d;
  BuildPolygon(poly, d);
  ASSERT_TRUE(d.IsValid());
  ASSERT_EQ(d.HalfEdgeCount(), 5);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(d.Origin(i), i);
    EXPECT_EQ(d.Next(i), (i + 1) % 5);
  }
  EXPECT_EQ(d.FaceCount(), 1);
}

TEST(ReduceToBoundary, RenumbersTheCycleFromTheDestinationOfHalfEdgeZero) {
  const TNube pts{{50, 0}, {100, 50}, {50, 100}, {0, 50}, {50, 50}, {60, 60}};
  TDCEL d;
  BuildHull(pts, d);
  d.SplitFace(0, 1, 3);  // add a diagonal: half-edge 0 keeps its cycle
  ReduceToBoundary(pts, d);
  ASSERT_TRUE(d.IsValid());
  // Old half-edge 0 runs 1 -> 0; its face cycle there is 1 -> 0 -> 3 -> 1.
  ASSERT_EQ(d.HalfEdgeCount(), 3);
  EXPECT_EQ(d.Origin(0), 0);
  EXPECT_EQ(d.Origin(1), 3);
  EXPECT_EQ(d.Origin(2), 1);
  EXPECT_EQ(d.Next(2), 0);
  EXPECT_EQ(d.VertexCount(), 6);
  EXPECT_EQ(d.VertexEdge(4), kNone);
  EXPECT_EQ(d.VertexEdge(5), kNone);
}

}  // namespace
}  // namespace qv
