#include "cli/CliFlips.h"

#include <chrono>
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

// A line on err that follows a long search, shown once the search has run for a second.
class TProgressLine {
 public:
  explicit TProgressLine(std::ostream& err) : err_(err) {}
  ~TProgressLine() {
    if (shown_) err_ << "\n";
  }
  TSearchProgress For(const std::string& what) {
    return [this, what](uint64_t found) {
      if (std::chrono::steady_clock::now() - start_ < std::chrono::seconds(1)) return;
      shown_ = true;
      err_ << "\rCounting " << what << ": " << found << " so far" << std::flush;
    };
  }

 private:
  std::ostream& err_;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
  bool shown_ = false;
};

// One line of the enumeration: {"edges":[[a,b],...]}.
void AppendEdgesLine(std::string& lines, const std::vector<TEdge>& edges) {
  lines += "{\"edges\":[";
  for (size_t i = 0; i < edges.size(); ++i) {
    lines += i ? ",[" : "[";
    lines += std::to_string(edges[i].A) + "," + std::to_string(edges[i].B) + "]";
  }
  lines += "]}\n";
}

}  // namespace

bool CountRequested(const TCliOptions& options) {
  return options.Count || !options.EnumerateFile.empty();
}

void CheckFlipOptions(const TCliOptions& o) {
  if (!CountRequested(o)) return;
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
  // The enumeration is kept whole so that it is written with the other output or not at all.
  std::string lines;
  TVisitEdges visit;
  if (!options.EnumerateFile.empty())
    visit = [&lines](const std::vector<TEdge>& edges) {
      AppendEdgesLine(lines, edges);
      return true;
    };
  uint64_t pointed = 0, triangulations = 0;
  {
    TProgressLine progress(err);
    pointed = EnumeratePointedPseudoTriangulations(points, visit,
                                                   progress.For("pointed pseudo-triangulations"));
    if (options.Count)
      triangulations = EnumerateTriangulations(points, {}, progress.For("triangulations"));
  }
  std::vector<TOutputFile> outputs;
  if (!options.EnumerateFile.empty()) outputs.push_back({options.EnumerateFile, std::move(lines)});
  if (!options.JsonFile.empty())
    outputs.push_back(
        {options.JsonFile, "{\"pointed_pseudo_triangulations\":" + std::to_string(pointed) +
                               ",\"triangulations\":" + std::to_string(triangulations) + "}\n"});
  WriteOutputs(outputs, out);
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
      IsPointed(doc.Points, doc.Edges) &&
      CheckPseudoTriangulation(doc.Points, doc.Edges).Valid) {
    BuildSubdivision(doc.Points, doc.Edges, doc.PT);
    doc.HasSubdivision = true;
    doc.Edges.clear();
    doc.Layers.clear();
  }
  if (!doc.HasSubdivision || doc.PolygonRegion || !IsPointed(doc.Points, doc.PT))
    throw UserError("Flips need a pointed pseudo-triangulation.");
  std::vector<TEdge> edges = EdgeList(doc.PT);
  const std::vector<TEdge> hull = HullEdges(doc.Points);
  TRandom random(options.Seed);
  for (int k = 0; k < options.Flips; ++k) {
    // A uniform interior edge; one that cannot flip (points on a line) is dropped from the draw.
    std::vector<TEdge> inner = InteriorEdges(edges, hull);
    bool flipped = false;
    while (!flipped && !inner.empty()) {
      const int i = random.Random(static_cast<int>(inner.size()));
      flipped = FlipPseudoTriangulationEdge(doc.Points, edges, inner[i], hull) != kNoEdge;
      inner.erase(inner.begin() + i);
    }
    if (!flipped) throw UserError("No edge of this pseudo-triangulation can be flipped.");
  }
  BuildSubdivision(doc.Points, edges, doc.PT);
}

}  // namespace qv::cli
