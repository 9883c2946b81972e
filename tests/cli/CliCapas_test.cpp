// quilvaron-cli --method layers: the layer table and its edges in the JSON, the figures and the
// checker's verdict.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "cli/CliPrueba.h"

namespace qv {
namespace {

class CliLayers : public test::CliPrueba {
 protected:
  // Runs the tool with the layers method; returns the exit status.
  int Layers(const std::string& args) { return Cli("--method layers " + args); }
};

using Row = std::vector<long long>;

std::vector<Row> Rows(const testjson::Value& array) {
  std::vector<Row> rows;
  for (const auto& r : array.A) {
    Row row;
    for (const auto& f : r.A) row.push_back(f.Int());
    rows.push_back(row);
  }
  return rows;
}

TEST_F(CliLayers, JsonHoldsTheLayerTableAndTheEdgesItStandsFor) {
  ASSERT_EQ(Layers("--random 200 --uniform --seed 3 --check --json -"), 0) << err;
  const testjson::Value j = testjson::Parse(out);
  EXPECT_EQ(j["method"].S, "layers");
  EXPECT_FALSE(j.Has("dcel"));
  const std::vector<Row> points = Rows(j["points"]), layers = Rows(j["layers"]);
  const int n = static_cast<int>(points.size());
  ASSERT_EQ(static_cast<int>(layers.size()), n);
  TNube pts;
  for (const Row& p : points) pts.push_back({int32_t(p[0]), int32_t(p[1])});
  // Sorted top down, ties left to right, as the method sorts them.
  for (int i = 1; i < n; ++i)
    EXPECT_TRUE(pts[i - 1].Y < pts[i].Y || (pts[i - 1].Y == pts[i].Y && pts[i - 1].X < pts[i].X));
  // Each record: its point, a layer from 1, and slots naming points; the edges are exactly
  // v-next, v-link1 and v-link2 of every record, without the empty slots.
  std::vector<TEdge> expected;
  for (int v = 0; v < n; ++v) {
    const Row& r = layers[size_t(v)];
    ASSERT_EQ(r.size(), 7u);
    EXPECT_EQ(r[0], points[size_t(v)][0]);
    EXPECT_EQ(r[1], points[size_t(v)][1]);
    EXPECT_GE(r[2], 1);
    for (size_t k = 3; k < 7; ++k) ASSERT_TRUE(0 <= r[k] && r[k] < n);
    for (size_t k : {4u, 5u, 6u})
      if (r[k] != v) expected.push_back({std::min<int>(v, int(r[k])), std::max<int>(v, int(r[k]))});
  }
  std::sort(expected.begin(), expected.end());
  expected.erase(std::unique(expected.begin(), expected.end()), expected.end());
  std::vector<TEdge> edges;
  for (const Row& e : Rows(j["edges"])) edges.push_back({int(e[0]), int(e[1])});
  EXPECT_EQ(edges, expected);
  const TCheckReport check = CheckPseudoTriangulation(pts, edges);
  ASSERT_TRUE(check.Valid) << check.Reason;
  double weight = 0;
  for (const TEdge& e : edges)
    weight += std::hypot(double(pts[e.A].X - pts[e.B].X), double(pts[e.A].Y - pts[e.B].Y));
  const auto& s = j["stats"];
  EXPECT_NEAR(s["weight"].N, weight, 1e-9 * weight);
  EXPECT_EQ(s["points"].Int(), n);
  EXPECT_EQ(s["faces"].Int(), check.Faces);
  EXPECT_EQ(s["triangles"].Int(), check.Triangles);
  EXPECT_NE(err.find("Check: pseudo-triangulation, " + std::to_string(check.Faces) + " faces"),
            std::string::npos)
      << err;
}

}  // namespace
}  // namespace qv
