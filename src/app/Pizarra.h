// The canvas control: shows the drawing surface and reports mouse events in document
// coordinates, through the view it shows. The gestures that move the view (wheel, a drag with
// the middle button or with the left one while Space is held, the arrow keys) are reported as
// such and never reach the editing handlers.
#pragma once

#include <QImage>
#include <QWidget>
#include <memory>

#include "app/Lienzo.h"
#include "app/Vista.h"

namespace qv {

class TPizarra : public QWidget {
  Q_OBJECT

 public:
  // A white surface of the given size in screen pixels, drawn with ratio device pixels to each
  // (0: the screen's own ratio).
  TPizarra(QWidget* parent, int width, int height, double ratio = 0.0);

  TCanvas& Canvas() { return *canvas_; }
  // The surface as it stands, with pending drawing finished; device pixels.
  const QImage& Surface();
  double Ratio() const { return ratio_; }
  // The view drawn and read by the mouse; the canvas draws it at the device ratio.
  void SetView(const TVista& view);
  const TVista& View() const { return view_; }

 signals:
  void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
  void MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int x, int y);
  void MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
  // Zoom by factor around a screen position.
  void Zoom(QPointF at, double factor);
  // Move the view by (dx, dy) screen pixels.
  void Pan(double dx, double dy);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  TPoint DocumentPoint(const QMouseEvent* event) const;

  double ratio_ = 1.0;
  QImage surface_;
  std::unique_ptr<TCanvas> canvas_;
  TVista view_;
  bool spaceHeld_ = false;
  // A drag that moves the view: the button that holds it, and where the mouse was.
  Qt::MouseButton panButton_ = Qt::NoButton;
  QPointF panFrom_;
};

}  // namespace qv
