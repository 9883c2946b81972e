#include "methods/Triangulacion.h"

#include "methods/Remocion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "Rechazo.h"
#include "methods/Constructores.h"
#include "methods/Triangulos.h"
#include "methods/Verificador.h"

namespace qv {
namespace {

using namespace qv::testing_triangles;
using V = std::vector<int>;

void ExpectTriangulation(const TNube& p, const TDCEL& d) {
  const TCheckReport report = CheckSubdivision(p, d);
  ASSERT_TRUE(report.Valid) << report.Reason;
  EXPECT_EQ(report.Triangles, report.Faces);
  for (int f = 0; f < d.FaceCount(); ++f)  // three convex corners: counterclockwise, not flat
    EXPECT_TRUE(d.FaceEdge(f) == kNone || ConvexCorners(p, d, f) == 3) << f;
}

// Rows: the input in sweep order, the points afterwards (empty: unchanged) or the refusal.
TEST(SweepTriangulation, NudgesWhereOnePixelServesAndRefusesWhatCannotBeSwept) {
  constexpr int32_t kMax = 2147483647;
  TNube copies = {{0, 0}, {5, 9}};
  for (int i = 0; i < 12; ++i) copies.push_back({6, 3});
  TNube spread = copies;  // the copies end one pixel apart, in sweep order
  for (int i = 0; i < 12; ++i) spread[2 + i] = {6 + i, 3};
  const std::tuple<TNube, TNube, std::string> rows[] = {
      // One triangle, turning counterclockwise on the screen whichever way the input turns.
      {{{0, 0}, {5, 10}, {10, 0}}, {}, ""},
      {{{0, 10}, {5, 0}, {10, 10}}, {}, ""},
      // Point 3 continues the hull edge 1-2 at the last inserted point 2.
      {{{0, 0}, {10, 10}, {20, 0}, {30, -10}}, {{0, 0}, {10, 10}, {20, 0}, {31, -10}}, ""},
      {{{0, 0}, {10, 10}, {20, 0}, {20, 0}}, {{0, 0}, {10, 10}, {20, 0}, {21, 0}}, ""},
      // Among equal x the lower point (larger y) comes first.
      {{{0, 0}, {10, 20}, {10, 10}, {20, 5}}, {}, ""},
      // Each of 3, 4, 5 continues the vertical hull edge at the last inserted point. Moving 3
      // or 4 one pixel right would put it behind the next point, so they stay; the last moves.
      {{{-1, 50}, {0, 40}, {0, 30}, {0, 20}, {0, 10}, {0, 0}},
       {{-1, 50}, {0, 40}, {0, 30}, {0, 20}, {0, 10}, {1, 0}},
       ""},
      // 3 lies on the horizontal hull edge 1-2 extended: no move to the right can leave that
      // line, so 2 stays a straight hull vertex instead of being nudged for ever.
      {{{0, 5}, {1, 0}, {2, 0}, {3, 0}, {9, 9}}, {}, ""},
      // Collinear starts are fanned from the first point off the line, on either side.
      {{{0, 0}, {1, 0}, {2, 0}, {5, -3}}, {}, ""},
      {{{0, 0}, {1, 0}, {2, 0}, {3, -5}, {6, -1}}, {}, ""},
      {{{0, 0}, {1, 7}, {1, 0}, {2, 0}, {3, 0}, {5, 2}}, {}, ""},
      // (4, -3) continues the hull edge 0-3 at the last inserted point: it moves.
      {{{0, 9}, {1, 0}, {2, 0}, {3, 0}, {4, -3}}, {{0, 9}, {1, 0}, {2, 0}, {3, 0}, {5, -3}}, ""},
      {{{0, 0}, {1, 0}, {1, 0}, {2, 0}, {4, 3}}, {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 3}}, ""},
      {copies, spread, ""},
      {{{0, 0}, {1, 0}, {2, 0}, {3, 0}}, {}, "At least 3 non-collinear points are needed."},
      {{{kMax - 2, 0}, {kMax - 1, 9}, {kMax, 0}, {kMax, 0}}, {}, "No coincident points allowed."},
  };
  for (const auto& [in, out, expected] : rows) {
    TNube p = in;
    TDCEL d;
    const std::string refusal = testing::Refusal([&] { SweepTriangulation(p, d); });
    EXPECT_EQ(refusal, expected) << ::testing::PrintToString(in);
    EXPECT_EQ(p, out.empty() ? in : out) << ::testing::PrintToString(in);
    if (refusal.empty())
      ExpectTriangulation(p, d);
    else
      EXPECT_EQ(d.HalfEdgeCount(), 0);
  }
}

TEST(DelaunayFlips, EndLocallyDelaunayOnAGridWhereThePlainFlipsGoRound) {
  // A whole grid is full of cocircular squares; on this one the plain flips go round among
  // them until their allowance runs out, and the kept state is finished with the marks.
  TNube p = GridPoints(300, 300, 3);
  TDCEL d;
  int dragged = kNone;
  ComputeTriangulateRemove(p, TRemocionVariant::Delaunay, dragged, d);
  EXPECT_TRUE(LocallyDelaunay(p, d));
}

TEST(FanTriangulation, ConvexPolygonGetsEveryDiagonalFromVertexZero) {
  for (int n = 3; n <= 12; ++n) {  // a triangle is left alone
    TNube p;                       // on a parabola: strictly convex, counterclockwise on the screen
    for (int i = 0; i < n; ++i) p.push_back({-7 * i, i * i});
    TDCEL d;
    BuildPolygon(p, d);
    FanTriangulation(d);
    EXPECT_EQ(d.FaceCount(), n - 2);
    // Face f is the triangle 0, f + 1, f + 2: the faces follow the boundary, every diagonal
    // leaves vertex 0.
    for (int f = 0; f < n - 2; ++f) {
      std::vector<int> c = FaceCycle(d, f);
      std::sort(c.begin(), c.end());
      EXPECT_EQ(c, (V{0, f + 1, f + 2})) << n;
    }
    ExpectTriangulation(p, d);
  }
}

// Triangles a b c (face 0, c above the edge) and b a d (face 1); half-edge 0 runs a -> b.
TEST(IsRemovableEdge, TwoTrianglesByTheAngleAtEachEndpoint) {
  const std::tuple<TPoint, bool, const char*> cases[] = {
      {{5, 10}, false, "convex quadrilateral: neither endpoint reflex"},
      {{-3, 2}, true, "a becomes reflex"},
      {{13, 2}, true, "b becomes reflex"},
      {{-1, 2}, false, "a exactly 180 degrees (c, a, d collinear), b convex"},
  };
  for (const auto& [below, removable, why] : cases) {
    const TNube p{{0, 0}, {10, 0}, {5, -10}, below};
    TDCEL d = FromTriangles({{0, 1, 2}, {1, 0, 3}});
    EXPECT_EQ(IsRemovableEdge(0, p, d), removable) << why;
    EXPECT_EQ(IsRemovableEdge(d.Twin(0), p, d), removable) << why;
    for (int e : {1, 2, 4, 5}) EXPECT_FALSE(IsRemovableEdge(e, p, d)) << e;  // hull
    TDCEL removed = d;  // the stage removes it, leaving one pseudo-triangle
    RemoveEdges(p, removed);
    EXPECT_EQ(EdgeList(removed).size(), removable ? 4u : 5u) << why;
    EXPECT_TRUE(removed.IsValid() && ConvexCorners(p, removed, removed.FaceOf(1)) == 3);
    d.RemoveEdge(0);  // deleted edges are never removable
    EXPECT_FALSE(IsRemovableEdge(0, p, d) || IsRemovableEdge(3, p, d));
  }
}

TEST(RemoveEdges, StartsWithTheHighestIndexedRemovableEdge) {
  // A point v inside the triangle X Y Z: each spoke alone is removable (v becomes reflex), and
  // after one spoke goes v is reflex in the merged face, so the others stay. The lower half-edges
  // of the spokes v-X, v-Y, v-Z are 0, 2 and 5: v-Z goes.
  const TNube p = {{50, 60}, {50, 0}, {0, 90}, {100, 90}};
  TDCEL d = FromTriangles({{0, 1, 2}, {0, 2, 3}, {0, 3, 1}});
  for (int e : {0, 2, 5}) EXPECT_TRUE(IsRemovableEdge(e, p, d));
  RemoveEdges(p, d);
  EXPECT_EQ(EdgeList(d), (std::vector<TEdge>{{0, 1}, {0, 2}, {1, 2}, {1, 3}, {2, 3}}));
}

// Hull X Y Z around a small triangle TL B TR whose sides face X, Y, Z: face 0 is the inner
// triangle, faces 1 to 3 its neighbours with apexes Y, Z, X, faces 4 to 6 touch the hull.
// Rows: TL, whether the edge stage merged face 1 first, whether the inner triangle goes.
TEST(RemoveTriangles, InnerTriangleGoesOnlyWhenEveryCornerTurnsReflex) {
  const std::tuple<TPoint, bool, bool> rows[] = {
      {{90, 110}, false, true},
      // After the edge stage merged a neighbour, the inner triangle no longer qualifies.
      {{90, 110}, true, false},
      // TL on the hull side X-Y (the triangle X Y TL gone): an exact 180-degree corner in the
      // union is not reflex.
      {{50, 87}, false, false},
  };
  for (const auto& [tl, edgeStageFirst, merged] : rows) {
    const TNube p = {{100, 0}, {0, 174}, {200, 174}, tl, {110, 110}, {100, 127}};
    std::vector<Tri> triangles = {{3, 5, 4}, {5, 3, 1}, {4, 5, 2}, {3, 4, 0}, {1, 2, 5}, {2, 0, 4}};
    if (tl.X != 50) triangles.push_back({0, 1, 3});
    TDCEL d = FromTriangles(triangles);
    ASSERT_NO_FATAL_FAILURE(ExpectTriangulation(p, d));
    if (edgeStageFirst) d.RemoveEdge(d.FindEdgeInFace(1, 1));  // Y-B: face 1 into face 5
    RemoveTriangles(p, d);
    std::string why;
    EXPECT_TRUE(d.IsValid(&why)) << why;
    EXPECT_EQ(d.FaceEdge(0) == kNone, merged) << tl.X;
    if (!merged) continue;
    // The hull triangles 4 to 6 stay; one face, the pseudo-triangle X TL Y B Z TR, is the rest.
    const TCheckReport report = CheckSubdivision(p, d);
    EXPECT_TRUE(report.Valid && report.Faces == 4) << report.Reason;
    for (int f = 4; f < 7; ++f) EXPECT_TRUE(d.FaceEdge(f) != kNone && IsTriangle(f, d)) << f;
  }
}

// Rows: input, designated index, points moved, points and designated index after; the flips
// leave the points where the sweep put them.
TEST(ComputeTriangulateRemove, SortsNudgesAndFollowsTheHeldPoint) {
  // Sorted, the three copies of (50, 40) keep their order a, b, c. b equals the inserted a and
  // moves to (51, 40), past c; c then equals a, moves to (51, 40) and stops in front of b; b
  // equals the inserted c and moves on to (52, 40).
  const TNube copies = {{50, 40}, {0, 0}, {50, 40}, {90, 10}, {50, 40}, {20, 70}};
  const TNube spread = {{0, 0}, {20, 70}, {50, 40}, {51, 40}, {52, 40}, {90, 10}};
  const std::tuple<TNube, int, int, TNube, int> rows[] = {
      // By x, equal x from bottom to top.
      {{{10, 10}, {20, 5}, {0, 0}, {10, 20}}, 1, 0, {{0, 0}, {10, 20}, {10, 10}, {20, 5}}, 3},
      // The collinear start moves the first point left.
      {{{30, 30}, {10, 10}, {20, 20}, {40, 12}}, 0, 1, {{9, 10}, {20, 20}, {30, 30}, {40, 12}}, 2},
      {copies, 2, 2, spread, 4},  // b
      {copies, 4, 2, spread, 3},  // c, one place back when b passes it
      {copies, 5, 2, spread, 1},  // (20, 70), only sorted
  };
  for (const TRemocionVariant variant : {TRemocionVariant::Sweep, TRemocionVariant::Delaunay})
    for (const auto& [in, held, moved, out, heldAfter] : rows) {
      TNube p = in;
      TDCEL pt;
      int dragged = held;
      EXPECT_EQ(ComputeTriangulateRemove(p, variant, dragged, pt), moved);
      EXPECT_EQ(p, out);
      EXPECT_EQ(dragged, heldAfter);
    }
}

}  // namespace
}  // namespace qv
