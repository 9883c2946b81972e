// Shortest-paths pseudo-triangulation of a simple polygon.
//
// Every diagonal (a, b) of a triangulation of the abstract convex n-gon (vertices 0 .. n-1) is
// replaced by the geodesic from polygon vertex a to polygon vertex b: the shortest path inside
// the polygon. Geodesics of non-crossing diagonals never cross, so the polygon boundary and
// their union subdivide the polygon into pseudo-triangles. Optionally every pocket (the region
// between the polygon and a hull edge that is not a polygon edge) is pseudo-triangulated the
// same way and appended, so that the result covers the convex hull.
//
// Visibility convention: vertex j is visible from vertex i when the closed segment i-j lies in
// the closed polygon and its relative interior holds no vertex. A straight run through a vertex
// is split there, so every segment of a geodesic is an edge of a proper planar subdivision.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "dcel/DCEL.h"
#include "geometry/Tipos.h"

namespace qv {

// A uniform integer in 0 .. m-1 (the application's random generator).
using TRandomSource = std::function<int(int m)>;
// Fills an empty subdivision with a triangulation of the abstract convex m-gon: vertices
// 0 .. m-1, half-edges 0 .. m-1 the boundary (half-edge k leaves vertex k, no twins), every
// later half-edge belongs to a diagonal.
using TTriangulationSource = std::function<void(int m, TDCEL& triangulation)>;

// The three consecutive half-edge ranges of a result: [0, PolygonEnd) the polygon boundary,
// [PolygonEnd, ResultEnd) the geodesic segments, [ResultEnd, PocketsEnd) the pockets.
struct THalfEdgeRanges {
  int PolygonEnd = 0;
  int ResultEnd = 0;
  int PocketsEnd = 0;
};

// ---- The polygon -------------------------------------------------------------------------

// True when the closed chain through the points in index order is a simple polygon: at least
// three pairwise distinct vertices, no two edges meeting except consecutive ones at their
// shared vertex, and consecutive edges not folding back onto each other.
bool IsSimplePolygon(const TNube& points);
// Reverses the points in place when the polygon's index order runs clockwise as displayed, so
// that it runs in the sense of the hull cycle of BuildHull; true when it reversed them. Needs a
// simple polygon.
bool OrientPolygon(TNube& points);
// A triangulation of a simple polygon by ear clipping; every triangle lists its vertices in the
// polygon's sense of turn and holds no other vertex, not even on its sides.
std::vector<std::array<int, 3>> TriangulateSimplePolygon(const TNube& points);

// ---- Geodesics ------------------------------------------------------------------------

// The segments of the geodesics of the triangulation's diagonals (vertex count n), each once,
// in the order of first use when the diagonals are taken in half-edge order and each geodesic
// is followed from the diagonal's origin, and directed as met there. Every diagonal is grown from a
// shortest-path tree of one of its ends that only enters the triangles leading to the ends wanted:
// memory linear in the polygon. owners, when given, receives per segment the diagonal (its two
// ends, the geodesic's start first) whose geodesic first uses it.
std::vector<std::array<int, 2>> GeodesicSegments(const TNube& points, const TDCEL& triangulation,
                                                 std::vector<std::array<int, 2>>* owners = nullptr);

// ---- Building the result -----------------------------------------------------------------

// The face around vertex u whose boundary cycle also holds v, or -1; ok is true when u-v is not
// already an edge of that face (so the face is to be split).
int FindSplitFace(int u, int v, const TDCEL& subdivision, bool& ok);
// The fan from vertex 0 of the abstract convex m-gon (a triangle for m = 3).
void ConvexPolygonFan(int m, TDCEL& triangulation);
// The fan followed by 1 + random(3(m - 3)) flips of random diagonal half-edges (m > 3).
void RandomConvexTriangulation(int m, const TRandomSource& random, TDCEL& triangulation);
// Pseudo-triangulates every pocket of the oriented polygon and appends it to the subdivision,
// whose half-edges 0 .. n-1 are the polygon boundary. The pocket triangulations come from
// pocketTriangulation. Hull edges are split at polygon vertices lying on them.
void FillPockets(const TNube& points, TDCEL& subdivision,
                 const TTriangulationSource& pocketTriangulation);
// The shortest-paths pseudo-triangulation of one pocket polygon (lid first: pocket[0] -> pocket[1]
// is the hull edge) into an empty subdivision.
void PocketPT(const TNube& pocket, TDCEL& pocketSubdivision,
              const TTriangulationSource& pocketTriangulation);
// Appends a pocket subdivision whose lid starts at polygon vertex a; the pocket's chain
// half-edges become the twins of the polygon boundary half-edges they run along.
void MergePocket(int a, TDCEL& subdivision, const TDCEL& pocketSubdivision);

// ---- The computing half of the driver ----------------------------------------------------

// One run of the method on the document's polygon.
class TShortestPathsRun {
 public:
  // Refuses a polygon that is not simple with "Polygon must be simple. No crossing edges
  // allowed.", then orients it (the document's points may be reversed).
  explicit TShortestPathsRun(TNube& points);

  // Rebuilds result from scratch: the polygon, the geodesics of the triangulation's diagonals
  // (its vertex count must be the polygon's), then, with pockets, the pockets.
  THalfEdgeRanges Compute(const TDCEL& triangulation, bool pockets,
                          const TTriangulationSource& pocketTriangulation, TDCEL& result);

  // The points were reversed by the orientation: point k is the former point n - 1 - k.
  bool Reversed() const { return reversed_; }

 private:
  const TNube& points_;
  bool reversed_ = false;
};

// One complete computation (the command-line tool's run): check, orient, compute; pockets are
// triangulated by RandomConvexTriangulation with random.
THalfEdgeRanges ShortestPathsPT(TNube& points, const TDCEL& triangulation, bool pockets,
                                const TRandomSource& random, TDCEL& result);

}  // namespace qv
