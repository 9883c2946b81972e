#include "app/EleccionT.h"

#include <QShowEvent>

#include "methods/Aleatorio.h"

namespace qv {

void DrawVertexLabels(const TNube& points, const TDCEL& s, TCanvas& canvas) {
  const QColor pen = canvas.PenColor();
  canvas.SetPenColor(Qt::black);
  for (const TVertexLabel& label : VertexLabels(points, s)) {
    canvas.TextAt(label.X, label.Y, QString::fromStdString(label.Text));
  }
  canvas.SetPenColor(pen);
}

TFEleccionT::TFEleccionT(QWidget* parent, TRandom& random) : QDialog(parent), random_(random) {
  setObjectName(QStringLiteral("FEleccionT"));
  setWindowTitle(QStringLiteral("Choose Triangulation"));
  setFixedSize(496, 420);

  Panel1 = new QFrame(this);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setFrameStyle(QFrame::Box | QFrame::Plain);
  Panel1->setGeometry(8, 8, kSurfaceSize + 2, kSurfaceSize + 2);
  Image1 = new TImageView(Panel1, &surface_);
  Image1->setObjectName(QStringLiteral("Image1"));

  auto button = [this](const char* name, const QString& text, QRect geometry) {
    auto* b = new QPushButton(text, this);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(geometry);
    b->setAutoDefault(false);
    return b;
  };
  BotonAnt = button("BotonAnt", QStringLiteral("Prev"), QRect(8, 382, 80, 28));
  BotonRandom = button("BotonRandom", QStringLiteral("Random"), QRect(149, 382, 80, 28));
  BotonSig = button("BotonSig", QStringLiteral("Next"), QRect(290, 382, 80, 28));
  BotonOK = button("BotonOK", QStringLiteral("OK"), QRect(386, 382, 100, 28));
  BotonOK->setDefault(true);

  auto box = [this](const char* name, const QString& text, int top, bool checked) {
    auto* b = new QCheckBox(text, this);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(386, top, 104, 22);
    b->setChecked(checked);
    return b;
  };
  CBnumeros = box("CBnumeros", QStringLiteral("Labels"), 12, true);
  CBbolsillos = box("CBbolsillos", QStringLiteral("Pockets"), 38, false);
  CBmonocolor = box("CBmonocolor", QStringLiteral("Monocolor"), 64, false);

  LTransparencia = new QLabel(QStringLiteral("Transparency:"), this);
  LTransparencia->setObjectName(QStringLiteral("LTransparencia"));
  LTransparencia->setGeometry(386, 310, 104, 18);
  TrackBar1 = new QSlider(Qt::Horizontal, this);
  TrackBar1->setObjectName(QStringLiteral("TrackBar1"));
  TrackBar1->setGeometry(386, 330, 100, 26);
  TrackBar1->setRange(100, 255);
  TrackBar1->setValue(255);

  connect(BotonAnt, &QPushButton::clicked, this, [this] { BotonAntClick(); });
  connect(BotonSig, &QPushButton::clicked, this, [this] { BotonSigClick(); });
  connect(BotonRandom, &QPushButton::clicked, this, [this] { BotonRandomClick(); });
  connect(BotonOK, &QPushButton::clicked, this, &QDialog::accept);
  // Programmatic changes of the boxes run their click handling too.
  connect(CBbolsillos, &QCheckBox::toggled, this, [this] { CBbolsillosClick(); });
  connect(CBmonocolor, &QCheckBox::toggled, this, [this] { CBmonocolorClick(); });
  connect(TrackBar1, &QSlider::valueChanged, this, [this] { TrackBar1Change(); });
  FormCreate();
}

TFEleccionT::~TFEleccionT() = default;

void TFEleccionT::FormCreate() {
  surface_ = QImage(kSurfaceSize, kSurfaceSize, QImage::Format_RGB32);
  canvas_ = std::make_unique<TCanvas>(&surface_);
  Image1->setGeometry(1, 1, kSurfaceSize, kSurfaceSize);
  ClearSurface();
  canvas_->Flush();
  choice_.Recompute = true;
}

bool TFEleccionT::ShowModal(int n) {
  Tag = n;
  return exec() == QDialog::Accepted;
}

void TFEleccionT::SetOptionsEnabled(bool enabled) {
  for (QCheckBox* b : {CBnumeros, CBbolsillos, CBmonocolor}) b->setEnabled(enabled);
}

void TFEleccionT::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TFEleccionT::FormShow() {
  // The same size shows the last choice again, drawing and flip position included.
  if (!choice_.Prepare(Tag)) return;
  ClearSurface();
  DrawTriangulation();
}

void TFEleccionT::BotonAntClick() {
  ClearSurface();
  choice_.Prev();
  DrawTriangulation();
}

void TFEleccionT::BotonSigClick() {
  ClearSurface();
  choice_.Next();
  DrawTriangulation();
}

void TFEleccionT::BotonRandomClick() {
  ClearSurface();
  choice_.RandomFlips(random_);
  DrawTriangulation();
}

void TFEleccionT::CBbolsillosClick() {
  if (!CBbolsillos->isChecked()) CBmonocolor->setChecked(false);
  choice_.Recompute = true;
}

void TFEleccionT::CBmonocolorClick() {
  CBbolsillos->setChecked(CBbolsillos->isChecked() || CBmonocolor->isChecked());
}

void TFEleccionT::TrackBar1Change() {
  setWindowOpacity(TrackBar1->value() / 255.0);
}

QColor TFEleccionT::ButtonFace() const {
  return palette().color(QPalette::Button);
}

void TFEleccionT::ClearSurface() {
  canvas_->SetBrushColor(ButtonFace());
  canvas_->FillRect(0, 0, kSurfaceSize, kSurfaceSize);
}

void TFEleccionT::DrawTriangulation() {
  const TDCEL& t = choice_.Triangulation();
  const TNube& polygon = choice_.Polygon();
  TCanvas& c = *canvas_;
  c.SetPenColor(Qt::black);
  c.SetPenWidth(1);
  for (int f = 0; f < t.FaceCount(); ++f) {
    const int first = t.FaceEdge(f);
    if (first == kNone) continue;
    c.MoveTo(polygon[t.Origin(first)].X, polygon[t.Origin(first)].Y);
    int e = first;
    for (int steps = 0; steps < t.HalfEdgeCount(); ++steps) {
      e = t.Next(e);
      c.LineTo(polygon[t.Origin(e)].X, polygon[t.Origin(e)].Y);
      if (e == first) break;
    }
  }
  for (int v = 0; v < static_cast<int>(polygon.size()); ++v) {
    c.SetBrushColor(v == 0 ? QColor(0, 128, 0) : QColor(255, 0, 0));
    const TPoint p = polygon[v];
    c.Ellipse(p.X - 3, p.Y - 3, p.X + 3, p.Y + 3);
  }
  c.SetBrushColor(ButtonFace());
  DrawVertexLabels(polygon, t, c);
  c.Flush();
  Image1->update();
}

}  // namespace qv
