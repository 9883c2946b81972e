#include "cli/CliExperiment.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <iomanip>
#include <map>
#include <mutex>
#include <sstream>
#include <thread>

#include "cli/CliPlot.h"
#include "cli/CliRun.h"
#include "geometry/UserError.h"
#include "io/ArchivoPT.h"

namespace qv::cli {
namespace {

long long Whole(const std::string& option, const std::string& text, long long lo, long long hi) {
  long long value = 0;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end || value < lo || value > hi)
    throw UsageError(option + " needs a whole number from " + std::to_string(lo) + " to " +
                     std::to_string(hi) + ", not '" + text + "'");
  return value;
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::stringstream in(text);
  std::string part;
  while (std::getline(in, part, separator)) parts.push_back(part);
  if (!text.empty() && text.back() == separator) parts.emplace_back();
  return parts;
}

// The named methods in the table's order, each once; "all" names every built one.
std::vector<std::string> ChooseMethods(const std::string& list, const TMethodTable& methods) {
  std::vector<std::string> names = Split(list, ',');
  std::vector<std::string> chosen;
  for (const std::string& name : names) {
    const TCliMethod* m = FindMethod(methods, name);
    if (name != "all" && (m == nullptr || !m->Run))
      throw UsageError("unknown method '" + name + "' in --method");
  }
  for (const TCliMethod& m : methods) {
    const bool named = std::find(names.begin(), names.end(), m.Name) != names.end() ||
                       std::find(names.begin(), names.end(), "all") != names.end();
    if (named && m.Run) chosen.push_back(m.Name);
  }
  return chosen;
}

void ParseShard(const std::string& text, TExperimentOptions& o) {
  const std::vector<std::string> parts = Split(text, '/');
  if (parts.size() != 2) throw UsageError("--shard needs K/N, not '" + text + "'");
  o.Shards = static_cast<int>(Whole("--shard N", parts[1], 1, 1000000));
  o.Shard = static_cast<int>(Whole("--shard K", parts[0], 1, o.Shards));
}

void ApplyValue(TExperimentOptions& o, const std::string& option, const std::string& v,
                const TMethodTable& methods) {
  if (option == "--method") {
    o.Methods = ChooseMethods(v, methods);
  } else if (option == "--random") {
    o.Sizes.clear();
    for (const std::string& n : Split(v, ','))
      o.Sizes.push_back(static_cast<int>(Whole("--random", n, 1, 1000000)));
  } else if (option == "--normal") {
    o.Deviation = static_cast<int>(Whole("--normal", v, 1, 100000));
  } else if (option == "--runs") {
    o.Runs = static_cast<int>(Whole("--runs", v, 1, 1000000));
  } else if (option == "--seed") {
    o.Seed = static_cast<uint32_t>(Whole("--seed", v, 0, 4294967295LL));
  } else if (option == "--threads") {
    o.Threads = static_cast<int>(Whole("--threads", v, 1, 1024));
  } else if (option == "--shard") {
    ParseShard(v, o);
  } else if (option == "--canvas") {
    const size_t x = v.find('x');
    if (x == std::string::npos) throw UsageError("--canvas needs WIDTHxHEIGHT, not '" + v + "'");
    o.CanvasWidth = static_cast<int>(Whole("--canvas width", v.substr(0, x), 1, 100000));
    o.CanvasHeight = static_cast<int>(Whole("--canvas height", v.substr(x + 1), 1, 100000));
  } else if (option == "--csv" || option == "--plot") {
    // An empty name would silently write nothing.
    if (v.empty()) throw UsageError(option + " needs a file name");
    (option == "--csv" ? o.CsvFile : o.PlotFile) = v;
  }
}

const char* const kValueOptions[] = {"--method",  "--random", "--normal", "--runs", "--seed",
                                     "--threads", "--shard",  "--canvas", "--csv",  "--plot"};

bool IsValueOption(const std::string& arg) {
  return std::find(std::begin(kValueOptions), std::end(kValueOptions), arg) !=
         std::end(kValueOptions);
}

// The input of point set number job: its size and seed.
struct TJob {
  int N;
  uint32_t Seed;
};

std::vector<TJob> ShardJobs(const TExperimentOptions& o) {
  std::vector<TJob> jobs;
  long long index = 0;
  for (int n : o.Sizes) {
    for (int run = 0; run < o.Runs; ++run, ++index) {
      if (index % o.Shards == o.Shard - 1)
        jobs.push_back({n, static_cast<uint32_t>(o.Seed + static_cast<uint32_t>(run))});
    }
  }
  return jobs;
}

TExperimentRow RunOne(const TCliDocument& input, const TCliMethod& method,
                      const TCliOptions& settings) {
  TExperimentRow row;
  row.Method = method.Name;
  row.N = static_cast<int>(input.Points.size());
  row.Seed = settings.Seed;
  const auto start = std::chrono::steady_clock::now();
  try {
    TCliDocument doc = input;
    if (doc.Points.size() < 3) throw UserError("At least 3 points are needed.");
    method.Run(doc, settings);
    row.Stats = method.Statistics ? method.Statistics(doc)
                                  : ComputeStatistics(doc.Points, doc.PT, kThousandsSeparator);
    row.Milliseconds =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    const TCheckReport report = CheckDocument(doc);
    row.Pointed = report.Valid && report.Pointed();
  } catch (const std::exception& e) {  // a refusal, or out of memory
    row.Refused = true;
    row.Refusal = e.what();
    row.Milliseconds =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  }
  return row;
}

// Every chosen method on one point set.
std::vector<TExperimentRow> RunJob(const TExperimentOptions& o, const TJob& job,
                                   const TMethodTable& methods) {
  TCliOptions settings;
  settings.RandomCount = job.N;
  settings.Uniform = o.Uniform;
  settings.Deviation = o.Deviation;
  settings.Seed = job.Seed;
  settings.CanvasWidth = o.CanvasWidth;
  settings.CanvasHeight = o.CanvasHeight;
  std::vector<TExperimentRow> rows;
  TCliDocument input;
  std::string refusal;
  try {
    input = LoadDocument(settings, methods.front());
  } catch (const std::exception& e) {
    refusal = e.what();
  }
  for (const std::string& name : o.Methods) {
    const TCliMethod& method = *FindMethod(methods, name);
    if (refusal.empty()) {
      settings.Method = name;
      rows.push_back(RunOne(input, method, settings));
      continue;
    }
    TExperimentRow row;
    row.Method = name;
    row.N = job.N;
    row.Seed = job.Seed;
    row.Refused = true;
    row.Refusal = refusal;
    rows.push_back(row);
  }
  return rows;
}

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

std::string Fixed(double v, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, v);
  return text;
}

std::array<double, 6> Figures(const TStatistics& s) {
  return {s.WeightValue,    double(s.VertexDegree), double(s.FaceDegree),
          double(s.Points), double(s.Faces),        double(s.Triangles)};
}

void ShowProgress(std::ostream& err, int done, int total) {
  constexpr int kWidth = 40;
  const int filled = total == 0 ? kWidth : done * kWidth / total;
  err << "\r[" << std::string(filled, '#') << std::string(kWidth - filled, ' ') << "] " << done
      << "/" << total << " point sets" << (done == total ? "\n" : "") << std::flush;
}

}  // namespace

TExperimentOptions ParseExperimentArguments(const std::vector<std::string>& args,
                                            const TMethodTable& methods) {
  TExperimentOptions o;
  o.Methods = ChooseMethods("all", methods);
  bool uniform = false, normal = false;
  std::vector<std::string> given;  // the value options seen
  for (size_t i = 0; i < args.size(); ++i) {
    std::string arg = args[i], value;
    const size_t eq = arg.find('=');
    const bool inlineValue = arg.rfind("--", 0) == 0 && eq != std::string::npos;
    if (inlineValue) {
      value = arg.substr(eq + 1);
      arg = arg.substr(0, eq);
    }
    if (IsValueOption(arg)) {
      if (!inlineValue && i + 1 >= args.size()) throw UsageError(arg + " needs a value");
      if (std::find(given.begin(), given.end(), arg) != given.end())
        throw UsageError(arg + " given more than once");
      given.push_back(arg);
      ApplyValue(o, arg, inlineValue ? value : args[++i], methods);
      normal = normal || arg == "--normal";
    } else if (arg == "--uniform" && !inlineValue) {
      uniform = o.Uniform = true;
    } else if ((arg == "--help" || arg == "-h") && !inlineValue) {
      o.Help = true;
    } else {
      throw UsageError("unknown experiment argument '" + args[i] + "'");
    }
  }
  if (o.Help) return o;
  if (uniform && normal) throw UsageError("--uniform and --normal exclude each other");
  if (!uniform && !normal) throw UsageError("give --uniform or --normal DEV");
  if (o.Sizes.empty()) throw UsageError("give --random N[,N...]");
  if (o.CsvFile.empty()) throw UsageError("give --csv FILE (\"-\" for standard output)");
  if (o.Methods.empty()) throw UsageError("no method chosen");
  if (o.PlotFile == o.CsvFile) throw UsageError("--csv and --plot name the same file");
  return o;
}

std::string ExperimentUsageText() {
  return "usage: quilvaron-cli experiment --method all|NAME[,NAME...] --random N[,N...]\n"
         "         (--uniform | --normal DEV) --runs R --seed S --csv FILE [options]\n"
         "  Runs every method on R random sets per size; set k of a size is drawn with seed\n"
         "  S + k. One CSV row per run and method: method, n, seed, the six figures, pointed\n"
         "  (yes/no), refusal text, milliseconds. A summary table ends the run.\n"
         "  --threads N            worker threads (default: every core); the rows do not\n"
         "                         depend on it\n"
         "  --shard K/N            only the K-th of N disjoint parts of the runs; the CSVs of\n"
         "                         all N parts together hold the rows of the whole run\n"
         "  --canvas WxH           canvas of the distribution (default 1014x653)\n"
         "  --plot FILE.svg        the summary's mean weight and vertex degree against n\n"
         "  An option with a value is given once. The CSV and the plot are written together:\n"
         "  when one fails, the other keeps its old content.\n";
}

std::vector<TExperimentRow> RunExperimentRows(const TExperimentOptions& o,
                                              const TMethodTable& methods,
                                              const std::function<void(int, int)>& progress) {
  const std::vector<TJob> jobs = ShardJobs(o);
  std::vector<std::vector<TExperimentRow>> results(jobs.size());
  std::atomic<size_t> next{0};
  std::mutex progressLock;
  int done = 0;
  auto worker = [&] {
    for (size_t j = next++; j < jobs.size(); j = next++) {
      results[j] = RunJob(o, jobs[j], methods);
      if (!progress) continue;
      const std::lock_guard<std::mutex> lock(progressLock);
      progress(++done, static_cast<int>(jobs.size()));
    }
  };
  const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
  const size_t count =
      std::min<size_t>(o.Threads > 0 ? static_cast<size_t>(o.Threads) : cores, jobs.size());
  std::vector<std::thread> threads;
  for (size_t t = 1; t < count; ++t) threads.emplace_back(worker);
  worker();
  for (std::thread& t : threads) t.join();
  std::vector<TExperimentRow> rows;
  for (std::vector<TExperimentRow>& r : results) rows.insert(rows.end(), r.begin(), r.end());
  return rows;
}

std::string ExperimentCsv(const std::vector<TExperimentRow>& rows) {
  std::string csv =
      "method,n,seed,weight,vertex_degree,face_degree,points,faces,triangles,pointed,refusal,"
      "milliseconds\n";
  for (const TExperimentRow& r : rows) {
    csv += r.Method + "," + std::to_string(r.N) + "," + std::to_string(r.Seed) + ",";
    if (r.Refused) {
      csv += ",,,,,,," + CsvField(r.Refusal);
    } else {
      const TStatistics& s = r.Stats;
      csv += Fixed(s.WeightValue, 3) + "," + std::to_string(s.VertexDegree) + "," +
             std::to_string(s.FaceDegree) + "," + std::to_string(s.Points) + "," +
             std::to_string(s.Faces) + "," + std::to_string(s.Triangles) + "," +
             (r.Pointed ? "yes" : "no") + ",";
    }
    csv += "," + Fixed(r.Milliseconds, 3) + "\n";
  }
  return csv;
}

std::vector<TSummaryRow> SummariseExperiment(const std::vector<TExperimentRow>& rows) {
  std::vector<TSummaryRow> summary;
  std::map<std::pair<std::string, int>, size_t> where;
  for (const TExperimentRow& r : rows) {
    auto [it, added] = where.emplace(std::make_pair(r.Method, r.N), summary.size());
    if (added) summary.push_back({r.Method, r.N, 0, 0, {}});
    TSummaryRow& s = summary[it->second];
    if (r.Refused) {
      ++s.Refused;
      continue;
    }
    const std::array<double, 6> f = Figures(r.Stats);
    for (size_t k = 0; k < f.size(); ++k) {
      TFigureSummary& g = s.Figures[k];
      g.Min = s.Finished == 0 ? f[k] : std::min(g.Min, f[k]);
      g.Max = s.Finished == 0 ? f[k] : std::max(g.Max, f[k]);
      g.Mean += f[k];
    }
    ++s.Finished;
  }
  for (TSummaryRow& s : summary)
    for (TFigureSummary& g : s.Figures) g.Mean = s.Finished > 0 ? g.Mean / s.Finished : 0.0;
  return summary;
}

void PrintSummary(std::ostream& out, const std::vector<TSummaryRow>& summary) {
  const char* names[] = {"weight", "v.degree", "f.degree", "points", "faces", "triangles"};
  out << std::left << std::setw(20) << "method" << std::right << std::setw(8) << "n" << std::setw(5)
      << "runs" << std::setw(8) << "refused";
  for (const char* name : names)
    out << "  " << std::setw(30) << std::string(name) + " mean/min/max";
  out << "\n";
  for (const TSummaryRow& s : summary) {
    out << std::left << std::setw(20) << s.Method << std::right << std::setw(8) << s.N
        << std::setw(5) << s.Finished + s.Refused << std::setw(8) << s.Refused;
    for (size_t k = 0; k < s.Figures.size(); ++k) {
      const TFigureSummary& g = s.Figures[k];
      const int decimals = k == 0 ? 0 : 2;
      const std::string cell =
          s.Finished == 0 ? "-"
                          : Fixed(g.Mean, decimals) + "/" + Fixed(g.Min, 0) + "/" + Fixed(g.Max, 0);
      out << "  " << std::setw(30) << cell;
    }
    out << "\n";
  }
}

int RunExperiment(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                  bool progressBar, const TMethodTable& methods) {
  TExperimentOptions options;
  try {
    options = ParseExperimentArguments(args, methods);
  } catch (const UsageError& e) {
    err << "quilvaron-cli experiment: " << e.what() << "\n" << ExperimentUsageText();
    return kExitUsage;
  }
  if (options.Help) {
    out << ExperimentUsageText();
    return kExitOk;
  }
  try {
    std::function<void(int, int)> progress;
    if (progressBar) progress = [&err](int done, int total) { ShowProgress(err, done, total); };
    const std::vector<TExperimentRow> rows = RunExperimentRows(options, methods, progress);
    const std::vector<TSummaryRow> summary = SummariseExperiment(rows);
    std::vector<TOutputFile> outputs{{options.CsvFile, ExperimentCsv(rows)}};
    if (!options.PlotFile.empty()) outputs.push_back({options.PlotFile, SummaryPlot(summary)});
    WriteOutputs(outputs, out);
    const bool outputOnStdout =
        options.CsvFile == kStandardOutputName || options.PlotFile == kStandardOutputName;
    PrintSummary(outputOnStdout ? err : out, summary);
    return kExitOk;
  } catch (const std::exception& e) {
    err << e.what() << "\n";
    return kExitFailure;
  }
}

}  // namespace qv::cli
