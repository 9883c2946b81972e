#include "methods/Flips.h"

#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <set>
#include <tuple>

#include "FlipsOraculo.h"
#include "geometry/FuncionesMatematicas.h"
#include "methods/Verificador.h"

namespace qv {
namespace {

// n points in general position on a 1000 x 1000 square, the same for one seed.
TNube SeededPoints(int n, uint32_t seed) {
  std::mt19937 gen(seed);
  std::uniform_int_distribution<int> coord(0, 1000);
  TNube points;
  while (static_cast<int>(points.size()) < n) {
    points.push_back(TPoint{coord(gen), coord(gen)});
    if (!InGeneralPosition(points)) points.pop_back();
  }
  return points;
}

TNube ConvexPoints(int n) {  // on the parabola y = x^2: convex, no three on a line
  TNube points;
  for (int i = 0; i < n; ++i) points.push_back(TPoint{i * 7, i * i});
  return points;
}

// The whole flip graph on this thread, each element handed to visit until it returns false.
uint64_t Search(const TNube& pts, TFlipGraph graph, const TVisitEdges& visit = {}) {
  std::atomic<bool> stop{false};
  TSearchCallbacks calls;
  if (visit) calls.Visit = [&](size_t, const std::vector<TEdge>& e) { stop = stop || !visit(e); };
  calls.Stop = &stop;
  return SearchFlipGraph(pts, graph, {}, calls);
}

uint64_t Catalan(int k) {
  uint64_t c = 1;
  for (int i = 0; i < k; ++i) c = c * 2 * (2 * i + 1) / (i + 2);
  return c;
}

// Convex position gives the Catalan number for both counts; one point inside a triangle has
// three pointed ones (joined to two of the three corners) and one triangulation, where that
// point has edges all round and so is not pointed.
TEST(FlipCounts, HandCountedSets) {
  std::vector<std::tuple<TNube, uint64_t, uint64_t>> rows = {
      {{{0, 0}, {100, 0}, {40, 90}, {45, 30}}, 3, 1}};
  for (int n = 3; n <= 10; ++n) rows.push_back({ConvexPoints(n), Catalan(n - 2), Catalan(n - 2)});
  for (const auto& [pts, pointed, triangulations] : rows) {
    EXPECT_EQ(Search(pts, TFlipGraph::Pointed), pointed) << pts.size();
    EXPECT_EQ(Search(pts, TFlipGraph::Triangulations), triangulations) << pts.size();
    EXPECT_EQ(IsPointed(pts, SweepTriangulationEdges(pts)), pointed == triangulations);
  }
}

// The reverse search against the breadth-first oracle; split runs add up to the whole, in an
// order that no number of threads changes.
TEST(FlipCounts, ReverseSearchListsWhatTheOracleFinds) {
  for (int n = 3; n <= 9; ++n) {
    for (uint32_t seed = 1; seed <= (n <= 7 ? 6u : 2u); ++seed) {
      const TNube pts = SeededPoints(n, seed * 7919 + static_cast<uint32_t>(n));
      for (bool pointed : {true, false}) {
        std::set<std::vector<TEdge>> expected, found;
        auto into = [](std::set<std::vector<TEdge>>& s) {
          return [&s](const std::vector<TEdge>& edges) { return s.insert(edges).second; };
        };
        const uint64_t count = pointed ? oracle::PointedPseudoTriangulations(pts, into(expected))
                                       : oracle::Triangulations(pts, into(expected));
        const uint64_t fast =
            Search(pts, pointed ? TFlipGraph::Pointed : TFlipGraph::Triangulations, into(found));
        ASSERT_EQ(fast, count) << n << " points, seed " << seed << (pointed ? " pointed" : "");
        ASSERT_EQ(found, expected) << n << " points, seed " << seed;
      }
    }
  }
  const TNube pts = SeededPoints(8, 77);
  for (TFlipGraph graph : {TFlipGraph::Pointed, TFlipGraph::Triangulations}) {
    // Every part's elements, task by task in task order, each part's count checked.
    auto listed = [&](int parts, int threads) {
      std::vector<std::vector<TEdge>> list;
      for (int part = 0; part < parts; ++part) {
        std::vector<std::vector<std::vector<TEdge>>> byTask;
        TSearchCallbacks calls;
        calls.Begin = [&](size_t tasks) { byTask.assign(tasks, {}); };
        calls.Visit = [&](size_t task, const std::vector<TEdge>& e) { byTask[task].push_back(e); };
        calls.TaskDone = [&](size_t task) {
          list.insert(list.end(), byTask[task].begin(), byTask[task].end());
        };
        const size_t before = list.size();
        const uint64_t n = SearchFlipGraph(pts, graph, {threads, part, parts}, calls);
        EXPECT_EQ(n, list.size() - before);
      }
      return list;
    };
    const std::vector<std::vector<TEdge>> whole = listed(1, 1);
    EXPECT_EQ(whole.size(), Search(pts, graph));
    EXPECT_EQ(listed(1, 3), whole);
    for (int parts : {3, 5}) {
      const std::vector<std::vector<TEdge>> split = listed(parts, 1);
      EXPECT_EQ(listed(parts, 3), split);
      EXPECT_EQ(std::multiset(split.begin(), split.end()),
                std::multiset(whole.begin(), whole.end()))
          << parts << " parts";
    }
  }
}

// The flipper that keeps its map between flips makes the same flips as the plain flip.
TEST(Flip, RandomWalkKeepsPointedPseudoTriangulationsAndFlipsBack) {
  for (uint32_t seed : {3u, 11u, 29u}) {
    const TNube pts = SeededPoints(14, seed);
    const std::vector<TEdge> hull = HullEdges(pts);
    std::vector<TEdge> edges = SweepPseudoTriangulation(pts);
    TPseudoTriangulationFlipper flipper(pts, edges);
    std::mt19937 gen(seed);
    for (int step = 0; step < 40; ++step) {
      const std::vector<TEdge> inner = InteriorEdges(edges, hull), before = edges;
      ASSERT_EQ(flipper.InteriorList(), inner);
      const TEdge e = inner[gen() % inner.size()];
      const TEdge f = FlipPseudoTriangulationEdge(pts, edges, e, hull);
      ASSERT_NE(f, kNoEdge);
      ASSERT_EQ(flipper.Flip(e), f);
      ASSERT_EQ(flipper.Edges(), edges);
      ASSERT_NE(f, e);
      const TCheckReport r = CheckPseudoTriangulation(pts, edges);
      ASSERT_TRUE(r.Valid) << r.Reason;
      EXPECT_EQ(r.Faces, static_cast<int>(pts.size()) - 2);
      EXPECT_TRUE(IsPointed(pts, edges));
      TDCEL d;
      BuildSubdivision(pts, edges, d);
      EXPECT_TRUE(CheckSubdivision(pts, d).Valid);
      std::vector<TEdge> back = edges;
      EXPECT_EQ(FlipPseudoTriangulationEdge(pts, back, f, hull), e);
      EXPECT_EQ(back, before);
    }
  }
}

TEST(Flip, RefusesHullEdgesAndNonEdgesLeavingTheListAlone) {
  const TNube pts = SeededPoints(8, 5);
  const std::vector<TEdge> hull = HullEdges(pts);
  std::vector<TEdge> edges = SweepPseudoTriangulation(pts);
  const std::vector<TEdge> before = edges;
  std::vector<TEdge> absent;
  for (int a = 0; a < 8 && absent.empty(); ++a)
    for (int b = a + 1; b < 8 && absent.empty(); ++b)
      if (!std::binary_search(edges.begin(), edges.end(), TEdge{a, b})) absent.push_back({a, b});
  for (TEdge e : {hull.front(), hull.back(), absent.front(), TEdge{absent[0].B, absent[0].A}}) {
    EXPECT_EQ(FlipPseudoTriangulationEdge(pts, edges, e, hull), kNoEdge);
    TPseudoTriangulationFlipper flipper(pts, edges);
    EXPECT_EQ(flipper.Flip(e), kNoEdge);
    EXPECT_EQ(flipper.Edges(), before);
    EXPECT_EQ(edges, before);
  }
}

TEST(InGeneralPosition, Table) {
  const std::pair<TNube, bool> rows[] = {
      {{{0, 0}, {10, 1}, {3, 7}, {8, 9}}, true},
      {{{0, 0}, {10, 0}, {3, 7}, {3, -9}}, true},  // one shared y, one shared x: no three on a line
      {{{0, 0}, {10, 1}, {0, 0}}, false},
      {{{0, 0}, {5, 5}, {9, 1}, {10, 10}}, false},
      // A vertical run of three among points around it, whose directions cover every side.
      {{{0, 20}, {60, 10}, {50, 40}, {60, 60}, {50, 50}, {50, 30}}, false},
      {{{-2147483647, -2147483647}, {2147483647, 2147483646}, {0, -1}, {5, 3}}, true},
      {{{-2147483647, -2147483647}, {2147483647, 2147483647}, {0, 0}}, false},
  };
  for (const auto& [points, general] : rows) EXPECT_EQ(InGeneralPosition(points), general);
  // Segments of one upright line conflict only where they overlap.
  const TNube column{{0, 0}, {0, 10}, {0, 20}, {0, 30}, {0, 5}};
  EXPECT_FALSE(SegmentsConflict(column, 0, 1, 2, 3));
  EXPECT_TRUE(SegmentsConflict(column, 0, 1, 4, 2));
}

}  // namespace
}  // namespace qv
