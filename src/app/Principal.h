// The main window TForm1: it owns the document, the pen styles, the tool and method actions,
// the status bar, the floating panels and the canvas, and its slots are the handlers of every
// command. A handler that fails throws UserError; Guarded, the one place that catches, shows
// the text through the message seam, and the handler stops where it was.
#pragma once

#include <QAction>
#include <QActionGroup>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QString>
#include <QToolBar>
#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "app/Controles.h"
#include "app/Deshacer.h"
#include "app/Documento.h"
#include "app/Lienzo.h"
#include "app/Pizarra.h"
#include "app/Seams.h"
#include "app/Vista.h"
#include "methods/Aleatorio.h"
#include "methods/Verificador.h"
#include "stats/Estadisticas.h"

namespace qv {

class TFEleccionT;
class TPanelComparar;
class TPanelPasos;
class TRecorder;

class TForm1 : public QMainWindow {
  Q_OBJECT

 public:
  static constexpr int kToolBarHeight = 50;
  static constexpr int kStatusBarHeight = 19;
  static constexpr int kStatusPanels = 7;

  explicit TForm1(QWidget* parent = nullptr);
  ~TForm1() override;

  // ----- document and settings
  TDocumento Doc;
  TPenStyles PenStyles;
  // The save dialog's remembered name (Save As, Save image); emptied by New.
  QString SaveName;
  // The open dialog's remembered name (Open, Load background).
  QString OpenName;
  // Where Save writes the points: the last name chosen by Save As; emptied by New.
  QString PointsFileName;
  QImage CompassImage;  // the 30 x 30 compass beside the angle field
  // The application's one generator, seeded from the time of day at start: random
  // distributions, the chooser's "Random" and the pocket triangulations draw from it.
  TRandom RandomSource{ClockSeed()};

  // ----- seams (the window keeps ownership of its defaults; replacements are not owned)
  void SetMessages(IMessages* messages);
  void SetFileDialogs(IFileDialogs* dialogs);
  // The triangulation chooser the methods show; nullptr restores the window's own dialog.
  void SetChooser(IChooser* chooser);
  IMessages& Messages() { return *messages_; }
  IFileDialogs& FileDialogs() { return *fileDialogs_; }
  IChooser& Chooser() { return *chooser_; }
  // The window's own chooser dialog, created with the window and living as long.
  TFEleccionT* FEleccionT = nullptr;

  // Runs a handler; a failure is shown as a message and ends the handler where it was.
  // Afterwards the canvas and the compass are repainted.
  void Guarded(const std::function<void()>& handler);

  // ----- controls
  QWidget* ClientArea = nullptr;  // everything between the toolbar band and the status bar
  QToolBar* ToolBar1 = nullptr;
  TPizarra* Pizarra = nullptr;
  QStatusBar* StatusBar1 = nullptr;
  std::array<QLabel*, kStatusPanels> StatusPanels{};  // see StatusText for their whole texts

  QFrame* PanelStat = nullptr;
  QLabel* LPeso = nullptr;
  QLabel* LGradoV = nullptr;
  QLabel* LGradoC = nullptr;
  QLabel* LPuntos = nullptr;
  QLabel* LNumCaras = nullptr;
  QLabel* LNumT = nullptr;

  QFrame* PanelAngulo = nullptr;
  TImageView* Image2 = nullptr;
  TSpinEdit* SpinAngulo = nullptr;

  // The compare dock (View menu), closed at start.
  TPanelComparar* PanelComparar = nullptr;
  // The Steps dock (View menu), closed at start; its window side is in PrincipalPasos.cpp.
  TPanelPasos* PanelPasos = nullptr;
  void CreateStepsPanel();
  // Runs are recorded step by step while the panel is open.
  bool RecordingSteps() const;
  // A run finished: its steps go to the panel, which shows the end.
  void HandStepsToPanel(const TRecorder& steps);
  // When the panel is on a step before the end, draws that step's frame and returns true.
  // The figures of the construction stage the Steps panel shows, when it shows one.
  std::optional<TStatistics> ShownStepFigures() const;
  bool DrawShownStep();
  // A result that is gone or changed by flips leaves the panel without steps.
  void DropStaleSteps();

  QFrame* PanelAlea = nullptr;
  TSpinEdit* SpinPuntos = nullptr;
  TSpinEdit* SpinDesv = nullptr;
  QPushButton* BotonPuntosOK = nullptr;
  QPushButton* BotonPlay = nullptr;

  // Toolbar buttons, left to right.
  QAction* tbCargar = nullptr;
  QAction* tbGuardar = nullptr;
  QAction* tbPunto = nullptr;
  QAction* tbMover = nullptr;
  QAction* tbBorrar = nullptr;
  QAction* tbUnir = nullptr;
  QAction* tbRejilla = nullptr;
  QAction* tbLimpiar = nullptr;
  QAction* tbColores = nullptr;
  QAction* tbCargarFondo = nullptr;
  QAction* tbGuardarFondo = nullptr;
  QAction* tbBarrido = nullptr;
  QAction* tbCapas = nullptr;
  QAction* tbRemover = nullptr;
  QAction* tbIncremental = nullptr;
  QAction* tbCaminos = nullptr;
  QAction* tbBrujula = nullptr;
  QAction* tbAleatoria = nullptr;
  QAction* tbStat = nullptr;
  QAction* tbEjecutar = nullptr;
  QAction* tbFlip = nullptr;  // the Flip tool, also in the Algorithm menu
  QActionGroup* ToolGroup = nullptr;
  QActionGroup* MethodGroup = nullptr;

  // Menu items.
  QAction* FNuevo = nullptr;
  QAction* FAbrir = nullptr;
  QAction* FSalvar = nullptr;
  QAction* FGuardarComo = nullptr;
  QAction* FSalir = nullptr;
  QAction* ABarrido = nullptr;
  QAction* ACapas = nullptr;
  QAction* ARemover = nullptr;
  QAction* RBarrido = nullptr;
  QAction* RDelaunay = nullptr;
  QAction* RRemoverA = nullptr;
  QAction* RRemoverT = nullptr;
  QAction* AIncremental = nullptr;
  QAction* IBoundedF = nullptr;
  QAction* IBoundedV = nullptr;
  QAction* ACaminos = nullptr;
  QAction* DUniforme = nullptr;
  QAction* DNormal = nullptr;
  QAction* StatEnabled = nullptr;
  QAction* StatDisabled = nullptr;
  QAction* About1 = nullptr;
  // The toolbar image tbIncremental shows: 14 (face degree) or 15 (vertex degree).
  int IncrementalImage = 14;

  // ----- the one refresh
  // Brings every view into line with the document after a command: the canvas and compass
  // widgets, the statistics panel, status panels 0 and 1, the compare panel, the title and the
  // Edit menu. Handlers change the document and the result; only this writes the views.
  void RefreshViews();
  // The document differs from the file it was last opened from or saved to (or, untitled, has
  // points).
  bool Modified() const;
  // The caption the title shows, without the unsaved-changes mark.
  QString Caption() const;

  // ----- status bar
  void PonEstado(int panel, const QString& text);
  QString StatusText(int panel) const;

  // The drawing operations bound to the current canvas, document and pen styles.
  TDrawing Drawing();
  // The compass, drawn for the angle; also derives the sweep direction.
  void DrawCompass(int angle);

  // ----- window (creation, layout, New, grid, Exit)
  void FormCreate();
  void FormShow();
  void FormResize();
  void LayoutCanvas();
  void tbLimpiarClick();
  void tbRejillaClick();
  void FSalirClick();

  // ----- method selection and settings
  void PonAccion();
  void tbBarridoClick();
  void tbCapasClick();
  void tbRemoverClick();
  void tbIncrementalClick();
  void tbCaminosClick();
  void ABarridoClick();
  void ACapasClick();
  void ACaminosClick();
  void RSubMenuClick(QAction* item);
  void ISubMenuClick(QAction* item);
  void tbBrujulaClick();
  void SpinAnguloChange();
  void SpinAnguloExit();
  void tbAleatoriaClick();
  void DistribClick();
  void BotonPuntosOKClick();
  void tbStatClick();
  void StatDisabledClick();
  bool StatisticsEnabled() const;

  // ----- execution
  void tbEjecutarClick();
  void ExecuteSelectedMethod();
  // The driver of SelectedMethod; with none, the points only.
  void RunSelectedDriver();
  void Redraw();
  // One driver per method, each in its own file.
  void RunSweepLine();
  void RunConvexLayers();
  void RunTriangulateRemove();
  void RunIncremental();
  void RunShortestPaths();
  // The common end of a driver: edges, points, and with statistics on the panel and the text;
  // a run that moved points says how many after the text, statistics on or off.
  void FinishDriver(const QString& resultText, int movedPoints = 0);
  // Status panel 0 after a run: the method's text and the number of points the run moved;
  // with none moved, only a note an earlier run left there is taken away.
  void ShowMovedPoints(const QString& methodText, int movedPoints);
  // Writes the six figures into the statistics panel.
  void FillStatistics(const TStatistics& s);
  void ResetStatistics();
  // Places the six figures beside their captions, each whole: a column whose figure does not
  // fit left of its edge (x 105, x 208) moves that edge outwards, and the panel grows with it.
  void LayoutStatistics();

  // ----- canvas editing
  void tbPuntoClick();
  void tbMoverClick();
  void tbBorrarClick();
  void tbUnirClick();
  // What status panel 0 says while the canvas shows points and no result: the prompt of the
  // editing mode in use.
  QString ToolPrompt() const;
  void PizarraMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
  void PizarraMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int x, int y);
  void PizarraMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
  // Keys of the window, seen before the focused control: Ctrl+N, Ctrl+O, Ctrl+S, Ctrl+Z, each
  // only with Ctrl as the sole modifier and no mouse button held. True when the key was bound.
  bool FormKeyDown(int key, Qt::KeyboardModifiers modifiers);
  // Removes Points[k], the later points moving down one index.
  void RemovePoint(int k);
  // Ctrl+Z: the last edge of the polygon under definition.
  void DeleteLastPolygonEdge();

  // ----- the Flip tool (PrincipalFlip.cpp)
  void tbFlipClick();
  // A click of the Flip tool: the interior edge within 3 pixels of (x, y) flips; with Shift the
  // last flip is taken back.
  void FlipAt(Qt::KeyboardModifiers modifiers, int x, int y);
  // Flips standing on the shown result since it was computed.
  int FlipsMade() const { return static_cast<int>(flipsDone_.size()); }
  // ----- history: undo and redo, unsaved changes, recent and dropped files
  THistoria Historia{Doc};
  QAction* EDeshacer = nullptr;  // Edit > Undo, also on the toolbar
  QAction* ERehacer = nullptr;   // Edit > Redo, also on the toolbar
  QMenu* FRecientes = nullptr;   // File > Open Recent
  static constexpr int kRecentFiles = 8;
  void EDeshacerClick();
  void ERehacerClick();
  // Ctrl+Z. In the polygon modes it deletes the last polygon edge: by undoing the step that
  // drew it when that is the last step, else as a step of its own.
  void UndoKey();
  // New (menu, Ctrl+N) and Clean canvas, after asking about unsaved changes.
  void NewDocument(TTipoCambio kind);
  // Asks "Save changes to the points?" when the points differ from the last saved or opened
  // file; false when the user cancels or the save did not happen.
  bool SaveChangesFirst();
  // Open of a chosen name (dialog, recent list, dropped file): loads it as one step.
  void OpenPointsFile(const QString& name);
  QStringList RecentFiles() const;

  // ----- view: zoom, pan, fit and the examples (PrincipalVista.cpp) -------------------------
  // The canvas's view of the document; mouse positions reach the handlers through it.
  TVista Vista;
  QAction* VAcercar = nullptr;  // View > Zoom In, Ctrl++ (and Ctrl+=)
  QAction* VAlejar = nullptr;   // View > Zoom Out, Ctrl+-
  QAction* VAjustar = nullptr;  // View > Fit, Ctrl+0
  QAction* VReal = nullptr;     // View > Actual Size, Ctrl+1
  QMenu* FEjemplos = nullptr;   // File > Examples
  // Shows the document through the view: what the canvas holds is drawn again, nothing is
  // computed again.
  void SetVista(const TVista& view);
  void ZoomAt(QPointF at, double factor);
  void ZoomAtCentre(double factor);
  void PanView(double dx, double dy);
  // Every point, and the polygon, in the canvas with a small margin.
  void FitView();
  // 1:1 at the origin.
  void ActualSize();
  // The view for points just opened: 1:1 when they all show there, else fitted.
  void ViewForOpenedPoints();
  // Document units of a pick radius given in screen pixels.
  int PickTolerance(int pixels) const;
  // The folder of the example files: share/quilvaron/examples beside the program (build tree)
  // or above it (installed); empty when there is none.
  static QString ExamplesFolder();
  void OpenExample(const QString& path);
  // --------------------------------------------------------------------------------------------

  // ----- files, images, colours, About
  void tbCargarClick();
  void FSalvarClick();
  void tbGuardarClick();
  void tbCargarFondoClick();
  void tbGuardarFondoClick();
  void tbColoresClick();
  void About1Click();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateToolBar();
  void CreateMenus();
  void CreateStatusBar();
  void CreatePanels();
  void CreateStatisticsPanel();
  void CreateAnglePanel();
  void CreateRandomPanel();
  void PlaceFloatingPanels();
  // Connects a signal to a handler through Guarded.
  template <class Sender, class Signal, class Handler>
  void Connect(Sender* sender, Signal signal, Handler handler);
  QAction* AddToolButton(const char* name, int image, const QString& hint, bool checkable);
  void FollowUp(bool resultShown);
  // The incremental driver's starting triangulation of a hull with n corners (n > 3).
  const TDCEL& ChooseHullTriangulation(int n);
  // Shows the triangulation chooser for a run; a drag it interrupts ends there.
  bool ShowChooser(int n);
  // A modal dialog takes the mouse from a drag: the point is let go, as its release (which the
  // canvas will never see) would.
  void EndDrag();
  // One step of a drag while a result follows the point.
  void FollowDrag();
  void PlacePoint(int x, int y);
  void GrabPoint(int x, int y);
  void ChainPoint(int x, int y);
  void PlacePolygonVertex(int x, int y);
  void ClosePolygon();
  void HoverChainPoint(int x, int y);
  void InstallKeyHandler();
  void WritePoints(const QString& fileName);
  // The save dialog's answer; a name that exists only once the user agreed to replace it.
  QString AskSaveName(const QString& filter, const QString& defaultExtension);
  void LoadPointsFile(const QString& name);
  // The result the selected method has just made from the document (a convex-layers run
  // hands over its layer table): kept with its points and, statistics on, its figures.
  void KeepResult(TPTCapas layers = {});
  // A result's text in status panel 0.
  void ShowResultText(const QString& text);
  // The result kept by the last run still stands for the document on show.
  bool ResultLive() const;
  // The edges of the kept result.
  std::vector<TEdge> ResultEdges() const;
  // The compare panel's row of the method and variant now selected.
  QString SelectedRow() const;
  // The file just opened or saved, with the content it holds now.
  void RememberFile(const QString& name, bool polygon);
  void CreateFlipTool();
  bool FlipReady();
  QString FlipPrompt() const;
  void ShowFlipped(TEdge added);
  // After a run: the flips made on the result before come back when the run gave the same
  // result on the same points; otherwise they are dropped, and panel 0 says so.
  void RestoreFlips();
  // History.
  void CreateHistoryControls();
  void RecordChange(TTipoCambio kind, const std::function<void()>& edit);
  void RecordChange(const std::function<TTipoCambio()>& kind, const std::function<void()>& edit);
  void RecordMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
  void RecordMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
  void FinishDrag();
  TAjustes Ajustes() const;
  void AfterStep(const TCambio& step, const TAjustes& settings, TSeguimiento followUp);
  void RepaintDocument();
  void MarkSaved(const QString& fileName);
  void AddRecentFile(const QString& fileName);
  void UpdateRecentMenu();
  // View (PrincipalVista.cpp).
  void CreateViewControls();
  void ConnectCanvasView();

  std::unique_ptr<IMessages> defaultMessages_;
  std::unique_ptr<IFileDialogs> defaultFileDialogs_;
  IMessages* messages_ = nullptr;
  IFileDialogs* fileDialogs_ = nullptr;
  IChooser* chooser_ = nullptr;
  bool shown_ = false;
  bool closing_ = false;
  // The Flip tool's history: the result as the last flip left it, the flips (removed, added)
  // oldest first, and a count of flips that lets a late highlight timer see it is stale.
  std::vector<TEdge> flipEdges_;
  std::vector<std::pair<TEdge, TEdge>> flipsDone_;
  int flipGeneration_ = 0;
  // The file the document was last opened from or saved to: the title names it, and its "*"
  // says that the document differs from it.
  std::shared_ptr<const TArchivoAbierto> file_;
  bool recording_ = false;  // a change is being recorded; nested ones are part of it
  bool dragOpen_ = false;   // a press of the move tool awaits its release
  TAjustes dragBefore_;
  // Executions in progress: above 0 only while a run waits in its modal dialog, during which
  // window events (a resize) must not start another one.
  int runDepth_ = 0;
  // When a run may show the triangulation chooser: only Execute asks always; an edit asks when
  // it changed what the last choice applies to (its size); every other run reuses the choice.
  enum class TPregunta { Nunca, SiCambia, Siempre };
  TPregunta ask_ = TPregunta::Nunca;
  // Sets when runs may ask for the life of a scope.
  class TAsk {
   public:
    TAsk(TPregunta& ask, TPregunta value) : ask_(ask), before_(ask) { ask_ = value; }
    ~TAsk() { ask_ = before_; }
    TAsk(const TAsk&) = delete;
    TAsk& operator=(const TAsk&) = delete;

   private:
    TPregunta& ask_;
    TPregunta before_;
  };
  // Whether this run shows the chooser for a triangulation of n vertices; when it does not and
  // the last choice has another size, the chooser's first triangulation (the fan) serves.
  bool MayAsk(int n);
  // The result on show as its run (or the last flip) left it; stale once the points or the
  // method differ from the ones it was made for.
  struct TResultado {
    bool Made = false;
    TMethod Method = TMethod::NoMethod;
    TNube Points;
    TPTCapas Layers;                     // a convex-layers result, else empty
    std::optional<TStatistics> Figures;  // computed when statistics are on
    QString Row;                         // its row in the compare panel
  };
  TResultado result_;
  // The text a result last wrote into status panel 0: once that result is gone, the panel no
  // longer says it.
  QString resultText_;
  // The flipped result's points and the edges of the result before its first flip: a re-run
  // that gives the same edges on the same points gets the flips back.
  TNube flipPoints_;
  std::vector<TEdge> flipBase_;
  // The press position of the point a drag holds: a release where the method refuses the
  // point puts it back there.
  TPoint dragStart_{0, 0};
  // The refusal standing while a dragged point sits where the method refuses it, and the text
  // panel 0 showed before it.
  QString dragRefusal_;
  QString dragStatus_;
  std::array<QLabel*, 6> statCaptions_{};
  std::array<QString, kStatusPanels> statusTexts_{};
  void ShowStatusText(int panel);
};

}  // namespace qv
