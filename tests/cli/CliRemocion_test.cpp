// quilvaron-cli with the four triangulate-and-remove variants: valid results, the sort they
// share, the flips of the Delaunay variant, the removals, the saved points and the refusal.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include "TempDir.h"

#include <algorithm>
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

const char* const kVariants[] = {"sweep-triangulation", "delaunay", "remove-edges",
                                 "remove-triangles"};

class CliRemove : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = UniqueTempDir("qv_cli_remove");
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
  // Runs the tool; returns the exit status and keeps what it wrote.
  int Cli(const std::string& args) {
    const std::string cmd = std::string(QUILVARON_CLI) + " " + args + " >" + Path("stdout") +
                            " 2>" + Path("stderr") + " </dev/null";
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

TNube Points(const testjson::Value& j) {
  TNube pts;
  for (const auto& p : j["points"].A)
    pts.push_back({static_cast<int32_t>(p[0].Int()), static_cast<int32_t>(p[1].Int())});
  return pts;
}

std::vector<TEdge> Edges(const testjson::Value& j) {
  std::vector<TEdge> edges;
  for (const auto& e : j["edges"].A)
    edges.push_back({static_cast<int>(e[0].Int()), static_cast<int>(e[1].Int())});
  std::sort(edges.begin(), edges.end());
  return edges;
}

TEST_F(CliRemove, EveryVariantGivesACheckedResultOnRandomSets) {
  for (int seed = 1; seed <= 3; ++seed) {
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
      const TNube pts = Points(j);
      // Ascending x, ties descending y; every variant sorts the same way.
      for (size_t i = 1; i < pts.size(); ++i)
        EXPECT_TRUE(pts[i - 1].X < pts[i].X ||
                    (pts[i - 1].X == pts[i].X && pts[i - 1].Y > pts[i].Y));
      if (!points.empty()) {
        EXPECT_EQ(pts, points);
      }
      points = pts;
      const std::vector<TEdge> edges = Edges(j);
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
  ASSERT_EQ(Points(sweep), (TNube{{0, 100}, {0, 0}, {100, 100}, {100, 0}}));
  const std::vector<TEdge> s = Edges(sweep), d = Edges(delaunay);
  EXPECT_NE(std::find(s.begin(), s.end(), TEdge{1, 2}), s.end());
  EXPECT_NE(std::find(d.begin(), d.end(), TEdge{0, 3}), d.end());
  EXPECT_EQ(std::find(d.begin(), d.end(), TEdge{1, 2}), d.end());
}

TEST_F(CliRemove, CollinearStartIsSavedWithThePoints) {
  const std::string in = WritePT({{300, 300}, {100, 100}, {200, 200}, {400, 120}});
  ASSERT_EQ(Cli("--method remove-triangles --check --out " + Path("o.pt") + " " + in), 0) << err;
  const TArchivoPT saved = LoadPT(Path("o.pt"));
  EXPECT_EQ(saved.Points, (TNube{{99, 100}, {200, 200}, {300, 300}, {400, 120}}));
}

TEST_F(CliRemove, PointsOnOneLineAreRefusedWithTheWindowsMessage) {
  const std::string line = WritePT({{0, 5}, {10, 5}, {20, 5}, {30, 5}});
  for (const char* variant : kVariants) {
    EXPECT_EQ(Cli(std::string("--method ") + variant + " " + line), 2) << variant;
    EXPECT_EQ(err, "At least 3 non-collinear points are needed.\n");
    EXPECT_EQ(out, "");
  }
}

}  // namespace
}  // namespace qv
