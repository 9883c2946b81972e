#include "app/LienzoCaminos.h"

namespace qv {

void DrawShortestPaths(TDrawing& drawing, const THalfEdgeRanges& ranges, bool pockets,
                       bool monocolor) {
  const TDCEL& pt = drawing.Doc.CurrentPT;
  if (pockets && monocolor) {
    drawing.DrawHalfEdgeRange(pt, 0, ranges.PocketsEnd - 1, TPenStyles::kHull, false);
    drawing.DrawPoints(false);
    return;
  }
  if (pockets) {
    drawing.DrawHalfEdgeRange(pt, ranges.ResultEnd, ranges.PocketsEnd - 1, TPenStyles::kPockets,
                              false);
  }
  drawing.DrawHalfEdgeRange(pt, 0, ranges.PolygonEnd - 1, TPenStyles::kHull, true);
  drawing.DrawHalfEdgeRange(pt, ranges.PolygonEnd, ranges.ResultEnd - 1, TPenStyles::kInternalEdges,
                            false);
  drawing.DrawPoints(!monocolor);
}

void DrawShortestPathsResult(TDrawing& drawing, const THalfEdgeRanges& ranges, bool pockets,
                             bool monocolor) {
  drawing.ClearCanvas();
  if (drawing.Doc.GridVisible) drawing.DrawGrid();
  DrawShortestPaths(drawing, ranges, pockets, monocolor);
}

}  // namespace qv
