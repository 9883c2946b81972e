// Hand-made results, each valid or broken in one known way, through the independent checker.
#include "methods/Verificador.h"

#include "methods/Constructores.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace qv {
namespace {

using Edges = std::vector<TEdge>;

// The reason mentions the expected fault.
::testing::AssertionResult RefusedFor(const TCheckReport& r, const std::string& fragment) {
  if (r.Valid) return ::testing::AssertionFailure() << "accepted, expected: " << fragment;
  if (r.Reason.find(fragment) == std::string::npos)
    return ::testing::AssertionFailure()
           << "reason '" << r.Reason << "' lacks '" << fragment << "'";
  return ::testing::AssertionSuccess();
}

const TNube kSquare = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
const Edges kSquareHull = {{0, 1}, {1, 2}, {2, 3}, {0, 3}};

Edges With(Edges base, std::initializer_list<TEdge> more) {
  base.insert(base.end(), more);
  return base;
}

TEST(CheckerHull, SquareWithOneDiagonalIsTwoTrianglesAllPointed) {
  TCheckReport r = CheckPseudoTriangulation(kSquare, With(kSquareHull, {{0, 2}}));
  ASSERT_TRUE(r.Valid) << r.Reason;
  EXPECT_EQ(r.Faces, 2);
  EXPECT_EQ(r.Triangles, 2);
  EXPECT_TRUE(r.Pointed());
}

TEST(CheckerHull, EdgesAreAcceptedInEitherOrientation) {
  TCheckReport r = CheckPseudoTriangulation(kSquare, {{1, 0}, {2, 1}, {3, 2}, {3, 0}, {2, 0}});
  EXPECT_TRUE(r.Valid) << r.Reason;
}

TEST(CheckerHull, CentreJoinedToAllCornersIsValidButNotPointed) {
  TNube pts = kSquare;
  pts.push_back({5, 5});
  TCheckReport r =
      CheckPseudoTriangulation(pts, With(kSquareHull, {{0, 4}, {1, 4}, {2, 4}, {3, 4}}));
  ASSERT_TRUE(r.Valid) << r.Reason;
  EXPECT_EQ(r.Faces, 4);
  EXPECT_EQ(r.Triangles, 4);
  EXPECT_EQ(r.NonPointed, 1);
  EXPECT_EQ(r.NonPointedVertices, std::vector<int>{4});
}

TEST(CheckerHull, PseudoTriangleWithReflexVertexIsAccepted) {
  // Triangle 0 1 2 with point 3 inside joined to 0 and 1: the face 0-3-1-2 has its only
  // non-corner at 3.
  TNube pts = {{0, 0}, {100, 0}, {50, 100}, {50, 30}};
  TCheckReport r = CheckPseudoTriangulation(pts, {{0, 1}, {1, 2}, {0, 2}, {0, 3}, {1, 3}});
  ASSERT_TRUE(r.Valid) << r.Reason;
  EXPECT_EQ(r.Faces, 2);
  EXPECT_EQ(r.Triangles, 1);
  EXPECT_TRUE(r.Pointed());
}

TEST(CheckerHull, LongerReflexChainIsAccepted) {
  // Two interior points on a concave chain from 0 to 1: the face 0-3-4-1-2 has two reflex
  // vertices and three corners.
  TNube pts = {{0, 0}, {120, 0}, {60, 120}, {40, 30}, {80, 30}};
  TCheckReport r =
      CheckPseudoTriangulation(pts, {{0, 1}, {1, 2}, {0, 2}, {0, 3}, {3, 4}, {1, 4}, {0, 4}});
  ASSERT_TRUE(r.Valid) << r.Reason;
  EXPECT_EQ(r.Faces, 3);
  EXPECT_EQ(r.Triangles, 2);
}

TEST(CheckerHull, StraightAngleIsNotACorner) {
  // Point 1 lies on the hull edge 0-2: the single face 0-1-2-3 has corners 0, 2, 3 only.
  TNube pts = {{0, 0}, {10, 0}, {20, 0}, {10, 10}};
  TCheckReport r = CheckPseudoTriangulation(pts, {{0, 1}, {1, 2}, {2, 3}, {0, 3}});
  ASSERT_TRUE(r.Valid) << r.Reason;
  EXPECT_EQ(r.Faces, 1);
  EXPECT_EQ(r.Triangles, 0);
  // Its angles are 180 outside and 180 inside: not pointed.
  EXPECT_EQ(r.NonPointedVertices, std::vector<int>{1});
}

TEST(CheckerHull, PointOnHullEdgeMustBeABoundaryVertex) {
  TNube pts = {{0, 0}, {10, 0}, {20, 0}, {10, 10}};
  // Splitting at the boundary point gives two triangles.
  TCheckReport ok = CheckPseudoTriangulation(pts, {{0, 1}, {1, 2}, {2, 3}, {0, 3}, {1, 3}});
  ASSERT_TRUE(ok.Valid) << ok.Reason;
  EXPECT_EQ(ok.Triangles, 2);
  // Spanning it with one edge leaves the point inside that edge.
  EXPECT_TRUE(RefusedFor(CheckPseudoTriangulation(pts, {{0, 2}, {2, 3}, {0, 3}, {1, 3}}),
                         "point 1 lies on edge 0-2"));
}

// Broken hull results, each with the fault its reason must name.
TEST(CheckerHull, BrokenResultsAreRefusedWithTheirFault) {
  const TNube inner = {{0, 0}, {100, 0}, {50, 100}, {50, 30}};  // point 3 inside 0 1 2
  TNube squarePlus = kSquare;
  squarePlus.push_back({7, 2});
  const struct {
    TNube points;
    Edges edges;
    const char* fault;
  } cases[] = {
      {kSquare, kSquareHull, "4 convex corners"},
      {kSquare, With(kSquareHull, {{0, 2}, {1, 3}}), "edges 0-2 and 1-3 cross"},
      {inner, {{0, 1}, {1, 2}, {0, 3}, {1, 3}, {2, 3}}, "hull edge 0-2 is missing"},
      {squarePlus, With(kSquareHull, {{0, 2}}), "point 4 is on no edge"},
      // An inner triangle not joined to the outer one.
      {{{0, 0}, {100, 0}, {50, 100}, {40, 20}, {60, 20}, {50, 40}},
       {{0, 1}, {1, 2}, {0, 2}, {3, 4}, {4, 5}, {3, 5}},
       "connected"},
      // An inner point joined to one corner only: the face walks 0-3-0.
      {inner, {{0, 1}, {1, 2}, {0, 2}, {0, 3}}, "not a simple polygon"},
  };
  for (const auto& c : cases)
    EXPECT_TRUE(RefusedFor(CheckPseudoTriangulation(c.points, c.edges), c.fault));
}

TEST(CheckerHull, HugeCoordinatesAreDecidedExactly) {
  // Near the 32-bit limits, point 3 sits one unit off the diagonal y = x of the square's
  // corners 0 and 1. The same edges are two triangles when it is outside triangle 0 1 2 and a
  // triangle plus a pseudo-triangle when it is inside; a rounded orientation sees neither.
  const int32_t lo = INT32_MIN, hi = INT32_MAX;
  const Edges e = {{0, 1}, {1, 2}, {0, 2}, {0, 3}, {1, 3}};
  TCheckReport outside = CheckPseudoTriangulation({{lo, lo}, {hi, hi}, {hi, lo}, {0, 1}}, e);
  ASSERT_TRUE(outside.Valid) << outside.Reason;
  EXPECT_EQ(outside.Triangles, 2);
  TCheckReport inside = CheckPseudoTriangulation({{lo, lo}, {hi, hi}, {hi, lo}, {1, 0}}, e);
  ASSERT_TRUE(inside.Valid) << inside.Reason;
  EXPECT_EQ(inside.Triangles, 1);
}

TEST(CheckerGarbage, BadInputGivesAReasonNotACrash) {
  EXPECT_TRUE(
      RefusedFor(CheckPseudoTriangulation(kSquare, With(kSquareHull, {{0, 7}})), "does not exist"));
  EXPECT_TRUE(RefusedFor(CheckPseudoTriangulation(kSquare, With(kSquareHull, {{-1, 2}})),
                         "does not exist"));
  EXPECT_TRUE(
      RefusedFor(CheckPseudoTriangulation(kSquare, With(kSquareHull, {{2, 2}})), "to itself"));
  EXPECT_TRUE(RefusedFor(CheckPseudoTriangulation(kSquare, With(kSquareHull, {{0, 2}, {2, 0}})),
                         "given twice"));
  EXPECT_TRUE(RefusedFor(CheckPseudoTriangulation({{0, 0}, {5, 5}}, {{0, 1}}), "fewer than 3"));
  EXPECT_TRUE(
      RefusedFor(CheckPseudoTriangulation({{0, 0}, {5, 5}, {9, 9}}, {{0, 1}, {1, 2}}), "one line"));
  TNube twin = {{0, 0}, {10, 0}, {0, 0}, {0, 10}};
  EXPECT_TRUE(RefusedFor(CheckPseudoTriangulation(twin, {{0, 1}, {1, 3}, {0, 3}}),
                         "points 0 and 2 coincide"));
  EXPECT_FALSE(CheckPseudoTriangulation(kSquare, {}).Valid);
  EXPECT_FALSE(CheckPseudoTriangulation({}, {}).Valid);
}

TEST(CheckerGarbage, RandomEdgeSoupsNeverBreakTheChecker) {
  // Small grids give many collinear and coincident points; edges include bad indices. An
  // accepted soup must obey Euler's formula for one connected piece.
  std::mt19937 rng(7);
  int accepted = 0;
  for (int round = 0; round < 3000; ++round) {
    int n = 3 + static_cast<int>(rng() % 5);
    TNube pts;
    for (int i = 0; i < n; ++i)
      pts.push_back({static_cast<int32_t>(rng() % 4), static_cast<int32_t>(rng() % 4)});
    Edges e;
    int m = static_cast<int>(rng() % (2 * n));
    for (int i = 0; i < m; ++i)
      e.push_back(
          {static_cast<int>(rng() % (n + 1)) - (round % 7 == 0), static_cast<int>(rng() % n)});
    TCheckReport r = CheckPseudoTriangulation(pts, e);
    if (!r.Valid) {
      EXPECT_FALSE(r.Reason.empty());
      continue;
    }
    ++accepted;
    EXPECT_EQ(r.Faces, static_cast<int>(e.size()) - n + 1);
    EXPECT_LE(r.Triangles, r.Faces);
  }
  EXPECT_GT(accepted, 0);
}

// A polygon with a notch: 0 (0,0), 1 (100,0), 2 (100,100), 3 (50,20) reflex, 4 (0,100).
const TNube kNotched = {{0, 0}, {100, 0}, {100, 100}, {50, 20}, {0, 100}};
const std::vector<int> kNotchedOrder = {0, 1, 2, 3, 4};
const Edges kNotchedSides = {{0, 1}, {1, 2}, {2, 3}, {3, 4}, {0, 4}};

TEST(CheckerPolygon, TriangulatedNotchedPolygonIsValid) {
  TCheckReport r = CheckPseudoTriangulationOfPolygon(kNotched, kNotchedOrder,
                                                     With(kNotchedSides, {{0, 3}, {1, 3}}));
  ASSERT_TRUE(r.Valid) << r.Reason;
  EXPECT_EQ(r.Faces, 3);
  EXPECT_EQ(r.Triangles, 3);
}

TEST(CheckerPolygon, EitherSenseOfThePolygonIsAccepted) {
  TCheckReport r = CheckPseudoTriangulationOfPolygon(kNotched, {4, 3, 2, 1, 0},
                                                     With(kNotchedSides, {{0, 3}, {1, 3}}));
  EXPECT_TRUE(r.Valid) << r.Reason;
}

TEST(CheckerPolygon, PolygonThatIsItselfAPseudoTriangle) {
  // 0 1 2 convex, 3 reflex: no diagonal needed.
  TNube pts = {{0, 0}, {100, 0}, {50, 100}, {50, 30}};
  TCheckReport r =
      CheckPseudoTriangulationOfPolygon(pts, {0, 1, 2, 3}, {{0, 1}, {1, 2}, {2, 3}, {0, 3}});
  ASSERT_TRUE(r.Valid) << r.Reason;
  EXPECT_EQ(r.Faces, 1);
  EXPECT_EQ(r.Triangles, 0);
  // The same four points as a hull region are not covered by that face.
  EXPECT_TRUE(
      RefusedFor(CheckPseudoTriangulation(pts, {{0, 1}, {1, 2}, {2, 3}, {0, 3}}), "hull edge"));
}

TEST(CheckerPolygon, FaultsOfThePolygonRegion) {
  // The notched polygon alone has four convex corners.
  EXPECT_TRUE(RefusedFor(CheckPseudoTriangulationOfPolygon(kNotched, kNotchedOrder, kNotchedSides),
                         "4 convex corners"));
  // The edge 2-4 closes the notch from outside.
  EXPECT_TRUE(
      RefusedFor(CheckPseudoTriangulationOfPolygon(kNotched, kNotchedOrder,
                                                   With(kNotchedSides, {{0, 3}, {1, 3}, {2, 4}})),
                 "outside the polygon"));
  Edges noSide = {{0, 1}, {1, 2}, {2, 3}, {3, 4}, {0, 3}, {1, 3}};
  EXPECT_TRUE(RefusedFor(CheckPseudoTriangulationOfPolygon(kNotched, kNotchedOrder, noSide),
                         "polygon edge 0-4 is missing"));
  EXPECT_TRUE(
      RefusedFor(CheckPseudoTriangulationOfPolygon(kNotched, {0, 1, 2, 3, 1}, noSide), "repeated"));
  EXPECT_TRUE(
      RefusedFor(CheckPseudoTriangulationOfPolygon(kNotched, {0, 1, 9}, noSide), "not a point"));
  EXPECT_TRUE(RefusedFor(CheckPseudoTriangulationOfPolygon(kNotched, {0, 1}, noSide),
                         "fewer than 3 vertices"));
}

TEST(CheckerPolygon, SelfCrossingPolygonIsRefused) {
  TNube bow = {{0, 0}, {10, 10}, {10, 0}, {0, 10}};
  EXPECT_TRUE(RefusedFor(
      CheckPseudoTriangulationOfPolygon(bow, {0, 1, 2, 3}, {{0, 1}, {1, 2}, {2, 3}, {0, 3}}),
      "cross"));
}

// The sweep of (0,20), (0,0), (10,10), (100,10): face 0 = 0 -> 2 -> 1, face 1 = 3 -> 1 -> 2 -> 0.
const TNube kSwept = {{0, 20}, {0, 0}, {10, 10}, {100, 10}};
TDCEL SweptSubdivision() {
  TDCEL d;
  d.HalfEdges = {{0, 2, 1, 5, 0}, {2, 0, 2, 4, 0}, {1, 1, 0, kNone, 0}, {3, 6, 4, kNone, 1},
                 {1, 3, 5, 1, 1}, {2, 4, 6, 0, 1}, {0, 5, 3, kNone, 1}};
  d.Faces = {0, 6};
  d.Vertices = {0, 2, 1, 3};
  return d;
}

TEST(CheckerSubdivision, SweptSubdivisionMatchesItsEdges) {
  TDCEL d = SweptSubdivision();
  ASSERT_TRUE(d.IsValid());
  TCheckReport r = CheckSubdivision(kSwept, d);
  ASSERT_TRUE(r.Valid) << r.Reason;
  EXPECT_EQ(r.Faces, 2);
  EXPECT_EQ(r.Triangles, 1);
}

TEST(CheckerSubdivision, RecordFaultsThatTheEdgesAloneDoNotShow) {
  // The inner edge 1-2 loses its twin links: same edges, but face 0 now claims a boundary edge
  // inside the hull.
  TDCEL unlinked = SweptSubdivision();
  unlinked.HalfEdges[1].Twin = unlinked.HalfEdges[4].Twin = kNone;
  ASSERT_TRUE(unlinked.IsValid());
  EXPECT_TRUE(CheckPseudoTriangulation(kSwept, EdgeList(unlinked)).Valid);
  EXPECT_TRUE(RefusedFor(CheckSubdivision(kSwept, unlinked), "face record 0"));
  // A half-edge origin with no point behind it.
  TDCEL stray = SweptSubdivision();
  EXPECT_TRUE(RefusedFor(CheckSubdivision({{0, 20}, {0, 0}, {10, 10}}, stray), "no point"));
  // Broken structure is reported by the subdivision's own check.
  TDCEL broken = SweptSubdivision();
  broken.HalfEdges[0].Next = 2;
  EXPECT_TRUE(RefusedFor(CheckSubdivision(kSwept, broken), "invalid subdivision"));
}

TEST(CheckerSubdivision, PolygonSplitByOneDiagonal) {
  TDCEL d;
  BuildPolygon(kNotched, d);
  EXPECT_TRUE(RefusedFor(CheckSubdivisionOfPolygon(kNotched, kNotchedOrder, d), "4 convex"));
  // The diagonal 1-3 leaves the triangle 1 2 3 and the pseudo-triangle 3 4 0 1 (reflex at 3).
  d.SplitFace(0, 1, 3);
  TCheckReport r = CheckSubdivisionOfPolygon(kNotched, kNotchedOrder, d);
  ASSERT_TRUE(r.Valid) << r.Reason;
  EXPECT_EQ(r.Faces, 2);
  EXPECT_EQ(r.Triangles, 1);
}

TEST(CheckerEdgeList, EachLiveEdgeOnceSorted) {
  TDCEL d;
  // A triangle 0 -> 2 -> 1 with one removed half-edge left in the table.
  d.HalfEdges = {{0, 2, 1, kNone, 0},
                 {2, 0, 2, kNone, 0},
                 {1, 1, 0, kNone, 0},
                 {kNone, kNone, kNone, kNone, kNone}};
  d.Faces = {0};
  EXPECT_EQ(EdgeList(d), (Edges{{0, 1}, {0, 2}, {1, 2}}));
  d.HalfEdges[0].Next = 99;  // a broken link is skipped, not followed
  EXPECT_EQ(EdgeList(d), (Edges{{0, 1}, {1, 2}}));
}

}  // namespace
}  // namespace qv
