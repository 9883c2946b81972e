#include "methods/CaminosMinimos.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

#include "geometry/FuncionesMatematicas.h"
#include "geometry/UserError.h"
#include "methods/Constructores.h"
#include "methods/Verificador.h"

namespace qv {
namespace {

using Edges = std::set<std::pair<int, int>>;

Edges EdgeSet(const TDCEL& s) {
  Edges out;
  for (const TEdge& e : EdgeList(s)) out.insert({e.A, e.B});
  return out;
}

Edges PolygonEdges(int n) {
  Edges out;
  for (int i = 0; i < n; ++i) out.insert({std::min(i, (i + 1) % n), std::max(i, (i + 1) % n)});
  return out;
}

int LiveFaces(const TDCEL& s) {
  return static_cast<int>(
      std::count_if(s.Faces.begin(), s.Faces.end(), [](int e) { return e != kNone; }));
}

std::vector<int> Identity(int n) {
  std::vector<int> v(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) v[i] = i;
  return v;
}

// A triangulation of the abstract convex m-gon with the given diagonals, built by splitting
// the face that holds both ends of each.
TDCEL TriangulationWith(int m, const std::vector<std::pair<int, int>>& diagonals) {
  TDCEL t;
  BuildPolygon(TNube(static_cast<size_t>(m)), t);
  for (auto [a, b] : diagonals) {
    int face = kNone;
    for (int f = 0; f < t.FaceCount() && face == kNone; ++f)
      if (t.FindEdgeInFace(a, f) != kNone && t.FindEdgeInFace(b, f) != kNone) face = f;
    EXPECT_NE(face, kNone) << a << "-" << b;
    t.SplitFace(face, a, b);
  }
  return t;
}

TTriangulationSource FanSource() {
  return [](int m, TDCEL& t) { ConvexPolygonFan(m, t); };
}

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

// ---- The polygon ------------------------------------------------------------------------

TEST(ShortestPathsPolygon, SimplicityRefusesCrossingTouchingCoincidentAndFolded) {
  EXPECT_TRUE(IsSimplePolygon({{0, 0}, {0, 10}, {10, 10}, {10, 0}}));
  EXPECT_TRUE(IsSimplePolygon({{0, 0}, {0, 10}, {5, 10}, {10, 10}, {10, 0}}));   // flat vertex
  EXPECT_FALSE(IsSimplePolygon({{0, 0}, {10, 10}, {0, 10}, {10, 0}}));           // bow tie
  EXPECT_FALSE(IsSimplePolygon({{0, 0}, {0, 10}, {5, 0}, {10, 10}, {10, 0}}));   // 2 on edge 4-0
  EXPECT_FALSE(IsSimplePolygon({{0, 0}, {0, 10}, {10, 10}, {0, 10}, {10, 0}}));  // coincident
  EXPECT_FALSE(IsSimplePolygon({{0, 0}, {0, 10}, {0, 5}, {10, 0}}));  // 2 folds back onto 0-1
  EXPECT_FALSE(IsSimplePolygon({{0, 0}, {5, 5}, {10, 10}}));          // all on one line
  EXPECT_FALSE(IsSimplePolygon({{0, 0}, {5, 5}}));
}

TEST(ShortestPathsPolygon, RunOrientsTheEntryAndTellsWhetherItReversed) {
  const TNube ccw = SpikePolygon();
  TNube q = ccw;
  EXPECT_FALSE(TShortestPathsRun(q).Reversed());
  EXPECT_EQ(q, ccw);
  TNube r(ccw.rbegin(), ccw.rend());  // clockwise as displayed
  EXPECT_TRUE(TShortestPathsRun(r).Reversed());
  EXPECT_EQ(r, ccw);  // point 0 is the former last point
  TNube bowtie = {{0, 0}, {10, 10}, {0, 10}, {10, 0}};
  EXPECT_THROW(TShortestPathsRun{bowtie}, UserError);
  EXPECT_EQ(bowtie, (TNube{{0, 0}, {10, 10}, {0, 10}, {10, 0}}));  // refused before reordering
}

TEST(ShortestPathsPolygon, OrientationFollowsTheHullCycleForEveryRotation) {
  // The sense of the hull walk must be recognised whichever vertex carries index 0.
  const TNube base = {{0, 0}, {0, 100}, {50, 60}, {100, 100}, {100, 0}, {50, 30}};
  for (int r = 0; r < 6; ++r) {
    TNube ccw(base);
    std::rotate(ccw.begin(), ccw.begin() + r, ccw.end());
    TNube p = ccw;
    EXPECT_FALSE(OrientPolygon(p));
    EXPECT_EQ(p, ccw) << r;
    TNube cw(ccw.rbegin(), ccw.rend());
    EXPECT_TRUE(OrientPolygon(cw));
    EXPECT_EQ(cw, ccw) << r;
  }
}

// ---- Visibility and paths ---------------------------------------------------------------

TEST(ShortestPathsGeodesics, ReflexVertexBlocksAndTheGeodesicBendsThere) {
  const TNube p = SpikePolygon();
  TMatrizVisibilidad vis;
  TMatrizDistancias dist;
  TMatrizTrazabilidad trace;
  ComputeVisibility(p, vis);
  EXPECT_FALSE(vis[1][5]);  // the spike is in the way
  EXPECT_FALSE(vis[2][4]);  // the spike's base runs outside
  EXPECT_TRUE(vis[0][5] && vis[5][0]);
  EXPECT_TRUE(vis[1][3] && vis[3][5]);
  ComputeDistances(p, vis, dist);
  EXPECT_TRUE(std::isinf(dist[1][5]));
  for (int s = 0; s < 7; ++s) ShortestPathsFrom(s, p, dist, trace);
  EXPECT_EQ(trace[1][5], 3);
  EXPECT_EQ(trace[3][5], 3);  // direct
  EXPECT_DOUBLE_EQ(dist[1][5], Distance(p[1], p[3]) + Distance(p[3], p[5]));
  EXPECT_EQ(trace[2][4], 3);  // along the spike's sides

  // The diagonal 1-5 alone: its geodesic becomes the two segments 1-3 and 3-5.
  TDCEL pt;
  BuildPolygon(p, pt);
  InsertGeodesics(TriangulationWith(7, {{1, 5}}), pt, vis, trace);
  Edges expected = PolygonEdges(7);
  expected.insert({{1, 3}, {3, 5}});
  EXPECT_EQ(EdgeSet(pt), expected);
  EXPECT_TRUE(pt.IsValid());
}

TEST(ShortestPathsGeodesics, SegmentSharedByTwoGeodesicsIsInsertedOnce) {
  TNube p = SpikePolygon();
  // Geodesics 1-5 (1, 3, 5), 1-4 (1, 3, 4) and 2-4 (2, 3, 4) share 1-3 and the spike's sides.
  const TDCEL t = TriangulationWith(7, {{0, 5}, {1, 5}, {1, 4}, {2, 4}});
  TDCEL result;
  TShortestPathsRun run(p);
  const THalfEdgeRanges r = run.Compute(t, false, FanSource(), result);
  Edges expected = PolygonEdges(7);
  expected.insert({{0, 5}, {1, 3}, {3, 5}});
  EXPECT_EQ(EdgeSet(result), expected);
  EXPECT_EQ(result.HalfEdgeCount(), 7 + 2 * 3);  // each new edge once, as two half-edges
  EXPECT_EQ(r.PolygonEnd, 7);
  EXPECT_EQ(r.ResultEnd, 13);
  EXPECT_EQ(r.PocketsEnd, 13);
  EXPECT_EQ(LiveFaces(result), 4);
  EXPECT_TRUE(CheckSubdivisionOfPolygon(p, Identity(7), result).Valid);
}

TEST(ShortestPathsGeodesics, StraightRunThroughAVertexStopsThere) {
  // 0-4 passes exactly through the reflex vertex 2: it is split into 0-2 and 2-4.
  const TNube p = {{0, 0}, {0, 100}, {50, 50}, {100, 100}, {100, 0}, {100, -20}, {50, -20}};
  ASSERT_TRUE(IsSimplePolygon(p));
  TMatrizVisibilidad vis;
  ComputeVisibility(p, vis);
  EXPECT_FALSE(vis[0][3]);
  EXPECT_TRUE(vis[0][2] && vis[2][3]);
  TNube q = p;
  TDCEL result;
  TShortestPathsRun run(q);
  ASSERT_EQ(q, p);
  run.Compute(TriangulationWith(7, {{0, 3}, {0, 4}, {0, 5}, {1, 3}}), false, FanSource(), result);
  const Edges edges = EdgeSet(result);
  EXPECT_TRUE(edges.count({0, 2}) && edges.count({2, 3}) && !edges.count({0, 3}));
  const TCheckReport report = CheckSubdivisionOfPolygon(p, Identity(7), result);
  EXPECT_TRUE(report.Valid) << report.Reason;
}

TEST(ShortestPathsGeodesics, FindSplitFaceTellsNewFromExistingEdges) {
  TDCEL s;
  BuildPolygon(TNube(6), s);
  s.SplitFace(0, 0, 3);  // faces 0 (3, 4, 5, 0) and 1 (0, 1, 2, 3)
  bool ok = false;
  const int f = FindSplitFace(1, 3, s, ok);
  EXPECT_TRUE(ok);
  EXPECT_NE(s.FindEdgeInFace(1, f), kNone);
  EXPECT_NE(s.FindEdgeInFace(3, f), kNone);
  EXPECT_NE(FindSplitFace(0, 3, s, ok), kNone);
  EXPECT_FALSE(ok);  // the diagonal exists
  FindSplitFace(3, 4, s, ok);
  EXPECT_FALSE(ok);  // a boundary edge
  const int g = FindSplitFace(5, 3, s, ok);
  EXPECT_TRUE(ok);
  EXPECT_NE(g, f);
  EXPECT_EQ(FindSplitFace(1, 5, s, ok), kNone);  // no face holds both
  EXPECT_FALSE(ok);
}

// ---- Whole runs -------------------------------------------------------------------------

TEST(ShortestPathsRun, ConvexPolygonGivesTheChosenTriangulationWithoutPockets) {
  TNube p = {{100, 0}, {30, 20}, {0, 90}, {40, 170}, {120, 180}, {190, 120}, {180, 30}};
  ASSERT_EQ(Orientation(p[0], p[1], p[2]), CounterClockwise);
  std::mt19937 rng(7);
  TRandomSource random = [&](int m) { return static_cast<int>(rng() % static_cast<unsigned>(m)); };
  for (int trial = 0; trial < 10; ++trial) {
    TDCEL t, result;
    RandomConvexTriangulation(7, random, t);
    TShortestPathsRun run(p);
    const THalfEdgeRanges r = run.Compute(t, true, FanSource(), result);
    EXPECT_EQ(EdgeSet(result), EdgeSet(t));
    EXPECT_EQ(LiveFaces(result), 5);
    EXPECT_EQ(r.PocketsEnd, r.ResultEnd);  // the hull is the polygon: no pockets
    EXPECT_EQ(r.ResultEnd, 7 + 2 * 4);
  }
}

TEST(ShortestPathsRun, MismatchedTriangulationSizeIsRefused) {
  TNube p = SpikePolygon();
  TDCEL t, result;
  ConvexPolygonFan(5, t);
  TShortestPathsRun run(p);
  EXPECT_THROW(run.Compute(t, false, FanSource(), result), std::invalid_argument);
}

// ---- Pockets ----------------------------------------------------------------------------

// Counterclockwise as displayed: a square with a V notch in its bottom side (pocket 2, 3, 4)
// and a slot from its top side (pocket 7, 8, 9, 10). The hull's top side passes through 7 and
// 10, which split it into the polygon edges 6-7 and 10-0 and the lid 7-10.
TNube NotchedSquare() {
  return {{0, 0},   {0, 200}, {80, 200},  {100, 170}, {120, 200}, {200, 200},
          {200, 0}, {150, 0}, {150, 150}, {50, 150},  {50, 0}};
}

TEST(ShortestPathsPockets, OnePocketPerLidWithLidsOnTheBoundary) {
  TNube p = NotchedSquare();
  ASSERT_TRUE(IsSimplePolygon(p));
  std::vector<int> sizes;  // the pocket triangulations come from the source given
  TTriangulationSource recording = [&](int m, TDCEL& pocket) {
    sizes.push_back(m);
    ConvexPolygonFan(m, pocket);
  };
  TDCEL t, plain, result;
  ConvexPolygonFan(11, t);
  TShortestPathsRun run(p);
  ASSERT_EQ(p, NotchedSquare());
  run.Compute(t, false, FanSource(), plain);
  const THalfEdgeRanges r = run.Compute(t, true, recording, result);
  EXPECT_EQ(sizes, (std::vector<int>{3, 4}));
  EXPECT_EQ(r.PolygonEnd, 11);
  EXPECT_EQ(r.ResultEnd, plain.HalfEdgeCount());
  // Pocket 2, 4, 3 is a triangle (3 half-edges); pocket 7, 10, 9, 8 a quadrilateral split by
  // one diagonal (4 + 2): faces = polygon faces + 1 + 2.
  EXPECT_EQ(r.PocketsEnd - r.ResultEnd, 9);
  EXPECT_EQ(LiveFaces(result), LiveFaces(plain) + 3);
  EXPECT_TRUE(result.IsValid());
  // The lids are outer boundary, the pocket sides of the chains are not any more.
  std::set<std::pair<int, int>> outer;
  for (int e = 0; e < result.HalfEdgeCount(); ++e)
    if (result.Twin(e) == kNone) outer.insert({result.Origin(e), result.Destination(e)});
  const std::set<std::pair<int, int>> hull = {{0, 1}, {1, 2}, {2, 4},  {4, 5},
                                              {5, 6}, {6, 7}, {7, 10}, {10, 0}};
  EXPECT_EQ(outer, hull);
  for (int e : {2, 3, 7, 8, 9}) EXPECT_NE(result.Twin(e), kNone) << e;
  const TCheckReport report = CheckSubdivision(p, result);
  EXPECT_TRUE(report.Valid) << report.Reason;
}

// ---- Triangulations of the abstract polygon ---------------------------------------------

TEST(ShortestPathsTriangulations, FanAndRandomFlipsStayTriangulations) {
  for (int m = 3; m < 12; ++m) {
    TDCEL fan;
    ConvexPolygonFan(m, fan);
    ASSERT_TRUE(fan.IsValid());
    EXPECT_EQ(fan.HalfEdgeCount(), m + 2 * (m - 3));
    EXPECT_EQ(fan.FaceCount(), m - 2);
    for (int e = 0; e < m; ++e) {
      EXPECT_EQ(fan.Origin(e), e);
      EXPECT_EQ(fan.Twin(e), kNone);
    }
    for (int e = m; e < fan.HalfEdgeCount(); ++e)
      EXPECT_TRUE(fan.Origin(e) == 0 || fan.Destination(e) == 0);
    std::mt19937 rng(static_cast<uint32_t>(m));
    TDCEL r;
    RandomConvexTriangulation(
        m, [&](int k) { return static_cast<int>(rng() % static_cast<unsigned>(k)); }, r);
    ASSERT_TRUE(r.IsValid());
    for (int f = 0; f < r.FaceCount(); ++f) EXPECT_EQ(r.FaceDegree(f), 3);
    for (int e = 0; e < m; ++e) EXPECT_EQ(r.Origin(e), e);
  }
}

}  // namespace
}  // namespace qv
