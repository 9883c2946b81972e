// TForm1: creation, layout of the toolbar band, canvas, status bar and floating panels, menus,
// resizing, New, the grid toggle and Exit.
#include "app/Principal.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>
#include <QResizeEvent>
#include <QShowEvent>
#include <QToolButton>
#include <algorithm>
#include <exception>

#include "app/EleccionT.h"
#include "app/Iconos.h"
#include "app/PanelComparar.h"
#include "geometry/UserError.h"

namespace qv {

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
  defaultMessages_ = std::make_unique<TMessageBoxes>(this);
  defaultFileDialogs_ = std::make_unique<TFileDialogs>(this);
  messages_ = defaultMessages_.get();
  fileDialogs_ = defaultFileDialogs_.get();
  FEleccionT = new TFEleccionT(this, RandomSource);
  chooser_ = FEleccionT;
  CompassImage = QImage(30, 30, QImage::Format_RGB32);
  CompassImage.fill(Qt::white);

  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("Quilvaron"));
  setWindowIcon(WindowIcon());
  QFont font = QApplication::font();
  font.setPointSize(8);
  setFont(font);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, Qt::white);
  setPalette(palette);
  resize(1022, 768);

  ClientArea = new QWidget(this);
  ClientArea->setObjectName(QStringLiteral("ClientArea"));
  ClientArea->setAutoFillBackground(true);
  setCentralWidget(ClientArea);
  CreateToolBar();
  CreateMenus();
  CreateFlipTool();
  CreateHistoryControls();
  CreateStatusBar();
  CreatePanels();
  PanelComparar = InstallComparePanel(*this);
  // Opened or closed, the panel changes the canvas's room; the refresh fills it when it opens.
  connect(PanelComparar, &QDockWidget::visibilityChanged, this, [this](bool) { RefreshViews(); });
  CreateViewControls();
  CreateStepsPanel();
  FormCreate();
  ClientArea->installEventFilter(this);
  InstallKeyHandler();
}

TForm1::~TForm1() {
  // The controls are destroyed after this body, by the base class; their last signals (a field
  // losing the focus finishes its editing) must not reach the handlers of a window that is gone.
  for (QObject* child : findChildren<QObject*>())
    QObject::disconnect(child, nullptr, this, nullptr);
}

void TForm1::SetMessages(IMessages* messages) {
  messages_ = messages != nullptr ? messages : defaultMessages_.get();
}

void TForm1::SetFileDialogs(IFileDialogs* dialogs) {
  fileDialogs_ = dialogs != nullptr ? dialogs : defaultFileDialogs_.get();
}

void TForm1::SetChooser(IChooser* chooser) {
  chooser_ = chooser != nullptr ? chooser : FEleccionT;
}

void TForm1::Guarded(const std::function<void()>& handler) {
  QString failure;
  try {
    handler();
  } catch (const UserError& e) {
    failure = QString::fromStdString(e.what());
  } catch (const std::exception& e) {
    // Not a refusal the user caused: still shown, never let through the event loop.
    failure = QStringLiteral("Unexpected failure: ") + QString::fromStdString(e.what());
  }
  RefreshViews();
  if (failure.isEmpty()) return;
  EndDrag();
  messages_->ShowMessage(failure);
}

template <class Sender, class Signal, class Handler>
void TForm1::Connect(Sender* sender, Signal signal, Handler handler) {
  connect(sender, signal, this,
          [this, handler](auto&&... args) { Guarded([&] { handler(args...); }); });
}

// ---------------------------------------------------------------------------------------------
// Toolbar

QAction* TForm1::AddToolButton(const char* name, int image, const QString& hint, bool checkable) {
  auto* action = new QAction(ToolbarIcon(image), QString(), this);
  action->setObjectName(QString::fromLatin1(name));
  action->setToolTip(hint);
  action->setCheckable(checkable);
  ToolBar1->addAction(action);
  if (QWidget* button = ToolBar1->widgetForAction(action)) {
    button->setObjectName(QString::fromLatin1(name) + QStringLiteral("Button"));
    button->setFixedSize(39, 38);
  }
  return action;
}

void TForm1::CreateToolBar() {
  ToolBar1 = new QToolBar(QStringLiteral("ToolBar1"), this);
  ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
  ToolBar1->setMovable(false);
  ToolBar1->setFloatable(false);
  ToolBar1->setIconSize(QSize(32, 32));
  ToolBar1->setFixedHeight(kToolBarHeight);
  ToolBar1->setContextMenuPolicy(Qt::PreventContextMenu);
  addToolBar(Qt::TopToolBarArea, ToolBar1);

  tbCargar = AddToolButton("tbCargar", kImgCargar, QStringLiteral("Load distribution"), false);
  tbGuardar = AddToolButton("tbGuardar", kImgGuardar, QStringLiteral("Save Distribution"), false);
  ToolBar1->addSeparator();
  tbPunto = AddToolButton("tbPunto", kImgPunto, QStringLiteral("Place points"), true);
  tbMover = AddToolButton("tbMover", kImgMover, QStringLiteral("Move points"), true);
  tbBorrar = AddToolButton("tbBorrar", kImgBorrar, QStringLiteral("Remove points"), true);
  tbUnir = AddToolButton("tbUnir", kImgUnir, QStringLiteral("Define polygon"), true);
  ToolBar1->addSeparator();
  tbRejilla = AddToolButton("tbRejilla", kImgRejilla, QStringLiteral("Show/hide grid"), false);
  tbLimpiar = AddToolButton("tbLimpiar", kImgLimpiar, QStringLiteral("Clean canvas"), false);
  tbColores = AddToolButton("tbColores", kImgColores, QString(), false);
  tbCargarFondo = AddToolButton("tbCargarFondo", kImgCargarFondo,
                                QStringLiteral("Load Background image"), false);
  tbGuardarFondo = AddToolButton("tbGuardarFondo", kImgGuardarFondo,
                                 QStringLiteral("Save as Background"), false);
  ToolBar1->addSeparator();
  tbBarrido = AddToolButton("tbBarrido", kImgBarrido, QStringLiteral("Sweepline PT"), true);
  tbCapas = AddToolButton("tbCapas", kImgCapas, QStringLiteral("Convex layers PT"), true);
  tbRemover = AddToolButton("tbRemover", kImgRemover,
                            QStringLiteral("Generate triangulation\nRemove edges and faces"), true);
  tbIncremental =
      AddToolButton("tbIncremental", kImgIncrementalF, QStringLiteral("Incremental PT"), true);
  tbCaminos = AddToolButton("tbCaminos", kImgCaminos, QStringLiteral("Shortest paths PT"), true);
  ToolBar1->addSeparator();
  tbBrujula = AddToolButton("tbBrujula", kImgBrujula,
                            QStringLiteral("Set direction of\n   sweep line"), false);
  tbAleatoria =
      AddToolButton("tbAleatoria", kImgAleatoria, QStringLiteral("Random distribution"), false);
  tbStat = AddToolButton("tbStat", kImgStat, QStringLiteral("Show/Hide Statistics"), false);
  tbEjecutar =
      AddToolButton("tbEjecutar", kImgEjecutar, QStringLiteral("Execute selected method"), false);

  ToolGroup = new QActionGroup(this);
  for (QAction* a : {tbPunto, tbMover, tbBorrar, tbUnir}) ToolGroup->addAction(a);
  MethodGroup = new QActionGroup(this);
  for (QAction* a : {tbBarrido, tbCapas, tbRemover, tbIncremental, tbCaminos}) {
    MethodGroup->addAction(a);
  }
  tbPunto->setChecked(true);
  tbBarrido->setChecked(true);

  Connect(tbCargar, &QAction::triggered, [this](bool) { tbCargarClick(); });
  Connect(tbGuardar, &QAction::triggered, [this](bool) { tbGuardarClick(); });
  Connect(tbPunto, &QAction::triggered, [this](bool) { tbPuntoClick(); });
  Connect(tbMover, &QAction::triggered, [this](bool) { tbMoverClick(); });
  Connect(tbBorrar, &QAction::triggered, [this](bool) { tbBorrarClick(); });
  Connect(tbUnir, &QAction::triggered, [this](bool) { tbUnirClick(); });
  Connect(tbRejilla, &QAction::triggered, [this](bool) { tbRejillaClick(); });
  Connect(tbLimpiar, &QAction::triggered, [this](bool) { NewDocument(TTipoCambio::CleanCanvas); });
  Connect(tbColores, &QAction::triggered, [this](bool) { tbColoresClick(); });
  Connect(tbCargarFondo, &QAction::triggered, [this](bool) { tbCargarFondoClick(); });
  Connect(tbGuardarFondo, &QAction::triggered, [this](bool) { tbGuardarFondoClick(); });
  Connect(tbBarrido, &QAction::triggered, [this](bool) { tbBarridoClick(); });
  Connect(tbCapas, &QAction::triggered, [this](bool) { tbCapasClick(); });
  Connect(tbRemover, &QAction::triggered, [this](bool) { tbRemoverClick(); });
  Connect(tbIncremental, &QAction::triggered, [this](bool) { tbIncrementalClick(); });
  Connect(tbCaminos, &QAction::triggered, [this](bool) { tbCaminosClick(); });
  Connect(tbBrujula, &QAction::triggered, [this](bool) { tbBrujulaClick(); });
  Connect(tbAleatoria, &QAction::triggered, [this](bool) { tbAleatoriaClick(); });
  Connect(tbStat, &QAction::triggered, [this](bool) { tbStatClick(); });
  Connect(tbEjecutar, &QAction::triggered, [this](bool) { tbEjecutarClick(); });
}

// ---------------------------------------------------------------------------------------------
// Menus

void TForm1::CreateMenus() {
  auto item = [this](QMenu* menu, const char* name, const QString& text, bool checkable) {
    QAction* a = menu->addAction(text);
    a->setObjectName(QString::fromLatin1(name));
    a->setCheckable(checkable);
    return a;
  };
  auto group = [this](std::initializer_list<QAction*> items) {
    auto* g = new QActionGroup(this);
    for (QAction* a : items) g->addAction(a);
    return g;
  };

  QMenu* file = menuBar()->addMenu(QStringLiteral("File"));
  FNuevo = item(file, "FNuevo", QStringLiteral("New"), false);
  FNuevo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
  file->addSeparator();
  FAbrir = item(file, "FAbrir", QStringLiteral("Open..."), false);
  FAbrir->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  FSalvar = item(file, "FSalvar", QStringLiteral("Save"), false);
  FSalvar->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  FGuardarComo = item(file, "FGuardarComo", QStringLiteral("Save As..."), false);
  // The toolbar's Save image command, also here where a menu user looks for it.
  tbGuardarFondo->setText(QStringLiteral("Save Image..."));
  file->addAction(tbGuardarFondo);
  file->addSeparator();
  FSalir = item(file, "FSalir", QStringLiteral("Exit"), false);

  QMenu* algorithm = menuBar()->addMenu(QStringLiteral("Algorithm"));
  ABarrido = item(algorithm, "ABarrido", QStringLiteral("Sweep Line"), true);
  ACapas = item(algorithm, "ACapas", QStringLiteral("Convex Layers"), true);
  QMenu* remove = algorithm->addMenu(QStringLiteral("Triangulate and Remove"));
  ARemover = remove->menuAction();
  ARemover->setObjectName(QStringLiteral("ARemover"));
  ARemover->setCheckable(true);
  RBarrido = item(remove, "RBarrido", QStringLiteral("Sweep"), true);
  RDelaunay = item(remove, "RDelaunay", QStringLiteral("Delaunay"), true);
  RRemoverA = item(remove, "RRemoverA", QStringLiteral("Remove Edges"), true);
  RRemoverT = item(remove, "RRemoverT", QStringLiteral("Remove Triangles"), true);
  QMenu* incremental = algorithm->addMenu(QStringLiteral("Incremental"));
  AIncremental = incremental->menuAction();
  AIncremental->setObjectName(QStringLiteral("AIncremental"));
  AIncremental->setCheckable(true);
  IBoundedF = item(incremental, "IBoundedF", QStringLiteral("Bounded face degree"), true);
  IBoundedV = item(incremental, "IBoundedV", QStringLiteral("Bounded vertex degree"), true);
  ACaminos = item(algorithm, "ACaminos", QStringLiteral("Shortest path"), true);
  group({ABarrido, ACapas, ARemover, AIncremental, ACaminos});
  group({RBarrido, RDelaunay, RRemoverA, RRemoverT});
  group({IBoundedF, IBoundedV});
  ABarrido->setChecked(true);
  RRemoverT->setChecked(true);
  IBoundedF->setChecked(true);

  QMenu* distribution = menuBar()->addMenu(QStringLiteral("Distribution"));
  DUniforme = item(distribution, "DUniforme", QStringLiteral("Uniform"), true);
  DNormal = item(distribution, "DNormal", QStringLiteral("Normal"), true);
  group({DUniforme, DNormal});
  DNormal->setChecked(true);

  QMenu* stats = menuBar()->addMenu(QStringLiteral("Stats"));
  StatEnabled = item(stats, "StatEnabled", QStringLiteral("Enable (slower)"), true);
  StatDisabled = item(stats, "StatDisabled", QStringLiteral("Disable (faster)"), true);
  group({StatEnabled, StatDisabled});
  StatEnabled->setChecked(true);

  About1 = menuBar()->addAction(QStringLiteral("About..."));
  About1->setObjectName(QStringLiteral("About1"));

  Connect(FNuevo, &QAction::triggered, [this](bool) { NewDocument(TTipoCambio::New); });
  Connect(FAbrir, &QAction::triggered, [this](bool) { tbCargarClick(); });
  Connect(FSalvar, &QAction::triggered, [this](bool) { FSalvarClick(); });
  Connect(FGuardarComo, &QAction::triggered, [this](bool) { tbGuardarClick(); });
  Connect(FSalir, &QAction::triggered, [this](bool) { FSalirClick(); });
  Connect(ABarrido, &QAction::triggered, [this](bool) { ABarridoClick(); });
  Connect(ACapas, &QAction::triggered, [this](bool) { ACapasClick(); });
  Connect(ACaminos, &QAction::triggered, [this](bool) { ACaminosClick(); });
  for (QAction* a : {RBarrido, RDelaunay, RRemoverA, RRemoverT}) {
    Connect(a, &QAction::triggered, [this, a](bool) { RSubMenuClick(a); });
  }
  for (QAction* a : {IBoundedF, IBoundedV}) {
    Connect(a, &QAction::triggered, [this, a](bool) { ISubMenuClick(a); });
  }
  for (QAction* a : {DUniforme, DNormal}) {
    Connect(a, &QAction::triggered, [this](bool) { DistribClick(); });
  }
  Connect(StatDisabled, &QAction::triggered, [this](bool) { StatDisabledClick(); });
  Connect(About1, &QAction::triggered, [this](bool) { About1Click(); });
}

// ---------------------------------------------------------------------------------------------
// Status bar and floating panels

void TForm1::CreateStatusBar() {
  StatusBar1 = new QStatusBar(this);
  StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
  StatusBar1->setSizeGripEnabled(false);
  StatusBar1->setFixedHeight(kStatusBarHeight);
  setStatusBar(StatusBar1);
  constexpr std::array<int, kStatusPanels> kWidths{450, 150, 20, 50, 20, 50, 50};
  for (int i = 0; i < kStatusPanels; ++i) {
    auto* panel = new QLabel(StatusBar1);
    panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
    if (i == 0) {
      panel->setMinimumWidth(kWidths[0]);  // and all the room the other panels leave
    } else {
      panel->setFixedWidth(kWidths[static_cast<size_t>(i)]);
    }
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setIndent(2);
    const bool right = i == 3 || i == 5;
    panel->setAlignment((right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    StatusBar1->addWidget(panel, i == 0 ? 1 : 0);
    StatusPanels[static_cast<size_t>(i)] = panel;
  }
  StatusPanels[2]->setText(QStringLiteral("X:"));
  StatusPanels[4]->setText(QStringLiteral("Y:"));
}

void TForm1::PonEstado(int panel, const QString& text) {
  if (panel < 0 || panel >= kStatusPanels) return;
  statusTexts_[static_cast<size_t>(panel)] = text;
  ShowStatusText(panel);
}

QString TForm1::StatusText(int panel) const {
  if (panel < 0 || panel >= kStatusPanels) return QString();
  return statusTexts_[static_cast<size_t>(panel)];
}

// A text wider than its panel loses its middle to an ellipsis; the whole text is its tooltip.
void TForm1::ShowStatusText(int panel) {
  QLabel* label = StatusPanels[static_cast<size_t>(panel)];
  const QString& text = statusTexts_[static_cast<size_t>(panel)];
  const int room = label->contentsRect().width() - 2 * label->indent();
  const QString shown =
      room > 0 ? label->fontMetrics().elidedText(text, Qt::ElideMiddle, room) : text;
  label->setText(shown);
  label->setToolTip(shown != text ? text : QString());
}

namespace {

QFrame* NewPanel(QWidget* parent, const char* name, int width, int height) {
  auto* panel = new QFrame(parent);
  panel->setObjectName(QString::fromLatin1(name));
  panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  panel->setAutoFillBackground(true);
  panel->resize(width, height);
  panel->hide();
  return panel;
}

QLabel* NewLabel(QWidget* parent, const char* name, const QString& text, QRect geometry,
                 Qt::Alignment alignment) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setGeometry(geometry);
  label->setAlignment(alignment | Qt::AlignVCenter);
  return label;
}

}  // namespace

void TForm1::CreatePanels() {
  CreateStatisticsPanel();
  CreateAnglePanel();
  CreateRandomPanel();
}

void TForm1::CreateStatisticsPanel() {
  PanelStat = NewPanel(ClientArea, "PanelStat", 217, 89);
  const std::array<int, 3> rows{16, 40, 64};
  const std::array<QString, 3> left{QStringLiteral("Weight     :"), QStringLiteral("V degree  :"),
                                    QStringLiteral("F degree  :")};
  const std::array<QString, 3> right{QStringLiteral("Points      :"), QStringLiteral("Faces :"),
                                     QStringLiteral("Triangles :")};
  std::array<QLabel**, 3> leftValues{&LPeso, &LGradoV, &LGradoC};
  std::array<QLabel**, 3> rightValues{&LPuntos, &LNumCaras, &LNumT};
  const std::array<const char*, 3> leftNames{"LPeso", "LGradoV", "LGradoC"};
  const std::array<const char*, 3> rightNames{"LPuntos", "LNumCaras", "LNumT"};
  constexpr int kRowHeight = 16;
  for (size_t i = 0; i < 3; ++i) {
    statCaptions_[i] =
        NewLabel(PanelStat, "", left[i], QRect(8, rows[i], 0, kRowHeight), Qt::AlignLeft);
    statCaptions_[i + 3] =
        NewLabel(PanelStat, "", right[i], QRect(127, rows[i], 0, kRowHeight), Qt::AlignLeft);
    *leftValues[i] = NewLabel(PanelStat, leftNames[i], QStringLiteral("0"),
                              QRect(0, rows[i], 0, kRowHeight), Qt::AlignRight);
    *rightValues[i] = NewLabel(PanelStat, rightNames[i], QStringLiteral("0"),
                               QRect(0, rows[i], 0, kRowHeight), Qt::AlignRight);
  }
  LayoutStatistics();
}

void TForm1::LayoutStatistics() {
  constexpr int kGap = 3;         // between a caption and the longest figure beside it
  constexpr int kMargin = 9;      // right of the right column's edge
  constexpr int kColumnGap = 22;  // between the left column's edge and the right captions
  const std::array<QLabel*, 6> values{LPeso, LGradoV, LGradoC, LPuntos, LNumCaras, LNumT};
  const QFontMetrics metrics = PanelStat->fontMetrics();
  auto width = [&](const QLabel* label) { return metrics.horizontalAdvance(label->text()) + 1; };
  // The edge a column's figures end on, and where its captions start.
  auto edge = [&](size_t first, int captionX, int usual) {
    for (size_t i = first; i < first + 3; ++i) {
      usual = std::max(usual, captionX + width(statCaptions_[i]) + kGap + width(values[i]));
    }
    return usual;
  };
  const int leftEdge = edge(0, 8, 105);
  const int rightCaptionX = std::max(127, leftEdge + kColumnGap);
  const int rightEdge = edge(3, rightCaptionX, 208 + (rightCaptionX - 127));
  for (size_t i = 0; i < 6; ++i) {
    const int captionX = i < 3 ? 8 : rightCaptionX;
    const int columnEdge = i < 3 ? leftEdge : rightEdge;
    QLabel* caption = statCaptions_[i];
    caption->setGeometry(captionX, caption->y(), width(caption), caption->height());
    const int valueX = captionX + width(caption) + kGap;
    values[i]->setGeometry(valueX, caption->y(), columnEdge - valueX, caption->height());
  }
  PanelStat->resize(std::max(217, rightEdge + kMargin), PanelStat->height());
}

void TForm1::CreateAnglePanel() {
  PanelAngulo = NewPanel(ClientArea, "PanelAngulo", 97, 53);
  Image2 = new TImageView(PanelAngulo, &CompassImage);
  Image2->setObjectName(QStringLiteral("Image2"));
  Image2->setGeometry(7, 11, 30, 30);
  SpinAngulo = new TSpinEdit(PanelAngulo, 0, 359, 4, 0);
  SpinAngulo->setObjectName(QStringLiteral("SpinAngulo"));
  SpinAngulo->setGeometry(44, 16, 46, 22);
  SpinAngulo->setToolTip(QStringLiteral("Angle of the sweep direction, in degrees"));
  Connect(SpinAngulo, &QSpinBox::textChanged, [this](const QString&) {
    RecordChange(TTipoCambio::SweepAngle, [this] { SpinAnguloChange(); });
  });
  Connect(SpinAngulo, &QSpinBox::editingFinished, [this]() { SpinAnguloExit(); });
}

void TForm1::CreateRandomPanel() {
  PanelAlea = NewPanel(ClientArea, "PanelAlea", 123, 62);
  SpinPuntos = new TSpinEdit(PanelAlea, 1, 1000, 4, 50);
  SpinPuntos->setObjectName(QStringLiteral("SpinPuntos"));
  SpinPuntos->setGeometry(5, 6, 54, 22);
  SpinPuntos->setToolTip(QStringLiteral("Number of points"));
  SpinDesv = new TSpinEdit(PanelAlea, 1, 200, 3, 100);
  SpinDesv->setObjectName(QStringLiteral("SpinDesv"));
  SpinDesv->setGeometry(64, 6, 54, 22);
  SpinDesv->setToolTip(QStringLiteral("Standard deviation"));
  BotonPuntosOK = new QPushButton(QStringLiteral("OK"), PanelAlea);
  BotonPuntosOK->setObjectName(QStringLiteral("BotonPuntosOK"));
  BotonPuntosOK->setGeometry(5, 33, 54, 24);
  BotonPlay = new QPushButton(PanelAlea);
  BotonPlay->setObjectName(QStringLiteral("BotonPlay"));
  BotonPlay->setIcon(ToolbarIcon(kImgEjecutar));
  BotonPlay->setIconSize(QSize(16, 16));
  BotonPlay->setToolTip(QStringLiteral("Execute selected method"));
  BotonPlay->setGeometry(64, 33, 54, 24);
  Connect(BotonPuntosOK, &QPushButton::clicked,
          [this](bool) { RecordChange(TTipoCambio::RandomSet, [this] { BotonPuntosOKClick(); }); });
  Connect(BotonPlay, &QPushButton::clicked, [this](bool) { tbEjecutarClick(); });
}

void TForm1::PlaceFloatingPanels() {
  // The client area ends where the status bar begins.
  const int statusTop = ClientArea->height();
  PanelStat->move(1, 0);
  PanelAngulo->move(5, statusTop - 60);
  PanelAlea->move(ClientArea->width() - 130, statusTop - 70);
}

// ---------------------------------------------------------------------------------------------
// Creation, showing, resizing

void TForm1::FormCreate() {
  // Painting is double-buffered by the window's backing store (every widget paints into it).
  LayoutCanvas();
  Doc.ResultShown = false;
  setWindowState(windowState() | Qt::WindowMaximized);
  PenStyles.SetDefaults();
  PlaceFloatingPanels();
}

void TForm1::FormShow() {
  DrawCompass(0);
  RefreshViews();
}

void TForm1::LayoutCanvas() {
  if (Pizarra != nullptr) {
    // The old canvas may be inside one of its own mouse handlers (a message box shown there
    // runs the event loop): it goes silent now and is deleted once control is back there.
    Pizarra->disconnect(this);
    Pizarra->hide();
    Pizarra->deleteLater();
  }
  Pizarra = new TPizarra(ClientArea, ClientArea->width(), ClientArea->height());
  Connect(Pizarra, &TPizarra::MouseDown,
          [this](Qt::MouseButton b, Qt::KeyboardModifiers m, int x, int y) {
            RecordMouseDown(b, m, x, y);
          });
  Connect(Pizarra, &TPizarra::MouseMove,
          [this](Qt::MouseButtons b, Qt::KeyboardModifiers m, int x, int y) {
            PizarraMouseMove(b, m, x, y);
          });
  Connect(Pizarra, &TPizarra::MouseUp,
          [this](Qt::MouseButton b, Qt::KeyboardModifiers m, int x, int y) {
            RecordMouseUp(b, m, x, y);
          });
  ConnectCanvasView();
  Pizarra->lower();  // below the floating panels
  Pizarra->show();
  if (Doc.GridVisible) Drawing().DrawGrid();
}

void TForm1::FormResize() {
  if (runDepth_ > 0) {
    // A run waits in its dialog: the canvas takes the new size and keeps its picture, and the
    // run draws on it when it goes on. Nothing is executed meanwhile.
    const QImage picture = Pizarra->Surface().copy();
    LayoutCanvas();
    Pizarra->Canvas().Draw(0, 0, picture);
  } else {
    LayoutCanvas();
    if (Doc.ResultShown && !closing_ && !QCoreApplication::closingDown()) ExecuteSelectedMethod();
  }
  PlaceFloatingPanels();
}

void TForm1::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!shown_ && !event->spontaneous()) {
    shown_ = true;
    Guarded([this] { FormShow(); });
  }
}

void TForm1::closeEvent(QCloseEvent* event) {
  bool close = false;
  Guarded([&] { close = SaveChangesFirst(); });
  if (!close) {
    event->ignore();
    return;
  }
  closing_ = true;
  QMainWindow::closeEvent(event);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ClientArea && event->type() == QEvent::Resize) {
    // Placing the panels cannot fail, and must happen even when the re-execution does.
    Guarded([this] { FormResize(); });
    PlaceFloatingPanels();
  }
  return QMainWindow::eventFilter(watched, event);
}

TDrawing TForm1::Drawing() {
  return TDrawing(Pizarra->Canvas(), CompassImage, Doc, PenStyles);
}

void TForm1::DrawCompass(int angle) {
  qv::DrawCompass(CompassImage, angle, Doc.SweepDirX, Doc.SweepDirY);
  if (Image2 != nullptr) Image2->update();
}

// ---------------------------------------------------------------------------------------------
// New, grid, Exit

void TForm1::tbLimpiarClick() {
  Doc.DraggedPoint = kNone;
  Doc.BackgroundLoaded = false;
  Drawing().ClearCanvas();
  Doc.Points.clear();
  Doc.GridVisible = false;
  SaveName.clear();
  PointsFileName.clear();
  if (tbUnir->isChecked()) Doc.EditMode = TEditMode::DrawPolygon;
  PonEstado(0, ToolPrompt());
  file_.reset();
}

void TForm1::tbRejillaClick() {
  Doc.GridVisible = !Doc.GridVisible;
  Redraw();
}

void TForm1::FSalirClick() {
  close();
}

}  // namespace qv
