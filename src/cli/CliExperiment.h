// quilvaron-cli experiment: every chosen method on seeded random sets of every chosen size, one
// CSV row per run and method, and a summary of the figures per method and size.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "cli/CliMethods.h"

namespace qv::cli {

struct TExperimentOptions {
  std::vector<std::string> Methods;  // names in the method table's order
  std::vector<int> Sizes;
  bool Uniform = false;
  int Deviation = 100;
  int Runs = 10;
  uint32_t Seed = 1;
  int CanvasWidth = 1014;
  int CanvasHeight = 653;
  std::string CsvFile;   // "-" for standard output
  std::string PlotFile;  // empty for none; .svg, .png or .pdf
  int Threads = 0;       // 0: every core
  int Shard = 1;         // this part, 1 .. Shards
  int Shards = 1;
  bool Help = false;
};

// One run of one method on one point set.
struct TExperimentRow {
  std::string Method;
  int N = 0;
  uint32_t Seed = 0;
  bool Refused = false;
  std::string Refusal;
  TStatistics Stats;
  bool Pointed = false;
  double Milliseconds = 0.0;
};

// Parses the arguments after "experiment". Throws UsageError.
TExperimentOptions ParseExperimentArguments(const std::vector<std::string>& args,
                                            const TMethodTable& methods);
std::string ExperimentUsageText();

// Visits the rows of this shard in a fixed order (size, run, method), whatever the number of
// threads, each as soon as it and every row before it are done; rows are not kept. visit and
// progress (with done and total point sets) are called from the calling thread. An exception
// of visit stops the run and is thrown on.
void RunExperimentRows(const TExperimentOptions& options, const TMethodTable& methods,
                       const std::function<void(const TExperimentRow&)>& visit,
                       const std::function<void(int, int)>& progress = {});

// The CSV text: a header line, then one line per row.
std::string ExperimentCsvHeader();
std::string ExperimentCsvLine(const TExperimentRow& row);

// Mean, minimum and maximum of one figure over the runs a method finished on one size.
struct TFigureSummary {
  double Mean = 0.0, Min = 0.0, Max = 0.0;
};
struct TSummaryRow {
  std::string Method;
  int N = 0;
  int Finished = 0;  // runs not refused
  int Refused = 0;
  // Weight, vertex degree, face degree, points, faces, triangles.
  std::array<TFigureSummary, 6> Figures;
};
// The summary of the rows seen so far, one row per method and size in their first order.
class TSummaryBuilder {
 public:
  void Add(const TExperimentRow& row);
  std::vector<TSummaryRow> Rows() const;

 private:
  std::vector<TSummaryRow> rows_;  // means held as sums
  std::map<std::pair<std::string, int>, size_t> where_;
};
void PrintSummary(std::ostream& out, const std::vector<TSummaryRow>& summary);

// The whole subcommand; returns the exit status.
int RunExperiment(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                  bool progressBar, const TMethodTable& methods = DefaultMethods());

}  // namespace qv::cli
