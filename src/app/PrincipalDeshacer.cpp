// The window's side of the history: the Edit menu and its toolbar buttons, one step recorded
// per change of the document, the repaint or recomputation after an undo or redo, the question
// about unsaved changes, Open Recent and point files dropped on the window.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMenuBar>
#include <QMimeData>
#include <QSettings>
#include <QSignalBlocker>
#include <QUndoStack>
#include <QUrl>
#include <exception>

#include "app/Iconos.h"
#include "app/Principal.h"

namespace qv {

namespace {

const QString kRecentKey = QStringLiteral("RecentFiles");

// The user's settings (only the recent files are kept).
std::unique_ptr<QSettings> UserSettings() {
  return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                     QStringLiteral("Quilvaron"), QStringLiteral("Quilvaron"));
}

// The one local ".pt" file a drag carries, or an empty text.
QString DroppedPointsFile(const QMimeData* data) {
  if (data == nullptr || data->urls().size() != 1 || !data->urls().front().isLocalFile()) {
    return QString();
  }
  const QString name = data->urls().front().toLocalFile();
  return name.endsWith(QStringLiteral(".pt"), Qt::CaseInsensitive) ? name : QString();
}

bool IsPolygonMode(TEditMode mode) {
  return mode == TEditMode::ChainPolygon || mode == TEditMode::DrawPolygon;
}

// Holds a flag up for the life of a scope.
class TBandera {
 public:
  explicit TBandera(bool& flag) : flag_(flag) { flag_ = true; }
  ~TBandera() { flag_ = false; }
  TBandera(const TBandera&) = delete;
  TBandera& operator=(const TBandera&) = delete;

 private:
  bool& flag_;
};

}  // namespace

void TForm1::CreateHistoryControls() {
  EDeshacer = new QAction(ToolbarIcon(kImgDeshacer), QStringLiteral("Undo"), this);
  EDeshacer->setObjectName(QStringLiteral("EDeshacer"));
  // Their keys reach FormKeyDown like the window's other keys; the items only show them.
  EDeshacer->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  EDeshacer->setShortcutContext(Qt::WidgetShortcut);
  ERehacer = new QAction(ToolbarIcon(kImgRehacer), QStringLiteral("Redo"), this);
  ERehacer->setObjectName(QStringLiteral("ERehacer"));
  ERehacer->setShortcuts(
      {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
  ERehacer->setShortcutContext(Qt::WidgetShortcut);
  EDeshacer->setEnabled(false);
  ERehacer->setEnabled(false);

  auto* edit = new QMenu(QStringLiteral("Edit"), this);
  edit->addAction(EDeshacer);
  edit->addAction(ERehacer);
  menuBar()->insertMenu(menuBar()->actions().value(1), edit);  // after File

  // Beside the file buttons, in a group of their own.
  QAction* tools = ToolBar1->actions().value(2);
  ToolBar1->insertSeparator(tools);
  for (QAction* a : {EDeshacer, ERehacer}) {
    ToolBar1->insertAction(tools, a);
    if (QWidget* button = ToolBar1->widgetForAction(a)) {
      button->setObjectName(a->objectName() + QStringLiteral("Button"));
      button->setFixedSize(39, 38);
    }
  }

  QMenu* file = menuBar()->actions().value(0)->menu();
  FRecientes = new QMenu(QStringLiteral("Open Recent"), file);
  FRecientes->menuAction()->setObjectName(QStringLiteral("FRecientes"));
  file->insertMenu(FSalvar, FRecientes);
  UpdateRecentMenu();

  connect(EDeshacer, &QAction::triggered, this, [this] { Guarded([this] { EDeshacerClick(); }); });
  connect(ERehacer, &QAction::triggered, this, [this] { Guarded([this] { ERehacerClick(); }); });
  setAcceptDrops(true);
}

// ---------------------------------------------------------------------------------------------
// Recording

TAjustes TForm1::Ajustes() const {
  TAjustes settings{Doc.SelectedMethod,
                    Doc.ResultShown,
                    Doc.GridVisible,
                    Doc.BackgroundLoaded,
                    Doc.EditMode,
                    PointsFileName,
                    SaveName,
                    file_,
                    nullptr};
  if (chooser_->Choice().Size() > 0) {
    settings.Choice = std::make_shared<const TTriangulationChoice>(chooser_->Choice());
  }
  return settings;
}

void TForm1::RecordChange(TTipoCambio kind, const std::function<void()>& edit) {
  RecordChange([kind] { return kind; }, edit);
}

// The edit runs, and whatever it changed, also when it fails part way (an execution after the
// edit refusing the new points), becomes one step. An edit inside another is part of it.
void TForm1::RecordChange(const std::function<TTipoCambio()>& kind,
                          const std::function<void()>& edit) {
  if (recording_) {
    edit();
    return;
  }
  FinishDrag();
  Historia.Sync();
  const TAjustes before = Ajustes();
  std::exception_ptr failure;
  {
    const TBandera recording(recording_);
    try {
      edit();
    } catch (...) {
      failure = std::current_exception();
    }
  }
  Historia.Record(kind(), before, Ajustes());
  if (failure) std::rethrow_exception(failure);
}

void TForm1::RecordMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x,
                             int y) {
  if (button != Qt::RightButton && tbMover->isChecked()) {
    // One step from press to release, however many moves the drag makes.
    FinishDrag();
    Historia.Sync();
    dragBefore_ = Ajustes();
    dragOpen_ = true;
    PizarraMouseDown(button, modifiers, x, y);
    return;
  }
  const auto kind = [&] {
    if (button == Qt::RightButton) return TTipoCambio::ClosePolygon;
    if (tbPunto->isChecked()) return TTipoCambio::PlacePoint;
    if (tbBorrar->isChecked()) return TTipoCambio::RemovePoint;
    if (Doc.EditMode == TEditMode::ChainPolygon) {
      return Doc.PolygonClosed ? TTipoCambio::ClosePolygon : TTipoCambio::ChainVertex;
    }
    return TTipoCambio::AddVertex;
  };
  RecordChange(kind, [&] { PizarraMouseDown(button, modifiers, x, y); });
}

void TForm1::RecordMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y) {
  // A release where the method refuses the dragged point still ends the step.
  try {
    PizarraMouseUp(button, modifiers, x, y);
  } catch (...) {
    FinishDrag();
    throw;
  }
  FinishDrag();
}

// A release can be lost to a message box shown during the drag: the next command ends it.
void TForm1::FinishDrag() {
  if (!dragOpen_) return;
  dragOpen_ = false;
  Historia.Record(TTipoCambio::MovePoint, dragBefore_, Ajustes());
}

// ---------------------------------------------------------------------------------------------
// Undo and redo

// The document comes back as the step before left it, and is shown as after that step.
void TForm1::EDeshacerClick() {
  FinishDrag();
  if (const TCambio* step = Historia.Undo()) {
    const TCambio* before = Historia.Top();
    AfterStep(*step, step->SettingsBefore(),
              before != nullptr ? before->FollowUp() : TSeguimiento::Recompute);
  }
}

void TForm1::ERehacerClick() {
  FinishDrag();
  if (const TCambio* step = Historia.Redo()) {
    AfterStep(*step, step->SettingsAfter(), step->FollowUp());
  }
}

void TForm1::UndoKey() {
  if (!IsPolygonMode(Doc.EditMode)) {
    EDeshacerClick();
    return;
  }
  Historia.Sync();
  const TCambio* last = Historia.Top();
  if (last != nullptr && last->BuildsPolygon()) {
    EDeshacerClick();
    return;
  }
  const bool closed = Doc.PolygonClosed;
  const int count = Doc.PointCount();
  RecordChange(
      [&] {
        return closed && Doc.PointCount() == count ? TTipoCambio::ReopenPolygon
                                                   : TTipoCambio::DeleteLastEdge;
      },
      [this] { DeleteLastPolygonEdge(); });
}

// After the step taken back or made again: the settings it changed given back, then the method
// run again or the canvas repainted as after the change that left the document so.
void TForm1::AfterStep(const TCambio& step, const TAjustes& settings, TSeguimiento followUp) {
  Doc.DraggedPoint = kNone;
  if (step.ReplacesSet()) {
    Doc.GridVisible = settings.GridVisible;
    Doc.BackgroundLoaded = settings.BackgroundLoaded;
    PointsFileName = settings.PointsFileName;
    SaveName = settings.SaveName;
    file_ = settings.File;
  }
  // The result comes back with the triangulation it was made from.
  if (settings.Choice != nullptr) Chooser().Choice() = *settings.Choice;
  if (tbUnir->isChecked()) {
    // The polygon tool stays; which way the polygon is being defined comes back with it.
    if ((step.ReplacesSet() || step.EditsPolygon()) && IsPolygonMode(settings.EditMode)) {
      Doc.EditMode = settings.EditMode;
    }
    if (Doc.EditMode == TEditMode::ChainPolygon && Doc.Points.empty()) {
      Doc.EditMode = TEditMode::DrawPolygon;
    }
  }
  if ((SpinAngulo->IntValue(0) % 360 + 360) % 360 != Doc.SweepAngle) {
    const QSignalBlocker quiet(SpinAngulo);
    SpinAngulo->SetText(QString::number(Doc.SweepAngle));
  }
  DrawCompass(Doc.SweepAngle);

  const bool result = Doc.SelectedMethod != TMethod::NoMethod && Doc.ResultShown;
  if (followUp == TSeguimiento::Repaint || !result) {
    RepaintDocument();
  } else if (followUp == TSeguimiento::Redraw) {
    Redraw();
  } else {
    ExecuteSelectedMethod();
  }
}

// The points, and the polygon under definition, on a cleared canvas. No result is drawn, so
// none is kept.
void TForm1::RepaintDocument() {
  const TEscalares polygon = EscalaresDe(Doc);
  const bool shown = Doc.ResultShown;
  Doc.CurrentPT.Clear();
  result_.Made = false;
  TDrawing drawing = Drawing();
  drawing.ClearCanvas();  // it ends the polygon and the result, which stand as they were
  Doc.PolygonClosed = polygon.PolygonClosed;
  Doc.PolygonLength = polygon.PolygonLength;
  Doc.ResultShown = shown;
  if (Doc.GridVisible) drawing.DrawGrid();
  if (IsPolygonMode(Doc.EditMode)) {
    drawing.DrawPolygonOutline(Doc.PolygonClosed);
    Doc.ResultShown = shown;
  } else {
    drawing.DrawPoints(false);
  }
}

// ---------------------------------------------------------------------------------------------
// Unsaved changes, New, Open, the caption

bool TForm1::SaveChangesFirst() {
  FinishDrag();
  if (!Modified()) return true;
  switch (Messages().AskToSave(QStringLiteral("Save changes to the points?"))) {
    case TSaveAnswer::Save:
      FSalvarClick();
      return !Modified();  // a cancelled save dialog saved nothing
    case TSaveAnswer::Discard:
      return true;
    case TSaveAnswer::Cancel:
      break;
  }
  return false;
}

void TForm1::NewDocument(TTipoCambio kind) {
  if (!SaveChangesFirst()) return;
  RecordChange(kind, [this] { tbLimpiarClick(); });
}

void TForm1::OpenPointsFile(const QString& name) {
  RecordChange(TTipoCambio::Open, [&] { LoadPointsFile(name); });
  AddRecentFile(name);
}

void TForm1::MarkSaved(const QString& fileName) {
  RememberFile(fileName, Doc.SelectedMethod == TMethod::ShortestPaths && Doc.PolygonClosed);
  AddRecentFile(fileName);
}

// ---------------------------------------------------------------------------------------------
// Recent files and dropped files

QStringList TForm1::RecentFiles() const {
  QStringList files = UserSettings()->value(kRecentKey).toStringList();
  while (files.size() > kRecentFiles) files.removeLast();
  return files;
}

void TForm1::AddRecentFile(const QString& fileName) {
  const QString path = QFileInfo(fileName).absoluteFilePath();
  QStringList files = RecentFiles();
  files.removeAll(path);
  files.prepend(path);
  while (files.size() > kRecentFiles) files.removeLast();
  UserSettings()->setValue(kRecentKey, files);
  UpdateRecentMenu();
}

void TForm1::UpdateRecentMenu() {
  // The item that opened a file may be the one being replaced: it goes once its signal is done.
  for (QAction* item : FRecientes->actions()) {
    FRecientes->removeAction(item);
    item->deleteLater();
  }
  const QStringList files = RecentFiles();
  for (int i = 0; i < files.size(); ++i) {
    const QString file = files[i];
    QAction* item = FRecientes->addAction(
        QStringLiteral("&%1 %2").arg(i + 1).arg(QString(file).replace(QLatin1Char('&'), "&&")));
    connect(item, &QAction::triggered, this, [this, file] {
      Guarded([&] {
        if (!SaveChangesFirst()) return;
        OpenName = file;
        OpenPointsFile(file);
      });
    });
  }
  FRecientes->setEnabled(!files.isEmpty());
}

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
  if (!DroppedPointsFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* event) {
  const QString name = DroppedPointsFile(event->mimeData());
  if (name.isEmpty()) return;
  event->acceptProposedAction();
  // Opened once the drop is over, so that the program the file came from is not kept waiting
  // by a question or a refusal.
  QMetaObject::invokeMethod(
      this,
      [this, name] {
        Guarded([&] {
          if (!SaveChangesFirst()) return;
          OpenName = name;
          OpenPointsFile(name);
        });
      },
      Qt::QueuedConnection);
}

}  // namespace qv
