// Rendering of a shortest-paths result from the three half-edge ranges of its subdivision.
#pragma once

#include "app/Lienzo.h"
#include "methods/CaminosMinimos.h"

namespace qv {

// The edges and points of the result held in the document's subdivision, on the canvas as it
// stands. Without pockets: the polygon's half-edges in style 1 one pixel thicker, then the
// geodesic half-edges in style 2, then the points with the first highlighted unless monocolor.
// With pockets: the pocket half-edges in style 5 first, then the same; with pockets and
// monocolor every half-edge in style 1 at its own width and no highlighted point.
void DrawShortestPaths(TDrawing& drawing, const THalfEdgeRanges& ranges, bool pockets,
                       bool monocolor);

// The whole result: a cleared canvas, the grid when it is on, then DrawShortestPaths.
void DrawShortestPathsResult(TDrawing& drawing, const THalfEdgeRanges& ranges, bool pockets,
                             bool monocolor);

}  // namespace qv
