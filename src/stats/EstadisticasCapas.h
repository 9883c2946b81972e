// The figures of a convex-layers result, counted from its layer table instead of a subdivision.
// The result's edges are, for every record v, v-LayerNext(v), v-Link1(v) and v-Link2(v); a slot
// holding v adds nothing and a slot repeating an earlier one repeats an edge.
#pragma once

#include <string>

#include "geometry/Tipos.h"
#include "stats/Estadisticas.h"

namespace qv {

// Total length of the result's edges, each counted once: the ring edge v-LayerNext(v) within a
// layer (once on a layer of two points) and the link edges that repeat no ring edge.
double LayersWeight(const TNube& points, const TPTCapas& layers);
// Largest number of edges at a point (ring neighbours on its own layer plus link edges at
// either end); never below 2.
int LayersVertexDegree(const TNube& points, const TPTCapas& layers);
// The bounded faces of the result: how many are triangles, how many are not, and the largest
// face degree (never below 3). The faces are traced around the points from the edges, so that
// points lying straight on a layer edge or a tangent are counted as the boundary points they
// are.
void LayersFaceStats(const TPTCapas& layers, int& triangles, int& others, int& maxDegree);

// The six figures of the panel from the layer figures, in the panel's order: points, weight
// (text with thousandsSeparator), face degree, triangles, faces, vertex degree.
TStatistics ComputeLayerStatistics(const TNube& points, const TPTCapas& layers,
                                   const std::string& thousandsSeparator);

}  // namespace qv
