// quilvaron-cli experiment: rows independent of threads and shards, the summary, the files,
// bad usage.
#include "cli/CliExperiment.h"

#include <gtest/gtest.h>

#include <fstream>
#include <tuple>

#include "cli/CliPrueba.h"

namespace qv::cli {
namespace {

// The CSV lines after the header, without the timing column, which no two runs share.
std::vector<std::string> TimelessRows(const std::string& csv) {
  std::vector<std::string> rows;
  std::istringstream in(csv);
  std::string line;
  std::getline(in, line);
  while (std::getline(in, line)) rows.push_back(line.substr(0, line.rfind(',')));
  return rows;
}

using Experiment = test::CliPrueba;

TEST_F(Experiment, RowsAreTheSameWhateverTheThreadsAndTheShards) {
  const std::string run = "experiment --method all --random 12,25 --uniform --runs 4 --seed 5 ";
  ASSERT_EQ(Cli(run + "--threads 1 --csv " + Path("w.csv")), kExitOk) << err;
  std::vector<std::string> whole = TimelessRows(Slurp(Path("w.csv")));
  ASSERT_EQ(whole.size(), 2u * 4u * DefaultMethods().size());
  ASSERT_EQ(Cli(run + "--threads 4 --csv " + Path("t.csv")), kExitOk);
  EXPECT_EQ(TimelessRows(Slurp(Path("t.csv"))), whole);  // in the same order
  std::vector<std::string> parts;
  for (const char* shard : {"1/3", "2/3", "3/3"}) {
    ASSERT_EQ(Cli(run + "--threads 2 --csv " + Path("s.csv") + " --shard " + shard), kExitOk);
    const std::vector<std::string> part = TimelessRows(Slurp(Path("s.csv")));
    parts.insert(parts.end(), part.begin(), part.end());
  }
  std::sort(whole.begin(), whole.end());
  std::sort(parts.begin(), parts.end());
  EXPECT_EQ(parts, whole);
}

TEST(ExperimentSummary, TakesMeanMinimumAndMaximumOverTheFinishedRuns) {
  auto row = [](double weight, int faces, bool refused) {
    TExperimentRow r;
    r.Method = "m";
    r.N = 10;
    r.Refused = refused;
    r.Stats.WeightValue = weight;
    r.Stats.Faces = faces;
    return r;
  };
  const std::vector<TSummaryRow> s = SummariseExperiment(
      {row(1, 4, false), row(2, 8, false), row(100, 1, true), row(6, 6, false)});
  ASSERT_EQ(s.size(), 1u);
  EXPECT_EQ(std::tuple(s[0].Finished, s[0].Refused, s[0].Figures[0].Mean, s[0].Figures[0].Min,
                       s[0].Figures[4].Max, s[0].Figures[4].Mean),
            std::tuple(3, 1, 3.0, 1.0, 8.0, 6.0));
}

TEST_F(Experiment, RefusedRowsKeepTheMethodsTextAndBadUsageExitsWithOne) {
  // Two points: every method refuses as the window does.
  ASSERT_EQ(Cli("experiment --method sweep,layers --random 2 --normal 50 --runs 1 --csv " +
                Path("r.csv")),
            kExitOk);
  EXPECT_EQ(TimelessRows(Slurp(Path("r.csv"))),
            (std::vector<std::string>{"sweep,2,1,,,,,,,,At least 3 points are needed.",
                                      "layers,2,1,,,,,,,,At least 3 points are needed."}));
  std::istringstream bad(
      "--random 10 --csv x.csv|--uniform --csv x.csv|--random 10 --uniform|"
      "--random 10 --uniform --normal 5 --csv x|--random 10 --uniform --csv x --shard 4/3|"
      "--random 10 --uniform --csv x --method sweep,nosuch|--random 10,0 --uniform --csv x|"
      "--random 10 --random 20 --uniform --csv x|--random 10 --uniform --csv x --plot x|"
      "--random 10 --uniform --csv=|--random 10 --uniform --csv x --plot=");
  for (std::string line; std::getline(bad, line, '|');)
    EXPECT_EQ(Cli("experiment " + line), kExitUsage) << line;
}

TEST_F(Experiment, WritesTheCsvThePlotAndTheSummary) {
  ASSERT_EQ(Cli("experiment --method sweep,delaunay --random 10,20 --uniform --runs 2 --csv " +
                Path("e.csv") + " --plot " + Path("e.svg")),
            0)
      << err;
  EXPECT_EQ(TimelessRows(Slurp(Path("e.csv"))).size(), 8u);
  const std::string svg = Slurp(Path("e.svg"));
  EXPECT_NE(svg.find("<svg"), std::string::npos);
  EXPECT_NE(svg.find("delaunay"), std::string::npos);
  EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 5);  // one line per method and size
  // As a program: a failed plot is named, the CSV stays as it was, and Qt prints no warning.
  const std::string plot = Path("missing/e.svg");
  EXPECT_EQ(
      Spawn("experiment --method sweep --random 10 --uniform --runs 1 --csv " + Path("e.csv") +
            " --plot " + plot + " 2>" + Path("err") + " >/dev/null </dev/null"),
      2);
  err = Slurp(Path("err"));
  EXPECT_NE(err.find("'" + plot + "'"), std::string::npos) << err;
  EXPECT_EQ(TimelessRows(Slurp(Path("e.csv"))).size(), 8u);  // as the run before left it
  EXPECT_EQ(err.find("XDG_RUNTIME_DIR"), std::string::npos) << err;
}

}  // namespace
}  // namespace qv::cli
