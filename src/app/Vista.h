// The view: the one mapping between document coordinates and the screen. A document point p
// shows at p * Scale + (X, Y) in screen pixels; the device draws Ratio pixels per screen pixel
// (2 on a high-density screen). At Scale 1, origin (0, 0) and Ratio 1 the screen is the
// document, pixel for pixel. The document itself never changes with the view.
#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include "geometry/Tipos.h"

namespace qv {

struct TVista {
  // Zoom limits: far enough out that the whole 32-bit plane fits in a few hundred pixels, far
  // enough in that one document unit spans many pixels.
  static constexpr double kMinScale = 1.0 / (1 << 23);
  static constexpr double kMaxScale = 64.0;
  // Screen pixels left around fitted points.
  static constexpr double kFitMargin = 20.0;

  double Scale = 1.0;  // screen pixels per document unit
  double X = 0.0;      // screen position of the document origin
  double Y = 0.0;
  double Ratio = 1.0;  // device pixels per screen pixel

  // 1:1 at the origin, on a device of the same density as the screen.
  bool OneToOne() const { return Scale == 1.0 && X == 0.0 && Y == 0.0; }
  // Draws the document unchanged into the device's pixels.
  bool Identity() const { return OneToOne() && Ratio == 1.0; }

  QPointF DocToScreen(QPointF p) const { return {p.x() * Scale + X, p.y() * Scale + Y}; }
  QPointF ScreenToDoc(QPointF s) const { return {(s.x() - X) / Scale, (s.y() - Y) / Scale}; }
  QPointF DocToDevice(QPointF p) const { return DocToScreen(p) * Ratio; }
  // The document point under a screen position, rounded to the nearest and kept in 32 bits.
  TPoint ScreenToPoint(QPointF s) const;
  // Document units spanned by the given number of screen pixels.
  double DocLength(double pixels) const { return pixels / Scale; }
  // The document rectangle the screen rectangle (0, 0) .. size shows.
  QRectF VisibleDoc(QSizeF screen) const;

  // Zooms by factor (clamped to the limits) keeping the document point under screen fixed.
  void ZoomAt(QPointF screen, double factor);
  void Pan(double dx, double dy) {
    X += dx;
    Y += dy;
  }
  // The view that shows the document box centred in a viewport of the given size, with at
  // least margin screen pixels around it; a box of no extent keeps the scale at 1.
  static TVista Fit(const QRectF& box, QSizeF viewport, double margin);
};

// The smallest rectangle holding every point (null for no points).
QRectF PointsBox(const TNube& points);

}  // namespace qv
