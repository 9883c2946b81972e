// Random distributions: the "OK" button of the random-distribution panel replaces the point
// set with a uniform or normal random one, drawn point by point and sorted along the sweep
// direction.
#include <utility>

#include "app/Principal.h"
#include "geometry/UserError.h"
#include "methods/Aleatorio.h"
#include "methods/Ejecucion.h"

namespace qv {

void TForm1::BotonPuntosOKClick() {
  const int count = SpinPuntos->IntValue(50);
  const int deviation = SpinDesv->IntValue(100);
  if (count < 1) throw UserError("The number of points must be at least 1.");
  const int width = Pizarra->Canvas().ScreenWidth(), height = Pizarra->Canvas().ScreenHeight();
  // Generated apart first, so that a canvas with no room for the points refuses them and
  // leaves the document as it was.
  TNube points = DUniforme->isChecked()
                     ? GenerateUniform(RandomSource, count, width, height)
                     : GenerateNormal(RandomSource, count, deviation, width, height);

  Doc.Points.clear();
  Doc.DraggedPoint = kNone;
  TDrawing drawing = Drawing();
  drawing.ClearCanvas();
  Doc.Points = std::move(points);
  // In the order generated, each where it is stored.
  for (const TPoint& p : Doc.Points) drawing.DrawPoint(p.X, p.Y, PenStyles[TPenStyles::kPoints]);
  SortPointsByDirection(Doc.Points, Doc.SweepDirX, Doc.SweepDirY, Doc.DraggedPoint);
  // With the polygon tool, the new points are there to be chained, as a loaded point set is.
  if (tbUnir->isChecked()) Doc.EditMode = TEditMode::ChainPolygon;
  PonEstado(0, ToolPrompt());
}

}  // namespace qv
