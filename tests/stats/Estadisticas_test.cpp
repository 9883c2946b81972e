#include "stats/Estadisticas.h"

#include <gtest/gtest.h>

#include <cmath>

#include "methods/Aleatorio.h"
#include "methods/Barrido.h"
#include "methods/Remocion.h"
#include "stats/EstadisticasAristas.h"

namespace qv {
namespace {

std::vector<int> Figures(const TStatistics& s) {
  return {s.Points, s.VertexDegree, s.FaceDegree, s.Faces, s.Triangles};
}

// Two points are no subdivision: the empty one keeps the floor values.
TEST(Statistics, FiguresOfSweptSubdivisions) {
  const double kKite = 20 + 2 * std::hypot(10, 10) + 2 * std::hypot(100, 10);
  // Rows: points, weight, its text, points, vertex degree, face degree, faces, triangles.
  const std::tuple<TNube, double, const char*, std::vector<int>> rows[] = {
      {{{0, 0}, {30, 0}, {0, 40}}, 120, "120", {3, 2, 3, 1, 1}},
      // A triangle and a quadrilateral face; edges 0-1, 0-2, 1-2, 1-3, 0-3.
      {{{0, 20}, {0, 0}, {10, 10}, {100, 10}}, kKite, "249", {4, 3, 4, 2, 1}},
      {{{0, 0}, {5, 5}}, 0, "", {2, 2, 3, 0, 0}},
  };
  for (const auto& [p, weight, text, figures] : rows) {
    TDCEL d;
    if (p.size() > 2) Sweep(p, d);
    const TStatistics s = ComputeStatistics(p, d, ",");
    EXPECT_NEAR(s.WeightValue, weight, 1e-9) << text;
    EXPECT_EQ(s.Weight, text);
    EXPECT_EQ(Figures(s), figures) << text;
  }
}

// From the edges alone, the figures of whole subdivisions, and of graphs caught halfway: trees,
// dangling edges and pieces inside faces.
TEST(Statistics, EdgeGraphFiguresAgreeWithSubdivisionsAndCountBoundedWalks) {
  for (uint32_t seed = 1; seed <= 4; ++seed) {
    TRandom random(seed);
    for (const auto variant : {TRemocionVariant::Sweep, TRemocionVariant::RemoveTriangles}) {
      TNube p = GenerateUniform(random, 40 * static_cast<int>(seed), 500, 400);
      TDCEL d;
      int dragged = kNone;
      ComputeTriangulateRemove(p, variant, dragged, d);
      const TStatistics whole = ComputeStatistics(p, d, ","),
                        edges = EdgeGraphStatistics(p, EdgeList(d), ",");
      EXPECT_EQ(Figures(edges), Figures(whole)) << seed;
      EXPECT_EQ(edges.Weight, whole.Weight);
    }
  }
  // Rows: points, edges, points, vertex degree, face degree, faces, triangles.
  const std::tuple<TNube, std::vector<TEdge>, std::vector<int>> rows[] = {
      {{{0, 0}, {10, 0}, {0, 10}, {10, 10}}, {{0, 1}, {1, 3}}, {4, 2, 3, 0, 0}},
      // A triangle with an edge hanging into it: one face whose walk runs that edge twice.
      {{{0, 0}, {30, 0}, {0, 30}, {5, 5}}, {{0, 1}, {1, 2}, {0, 2}, {0, 3}}, {4, 3, 5, 1, 0}},
      // A triangle floating inside a square: two faces.
      {{{0, 0}, {100, 0}, {100, 100}, {0, 100}, {40, 40}, {60, 40}, {50, 60}},
       {{0, 1}, {1, 2}, {2, 3}, {0, 3}, {4, 5}, {5, 6}, {4, 6}},
       {7, 2, 4, 2, 1}},
      // The 32-bit corners and the origin joined to each: directions of 33 bits.
      {{{INT32_MIN, INT32_MIN},
        {INT32_MAX, INT32_MIN},
        {INT32_MAX, INT32_MAX},
        {INT32_MIN, INT32_MAX},
        {0, 0}},
       {{0, 1}, {1, 2}, {2, 3}, {0, 3}, {0, 4}, {1, 4}, {2, 4}, {3, 4}},
       {5, 4, 3, 4, 4}},
  };
  for (const auto& [p, edges, figures] : rows)
    EXPECT_EQ(Figures(EdgeGraphStatistics(p, edges, ",")), figures);
}

TEST(WeightText, RoundsAndGroupsThousands) {
  const double weights[] = {999.6, 0.49, 0.0, 0.5, 999.4, 1234567.4, std::nan("")};
  const char* texts[] = {"1,000", "", "", "1", "999", "1,234,567", ""};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(WeightText(weights[i], ","), texts[i]) << weights[i];
  EXPECT_EQ(WeightText(123456.5, "."), "123.457");
  EXPECT_EQ(WeightText(1234567, ""), "1234567");
  EXPECT_EQ(WeightText(1234567, "\u202f"), "1\u202f234\u202f567");
}

}  // namespace
}  // namespace qv
