// The document a command-line run works on and the table of construction methods. Adding a
// method is one entry in DefaultMethods().
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "cli/CliOptions.h"
#include "dcel/DCEL.h"
#include "geometry/Tipos.h"
#include "methods/CaminosMinimos.h"
#include "methods/Verificador.h"
#include "stats/Estadisticas.h"

namespace qv::cli {

// What the window's document holds after a method ran.
struct TCliDocument {
  TNube Points;
  int Moved = 0;         // points the method moved off coincident or collinear positions
  bool Polygon = false;  // the points, in index order, are a closed polygon
  // The result covers the polygon alone; otherwise it covers the points' convex hull.
  bool PolygonRegion = false;
  TDCEL PT;  // the result, for the methods that build a subdivision
  bool HasSubdivision = false;
  // The result's edges for methods without a subdivision (i < j, each once).
  std::vector<TEdge> Edges;
  // Convex layers: one record per point, x, y, layer, prev, next, link1, link2.
  std::vector<std::vector<long long>> Layers;
  // Shortest paths: the polygon, geodesic and pocket half-edge ranges of PT.
  THalfEdgeRanges Ranges;
};

struct TCliMethod {
  std::string Name;
  // Runs the method on the document as the window's driver does (sorting, nudging). Throws
  // UserError with the window's message. Empty for a method not built yet.
  std::function<void(TCliDocument&, const TCliOptions&)> Run;
  // The six figures; empty for the statistics of the subdivision.
  std::function<TStatistics(const TCliDocument&)> Statistics;
  // The method takes the points as a closed polygon (a "POL" file).
  bool PolygonInput = false;
  // The options the method reads; given to another method they are refused.
  bool UsesTriangulation = false;  // --triangulation
  bool UsesPockets = false;        // --pockets
};

using TMethodTable = std::vector<TCliMethod>;

// Every method name of the interface; those not built yet have no Run.
const TMethodTable& DefaultMethods();
// The entry called name, or nullptr.
const TCliMethod* FindMethod(const TMethodTable& methods, const std::string& name);

// Thousands separator of the printed weight: the C locale has none, so the comma is used.
inline constexpr const char* kThousandsSeparator = ",";

}  // namespace qv::cli
