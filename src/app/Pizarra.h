// The canvas control: shows the drawing surface and reports mouse events in canvas pixels.
#pragma once

#include <QImage>
#include <QWidget>
#include <memory>

#include "app/Lienzo.h"

namespace qv {

class TPizarra : public QWidget {
  Q_OBJECT

 public:
  // A white surface of the given size.
  TPizarra(QWidget* parent, int width, int height);

  TCanvas& Canvas() { return *canvas_; }
  // The surface as it stands, with pending drawing finished.
  const QImage& Surface();

 signals:
  void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
  void MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int x, int y);
  void MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QImage surface_;
  std::unique_ptr<TCanvas> canvas_;
};

}  // namespace qv
