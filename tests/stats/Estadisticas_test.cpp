#include "stats/Estadisticas.h"

#include <gtest/gtest.h>

#include <cmath>

#include "geometry/FuncionesMatematicas.h"
#include "methods/Barrido.h"

namespace qv {
namespace {

TEST(Statistics, TriangleWeightIsItsPerimeter) {
  const TNube p = {{0, 0}, {30, 0}, {0, 40}};
  TDCEL d;
  Sweep(p, d);
  const TStatistics s = ComputeStatistics(p, d, ",");
  EXPECT_DOUBLE_EQ(s.WeightValue, 120.0);
  EXPECT_EQ(s.Weight, "120");
  EXPECT_EQ(s.VertexDegree, 2);
  EXPECT_EQ(s.FaceDegree, 3);
  EXPECT_EQ(s.Points, 3);
  EXPECT_EQ(s.Faces, 1);
  EXPECT_EQ(s.Triangles, 1);
}

TEST(Statistics, EmptySubdivisionKeepsTheFloorValues) {
  const TNube p = {{0, 0}, {5, 5}};
  const TStatistics s = ComputeStatistics(p, TDCEL(), ",");
  EXPECT_EQ(s.WeightValue, 0.0);
  EXPECT_EQ(s.Weight, "");
  EXPECT_EQ(s.VertexDegree, 2);
  EXPECT_EQ(s.FaceDegree, 3);
  EXPECT_EQ(s.Points, 2);
  EXPECT_EQ(s.Faces, 0);
  EXPECT_EQ(s.Triangles, 0);
}

TEST(Statistics, PseudoTriangleCountsEveryEdgeOnce) {
  // The sweep of (0,20), (0,0), (10,10), (100,10): a triangle and a quadrilateral face; edges
  // 0-1, 0-2, 1-2, 1-3, 0-3; vertices 0 and 1 carry three edges each.
  const TNube p = {{0, 20}, {0, 0}, {10, 10}, {100, 10}};
  TDCEL d;
  Sweep(p, d);
  const double expected = 20 + 2 * std::hypot(10, 10) + 2 * std::hypot(100, 10);
  EXPECT_NEAR(PTWeight(p, d), expected, 1e-9);
  EXPECT_EQ(PTVertexDegree(d), 3);
  int triangles = -1, others = -1, maxDegree = -1;
  PTFaceStats(d, triangles, others, maxDegree);
  EXPECT_EQ(triangles, 1);
  EXPECT_EQ(others, 1);
  EXPECT_EQ(maxDegree, 4);
}

TEST(Statistics, RemovedEdgesAndMergedFacesAreIgnored) {
  // A square split by a diagonal into two triangles; removing the diagonal leaves one face.
  const TNube p = {{0, 0}, {10, 0}, {0, 10}, {10, 10}};
  TDCEL d;
  Sweep(p, d);
  ASSERT_EQ(d.FaceCount(), 2);
  const double before = PTWeight(p, d);
  int diagonal = kNone;
  for (int e = 0; e < d.HalfEdgeCount(); ++e)
    if (d.HasTwin(e)) diagonal = e;
  ASSERT_NE(diagonal, kNone);
  const double length = Distance(p[d.Origin(diagonal)], p[d.Destination(diagonal)]);
  d.RemoveEdge(diagonal);
  EXPECT_NEAR(PTWeight(p, d), before - length, 1e-9);
  EXPECT_NEAR(PTWeight(p, d), 40.0, 1e-9);
  const TStatistics s = ComputeStatistics(p, d, ",");
  EXPECT_EQ(s.Faces, 1);
  EXPECT_EQ(s.Triangles, 0);
  EXPECT_EQ(s.FaceDegree, 4);
  EXPECT_EQ(s.VertexDegree, 2);
}

TEST(WeightText, RoundsAndGroupsThousands) {
  EXPECT_EQ(WeightText(999.6, ","), "1,000");
  EXPECT_EQ(WeightText(0.49, ","), "");
  EXPECT_EQ(WeightText(0.0, ","), "");
  EXPECT_EQ(WeightText(0.5, ","), "1");
  EXPECT_EQ(WeightText(999.4, ","), "999");
  EXPECT_EQ(WeightText(1234567.4, ","), "1,234,567");
  EXPECT_EQ(WeightText(123456.5, "."), "123.457");
  EXPECT_EQ(WeightText(1234567, ""), "1234567");
  EXPECT_EQ(WeightText(1234567, "\u202f"), "1\u202f234\u202f567");
  EXPECT_EQ(WeightText(std::nan(""), ","), "");
}

}  // namespace
}  // namespace qv
