// Rendering of a shortest-paths result from the three half-edge ranges of its subdivision: the
// polygon boundary, the geodesic segments and the pockets appended last.
#pragma once

#include "app/Lienzo.h"
#include "dcel/DCEL.h"
#include "methods/CaminosMinimos.h"

namespace qv {

// How the chooser's boxes ask for the result to be drawn.
struct TShortestPathsLook {
  bool Labels = true;
  bool Pockets = false;
  bool Monocolor = false;
};

// Edges, points and vertex numbers of the result on a canvas already cleared:
//   without pockets: the polygon in the hull style, one pixel thicker, then the geodesics in the
//     internal-edge style;
//   pockets in one colour: every half-edge in the hull style;
//   pockets: the pocket half-edges in the pocket style first, so that the polygon and the
//     geodesics are drawn over the pocket sides that run along the polygon.
// The first point is highlighted unless "Monocolor"; the numbers follow "Labels".
void DrawShortestPaths(TDrawing& drawing, const TDCEL& result, const THalfEdgeRanges& ranges,
                       const TShortestPathsLook& look);

}  // namespace qv
