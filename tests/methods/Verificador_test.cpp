// Hand-made results, each valid or broken in one known way, through the independent checker.
#include "methods/Verificador.h"

#include "geometry/FuncionesMatematicas.h"
#include "methods/CaminosOraculo.h"
#include "methods/Constructores.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
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

const TNube kInner = {{0, 0}, {100, 0}, {50, 100}, {50, 30}};  // point 3 inside 0 1 2
const TNube kOnEdge = {{0, 0}, {10, 0}, {20, 0}, {10, 10}};    // point 1 on the hull edge 0-2
const TNube kCentred = {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {5, 5}};
const TNube kChain = {{0, 0}, {120, 0}, {60, 120}, {40, 30}, {80, 30}};
const Edges kKite = {{0, 1}, {1, 2}, {0, 2}, {0, 3}, {1, 3}};
const int32_t kLo = INT32_MIN, kHi = INT32_MAX;

TEST(CheckerHull, ValidResultsAndTheirFigures) {
  const std::tuple<const char*, TNube, Edges, int, int, std::vector<int>> rows[] = {
      {"square and diagonal", kSquare, With(kSquareHull, {{0, 2}}), 2, 2, {}},
      {"either orientation", kSquare, {{1, 0}, {2, 1}, {3, 2}, {3, 0}, {2, 0}}, 2, 2, {}},
      {"centre to every corner",
       kCentred,
       With(kSquareHull, {{0, 4}, {1, 4}, {2, 4}, {3, 4}}),
       4,
       4,
       {4}},
      // The face 0-3-1-2 has its only non-corner at 3.
      {"reflex vertex", kInner, kKite, 2, 1, {}},
      // The face 0-3-4-1-2 has two reflex vertices and three corners.
      {"reflex chain", kChain, {{0, 1}, {1, 2}, {0, 2}, {0, 3}, {3, 4}, {1, 4}, {0, 4}}, 3, 2, {}},
      // Corners 0, 2, 3 only; 180 degrees outside and inside: not pointed.
      {"straight angle", kOnEdge, {{0, 1}, {1, 2}, {2, 3}, {0, 3}}, 1, 0, {1}},
      {"split at the boundary point", kOnEdge, {{0, 1}, {1, 2}, {2, 3}, {0, 3}, {1, 3}}, 2, 2, {1}},
      // Near the 32-bit limits point 3 sits one unit off the diagonal of corners 0 and 1:
      // outside triangle 0 1 2, then inside it. A rounded orientation sees neither.
      {"huge, outside", {{kLo, kLo}, {kHi, kHi}, {kHi, kLo}, {0, 1}}, kKite, 2, 2, {}},
      {"huge, inside", {{kLo, kLo}, {kHi, kHi}, {kHi, kLo}, {1, 0}}, kKite, 2, 1, {}},
  };
  for (const auto& [name, points, edges, faces, triangles, nonPointed] : rows) {
    const TCheckReport r = CheckPseudoTriangulation(points, edges);
    ASSERT_TRUE(r.Valid) << name << ": " << r.Reason;
    EXPECT_TRUE(r.Faces == faces && r.Triangles == triangles) << name;
    EXPECT_EQ(r.NonPointedVertices, nonPointed) << name;
    EXPECT_EQ(r.NonPointed, static_cast<int>(nonPointed.size())) << name;
  }
  // A fan over 4,200 points in convex position, by decreasing x, its edges in random order.
  TNube fan;
  Edges fanEdges;
  for (int i = 0; i < 4200; ++i) fan.push_back({-i, i * i});
  for (int i = 1; i < 4200; ++i) fanEdges.insert(fanEdges.end(), {{i - 1, i}, {0, i}});
  fanEdges.erase(fanEdges.begin() + 1);  // 0-1 twice
  std::shuffle(fanEdges.begin(), fanEdges.end(), std::mt19937(3));
  const TCheckReport big = CheckPseudoTriangulation(fan, fanEdges);
  EXPECT_TRUE(big.Valid && big.Faces == 4198 && big.Triangles == 4198) << big.Reason;
}

// Broken and garbage hull results, each with the fault its reason must name.
TEST(CheckerHull, BrokenResultsAreRefusedWithTheirFault) {
  const TNube squarePlus = {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {7, 2}};
  const std::tuple<TNube, Edges, const char*> rows[] = {
      {kSquare, kSquareHull, "4 convex corners"},
      {kSquare, With(kSquareHull, {{0, 2}, {1, 3}}), "edges 0-2 and 1-3 cross"},
      // Edge 5-6 reaches across the line of 0-1, short of the edge itself.
      {{{0, 3}, {5, 10}, {8, 4}, {11, 6}, {9, 0}, {2, 5}, {5, 0}},
       {{0, 1}, {2, 4}, {3, 6}, {5, 6}},
       "edges 2-4 and 3-6 cross"},
      {kInner, {{0, 1}, {1, 2}, {0, 3}, {1, 3}, {2, 3}}, "hull edge 0-2 is missing"},
      {kInner, {{0, 1}, {1, 2}, {2, 3}, {0, 3}}, "hull edge"},  // a polygon, not the hull
      {squarePlus, With(kSquareHull, {{0, 2}}), "point 4 is on no edge"},
      {kOnEdge, {{0, 2}, {2, 3}, {0, 3}, {1, 3}}, "point 1 lies on edge 0-2"},
      {{{0, 0}, {0, 10}, {0, 20}, {10, 10}}, {{0, 2}, {2, 3}, {0, 3}, {1, 3}}, "lies on edge 0-2"},
      // An inner triangle not joined to the outer one.
      {{{0, 0}, {100, 0}, {50, 100}, {40, 20}, {60, 20}, {50, 40}},
       {{0, 1}, {1, 2}, {0, 2}, {3, 4}, {4, 5}, {3, 5}},
       "connected"},
      // Two pieces whose sweep meets a vertex on the line of an edge ending beside it.
      {{{0, 0}, {0, 4}, {4, 2}, {0, 3}, {2, 2}}, {{0, 2}, {1, 4}, {3, 4}}, "point 1 is apart"},
      // An inner point joined to one corner only: the face walks 0-3-0.
      {kInner, {{0, 1}, {1, 2}, {0, 2}, {0, 3}}, "not a simple polygon"},
      {kSquare, With(kSquareHull, {{0, 7}}), "does not exist"},
      {kSquare, With(kSquareHull, {{-1, 2}}), "does not exist"},
      {kSquare, With(kSquareHull, {{2, 2}}), "to itself"},
      {kSquare, With(kSquareHull, {{0, 2}, {2, 0}}), "given twice"},
      {{{0, 0}, {5, 5}}, {{0, 1}}, "fewer than 3"},
      {{{0, 0}, {5, 5}, {9, 9}}, {{0, 1}, {1, 2}}, "one line"},
      {{{0, 0}, {10, 0}, {0, 0}, {0, 10}}, {{0, 1}, {1, 3}, {0, 3}}, "points 0 and 2 coincide"},
      {kSquare, {}, ""},
      {{}, {}, ""},
  };
  for (const auto& [points, edges, fault] : rows)
    EXPECT_TRUE(RefusedFor(CheckPseudoTriangulation(points, edges), fault));
}

// Random edge sets on a 5 x 5 grid (vertical runs, collinear overlaps, touching ends, points
// inside edges): the checker refuses with a crossing, an overlap or a point on an edge exactly
// when some pair of edges, or an edge and a point, meets outside their shared ends.
TEST(CheckerHull, EveryMeetingOfEdgesIsFound) {
  std::mt19937 rng(7);
  int faulty = 0, plane = 0;
  for (int trial = 0; trial < 3000; ++trial) {
    std::vector<TPoint> grid;
    for (int x = 0; x < 5; ++x)
      for (int y = 0; y < 5; ++y) grid.push_back({x, y});
    std::shuffle(grid.begin(), grid.end(), rng);
    const int n = 4 + static_cast<int>(rng() % 6);
    const TNube points(grid.begin(), grid.begin() + n);
    std::set<TEdge> chosen;
    for (int v = 0; v < n; ++v) {  // every point on an edge
      const int w = (v + 1 + static_cast<int>(rng() % (n - 1))) % n;
      chosen.insert({std::min(v, w), std::max(v, w)});
    }
    for (int extra = static_cast<int>(rng() % 4); extra > 0; --extra) {
      const int v = static_cast<int>(rng() % n), w = static_cast<int>(rng() % n);
      if (v != w) chosen.insert({std::min(v, w), std::max(v, w)});
    }
    const Edges edges(chosen.begin(), chosen.end());
    bool meet = false;
    for (const TEdge& e : edges) {
      const TPoint a = points[e.A], b = points[e.B];
      meet = meet || oracle::OpenSegmentHoldsVertex(points, e.A, e.B);
      for (const TEdge& f : edges) {
        if (meet || !(e < f)) continue;
        const TPoint c = points[f.A], d = points[f.B];
        // Edges along one line overlap only with an end of one inside the other (found above).
        const bool shared = e.A == f.A || e.A == f.B || e.B == f.A || e.B == f.B;
        meet = !shared && OrientationSign(a, b, c) * OrientationSign(a, b, d) < 0 &&
               OrientationSign(c, d, a) * OrientationSign(c, d, b) < 0;
      }
    }
    const TCheckReport r = CheckPseudoTriangulation(points, edges);
    if (r.Reason.find("one line") != std::string::npos) continue;
    const bool refused = r.Reason.find(" cross") != std::string::npos ||
                         r.Reason.find(" overlap") != std::string::npos ||
                         r.Reason.find("lies on edge") != std::string::npos;
    ASSERT_EQ(refused, meet) << "trial " << trial << ": " << r.Reason;
    ++(meet ? faulty : plane);
  }
  EXPECT_GT(faulty, 500);
  EXPECT_GT(plane, 500);
}

// A polygon with a notch: 0 (0,0), 1 (100,0), 2 (100,100), 3 (50,20) reflex, 4 (0,100).
const TNube kNotched = {{0, 0}, {100, 0}, {100, 100}, {50, 20}, {0, 100}};
const std::vector<int> kNotchedOrder = {0, 1, 2, 3, 4};
const Edges kNotchedSides = {{0, 1}, {1, 2}, {2, 3}, {3, 4}, {0, 4}};

TEST(CheckerPolygon, ResultsInsideAPolygon) {
  const Edges diagonals = With(kNotchedSides, {{0, 3}, {1, 3}});
  const Edges noSide = {{0, 1}, {1, 2}, {2, 3}, {3, 4}, {0, 3}, {1, 3}};
  // Rows: points, polygon, edges, the fault the reason names (none when valid), faces, triangles.
  const std::tuple<TNube, std::vector<int>, Edges, const char*, int, int> rows[] = {
      {kNotched, kNotchedOrder, diagonals, "", 3, 3},
      {kNotched, {4, 3, 2, 1, 0}, diagonals, "", 3, 3},  // either sense
      // 0 1 2 convex, 3 reflex: the polygon is itself a pseudo-triangle.
      {kInner, {0, 1, 2, 3}, {{0, 1}, {1, 2}, {2, 3}, {0, 3}}, "", 1, 0},
      {kNotched, kNotchedOrder, kNotchedSides, "4 convex corners", 0, 0},
      // The edge 2-4 closes the notch from outside.
      {kNotched, kNotchedOrder, With(diagonals, {{2, 4}}), "outside the polygon", 0, 0},
      {kNotched, kNotchedOrder, noSide, "polygon edge 0-4 is missing", 0, 0},
      {kNotched, {0, 1, 2, 3, 1}, noSide, "repeated", 0, 0},
      {kNotched, {0, 1, 9}, noSide, "not a point", 0, 0},
      {kNotched, {0, 1}, noSide, "fewer than 3 vertices", 0, 0},
      {{{0, 0}, {10, 10}, {10, 0}, {0, 10}}, {0, 1, 2, 3}, kSquareHull, "cross", 0, 0},
  };
  for (const auto& [points, order, edges, fault, faces, triangles] : rows) {
    const TCheckReport r = CheckPseudoTriangulationOfPolygon(points, order, edges);
    if (*fault) {
      EXPECT_TRUE(RefusedFor(r, fault));
      continue;
    }
    ASSERT_TRUE(r.Valid) << r.Reason;
    EXPECT_TRUE(r.Faces == faces && r.Triangles == triangles);
  }
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

TEST(CheckerSubdivision, RecordFaultsThatTheEdgesAloneDoNotShow) {
  TCheckReport r = CheckSubdivision(kSwept, SweptSubdivision());
  ASSERT_TRUE(r.Valid) << r.Reason;
  EXPECT_EQ(r.Faces, 2);
  EXPECT_EQ(r.Triangles, 1);
  // The inner edge 1-2 loses its twin links: same edges, but face 0 now claims a boundary edge
  // inside the hull.
  TDCEL unlinked = SweptSubdivision();
  unlinked.HalfEdges[1].Twin = unlinked.HalfEdges[4].Twin = kNone;
  ASSERT_TRUE(unlinked.IsValid());
  EXPECT_TRUE(CheckPseudoTriangulation(kSwept, EdgeList(unlinked)).Valid);
  EXPECT_TRUE(RefusedFor(CheckSubdivision(kSwept, unlinked), "face record 0"));
  // A point that no edge reaches: the records are not compared with faces never traced.
  TNube extra = kSwept;
  extra.push_back({50, 50});
  EXPECT_TRUE(RefusedFor(CheckSubdivision(extra, SweptSubdivision()), "point 4 is on no edge"));
  // A half-edge origin with no point behind it.
  TDCEL stray = SweptSubdivision();
  EXPECT_TRUE(RefusedFor(CheckSubdivision({{0, 20}, {0, 0}, {10, 10}}, stray), "no point"));
  // Broken structure is reported by the subdivision's own check.
  TDCEL broken = SweptSubdivision();
  broken.HalfEdges[0].Next = 2;
  EXPECT_TRUE(RefusedFor(CheckSubdivision(kSwept, broken), "invalid subdivision"));
  // The notched polygon alone has four convex corners; the diagonal 1-3 leaves the triangle
  // 1 2 3 and the pseudo-triangle 3 4 0 1 (reflex at 3).
  TDCEL d;
  BuildPolygon(kNotched, d);
  EXPECT_TRUE(RefusedFor(CheckSubdivisionOfPolygon(kNotched, kNotchedOrder, d), "4 convex"));
  d.SplitFace(0, 1, 3);
  r = CheckSubdivisionOfPolygon(kNotched, kNotchedOrder, d);
  EXPECT_TRUE(r.Valid && r.Faces == 2 && r.Triangles == 1) << r.Reason;
}

}  // namespace
}  // namespace qv
