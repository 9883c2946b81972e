// Execution: the Execute command, the dispatcher, the common end of every driver, the
// statistics panel and the repaint after a change of settings.
#include <utility>

#include "app/PanelComparar.h"
#include "app/Principal.h"
#include "geometry/UserError.h"
#include "methods/Pasos.h"
#include "stats/Estadisticas.h"

namespace qv {

void TForm1::tbEjecutarClick() {
  // The pressed method button decides; with none pressed the method stays as it was.
  if (tbBarrido->isChecked()) {
    Doc.SelectedMethod = TMethod::SweepLine;
  } else if (tbCapas->isChecked()) {
    Doc.SelectedMethod = TMethod::ConvexLayers;
  } else if (tbRemover->isChecked()) {
    Doc.SelectedMethod = TMethod::TriangulateRemove;
  } else if (tbIncremental->isChecked()) {
    Doc.SelectedMethod = TMethod::Incremental;
  } else if (tbCaminos->isChecked()) {
    Doc.SelectedMethod = TMethod::ShortestPaths;
  }
  // The one run that always shows the chooser.
  const TAsk ask(ask_, TPregunta::Siempre);
  ExecuteSelectedMethod();
}

void TForm1::ExecuteSelectedMethod() {
  if (Doc.PointCount() < 3) {
    // Stops the automatic re-execution until a method is chosen again.
    Doc.SelectedMethod = TMethod::NoMethod;
    PonEstado(0, QString());
    throw UserError("At least 3 points are needed.");
  }
  // The chooser a run shows lets window events in (a resize); none may start another run.
  struct TRunScope {
    int& depth;
    explicit TRunScope(int& d) : depth(d) { ++depth; }
    ~TRunScope() { --depth; }
  } scope(runDepth_);
  // The result on show is put aside: the drivers make and keep the new one.
  TDCEL previous;
  std::swap(previous, Doc.CurrentPT);
  TResultado previousResult = std::exchange(result_, TResultado{});
  TRecorder steps;
  try {
    const TRecording recording(RecordingSteps() ? &steps : nullptr);
    RunSelectedDriver();
  } catch (const UserError& e) {
    if (Doc.ResultShown && previousResult.Made && previousResult.Points == Doc.Points) {
      // Refused before anything was drawn (the incremental and shortest-paths drivers check
      // first) on the points of the result on show: that result stands.
      Doc.CurrentPT = std::move(previous);
      result_ = std::move(previousResult);
    } else if (Doc.ResultShown) {
      // The result on the canvas is of other points: the points alone are shown.
      RepaintDocument();
    } else {
      // The canvas lost its result: no part of it stays, and panel 0 says why there is none.
      Doc.CurrentPT.Clear();
      PonEstado(0, QString::fromStdString(e.what()));
    }
    throw;
  }
  Doc.ResultShown = true;
  RestoreFlips();
  HandStepsToPanel(steps);
}

void TForm1::RunSelectedDriver() {
  switch (Doc.SelectedMethod) {
    case TMethod::SweepLine:
      RunSweepLine();
      break;
    case TMethod::ConvexLayers:
      RunConvexLayers();
      break;
    case TMethod::TriangulateRemove:
      RunTriangulateRemove();
      break;
    case TMethod::Incremental:
      RunIncremental();
      break;
    case TMethod::ShortestPaths:
      RunShortestPaths();
      break;
    default:
      Drawing().DrawPoints(false);
      break;
  }
}

void TForm1::FinishDriver(const QString& resultText, int movedPoints) {
  TDrawing drawing = Drawing();
  drawing.DrawPT(Doc.CurrentPT, TPenStyles::kHull, TPenStyles::kInternalEdges);
  drawing.DrawPoints(false);
  KeepResult();
  if (StatisticsEnabled()) ShowResultText(resultText);
  ShowMovedPoints(resultText, movedPoints);
}

void TForm1::ShowMovedPoints(const QString& methodText, int movedPoints) {
  const QString note = QStringLiteral(" (%1 POINT%2 MOVED)");
  if (movedPoints > 0)
    ShowResultText(methodText + note.arg(movedPoints).arg(movedPoints == 1 ? "" : "S"));
  else if (StatusText(0).startsWith(methodText + QStringLiteral(" (")))
    ShowResultText(methodText);
}

void TForm1::FillStatistics(const TStatistics& s) {
  LPuntos->setText(QString::number(s.Points));
  LPeso->setText(QString::fromStdString(s.Weight));
  LGradoC->setText(QString::number(s.FaceDegree));
  LNumT->setText(QString::number(s.Triangles));
  LNumCaras->setText(QString::number(s.Faces));
  LGradoV->setText(QString::number(s.VertexDegree));
  LayoutStatistics();
}

void TForm1::ResetStatistics() {
  for (QLabel* label : {LPeso, LGradoV, LGradoC, LPuntos, LNumCaras, LNumT}) {
    label->setText(QStringLiteral("0"));
  }
  LayoutStatistics();
}

void TForm1::Redraw() {
  if (!Doc.ResultShown) {
    TDrawing drawing = Drawing();
    drawing.ClearCanvas();
    if (Doc.GridVisible) drawing.DrawGrid();
    drawing.DrawPoints(false);
  } else if (AIncremental->isChecked() && IBoundedF->isChecked() && ResultLive()) {
    // This result came from a triangulation the user chose: repaint it as it stands rather
    // than computing it again (a result of other points, or of the points in another order,
    // is computed again from the choice kept with it).
    TDrawing drawing = Drawing();
    drawing.ClearCanvas();
    if (Doc.GridVisible) drawing.DrawGrid();
    drawing.DrawPT(Doc.CurrentPT, TPenStyles::kHull, TPenStyles::kInternalEdges);
    drawing.DrawPoints(false);
    Doc.ResultShown = true;
    DrawShownStep();
  } else {
    ExecuteSelectedMethod();
  }
}

}  // namespace qv
