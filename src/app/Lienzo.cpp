#include "app/Lienzo.h"

#include <QPen>
#include <QPolygonF>
#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "geometry/FuncionesMatematicas.h"
#include "geometry/UserError.h"
#include "methods/Ejecucion.h"

namespace qv {

// ---------------------------------------------------------------------------------------------
// Pen styles

void TPenStyles::SetDefaults() {
  const QColor black(0, 0, 0), red(255, 0, 0), green(0, 128, 0), lime(0, 255, 0);
  styles_ = {TPenStyle{black, 1}, TPenStyle{black, 1}, TPenStyle{red, 1}, TPenStyle{green, 1},
             TPenStyle{red, 1},   TPenStyle{red, 1},   TPenStyle{lime, 1}};
}

TPenStyle& TPenStyles::operator[](int index) {
  assert(index >= 1 && index <= kCount);
  return styles_[static_cast<size_t>(std::clamp(index, 1, kCount) - 1)];
}

const TPenStyle& TPenStyles::operator[](int index) const {
  assert(index >= 1 && index <= kCount);
  return styles_[static_cast<size_t>(std::clamp(index, 1, kCount) - 1)];
}

// ---------------------------------------------------------------------------------------------
// Canvas

TCanvas::TCanvas(QImage* image)
    : device_(image), image_(image), width_(image->width()), height_(image->height()) {}

TCanvas::TCanvas(QPaintDevice* device, int width, int height)
    : device_(device), image_(nullptr), width_(width), height_(height) {}

TCanvas::~TCanvas() {
  if (painter_) painter_->end();
}

QPainter& TCanvas::Painter() {
  if (!painter_) {
    painter_ = std::make_unique<QPainter>(device_);
    painter_->setRenderHint(QPainter::Antialiasing, false);
    ApplyPen();
    painter_->setBrush(brushColor_);
  }
  return *painter_;
}

void TCanvas::ApplyPen() {
  if (!painter_) return;
  // A one-pixel line leaves out its last pixel, as the next segment of a chain starts there;
  // wider lines get round ends so that the segments of a chain join without notches.
  const Qt::PenCapStyle cap = penWidth_ <= 1 ? Qt::FlatCap : Qt::RoundCap;
  painter_->setPen(QPen(penColor_, std::max(1, penWidth_), Qt::SolidLine, cap, Qt::RoundJoin));
}

void TCanvas::SetPenColor(const QColor& color) {
  if (color == penColor_) return;
  penColor_ = color;
  ApplyPen();
}

void TCanvas::SetPenWidth(int width) {
  width = std::max(1, width);
  if (width == penWidth_) return;
  penWidth_ = width;
  ApplyPen();
}

void TCanvas::SetBrushColor(const QColor& color) {
  if (color == brushColor_) return;
  brushColor_ = color;
  if (painter_) painter_->setBrush(brushColor_);
}

void TCanvas::MoveTo(int x, int y) {
  penPos_ = TPoint{x, y};
}

namespace {

// Outlines run through pixel centres: pixel (x, y) covers [x, x + 1) x [y, y + 1).
constexpr double kHalf = 0.5;

// Clips the segment a-b to the rectangle [x0, x1] x [y0, y1] (Liang-Barsky). Returns false
// when nothing of it is inside. Keeps huge coordinates away from the paint engine.
bool ClipSegment(double& ax, double& ay, double& bx, double& by, double x0, double y0, double x1,
                 double y1) {
  const double dx = bx - ax, dy = by - ay;
  double t0 = 0.0, t1 = 1.0;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {ax - x0, x1 - ax, ay - y0, y1 - ay};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0.0) {
      if (q[i] < 0.0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0.0) {
      t0 = std::max(t0, t);
    } else {
      t1 = std::min(t1, t);
    }
    if (t0 > t1) return false;
  }
  const double sx = ax, sy = ay;
  ax = sx + t0 * dx;
  ay = sy + t0 * dy;
  bx = sx + t1 * dx;
  by = sy + t1 * dy;
  return true;
}

}  // namespace

void TCanvas::LineTo(int x, int y) {
  const TPoint from = penPos_;
  penPos_ = TPoint{x, y};
  if (from == penPos_) return;
  const int margin = penWidth_ + 2;
  const bool inside = std::min(from.X, x) >= -margin && std::max(from.X, x) <= width_ + margin &&
                      std::min(from.Y, y) >= -margin && std::max(from.Y, y) <= height_ + margin;
  double ax = from.X, ay = from.Y, bx = x, by = y;
  if (inside || ClipSegment(ax, ay, bx, by, -margin, -margin, width_ + margin, height_ + margin)) {
    // A one-pixel line on integer coordinates covers its start pixel and leaves out its last;
    // a wider one is centred on the pixel centres so that it grows evenly on both sides.
    const double o = penWidth_ <= 1 ? 0.0 : kHalf;
    Painter().drawLine(QLineF(ax + o, ay + o, bx + o, by + o));
  }
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  if (x2 - x1 < 1 || y2 - y1 < 1) return;
  const int margin = penWidth_ + 2;
  if (x2 < -margin || x1 > width_ + margin || y2 < -margin || y1 > height_ + margin) return;
  // The outline runs through the centres of the box's outer pixels (the right and bottom
  // bounds excluded), so that a wider pen grows it evenly on both sides.
  Painter().drawEllipse(QRectF(x1 + kHalf, y1 + kHalf, x2 - x1 - 1, y2 - y1 - 1));
}

void TCanvas::Polygon(const std::vector<QPoint>& vertices) {
  if (vertices.empty()) return;
  QPolygonF centred;
  for (const QPoint& v : vertices) centred << QPointF(v.x() + kHalf, v.y() + kHalf);
  Painter().drawPolygon(centred);
}

void TCanvas::FillRect(int x1, int y1, int x2, int y2) {
  const int left = std::max(x1, 0), top = std::max(y1, 0);
  const int right = std::min(x2, width_), bottom = std::min(y2, height_);
  if (right <= left || bottom <= top) return;
  Painter().fillRect(QRect(left, top, right - left, bottom - top), brushColor_);
}

void TCanvas::FloodFill(int x, int y, const QColor& border) {
  if (image_ == nullptr || x < 0 || y < 0 || x >= width_ || y >= height_) return;
  Flush();
  QImage& img = *image_;
  const QRgb stop = border.rgb() & 0xFFFFFFu;
  const QRgb fill = brushColor_.rgb();
  auto open = [&](int px, int py) {
    const QRgb c = img.pixel(px, py);
    return (c & 0xFFFFFFu) != stop && c != fill;
  };
  if (!open(x, y)) return;
  // Span fill: every pixel is pushed at most once per neighbouring row, so the work is
  // bounded by a few times the image size.
  std::vector<QPoint> stack{QPoint(x, y)};
  while (!stack.empty()) {
    const QPoint seed = stack.back();
    stack.pop_back();
    if (!open(seed.x(), seed.y())) continue;
    int left = seed.x(), right = seed.x();
    while (left > 0 && open(left - 1, seed.y())) --left;
    while (right + 1 < width_ && open(right + 1, seed.y())) ++right;
    for (int px = left; px <= right; ++px) img.setPixel(px, seed.y(), fill);
    for (int row : {seed.y() - 1, seed.y() + 1}) {
      if (row < 0 || row >= height_) continue;
      bool inRun = false;
      for (int px = left; px <= right; ++px) {
        const bool o = open(px, row);
        if (o && !inRun) stack.emplace_back(px, row);
        inRun = o;
      }
    }
  }
}

void TCanvas::Draw(int x, int y, const QImage& bitmap) {
  if (bitmap.isNull()) return;
  QPainter& p = Painter();
  p.setCompositionMode(QPainter::CompositionMode_Source);
  p.drawImage(x, y, bitmap);
  p.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void TCanvas::DrawAnd(int x, int y, const QImage& bitmap) {
  if (bitmap.isNull() || image_ == nullptr) return;
  QPainter& p = Painter();
  p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
  p.drawImage(x, y, bitmap);
  p.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void TCanvas::TextOut(int x, int y, const QString& text) {
  QPainter& p = Painter();
  p.drawText(QRect(x, y, width_ + 1, height_ + 1), Qt::AlignLeft | Qt::AlignTop, text);
}

QColor TCanvas::Pixel(int x, int y) {
  if (image_ == nullptr || x < 0 || y < 0 || x >= width_ || y >= height_) return QColor();
  Flush();
  return image_->pixelColor(x, y);
}

void TCanvas::Flush() {
  // A vector device writes its document when painting ends: keep its painter to the end.
  if (image_ != nullptr && painter_) {
    painter_->end();
    painter_.reset();
  }
}

const QImage* TCanvas::Image() {
  Flush();
  return image_;
}

// ---------------------------------------------------------------------------------------------
// Compass

namespace {

constexpr int kCompassSize = 30;

double Radians(double degrees) {
  return degrees * std::numbers::pi / 180.0;
}
double RoundTo10Places(double v) {
  return std::round(v * 1e10) / 1e10;
}
// Nearest integer, ties to even.
int RoundEven(double v) {
  return static_cast<int>(std::nearbyint(v));
}

}  // namespace

QPoint CompassFillStart(int angle) {
  return angle <= 180 ? QPoint(15, 14) : QPoint(15, 16);
}

void DrawCompass(QImage& compass, int angle, double& dirX, double& dirY) {
  if (compass.width() != kCompassSize || compass.height() != kCompassSize) {
    compass = QImage(kCompassSize, kCompassSize, QImage::Format_RGB32);
  }
  const double c = RoundTo10Places(std::cos(Radians(angle)));
  const double s = RoundTo10Places(std::sin(Radians(angle)));
  const double c135 = std::cos(Radians(angle + 135)), s135 = std::sin(Radians(angle + 135));
  const double c225 = std::cos(Radians(angle + 225)), s225 = std::sin(Radians(angle + 225));
  {
    TCanvas canvas(&compass);
    canvas.SetBrushColor(Qt::white);
    canvas.FillRect(0, 0, kCompassSize, kCompassSize);
    canvas.SetPenColor(Qt::black);
    canvas.SetPenWidth(1);
    canvas.SetBrushColor(kCompassColor);
    canvas.Ellipse(1, 1, 30, 30);
    // The dart: tip along the angle, two barbs 135 degrees either side, notch at the centre.
    canvas.SetBrushColor(Qt::black);
    canvas.Polygon({QPoint(15 + RoundEven(15 * c), 15 - RoundEven(15 * s)),
                    QPoint(15 + RoundEven(15 * c135), 15 - RoundEven(15 * s135)), QPoint(15, 15),
                    QPoint(15 + RoundEven(15 * c225), 15 - RoundEven(15 * s225))});
    const QPoint start = CompassFillStart(angle);
    canvas.FloodFill(start.x(), start.y(), Qt::black);
  }
  SweepDirectionFromAngle(angle, dirX, dirY);
}

// ---------------------------------------------------------------------------------------------
// Drawing operations

void TDrawing::ClearCanvas() {
  const QColor fill = Canvas.BrushColor();
  Canvas.SetBrushColor(Qt::white);
  Canvas.FillRect(0, 0, Canvas.Width(), Canvas.Height());
  Canvas.SetBrushColor(fill);
  if (Doc.BackgroundLoaded && !Doc.BackgroundBitmap.isNull()) {
    // Centred; the quotients truncate toward zero, also for an image larger than the canvas.
    const int left = (Canvas.Width() - Doc.BackgroundBitmap.width()) / 2;
    const int top = (Canvas.Height() - Doc.BackgroundBitmap.height()) / 2;
    Canvas.Draw(left, top, Doc.BackgroundBitmap);
  }
  Doc.ResultShown = false;
  Doc.PolygonClosed = false;
  Doc.PolygonLength = 0;
}

void TDrawing::DrawPoint(int x, int y, const TPenStyle& style) {
  Canvas.SetPenColor(Qt::black);
  Canvas.SetPenWidth(style.Width);
  Canvas.SetBrushColor(style.Color);
  // A point far off the canvas leaves no trace; skipping it keeps x - 3 from overflowing.
  constexpr int kFar = 1 << 28;
  if (x > -kFar && x < kFar && y > -kFar && y < kFar) Canvas.Ellipse(x - 3, y - 3, x + 3, y + 3);
  Canvas.SetBrushColor(Qt::white);
}

void TDrawing::DrawPoints(bool highlightFirst) {
  for (int i = 0; i < Doc.PointCount(); ++i) {
    const int style =
        (i == 0 && highlightFirst) ? TPenStyles::kSelectedPoints : TPenStyles::kPoints;
    DrawPoint(Doc.Points[i].X, Doc.Points[i].Y, Styles[style]);
  }
}

void TDrawing::CheckPolygonSimple(bool closed) const {
  const TNube& p = Doc.Points;
  const int n = Doc.PointCount();
  const int h = n - 1;
  const int m = closed ? h + 1 : h;
  for (int j = 2; j <= m; ++j) {
    for (int i = 1; i <= j - 1; ++i) {
      if (SegmentIntersection(p[j - 1], p[j % n], p[i - 1], p[i]) == ProperCrossing) {
        throw UserError("Polygon must be simple. No crossing edges allowed.");
      }
    }
  }
}

void TDrawing::DrawPolygonOutline(bool closed) {
  const TNube& p = Doc.Points;
  const int n = Doc.PointCount();
  if (Doc.EditMode == TEditMode::DrawPolygon) {
    DrawPoints(true);
    CheckPolygonSimple(closed);
    if (n > 0) {
      Canvas.MoveTo(p[0].X, p[0].Y);
      for (int i = 1; i < n; ++i) Canvas.LineTo(p[i].X, p[i].Y);
      if (closed) Canvas.LineTo(p[0].X, p[0].Y);
    }
  } else if (Doc.EditMode == TEditMode::ChainPolygon) {
    // A closed chain counts one more than the points; the chained points never exceed them.
    const int chained = std::min(Doc.PolygonLength, n);
    if (n > 0) Canvas.MoveTo(p[0].X, p[0].Y);
    for (int i = 0; i < chained; ++i) {
      Canvas.LineTo(p[i].X, p[i].Y);
      DrawPoint(p[i].X, p[i].Y, Styles[TPenStyles::kSelectedPoints]);
    }
    for (int i = std::max(chained, 0); i < n; ++i) {
      DrawPoint(p[i].X, p[i].Y, Styles[TPenStyles::kPoints]);
    }
  }
  Doc.ResultShown = true;
}

void TDrawing::DrawPT(const TDCEL& s, int boundaryStyle, int innerStyle) {
  const int halfEdges = s.HalfEdgeCount();
  auto valid = [&](int e) { return e >= 0 && e < halfEdges && ValidVertex(s.Origin(e)); };
  for (int f = 0; f < s.FaceCount(); ++f) {
    const int start = s.FaceEdge(f);
    if (!valid(start)) continue;
    int e = start;
    Canvas.MoveTo(Doc.Points[s.Origin(e)].X, Doc.Points[s.Origin(e)].Y);
    // A cycle has at most every half-edge once: the bound only guards a damaged structure.
    for (int steps = 0; steps < halfEdges; ++steps) {
      e = s.Next(e);
      if (!valid(e)) break;
      const int walked = s.Prev(e);
      const bool boundary = walked < 0 || walked >= halfEdges || s.Twin(walked) == kNone;
      const TPenStyle& style = Styles[boundary ? boundaryStyle : innerStyle];
      Canvas.SetPenColor(style.Color);
      Canvas.SetPenWidth(style.Width);
      const TPoint& q = Doc.Points[s.Origin(e)];
      Canvas.LineTo(q.X, q.Y);
      if (e == start) break;
    }
  }
  Canvas.SetPenColor(Qt::black);
}

void TDrawing::DrawHalfEdgeRange(const TDCEL& s, int first, int last, int style, bool thicker) {
  Canvas.SetPenColor(Styles[style].Color);
  Canvas.SetPenWidth(Styles[style].Width + (thicker ? 1 : 0));
  const int halfEdges = s.HalfEdgeCount();
  for (int e = std::max(first, 0); e <= last && e < halfEdges; ++e) {
    const int next = s.Next(e);
    if (!ValidVertex(s.Origin(e)) || next < 0 || next >= halfEdges) continue;
    const int d = s.Origin(next);
    if (!ValidVertex(d)) continue;
    Canvas.MoveTo(Doc.Points[s.Origin(e)].X, Doc.Points[s.Origin(e)].Y);
    Canvas.LineTo(Doc.Points[d].X, Doc.Points[d].Y);
  }
}

void TDrawing::DrawCompass(int angle) {
  qv::DrawCompass(Compass, angle, Doc.SweepDirX, Doc.SweepDirY);
}

void TDrawing::DrawGrid() {
  DrawCompass(Doc.SweepAngle);
  const double x = Doc.SweepDirX, y = Doc.SweepDirY;
  Canvas.SetPenColor(kGridColor);
  Canvas.SetPenWidth(1);
  const int w = Canvas.Width(), h = Canvas.Height();
  // One segment per k = 10, 20, ...; the first is always drawn. Bounds stay small: the larger
  // direction component is at most |cot 1 degree| < 58.
  auto lines = [&](double bound, auto segment) {
    const int64_t limit = static_cast<int64_t>(std::min(std::nearbyint(bound), 1e9));
    int64_t k = 10;
    do {
      segment(static_cast<int>(k));
      k += 10;
    } while (k < limit);
  };
  auto seg = [&](int x1, int y1, int x2, int y2) {
    Canvas.MoveTo(x1, y1);
    Canvas.LineTo(x2, y2);
  };
  auto r = [](double v) { return RoundEven(v); };
  const double ax = std::abs(x), ay = std::abs(y);
  if (x == 0.0) {
    lines(h, [&](int k) { seg(0, k, w, k); });
  } else if (y == 0.0) {
    lines(w, [&](int k) { seg(k, 0, k, h); });
  } else if (x * y < 0.0 && ax == 1.0) {
    lines(h / ay + w, [&](int k) { seg(0, h - k, r(std::abs(k * y)), h); });
  } else if (x * y < 0.0 && ay == 1.0) {
    lines(ax * h + w, [&](int k) { seg(k, h, 0, h - r(std::abs(k * x))); });
  } else if (x * y > 0.0 && ax == 1.0) {
    lines(h / ay + w, [&](int k) { seg(0, k, r(std::abs(k * y)), 0); });
  } else if (x * y > 0.0 && ay == 1.0) {
    lines(ax * h + w, [&](int k) { seg(k, 0, 0, r(std::abs(k * x))); });
  }
}

void DrawSubdivisionResult(TDrawing& drawing) {
  drawing.ClearCanvas();
  if (drawing.Doc.GridVisible) drawing.DrawGrid();
  drawing.DrawPT(drawing.Doc.CurrentPT, TPenStyles::kHull, TPenStyles::kInternalEdges);
  drawing.DrawPoints(false);
}

}  // namespace qv
