// quilvaron-cli experiment: rows independent of threads and shards, the summary, bad usage.
#include "cli/CliExperiment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "cli/CliPrueba.h"
#include "cli/CliRun.h"

namespace qv::cli {
namespace {

std::vector<std::string> Words(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

// The CSV lines after the header, without the timing column, which no two runs share.
std::vector<std::string> TimelessRows(const std::string& csv) {
  std::vector<std::string> rows;
  std::istringstream in(csv);
  std::string line;
  std::getline(in, line);
  while (std::getline(in, line)) rows.push_back(line.substr(0, line.rfind(',')));
  return rows;
}

std::string Csv(const std::string& args) {
  const TExperimentOptions o = ParseExperimentArguments(Words(args), DefaultMethods());
  return ExperimentCsv(RunExperimentRows(o, DefaultMethods()));
}

TEST(Experiment, RowsAreTheSameWhateverTheThreadsAndTheShards) {
  const std::string run = "--method all --random 12,25 --uniform --runs 4 --seed 5 --csv - ";
  const std::vector<std::string> whole = TimelessRows(Csv(run + "--threads 1"));
  ASSERT_EQ(whole.size(), 2u * 4u * DefaultMethods().size());
  EXPECT_EQ(TimelessRows(Csv(run + "--threads 4")), whole);
  std::vector<std::string> parts;
  for (const char* shard : {"1/3", "2/3", "3/3"}) {
    const std::vector<std::string> part = TimelessRows(Csv(run + "--threads 2 --shard " + shard));
    parts.insert(parts.end(), part.begin(), part.end());
  }
  std::vector<std::string> sorted = whole;
  std::sort(sorted.begin(), sorted.end());
  std::sort(parts.begin(), parts.end());
  EXPECT_EQ(parts, sorted);
}

TEST(Experiment, SummaryTakesMeanMinimumAndMaximumOverTheFinishedRuns) {
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
  EXPECT_EQ(s[0].Finished, 3);
  EXPECT_EQ(s[0].Refused, 1);
  EXPECT_DOUBLE_EQ(s[0].Figures[0].Mean, 3.0);
  EXPECT_DOUBLE_EQ(s[0].Figures[0].Min, 1.0);
  EXPECT_DOUBLE_EQ(s[0].Figures[4].Max, 8.0);
  EXPECT_DOUBLE_EQ(s[0].Figures[4].Mean, 6.0);
}

TEST(Experiment, RefusedRowsKeepTheMethodsTextAndBadUsageExitsWithOne) {
  // Two points: every method refuses as the window does.
  const std::string csv = Csv("--method sweep,layers --random 2 --normal 50 --runs 1 --csv -");
  EXPECT_EQ(TimelessRows(csv),
            (std::vector<std::string>{"sweep,2,1,,,,,,,,At least 3 points are needed.",
                                      "layers,2,1,,,,,,,,At least 3 points are needed."}));
  for (const char* bad :
       {"--random 10 --csv x.csv", "--uniform --csv x.csv", "--random 10 --uniform",
        "--random 10 --uniform --normal 5 --csv x", "--random 10 --uniform --csv x --shard 4/3",
        "--random 10 --uniform --csv x --method sweep,nosuch", "--random 10,0 --uniform --csv x",
        "--random 10 --random 20 --uniform --csv x", "--random 10 --uniform --csv x --plot x",
        "--random 10 --uniform --csv=", "--random 10 --uniform --csv x --plot="}) {
    std::ostringstream out, err;
    EXPECT_EQ(RunCli(Words(std::string("experiment ") + bad), out, err), kExitUsage) << bad;
  }
}

class ExperimentFiles : public test::CliPrueba {};

TEST_F(ExperimentFiles, WritesTheCsvThePlotAndTheSummary) {
  ASSERT_EQ(Cli("experiment --method sweep,delaunay --random 10,20 --uniform --runs 2 --csv " +
                Path("e.csv") + " --plot " + Path("e.svg")),
            0)
      << err;
  EXPECT_EQ(TimelessRows(Slurp(Path("e.csv"))).size(), 8u);
  const std::string svg = Slurp(Path("e.svg"));
  EXPECT_NE(svg.find("<svg"), std::string::npos);
  EXPECT_NE(svg.find("delaunay"), std::string::npos);
  // One summary line per method and size.
  EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 5);
}

TEST_F(ExperimentFiles, AFailedPlotNamesItsFileAndLeavesTheCsvAsItWas) {
  std::ofstream(Path("e.csv"), std::ios::binary) << "old";
  const std::string plot = Path("missing/e.svg");
  EXPECT_EQ(Cli("experiment --method sweep --random 10 --uniform --runs 1 --csv " + Path("e.csv") +
                " --plot " + plot),
            2);
  EXPECT_NE(err.find("'" + plot + "'"), std::string::npos) << err;
  EXPECT_EQ(Slurp(Path("e.csv")), "old");
  EXPECT_EQ(err.find("XDG_RUNTIME_DIR"), std::string::npos) << err;
}

}  // namespace
}  // namespace qv::cli
