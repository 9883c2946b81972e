// --count, --enumerate and --flips.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "cli/CliPrueba.h"
#include "io/Salida.h"

namespace qv::cli {
namespace {

using CliFlips = test::CliPrueba;

TNube Convex(int n) {
  TNube points;
  for (int i = 0; i < n; ++i) points.push_back({i * 7, i * i});
  return points;
}

TEST_F(CliFlips, CountsMatchThePublishedOnesOnTextAndJson) {
  const struct {
    TNube Points;
    const char* Text;
    int Pointed, Triangulations;
  } rows[] = {
      {Convex(7), "Pointed pseudo-triangulations: 42\nTriangulations: 42\n", 42, 42},
      {{{0, 0}, {100, 0}, {40, 90}, {45, 30}},
       "Pointed pseudo-triangulations: 3\nTriangulations: 1\n",
       3,
       1},
  };
  for (const auto& row : rows) {
    const std::string file = WritePT("in.pt", row.Points);
    EXPECT_EQ(Cli("--count " + file), kExitOk) << err;
    EXPECT_EQ(out, row.Text);
    EXPECT_EQ(Cli("--count --json - " + file), kExitOk);
    EXPECT_EQ(err, row.Text);
    EXPECT_EQ(Json()["pointed_pseudo_triangulations"].Int(), row.Pointed);
    EXPECT_EQ(Json()["triangulations"].Int(), row.Triangulations);
  }
}

TEST_F(CliFlips, EnumerationWritesEachPointedOneOnceAndTogetherWithTheNumbers) {
  const TNube points = Convex(6);
  ASSERT_EQ(Cli("--enumerate " + Path("all.jsonl") + " " + WritePT("in.pt", points)), kExitOk);
  std::istringstream lines(Slurp(Path("all.jsonl")));
  std::set<std::vector<TEdge>> seen;
  for (std::string line; std::getline(lines, line);) {
    const std::vector<TEdge> edges = test::JsonEdges(testjson::Parse(line));
    EXPECT_TRUE(CheckPseudoTriangulation(points, edges).Pointed());
    EXPECT_TRUE(seen.insert(edges).second);
  }
  EXPECT_EQ(seen.size(), 14u);
  const std::string five = WritePT("five.pt", Convex(5));
  ASSERT_EQ(Cli("--count --enumerate - " + five), kExitOk) << err;
  EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 5);
  EXPECT_EQ(err, "Pointed pseudo-triangulations: 5\nTriangulations: 5\n");
  // The JSON cannot be written (its folder is missing): the enumeration keeps its old content.
  WriteFileSafely(Path("all.jsonl"), "old\n");
  EXPECT_EQ(Cli("--count --enumerate " + Path("all.jsonl") + " --json " + Path("none/n.json") +
                " " + five),
            kExitFailure);
  EXPECT_NE(err.find("n.json"), std::string::npos) << err;
  EXPECT_EQ(Slurp(Path("all.jsonl")), "old\n");
}

TEST_F(CliFlips, RandomFlipsKeepAPointedResult) {
  EXPECT_EQ(Cli("--random 40 --uniform --seed 5 --flips 30 --check"), kExitOk) << err;
  EXPECT_NE(out.find("Faces : 38\n"), std::string::npos);
  EXPECT_NE(out.find(", pointed\n"), std::string::npos);
}

TEST_F(CliFlips, RefusalsSayWhy) {
  const std::string fourteen = WritePT("a.pt", Convex(14)), five = WritePT("c.pt", Convex(5));
  const std::string e = Path("e"), f = Path("f");
  const struct {
    std::string Line;
    int Status;
    const char* Message;
  } rows[] = {
      {"--count " + fourteen, kExitFailure, "at most 13 points"},
      {"--count " + WritePT("b.pt", {{0, 0}, {5, 5}, {10, 10}, {3, 9}}), kExitFailure,
       "general position"},
      {"--count --check " + fourteen, kExitUsage, "not --check"},
      {"--enumerate " + Path("") + " " + five, kExitFailure, ""},
      {"--method layers --flips 3 " + five, kExitFailure,
       "Flips need a pointed pseudo-triangulation."},
      {"--flips 3 --flips 4 " + five, kExitUsage, "--flips given more than once"},
      {"--count --enumerate= " + five, kExitUsage, "--enumerate needs a file name"},
      {"--enumerate " + e + " --enumerate " + f + " " + five, kExitUsage,
       "--enumerate given more than once"},
      {"--enumerate " + e + " --json " + f + " " + five, kExitUsage, "needs --count"},
      {"--count --enumerate " + e + " --json " + e + " " + five, kExitUsage,
       "two outputs name the same file"},
      {"--count --enumerate - --json - " + five, kExitUsage, "cannot share standard output"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(Cli(row.Line), row.Status) << row.Line;
    EXPECT_NE(err.find(row.Message), std::string::npos) << row.Line << ": " << err;
  }
}

}  // namespace
}  // namespace qv::cli
