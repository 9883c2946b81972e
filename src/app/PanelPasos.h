// The Steps panel: a dock that plays back how the method built the result on show, one step at
// a time, with a timeline, Play/Pause, a step back and forward (also the keys , and .), a speed
// and the caption of the step. The panel owns the steps and the frame shown; the window hands
// it the steps of each finished run and, when the frame changes, draws what Frame() describes
// (or the finished result, when the panel shows the end).
#pragma once

#include <QDockWidget>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QString>
#include <QTimer>
#include <functional>
#include <set>
#include <vector>

#include "app/LienzoPasos.h"
#include "methods/Pasos.h"

namespace qv {

class TForm1;

class TPanelPasos : public QDockWidget {
  Q_OBJECT

 public:
  explicit TPanelPasos(QWidget* parent);

  // The steps of a new result; the panel shows the end (the finished result). Playback stops.
  void SetSteps(std::vector<TStep> steps);
  // No result on show: no steps.
  void Clear();
  int StepCount() const { return static_cast<int>(steps_.size()); }
  // The step shown, 0 .. StepCount() - 1 (the last one is the end).
  int Shown() const { return shown_; }
  // True when the finished result is what to draw: at the last step, or with no steps.
  bool ShowsEnd() const { return shown_ + 1 >= StepCount(); }
  // Shows step k (clamped); emits FrameChanged when that changes what is shown.
  void ShowStep(int k);
  // What the canvas shows at step k: the edges after it and its changes.
  TStepFrame Frame(int k) const;
  TStepFrame Frame() const { return Frame(shown_); }
  // The caption of the step shown ("" with no steps).
  QString Caption() const;
  bool Playing() const { return timer_.isActive(); }

  void PlayClick();
  // A step back or forward pauses the playback.
  void BackClick();
  void ForwardClick();
  // Saves the frame shown as a PNG; "Save all frames" one PNG per step, named after the chosen
  // file with the step number (name_001.png, ...). A file that cannot be written fails with a
  // message naming it; frames written before stay.
  void SaveImageClick();
  void SaveFramesClick();

  // Set by the window: renders step k's frame as an image of the canvas size, runs a handler
  // under the window's error handling, asks for a file name to save under.
  std::function<QImage(int k)> RenderFrame;
  std::function<void(const std::function<void()>&)> Guard;
  std::function<QString()> AskImageName;

  QSlider* Linea = nullptr;
  QPushButton* BotonAtras = nullptr;
  QPushButton* BotonReproducir = nullptr;
  QPushButton* BotonAdelante = nullptr;
  QSpinBox* Velocidad = nullptr;  // steps per second
  QLabel* Contador = nullptr;     // "Step k of n"
  QLabel* Texto = nullptr;        // the caption
  // While a frame before the end is drawn, the window's status text shows its caption: the
  // text it showed before, and the caption put in its place (restored on the way back).
  QString StatusBefore;
  QString StatusShown;

  QPushButton* BotonGuardar = nullptr;
  QPushButton* BotonGuardarTodo = nullptr;

 signals:
  void FrameChanged();

 private:
  void Pause();
  void Tick();
  void ShowControls();
  // Brings the cached edge set to the state after step k.
  void Replay(int k) const;

  std::vector<TStep> steps_;
  int shown_ = -1;
  QTimer timer_;
  // The edges after step cachedStep_ (replayed forward from there, from scratch going back).
  mutable std::set<TEdge> cached_;
  mutable int cachedStep_ = -1;
};

// Creates the panel, closed, docked at the bottom of the window, and its entry in the "View"
// menu.
TPanelPasos* InstallStepsPanel(TForm1& form);

}  // namespace qv
