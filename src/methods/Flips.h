// Flips of pointed pseudo-triangulations and of triangulations, and the counts of both over a
// point set, by a search of their flip graphs.
//
// A pseudo-triangulation is held here as its canonical form: the sorted list of its edges
// (A < B, vertex i = point i). Two pseudo-triangulations are equal exactly when their lists are.
// The flips and counts assume points in general position (distinct, no three on a line); every
// entry point that a user can reach checks that first.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "dcel/DCEL.h"
#include "geometry/Tipos.h"
#include "methods/Verificador.h"

namespace qv {

// "No edge": what a flip returns when it cannot be made.
inline constexpr TEdge kNoEdge{kNone, kNone};

// True when every point of the set is the end of some edge and, at every point, two edges that
// are consecutive around it enclose an angle strictly larger than 180 degrees (hull points
// included; a point with one edge counts as pointed). Edges may be given in any order.
bool IsPointed(const TNube& points, const std::vector<TEdge>& edges);
bool IsPointed(const TNube& points, const TDCEL& subdivision);

// Distinct points, no three on one line.
bool InGeneralPosition(const TNube& points);

// The edges of the convex hull of points (at least 3, not all on a line), sorted.
std::vector<TEdge> HullEdges(const TNube& points);

// The inner edges of edges: those not on the hull (hull as given by HullEdges).
std::vector<TEdge> InteriorEdges(const std::vector<TEdge>& edges, const std::vector<TEdge>& hull);

// Flips the interior edge e of the pointed pseudo-triangulation edges (sorted): e is removed
// and the one segment of the geodesic between the two other corners of the pseudo-quadrilateral
// left behind is inserted, keeping the list sorted. Returns the inserted edge, or kNoEdge (the
// list untouched) when e is not an edge, is a hull edge, or the points are degenerate so that
// no single flip exists.
TEdge FlipPseudoTriangulationEdge(const TNube& points, std::vector<TEdge>& edges, TEdge e,
                                  const std::vector<TEdge>& hull);

// Lawson flip of the interior edge e of the triangulation edges (sorted): the diagonal of the
// convex quadrilateral of its two triangles is replaced by the other diagonal. Returns the new
// edge, or kNoEdge (list untouched) when the quadrilateral is not strictly convex.
TEdge FlipTriangulationEdge(const TNube& points, std::vector<TEdge>& edges, TEdge e,
                            const std::vector<TEdge>& hull);

// Starting points of the searches, for points in general position (at least 3): the points are
// added in lexicographic (x, y) order, each joined to the hull of those before it, to its two
// tangent points only (a pointed pseudo-triangulation) or to every hull point it sees (a
// triangulation).
std::vector<TEdge> SweepPseudoTriangulation(const TNube& points);
std::vector<TEdge> SweepTriangulationEdges(const TNube& points);

// Called with every pseudo-triangulation (or triangulation) found; returning false stops the
// search.
using TVisitEdges = std::function<bool(const std::vector<TEdge>&)>;
// Called now and then during a search with the number found so far.
using TSearchProgress = std::function<void(uint64_t)>;

// Searches the flip graph from one start and returns the number of vertices visited (all of
// them unless visit stopped the search). Points in general position, at least 3, at most 255.
uint64_t EnumeratePointedPseudoTriangulations(const TNube& points, const TVisitEdges& visit = {},
                                              const TSearchProgress& progress = {});
uint64_t EnumerateTriangulations(const TNube& points, const TVisitEdges& visit = {},
                                 const TSearchProgress& progress = {});

// Builds the subdivision of the pseudo-triangulation edges over points: one face per bounded
// face, every cycle counterclockwise on the screen, hull edges as single half-edges without
// twin, vertex i = point i. edges must be planar and connected, covering the hull.
void BuildSubdivision(const TNube& points, const std::vector<TEdge>& edges, TDCEL& subdivision);

}  // namespace qv
