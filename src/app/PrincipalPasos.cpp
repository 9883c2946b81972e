// The window's side of the Steps panel, kept apart: the panel owns the steps and the frame it is
// on; the window hands it the steps of each finished run and draws the frame it asks for.
#include <QLocale>

#include "app/LienzoPasos.h"
#include "app/PanelPasos.h"
#include "app/Principal.h"
#include "stats/EstadisticasAristas.h"

namespace qv {

void TForm1::CreateStepsPanel() {
  PanelPasos = InstallStepsPanel(*this);
  PanelPasos->Guard = [this](const std::function<void()>& handler) { Guarded(handler); };
  PanelPasos->AskImageName = [this] {
    return FileDialogs().SaveFileName(QStringLiteral("PNG Files (*.png)|*.PNG"),
                                      QStringLiteral("*.png"), SaveName);
  };
  PanelPasos->RenderFrame = [this](int k) {
    QImage image = Pizarra->Surface().copy();
    TCanvas canvas(&image);
    TDrawing drawing(canvas, CompassImage, Doc, PenStyles);
    DrawStepFrame(drawing, PanelPasos->Frame(k));
    return canvas.Image() != nullptr ? *canvas.Image() : QImage();
  };
  connect(PanelPasos, &TPanelPasos::FrameChanged, this, [this] {
    Guarded([this] {
      if (!DrawShownStep()) Redraw();
    });
  });
  // Opened on a result that was run unrecorded: run it again, recorded.
  connect(PanelPasos, &QDockWidget::visibilityChanged, this, [this](bool visible) {
    if (visible && PanelPasos->StepCount() == 0 && Doc.ResultShown && runDepth_ == 0)
      Guarded([this] { Redraw(); });
  });
}

bool TForm1::RecordingSteps() const {
  return PanelPasos != nullptr && PanelPasos->isVisible();
}

// Hook 1, at the end of a run: the steps of the result now on show; the panel shows the end.
void TForm1::HandStepsToPanel(const TRecorder& steps) {
  if (PanelPasos == nullptr) return;
  PanelPasos->SetSteps(steps.Steps());
  // The status text a frame's caption replaced comes back, unless the run wrote its own.
  if (!PanelPasos->StatusShown.isEmpty() && StatusText(0) == PanelPasos->StatusShown)
    PonEstado(0, PanelPasos->StatusBefore);
  PanelPasos->StatusShown.clear();
}

// Hook 2, when the canvas is drawn: a frame other than the end is drawn instead of the result,
// its caption in the status bar and its figures in the statistics panel.
bool TForm1::DrawShownStep() {
  if (PanelPasos == nullptr || PanelPasos->ShowsEnd() || !Doc.ResultShown) return false;
  const TStepFrame frame = PanelPasos->Frame();
  TDrawing drawing = Drawing();
  DrawStepFrame(drawing, frame);
  if (PanelPasos->StatusShown.isEmpty()) PanelPasos->StatusBefore = StatusText(0);
  PanelPasos->StatusShown = PanelPasos->Caption();
  PonEstado(0, PanelPasos->StatusShown);
  return true;  // the refresh gives the statistics of the frame
}

std::optional<TStatistics> TForm1::ShownStepFigures() const {
  if (PanelPasos == nullptr || PanelPasos->ShowsEnd() || !ResultLive()) return std::nullopt;
  return EdgeGraphStatistics(Doc.Points, PanelPasos->Frame().Edges,
                             QLocale().groupSeparator().toStdString());
}

// After every command: a result that is gone or was changed by flips has no steps to show.
void TForm1::DropStaleSteps() {
  if (PanelPasos != nullptr && PanelPasos->StepCount() > 0 && (!ResultLive() || FlipsMade() > 0))
    PanelPasos->Clear();
}

}  // namespace qv
