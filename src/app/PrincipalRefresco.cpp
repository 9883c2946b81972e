// The one refresh: after every command the views are brought into line with the document and
// the result kept by the last run. Handlers and drivers change the document, keep results and
// write messages into status panel 0; they never fill a panel or a title themselves.
#include <QFileInfo>
#include <QLocale>
#include <algorithm>

#include "app/PanelComparar.h"
#include "app/Principal.h"
#include "methods/Capas.h"
#include "stats/EstadisticasCapas.h"

namespace qv {

namespace {

// The same point set: the same sequence for a polygon, the same points in any order for a
// point set (every run reorders the points; a saved file would hold the same set).
bool SameContent(const TNube& a, const TNube& b, bool polygon) {
  if (a.size() != b.size()) return false;
  if (polygon) return a == b;
  TNube x = a, y = b;
  std::ranges::sort(x);
  std::ranges::sort(y);
  return x == y;
}

std::string GroupSeparator() {
  return QLocale().groupSeparator().toStdString();
}

}  // namespace

void TForm1::KeepResult(TPTCapas layers) {
  result_.Made = true;
  result_.Method = Doc.SelectedMethod;
  result_.Points = Doc.Points;
  result_.Layers = std::move(layers);
  result_.Row = SelectedRow();
  result_.Figures.reset();
  if (!StatisticsEnabled()) return;
  result_.Figures = result_.Layers.Records.empty()
                        ? ComputeStatistics(Doc.Points, Doc.CurrentPT, GroupSeparator())
                        : ComputeLayerStatistics(Doc.Points, result_.Layers, GroupSeparator());
}

void TForm1::ShowResultText(const QString& text) {
  PonEstado(0, text);
  resultText_ = text;
}

bool TForm1::ResultLive() const {
  return result_.Made && Doc.ResultShown && Doc.SelectedMethod == result_.Method &&
         Doc.Points == result_.Points;
}

std::vector<TEdge> TForm1::ResultEdges() const {
  return result_.Layers.Records.empty() ? EdgeList(Doc.CurrentPT) : LayerEdges(result_.Layers);
}

QString TForm1::SelectedRow() const {
  switch (Doc.SelectedMethod) {
    case TMethod::SweepLine:
      return QStringLiteral("Sweepline PT");
    case TMethod::ConvexLayers:
      return QStringLiteral("Convex layers PT");
    case TMethod::TriangulateRemove:
      if (RBarrido->isChecked()) return QStringLiteral("Remove: sweep triangulation");
      if (RDelaunay->isChecked()) return QStringLiteral("Remove: Delaunay");
      if (RRemoverA->isChecked()) return QStringLiteral("Remove: edges");
      return QStringLiteral("Remove: triangles");
    case TMethod::Incremental:
      return IBoundedF->isChecked() ? QStringLiteral("Incremental: bounded face degree")
                                    : QStringLiteral("Incremental: bounded vertex degree");
    case TMethod::ShortestPaths:
      return QStringLiteral("Shortest paths PT");
    default:
      return QString();
  }
}

void TForm1::RememberFile(const QString& name, bool polygon) {
  file_ = std::make_shared<const TArchivoAbierto>(TArchivoAbierto{name, Doc.Points, polygon});
}

bool TForm1::Modified() const {
  if (file_ == nullptr) return !Doc.Points.empty();
  // A polygon file shown as points (another method, or opened without the polygon tool) holds
  // the same points; a polygon differs from a file that holds none.
  const bool polygon = Doc.SelectedMethod == TMethod::ShortestPaths && Doc.PolygonClosed;
  return (polygon && !file_->Polygon) || !SameContent(file_->Points, Doc.Points, polygon);
}

QString TForm1::Caption() const {
  if (file_ == nullptr) return QStringLiteral("Quilvaron");
  return QFileInfo(file_->Name).fileName() + QStringLiteral(" - Quilvaron");
}

void TForm1::RefreshViews() {
  if (Pizarra == nullptr || StatusPanels[1] == nullptr) return;  // still being built
  const bool live = ResultLive();
  if (!live) result_ = TResultado{};
  DropStaleSteps();
  // A result's text outlives its result only until now.
  if (!resultText_.isEmpty() && (!live || StatusText(0) != resultText_)) {
    if (StatusText(0) == resultText_) PonEstado(0, ToolPrompt());
    resultText_.clear();
  }
  // The Flip tool's prompt counts the flips of the result on show, or says there is none.
  if (Doc.EditMode == TEditMode::FlipEdges && StatusText(0).startsWith(QStringLiteral("FLIPS: ")))
    PonEstado(0, FlipPrompt());
  if (StatisticsEnabled()) {
    if (const std::optional<TStatistics> frame = ShownStepFigures()) {
      FillStatistics(*frame);  // the Steps panel shows a stage of the construction
    } else if (result_.Figures) {
      FillStatistics(*result_.Figures);
    } else if (!live) {
      ResetStatistics();
    }
  }
  PonEstado(1, PointsText(Doc.PointCount()));
  ShowStatusText(0);  // the panel's room may have changed
  if (PanelComparar != nullptr) {
    PanelComparar->Show(result_.Figures ? result_.Row : QString(), result_.Figures);
  }
  const QString caption = Caption();
  setWindowTitle(Modified() ? QLatin1Char('*') + caption : caption);
  const QUndoStack& stack = Historia.Stack();
  EDeshacer->setEnabled(stack.canUndo());
  ERehacer->setEnabled(stack.canRedo());
  EDeshacer->setText(stack.canUndo() ? QStringLiteral("Undo ") + stack.undoText()
                                     : QStringLiteral("Undo"));
  ERehacer->setText(stack.canRedo() ? QStringLiteral("Redo ") + stack.redoText()
                                    : QStringLiteral("Redo"));
  Pizarra->update();
  if (Image2 != nullptr) Image2->update();
}

}  // namespace qv
