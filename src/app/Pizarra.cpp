#include "app/Pizarra.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace qv {

namespace {

// One notch of the wheel zooms by this factor.
constexpr double kWheelZoom = 1.25;
constexpr double kNotch = 120.0;

}  // namespace

TPizarra::TPizarra(QWidget* parent, int width, int height, double ratio) : QWidget(parent) {
  ratio_ = std::clamp(ratio > 0.0 ? ratio : devicePixelRatioF(), 1.0, 4.0);
  width = std::max(width, 1);
  height = std::max(height, 1);
  surface_ = QImage(static_cast<int>(std::ceil(width * ratio_)),
                    static_cast<int>(std::ceil(height * ratio_)), QImage::Format_RGB32);
  surface_.fill(Qt::white);
  canvas_ = std::make_unique<TCanvas>(&surface_);
  SetView(TVista{});
  setObjectName(QStringLiteral("Pizarra"));
  setGeometry(0, 0, width, height);
  setMouseTracking(true);
  // Clicked, the canvas takes the keys: the arrows and Space move the view.
  setFocusPolicy(Qt::ClickFocus);
  // The surface covers the control: nothing underneath needs painting, and the window's
  // backing store makes every repaint double-buffered.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  setCursor(Qt::CrossCursor);
}

const QImage& TPizarra::Surface() {
  return *canvas_->Image();
}

void TPizarra::SetView(const TVista& view) {
  view_ = view;
  view_.Ratio = 1.0;
  TVista device = view_;
  device.Ratio = ratio_;
  canvas_->SetView(device);
}

void TPizarra::paintEvent(QPaintEvent* event) {
  QImage image = Surface();
  // Device pixels onto device pixels: on a high-density screen the lines stay crisp.
  if (ratio_ != 1.0) image.setDevicePixelRatio(ratio_);
  QPainter painter(this);
  const QRectF target = event->rect();
  painter.drawImage(target, image, QRectF(target.topLeft() * ratio_, target.size() * ratio_));
}

TPoint TPizarra::DocumentPoint(const QMouseEvent* event) const {
  return view_.ScreenToPoint(event->position());
}

void TPizarra::mousePressEvent(QMouseEvent* event) {
  const bool pan =
      event->button() == Qt::MiddleButton || (event->button() == Qt::LeftButton && spaceHeld_);
  if (panButton_ != Qt::NoButton || pan) {
    if (panButton_ == Qt::NoButton) {
      panButton_ = event->button();
      panFrom_ = event->position();
      setCursor(Qt::ClosedHandCursor);
    }
    return;
  }
  const TPoint p = DocumentPoint(event);
  emit MouseDown(event->button(), event->modifiers(), p.X, p.Y);
}

void TPizarra::mouseMoveEvent(QMouseEvent* event) {
  if (panButton_ != Qt::NoButton) {
    const QPointF d = event->position() - panFrom_;
    panFrom_ = event->position();
    if (d != QPointF()) emit Pan(d.x(), d.y());
    return;
  }
  const TPoint p = DocumentPoint(event);
  emit MouseMove(event->buttons(), event->modifiers(), p.X, p.Y);
}

void TPizarra::mouseReleaseEvent(QMouseEvent* event) {
  if (panButton_ != Qt::NoButton) {
    if (event->button() == panButton_) {
      panButton_ = Qt::NoButton;
      setCursor(spaceHeld_ ? Qt::OpenHandCursor : Qt::CrossCursor);
    }
    return;
  }
  const TPoint p = DocumentPoint(event);
  emit MouseUp(event->button(), event->modifiers(), p.X, p.Y);
}

void TPizarra::wheelEvent(QWheelEvent* event) {
  const double notches = event->angleDelta().y() / kNotch;
  if (notches == 0.0) return;
  emit Zoom(event->position(), std::pow(kWheelZoom, notches));
  event->accept();
}

void TPizarra::keyPressEvent(QKeyEvent* event) {
  const double dx = width() / 10.0, dy = height() / 10.0;
  if (event->modifiers() & ~Qt::KeypadModifier) {
    QWidget::keyPressEvent(event);
    return;
  }
  switch (event->key()) {
    case Qt::Key_Space:
      if (!event->isAutoRepeat()) {
        spaceHeld_ = true;
        if (panButton_ == Qt::NoButton) setCursor(Qt::OpenHandCursor);
      }
      break;
    // The view moves the way the arrow points: the drawing goes the other way.
    case Qt::Key_Left:
      emit Pan(dx, 0);
      break;
    case Qt::Key_Right:
      emit Pan(-dx, 0);
      break;
    case Qt::Key_Up:
      emit Pan(0, dy);
      break;
    case Qt::Key_Down:
      emit Pan(0, -dy);
      break;
    default:
      QWidget::keyPressEvent(event);
  }
}

void TPizarra::keyReleaseEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
    spaceHeld_ = false;
    if (panButton_ == Qt::NoButton) setCursor(Qt::CrossCursor);
    return;
  }
  QWidget::keyReleaseEvent(event);
}

void TPizarra::focusOutEvent(QFocusEvent* event) {
  // A release the canvas no longer sees must not leave Space held.
  spaceHeld_ = false;
  if (panButton_ == Qt::NoButton) setCursor(Qt::CrossCursor);
  QWidget::focusOutEvent(event);
}

}  // namespace qv
