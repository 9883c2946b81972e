// quilvaron-cli --method layers: the layer table and its edges in the JSON, the figures, the
// checker's verdict and the refusals.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include "TempDir.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/JsonLite.h"
#include "io/ArchivoPT.h"
#include "methods/Verificador.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

class CliLayers : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = UniqueTempDir("qv_cli_layers");
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  static std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
  // Runs the tool with the layers method; returns the exit status.
  int Cli(const std::string& args) {
    const std::string cmd = std::string(QUILVARON_CLI) + " --method layers " + args + " >" +
                            Path("stdout") + " 2>" + Path("stderr") + " </dev/null";
    const int raw = std::system(cmd.c_str());
    out = Slurp(Path("stdout"));
    err = Slurp(Path("stderr"));
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  }
  std::string WritePT(const TNube& pts) {
    SavePT(Path("in.pt"), pts, false);
    return Path("in.pt");
  }

  fs::path dir_;
  std::string out, err;
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
  ASSERT_EQ(Cli("--random 200 --uniform --seed 3 --check --json -"), 0) << err;
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

TEST_F(CliLayers, OnePointInsideATriangle) {
  // Given bottom first; the method sorts: (50,0) (50,60) (0,100) (100,100).
  ASSERT_EQ(Cli(WritePT({{100, 100}, {0, 100}, {50, 60}, {50, 0}}) + " --json -"), 0) << err;
  const std::vector<Row> layers = Rows(testjson::Parse(out)["layers"]);
  ASSERT_EQ(layers.size(), 4u);
  std::vector<long long> layer;
  for (const Row& r : layers) layer.push_back(r[2]);
  EXPECT_EQ(layer, (std::vector<long long>{1, 2, 1, 1}));
  EXPECT_EQ(layers[0][5], 1);  // the top's first link reaches the inner point
  EXPECT_EQ(layers[3][6], 1);  // and so does its clockwise neighbour's second link
  EXPECT_EQ(layers[1][4], 0);  // the inner point's ring field now joins the top
  EXPECT_EQ(Rows(testjson::Parse(out)["edges"]).size(), 5u);
  EXPECT_NE(err.find("Faces : 2"), std::string::npos) << err;
  EXPECT_NE(err.find("Triangles : 1"), std::string::npos) << err;
  EXPECT_NE(err.find("F degree  : 4"), std::string::npos) << err;
}

TEST_F(CliLayers, RefusalsExitWith2AndTheWindowsMessage) {
  EXPECT_EQ(Cli(WritePT({{0, 0}, {10, 10}, {20, 20}})), 2);
  EXPECT_EQ(err, "At least 3 non-collinear points are needed.\n");
  EXPECT_EQ(Cli(WritePT({{0, 0}, {10, 10}})), 2);
  EXPECT_EQ(err, "At least 3 points are needed.\n");
}

}  // namespace
}  // namespace qv
