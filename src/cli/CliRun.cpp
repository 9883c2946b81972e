#include "cli/CliRun.h"

#include <unistd.h>

#include <iostream>
#include <numeric>
#include <sstream>

#include "cli/CliExperiment.h"
#include "cli/CliJson.h"
#include "cli/ImageExport.h"
#include "geometry/UserError.h"
#include "io/ArchivoPT.h"
#include "methods/Aleatorio.h"
#include "methods/Ejecucion.h"

namespace qv::cli {
namespace {

// Refuses what cannot run: an unknown or unbuilt method, an output not available yet.
const TCliMethod& ChooseMethod(const TCliOptions& options, const TMethodTable& methods) {
  const TCliMethod* method = FindMethod(methods, options.Method);
  if (!method) throw UsageError("unknown method '" + options.Method + "'");
  if (!method->Run) throw UsageError("method '" + options.Method + "' is not available yet");
  return *method;
}

std::vector<TEdge> ResultEdges(const TCliDocument& doc) {
  return doc.HasSubdivision ? EdgeList(doc.PT) : doc.Edges;
}

// Runs the method and writes every output; returns the exit status.
int Execute(const TCliOptions& options, const TCliMethod& method, std::ostream& out,
            std::ostream& err) {
  TCliDocument doc = LoadDocument(options, method);
  // The dispatcher's refusal, before any method runs.
  if (doc.Points.size() < 3) throw UserError("At least 3 points are needed.");
  method.Run(doc, options);
  TStatistics stats = method.Statistics
                          ? method.Statistics(doc)
                          : ComputeStatistics(doc.Points, doc.PT, kThousandsSeparator);
  TCheckReport report;
  if (options.Check) report = CheckDocument(doc);
  std::ostream& text = options.JsonFile == "-" ? err : out;
  if (!options.JsonFile.empty()) {
    std::string json = ResultJson(options, doc, ResultEdges(doc), stats);
    if (options.JsonFile == "-")
      out << json << std::flush;
    else
      WriteFileSafely(options.JsonFile, json);
  }
  if (!options.OutFile.empty()) SavePT(options.OutFile, doc.Points, doc.Polygon);
  if (!options.ImageFile.empty()) WriteResultImage(options, doc);
  PrintStatistics(text, stats);
  if (!options.Check) return kExitOk;
  PrintCheck(text, report);
  return report.Valid ? kExitOk : kExitCheckFailed;
}

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
  out << r.NonPointed << " non-pointed vertices:";
  for (int v : r.NonPointedVertices) out << " " << v;
  out << "\n";
}

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
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

}  // namespace qv::cli
