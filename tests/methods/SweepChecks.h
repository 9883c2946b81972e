// Checks of a sweep-line result, independent of the code that builds it.
#pragma once

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "dcel/DCEL.h"
#include "geometry/FuncionesMatematicas.h"
#include "geometry/Tipos.h"
#include "methods/Triangulos.h"
#include "methods/Verificador.h"

namespace qv::testing {

using testing_triangles::FaceCycle;

// Empty when the subdivision is a pseudo-triangulation of the hull of p as the sweep builds
// it; otherwise what failed. The checker decides planarity, coverage, the records and the three
// convex corners per face; on top of it: n - 2 faces and 2n - 3 edges, every face cycle
// counterclockwise on the screen, and every vertex pointed, except that one lying straight on
// the hull when later points covered it keeps exactly 180 degrees (an edge seen edge-on stays).
inline std::string CheckSweepResult(const TNube& p, const TDCEL& d) {
  std::ostringstream why;
  const int n = static_cast<int>(p.size());
  const TCheckReport report = CheckSubdivision(p, d);
  if (!report.Valid) return "checker: " + report.Reason;
  if (d.FaceCount() != n - 2) why << "faces " << d.FaceCount() << " != " << n - 2 << "; ";
  const int edges = static_cast<int>(EdgeList(d).size());
  if (edges != 2 * n - 3) why << "edges " << edges << " != " << 2 * n - 3 << "; ";
  std::vector<char> straight(static_cast<size_t>(n), 0);
  for (int f = 0; f < d.FaceCount(); ++f) {
    const std::vector<int> c = FaceCycle(d, f);
    __extension__ __int128 area2 =
        0;  // screen coordinates: negative for counterclockwise on the screen
    for (size_t i = 0; i < c.size(); ++i) {
      const int prev = c[(i + c.size() - 1) % c.size()], v = c[i], next = c[(i + 1) % c.size()];
      area2 += __extension__ __int128{int64_t{p[v].X} * p[next].Y - int64_t{p[next].X} * p[v].Y};
      if (Orientation(p[prev], p[v], p[next]) == Collinear) straight[v] = 1;
    }
    if (area2 >= 0) why << "face " << f << " not counterclockwise; ";
  }
  for (int e = 0; e < d.HalfEdgeCount(); ++e)  // straight angles on the final hull
    if (!d.HasTwin(e)) {
      int in = d.Prev(e);
      for (int guard = d.HalfEdgeCount(); d.HasTwin(in) && guard > 0; --guard)
        in = d.Prev(d.Twin(in));
      if (Orientation(p[d.Origin(in)], p[d.Origin(e)], p[d.Destination(e)]) == Collinear)
        straight[d.Origin(e)] = 1;
    }
  for (int v : report.NonPointedVertices)
    if (!straight[v]) why << "vertex " << v << " not pointed; ";
  return why.str();
}

}  // namespace qv::testing
