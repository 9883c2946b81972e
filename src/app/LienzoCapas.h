// Rendering of a convex-layers result, drawn from its layer table (the document's subdivision
// stays empty for this method).
#pragma once

#include "app/Lienzo.h"
#include "geometry/Tipos.h"

namespace qv {

// For every assigned record v in index order: v to LayerNext(v) in the layer style (3) when
// both lie on one layer, else in the inter-layer style (4); v to Link1(v) with the pen of that
// segment when the link repeats a ring edge of v's layer, else in style 4; v to Link2(v) in
// style 3 when it repeats a ring edge, else in style 4. A slot holding v draws a segment of
// length zero. The pen colour is black afterwards.
void DrawConvexLayers(TDrawing& drawing, const TPTCapas& layers);

// The whole result: a cleared canvas, the grid when it is on, the layers and the points.
void DrawConvexLayersResult(TDrawing& drawing, const TPTCapas& layers);

}  // namespace qv
