// Rendering of one frame of a construction: the edges a method has built up to a step, with
// that step's changes shown.
#pragma once

#include <QColor>
#include <vector>

#include "app/Lienzo.h"
#include "methods/Verificador.h"

namespace qv {

// What a frame shows: the edges after the step, the ones the step added (among them) and
// removed (no longer among them), and the points the step is about.
struct TStepFrame {
  std::vector<TEdge> Edges;
  std::vector<TEdge> Added;
  std::vector<TEdge> Removed;
  std::vector<int> Marked;
};

// Colours of a step's changes.
inline const QColor kStepAddedColor{0, 160, 0};
inline const QColor kStepRemovedColor{230, 120, 0};

// The whole frame on the drawing's canvas, without touching the document: white, the centred
// background image when one is loaded, the grid when it is on, the edges so far in the inner-
// edge style, the added ones over them in kStepAddedColor one pixel wider, the removed ones
// dashed in kStepRemovedColor, the points, and the marked points in the selected-point style.
// Edges naming a point outside the document are left out.
void DrawStepFrame(TDrawing& drawing, const TStepFrame& frame);

}  // namespace qv
