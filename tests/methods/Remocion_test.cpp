#include "methods/Remocion.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "geometry/CierreConvexo.h"
#include "methods/Triangulacion.h"
#include "methods/Triangulos.h"

namespace qv {
namespace {

using namespace qv::testing;

// ---- Removable edges -----------------------------------------------------------------------

// Triangles a b c (face 0, c above the edge) and b a d (face 1); half-edge 0 runs a -> b.
struct TwoTriangles {
  TNube Points;
  TDCEL D = FromTriangles({{0, 1, 2}, {1, 0, 3}});
  explicit TwoTriangles(TPoint below) : Points{{0, 0}, {10, 0}, {5, -10}, below} {}
};

TEST(IsRemovableEdge, TwoTrianglesByTheAngleAtEachEndpoint) {
  const struct {
    TPoint below;
    bool removable;
    const char* why;
  } cases[] = {
      {{5, 10}, false, "convex quadrilateral: neither endpoint reflex"},
      {{-3, 2}, true, "a becomes reflex"},
      {{13, 2}, true, "b becomes reflex"},
      {{-1, 2}, false, "a exactly 180 degrees (c, a, d collinear), b convex"},
  };
  for (const auto& c : cases) {
    TwoTriangles t(c.below);
    EXPECT_EQ(IsRemovableEdge(0, t.Points, t.D), c.removable) << c.why;
    EXPECT_EQ(IsRemovableEdge(t.D.Twin(0), t.Points, t.D), c.removable) << c.why;
  }
}

TEST(IsRemovableEdge, HullEdgesAndDeletedEdgesAreNeverRemovable) {
  TwoTriangles t({-3, 2});
  for (int e : {1, 2, 4, 5}) EXPECT_FALSE(IsRemovableEdge(e, t.Points, t.D)) << e;
  t.D.RemoveEdge(0);
  EXPECT_FALSE(IsRemovableEdge(0, t.Points, t.D));
  EXPECT_FALSE(IsRemovableEdge(3, t.Points, t.D));
}

// A polygon (counterclockwise on the screen) split by the diagonal a -> b; returns its index.
int SplitPolygon(const TNube& polygon, int a, int b, TDCEL& d) {
  int64_t area = 0;
  for (size_t i = 0; i < polygon.size(); ++i) {
    const TPoint p = polygon[i], q = polygon[(i + 1) % polygon.size()];
    area += int64_t{p.X} * q.Y - int64_t{q.X} * p.Y;
  }
  EXPECT_LT(area, 0) << "the polygon must run counterclockwise on the screen";
  BuildPolygon(polygon, d);
  d.SplitFace(0, a, b);
  return d.HalfEdgeCount() - 2;
}

TEST(IsRemovableEdge, BothEndpointsBecomingReflexKeepsTheEdge) {
  // The diagonal 0 -> 4 of an octagon pinched at both of its ends.
  const TNube p = {{0, 0}, {-5, 3}, {5, 10}, {15, 3}, {10, 0}, {15, -3}, {5, -10}, {-5, -3}};
  TDCEL d;
  const int e = SplitPolygon(p, 0, 4, d);
  EXPECT_FALSE(IsRemovableEdge(e, p, d));
  EXPECT_FALSE(IsRemovableEdge(d.Twin(e), p, d));
}

TEST(IsRemovableEdge, AnEndpointAlreadyReflexInOneFaceNeverCounts) {
  // Vertex 0 is reflex in the upper face already; the edge 0 -> 3 is removable exactly when
  // vertex 3 becomes reflex.
  TNube p = {{0, 0}, {2, 6}, {12, 6}, {10, 0}, {12, -8}, {-6, -8}, {-6, 4}};
  TDCEL d;
  int e = SplitPolygon(p, 0, 3, d);
  EXPECT_TRUE(IsRemovableEdge(e, p, d));  // 3 becomes reflex (about 212 degrees)
  p[2] = {5, 6};                          // now 3 stays convex (about 154 degrees)
  TDCEL d2;
  e = SplitPolygon(p, 0, 3, d2);
  EXPECT_FALSE(IsRemovableEdge(e, p, d2));
}

// ---- Edge removal --------------------------------------------------------------------------

TEST(RemoveEdges, ReflexQuadrilateralBecomesOnePseudoTriangle) {
  TwoTriangles t({-3, 2});
  RemoveEdges(t.Points, t.D);
  EXPECT_EQ(Edges(t.D).size(), 4u);
  EXPECT_EQ(FaceSet(t.D).size(), 1u);
  EXPECT_EQ(ConvexCorners(t.Points, t.D, t.D.FaceOf(1)), 3);
  std::string why;
  EXPECT_TRUE(t.D.IsValid(&why)) << why;

  TwoTriangles convex({5, 10});
  RemoveEdges(convex.Points, convex.D);
  EXPECT_EQ(Edges(convex.D).size(), 5u);
}

TEST(RemoveEdges, StartsWithTheHighestIndexedRemovableEdge) {
  // A point v inside the triangle X Y Z: each spoke alone is removable (v becomes reflex), and
  // after one spoke goes v is reflex in the merged face, so the others stay. The lower half-edges
  // of the spokes v-X, v-Y, v-Z are 0, 2 and 5: v-Z goes.
  const TNube p = {{50, 60}, {50, 0}, {0, 90}, {100, 90}};
  TDCEL d = FromTriangles({{0, 1, 2}, {0, 2, 3}, {0, 3, 1}});
  for (int e : {0, 2, 5}) EXPECT_TRUE(IsRemovableEdge(e, p, d));
  RemoveEdges(p, d);
  const auto edges = Edges(d);
  EXPECT_TRUE(edges.contains({0, 1}));
  EXPECT_TRUE(edges.contains({0, 2}));
  EXPECT_FALSE(edges.contains({0, 3}));
}

TEST(RemoveEdges, ThreePointsChangeNothing) {
  TNube p = {{0, 0}, {5, 9}, {10, 0}};
  TDCEL d;
  SweepTriangulation(p, d);
  const TDCEL before = d;
  RemoveEdges(p, d);
  RemoveTriangles(p, d);
  EXPECT_EQ(d.HalfEdges, before.HalfEdges);
  EXPECT_EQ(d.Faces, before.Faces);
}

// ---- Triangle removal ----------------------------------------------------------------------

// Hull X Y Z around a small triangle TL B TR whose sides face X, Y, Z: face 0 is the inner
// triangle, faces 1 to 3 its neighbours with apexes Y, Z, X, faces 4 to 6 touch the hull.
struct InnerTriangle {
  TNube Points = {{100, 0}, {0, 174}, {200, 174}, {90, 110}, {110, 110}, {100, 127}};
  TDCEL D =
      FromTriangles({{3, 5, 4}, {5, 3, 1}, {4, 5, 2}, {3, 4, 0}, {0, 1, 3}, {1, 2, 5}, {2, 0, 4}});
};

TEST(IsTriangle, ByTheFaceCycle) {
  InnerTriangle t;
  EXPECT_TRUE(IsTriangle(0, t.D));
  t.D.RemoveFace(0);
  EXPECT_FALSE(IsTriangle(3, t.D));  // the merged face survives in the last neighbour
}

TEST(RemoveTriangles, InnerTriangleWithReflexCornersMergesWithItsNeighbours) {
  InnerTriangle t;
  RemoveTriangles(t.Points, t.D);
  EXPECT_EQ(t.D.FaceEdge(0), kNone);
  const auto faces = FaceSet(t.D);
  ASSERT_EQ(faces.size(), 4u);
  // The pseudo-triangle X TL Y B Z TR with its corners at X, Y and Z.
  EXPECT_NE(std::find(faces.begin(), faces.end(), std::vector<int>{0, 3, 1, 5, 2, 4}), faces.end());
  for (int f = 0; f < t.D.FaceCount(); ++f)
    if (t.D.FaceEdge(f) != kNone) {
      EXPECT_EQ(ConvexCorners(t.Points, t.D, f), 3) << f;
    }
  std::string why;
  EXPECT_TRUE(t.D.IsValid(&why)) << why;
}

TEST(RemoveTriangles, TrianglesOnTheHullStay) {
  InnerTriangle t;
  RemoveTriangles(t.Points, t.D);
  for (int f = 4; f <= 6; ++f) {
    ASSERT_NE(t.D.FaceEdge(f), kNone) << f;
    EXPECT_TRUE(IsTriangle(f, t.D)) << f;
    EXPECT_TRUE(t.D.FaceOnBoundary(f));
  }
}

TEST(RemoveTriangles, NeighbourWithoutThreeTriangularNeighboursStays) {
  // After the edge stage merged a neighbour, the inner triangle no longer qualifies.
  InnerTriangle t;
  t.D.RemoveEdge(t.D.FindEdgeInFace(1, 1));  // Y-B: face 1 merges into face 5
  RemoveTriangles(t.Points, t.D);
  EXPECT_NE(t.D.FaceEdge(0), kNone);
  EXPECT_TRUE(IsTriangle(0, t.D));
}

// ---- Whole stages on point sets ------------------------------------------------------------

void ExpectPseudoTriangles(const TNube& p, const TDCEL& d) {
  std::string why;
  ASSERT_TRUE(d.IsValid(&why)) << why;
  EXPECT_EQ(FacesArea2(p, d), HullArea2(p));
  for (int f = 0; f < d.FaceCount(); ++f)
    if (d.FaceEdge(f) != kNone) {
      EXPECT_EQ(ConvexCorners(p, d, f), 3) << "face " << f;
    }
}

TEST(RemovalStages, RandomSetsGivePseudoTrianglesAndKeepTheHull) {
  for (uint32_t seed = 1; seed <= 30; ++seed) {
    TNube p = RandomPoints(40 + static_cast<int>(seed) * 5, seed);
    SortForSweep(p);
    TDCEL d;
    SweepTriangulation(p, d);
    DelaunayFlips(p, d);
    std::vector<int> hull;
    for (int e = 0; e < d.HalfEdgeCount(); ++e)
      if (!d.HasTwin(e)) hull.push_back(e);
    RemoveEdges(p, d);
    ExpectPseudoTriangles(p, d);
    const size_t afterEdges = Edges(d).size();
    RemoveTriangles(p, d);
    ExpectPseudoTriangles(p, d);
    EXPECT_LE(Edges(d).size(), afterEdges);
    for (int e : hull) EXPECT_NE(d.Origin(e), kNone) << "hull edge " << e << " removed";
  }
}

}  // namespace
}  // namespace qv
