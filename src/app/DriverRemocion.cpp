// Driver of the triangulate-and-remove method.
#include "app/Principal.h"
#include "methods/Remocion.h"

namespace qv {

namespace {

TRemocionVariant CheckedVariant(const QAction* sweep, const QAction* delaunay,
                                const QAction* removeEdges) {
  if (sweep->isChecked()) return TRemocionVariant::Sweep;
  if (delaunay->isChecked()) return TRemocionVariant::Delaunay;
  if (removeEdges->isChecked()) return TRemocionVariant::RemoveEdges;
  return TRemocionVariant::RemoveTriangles;
}

}  // namespace

void TForm1::RunTriangulateRemove() {
  Doc.SelectedMethod = TMethod::TriangulateRemove;
  TDrawing drawing = Drawing();
  drawing.ClearCanvas();
  if (Doc.GridVisible) drawing.DrawGrid();
  // Sort by x (the held point follows), collinear start with a second sort, sweep
  // triangulation, then the stages of the variant checked in the submenu.
  const TRemocionVariant variant = CheckedVariant(RBarrido, RDelaunay, RRemoverA);
  const int moved = ComputeTriangulateRemove(Doc.Points, variant, Doc.DraggedPoint, Doc.CurrentPT);
  // The common end without a result text: status panel 0 keeps the variant's selection text,
  // followed by the number of points the nudges moved when there are any.
  drawing.DrawPT(Doc.CurrentPT, TPenStyles::kHull, TPenStyles::kInternalEdges);
  drawing.DrawPoints(false);
  KeepResult();
  ShowMovedPoints(QString::fromLatin1(RemocionStatusText(variant)), moved);
}

}  // namespace qv
