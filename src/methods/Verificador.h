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
// Region: the convex hull of the points. Every point must be a vertex of the result; points on
// a hull edge are boundary vertices with a straight angle. Edges may be given in either
// orientation; garbage (bad indices, repeats, coincident points) gives Valid false, never a
// crash.
TCheckReport CheckPseudoTriangulation(const TNube& points, const std::vector<TEdge>& edges);
// Region: the simple polygon through polygon[0], polygon[1], ... (indices into points), in
// either sense; every polygon edge must be an edge. Points that are neither polygon vertices
// nor edge ends play no part.
TCheckReport CheckPseudoTriangulationOfPolygon(const TNube& points, const std::vector<int>& polygon,
                                               const std::vector<TEdge>& edges);
// The same checks on a subdivision as the methods leave it: first its own invariants
// (TDCEL::IsValid), then its edges as above, then its records: every live face record is one
// bounded face of the edges (its cycle in either sense), every bounded face has one record,
// and a half-edge without twin has the outer face on its other side.
TCheckReport CheckSubdivision(const TNube& points, const TDCEL& subdivision);
TCheckReport CheckSubdivisionOfPolygon(const TNube& points, const std::vector<int>& polygon,
                                       const TDCEL& subdivision);

}  // namespace qv
