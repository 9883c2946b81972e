// --count, --enumerate and --flips, run in-process.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <sstream>

#include "TempDir.h"
#include "cli/CliRun.h"
#include "cli/JsonLite.h"
#include "io/ArchivoPT.h"
#include "io/Salida.h"
#include "methods/Flips.h"

namespace qv::cli {
namespace {

class CliFlips : public TScratchTest {
 protected:
  int Run(const std::string& line) {
    std::vector<std::string> args;
    std::istringstream words(line);
    for (std::string w; words >> w;) args.push_back(w == "DIR/" ? Path("") : w);
    out.str("");
    err.str("");
    return RunCli(args, out, err, DefaultMethods());
  }
  std::string File(const std::string& name, const TNube& points) {
    SavePT(Path(name), points, false);
    return Path(name);
  }
  static TNube Convex(int n) {
    TNube points;
    for (int i = 0; i < n; ++i) points.push_back({i * 7, i * i});
    return points;
  }
  std::ostringstream out, err;
};

TEST_F(CliFlips, CountsMatchThePublishedOnes) {
  const struct {
    TNube Points;
    const char* Text;
  } rows[] = {
      {Convex(7), "Pointed pseudo-triangulations: 42\nTriangulations: 42\n"},
      {{{0, 0}, {100, 0}, {40, 90}, {45, 30}},
       "Pointed pseudo-triangulations: 3\nTriangulations: 1\n"},
  };
  for (const auto& row : rows) {
    const std::string file = File("in.pt", row.Points);
    EXPECT_EQ(Run("--count " + file), kExitOk) << err.str();
    EXPECT_EQ(out.str(), row.Text);
    EXPECT_EQ(Run("--count --json - " + file), kExitOk);
    const testjson::Value j = testjson::Parser(out.str()).ParseDocument();
    EXPECT_EQ(err.str(), row.Text);
    EXPECT_EQ(j["pointed_pseudo_triangulations"].Int() + j["triangulations"].Int(),
              row.Points.size() == 7 ? 84 : 4);
  }
}

TEST_F(CliFlips, EnumerateWritesEveryPointedPseudoTriangulationOnce) {
  const TNube points = Convex(6);
  ASSERT_EQ(Run("--enumerate " + Path("all.jsonl") + " " + File("in.pt", points)), kExitOk);
  std::istringstream lines(Slurp(Path("all.jsonl")));
  std::set<std::vector<TEdge>> seen;
  for (std::string line; std::getline(lines, line);) {
    std::vector<TEdge> edges;
    const testjson::Value j = testjson::Parser(line).ParseDocument();
    for (const auto& e : j["edges"].A)
      edges.push_back({static_cast<int>(e[0].Int()), static_cast<int>(e[1].Int())});
    EXPECT_TRUE(CheckPseudoTriangulation(points, edges).Pointed());
    EXPECT_TRUE(seen.insert(edges).second);
  }
  EXPECT_EQ(seen.size(), 14u);
}

TEST_F(CliFlips, EnumerationAndNumbersAreWrittenTogether) {
  const std::string points = File("in.pt", Convex(5));
  ASSERT_EQ(Run("--count --enumerate - " + points), kExitOk) << err.str();
  const std::string lines = out.str();
  EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 5);
  EXPECT_EQ(err.str(), "Pointed pseudo-triangulations: 5\nTriangulations: 5\n");
  // The JSON cannot be written (its folder is missing): the enumeration keeps its old content.
  WriteFileSafely(Path("all.jsonl"), "old\n");
  EXPECT_EQ(Run("--count --enumerate " + Path("all.jsonl") + " --json " + Path("none/n.json") +
                " " + points),
            kExitFailure);
  EXPECT_NE(err.str().find("n.json"), std::string::npos) << err.str();
  EXPECT_EQ(Slurp(Path("all.jsonl")), "old\n");
}

TEST_F(CliFlips, RandomFlipsKeepAPointedResult) {
  EXPECT_EQ(Run("--random 40 --uniform --seed 5 --flips 30 --check"), kExitOk) << err.str();
  EXPECT_NE(out.str().find("Faces : 38\n"), std::string::npos);
  EXPECT_NE(out.str().find(", pointed\n"), std::string::npos);
}

TEST_F(CliFlips, RefusalsSayWhy) {
  TNube fourteen = Convex(14), collinear{{0, 0}, {5, 5}, {10, 10}, {3, 9}};
  const struct {
    std::string Line;
    int Status;
    const char* Message;
  } rows[] = {
      {"--count " + File("a.pt", fourteen), kExitFailure, "at most 13 points"},
      {"--count " + File("b.pt", collinear), kExitFailure, "general position"},
      {"--count --check " + File("a.pt", fourteen), kExitUsage, "not --check"},
      {"--enumerate DIR/ " + File("c.pt", Convex(5)), kExitFailure, ""},
      {"--method layers --flips 3 " + File("c.pt", Convex(5)), kExitFailure,
       "Flips need a pointed pseudo-triangulation."},
      {"--flips 3 --flips 4 " + File("c.pt", Convex(5)), kExitUsage,
       "--flips given more than once"},
      {"--count --enumerate= " + File("c.pt", Convex(5)), kExitUsage,
       "--enumerate needs a file name"},
      {"--enumerate " + Path("e") + " --enumerate " + Path("f") + " " + File("c.pt", Convex(5)),
       kExitUsage, "--enumerate given more than once"},
      {"--enumerate " + Path("e") + " --json " + Path("j") + " " + File("c.pt", Convex(5)),
       kExitUsage, "needs --count"},
      {"--count --enumerate " + Path("e") + " --json " + Path("e") + " " + File("c.pt", Convex(5)),
       kExitUsage, "two outputs name the same file"},
      {"--count --enumerate - --json - " + File("c.pt", Convex(5)), kExitUsage,
       "cannot share standard output"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(Run(row.Line), row.Status) << row.Line;
    EXPECT_NE(err.str().find(row.Message), std::string::npos) << row.Line << ": " << err.str();
  }
}

}  // namespace
}  // namespace qv::cli
