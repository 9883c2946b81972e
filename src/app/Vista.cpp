#include "app/Vista.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace qv {

TPoint TVista::ScreenToPoint(QPointF s) const {
  const QPointF d = ScreenToDoc(s);
  constexpr double kLo = std::numeric_limits<int32_t>::min();
  constexpr double kHi = std::numeric_limits<int32_t>::max();
  // Halves round away from zero, as Qt rounds an event position to a pixel.
  auto round = [&](double v) { return static_cast<int32_t>(std::clamp(std::round(v), kLo, kHi)); };
  return TPoint{round(d.x()), round(d.y())};
}

QRectF TVista::VisibleDoc(QSizeF screen) const {
  const QPointF a = ScreenToDoc(QPointF(0, 0));
  const QPointF b = ScreenToDoc(QPointF(screen.width(), screen.height()));
  return QRectF(a, b).normalized();
}

void TVista::ZoomAt(QPointF screen, double factor) {
  if (!(factor > 0.0) || !std::isfinite(factor)) return;
  const QPointF anchor = ScreenToDoc(screen);
  Scale = std::clamp(Scale * factor, kMinScale, kMaxScale);
  X = screen.x() - anchor.x() * Scale;
  Y = screen.y() - anchor.y() * Scale;
}

TVista TVista::Fit(const QRectF& box, QSizeF viewport, double margin) {
  TVista v;
  const double w = std::max(viewport.width() - 2 * margin, 1.0);
  const double h = std::max(viewport.height() - 2 * margin, 1.0);
  if (box.width() > 0.0 || box.height() > 0.0) {
    const double sx = box.width() > 0.0 ? w / box.width() : kMaxScale;
    const double sy = box.height() > 0.0 ? h / box.height() : kMaxScale;
    v.Scale = std::clamp(std::min(sx, sy), kMinScale, kMaxScale);
  }
  const QPointF centre = box.center();
  v.X = viewport.width() / 2 - centre.x() * v.Scale;
  v.Y = viewport.height() / 2 - centre.y() * v.Scale;
  return v;
}

QRectF PointsBox(const TNube& points) {
  if (points.empty()) return QRectF();
  double x0 = points[0].X, y0 = points[0].Y, x1 = x0, y1 = y0;
  for (const TPoint& p : points) {
    x0 = std::min<double>(x0, p.X);
    y0 = std::min<double>(y0, p.Y);
    x1 = std::max<double>(x1, p.X);
    y1 = std::max<double>(y1, p.Y);
  }
  return QRectF(QPointF(x0, y0), QPointF(x1, y1));
}

}  // namespace qv
