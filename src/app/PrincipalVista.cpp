// The view of the canvas: zoom, pan and fit with the View menu's entries, the view an opened
// file gets, the pick radius through the view, and File > Examples.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMenuBar>
#include <algorithm>
#include <cmath>

#include "app/Principal.h"

namespace qv {

namespace {

constexpr double kZoomStep = 1.25;  // one zoom command
constexpr double kFitMargin = TVista::kFitMargin;

QAction* ViewItem(QWidget* owner, const char* name, const QString& text,
                  const QList<QKeySequence>& keys) {
  auto* a = new QAction(text, owner);
  a->setObjectName(QString::fromLatin1(name));
  a->setShortcuts(keys);
  a->setShortcutContext(Qt::WindowShortcut);
  return a;
}

// "far_coordinates.pt" is listed as "Far coordinates".
QString ExampleCaption(const QString& path) {
  QString caption = QFileInfo(path).completeBaseName().replace(QLatin1Char('_'), QLatin1Char(' '));
  if (!caption.isEmpty()) caption[0] = caption[0].toUpper();
  return caption;
}

}  // namespace

void TForm1::CreateViewControls() {
  QMenu* view = nullptr;
  for (QAction* a : menuBar()->actions()) {
    if (a->menu() != nullptr && a->text() == QLatin1String("View")) view = a->menu();
  }
  if (view == nullptr) {
    view = new QMenu(QStringLiteral("View"), this);
    menuBar()->insertMenu(About1, view);
  }
  QAction* first = view->actions().value(0);
  VAcercar =
      ViewItem(this, "VAcercar", QStringLiteral("Zoom In"),
               {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
  VAlejar = ViewItem(this, "VAlejar", QStringLiteral("Zoom Out"),
                     {QKeySequence(Qt::CTRL | Qt::Key_Minus)});
  VAjustar =
      ViewItem(this, "VAjustar", QStringLiteral("Fit"), {QKeySequence(Qt::CTRL | Qt::Key_0)});
  VReal =
      ViewItem(this, "VReal", QStringLiteral("Actual Size"), {QKeySequence(Qt::CTRL | Qt::Key_1)});
  // Before the entries already there.
  view->insertActions(first, {VAcercar, VAlejar, VAjustar, VReal});
  if (first != nullptr) view->insertSeparator(first);
  // The shortcuts act anywhere in the window, not only while the menu is open.
  addActions({VAcercar, VAlejar, VAjustar, VReal});
  auto guarded = [this](QAction* a, std::function<void()> handler) {
    connect(a, &QAction::triggered, this, [this, handler] { Guarded(handler); });
  };
  guarded(VAcercar, [this] { ZoomAtCentre(kZoomStep); });
  guarded(VAlejar, [this] { ZoomAtCentre(1.0 / kZoomStep); });
  guarded(VAjustar, [this] { FitView(); });
  guarded(VReal, [this] { ActualSize(); });

  QMenu* file = menuBar()->actions().value(0)->menu();
  FEjemplos = new QMenu(QStringLiteral("Examples"), this);
  FEjemplos->menuAction()->setObjectName(QStringLiteral("FEjemplos"));
  file->insertMenu(FSalvar, FEjemplos);
  const QString folder = ExamplesFolder();
  const QStringList names =
      folder.isEmpty() ? QStringList()
                       : QDir(folder).entryList({QStringLiteral("*.pt")}, QDir::Files, QDir::Name);
  for (const QString& name : names) {
    const QString path = QDir(folder).filePath(name);
    QAction* item = FEjemplos->addAction(ExampleCaption(path));
    guarded(item, [this, path] { OpenExample(path); });
  }
  FEjemplos->setEnabled(!names.isEmpty());
}

void TForm1::ConnectCanvasView() {
  Pizarra->SetView(Vista);
  connect(Pizarra, &TPizarra::Zoom, this,
          [this](QPointF at, double factor) { Guarded([&] { ZoomAt(at, factor); }); });
  connect(Pizarra, &TPizarra::Pan, this,
          [this](double dx, double dy) { Guarded([&] { PanView(dx, dy); }); });
}

void TForm1::SetVista(const TVista& view) {
  Vista = view;
  Vista.Ratio = 1.0;
  if (Pizarra == nullptr) return;
  Pizarra->SetView(Vista);
  Drawing().DrawAgain();
}

void TForm1::ZoomAt(QPointF at, double factor) {
  TVista view = Vista;
  view.ZoomAt(at, factor);
  SetVista(view);
}

void TForm1::ZoomAtCentre(double factor) {
  ZoomAt(QPointF(Pizarra->width() / 2.0, Pizarra->height() / 2.0), factor);
}

void TForm1::PanView(double dx, double dy) {
  TVista view = Vista;
  view.Pan(dx, dy);
  SetVista(view);
}

void TForm1::FitView() {
  if (Doc.Points.empty()) {
    ActualSize();
    return;
  }
  SetVista(
      TVista::Fit(PointsBox(Doc.Points), QSizeF(Pizarra->width(), Pizarra->height()), kFitMargin));
}

void TForm1::ActualSize() {
  SetVista(TVista{});
}

void TForm1::ViewForOpenedPoints() {
  const QRectF box = PointsBox(Doc.Points);
  const bool shows =
      box.isNull() || (box.left() >= 0 && box.top() >= 0 && box.right() < Pizarra->width() &&
                       box.bottom() < Pizarra->height());
  Vista =
      shows ? TVista{} : TVista::Fit(box, QSizeF(Pizarra->width(), Pizarra->height()), kFitMargin);
  Pizarra->SetView(Vista);
}

int TForm1::PickTolerance(int pixels) const {
  return static_cast<int>(std::clamp(std::lround(Vista.DocLength(pixels)), 0L, 1L << 30));
}

QString TForm1::ExamplesFolder() {
  const QString program = QCoreApplication::applicationDirPath();
  for (const char* place : {"/share/quilvaron/examples", "/../share/quilvaron/examples"}) {
    const QDir folder(program + QLatin1String(place));
    if (folder.exists()) return folder.canonicalPath();
  }
  return QString();
}

void TForm1::OpenExample(const QString& path) {
  if (!SaveChangesFirst()) return;
  OpenPointsFile(path);
}

}  // namespace qv
