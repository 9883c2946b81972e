#include "methods/Remocion.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "geometry/UserError.h"
#include "methods/Constructores.h"
#include "methods/Triangulacion.h"
#include "methods/Triangulos.h"
#include "methods/Verificador.h"

namespace qv {
namespace {

using namespace qv::testing_triangles;

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
    for (int e : {1, 2, 4, 5}) EXPECT_FALSE(IsRemovableEdge(e, t.Points, t.D)) << e;  // hull
    TDCEL removed = t.D;  // the stage removes it, leaving one pseudo-triangle
    RemoveEdges(t.Points, removed);
    EXPECT_EQ(Edges(removed).size(), c.removable ? 4u : 5u) << c.why;
    EXPECT_TRUE(removed.IsValid() && ConvexCorners(t.Points, removed, removed.FaceOf(1)) == 3);
    t.D.RemoveEdge(0);  // deleted edges are never removable
    EXPECT_FALSE(IsRemovableEdge(0, t.Points, t.D) || IsRemovableEdge(3, t.Points, t.D));
  }
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

TEST(IsRemovableEdge, PolygonDiagonalsByTheAngleAtTheirEnds) {
  const struct {
    TNube polygon;
    int b;  // the diagonal runs 0 -> b
    bool removable;
  } cases[] = {
      // An octagon pinched at both ends: both would become reflex.
      {{{0, 0}, {-5, 3}, {5, 10}, {15, 3}, {10, 0}, {15, -3}, {5, -10}, {-5, -3}}, 4, false},
      // Vertex 0 is reflex in the upper face already; only vertex 3 can count. It becomes reflex
      // (about 212 degrees); with (5, 6) in place of (12, 6) it stays convex (about 154 degrees).
      {{{0, 0}, {2, 6}, {12, 6}, {10, 0}, {12, -8}, {-6, -8}, {-6, 4}}, 3, true},
      {{{0, 0}, {2, 6}, {5, 6}, {10, 0}, {12, -8}, {-6, -8}, {-6, 4}}, 3, false},
  };
  for (const auto& c : cases) {
    TDCEL d;
    const int e = SplitPolygon(c.polygon, 0, c.b, d);
    EXPECT_EQ(IsRemovableEdge(e, c.polygon, d), c.removable) << ::testing::PrintToString(c.polygon);
    EXPECT_EQ(IsRemovableEdge(d.Twin(e), c.polygon, d), c.removable)
        << ::testing::PrintToString(c.polygon);
  }
}

// ---- Edge removal --------------------------------------------------------------------------

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
// Rows: TL, whether the edge stage merged face 1 first, whether the inner triangle goes.
TEST(RemoveTriangles, InnerTriangleGoesOnlyWhenEveryCornerTurnsReflex) {
  const struct {
    TPoint tl;
    bool edgeStageFirst, merged;
  } rows[] = {
      {{90, 110}, false, true},
      // After the edge stage merged a neighbour, the inner triangle no longer qualifies.
      {{90, 110}, true, false},
      // TL on the hull side X-Y (the triangle X Y TL gone): an exact 180-degree corner in the
      // union is not reflex.
      {{50, 87}, false, false},
  };
  for (const auto& r : rows) {
    const TNube p = {{100, 0}, {0, 174}, {200, 174}, r.tl, {110, 110}, {100, 127}};
    std::vector<Tri> triangles = {{3, 5, 4}, {5, 3, 1}, {4, 5, 2}, {3, 4, 0}, {1, 2, 5}, {2, 0, 4}};
    if (r.tl.X != 50) triangles.push_back({0, 1, 3});
    TDCEL d = FromTriangles(triangles);
    ASSERT_TRUE(AllFacesCounterclockwiseTriangles(p, d));
    if (r.edgeStageFirst) d.RemoveEdge(d.FindEdgeInFace(1, 1));  // Y-B: face 1 into face 5
    RemoveTriangles(p, d);
    std::string why;
    EXPECT_TRUE(d.IsValid(&why)) << why;
    EXPECT_EQ(d.FaceEdge(0) == kNone, r.merged) << r.tl.X;
    if (!r.merged) continue;
    // The pseudo-triangle X TL Y B Z TR with its corners at X, Y and Z.
    const auto faces = FaceSet(d);
    ASSERT_EQ(faces.size(), 4u);
    EXPECT_NE(std::find(faces.begin(), faces.end(), std::vector<int>{0, 3, 1, 5, 2, 4}),
              faces.end());
    for (int f = 1; f < d.FaceCount(); ++f)
      EXPECT_TRUE(d.FaceEdge(f) == kNone ||
                  (ConvexCorners(p, d, f) == 3 && IsTriangle(f, d) == (f >= 4)))
          << f;  // hull triangles stay
  }
}

// ---- The driver's computation ---------------------------------------------------------------

// Rows: input, designated index, points moved, points and designated index after; the flips
// leave the points where the sweep put them.
TEST(ComputeTriangulateRemove, SortsNudgesAndFollowsTheHeldPoint) {
  // Sorted, the three copies of (50, 40) keep their order a, b, c. b equals the inserted a and
  // moves to (51, 40), past c; c then equals a, moves to (51, 40) and stops in front of b; b
  // equals the inserted c and moves on to (52, 40).
  const TNube copies = {{50, 40}, {0, 0}, {50, 40}, {90, 10}, {50, 40}, {20, 70}};
  const TNube spread = {{0, 0}, {20, 70}, {50, 40}, {51, 40}, {52, 40}, {90, 10}};
  const struct {
    TNube in;
    int dragged, moved;
    TNube out;
    int draggedAfter;
  } rows[] = {
      // By x, equal x from bottom to top.
      {{{10, 10}, {20, 5}, {0, 0}, {10, 20}}, 1, 0, {{0, 0}, {10, 20}, {10, 10}, {20, 5}}, 3},
      // The collinear start moves the first point left.
      {{{30, 30}, {10, 10}, {20, 20}, {40, 12}}, 0, 1, {{9, 10}, {20, 20}, {30, 30}, {40, 12}}, 2},
      {copies, 2, 2, spread, 4},  // b
      {copies, 5, 2, spread, 1},  // (20, 70), only sorted
  };
  for (const TRemocionVariant variant : {TRemocionVariant::Sweep, TRemocionVariant::Delaunay})
    for (const auto& r : rows) {
      TNube p = r.in;
      TDCEL pt;
      int dragged = r.dragged;
      EXPECT_EQ(ComputeTriangulateRemove(p, variant, dragged, pt), r.moved);
      EXPECT_EQ(p, r.out);
      EXPECT_EQ(dragged, r.draggedAfter);
      EXPECT_TRUE(CheckSubdivision(p, pt).Valid);
    }
}

TEST(ComputeTriangulateRemove, RemovalStagesOnlyDeleteInnerEdgesOfTheDelaunayResult) {
  for (uint32_t seed = 1; seed <= 6; ++seed) {
    const TNube input = RandomPoints(80, seed);
    TNube pd = input, pe = input, pr = input;
    TDCEL delaunay, edges, triangles;
    int dragged = kNone;
    ComputeTriangulateRemove(pd, TRemocionVariant::Delaunay, dragged, delaunay);
    ComputeTriangulateRemove(pe, TRemocionVariant::RemoveEdges, dragged, edges);
    ComputeTriangulateRemove(pr, TRemocionVariant::RemoveTriangles, dragged, triangles);
    ASSERT_EQ(pd, pe);
    ASSERT_EQ(pd, pr);
    const auto all = Edges(delaunay), afterEdges = Edges(edges), afterTriangles = Edges(triangles);
    EXPECT_TRUE(std::includes(all.begin(), all.end(), afterEdges.begin(), afterEdges.end()));
    EXPECT_TRUE(std::includes(afterEdges.begin(), afterEdges.end(), afterTriangles.begin(),
                              afterTriangles.end()));
    for (int e = 0; e < delaunay.HalfEdgeCount(); ++e) {
      if (delaunay.HasTwin(e)) continue;  // hull edges stay in every variant
      const int a = delaunay.Origin(e), b = delaunay.Destination(e);
      EXPECT_TRUE(afterTriangles.contains({std::min(a, b), std::max(a, b)}));
    }
  }
}

}  // namespace
}  // namespace qv
