// quilvaron-cli as a program: exit statuses, printed figures, JSON shape and consistency, and
// the saved points.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CliPrueba.h"

namespace qv {
namespace {

using test::JsonEdges;
using test::JsonPoints;
using test::TRunResult;
using CliProgram = test::CliPrueba;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST_F(CliProgram, PrintsTheSixFiguresWithThePanelCaptionsThenTheVerdict) {
  TRunResult r = Run("--random 30 --seed 5 --check");
  ASSERT_EQ(r.Status, 0) << r.Err;
  EXPECT_EQ(r.Err, "");
  std::vector<std::string> lines = Lines(r.Out);
  ASSERT_EQ(lines.size(), 7u) << r.Out;
  const char* captions[] = {"Weight     : ",
                            "V degree  : ",
                            "F degree  : ",
                            "Points      : ",
                            "Faces : ",
                            "Triangles : ",
                            "Check: pseudo-triangulation"};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(lines[i].rfind(captions[i], 0), 0u) << lines[i];
  EXPECT_EQ(lines[3], "Points      : 30");
  EXPECT_EQ(lines[4], "Faces : 28");  // n - 2 faces for the sweep
  // A triangulated grid: its 16 inner vertices are not pointed; the first ten are listed.
  TNube grid;
  for (int x = 0; x < 6; ++x)
    for (int y = 0; y < 6; ++y) grid.push_back({10 * x, 10 * y + (x % 2) * 3});
  r = Run("--method sweep-triangulation --check " + WritePT("grid.pt", grid));
  lines = Lines(r.Out);
  ASSERT_EQ(lines.size(), 7u) << r.Out;
  std::istringstream verdict(lines[6].substr(lines[6].find("triangles, ") + 11));
  std::vector<std::string> words;
  for (std::string w; verdict >> w;) words.push_back(w);
  ASSERT_EQ(words.size(), 14u) << lines[6];  // N non-pointed vertices: ten indices ...
  EXPECT_GE(std::atoi(words[0].c_str()), 16);
  EXPECT_EQ(words.back(), "...");
}

TEST_F(CliProgram, WeightIsGroupedWithCommas) {
  // A triangle with sides 3000, 4000, 5000.
  TRunResult r = Run(WritePT("t.pt", {{0, 0}, {3000, 0}, {0, 4000}}));
  ASSERT_EQ(r.Status, 0) << r.Err;
  EXPECT_EQ(Lines(r.Out)[0], "Weight     : 12,000");
}

// Edge lengths, degrees and faces recomputed from the JSON's points and edges alone.
void ExpectConsistentSweepJson(const testjson::Value& j, int n) {
  EXPECT_EQ(j["method"].S, "sweep");
  EXPECT_FALSE(j["polygon"].B);
  ASSERT_EQ(j["points"].size(), static_cast<size_t>(n));
  TNube pts;
  for (const auto& p : j["points"].A) {
    ASSERT_EQ(p.size(), 2u);
    pts.push_back({static_cast<int32_t>(p[0].Int()), static_cast<int32_t>(p[1].Int())});
  }
  const auto& edges = j["edges"];
  ASSERT_EQ(edges.size(), static_cast<size_t>(2 * n - 3));
  std::vector<TEdge> list;
  std::vector<int> degree(n, 0);
  double weight = 0;
  for (const auto& e : edges.A) {
    TEdge t{static_cast<int>(e[0].Int()), static_cast<int>(e[1].Int())};
    ASSERT_TRUE(0 <= t.A && t.A < t.B && t.B < n);
    list.push_back(t);
    ++degree[t.A];
    ++degree[t.B];
    weight += std::hypot(double(pts[t.A].X - pts[t.B].X), double(pts[t.A].Y - pts[t.B].Y));
  }
  EXPECT_TRUE(std::is_sorted(list.begin(), list.end()));
  EXPECT_TRUE(std::adjacent_find(list.begin(), list.end()) == list.end());
  TCheckReport check = CheckPseudoTriangulation(pts, list);
  ASSERT_TRUE(check.Valid) << check.Reason;
  const auto& s = j["stats"];
  EXPECT_NEAR(s["weight"].N, weight, 1e-9 * weight);
  EXPECT_EQ(s["vertex_degree"].Int(), *std::max_element(degree.begin(), degree.end()));
  EXPECT_EQ(s["points"].Int(), n);
  EXPECT_EQ(s["faces"].Int(), check.Faces);
  EXPECT_EQ(s["triangles"].Int(), check.Triangles);
  // The subdivision: half-edges as 5 integers, n - 2 faces.
  const auto& d = j["dcel"];
  EXPECT_EQ(d["vertices"].size(), static_cast<size_t>(n));
  EXPECT_EQ(d["faces"].size(), static_cast<size_t>(n - 2));
  for (const auto& h : d["halfedges"].A) {
    ASSERT_EQ(h.size(), 5u);
    for (const auto& f : h.A) EXPECT_GE(f.Int(), -1);
  }
  EXPECT_FALSE(j.Has("layers"));
}

TEST_F(CliProgram, JsonFileIsParseableAndAgreesWithItsOwnEdges) {
  for (const char* input :
       {"--random 40 --seed 9", "--random 60 --normal 30 --canvas 300x200 --angle 135"}) {
    TRunResult r = Run(std::string(input) + " --json " + Path("r.json"));
    ASSERT_EQ(r.Status, 0) << input << r.Err;
    testjson::Value j = testjson::Parse(Slurp(Path("r.json")));
    int n = std::atoi(std::string(input).substr(9).c_str());
    ExpectConsistentSweepJson(j, n);
  }
}

TEST_F(CliProgram, JsonOnStandardOutputLeavesTheFiguresOnStandardError) {
  TRunResult r = Run("--random 12 --angle 90 --json -");
  ASSERT_EQ(r.Status, 0) << r.Err;
  testjson::Value j = testjson::Parse(r.Out);
  ExpectConsistentSweepJson(j, 12);
  EXPECT_EQ(j["angle"].Int(), 90);
  EXPECT_EQ(j["moved"].Int(), 0);
  EXPECT_EQ(Lines(r.Err).size(), 6u);
  // At 90 degrees the sweep runs up the screen: y never increases along the final order.
  for (size_t i = 1; i < j["points"].size(); ++i)
    EXPECT_GE(j["points"][i - 1][1].Int(), j["points"][i][1].Int());
}

TEST_F(CliProgram, OutSavesThePointsAsTheMethodLeftThem) {
  // Unsorted, and the first three in sweep order are collinear: point 0 moves one pixel left.
  std::string in = WritePT("in.pt", {{20, 20}, {30, 0}, {0, 0}, {10, 10}});
  TRunResult r = Run(in + " --out " + Path("out.pt") + " --json " + Path("r.json"));
  ASSERT_EQ(r.Status, 0) << r.Err;
  TArchivoPT saved = LoadPT(Path("out.pt"));
  EXPECT_EQ(saved.Header, TCabeceraPT::Nub);
  EXPECT_EQ(saved.Points, (TNube{{-1, 0}, {10, 10}, {20, 20}, {30, 0}}));
  EXPECT_EQ(r.Err, "1 point was moved to avoid coincident or collinear positions.\n");
  testjson::Value j = testjson::Parse(Slurp(Path("r.json")));
  EXPECT_EQ(j["moved"].Int(), 1);
  for (size_t i = 0; i < saved.Points.size(); ++i) {
    EXPECT_EQ(j["points"][i][0].Int(), saved.Points[i].X);
    EXPECT_EQ(j["points"][i][1].Int(), saved.Points[i].Y);
  }
  // Running again on the saved file changes nothing more.
  TRunResult again = Run(Path("out.pt") + " --out " + Path("out2.pt"));
  ASSERT_EQ(again.Status, 0) << again.Err;
  EXPECT_EQ(Slurp(Path("out2.pt")), Slurp(Path("out.pt")));
}

// A polygon with a notch: 0 (0,0), 1 (100,0), 2 (100,100), 3 (50,20) reflex, 4 (0,100).
const TNube kNotched = {{0, 0}, {100, 0}, {100, 100}, {50, 20}, {0, 100}};

TEST_F(CliProgram, ShortestPathsTakesAPolygonFile) {
  SavePT(Path("notch.pt"), kNotched, true);
  TRunResult r = Run("--method shortest-paths --check " + Path("notch.pt") + " --json " +
                     Path("r.json") + " --out " + Path("o.pt"));
  ASSERT_EQ(r.Status, 0) << r.Err;
  testjson::Value j = testjson::Parse(Slurp(Path("r.json")));
  EXPECT_TRUE(j["polygon"].B);
  TNube pts = JsonPoints(j);
  std::vector<int> order = {0, 1, 2, 3, 4};
  TCheckReport inside = CheckPseudoTriangulationOfPolygon(pts, order, JsonEdges(j));
  EXPECT_TRUE(inside.Valid) << inside.Reason;
  TArchivoPT saved = LoadPT(Path("o.pt"));
  EXPECT_TRUE(saved.Polygon());
  EXPECT_EQ(saved.Points, pts);
  // With the pockets filled the result covers the hull.
  r = Run("--method shortest-paths --pockets --check --json " + Path("p.json") + " " +
          Path("notch.pt"));
  ASSERT_EQ(r.Status, 0) << r.Err;
  testjson::Value p = testjson::Parse(Slurp(Path("p.json")));
  TCheckReport hull = CheckPseudoTriangulation(JsonPoints(p), JsonEdges(p));
  EXPECT_TRUE(hull.Valid) << hull.Reason;
  EXPECT_GT(p["edges"].size(), j["edges"].size());
}

TEST_F(CliProgram, ShortestPathsWithRandomChooserTriangulations) {
  // A ten-pointed star: its geodesics differ with the chosen triangulation.
  TNube star;
  for (int i = 0; i < 10; ++i) {
    int r = i % 2 ? 40 : 100;
    star.push_back(
        {static_cast<int32_t>(std::lround(200 + r * std::cos(i * std::numbers::pi / 5))),
         static_cast<int32_t>(std::lround(200 + r * std::sin(i * std::numbers::pi / 5)))});
  }
  SavePT(Path("star.pt"), star, true);
  for (int seed = 1; seed <= 2; ++seed) {
    TRunResult r = Run("--method shortest-paths --triangulation random --check --seed " +
                       std::to_string(seed) + " " + Path("star.pt"));
    EXPECT_EQ(r.Status, 0) << seed << r.Out << r.Err;
  }
}

TEST_F(CliProgram, ShortestPathsNeedsASimplePolygon) {
  TRunResult points = Run("--method shortest-paths " + WritePT("n.pt", kNotched));
  EXPECT_EQ(points.Status, 2);
  EXPECT_EQ(points.Err, "Polygon must be defined.\n");
  SavePT(Path("bow.pt"), {{0, 0}, {10, 10}, {10, 0}, {0, 10}}, true);
  TRunResult bow = Run("--method shortest-paths " + Path("bow.pt"));
  EXPECT_EQ(bow.Status, 2);
  EXPECT_EQ(bow.Err, "Polygon must be simple. No crossing edges allowed.\n");
}

// Degree of every vertex from the JSON's edge list.
std::vector<int> Degrees(const std::vector<TEdge>& edges, size_t n) {
  std::vector<int> degree(n, 0);
  for (const TEdge& e : edges) {
    ++degree[e.A];
    ++degree[e.B];
  }
  return degree;
}

// A convex octagon, unsorted, with its topmost point last in the file.
TNube Octagon() {
  TNube pts;
  for (int k = 1; k <= 8; ++k) {
    const double a = (k % 8) * std::numbers::pi / 4 - std::numbers::pi / 2;
    pts.push_back({static_cast<int32_t>(std::lround(300 + 200 * std::cos(a))),
                   static_cast<int32_t>(std::lround(300 + 200 * std::sin(a)))});
  }
  return pts;
}

TEST_F(CliProgram, IncrementalFaceStartsFromTheChosenHullTriangulation) {
  std::string octagon = WritePT("oct.pt", Octagon());
  TRunResult fan =
      Run("--method incremental-face --check --json " + Path("fan.json") + " " + octagon);
  ASSERT_EQ(fan.Status, 0) << fan.Err;
  testjson::Value j = testjson::Parse(Slurp(Path("fan.json")));
  EXPECT_EQ(j["method"].S, "incremental-face");
  // Sorted ascending by y: the topmost point is point 0 and the fan leaves it.
  TNube pts = JsonPoints(j);
  for (size_t i = 1; i < pts.size(); ++i) EXPECT_LE(pts[i - 1].Y, pts[i].Y);
  EXPECT_EQ(Degrees(JsonEdges(j), pts.size())[0], 7);
  EXPECT_EQ(j["dcel"]["faces"].size(), 6u);
  // Random flips of the chooser: reproducible by seed, valid, and not always the fan.
  bool differs = false;
  for (int seed = 1; seed <= 3; ++seed) {
    std::string args = "--method incremental-face --triangulation random --check --seed " +
                       std::to_string(seed) + " --json - " + octagon;
    TRunResult r = Run(args), again = Run(args);
    ASSERT_EQ(r.Status, 0) << seed << r.Err;
    EXPECT_EQ(r.Out, again.Out);
    differs = differs || JsonEdges(testjson::Parse(r.Out)) != JsonEdges(j);
  }
  EXPECT_TRUE(differs);
}

// The face variant's own order is covered above; the vertex variant sorts by x.
TEST_F(CliProgram, IncrementalVertexSortsByXThenDescendingY) {
  TRunResult r = Run("--method incremental-vertex --check --random 60 --seed 1 --json -");
  ASSERT_EQ(r.Status, 0) << r.Err;
  TNube pts = JsonPoints(testjson::Parse(r.Out));
  ASSERT_EQ(pts.size(), 60u);
  for (size_t i = 1; i < pts.size(); ++i)
    EXPECT_TRUE(pts[i - 1].X < pts[i].X || (pts[i - 1].X == pts[i].X && pts[i - 1].Y > pts[i].Y));
}

TEST_F(CliProgram, CollinearAndCoincidentPointsAreRefusedAlikeByEveryMethod) {
  const std::string line = WritePT("line.pt", {{0, 0}, {10, 10}, {20, 20}, {30, 30}});
  const std::string same = WritePT("same.pt", {{5, 5}, {5, 5}, {5, 5}});
  const std::string collinear = "At least 3 non-collinear points are needed.\n";
  const std::string coincident = "No coincident points allowed.\n";
  struct Row {
    const char* method;
    const std::string& file;
    const std::string& message;
  };
  for (const Row& row :
       {Row{"incremental-face", line, collinear}, Row{"incremental-vertex", line, collinear},
        Row{"sweep", same, coincident}, Row{"layers", same, coincident},
        Row{"delaunay", same, coincident}, Row{"incremental-face", same, coincident}}) {
    TRunResult r = Run(std::string("--method ") + row.method + " " + row.file);
    EXPECT_EQ(r.Status, 2) << row.method;
    EXPECT_EQ(r.Err, row.message) << row.method;
    EXPECT_EQ(r.Out, "");
  }
}

TEST_F(CliProgram, FailuresOfTheSystemExitWith2AndTheWindowsMessage) {
  EXPECT_EQ(Run("--random 2").Err, "At least 3 points are needed.\n");
  TRunResult two = Run(WritePT("two.pt", {{1, 1}, {5, 5}}));
  EXPECT_EQ(two.Status, 2);
  EXPECT_EQ(two.Err, "At least 3 points are needed.\n");
  EXPECT_EQ(two.Out, "");
  TRunResult missing = Run(Path("none.pt"));
  EXPECT_EQ(missing.Status, 2);
  EXPECT_EQ(missing.Err, "File does not exist. Cannot load.\n");
  std::ofstream(Path("bad.pt"), std::ios::binary) << "NUB\r\n1\r\n1.5\r\n";
  TRunResult bad = Run(Path("bad.pt"));
  EXPECT_EQ(bad.Status, 2);
  EXPECT_EQ(bad.Err, "'1.5' is not a valid integer value\n");
}

TEST_F(CliProgram, AnOutputThatCannotBeWrittenIsNamedAndLeavesTheOthersAlone) {
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
    TRunResult r = Run("--random 5 " + row.args);
    EXPECT_EQ(r.Status, 2) << row.args;
    EXPECT_EQ(r.Err, "Cannot write '" + row.failed + "': " + row.reason + "\n") << row.args;
    EXPECT_EQ(r.Out, "") << row.args;
  }
  EXPECT_EQ(Slurp(Path("old.json")), "old");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), {}), 4);  // no temporaries
}

TEST_F(CliProgram, StandardOutputTakesTheJsonOrThePointsAndPassesPipesThrough) {
  TRunResult points = Run("--random 4 --uniform --out -");
  ASSERT_EQ(points.Status, 0) << points.Err;
  EXPECT_EQ(ParsePT(points.Out).Points.size(), 4u);
  EXPECT_EQ(Lines(points.Err).size(), 6u);  // the figures
  // /dev/stdout on a pipe is written through, not replaced.
  const std::string piped = std::string(QUILVARON_CLI) + " --random 4 --json /dev/stdout 2>" +
                            Path("cli.err") + " </dev/null | cat >" + Path("piped");
  ASSERT_EQ(std::system(piped.c_str()), 0);
  EXPECT_EQ(Slurp(Path("cli.err")), "");
  const std::string json = Slurp(Path("piped"));
  EXPECT_TRUE(testjson::Parse(json.substr(0, json.find("Weight"))).Has("points"));
}

TEST_F(CliProgram, BadUsageExitsWith1AndShowsTheUsage) {
  for (const char* args : {"", "--bogus x.pt", "--method nothing x.pt"}) {
    TRunResult r = Run(args);
    EXPECT_EQ(r.Status, 1) << args;
    EXPECT_NE(r.Err.find("usage: quilvaron-cli"), std::string::npos) << args;
    EXPECT_EQ(r.Out, "") << args;
  }
}

TEST_F(CliProgram, HelpGoesToStandardOutput) {
  TRunResult r = Run("--help");
  EXPECT_EQ(r.Status, 0);
  EXPECT_EQ(r.Out.rfind("usage: quilvaron-cli", 0), 0u);
}

}  // namespace
}  // namespace qv
