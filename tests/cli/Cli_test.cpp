// quilvaron-cli on whole runs: printed figures, the JSON checked against its own points and
// edges for every method, saved points, refusals and outputs that cannot be written.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cli/CliPrueba.h"

namespace qv {
namespace {

using test::JsonEdges;
using test::JsonPoints;
using CliTool = test::CliPrueba;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST_F(CliTool, PrintsTheSixFiguresThenTheVerdictWithTenNonPointedIndices) {
  ASSERT_EQ(Cli("--random 30 --seed 5 --check"), 0) << err;
  EXPECT_EQ(err, "");
  std::vector<std::string> lines = Lines(out);
  ASSERT_EQ(lines.size(), 7u) << out;
  const char* captions[] = {"Weight     : ",
                            "V degree  : ",
                            "F degree  : ",
                            "Points      : 30",
                            "Faces : 28",
                            "Triangles : ",
                            "Check: pseudo-triangulation"};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(lines[i].rfind(captions[i], 0), 0u) << lines[i];
  ASSERT_EQ(Cli(WritePT("t.pt", {{0, 0}, {3000, 0}, {0, 4000}})), 0);
  EXPECT_EQ(Lines(out)[0], "Weight     : 12,000");
  // A triangulated grid: its 16 inner vertices are not pointed; the first ten are listed.
  TNube grid;
  for (int x = 0; x < 6; ++x)
    for (int y = 0; y < 6; ++y) grid.push_back({10 * x, 10 * y + (x % 2) * 3});
  Cli("--method sweep-triangulation --check " + WritePT("grid.pt", grid));
  lines = Lines(out);
  ASSERT_EQ(lines.size(), 7u) << out;
  std::istringstream verdict(lines[6].substr(lines[6].find("triangles, ") + 11));
  std::vector<std::string> words;
  for (std::string w; verdict >> w;) words.push_back(w);
  ASSERT_EQ(words.size(), 14u) << lines[6];  // N non-pointed vertices: ten indices ...
  EXPECT_GE(std::atoi(words[0].c_str()), 16);
  EXPECT_EQ(words.back(), "...");
}

// A convex octagon, unsorted, with its topmost point last in the file.
const TNube kOctagon{{441, 159}, {500, 300}, {441, 441}, {300, 500},
                     {159, 441}, {100, 300}, {159, 159}, {300, 100}};

enum TOrder { Any, XUpThenYDown, YUpThenXUp, YUp, YDown };

bool InOrder(TPoint a, TPoint b, TOrder order) {
  if (order == XUpThenYDown) return a.X < b.X || (a.X == b.X && a.Y > b.Y);
  if (order == YUpThenXUp) return a.Y < b.Y || (a.Y == b.Y && a.X < b.X);
  return order == Any || (order == YUp ? a.Y <= b.Y : a.Y >= b.Y);
}

// Every method's JSON: valid by the checker, figures recomputed from its points and edges, the
// points in the method's order; the removal stages only delete Delaunay edges.
TEST_F(CliTool, JsonOfEveryMethodAgreesWithItsOwnPointsAndEdges) {
  const std::string octagon = WritePT("oct.pt", kOctagon);
  struct Row {
    std::string args, method;
    TOrder order;
  };
  const std::vector<Row> rows{
      {"--random 40 --seed 9", "sweep", Any},
      {"--random 60 --normal 30 --canvas 300x200 --angle 135", "sweep", Any},
      {"--random 12 --angle 90", "sweep", YDown},
      {"--method incremental-vertex --random 60 --seed 1", "incremental-vertex", XUpThenYDown},
      {"--method incremental-face " + octagon, "incremental-face", YUp},
      {"--method layers --random 200 --uniform --seed 3", "layers", YUpThenXUp},
      {"--method sweep-triangulation --random 80 --seed 2", "sweep-triangulation", XUpThenYDown},
      {"--method delaunay --random 80 --seed 2", "delaunay", XUpThenYDown},
      {"--method remove-edges --random 80 --seed 2", "remove-edges", XUpThenYDown},
      {"--method remove-triangles --random 80 --seed 2", "remove-triangles", XUpThenYDown}};
  std::vector<TEdge> previous;
  for (const Row& row : rows) {
    ASSERT_EQ(Cli(row.args + " --check --json -"), 0) << row.args << err;
    EXPECT_NE(err.find("Check: pseudo-triangulation"), std::string::npos) << err;
    const testjson::Value j = Json();
    EXPECT_EQ(j["method"].S, row.method);
    EXPECT_FALSE(j["polygon"].B);
    const size_t angle = row.args.find("--angle ");
    EXPECT_EQ(j["angle"].Int(),
              angle == std::string::npos ? 0 : std::stoi(row.args.substr(angle + 8)));
    const TNube pts = JsonPoints(j);
    const int n = static_cast<int>(pts.size());
    for (int i = 1; i < n; ++i) EXPECT_TRUE(InOrder(pts[i - 1], pts[i], row.order)) << row.args;
    std::vector<TEdge> edges;
    for (const auto& e : j["edges"].A) edges.push_back({int(e[0].Int()), int(e[1].Int())});
    EXPECT_TRUE(std::is_sorted(edges.begin(), edges.end()));
    EXPECT_TRUE(std::adjacent_find(edges.begin(), edges.end()) == edges.end());
    std::vector<int> degree(n, 0);
    double weight = 0;
    for (const TEdge& e : edges) {
      ASSERT_TRUE(0 <= e.A && e.A < e.B && e.B < n);
      ++degree[e.A];
      ++degree[e.B];
      weight += std::hypot(double(pts[e.A].X - pts[e.B].X), double(pts[e.A].Y - pts[e.B].Y));
    }
    const TCheckReport check = CheckPseudoTriangulation(pts, edges);
    ASSERT_TRUE(check.Valid) << row.args << ": " << check.Reason;
    const auto& s = j["stats"];
    EXPECT_NEAR(s["weight"].N, weight, 1e-9 * weight);
    EXPECT_EQ(s["vertex_degree"].Int(), *std::max_element(degree.begin(), degree.end()));
    EXPECT_EQ(s["points"].Int(), n);
    EXPECT_EQ(s["faces"].Int(), check.Faces);
    EXPECT_EQ(s["triangles"].Int(), check.Triangles);
    EXPECT_EQ(j.Has("layers"), row.method == "layers");
    EXPECT_EQ(j.Has("dcel"), row.method != "layers");
    if (row.method == "sweep") {  // n - 2 faces, half-edges as 5 integers
      EXPECT_EQ(edges.size(), size_t(2 * n - 3));
      EXPECT_EQ(j["dcel"]["vertices"].size(), size_t(n));
      EXPECT_EQ(j["dcel"]["faces"].size(), size_t(n - 2));
      for (const auto& h : j["dcel"]["halfedges"].A) {
        ASSERT_EQ(h.size(), 5u);
        for (const auto& f : h.A) EXPECT_GE(f.Int(), -1);
      }
    }
    if (row.method == "incremental-face") {  // the fan leaves the topmost point
      EXPECT_EQ(degree[0], 7);
      EXPECT_EQ(j["dcel"]["faces"].size(), 6u);
    }
    if (row.method == "layers") {
      // Each record: its point, a layer from 1, and slots naming points; the edges are exactly
      // v-next, v-link1 and v-link2 of every record, without the empty slots.
      ASSERT_EQ(j["layers"].size(), size_t(n));
      std::vector<TEdge> expected;
      for (int v = 0; v < n; ++v) {
        const auto& r = j["layers"][size_t(v)];
        ASSERT_EQ(r.size(), 7u);
        EXPECT_EQ(r[0].Int(), pts[size_t(v)].X);
        EXPECT_EQ(r[1].Int(), pts[size_t(v)].Y);
        EXPECT_GE(r[2].Int(), 1);
        for (size_t k = 3; k < 7; ++k) ASSERT_TRUE(0 <= r[k].Int() && r[k].Int() < n);
        for (size_t k : {4u, 5u, 6u})
          if (r[k].Int() != v)
            expected.push_back({std::min(v, int(r[k].Int())), std::max(v, int(r[k].Int()))});
      }
      std::sort(expected.begin(), expected.end());
      expected.erase(std::unique(expected.begin(), expected.end()), expected.end());
      EXPECT_EQ(edges, expected);
    }
    if (row.method == "sweep-triangulation" || row.method == "delaunay") {
      EXPECT_EQ(check.Triangles, check.Faces) << row.method;
    } else if (row.method.starts_with("remove-")) {
      EXPECT_TRUE(std::includes(previous.begin(), previous.end(), edges.begin(), edges.end()));
    }
    previous = edges;
  }
}

TEST_F(CliTool, OutSavesThePointsAsTheMethodLeftThemAndCountsTheMovedOnes) {
  // Unsorted, and the first three in sweep order are collinear: point 0 moves one pixel left.
  const std::string in = WritePT("in.pt", {{20, 20}, {30, 0}, {0, 0}, {10, 10}});
  ASSERT_EQ(Cli(in + " --out " + Path("out.pt") + " --json " + Path("r.json")), 0) << err;
  EXPECT_EQ(err, "1 point was moved to avoid coincident or collinear positions.\n");
  const TArchivoPT saved = LoadPT(Path("out.pt"));
  EXPECT_EQ(saved.Header, TCabeceraPT::Nub);
  EXPECT_EQ(saved.Points, (TNube{{-1, 0}, {10, 10}, {20, 20}, {30, 0}}));
  const testjson::Value j = testjson::Parse(Slurp(Path("r.json")));
  EXPECT_EQ(JsonPoints(j), saved.Points);
  EXPECT_EQ(j["moved"].Int(), 1);
  // Running again on the saved file changes nothing more.
  ASSERT_EQ(Cli(Path("out.pt") + " --out " + Path("out2.pt") + " --json -"), 0) << err;
  EXPECT_EQ(Slurp(Path("out2.pt")), Slurp(Path("out.pt")));
  EXPECT_EQ(Json()["moved"].Int(), 0);
}

TEST_F(CliTool, ShortestPathsTakesAPolygonFileAndFillsThePocketsOnRequest) {
  // A polygon with a notch: 0 (0,0), 1 (100,0), 2 (100,100), 3 (50,20) reflex, 4 (0,100).
  const std::string notch =
      WritePT("notch.pt", {{0, 0}, {100, 0}, {100, 100}, {50, 20}, {0, 100}}, true);
  ASSERT_EQ(Cli("--method shortest-paths --check --json - --out " + Path("o.pt") + " " + notch), 0)
      << err;
  const testjson::Value j = Json();
  EXPECT_TRUE(j["polygon"].B);
  const TCheckReport inside =
      CheckPseudoTriangulationOfPolygon(JsonPoints(j), {0, 1, 2, 3, 4}, JsonEdges(j));
  EXPECT_TRUE(inside.Valid) << inside.Reason;
  EXPECT_TRUE(LoadPT(Path("o.pt")).Polygon());
  EXPECT_EQ(LoadPT(Path("o.pt")).Points, JsonPoints(j));
  ASSERT_EQ(Cli("--method shortest-paths --pockets --check --json - " + notch), 0) << err;
  const TCheckReport hull = CheckPseudoTriangulation(JsonPoints(Json()), JsonEdges(Json()));
  EXPECT_TRUE(hull.Valid) << hull.Reason;
  EXPECT_GT(Json()["edges"].size(), j["edges"].size());
}

TEST_F(CliTool, RandomChooserIsReproducibleBySeedAndNotAlwaysTheFan) {
  const std::string octagon = WritePT("oct.pt", kOctagon);
  ASSERT_EQ(Cli("--method incremental-face --json - " + octagon), 0) << err;
  const std::vector<TEdge> fan = JsonEdges(Json());
  bool differs = false;
  for (int seed = 1; seed <= 3; ++seed) {
    const std::string args = "--method incremental-face --triangulation random --check --seed " +
                             std::to_string(seed) + " --json - " + octagon;
    ASSERT_EQ(Cli(args), 0) << seed << err;
    const std::string first = out;
    ASSERT_EQ(Cli(args), 0);
    EXPECT_EQ(out, first);
    differs = differs || JsonEdges(Json()) != fan;
  }
  EXPECT_TRUE(differs);
}

TEST_F(CliTool, DelaunayFlipsTheSweepDiagonalOfACocircularSquare) {
  const std::string square = WritePT("sq.pt", {{0, 0}, {100, 0}, {100, 100}, {0, 100}});
  ASSERT_EQ(Cli("--method sweep-triangulation --json - " + square), 0) << err;
  // Sorted: (0, 100), (0, 0), (100, 100), (100, 0). The sweep joins 1-2, the flip 0-3.
  ASSERT_EQ(JsonPoints(Json()), (TNube{{0, 100}, {0, 0}, {100, 100}, {100, 0}}));
  EXPECT_EQ(JsonEdges(Json()), (std::vector<TEdge>{{0, 1}, {0, 2}, {1, 2}, {1, 3}, {2, 3}}));
  ASSERT_EQ(Cli("--method delaunay --json - " + square), 0) << err;
  EXPECT_EQ(JsonEdges(Json()), (std::vector<TEdge>{{0, 1}, {0, 2}, {0, 3}, {1, 3}, {2, 3}}));
}

TEST_F(CliTool, RefusalsExitWith2AndTheWindowsMessage) {
  const std::string line = WritePT("line.pt", {{0, 0}, {10, 10}, {20, 20}, {30, 30}});
  const std::string same = WritePT("same.pt", {{5, 5}, {5, 5}, {5, 5}});
  const std::string notch = WritePT("n.pt", {{0, 0}, {100, 0}, {100, 100}, {50, 20}, {0, 100}});
  const std::string bow = WritePT("bow.pt", {{0, 0}, {10, 10}, {10, 0}, {0, 10}}, true);
  std::ofstream(Path("bad.pt"), std::ios::binary) << "NUB\r\n1\r\n1.5\r\n";
  const std::string collinear = "At least 3 non-collinear points are needed.\n";
  const std::string coincident = "No coincident points allowed.\n";
  const std::string few = "At least 3 points are needed.\n";
  const std::vector<std::pair<std::string, std::string>> rows{
      {"--method incremental-face " + line, collinear},
      {"--method incremental-vertex " + line, collinear},
      {"--method sweep " + same, coincident},
      {"--method layers " + same, coincident},
      {"--method delaunay " + same, coincident},
      {"--method incremental-face " + same, coincident},
      {"--method shortest-paths " + notch, "Polygon must be defined.\n"},
      {"--method shortest-paths " + bow, "Polygon must be simple. No crossing edges allowed.\n"},
      {"--random 2", few},
      {WritePT("two.pt", {{1, 1}, {5, 5}}), few},
      {Path("none.pt"), "File does not exist. Cannot load.\n"},
      {Path("bad.pt"), "'1.5' is not a valid integer value\n"}};
  for (const auto& [args, message] : rows) {
    EXPECT_EQ(Cli(args), 2) << args;
    EXPECT_EQ(err, message) << args;
    EXPECT_EQ(out, "") << args;
  }
}

TEST_F(CliTool, AnOutputThatCannotBeWrittenIsNamedAndLeavesTheOthersAlone) {
  std::filesystem::create_directories(Path("taken.svg"));
  std::ofstream(Path("old.json")) << "old";
  struct Row {
    std::string args, failed, reason;
  };
  for (const Row& row : std::vector<Row>{
           {"--json " + Path("no/such/dir.json"), Path("no/such/dir.json"), "Folder not found"},
           {"--image " + Path("taken.svg"), Path("taken.svg"), "File access denied"},
           {"--image " + Path("no/r.png"), Path("no/r.png"), "Folder not found"},
           {"--json " + Path("old.json") + " --out " + Path("no/o.pt"), Path("no/o.pt"),
            "Folder not found"}}) {
    EXPECT_EQ(Cli("--random 5 " + row.args), 2) << row.args;
    EXPECT_EQ(err, "Cannot write '" + row.failed + "': " + row.reason + "\n") << row.args;
    EXPECT_EQ(out, "") << row.args;
  }
  EXPECT_EQ(Slurp(Path("old.json")), "old");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), {}), 2);  // no temporaries
}

TEST_F(CliTool, StandardOutputTakesThePointsAndThePipeIsWrittenThrough) {
  ASSERT_EQ(Cli("--random 4 --uniform --out -"), 0) << err;
  EXPECT_EQ(ParsePT(out).Points.size(), 4u);
  EXPECT_EQ(Lines(err).size(), 6u);  // the figures
  // The program itself: /dev/stdout on a pipe is written through, not replaced.
  ASSERT_EQ(Spawn("--random 4 --json /dev/stdout 2>" + Path("cli.err") + " </dev/null | cat >" +
                  Path("piped")),
            0);
  EXPECT_EQ(Slurp(Path("cli.err")), "");
  const std::string json = Slurp(Path("piped"));
  EXPECT_TRUE(testjson::Parse(json.substr(0, json.find("Weight"))).Has("points"));
}

}  // namespace
}  // namespace qv
