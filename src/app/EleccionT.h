// The triangulation chooser TFEleccionT: a modal dialog that shows a triangulation of a convex
// n-gon (vertex 0 green at the top, the others red, counterclockwise as displayed, each with
// its number) and changes it by flips. The choice itself lives in TTriangulationChoice; the
// dialog draws it, wires the buttons to it and carries the three options the shortest-paths
// method reads.
#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <memory>

#include "app/Controles.h"
#include "app/Lienzo.h"
#include "app/Seams.h"
#include "methods/Eleccion.h"

namespace qv {

class TRandom;

// Writes the vertex numbers of S next to its vertices: S's half-edges 0 .. n-1 are the
// counterclockwise boundary of a polygon over points, half-edge k leaving vertex k. The text is
// black whatever the pen; the pen is left as it was.
void DrawVertexLabels(const TNube& points, const TDCEL& s, TCanvas& canvas);

class TFEleccionT : public QDialog, public IChooser {
  Q_OBJECT

 public:
  static constexpr int kSurfaceSize = TTriangulationChoice::kSurfaceSize;

  // random is the application's generator, which "Random" draws from.
  TFEleccionT(QWidget* parent, TRandom& random);
  ~TFEleccionT() override;

  // ----- IChooser
  bool ShowModal(int n) override;
  void SetOptionsEnabled(bool enabled) override;
  TTriangulationChoice& Choice() override { return choice_; }
  bool Labels() const override { return CBnumeros->isChecked(); }
  bool Pockets() const override { return CBbolsillos->isChecked(); }
  bool Monocolor() const override { return CBmonocolor->isChecked(); }

  // The size the next showing asks for (written by ShowModal).
  int Tag = 0;

  // ----- handlers
  void FormCreate();
  void FormShow();
  void BotonAntClick();
  void BotonSigClick();
  void BotonRandomClick();
  void CBbolsillosClick();
  void CBmonocolorClick();
  void TrackBar1Change();

  // The drawing surface as it stands.
  const QImage& Surface() const { return surface_; }

  // ----- controls
  QFrame* Panel1 = nullptr;
  TImageView* Image1 = nullptr;  // shows the surface inside Panel1
  QPushButton* BotonAnt = nullptr;
  QPushButton* BotonRandom = nullptr;
  QPushButton* BotonSig = nullptr;
  QPushButton* BotonOK = nullptr;
  QCheckBox* CBnumeros = nullptr;
  QCheckBox* CBbolsillos = nullptr;
  QCheckBox* CBmonocolor = nullptr;
  QLabel* LTransparencia = nullptr;
  QSlider* TrackBar1 = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void ClearSurface();
  void DrawTriangulation();
  QColor ButtonFace() const;

  TRandom& random_;
  TTriangulationChoice choice_;
  QImage surface_;
  std::unique_ptr<TCanvas> canvas_;
};

}  // namespace qv
