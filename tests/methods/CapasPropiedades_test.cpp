// Seeded property runs of the convex-layers method against the checker and the oracles.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>

#include "geometry/UserError.h"
#include "methods/Capas.h"
#include "methods/CapasOraculos.h"
#include "methods/Flips.h"
#include "methods/Verificador.h"

namespace qv {
namespace {

using namespace qv::testing;

// The chain peeling gives exactly the table of the walker peeling, degenerate sets included.
TEST(ConvexLayersProperty, ChainPeelingEqualsWalkerPeeling) {
  int compared = 0;
  for (const auto& [name, make] : Families()) {
    std::mt19937 rng(2024);
    for (int run = 0; run < 30; ++run) {
      const TNube points = make(rng);
      TPTCapas fast, walked;
      BuildConvexLayers(points, fast);
      ScanningBuild(points, walked);
      ASSERT_EQ(fast.Records, walked.Records) << name << " " << Describe(points);
      ASSERT_EQ(fast.Sizes, walked.Sizes) << name << " " << Describe(points);
      ASSERT_EQ(fast.Count, walked.Count);
      ++compared;
    }
  }
  EXPECT_EQ(compared, 6 * 30);
}

// With no three points on a line, the face figures counted from the links alone (the first
// way of counting them) agree with the traced faces.
TEST(ConvexLayersProperty, LinkCountedFacesEqualTracedFacesInGeneralPosition) {
  std::mt19937 rng(5);
  int compared = 0;
  while (compared < 60) {
    const int n = 3 + int(rng() % 90);
    const TNube points = Draw(rng, n, 0, rng() % 2 ? 1 << 20 : 1 << 15);
    if (points.size() < 3 || !InGeneralPosition(points)) continue;
    const TPTCapas layers = Connected(points);
    int triangles = 0, others = 0, degree = 0;
    CountedFaceStats(layers, triangles, others, degree);
    const TFigures traced = LayerFigures(points, layers);
    ASSERT_EQ(triangles, traced.Triangles) << Describe(points);
    ASSERT_EQ(others, traced.Others) << Describe(points);
    ASSERT_EQ(degree, traced.FaceDegree) << Describe(points);
    ++compared;
  }
}

// Refusals and bounded walks: duplicates anywhere are refused, never joined.
TEST(ConvexLayersProperty, SetsWithCoincidentPointsAreRefused) {
  std::mt19937 rng(9);
  for (int run = 0; run < 20; ++run) {
    TNube points = Draw(rng, 4 + int(rng() % 30), 0, 4, 10);
    if (points.size() < 2) continue;
    points.push_back(points[rng() % points.size()]);
    std::stable_sort(points.begin(), points.end(),
                     [](TPoint a, TPoint b) { return a.Y != b.Y ? a.Y < b.Y : a.X < b.X; });
    TPTCapas layers;
    EXPECT_THROW(BuildConvexLayers(points, layers), UserError) << Describe(points);
  }
}

}  // namespace
}  // namespace qv
