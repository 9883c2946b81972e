#include "app/Pizarra.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

namespace qv {

TPizarra::TPizarra(QWidget* parent, int width, int height)
    : QWidget(parent), surface_(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32) {
  surface_.fill(Qt::white);
  canvas_ = std::make_unique<TCanvas>(&surface_);
  setObjectName(QStringLiteral("Pizarra"));
  setGeometry(0, 0, surface_.width(), surface_.height());
  setMouseTracking(true);
  // The surface covers the control: nothing underneath needs painting, and the window's
  // backing store makes every repaint double-buffered.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  setCursor(Qt::CrossCursor);
}

const QImage& TPizarra::Surface() {
  return *canvas_->Image();
}

void TPizarra::paintEvent(QPaintEvent* event) {
  const QImage& image = Surface();
  QPainter painter(this);
  painter.drawImage(event->rect().topLeft(), image, event->rect());
}

void TPizarra::mousePressEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  emit MouseDown(event->button(), event->modifiers(), p.x(), p.y());
}

void TPizarra::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  emit MouseMove(event->buttons(), event->modifiers(), p.x(), p.y());
}

void TPizarra::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  emit MouseUp(event->button(), event->modifiers(), p.x(), p.y());
}

}  // namespace qv
