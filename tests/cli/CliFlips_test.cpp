// --count, --enumerate and --flips.
#include <gtest/gtest.h>

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

// A convex heptagon has Catalan(5) = 42 triangulations, all pointed; a triangle with one point
// inside has one triangulation and three pointed ones (two of its three spokes each).
TEST_F(CliFlips, CountsMatchThePublishedOnesOnTextAndJson) {
  for (const auto& [points, pointed, triangulations] :
       {std::tuple(Convex(7), 42, 42),
        std::tuple(TNube{{0, 0}, {100, 0}, {40, 90}, {45, 30}}, 3, 1)}) {
    const std::string file = WritePT("in.pt", points);
    const std::string text = "Pointed pseudo-triangulations: " + std::to_string(pointed) +
                             "\nTriangulations: " + std::to_string(triangulations) + "\n";
    EXPECT_EQ(Cli("--count " + file), kExitOk) << err;
    EXPECT_EQ(out, text);
    EXPECT_EQ(Cli("--count --json - " + file), kExitOk);
    EXPECT_EQ(err, text);
    EXPECT_EQ(OutJson()["pointed_pseudo_triangulations"].toInt(), pointed);
    EXPECT_EQ(OutJson()["triangulations"].toInt(), triangulations);
  }
}

TEST_F(CliFlips, EnumerationWritesEachPointedOneOnceAndTogetherWithTheNumbers) {
  const TNube points = Convex(6);
  ASSERT_EQ(Cli("--enumerate " + Path("all.jsonl") + " " + WritePT("in.pt", points)), kExitOk);
  std::istringstream lines(Slurp(Path("all.jsonl")));
  std::set<std::vector<TEdge>> seen;
  for (std::string line; std::getline(lines, line);) {
    const std::vector<TEdge> edges = test::JsonEdges(test::ParseJson(line));
    EXPECT_TRUE(CheckPseudoTriangulation(points, edges).Pointed());
    EXPECT_TRUE(seen.insert(edges).second);
  }
  EXPECT_EQ(seen.size(), 14u);  // Catalan(4)
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

TEST_F(CliFlips, RandomFlipsKeepAPointedResultAndRefusalsSayWhy) {
  EXPECT_EQ(Cli("--random 40 --uniform --seed 5 --flips 30 --check"), kExitOk) << err;
  EXPECT_NE(out.find("Faces : 38\n"), std::string::npos);
  EXPECT_NE(out.find(", pointed\n"), std::string::npos);
  const std::string fourteen = WritePT("a.pt", Convex(14)), five = WritePT("c.pt", Convex(5));
  const std::string e = Path("e"), f = Path("f");
  const std::tuple<std::string, int, const char*> rows[] = {
      {"--count " + fourteen, kExitFailure, "at most 13 points"},
      {"--count " + WritePT("b.pt", {{0, 0}, {5, 5}, {10, 10}, {3, 9}}), kExitFailure,
       "general position"},
      {"--count --check " + fourteen, kExitUsage, "not --check"},
      {"--enumerate " + Path("") + " " + five, kExitFailure, ""},
      {"--method layers --flips 3 " + five, kExitFailure,
       "Flips need a pointed pseudo-triangulation."},
      {"--enumerate " + e + " --json " + f + " " + five, kExitUsage, "needs --count"},
      {"--count --enumerate " + e + " --json " + e + " " + five, kExitUsage,
       "two outputs name the same file"},
      {"--count --enumerate - --json - " + five, kExitUsage, "cannot share standard output"},
  };
  for (const auto& [line, status, message] : rows) {
    EXPECT_EQ(Cli(line), status) << line;
    EXPECT_NE(err.find(message), std::string::npos) << line << ": " << err;
  }
}

}  // namespace
}  // namespace qv::cli
