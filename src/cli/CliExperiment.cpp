#include "cli/CliExperiment.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <charconv>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <iomanip>
#include <map>
#include <mutex>
#include <sstream>
#include <thread>
#include <utility>

#include "cli/CliPlot.h"
#include "cli/CliRun.h"
#include "geometry/UserError.h"
#include "io/ArchivoPT.h"
#include "io/Salida.h"

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
    // A size named twice would repeat its rows with the same seeds; the rows, the summary and
    // the plot run by ascending n.
    std::sort(o.Sizes.begin(), o.Sizes.end());
    const auto twice = std::adjacent_find(o.Sizes.begin(), o.Sizes.end());
    if (twice != o.Sizes.end())
      throw UsageError("--random names the size " + std::to_string(*twice) + " twice");
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

// The CSV as its rows come, in their order: into a temporary beside the file it will replace,
// so that memory stays flat however long the run; or straight to standard output. A device, a
// pipe or a file whose folder takes no temporary gets the text whole at the end. Until Finish
// hands the temporary on, a failure or a signal removes it.
class TCsvOutput {
 public:
  TCsvOutput(const std::string& name, std::ostream& out) : name_(name), out_(out) {
    if (name != kStandardOutputName) {
      try {
        const std::string target = ReplacedFile(name);
        if (!target.empty()) descriptor_ = CreateTemporary(target, temporary_);
      } catch (const TFileError&) {  // kept whole; the final write names the failure
      }
    }
    Add(ExperimentCsvHeader());
  }
  ~TCsvOutput() {
    if (descriptor_ >= 0) ::close(descriptor_);
    if (!temporary_.empty()) RemoveTemporary(temporary_);
  }
  TCsvOutput(const TCsvOutput&) = delete;
  TCsvOutput& operator=(const TCsvOutput&) = delete;

  void Add(const std::string& line) {
    if (name_ == kStandardOutputName) {
      out_ << line;
      if (!out_) CannotWrite(TFileError(name_, WriteErrorMessage(StreamError(out_))));
      return;
    }
    text_ += line;
    if (descriptor_ >= 0 && text_.size() >= kChunk) WritePending();
  }

  // The output for WriteOutputs: the complete temporary, or the whole text.
  TOutputFile Finish() {
    if (descriptor_ < 0) return {name_, std::move(text_), {}};
    WritePending();
    const int error = ::fsync(descriptor_) != 0 ? errno : 0;
    ::close(descriptor_);
    descriptor_ = -1;
    if (error != 0) CannotWrite(TFileError(name_, WriteErrorMessage(error)));
    return {name_, {}, std::exchange(temporary_, {})};
  }

 private:
  static constexpr size_t kChunk = 1 << 16;

  void WritePending() {
    const int error = WriteAll(descriptor_, text_);
    text_.clear();
    if (error != 0) CannotWrite(TFileError(name_, WriteErrorMessage(error)));
  }

  std::string name_;
  std::ostream& out_;
  int descriptor_ = -1;
  std::string temporary_;
  std::string text_;  // not yet in the temporary, or the whole text
};

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
    } else if (arg == "--version") {
      throw UsageError("--version stands alone");
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
  if (!o.PlotFile.empty() && SameOutputFile(o.PlotFile, o.CsvFile))
    throw UsageError("--csv and --plot name the same file");
  if (!o.PlotFile.empty() && !PlotTypeKnown(o.PlotFile))
    throw UsageError("--plot writes .svg, .png or .pdf, not '" + o.PlotFile + "'");
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
         "  --plot FILE            the summary's mean weight and vertex degree against n:\n"
         "                         .svg, .png or .pdf\n"
         "  An option with a value is given once. The CSV and the plot are written together:\n"
         "  when one fails, the other keeps its old content.\n";
}

void RunExperimentRows(const TExperimentOptions& o, const TMethodTable& methods,
                       const std::function<void(const TExperimentRow&)>& visit,
                       const std::function<void(int, int)>& progress) {
  const std::vector<TJob> jobs = ShardJobs(o);
  const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
  const size_t count = std::max<size_t>(
      1, std::min<size_t>(o.Threads > 0 ? static_cast<size_t>(o.Threads) : cores, jobs.size()));
  // Workers run at most this many point sets ahead of the oldest one not yet visited, so that
  // the rows held at once do not grow with the length of the run.
  const size_t window = 4 * count;
  std::mutex lock;
  std::condition_variable changed;
  std::map<size_t, std::vector<TExperimentRow>> finished;  // done, waiting for their turn
  size_t next = 0, visited = 0;
  bool stop = false;
  std::exception_ptr failure;
  auto worker = [&] {
    std::unique_lock<std::mutex> held(lock);
    while (!stop && next < jobs.size()) {
      const size_t j = next++;
      changed.wait(held, [&] { return stop || j < visited + window; });
      if (stop) break;
      held.unlock();
      std::vector<TExperimentRow> rows;
      std::exception_ptr error;
      try {
        rows = RunJob(o, jobs[j], methods);
      } catch (...) {  // out of memory outside a method
        error = std::current_exception();
      }
      held.lock();
      if (error && !failure) failure = error;
      stop = stop || error;
      finished.emplace(j, std::move(rows));
      changed.notify_all();
    }
  };
  std::vector<std::thread> threads;
  for (size_t t = 0; t < count; ++t) threads.emplace_back(worker);
  // This thread visits the rows in the order of the jobs, as they become ready.
  try {
    for (size_t j = 0; j < jobs.size(); ++j) {
      std::vector<TExperimentRow> rows;
      {
        std::unique_lock<std::mutex> held(lock);
        changed.wait(held, [&] { return stop || finished.count(j) > 0; });
        if (stop) break;
        rows = std::move(finished[j]);
        finished.erase(j);
      }
      for (const TExperimentRow& row : rows) visit(row);
      if (progress) progress(static_cast<int>(j + 1), static_cast<int>(jobs.size()));
      const std::lock_guard<std::mutex> held(lock);
      visited = j + 1;
      changed.notify_all();
    }
  } catch (...) {  // the visitor failed (an output that cannot be written)
    const std::lock_guard<std::mutex> held(lock);
    if (!failure) failure = std::current_exception();
    stop = true;
  }
  {
    const std::lock_guard<std::mutex> held(lock);
    stop = true;
    changed.notify_all();
  }
  for (std::thread& t : threads) t.join();
  if (failure) std::rethrow_exception(failure);
}

std::string ExperimentCsvHeader() {
  return "method,n,seed,weight,vertex_degree,face_degree,points,faces,triangles,pointed,refusal,"
         "milliseconds\n";
}

std::string ExperimentCsvLine(const TExperimentRow& r) {
  std::string csv = r.Method + "," + std::to_string(r.N) + "," + std::to_string(r.Seed) + ",";
  if (r.Refused) {
    csv += ",,,,,,," + CsvField(r.Refusal);
  } else {
    const TStatistics& s = r.Stats;
    csv += Fixed(s.WeightValue, 3) + "," + std::to_string(s.VertexDegree) + "," +
           std::to_string(s.FaceDegree) + "," + std::to_string(s.Points) + "," +
           std::to_string(s.Faces) + "," + std::to_string(s.Triangles) + "," +
           (r.Pointed ? "yes" : "no") + ",";
  }
  return csv + "," + Fixed(r.Milliseconds, 3) + "\n";
}

void TSummaryBuilder::Add(const TExperimentRow& r) {
  auto [it, added] = where_.emplace(std::make_pair(r.Method, r.N), rows_.size());
  if (added) rows_.push_back({r.Method, r.N, 0, 0, {}});
  TSummaryRow& s = rows_[it->second];
  if (r.Refused) {
    ++s.Refused;
    return;
  }
  const std::array<double, 6> f = Figures(r.Stats);
  for (size_t k = 0; k < f.size(); ++k) {
    TFigureSummary& g = s.Figures[k];
    g.Min = s.Finished == 0 ? f[k] : std::min(g.Min, f[k]);
    g.Max = s.Finished == 0 ? f[k] : std::max(g.Max, f[k]);
    g.Mean += f[k];  // the sum until Rows
  }
  ++s.Finished;
}

std::vector<TSummaryRow> TSummaryBuilder::Rows() const {
  std::vector<TSummaryRow> summary = rows_;
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
    // Every destination before the work, so that a run never ends in a refusal.
    CheckDestinations({options.CsvFile, options.PlotFile});
    std::function<void(int, int)> progress;
    if (progressBar) progress = [&err](int done, int total) { ShowProgress(err, done, total); };
    TCsvOutput csv(options.CsvFile, out);
    TSummaryBuilder summary;
    RunExperimentRows(
        options, methods,
        [&](const TExperimentRow& row) {
          csv.Add(ExperimentCsvLine(row));
          summary.Add(row);
        },
        progress);
    std::vector<TOutputFile> outputs;
    if (options.CsvFile != kStandardOutputName) outputs.push_back(csv.Finish());
    if (!options.PlotFile.empty())
      outputs.push_back({options.PlotFile, SummaryPlot(summary.Rows(), options.PlotFile)});
    WriteOutputs(outputs, out);
    const bool outputOnStdout =
        options.CsvFile == kStandardOutputName || options.PlotFile == kStandardOutputName;
    PrintSummary(outputOnStdout ? err : out, summary.Rows());
    return kExitOk;
  } catch (const std::exception& e) {
    err << e.what() << "\n";
    return kExitFailure;
  }
}

}  // namespace qv::cli
