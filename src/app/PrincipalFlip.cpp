// The Flip tool: while a pointed pseudo-triangulation of the points' hull is shown, a click near
// one of its interior edges flips that edge, Shift+click takes the last flip back. The flips
// belong to the result: a repaint or a run on the same points keeps them, an edit drops them.
#include <QMenuBar>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <cmath>

#include "app/Iconos.h"
#include "app/Principal.h"
#include "methods/Flips.h"

namespace qv {
namespace {

constexpr double kFlipTolerance = 3.0;  // screen pixels from an edge
constexpr int kHighlightMs = 600;
constexpr int kHighlightWidth = 3;
const QColor kHighlightColor(255, 140, 0);

const char* const kNeedPointed = "Flips need a pointed pseudo-triangulation.";

double DistanceToSegment(double x, double y, TPoint a, TPoint b) {
  const double dx = double(b.X) - a.X, dy = double(b.Y) - a.Y;
  const double length2 = dx * dx + dy * dy;
  double t = length2 > 0 ? ((x - a.X) * dx + (y - a.Y) * dy) / length2 : 0.0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(x - (a.X + t * dx), y - (a.Y + t * dy));
}

// The interior edge nearest to (x, y) within the tolerance (document units), or kNoEdge.
TEdge EdgeNear(const TNube& points, const std::vector<TEdge>& inner, int x, int y,
               double tolerance) {
  TEdge best = kNoEdge;
  double bestDistance = tolerance;
  for (const TEdge& e : inner) {
    const double d = DistanceToSegment(x, y, points[e.A], points[e.B]);
    if (d <= bestDistance) {
      bestDistance = d;
      best = e;
    }
  }
  return best;
}

QString FlipStatusText(int flips) {
  return QStringLiteral("FLIPS: %1 (click an interior edge; shift+click flips back)").arg(flips);
}

}  // namespace

void TForm1::CreateFlipTool() {
  tbFlip = new QAction(ToolbarIcon(kImgFlip), QStringLiteral("Flip"), this);
  tbFlip->setObjectName(QStringLiteral("tbFlip"));
  tbFlip->setToolTip(QStringLiteral("Flip edges\n(shift+click flips back)"));
  tbFlip->setCheckable(true);
  // After the editing tools, before the separator that ends them.
  const QList<QAction*> actions = ToolBar1->actions();
  const qsizetype after = actions.indexOf(tbUnir);
  ToolBar1->insertAction(after + 1 < actions.size() ? actions[after + 1] : nullptr, tbFlip);
  if (QWidget* button = ToolBar1->widgetForAction(tbFlip)) {
    button->setObjectName(QStringLiteral("tbFlipButton"));
    button->setFixedSize(39, 38);
  }
  ToolGroup->addAction(tbFlip);
  for (QAction* top : menuBar()->actions())  // the Algorithm menu, below its methods
    if (top->menu() != nullptr && top->menu()->actions().contains(ABarrido)) {
      top->menu()->addSeparator();
      top->menu()->addAction(tbFlip);
    }
  connect(tbFlip, &QAction::triggered, this, [this](bool) { Guarded([this] { tbFlipClick(); }); });
}

void TForm1::tbFlipClick() {
  Doc.EditMode = TEditMode::FlipEdges;
  FlipReady();  // a result computed since the last flip starts its history afresh
  PonEstado(0, ToolPrompt());
}

// The Flip tool's status text: the flips standing on the shown result, or why there are none.
QString TForm1::FlipPrompt() const {
  if (!ResultLive() || Doc.PointCount() < 3) return QString::fromLatin1(kNeedPointed);
  const std::vector<TEdge> edges = ResultEdges();
  const TCheckReport report = CheckPseudoTriangulation(Doc.Points, edges);
  if (!report.Valid || !report.Pointed()) return QString::fromLatin1(kNeedPointed);
  return FlipStatusText(edges == flipEdges_ ? FlipsMade() : 0);
}

// True when the shown result is a pointed pseudo-triangulation of the points' hull (a
// subdivision or a layer table). A result that is not the one the last flip left is another
// result: its history starts afresh.
bool TForm1::FlipReady() {
  if (!ResultLive() || Doc.PointCount() < 3) return false;
  const std::vector<TEdge> edges = ResultEdges();
  if (edges != flipEdges_) {
    flipEdges_ = edges;
    flipsDone_.clear();
    flipBase_ = edges;
    flipPoints_ = Doc.Points;
  }
  const TCheckReport report = CheckPseudoTriangulation(Doc.Points, edges);
  return report.Valid && report.Pointed();
}

void TForm1::FlipAt(Qt::KeyboardModifiers modifiers, int x, int y) {
  if (!FlipReady()) {
    PonEstado(0, QString::fromLatin1(kNeedPointed));
    return;
  }
  const std::vector<TEdge> hull = HullEdges(Doc.Points);
  TEdge added = kNoEdge;
  if (modifiers & Qt::ShiftModifier) {
    if (flipsDone_.empty()) return;
    added = FlipPseudoTriangulationEdge(Doc.Points, flipEdges_, flipsDone_.back().second, hull);
    flipsDone_.pop_back();
  } else {
    const TEdge e = EdgeNear(Doc.Points, InteriorEdges(flipEdges_, hull), x, y,
                             Vista.DocLength(kFlipTolerance));
    if (e == kNoEdge) return;
    added = FlipPseudoTriangulationEdge(Doc.Points, flipEdges_, e, hull);
    if (added == kNoEdge) {
      PonEstado(0, QStringLiteral("This edge cannot be flipped."));
      return;
    }
    flipsDone_.push_back({e, added});
  }
  // The flipped result is a subdivision whatever the method made (a layer table too).
  BuildSubdivision(Doc.Points, flipEdges_, Doc.CurrentPT);
  KeepResult();
  ShowFlipped(added);
}

// The flipped result, its new edge drawn wide in the highlight colour for a moment.
void TForm1::ShowFlipped(TEdge added) {
  TDrawing drawing = Drawing();
  DrawSubdivisionResult(drawing);
  Doc.ResultShown = true;
  if (added != kNoEdge) {
    const TPoint a = Doc.Points[added.A], b = Doc.Points[added.B];
    drawing.Canvas.SetPenColor(kHighlightColor);
    drawing.Canvas.SetPenWidth(kHighlightWidth);
    drawing.Canvas.MoveTo(a.X, a.Y);
    drawing.Canvas.LineTo(b.X, b.Y);
    drawing.Canvas.SetPenColor(Qt::black);
    drawing.Canvas.SetPenWidth(1);
    drawing.DrawPoints(false);
    const int generation = ++flipGeneration_;
    QTimer::singleShot(kHighlightMs, this, [this, generation] {
      // Only while nothing has touched the result since this flip.
      if (generation != flipGeneration_ || !Doc.ResultShown ||
          EdgeList(Doc.CurrentPT) != flipEdges_)
        return;
      ShowFlipped(kNoEdge);
      RefreshViews();
    });
  }
  ShowResultText(FlipStatusText(FlipsMade()));
}

void TForm1::RestoreFlips() {
  if (flipsDone_.empty()) return;
  if (result_.Made && Doc.Points == flipPoints_ && ResultEdges() == flipBase_) {
    BuildSubdivision(Doc.Points, flipEdges_, Doc.CurrentPT);
    KeepResult();
    ShowFlipped(kNoEdge);
    return;
  }
  const int dropped = FlipsMade();
  flipsDone_.clear();
  flipEdges_.clear();
  flipBase_.clear();
  PonEstado(0, QStringLiteral("%1 FLIP%2 DROPPED: THE POINTS CHANGED")
                   .arg(dropped)
                   .arg(dropped == 1 ? "" : "S"));
}

}  // namespace qv
