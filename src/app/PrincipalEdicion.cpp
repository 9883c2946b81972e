// Canvas editing: the tool buttons and the mouse handlers of the canvas.
#include "app/Principal.h"
#include "geometry/UserError.h"

namespace qv {

void TForm1::tbPuntoClick() {
  Doc.EditMode = TEditMode::PlacePoints;
  PonEstado(0, QStringLiteral("PLACE POINTS IN THE CANVAS"));
}

void TForm1::tbMoverClick() {
  Doc.EditMode = TEditMode::MovePoints;
  PonEstado(0, QStringLiteral("MOVE POINTS AROUND THE CANVAS"));
}

void TForm1::tbBorrarClick() {
  Doc.EditMode = TEditMode::RemovePoints;
  PonEstado(0, QStringLiteral("REMOVE POINTS FROM THE CANVAS"));
}

void TForm1::tbUnirClick() {
  Doc.EditMode = Doc.Points.empty() ? TEditMode::DrawPolygon : TEditMode::ChainPolygon;
  // The polygon belongs to the shortest-paths method, whose selection starts a new one; its
  // status text is then replaced by the polygon prompt.
  tbCaminos->setChecked(true);
  tbCaminosClick();
  PonEstado(0, Doc.EditMode == TEditMode::DrawPolygon
                   ? QStringLiteral("DEFINE POLYGON (click right button to close, ctrl+Z to "
                                    "delete last edge)")
                   : QStringLiteral("DEFINE POLYGON (select points clicking on them, ctrl+Z to "
                                    "delete last edge)"));
}

// While a result is shown, an edit of the points runs the selected method again.
void TForm1::FollowUp(bool resultShown) {
  if (Doc.SelectedMethod != TMethod::NoMethod && resultShown) ExecuteSelectedMethod();
}

void TForm1::PlacePoint(int x, int y) {
  if (Doc.PointAt(x, y) != kNone) throw UserError("No coincident points allowed.");
  Drawing().DrawPoint(x, y, PenStyles[TPenStyles::kPoints]);
  Doc.Points.push_back(TPoint{x, y});
  PonEstado(1, PointsText(Doc.PointCount()));
  FollowUp(Doc.ResultShown);
}

void TForm1::PizarraMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers /*modifiers*/, int x,
                              int y) {
  if (button == Qt::RightButton) return;  // only closes a polygon drawn point by point
  if (tbPunto->isChecked()) PlacePoint(x, y);
}

void TForm1::PizarraMouseMove(Qt::MouseButtons /*buttons*/, Qt::KeyboardModifiers /*modifiers*/,
                              int x, int y) {
  PonEstado(3, QString::number(x));
  PonEstado(5, QString::number(y));
}

void TForm1::PizarraMouseUp(Qt::MouseButton /*button*/, Qt::KeyboardModifiers /*modifiers*/,
                            int /*x*/, int /*y*/) {
  Doc.DraggedPoint = kNone;
}

}  // namespace qv
