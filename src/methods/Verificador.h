// Independent checker of results: is a set of points and edges a pseudo-triangulation of its
// region (the convex hull of the points, or a simple polygon over them)?
#pragma once

#include <string>
#include <vector>

#include "dcel/DCEL.h"
#include "geometry/Tipos.h"

namespace qv {

struct TEdge {
  int A = kNone;  // A < B
  int B = kNone;
  friend bool operator==(const TEdge&, const TEdge&) = default;
  friend auto operator<=>(const TEdge&, const TEdge&) = default;
};

struct TCheckReport {
  bool Valid = false;  // planar, covers the region, every face has exactly 3 convex corners
  std::string Reason;  // why not, when Valid is false
  int Faces = 0;       // bounded faces found
  int Triangles = 0;   // faces with exactly three edges
  int NonPointed = 0;  // vertices with no angle above 180 degrees
  std::vector<int> NonPointedVertices;
  bool Pointed() const { return NonPointed == 0; }
};

// Every live edge of a subdivision once, as (min, max) vertex pairs, sorted.
std::vector<TEdge> EdgeList(const TDCEL& subdivision);
// Region: the convex hull of the points. Every point must be a vertex of the result.
TCheckReport CheckPseudoTriangulation(const TNube& points, const std::vector<TEdge>& edges);
// Region: the simple polygon through polygon[0], polygon[1], ... (indices into points).
TCheckReport CheckPseudoTriangulationOfPolygon(const TNube& points, const std::vector<int>& polygon,
                                               const std::vector<TEdge>& edges);

}  // namespace qv
