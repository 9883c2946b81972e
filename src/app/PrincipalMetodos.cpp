// Method selection (toolbar and Algorithm menu) and the settings handlers: sweep angle,
// floating panels, statistics switch, distribution kind.
#include "app/Iconos.h"
#include "app/Principal.h"
#include "geometry/UserError.h"

namespace qv {

void TForm1::PonAccion() {
  if (tbPunto->isChecked()) Doc.EditMode = TEditMode::PlacePoints;
  if (tbMover->isChecked()) Doc.EditMode = TEditMode::MovePoints;
  if (tbBorrar->isChecked()) Doc.EditMode = TEditMode::RemovePoints;
  if (tbUnir->isChecked() && tbCaminos->isChecked()) {
    Doc.EditMode = Doc.Points.empty() ? TEditMode::DrawPolygon : TEditMode::ChainPolygon;
  }
  // Polygon definition belongs to the shortest-paths method: any other method leaves it.
  if (Doc.SelectedMethod != TMethod::ShortestPaths && tbUnir->isChecked()) {
    Doc.EditMode = TEditMode::PlacePoints;
    tbPunto->setChecked(true);
  }
}

void TForm1::tbBarridoClick() {
  Doc.SelectedMethod = TMethod::SweepLine;
  ABarrido->setChecked(true);
  PonAccion();
  PonEstado(0, QStringLiteral("SWEEPLINE method selected"));
}

void TForm1::tbCapasClick() {
  Doc.SelectedMethod = TMethod::ConvexLayers;
  ACapas->setChecked(true);
  PonAccion();
  PonEstado(0, QStringLiteral("CONVEX LAYERS method selected"));
}

void TForm1::tbRemoverClick() {
  Doc.SelectedMethod = TMethod::TriangulateRemove;
  ARemover->setChecked(true);
  PonAccion();
  QString text;
  if (RBarrido->isChecked()) {
    text = QStringLiteral("SWEEP LINE TRIANGULATION");
  } else if (RDelaunay->isChecked()) {
    text = QStringLiteral("DELAUNAY TRIANGULATION");
  } else if (RRemoverA->isChecked()) {
    text = QStringLiteral("TRIANGULATE FIRST, THEN REMOVE EDGES");
  } else {
    text = QStringLiteral("TRIANGULATE FIRST, THEN REMOVE EDGES AND TRIANGLES");
  }
  PonEstado(0, text);
}

void TForm1::tbIncrementalClick() {
  Doc.SelectedMethod = TMethod::Incremental;
  AIncremental->setChecked(true);
  PonAccion();
  PonEstado(0, IBoundedF->isChecked()
                   ? QStringLiteral("INCREMENTAL (BOUNDED FACE DEGREE) method selected")
                   : QStringLiteral("INCREMENTAL (BOUNDED VERTEX DEGREE) method selected"));
}

void TForm1::tbCaminosClick() {
  tbUnir->setChecked(true);
  Doc.SelectedMethod = TMethod::ShortestPaths;
  ACaminos->setChecked(true);
  PonAccion();
  PonEstado(0, QStringLiteral("SHORTEST PATH method selected"));
  // A new polygon starts: the clearing discards the previous one and any result.
  TDrawing drawing = Drawing();
  drawing.ClearCanvas();
  if (Doc.GridVisible) drawing.DrawGrid();
  if (!Doc.Points.empty()) drawing.DrawPoints(false);
}

void TForm1::ABarridoClick() {
  tbBarrido->setChecked(true);
  tbBarridoClick();
}

void TForm1::ACapasClick() {
  tbCapas->setChecked(true);
  tbCapasClick();
}

void TForm1::ACaminosClick() {
  tbCaminos->setChecked(true);
  tbCaminosClick();
}

void TForm1::RSubMenuClick(QAction* item) {
  item->setChecked(true);
  ARemover->setChecked(true);
  tbRemover->setChecked(true);
  tbRemoverClick();
}

void TForm1::ISubMenuClick(QAction* item) {
  item->setChecked(true);
  AIncremental->setChecked(true);
  IncrementalImage = IBoundedF->isChecked() ? kImgIncrementalF : kImgIncrementalV;
  tbIncremental->setIcon(ToolbarIcon(IncrementalImage));
  tbIncremental->setChecked(true);
  tbIncrementalClick();
}

void TForm1::tbBrujulaClick() {
  PanelAngulo->setVisible(PanelAngulo->isHidden());
}

void TForm1::SpinAnguloChange() {
  const int typed = SpinAngulo->IntValue(0);
  int angle = typed % 360;
  if (angle < 0) angle += 360;
  Doc.SweepAngle = angle;
  DrawCompass(Doc.SweepAngle);
  Redraw();
}

void TForm1::SpinAnguloExit() {
  if (!SpinAngulo->HoldsInteger()) SpinAngulo->SetText(QStringLiteral("0"));
}

void TForm1::tbAleatoriaClick() {
  PanelAlea->setVisible(PanelAlea->isHidden());
  SpinDesv->setEnabled(DNormal->isChecked());
}

void TForm1::DistribClick() {
  SpinDesv->setEnabled(DNormal->isChecked());
}

void TForm1::tbStatClick() {
  if (StatDisabled->isChecked()) throw UserError("Stats are disabled.");
  PanelStat->setVisible(PanelStat->isHidden());
}

void TForm1::StatDisabledClick() {
  PanelStat->hide();
}

bool TForm1::StatisticsEnabled() const {
  return !StatDisabled->isChecked();
}

}  // namespace qv
