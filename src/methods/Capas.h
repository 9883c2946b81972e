// Convex-layers pseudo-triangulation: the onion layers of a point set, peeled from the outside
// in, the innermost one fanned from its top and every other one joined to the region inside it
// by tangent edges, so that each face between two consecutive layers is a pseudo-triangle.
//
// The result is the layer table itself: for every record v the edges are v-LayerNext(v),
// v-Link1(v) and v-Link2(v); a slot holding v adds nothing and a slot repeating another slot
// (or the ring neighbour LayerPrev(v)) repeats an edge that is already there.
#pragma once

#include <vector>

#include "geometry/Tipos.h"
#include "methods/Verificador.h"

namespace qv {

// Peels the layers of points sorted ascending by y, ties ascending by x (so that the lowest
// index of any subset is its top point and the highest its bottom one): every record gets its
// layer number and its two ring neighbours; the link slots hold the record's own index.
// Points on a layer's boundary between two corners belong to that layer. Coincident points are
// refused with "No coincident points allowed." before the table is touched.
void BuildConvexLayers(const TNube& points, TPTCapas& layers);

// Fills the link slots (and, for an innermost layer of one or two points, the ring fields of
// those points) of a table built by BuildConvexLayers. Every walk is bounded by the table
// size; a table that does not describe nested convex layers fails with a UserError.
void ConnectConvexLayers(TPTCapas& layers);

// The distinct edges of a connected table, as (min, max) pairs, sorted.
std::vector<TEdge> LayerEdges(const TPTCapas& layers);

// The computing half of the convex-layers driver, shared by the window and the command-line
// tool: fewer than 3 points fail with "At least 3 points are needed." leaving everything
// untouched; otherwise the points are sorted along (0, 1), ascending y then x (draggedPoint
// carried along), coincident or collinear sets are refused ("No coincident points allowed.",
// "At least 3 non-collinear points are needed.") and the layers are built and joined.
void ComputeConvexLayers(TNube& points, int& draggedPoint, TPTCapas& layers);

}  // namespace qv
