#include "cli/CliMethods.h"

#include "methods/Ejecucion.h"

namespace qv::cli {
namespace {

// The sweep-line driver's computation: sort along the compass direction, nudge a collinear
// start, sweep.
void RunSweep(TCliDocument& doc, const TCliOptions& options) {
  double dirX = 1.0, dirY = 0.0;
  SweepDirectionFromAngle(options.Angle, dirX, dirY);
  int dragged = kNone;
  ComputeSweepLine(doc.Points, dirX, dirY, dragged, doc.PT);
  doc.HasSubdivision = true;
}

}  // namespace

const TMethodTable& DefaultMethods() {
  static const TMethodTable table = {
      {"sweep", RunSweep, {}, false},         {"layers", {}, {}, false},
      {"sweep-triangulation", {}, {}, false}, {"delaunay", {}, {}, false},
      {"remove-edges", {}, {}, false},        {"remove-triangles", {}, {}, false},
      {"incremental-face", {}, {}, false},    {"incremental-vertex", {}, {}, false},
      {"shortest-paths", {}, {}, true},
  };
  return table;
}

const TCliMethod* FindMethod(const TMethodTable& methods, const std::string& name) {
  for (const TCliMethod& m : methods)
    if (m.Name == name) return &m;
  return nullptr;
}

}  // namespace qv::cli
