#include "cli/CliRun.h"

#include <unistd.h>

#include <iostream>
#include <numeric>
#include <sstream>

#include "cli/CliExperiment.h"
#include "cli/CliFlips.h"
#include "cli/CliJson.h"
#include "cli/ImageExport.h"
#include "geometry/UserError.h"
#include "io/ArchivoPT.h"
#include "methods/Aleatorio.h"
#include "methods/Ejecucion.h"
#include "methods/Pasos.h"

namespace qv::cli {
namespace {

// Refuses what cannot run: an unknown or unbuilt method, an option the method would ignore.
const TCliMethod& ChooseMethod(const TCliOptions& options, const TMethodTable& methods) {
  const TCliMethod* method = FindMethod(methods, options.Method);
  // Appended piecewise: "'" + string trips a false -Wrestrict of GCC 12 in optimised builds.
  std::string name = "'";
  name += QuotedInput(options.Method);
  name += '\'';
  if (!method) throw UsageError("unknown method " + name);
  if (!method->Run) throw UsageError("method " + name + " is not available yet");
  if (options.WasGiven("--triangulation") && !method->UsesTriangulation)
    throw UsageError("method " + name + " takes no --triangulation");
  if (options.WasGiven("--pockets") && !method->UsesPockets)
    throw UsageError("method " + name + " takes no --pockets");
  return *method;
}

std::vector<TEdge> ResultEdges(const TCliDocument& doc) {
  return doc.HasSubdivision ? EdgeList(doc.PT) : doc.Edges;
}

// Every output's content, made before any is written.
std::vector<TOutputFile> Outputs(const TCliOptions& options, const TCliDocument& doc,
                                 const TStatistics& stats, const TRecorder& steps) {
  std::vector<TOutputFile> outputs;
  if (!options.JsonFile.empty())
    outputs.push_back({options.JsonFile, ResultJson(options, doc, ResultEdges(doc), stats)});
  if (!options.OutFile.empty())
    outputs.push_back({options.OutFile, FormatPT(doc.Points, doc.Polygon)});
  if (!options.ImageFile.empty()) outputs.push_back({options.ImageFile, ResultImage(options, doc)});
  if (!options.StepsFile.empty())
    outputs.push_back({options.StepsFile, StepsJson(options.Method, doc.Points, steps.Steps())});
  return outputs;
}

// Runs the method and writes every output; returns the exit status.
int Execute(const TCliOptions& options, const TCliMethod& method, std::ostream& out,
            std::ostream& err) {
  CheckDestinations({options.JsonFile, options.OutFile, options.ImageFile, options.EnumerateFile});
  if (CountRequested(options)) return RunCount(options, out, err);
  TCliDocument doc = LoadDocument(options, method);
  // The dispatcher's refusal, before any method runs.
  if (doc.Points.size() < 3) throw UserError("At least 3 points are needed.");
  const TNube given = doc.Points;
  TRecorder steps;
  {
    const TRecording recording(options.StepsFile.empty() ? nullptr : &steps);
    method.Run(doc, options);
  }
  doc.Moved = CountMovedPoints(given, doc.Points);
  if (options.Flips > 0) ApplyRandomFlips(doc, options);
  TStatistics stats = method.Statistics
                          ? method.Statistics(doc)
                          : ComputeStatistics(doc.Points, doc.PT, kThousandsSeparator);
  TCheckReport report;
  if (options.Check) report = CheckDocument(doc);
  const bool outputOnStdout = options.JsonFile == kStandardOutputName ||
                              options.OutFile == kStandardOutputName ||
                              options.StepsFile == kStandardOutputName;
  std::ostream& text = outputOnStdout ? err : out;
  WriteOutputs(Outputs(options, doc, stats, steps), out);
  if (doc.Moved > 0)
    err << doc.Moved << (doc.Moved == 1 ? " point was" : " points were")
        << " moved to avoid coincident or collinear positions.\n";
  PrintStatistics(text, stats);
  if (!options.Check) return kExitOk;
  PrintCheck(text, report);
  return report.Valid ? kExitOk : kExitCheckFailed;
}

}  // namespace

void CannotWrite(const TFileError& e) {
  const std::string& name = e.FileName();
  std::string shown = name == kStandardOutputName ? "standard output" : "'" + name + "'";
  for (char& c : shown) c = static_cast<unsigned char>(c) < 0x20 || c == 0x7f ? '?' : c;
  throw UserError("Cannot write " + shown + ": " + e.what());
}

void WriteOutputs(const std::vector<TOutputFile>& outputs, std::ostream& out) {
  try {
    WriteFilesSafely(outputs, &out);
  } catch (const TFileError& e) {
    CannotWrite(e);
  }
}

void CheckDestinations(const std::vector<std::string>& names) {
  try {
    for (const std::string& name : names)
      if (!name.empty()) CheckOutputFile(name);
  } catch (const TFileError& e) {
    CannotWrite(e);
  }
}

namespace {

// A progress bar only where a person watches: the process's own standard error, a terminal.
bool ProgressOnTerminal(const std::ostream& err) {
  return &err == &std::cerr && isatty(STDERR_FILENO) != 0;
}

}  // namespace

TCliDocument LoadDocument(const TCliOptions& options, const TCliMethod& method) {
  TCliDocument doc;
  if (options.RandomCount > 0) {
    TRandom random(options.Seed);
    doc.Points = options.Uniform ? GenerateUniform(random, options.RandomCount, options.CanvasWidth,
                                                   options.CanvasHeight)
                                 : GenerateNormal(random, options.RandomCount, options.Deviation,
                                                  options.CanvasWidth, options.CanvasHeight);
  } else {
    TArchivoPT file = LoadPT(options.File);
    doc.Points = std::move(file.Points);
    doc.Polygon = method.PolygonInput && file.Polygon();
  }
  // As the window does after opening a point set or generating one.
  if (!doc.Polygon) {
    double dirX = 1.0, dirY = 0.0;
    SweepDirectionFromAngle(options.Angle, dirX, dirY);
    int dragged = kNone;
    SortPointsByDirection(doc.Points, dirX, dirY, dragged);
  }
  return doc;
}

void PrintStatistics(std::ostream& out, const TStatistics& s) {
  out << "Weight     :" << (s.Weight.empty() ? "" : " " + s.Weight) << "\n"
      << "V degree  : " << s.VertexDegree << "\n"
      << "F degree  : " << s.FaceDegree << "\n"
      << "Points      : " << s.Points << "\n"
      << "Faces : " << s.Faces << "\n"
      << "Triangles : " << s.Triangles << "\n";
}

TCheckReport CheckDocument(const TCliDocument& doc) {
  std::vector<int> polygon(doc.Points.size());
  std::iota(polygon.begin(), polygon.end(), 0);
  if (doc.HasSubdivision)
    return doc.PolygonRegion ? CheckSubdivisionOfPolygon(doc.Points, polygon, doc.PT)
                             : CheckSubdivision(doc.Points, doc.PT);
  return doc.PolygonRegion ? CheckPseudoTriangulationOfPolygon(doc.Points, polygon, doc.Edges)
                           : CheckPseudoTriangulation(doc.Points, doc.Edges);
}

void PrintCheck(std::ostream& out, const TCheckReport& r) {
  if (!r.Valid) {
    out << "Check: not a pseudo-triangulation: " << r.Reason << "\n";
    return;
  }
  out << "Check: pseudo-triangulation, " << r.Faces << " faces, " << r.Triangles << " triangles, ";
  if (r.Pointed()) {
    out << "pointed\n";
    return;
  }
  // A grid has thousands of them: the count tells, the first few locate them.
  constexpr size_t kListed = 10;
  const std::vector<int>& v = r.NonPointedVertices;
  out << r.NonPointed << " non-pointed vertices:";
  for (size_t i = 0; i < v.size() && i < kListed; ++i) out << " " << v[i];
  out << (v.size() > kListed ? " ...\n" : "\n");
}

namespace {

int RunUnflushed(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                 const TMethodTable& methods) {
  if (args.size() == 1 && args[0] == "--version") {
    out << "quilvaron-cli " << QUILVARON_VERSION << "\n";
    return kExitOk;
  }
  if (!args.empty() && args[0] == "experiment") {
    return RunExperiment({args.begin() + 1, args.end()}, out, err, ProgressOnTerminal(err),
                         methods);
  }
  const TCliMethod* method = nullptr;
  TCliOptions options;
  try {
    options = ParseArguments(args);
    if (options.Help) {
      out << UsageText();
      return kExitOk;
    }
    method = &ChooseMethod(options, methods);
  } catch (const UsageError& e) {
    err << "quilvaron-cli: " << e.what() << "\n" << UsageText();
    return kExitUsage;
  }
  try {
    return Execute(options, *method, out, err);
  } catch (const UserError& e) {
    err << e.what() << "\n";
    return kExitFailure;
  } catch (const std::exception& e) {  // out of memory and the like
    err << e.what() << "\n";
    return kExitFailure;
  }
}

}  // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const TMethodTable& methods) {
  const int status = RunUnflushed(args, out, err, methods);
  // Figures that never reached standard output are lost work: a failure, with its cause. A
  // failure already reported (the JSON on a full standard output) is not reported twice.
  if (out.flush() || status == kExitFailure) return status;
  err << "Cannot write standard output: " << WriteErrorMessage(StreamError(out)) << "\n";
  return kExitFailure;
}

}  // namespace qv::cli
