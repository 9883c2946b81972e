#include "methods/Capas.h"

#include <gtest/gtest.h>

#include <random>
#include <tuple>

#include "geometry/FuncionesMatematicas.h"
#include "geometry/UserError.h"
#include "methods/CapasOraculos.h"
#include "methods/Verificador.h"
#include "stats/EstadisticasCapas.h"

namespace qv {
namespace {

using namespace qv::testing;
using V = std::vector<int>;

V Field(const TPTCapas& l, int TCapa::*field) {
  V out;
  for (const TCapa& r : l.Records) out.push_back(r.*field);
  return out;
}

// Rows: points sorted by y then x, each record's layer and its clockwise ring neighbour (not
// checked where empty).
TEST(ConvexLayersBuild, PeelsLayersAndLinksEachRingClockwise) {
  const std::tuple<TNube, V, V> rows[] = {
      {{{10, 0}, {0, 20}, {20, 20}}, {1, 1, 1}, {2, 0, 1}},
      // Collinear points form one layer, in order along the line.
      {{{0, 0}, {10, 10}, {20, 20}, {30, 30}}, {1, 1, 1, 1}, {1, 2, 3, 0}},
      {{{5, 0}, {5, 10}, {5, 20}, {5, 30}}, {1, 1, 1, 1}, {1, 2, 3, 0}},
      // Top edge by the clockwise walk (0, 1, 2), bottom edge by the counterclockwise one
      // (4, 5, 6): the ring reads 0 1 2 6 5 4 clockwise.
      {{{0, 0}, {10, 0}, {20, 0}, {10, 15}, {0, 30}, {10, 30}, {20, 30}},
       {1, 1, 1, 2, 1, 1, 1},
       {1, 2, 6, 3, 0, 4, 5}},
      // (20, 10) lies on the square's right edge: it belongs to the outer layer.
      {{{0, 0}, {20, 0}, {20, 10}, {8, 11}, {0, 20}, {20, 20}}, {1, 1, 1, 2, 1, 1}, {}},
  };
  for (const auto& [points, layers, next] : rows) {
    TPTCapas l;
    BuildConvexLayers(points, l);
    EXPECT_EQ(Field(l, &TCapa::Layer), layers) << Describe(points);
    if (!next.empty()) {
      EXPECT_EQ(Field(l, &TCapa::LayerNext), next) << Describe(points);
    }
  }
}

// A refused build keeps the table it had; an accepted one starts afresh.
TEST(ConvexLayersBuild, RefusalsKeepTheTableAndEveryBuildStartsAfresh) {
  TPTCapas l;
  BuildConvexLayers(Prepared({{50, 0}, {50, 60}, {0, 100}, {100, 100}}), l);
  const TPTCapas before = l;
  EXPECT_THROW(BuildConvexLayers({{10, 0}, {0, 20}, {0, 20}, {20, 20}}, l), UserError);
  EXPECT_TRUE(l.Records == before.Records && l.Count == 2);
  BuildConvexLayers({{10, 0}, {0, 20}, {20, 20}}, l);
  EXPECT_TRUE(l.Count == 1 && l.Size() == 3 && l.Sizes == V{3});
  // The joining refuses a ring that never returns to its top instead of looping; an empty table
  // gives no edges.
  BuildConvexLayers({{50, 0}, {50, 60}, {0, 100}, {100, 100}}, l);
  l[2].LayerNext = 2;
  EXPECT_THROW(ConnectConvexLayers(l), UserError);
  TPTCapas empty;
  ConnectConvexLayers(empty);
  EXPECT_EQ(LayerEdges(empty).size(), 0u);
}

// The chain peeling gives exactly the table of the walker peeling, degenerate sets included.
TEST(ConvexLayersBuild, ChainPeelingEqualsWalkerPeeling) {
  for (const auto& [name, make] : Families()) {
    std::mt19937 rng(2024);
    for (int run = 0; run < 30; ++run) {
      const TNube points = make(rng);
      TPTCapas fast, walked;
      BuildConvexLayers(points, fast);
      ScanningBuild(points, walked);
      ASSERT_EQ(fast.Records, walked.Records) << name << " " << Describe(points);
      ASSERT_TRUE(fast.Sizes == walked.Sizes && fast.Count == walked.Count) << Describe(points);
    }
  }
}

// Rows: points sorted by y then x, edges the joining must draw, faces and triangles.
TEST(ConvexLayersConnect, JoinsEachLayerToTheNextFromTheOuterTop) {
  const std::tuple<TNube, std::vector<TEdge>, size_t, int, int> rows[] = {
      // The fan from the top repeats the ring edge of the third vertex: no edge is added.
      {{{10, 0}, {0, 20}, {20, 20}}, {{0, 1}, {0, 2}, {1, 2}}, 3, 1, 1},
      // The outer top and its clockwise neighbour join the inner point; the third vertex lands
      // on the top, its layer edge again: a triangle and a pseudo-triangle.
      {{{50, 0}, {50, 60}, {0, 100}, {100, 100}}, {{0, 1}, {1, 3}}, 5, 2, 1},
      // A two-point innermost layer, both joined to the outer top, so that the triangle 0 1 2
      // sits in the pseudo-triangles around it. Turning counterclockwise from the top, the rest
      // is a triangle and a pentagon; turning clockwise, two quadrilaterals.
      {{{50, 0}, {40, 40}, {60, 60}, {0, 100}, {100, 100}}, {{0, 1}, {0, 2}}, 7, 3, 2},
      {{{50, 0}, {60, 40}, {40, 60}, {0, 100}, {100, 100}}, {{0, 1}, {0, 2}}, 7, 3, 1},
  };
  for (const auto& [points, drawn, edgeCount, faces, triangles] : rows) {
    const TPTCapas l = Connected(points);
    const std::vector<TEdge> edges = LayerEdges(l);
    EXPECT_EQ(edges.size(), edgeCount) << Describe(points);
    for (const TEdge& e : drawn)
      EXPECT_TRUE(std::count(edges.begin(), edges.end(), e)) << e.A << "-" << e.B;
    const TCheckReport report = CheckPseudoTriangulation(points, edges);
    EXPECT_TRUE(report.Faces == faces && report.Triangles == triangles) << Describe(points);
    EXPECT_EQ(LayerResultProblem(points, l), "") << Describe(points);
  }
}

TEST(ConvexLayersDriver, SortsTopDownCarryingTheDraggedPointAndJoins) {
  TNube points{{100, 100}, {50, 60}, {0, 100}, {50, 0}};
  int dragged = 1;  // (50, 60)
  TPTCapas layers;
  ComputeConvexLayers(points, dragged, layers);
  EXPECT_EQ(points, (TNube{{50, 0}, {50, 60}, {0, 100}, {100, 100}}));
  EXPECT_EQ(dragged, 1);
  EXPECT_EQ(layers.Count, 2);  // joined: every result is checked by the property harness
}

}  // namespace
}  // namespace qv
