#include "cli/CliMethods.h"

#include "geometry/UserError.h"
#include "methods/Aleatorio.h"
#include "methods/CaminosMinimos.h"
#include "methods/Capas.h"
#include "methods/Ejecucion.h"
#include "methods/Eleccion.h"
#include "methods/Incremental.h"
#include "methods/Remocion.h"
#include "stats/EstadisticasCapas.h"

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

// The convex-layers driver's computation: sort top down, peel the layers and join them. The
// result is the layer table, kept as rows of the document, and its edges.
void RunLayers(TCliDocument& doc, const TCliOptions&) {
  int dragged = kNone;
  TPTCapas layers;
  ComputeConvexLayers(doc.Points, dragged, layers);
  doc.Edges = LayerEdges(layers);
  doc.Layers.clear();
  for (const TCapa& r : layers.Records)
    doc.Layers.push_back({r.X, r.Y, r.Layer, r.LayerPrev, r.LayerNext, r.Link1, r.Link2});
}

// The figures the window's panel shows for a convex-layers result, from the kept rows (or of
// the subdivision that flips made of it).
TStatistics LayerStatistics(const TCliDocument& doc) {
  if (doc.HasSubdivision) return ComputeStatistics(doc.Points, doc.PT, kThousandsSeparator);
  TPTCapas layers;
  for (const std::vector<long long>& row : doc.Layers) {
    TCapa r;
    int32_t* fields[] = {&r.X, &r.Y, &r.Layer, &r.LayerPrev, &r.LayerNext, &r.Link1, &r.Link2};
    for (size_t k = 0; k < 7 && k < row.size(); ++k) *fields[k] = static_cast<int32_t>(row[k]);
    layers.Records.push_back(r);
  }
  return ComputeLayerStatistics(doc.Points, layers, kThousandsSeparator);
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

// The chooser's answer for an n-gon as --triangulation gives it: the fan from vertex 0 that the
// chooser opens with, or that fan after the flips of its "Random" button (generator seeded by
// --seed).
TDCEL ChosenTriangulation(int n, const TCliOptions& options) {
  TTriangulationChoice choice;
  choice.Prepare(n);
  if (options.Triangulation == "random") {
    TRandom random(options.Seed);
    choice.RandomFlips(random);
  }
  return choice.Triangulation();
}

// The triangulate-and-remove driver's computation for one of its four variants: sort by x,
// collinear start with a second sort, sweep triangulation, then the variant's stages.
template <TRemocionVariant variant>
void RunTriangulateRemove(TCliDocument& doc, const TCliOptions&) {
  int dragged = kNone;
  ComputeTriangulateRemove(doc.Points, variant, dragged, doc.PT);
  doc.HasSubdivision = true;
}

void RunIncrementalFace(TCliDocument& doc, const TCliOptions& options) {
  int dragged = kNone;
  ComputeIncrementalFace(
      doc.Points, dragged, [&options](int n) { return ChosenTriangulation(n, options); }, doc.PT);
  doc.HasSubdivision = true;
}

void RunIncrementalVertex(TCliDocument& doc, const TCliOptions&) {
  int dragged = kNone;
  ComputeIncrementalVertex(doc.Points, dragged, doc.PT);
  doc.HasSubdivision = true;
}

}  // namespace

const TMethodTable& DefaultMethods() {
  static const TMethodTable table = {
      {"sweep", RunSweep, {}, false},
      {"layers", RunLayers, LayerStatistics, false},
      {"sweep-triangulation", RunTriangulateRemove<TRemocionVariant::Sweep>, {}, false},
      {"delaunay", RunTriangulateRemove<TRemocionVariant::Delaunay>, {}, false},
      {"remove-edges", RunTriangulateRemove<TRemocionVariant::RemoveEdges>, {}, false},
      {"remove-triangles", RunTriangulateRemove<TRemocionVariant::RemoveTriangles>, {}, false},
      {"incremental-face", RunIncrementalFace, {}, false, true},
      {"incremental-vertex", RunIncrementalVertex, {}, false},
      {"shortest-paths", RunShortestPaths, {}, true, true, true},
  };
  return table;
}

const TCliMethod* FindMethod(const TMethodTable& methods, const std::string& name) {
  for (const TCliMethod& m : methods)
    if (m.Name == name) return &m;
  return nullptr;
}

}  // namespace qv::cli
