// Canvas editing: the tool buttons, the mouse handlers of the canvas (placing, moving and
// removing points, defining a polygon by new points or by chaining existing ones, the hover
// highlight) and the window's keys.
#include <QApplication>
#include <QKeyEvent>
#include <algorithm>

#include "app/Principal.h"
#include "geometry/FuncionesMatematicas.h"
#include "geometry/UserError.h"

namespace qv {

namespace {

// Hit tolerances in screen pixels, per axis.
constexpr int kGrabTolerance = 3;   // moving and removing
constexpr int kChainTolerance = 5;  // chaining and the hover highlight

const char* const kNotSimple = "Polygon must be simple. No crossing edges allowed.";

bool Crosses(TPoint a, TPoint b, TPoint c, TPoint d) {
  return SegmentIntersection(a, b, c, d) == ProperCrossing;
}

// The window's keys: Ctrl+N, Ctrl+O, Ctrl+S, Ctrl+Z and Ctrl+Y with Ctrl the only modifier,
// and Ctrl+Shift+Z, all with no mouse button held.
bool KeyBound(int key, Qt::KeyboardModifiers modifiers) {
  if (QGuiApplication::mouseButtons() != Qt::NoButton) return false;
  if (modifiers == (Qt::ControlModifier | Qt::ShiftModifier)) return key == Qt::Key_Z;
  if (modifiers != Qt::ControlModifier) return false;
  return key == Qt::Key_N || key == Qt::Key_O || key == Qt::Key_S || key == Qt::Key_Z ||
         key == Qt::Key_Y;
}

// Hands the window's bound keys to FormKeyDown before any control sees them. A focused field
// would otherwise take Ctrl+Z as its own undo.
class TKeyHandler : public QObject {
 public:
  explicit TKeyHandler(TForm1* form) : QObject(form), form_(form) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    // Keys of another window (a modal dialog, an open menu) are that window's business.
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType() ||
        static_cast<QWidget*>(watched)->window() != form_) {
      return false;
    }
    auto* key = static_cast<QKeyEvent*>(event);
    // Decided before the command runs: a bound key is used up here even when its command
    // fails, so that it does not travel on to the field's ancestors and run again there.
    if (!KeyBound(key->key(), key->modifiers())) return false;
    form_->Guarded([&] { form_->FormKeyDown(key->key(), key->modifiers()); });
    return true;
  }

 private:
  TForm1* form_;
};

}  // namespace

void TForm1::InstallKeyHandler() {
  if (QCoreApplication* app = QCoreApplication::instance()) {
    app->installEventFilter(new TKeyHandler(this));
  }
  // The menu items show their keys, but act on them only while their menu is open: in the
  // window the keys go through FormKeyDown, once, with its modifier and mouse rules.
  for (QAction* item : {FNuevo, FAbrir, FSalvar}) item->setShortcutContext(Qt::WidgetShortcut);
}

// ---------------------------------------------------------------------------------------------
// Tools

QString TForm1::ToolPrompt() const {
  switch (Doc.EditMode) {
    case TEditMode::MovePoints:
      return QStringLiteral("MOVE POINTS AROUND THE CANVAS");
    case TEditMode::RemovePoints:
      return QStringLiteral("REMOVE POINTS FROM THE CANVAS");
    case TEditMode::ChainPolygon:
      return QStringLiteral(
          "DEFINE POLYGON (select points clicking on them, ctrl+Z to delete last edge)");
    case TEditMode::DrawPolygon:
      return QStringLiteral(
          "DEFINE POLYGON (click right button to close, ctrl+Z to delete last "
          "edge)");
    case TEditMode::FlipEdges:
      return FlipPrompt();
    default:
      return QStringLiteral("PLACE POINTS IN THE CANVAS");
  }
}

void TForm1::tbPuntoClick() {
  Doc.EditMode = TEditMode::PlacePoints;
  PonEstado(0, ToolPrompt());
}

void TForm1::tbMoverClick() {
  Doc.EditMode = TEditMode::MovePoints;
  PonEstado(0, ToolPrompt());
}

void TForm1::tbBorrarClick() {
  Doc.EditMode = TEditMode::RemovePoints;
  PonEstado(0, ToolPrompt());
}

void TForm1::tbUnirClick() {
  Doc.EditMode = Doc.Points.empty() ? TEditMode::DrawPolygon : TEditMode::ChainPolygon;
  // The polygon belongs to the shortest-paths method, whose selection starts a new one; its
  // status text is then replaced by the polygon prompt.
  tbCaminos->setChecked(true);
  tbCaminosClick();
  PonEstado(0, ToolPrompt());
}

// While a result is shown, an edit of the points runs the selected method again; the chooser
// opens only when the edit changed the size of what the last choice triangulates.
void TForm1::FollowUp(bool resultShown) {
  const TAsk ask(ask_, TPregunta::SiCambia);
  if (Doc.SelectedMethod != TMethod::NoMethod && resultShown) ExecuteSelectedMethod();
}

void TForm1::RemovePoint(int k) {
  Doc.Points.erase(Doc.Points.begin() + k);
}

// ---------------------------------------------------------------------------------------------
// Mouse

void TForm1::PizarraMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x,
                              int y) {
  if (button == Qt::RightButton) {
    ClosePolygon();
  } else if (tbFlip->isChecked()) {
    FlipAt(modifiers, x, y);
  } else if (tbPunto->isChecked()) {
    PlacePoint(x, y);
  } else if (tbMover->isChecked() || tbBorrar->isChecked()) {
    GrabPoint(x, y);
  } else if (Doc.EditMode == TEditMode::ChainPolygon) {
    ChainPoint(x, y);
  } else if (Doc.EditMode == TEditMode::DrawPolygon) {
    PlacePolygonVertex(x, y);
  }
}

void TForm1::PlacePoint(int x, int y) {
  if (Doc.PointAt(x, y) != kNone) throw UserError("No coincident points allowed.");
  Drawing().DrawPoint(x, y, PenStyles[TPenStyles::kPoints]);
  Doc.Points.push_back(TPoint{x, y});
  FollowUp(Doc.ResultShown);
}

// Move and remove tools: the press picks the point; moving happens in PizarraMouseMove.
void TForm1::GrabPoint(int x, int y) {
  if (Doc.Points.empty()) return;
  Doc.DraggedPoint = Doc.HitPoint(x, y, PickTolerance(kGrabTolerance));
  if (Doc.DraggedPoint != kNone) dragStart_ = Doc.Points[Doc.DraggedPoint];
  if (!tbBorrar->isChecked() || Doc.DraggedPoint == kNone) return;
  const bool shown = Doc.ResultShown;
  RemovePoint(Doc.DraggedPoint);
  Doc.DraggedPoint = kNone;  // the index now names the next point, or none
  TDrawing drawing = Drawing();
  drawing.ClearCanvas();
  drawing.DrawPoints(false);
  FollowUp(shown);
}

// The right button closes a polygon placed point by point.
void TForm1::ClosePolygon() {
  if (Doc.EditMode != TEditMode::DrawPolygon) return;
  const TNube& p = Doc.Points;
  const int h = Doc.PointCount() - 1;
  if (h + 1 < 3) throw UserError("At least 3 points needed to define polygon.");
  for (int i = 0; i < h; ++i) {
    if (Crosses(p[i], p[i + 1], p[h], p[0])) {
      throw UserError("Can't close polygon. No crossing edges allowed.");
    }
  }
  TCanvas& canvas = Pizarra->Canvas();
  canvas.MoveTo(p[h].X, p[h].Y);
  canvas.LineTo(p[0].X, p[0].Y);
  Doc.PolygonClosed = true;
  Doc.ResultShown = true;
}

// DrawPolygon: each new point is the next vertex. Polygon edits never run a method.
void TForm1::PlacePolygonVertex(int x, int y) {
  if (Doc.PolygonClosed) {
    throw UserError("Polygon already closed. No further point insertion allowed.");
  }
  if (Doc.PointAt(x, y) != kNone) throw UserError("No coincident points allowed.");
  const TNube& p = Doc.Points;
  const TPoint q{x, y};
  const int h = Doc.PointCount() - 1;
  for (int i = 0; i < h; ++i) {
    if (Crosses(p[i], p[i + 1], p[h], q)) throw UserError(kNotSimple);
  }
  Drawing().DrawPoint(x, y, PenStyles[TPenStyles::kPoints]);
  Doc.Points.push_back(q);
  if (Doc.PointCount() >= 2) {
    // The pen DrawPoint left: black, of the points' width.
    const TPoint previous = Doc.Points[Doc.Points.size() - 2];
    Pizarra->Canvas().MoveTo(previous.X, previous.Y);
    Pizarra->Canvas().LineTo(x, y);
  }
}

// ChainPolygon: the clicked point becomes the next chain vertex; clicking point 0 once every
// point is chained closes the polygon.
void TForm1::ChainPoint(int x, int y) {
  if (Doc.PolygonClosed) return;
  const int k = Doc.HitPoint(x, y, PickTolerance(kChainTolerance));
  if (k == kNone) return;
  TNube& p = Doc.Points;
  const int n = Doc.PointCount();
  const int L = Doc.PolygonLength;
  // Point 0 closes the chain, so it cannot be chained again before every point is. (Letting it
  // through with one point chained would swap an unclicked point into the chain.)
  if (L >= 1 && k == 0 && n > L) throw UserError("All points must be used.");
  if (L >= 2) {
    if (0 < k && k < L) throw UserError(kNotSimple);
    for (int j = 0; j <= L - 2; ++j) {
      if (Crosses(p[j], p[j + 1], p[L - 1], p[k])) throw UserError(kNotSimple);
    }
  }
  Drawing().DrawPoint(p[k].X, p[k].Y, PenStyles[TPenStyles::kSelectedPoints]);
  Doc.PolygonClosed = n == L;
  if (!Doc.PolygonClosed) {
    std::swap(p[L], p[k]);
    // The hovered point moved with the exchange.
    if (Doc.DraggedPoint == k) {
      Doc.DraggedPoint = L;
    } else if (Doc.DraggedPoint == L) {
      Doc.DraggedPoint = k;
    }
  }
  if (L > 0) {
    Pizarra->Canvas().MoveTo(p[L - 1].X, p[L - 1].Y);
    Pizarra->Canvas().LineTo(p[L % n].X, p[L % n].Y);
  }
  Doc.PolygonLength = L + 1;
}

void TForm1::PizarraMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers /*modifiers*/, int x,
                              int y) {
  PonEstado(3, QString::number(x));
  PonEstado(5, QString::number(y));
  const bool dragging = Doc.DraggedPoint >= 0 && Doc.DraggedPoint < Doc.PointCount() &&
                        tbMover->isChecked() && (buttons & Qt::LeftButton);
  if (dragging) {
    // No coincidence check and no limit to the canvas: the point takes the pixel under the
    // mouse. The execution's sort carries DraggedPoint along with the point.
    Doc.Points[Doc.DraggedPoint] = TPoint{x, y};
    if (Doc.SelectedMethod != TMethod::NoMethod && (Doc.ResultShown || !dragRefusal_.isEmpty())) {
      FollowDrag();
    } else {
      TDrawing drawing = Drawing();
      drawing.ClearCanvas();
      drawing.DrawPoints(false);
    }
  } else if (Doc.EditMode == TEditMode::ChainPolygon) {
    HoverChainPoint(x, y);
  }
}

// The point under the mouse is highlighted; an unchained one loses it when the mouse leaves.
void TForm1::HoverChainPoint(int x, int y) {
  const int i = Doc.HitPoint(x, y, PickTolerance(kChainTolerance));
  if (i != kNone) {
    Doc.DraggedPoint = i;
    Drawing().DrawPoint(Doc.Points[i].X, Doc.Points[i].Y, PenStyles[TPenStyles::kSelectedPoints]);
  } else if (Doc.DraggedPoint >= Doc.PolygonLength && Doc.DraggedPoint < Doc.PointCount()) {
    const TPoint p = Doc.Points[Doc.DraggedPoint];
    Drawing().DrawPoint(p.X, p.Y, PenStyles[TPenStyles::kPoints]);
    Doc.DraggedPoint = kNone;
  }
}

// No message while the button is held: a position the method refuses shows the points and the
// refusal in panel 0, and the result comes back at the next position it accepts.
void TForm1::FollowDrag() {
  const QString before = StatusText(0);
  const TAsk ask(ask_, TPregunta::SiCambia);
  try {
    ExecuteSelectedMethod();
  } catch (const UserError& e) {
    if (dragRefusal_.isEmpty()) dragStatus_ = before;
    dragRefusal_ = QString::fromStdString(e.what());
    // The result is gone; a closed polygon stays closed.
    const TEscalares polygon = EscalaresDe(Doc);
    TDrawing drawing = Drawing();
    drawing.ClearCanvas();
    Doc.PolygonClosed = polygon.PolygonClosed;
    Doc.PolygonLength = polygon.PolygonLength;
    if (Doc.GridVisible) drawing.DrawGrid();
    drawing.DrawPoints(false);
    PonEstado(0, dragRefusal_);
    return;
  }
  // Without statistics the run writes no text of its own: the one before the refusal returns.
  if (!dragRefusal_.isEmpty() && StatusText(0) == dragRefusal_) PonEstado(0, dragStatus_);
  dragRefusal_.clear();
}

void TForm1::EndDrag() {
  // Only the move tool holds a point; in the chaining mode the index is the hovered one.
  if (Doc.EditMode == TEditMode::MovePoints) Doc.DraggedPoint = kNone;
  dragRefusal_.clear();
}

void TForm1::PizarraMouseUp(Qt::MouseButton /*button*/, Qt::KeyboardModifiers /*modifiers*/,
                            int /*x*/, int /*y*/) {
  // Let go where the method refuses the point: it goes back where the drag began, the result
  // comes back with it, and the refusal is told once.
  if (dragRefusal_.isEmpty() || Doc.DraggedPoint < 0 || Doc.DraggedPoint >= Doc.PointCount()) {
    Doc.DraggedPoint = kNone;
    dragRefusal_.clear();
    return;
  }
  const std::string refusal = dragRefusal_.toStdString();
  Doc.Points[Doc.DraggedPoint] = dragStart_;
  FollowDrag();
  Doc.DraggedPoint = kNone;
  dragRefusal_.clear();
  throw UserError(refusal);
}

// ---------------------------------------------------------------------------------------------
// Keys

bool TForm1::FormKeyDown(int key, Qt::KeyboardModifiers modifiers) {
  if (!KeyBound(key, modifiers)) return false;
  switch (key) {
    case Qt::Key_N:
      NewDocument(TTipoCambio::New);
      return true;
    case Qt::Key_O:
      tbCargarClick();
      return true;
    case Qt::Key_S:
      FSalvarClick();
      return true;
    case Qt::Key_Z:
      if (modifiers & Qt::ShiftModifier) {
        ERehacerClick();
      } else {
        UndoKey();
      }
      return true;
    case Qt::Key_Y:
      ERehacerClick();
      return true;
    default:
      return false;
  }
}

void TForm1::DeleteLastPolygonEdge() {
  if (Doc.EditMode == TEditMode::DrawPolygon) {
    if (Doc.PointCount() < 2) return;  // the first point stays
    Doc.Points.pop_back();
    if (Doc.DraggedPoint >= Doc.PointCount()) Doc.DraggedPoint = kNone;
    TDrawing drawing = Drawing();
    drawing.ClearCanvas();  // a closed polygon opens again
    drawing.DrawPolygonOutline(false);
  } else if (Doc.EditMode == TEditMode::ChainPolygon) {
    // The last chained point is unchained where it stands; a closed chain opens again with
    // every point still chained.
    const int chained = Doc.PolygonLength;
    TDrawing drawing = Drawing();
    drawing.ClearCanvas();
    Doc.PolygonLength = std::max(chained - 1, 0);
    drawing.DrawPolygonOutline(false);
  }
}

}  // namespace qv
