#include "cli/CliFlips.h"

#include <unistd.h>

#include <atomic>
#include <charconv>
#include <chrono>
#include <exception>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>

#include "cli/CliRun.h"
#include "geometry/UserError.h"
#include "io/ArchivoPT.h"
#include "io/Salida.h"
#include "methods/Aleatorio.h"
#include "methods/Flips.h"

namespace qv::cli {
namespace {

// The points as the file or the generator gives them: vertex i of every edge list is point i.
TNube CountedPoints(const TCliOptions& o) {
  TNube points;
  if (o.RandomCount > 0) {
    TRandom random(o.Seed);
    points = o.Uniform ? GenerateUniform(random, o.RandomCount, o.CanvasWidth, o.CanvasHeight)
                       : GenerateNormal(random, o.RandomCount, o.Deviation, o.CanvasWidth,
                                        o.CanvasHeight);
  } else {
    points = LoadPT(o.File).Points;
  }
  if (points.size() < 3) throw UserError("At least 3 points are needed.");
  if (points.size() > static_cast<size_t>(kMaxCountedPoints))
    throw UserError("Counting takes at most " + std::to_string(kMaxCountedPoints) +
                    " points; this set has " + std::to_string(points.size()) + ".");
  if (!InGeneralPosition(points))
    throw UserError("Counting needs points in general position: no repeats, no three on a line.");
  return points;
}

// The progress of a long search on err, from its first second on: on a terminal one line
// rewritten in place, elsewhere (a log, a pipe) one plain line every few seconds.
class TProgressLine {
 public:
  TProgressLine(std::ostream& err, bool terminal) : err_(err), terminal_(terminal) {}
  ~TProgressLine() {
    if (shown_ && terminal_) err_ << "\n" << std::flush;
  }
  TSearchProgress For(const std::string& what) {
    return [this, what](uint64_t found) { Show(what, found); };
  }

 private:
  void Show(const std::string& what, uint64_t found) {
    using namespace std::chrono;
    const auto now = steady_clock::now();
    const double elapsed = duration<double>(now - start_).count();
    if (elapsed < 1.0 || now - last_ < (terminal_ ? milliseconds(250) : seconds(5))) return;
    last_ = now;
    std::ostringstream line;
    line << "Counting " << what << ": " << found << " so far, "
         << static_cast<uint64_t>(static_cast<double>(found) / elapsed) << " a second, "
         << static_cast<uint64_t>(elapsed) << " s";
    std::string text = line.str();
    if (terminal_) {
      // Blanks over the rest of a longer line before.
      const size_t width = text.size();
      if (width < width_) text.append(width_ - width, ' ');
      width_ = width;
      err_ << "\r" << text << std::flush;
    } else {
      err_ << text << "\n" << std::flush;
    }
    shown_ = true;
  }

  std::ostream& err_;
  bool terminal_;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now(), last_{};
  size_t width_ = 0;
  bool shown_ = false;
};

// A write failure as the other outputs report it: the file named.
[[noreturn]] void Rethrow(const TFileError& e) {
  const std::string& name = e.FileName();
  std::string shown = name == kStandardOutputName ? "standard output" : "'" + name + "'";
  for (char& c : shown) c = static_cast<unsigned char>(c) < 0x20 || c == 0x7f ? '?' : c;
  throw UserError("Cannot write " + shown + ": " + e.what());
}

// One line of the enumeration: {"edges":[[a,b],...]}.
void AppendEdgesLine(std::string& lines, const std::vector<TEdge>& edges) {
  // Millions of lines: the numbers go straight into the buffer, no string per number.
  char number[16];
  auto put = [&](int v) {
    const auto [end, ec] = std::to_chars(number, number + sizeof number, v);
    lines.append(number, end);
  };
  lines += "{\"edges\":[";
  for (size_t i = 0; i < edges.size(); ++i) {
    lines += i ? ",[" : "[";
    put(edges[i].A);
    lines += ',';
    put(edges[i].B);
    lines += ']';
  }
  lines += "]}\n";
}

}  // namespace

bool CountRequested(const TCliOptions& options) {
  return options.Count || !options.EnumerateFile.empty();
}

void CheckFlipOptions(const TCliOptions& o) {
  if (!CountRequested(o)) {
    for (const char* only : {"--threads", "--shard"})
      if (o.WasGiven(only))
        throw UsageError(std::string(only) + " goes with --count or --enumerate");
    return;
  }
  for (const char* other : {"--method", "--angle", "--triangulation", "--pockets", "--image",
                            "--out", "--check", "--flips"})
    if (o.WasGiven(other))
      throw UsageError(std::string("--count and --enumerate take the points alone, not ") + other);
  if (!o.Count && o.WasGiven("--json"))
    throw UsageError("--json with --enumerate needs --count, the numbers it writes");
  if (o.JsonFile == kStandardOutputName && o.EnumerateFile == kStandardOutputName)
    throw UsageError("--json - and --enumerate - cannot share standard output");
}

int RunCount(const TCliOptions& options, std::ostream& out, std::ostream& err) {
  const TNube points = CountedPoints(options);
  const TSearchSplit split{options.Threads, options.Shard - 1, options.Shards};
  uint64_t pointed = 0, triangulations = 0;
  try {
    std::unique_ptr<TStreamedOutput> listing;
    if (!options.EnumerateFile.empty())
      listing = std::make_unique<TStreamedOutput>(options.EnumerateFile, &out);
    // Each task's lines wait in its buffer until the tasks before it are written; the task
    // whose turn it is writes as it goes.
    std::vector<std::string> buffers;
    std::atomic<size_t> written{0};
    std::atomic<bool> failed{false};
    std::exception_ptr failure;
    auto write = [&](std::string& text) {
      if (failed.load()) return;
      try {
        listing->Write(text);
      } catch (...) {
        failure = std::current_exception();
        failed.store(true);
      }
      text.clear();
    };
    TProgressLine progress(err, &err == &std::cerr && isatty(STDERR_FILENO) != 0);
    TSearchCallbacks calls;
    calls.Progress = progress.For("pointed pseudo-triangulations");
    calls.Stop = &failed;
    if (listing) {
      calls.Begin = [&](size_t tasks) { buffers.assign(tasks, {}); };
      calls.Visit = [&](size_t task, const std::vector<TEdge>& edges) {
        std::string& lines = buffers[task];
        AppendEdgesLine(lines, edges);
        if (lines.size() >= (size_t{1} << 16) && written.load(std::memory_order_acquire) == task)
          write(lines);
      };
      calls.TaskDone = [&](size_t task) {
        write(buffers[task]);
        std::string().swap(buffers[task]);
        written.store(task + 1, std::memory_order_release);
      };
    }
    pointed = SearchFlipGraph(points, TFlipGraph::Pointed, split, calls);
    if (failure) std::rethrow_exception(failure);
    if (listing) listing->Finish();
    if (options.Count) {
      TSearchCallbacks counting;
      counting.Progress = progress.For("triangulations");
      triangulations = SearchFlipGraph(points, TFlipGraph::Triangulations, split, counting);
    }
    if (!options.JsonFile.empty())
      WriteOutputs(
          {{options.JsonFile, "{\"pointed_pseudo_triangulations\":" + std::to_string(pointed) +
                                  ",\"triangulations\":" + std::to_string(triangulations) + "}\n"}},
          out);
    if (listing) listing->Commit();
  } catch (const TFileError& e) {
    Rethrow(e);
  }
  const bool outputOnStdout =
      options.JsonFile == kStandardOutputName || options.EnumerateFile == kStandardOutputName;
  std::ostream& text = outputOnStdout ? err : out;
  text << "Pointed pseudo-triangulations: " << pointed << "\n";
  if (options.Count) text << "Triangulations: " << triangulations << "\n";
  return kExitOk;
}

void ApplyRandomFlips(TCliDocument& doc, const TCliOptions& options) {
  // A convex-layers result is a pointed pseudo-triangulation too: flipped, it becomes a
  // subdivision, and its layer rows no longer describe it.
  if (!doc.HasSubdivision && !doc.Edges.empty() && !doc.PolygonRegion &&
      IsPointed(doc.Points, doc.Edges) && CheckPseudoTriangulation(doc.Points, doc.Edges).Valid) {
    BuildSubdivision(doc.Points, doc.Edges, doc.PT);
    doc.HasSubdivision = true;
    doc.Edges.clear();
    doc.Layers.clear();
  }
  if (!doc.HasSubdivision || doc.PolygonRegion || !IsPointed(doc.Points, doc.PT))
    throw UserError("Flips need a pointed pseudo-triangulation.");
  TPseudoTriangulationFlipper flipper(doc.Points, EdgeList(doc.PT));
  TRandom random(options.Seed);
  for (int k = 0; k < options.Flips; ++k) {
    // A uniform interior edge; one that cannot flip (points on a line) is dropped from the draw.
    size_t left = flipper.InteriorCount();
    std::vector<TEdge> inner;  // the draw's own list, made once an edge is dropped
    bool flipped = false;
    while (!flipped && left > 0) {
      const int i = random.Random(static_cast<int>(left));
      const TEdge e = inner.empty() ? flipper.Interior(static_cast<size_t>(i)) : inner[i];
      flipped = flipper.Flip(e) != kNoEdge;
      if (flipped) break;
      if (inner.empty()) inner = flipper.InteriorList();
      inner.erase(inner.begin() + i);
      left = inner.size();
    }
    if (!flipped) throw UserError("No edge of this pseudo-triangulation can be flipped.");
  }
  BuildSubdivision(doc.Points, flipper.Edges(), doc.PT);
}

}  // namespace qv::cli
