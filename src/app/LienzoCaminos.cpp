#include "app/LienzoCaminos.h"

#include "app/EleccionT.h"

namespace qv {

void DrawShortestPaths(TDrawing& drawing, const TDCEL& result, const THalfEdgeRanges& ranges,
                       const TShortestPathsLook& look) {
  const int polygonLast = ranges.PolygonEnd - 1, resultLast = ranges.ResultEnd - 1;
  if (look.Pockets && look.Monocolor) {
    drawing.DrawHalfEdgeRange(result, 0, ranges.PocketsEnd - 1, TPenStyles::kHull, false);
  } else {
    if (look.Pockets) {
      drawing.DrawHalfEdgeRange(result, ranges.ResultEnd, ranges.PocketsEnd - 1,
                                TPenStyles::kPockets, false);
    }
    drawing.DrawHalfEdgeRange(result, 0, polygonLast, TPenStyles::kHull, true);
    drawing.DrawHalfEdgeRange(result, ranges.PolygonEnd, resultLast, TPenStyles::kInternalEdges,
                              false);
  }
  drawing.DrawPoints(!look.Monocolor);
  if (look.Labels) DrawVertexLabels(drawing.Doc.Points, result, drawing.Canvas);
}

}  // namespace qv
