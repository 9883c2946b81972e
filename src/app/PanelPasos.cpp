#include "app/PanelPasos.h"

#include <QHBoxLayout>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QVBoxLayout>
#include <algorithm>

#include "app/Principal.h"
#include "geometry/UserError.h"

namespace qv {

TPanelPasos::TPanelPasos(QWidget* parent) : QDockWidget(QStringLiteral("Steps"), parent) {
  setObjectName(QStringLiteral("PanelPasos"));
  auto* body = new QWidget(this);
  auto* column = new QVBoxLayout(body);
  auto* controls = new QHBoxLayout();
  BotonAtras = new QPushButton(QStringLiteral("<"), body);
  BotonReproducir = new QPushButton(QStringLiteral("Play"), body);
  BotonAdelante = new QPushButton(QStringLiteral(">"), body);
  BotonAtras->setToolTip(QStringLiteral("Step back (,)"));
  BotonAdelante->setToolTip(QStringLiteral("Step forward (.)"));
  Linea = new QSlider(Qt::Horizontal, body);
  Linea->setObjectName(QStringLiteral("LineaPasos"));
  Velocidad = new QSpinBox(body);
  Velocidad->setRange(1, 60);
  Velocidad->setValue(4);
  Velocidad->setSuffix(QStringLiteral(" steps/s"));
  Contador = new QLabel(body);
  BotonGuardar = new QPushButton(QStringLiteral("Save image"), body);
  BotonGuardarTodo = new QPushButton(QStringLiteral("Save all frames"), body);
  for (QWidget* w : std::initializer_list<QWidget*>{BotonAtras, BotonReproducir, BotonAdelante})
    controls->addWidget(w);
  controls->addWidget(Linea, 1);
  for (QWidget* w :
       std::initializer_list<QWidget*>{Contador, Velocidad, BotonGuardar, BotonGuardarTodo})
    controls->addWidget(w);
  Texto = new QLabel(body);
  Texto->setWordWrap(true);
  Texto->setTextInteractionFlags(Qt::TextSelectableByMouse);
  column->addLayout(controls);
  column->addWidget(Texto);
  setWidget(body);

  timer_.setInterval(1000 / Velocidad->value());
  connect(&timer_, &QTimer::timeout, this, [this] { Tick(); });
  connect(Velocidad, &QSpinBox::valueChanged, this,
          [this](int perSecond) { timer_.setInterval(1000 / std::max(1, perSecond)); });
  connect(Linea, &QSlider::valueChanged, this, [this](int k) {
    if (k != shown_) ShowStep(k);
  });
  connect(BotonReproducir, &QPushButton::clicked, this, [this] { PlayClick(); });
  connect(BotonAtras, &QPushButton::clicked, this, [this] { BackClick(); });
  connect(BotonAdelante, &QPushButton::clicked, this, [this] { ForwardClick(); });
  const auto guarded = [this](void (TPanelPasos::*handler)()) {
    return [this, handler] {
      if (Guard)
        Guard([this, handler] { (this->*handler)(); });
      else
        (this->*handler)();
    };
  };
  connect(BotonGuardar, &QPushButton::clicked, this, guarded(&TPanelPasos::SaveImageClick));
  connect(BotonGuardarTodo, &QPushButton::clicked, this, guarded(&TPanelPasos::SaveFramesClick));
  // The keys act in the whole window while the panel is open; a text field keeps its own.
  auto* back = new QShortcut(QKeySequence(Qt::Key_Comma), this);
  auto* forward = new QShortcut(QKeySequence(Qt::Key_Period), this);
  back->setContext(Qt::WindowShortcut);
  forward->setContext(Qt::WindowShortcut);
  connect(back, &QShortcut::activated, this, [this] { BackClick(); });
  connect(forward, &QShortcut::activated, this, [this] { ForwardClick(); });
  ShowControls();
}

void TPanelPasos::SetSteps(std::vector<TStep> steps) {
  Pause();
  steps_ = std::move(steps);
  cached_.clear();
  cachedStep_ = -1;
  shown_ = StepCount() - 1;
  ShowControls();
}

void TPanelPasos::Clear() {
  SetSteps({});
}

void TPanelPasos::ShowStep(int k) {
  k = std::clamp(k, 0, std::max(0, StepCount() - 1));
  if (StepCount() == 0 || k == shown_) return;
  shown_ = k;
  ShowControls();
  emit FrameChanged();
}

void TPanelPasos::Replay(int k) const {
  if (k < cachedStep_) {
    cached_.clear();
    cachedStep_ = -1;
  }
  for (; cachedStep_ < k; ++cachedStep_) {
    const TStep& s = steps_[static_cast<size_t>(cachedStep_ + 1)];
    for (const TEdge& e : s.Remove) cached_.erase(e);
    for (const TEdge& e : s.Add) cached_.insert(e);
  }
}

TStepFrame TPanelPasos::Frame(int k) const {
  TStepFrame frame;
  if (k < 0 || k >= StepCount()) return frame;
  Replay(k);
  const TStep& s = steps_[static_cast<size_t>(k)];
  frame.Edges.assign(cached_.begin(), cached_.end());
  frame.Added = s.Add;
  frame.Removed = s.Remove;
  frame.Marked = s.Points;
  return frame;
}

QString TPanelPasos::Caption() const {
  if (shown_ < 0 || shown_ >= StepCount()) return QString();
  return QString::fromStdString(StepText(steps_[static_cast<size_t>(shown_)]));
}

void TPanelPasos::PlayClick() {
  if (Playing()) {
    Pause();
    return;
  }
  if (StepCount() == 0) return;
  if (ShowsEnd()) ShowStep(0);  // from the start again
  timer_.start();
  ShowControls();
}

void TPanelPasos::BackClick() {
  Pause();
  ShowStep(shown_ - 1);
}

void TPanelPasos::ForwardClick() {
  Pause();
  ShowStep(shown_ + 1);
}

void TPanelPasos::Pause() {
  timer_.stop();
  ShowControls();
}

void TPanelPasos::Tick() {
  ShowStep(shown_ + 1);
  if (ShowsEnd()) Pause();
}

void TPanelPasos::ShowControls() {
  const bool any = StepCount() > 0;
  const QSignalBlocker quiet(Linea);
  Linea->setRange(0, std::max(0, StepCount() - 1));
  Linea->setValue(std::max(0, shown_));
  for (QWidget* w : std::initializer_list<QWidget*>{Linea, BotonAtras, BotonReproducir,
                                                    BotonAdelante, BotonGuardar, BotonGuardarTodo})
    w->setEnabled(any);
  BotonReproducir->setText(Playing() ? QStringLiteral("Pause") : QStringLiteral("Play"));
  Contador->setText(any ? QStringLiteral("Step %1 of %2").arg(shown_ + 1).arg(StepCount())
                        : QString());
  Texto->setText(any ? Caption() : QStringLiteral("Run a method to watch it build its result."));
}

namespace {

void SaveImage(const QImage& image, const QString& name) {
  if (image.isNull() || !image.save(name, "PNG"))
    throw UserError("Cannot write '" + name.toStdString() + "'.");
}

// name_001.png, name_002.png, ... beside the chosen name, the width fitting the count.
QString FrameName(const QString& chosen, int k, int count) {
  QString base = chosen;
  if (base.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive)) base.chop(4);
  const int width = std::max(3, static_cast<int>(QString::number(count).size()));
  return base + QStringLiteral("_%1.png").arg(k + 1, width, 10, QLatin1Char('0'));
}

}  // namespace

void TPanelPasos::SaveImageClick() {
  if (StepCount() == 0 || !RenderFrame || !AskImageName) return;
  const QString name = AskImageName();
  if (name.isEmpty()) return;
  SaveImage(RenderFrame(shown_), name);
}

void TPanelPasos::SaveFramesClick() {
  if (StepCount() == 0 || !RenderFrame || !AskImageName) return;
  Pause();
  const QString name = AskImageName();
  if (name.isEmpty()) return;
  for (int k = 0; k < StepCount(); ++k) SaveImage(RenderFrame(k), FrameName(name, k, StepCount()));
}

TPanelPasos* InstallStepsPanel(TForm1& form) {
  auto* panel = new TPanelPasos(&form);
  form.addDockWidget(Qt::BottomDockWidgetArea, panel);
  panel->hide();
  QAction* entry = panel->toggleViewAction();
  entry->setObjectName(QStringLiteral("VPasos"));
  QMenu* view = nullptr;
  for (QAction* a : form.menuBar()->actions())
    if (a->menu() != nullptr && a->text() == QStringLiteral("View")) view = a->menu();
  if (view == nullptr) {
    view = new QMenu(QStringLiteral("View"), &form);
    form.menuBar()->insertMenu(form.About1, view);
  }
  view->addAction(entry);
  return panel;
}

}  // namespace qv
