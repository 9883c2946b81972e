// quilvaron-cli with the four triangulate-and-remove variants: valid results, the sort they
// share, the flips of the Delaunay variant and the removals.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "cli/CliPrueba.h"

namespace qv {
namespace {

const char* const kVariants[] = {"sweep-triangulation", "delaunay", "remove-edges",
                                 "remove-triangles"};

using CliRemove = test::CliPrueba;
using test::JsonEdges;
using test::JsonPoints;

TEST_F(CliRemove, EveryVariantGivesACheckedResultOnRandomSets) {
  for (int seed = 1; seed <= 2; ++seed) {
    std::vector<TEdge> previous;
    TNube points;
    for (const char* variant : kVariants) {
      ASSERT_EQ(Cli(std::string("--method ") + variant + " --check --random 80 --seed " +
                    std::to_string(seed) + " --json -"),
                0)
          << variant << " " << err;
      EXPECT_NE(err.find("Check: pseudo-triangulation"), std::string::npos) << err;
      const testjson::Value j = testjson::Parse(out);
      EXPECT_EQ(j["method"].S, variant);
      const TNube pts = JsonPoints(j);
      // Ascending x, ties descending y; every variant sorts the same way.
      for (size_t i = 1; i < pts.size(); ++i)
        EXPECT_TRUE(pts[i - 1].X < pts[i].X ||
                    (pts[i - 1].X == pts[i].X && pts[i - 1].Y > pts[i].Y));
      if (!points.empty()) {
        EXPECT_EQ(pts, points);
      }
      points = pts;
      const std::vector<TEdge> edges = JsonEdges(j);
      const TCheckReport report = CheckPseudoTriangulation(pts, edges);
      ASSERT_TRUE(report.Valid) << variant << ": " << report.Reason;
      EXPECT_EQ(j["stats"]["faces"].Int(), report.Faces);
      const std::string name = variant;
      if (name == "sweep-triangulation" || name == "delaunay") {
        EXPECT_EQ(report.Triangles, report.Faces) << variant;
      } else {
        // The removal stages start from the Delaunay triangulation and only delete edges.
        EXPECT_TRUE(std::includes(previous.begin(), previous.end(), edges.begin(), edges.end()));
        EXPECT_LE(edges.size(), previous.size());
      }
      previous = edges;
    }
  }
}

TEST_F(CliRemove, DelaunayFlipsTheSweepDiagonalOfACocircularSquare) {
  const std::string square = WritePT({{0, 0}, {100, 0}, {100, 100}, {0, 100}});
  ASSERT_EQ(Cli("--method sweep-triangulation --json - " + square), 0) << err;
  const testjson::Value sweep = testjson::Parse(out);
  ASSERT_EQ(Cli("--method delaunay --json - " + square), 0) << err;
  const testjson::Value delaunay = testjson::Parse(out);
  // Sorted: (0, 100), (0, 0), (100, 100), (100, 0). The sweep joins 1-2, the flip 0-3.
  ASSERT_EQ(JsonPoints(sweep), (TNube{{0, 100}, {0, 0}, {100, 100}, {100, 0}}));
  const std::vector<TEdge> s = JsonEdges(sweep), d = JsonEdges(delaunay);
  EXPECT_NE(std::find(s.begin(), s.end(), TEdge{1, 2}), s.end());
  EXPECT_NE(std::find(d.begin(), d.end(), TEdge{0, 3}), d.end());
  EXPECT_EQ(std::find(d.begin(), d.end(), TEdge{1, 2}), d.end());
}

}  // namespace
}  // namespace qv
