#include "cli/CliMethods.h"

#include "geometry/UserError.h"
#include "methods/Aleatorio.h"
#include "methods/CaminosMinimos.h"
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

// The shortest-paths driver with the chooser's answer given by --triangulation: the fan, or a
// random triangulation of the convex n-gon; the same generator then serves the pockets.
void RunShortestPaths(TCliDocument& doc, const TCliOptions& options) {
  if (!doc.Polygon) throw UserError("Polygon must be defined.");
  TRandom random(options.Seed);
  TRandomSource source = [&random](int m) { return random.Random(m); };
  const int n = static_cast<int>(doc.Points.size());
  TDCEL triangulation;
  if (options.Triangulation == "random" && n > 3)
    RandomConvexTriangulation(n, source, triangulation);
  else
    ConvexPolygonFan(n, triangulation);
  doc.Ranges = ShortestPathsPT(doc.Points, triangulation, options.Pockets, source, doc.PT);
  doc.HasSubdivision = true;
  doc.PolygonRegion = !options.Pockets;
}

}  // namespace

const TMethodTable& DefaultMethods() {
  static const TMethodTable table = {
      {"sweep", RunSweep, {}, false},
      {"layers", {}, {}, false},
      {"sweep-triangulation", {}, {}, false},
      {"delaunay", {}, {}, false},
      {"remove-edges", {}, {}, false},
      {"remove-triangles", {}, {}, false},
      {"incremental-face", {}, {}, false},
      {"incremental-vertex", {}, {}, false},
      {"shortest-paths", RunShortestPaths, {}, true},
  };
  return table;
}

const TCliMethod* FindMethod(const TMethodTable& methods, const std::string& name) {
  for (const TCliMethod& m : methods)
    if (m.Name == name) return &m;
  return nullptr;
}

}  // namespace qv::cli
