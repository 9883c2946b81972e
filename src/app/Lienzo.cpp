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

QFont CanvasFont() {
  QImage probe(1, 1, QImage::Format_RGB32);
  QPainter painter(&probe);
  QFont font = painter.font();
  font.setPixelSize(painter.fontInfo().pixelSize());
  return font;
}

TCanvas::TCanvas(QImage* image)
    : device_(image),
      image_(image),
      width_(image->width()),
      height_(image->height()),
      direct_(image->depth() == 32 && image->format() != QImage::Format_RGBA8888 &&
              image->format() != QImage::Format_RGBX8888 &&
              image->format() != QImage::Format_RGBA8888_Premultiplied) {}

TCanvas::TCanvas(QPaintDevice* device, int width, int height)
    : device_(device), image_(nullptr), width_(width), height_(height), direct_(false) {}

uint32_t* TCanvas::Bits() {
  Flush();
  return reinterpret_cast<uint32_t*>(image_->bits());
}

TCanvas::~TCanvas() {
  if (painter_) painter_->end();
}

QPainter& TCanvas::Painter() {
  if (!painter_) {
    painter_ = std::make_unique<QPainter>(device_);
    painter_->setRenderHint(QPainter::Antialiasing, false);
    // A vector device has a resolution of its own: its text takes the pixel size the canvas's
    // text has, so that a label is as large in an SVG or PDF as on the screen.
    if (image_ == nullptr) painter_->setFont(CanvasFont());
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
  // A width typed in the colour dialog is stored as typed; what is drawn stays within reason.
  width = std::clamp(width, 1, kMaxPenWidth);
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

// The part of the segment a + t (b - a), 0 <= t <= 1, inside the rectangle [x0, x1] x [y0, y1]
// (Liang-Barsky). Returns false when nothing of it is inside.
bool ClipRange(double ax, double ay, double bx, double by, double x0, double y0, double x1,
               double y1, double& t0, double& t1) {
  const double dx = bx - ax, dy = by - ay;
  t0 = 0.0;
  t1 = 1.0;
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
  return true;
}

// The pixels of a round brush of the given width, around the pixel it is centred on.
const std::vector<QPoint>& Brush(int width) {
  static std::array<std::vector<QPoint>, TCanvas::kMaxPenWidth + 1> brushes;
  width = std::clamp(width, 1, TCanvas::kMaxPenWidth);
  std::vector<QPoint>& brush = brushes[static_cast<size_t>(width)];
  if (brush.empty()) {
    const int lo = -(width - 1) / 2, hi = lo + width - 1;
    const double c = (lo + hi) / 2.0, r2 = width * width / 4.0 + 0.25;
    for (int dy = lo; dy <= hi; ++dy) {
      for (int dx = lo; dx <= hi; ++dx) {
        if ((dx - c) * (dx - c) + (dy - c) * (dy - c) <= r2) brush.emplace_back(dx, dy);
      }
    }
  }
  return brush;
}

}  // namespace

void TCanvas::LineTo(int x, int y) {
  const TPoint from = penPos_;
  penPos_ = TPoint{x, y};
  if (from == penPos_) return;
  Record(TCanvasOp::Line, from.X, from.Y, x, y);
  if (direct_) {
    RasterSegment(from, penPos_);
    return;
  }
  const int margin = penWidth_ + 2;
  double t0 = 0.0, t1 = 1.0;
  if (!ClipRange(from.X, from.Y, x, y, -margin, -margin, width_ + margin, height_ + margin, t0,
                 t1)) {
    return;
  }
  const double dx = static_cast<double>(x) - from.X, dy = static_cast<double>(y) - from.Y;
  // A one-pixel line on integer coordinates covers its start pixel and leaves out its last;
  // a wider one is centred on the pixel centres so that it grows evenly on both sides.
  const double o = penWidth_ <= 1 ? 0.0 : kHalf;
  Painter().drawLine(QLineF(from.X + t0 * dx + o, from.Y + t0 * dy + o, from.X + t1 * dx + o,
                            from.Y + t1 * dy + o));
}

void TCanvas::LineToUnlessDrawnBack(int x, int y) {
  const TPoint from = penPos_;
  penPos_ = TPoint{x, y};
  if (from != penPos_ && direct_) RasterSegment(from, penPos_, true);
}

void TCanvas::RasterSegment(TPoint from, TPoint to, bool onlyOneWay) {
  const int margin = penWidth_ + 2;
  double t0 = 0.0, t1 = 1.0;
  if (!ClipRange(from.X, from.Y, to.X, to.Y, -margin, -margin, width_ + margin, height_ + margin,
                 t0, t1)) {
    return;
  }
  // Far ends are brought in to the clipped part first, so that the integer walk below stays
  // short and its arithmetic small; a segment on the canvas keeps its exact ends.
  constexpr int64_t kNear = 1 << 20;
  auto far = [&](TPoint p) {
    return p.X < -kNear || p.X > width_ + kNear || p.Y < -kNear || p.Y > height_ + kNear;
  };
  if (far(from) || far(to)) {
    // Ends brought in from afar differ by direction: drawn whole, the segment stays exact.
    onlyOneWay = false;
    const double dx = static_cast<double>(to.X) - from.X, dy = static_cast<double>(to.Y) - from.Y;
    const TPoint a{static_cast<int>(std::lround(from.X + t0 * dx)),
                   static_cast<int>(std::lround(from.Y + t0 * dy))};
    const TPoint b{static_cast<int>(std::lround(from.X + t1 * dx)),
                   static_cast<int>(std::lround(from.Y + t1 * dy))};
    from = far(from) ? a : from;
    to = far(to) ? b : to;
    if (!ClipRange(from.X, from.Y, to.X, to.Y, -margin, -margin, width_ + margin, height_ + margin,
                   t0, t1)) {
      return;
    }
  }
  const int64_t dx = int64_t{to.X} - from.X, dy = int64_t{to.Y} - from.Y;
  const bool xMajor = std::llabs(dx) >= std::llabs(dy);
  const int64_t major = xMajor ? std::llabs(dx) : std::llabs(dy);
  const int64_t minor = xMajor ? std::llabs(dy) : std::llabs(dx);
  const int sMajor = (xMajor ? dx : dy) < 0 ? -1 : 1;
  const int sMinor = (xMajor ? dy : dx) < 0 ? -1 : 1;
  const bool thin = penWidth_ <= 1;
  // Step i covers major offset i and minor offset floor((2 i minor + major) / (2 major)).
  // Only the steps near the visible range are walked.
  int64_t first =
      std::max<int64_t>(0, static_cast<int64_t>(std::floor(t0 * static_cast<double>(major))) - 1);
  int64_t last = thin ? major - 1 : major;
  last = std::min(last, static_cast<int64_t>(std::ceil(t1 * static_cast<double>(major))) + 1);
  if (major == 0 || first > last) return;
  auto at = [&](int64_t i, int64_t& px, int64_t& py) {
    const int64_t a = i * sMajor, b = (2 * i * minor + major) / (2 * major) * sMinor;
    px = from.X + (xMajor ? a : b);
    py = from.Y + (xMajor ? b : a);
  };
  auto inside = [&](int64_t i) {
    int64_t px = 0, py = 0;
    at(i, px, py);
    return px >= 0 && px < width_ && py >= 0 && py < height_;
  };
  uint32_t* bits = Bits();
  const int64_t stride = image_->bytesPerLine() / 4;
  const uint32_t colour = penColor_.rgb();
  const int64_t twoMinor = 2 * minor, twoMajor = 2 * major;
  // Walked from the other end, step i lands on the same pixel except at a tie, where
  // (2 i minor + major) is a multiple of 2 major and the rounding goes the other way.
  auto tie = [&](int64_t i) { return (2 * i * minor + major) % twoMajor == 0; };
  if (thin) {
    // Both coordinates are monotone along the walk, so the steps on the canvas form one run;
    // its ends lie within a few steps of the clipped range. Inside it no test is needed.
    while (first <= last && !inside(first)) ++first;
    while (last >= first && !inside(last)) --last;
    if (first > last) return;
    int64_t px = 0, py = 0;
    at(first, px, py);
    int64_t rest = (2 * first * minor + major) % twoMajor;
    uint32_t* pixel = bits + py * stride + px;
    const int64_t majorStep = xMajor ? sMajor : sMajor * stride;
    const int64_t minorStep = xMajor ? sMinor * stride : sMinor;
    for (int64_t i = first;; ++i) {
      // Drawn back, the walk covers steps major .. 1: step 0 and the ties are this way's own.
      if (!onlyOneWay || i == 0 || rest == 0) *pixel = colour;
      if (i == last) break;  // never step past the image
      pixel += majorStep;
      rest += twoMinor;
      if (rest >= twoMajor) {
        rest -= twoMajor;
        pixel += minorStep;
      }
    }
    return;
  }
  const std::vector<QPoint>& brush = Brush(penWidth_);
  for (int64_t i = first; i <= last; ++i) {
    if (onlyOneWay && !tie(i)) continue;
    int64_t px = 0, py = 0;
    at(i, px, py);
    for (const QPoint& d : brush) {
      const int64_t qx = px + d.x(), qy = py + d.y();
      if (qx >= 0 && qx < width_ && qy >= 0 && qy < height_) bits[qy * stride + qx] = colour;
    }
  }
}

const TCanvas::TSprite& TCanvas::Sprite(int width, int height) {
  const QRgb pen = penColor_.rgb(), brush = brushColor_.rgb();
  for (const TSprite& s : sprites_) {
    if (s.Width == width && s.Height == height && s.PenWidth == penWidth_ && s.Pen == pen &&
        s.Brush == brush) {
      return s;
    }
  }
  if (sprites_.size() > 32) sprites_.clear();
  const int margin = penWidth_ + 2;
  QImage image(width + 2 * margin, height + 2 * margin, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  {
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(penColor_, penWidth_, Qt::SolidLine, penWidth_ <= 1 ? Qt::FlatCap : Qt::RoundCap,
                  Qt::RoundJoin));
    p.setBrush(brushColor_);
    p.drawEllipse(QRectF(margin + kHalf, margin + kHalf, width - 1, height - 1));
  }
  TSprite sprite{width, height, penWidth_, pen, brush, {}, {}, {}};
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QRgb c = image.pixel(x, y);
      if (qAlpha(c) == 0) continue;
      sprite.Dx.push_back(x - margin);
      sprite.Dy.push_back(y - margin);
      sprite.Colour.push_back(c | 0xFF000000u);
    }
  }
  sprites_.push_back(std::move(sprite));
  return sprites_.back();
}

void TCanvas::Record(TCanvasOp::TKind kind, int x1, int y1, int x2, int y2, int item) {
  recording_.Add({kind, x1, y1, x2, y2, penColor_.rgb(), penWidth_, brushColor_.rgb(), item});
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  if (x2 - x1 < 1 || y2 - y1 < 1) return;
  const int margin = penWidth_ + 2;
  if (x2 < -margin || x1 > width_ + margin || y2 < -margin || y1 > height_ + margin) return;
  Record(TCanvasOp::Ellipse, x1, y1, x2, y2);
  // The outline runs through the centres of the box's outer pixels (the right and bottom
  // bounds excluded), so that a wider pen grows it evenly on both sides.
  if (!direct_ || x2 - x1 > 64 || y2 - y1 > 64) {
    Painter().drawEllipse(QRectF(x1 + kHalf, y1 + kHalf, x2 - x1 - 1, y2 - y1 - 1));
    return;
  }
  const TSprite& sprite = Sprite(x2 - x1, y2 - y1);
  uint32_t* bits = Bits();
  const int64_t stride = image_->bytesPerLine() / 4;
  for (size_t i = 0; i < sprite.Colour.size(); ++i) {
    const int64_t x = int64_t{x1} + sprite.Dx[i], y = int64_t{y1} + sprite.Dy[i];
    if (x >= 0 && x < width_ && y >= 0 && y < height_) bits[y * stride + x] = sprite.Colour[i];
  }
}

void TCanvas::Polygon(const std::vector<QPoint>& vertices) {
  if (vertices.empty()) return;
  Record(TCanvasOp::Polygon, 0, 0, 0, 0, recording_.AddPolygon(vertices));
  QPolygonF centred;
  for (const QPoint& v : vertices) centred << QPointF(v.x() + kHalf, v.y() + kHalf);
  Painter().drawPolygon(centred);
}

void TCanvas::FillRect(int x1, int y1, int x2, int y2) {
  const int left = std::max(x1, 0), top = std::max(y1, 0);
  const int right = std::min(x2, width_), bottom = std::min(y2, height_);
  if (right <= left || bottom <= top) return;
  if (left == 0 && top == 0 && right == width_ && bottom == height_) recording_.Clear();
  Record(TCanvasOp::FillRect, left, top, right, bottom);
  if (!direct_) {
    Painter().fillRect(QRect(left, top, right - left, bottom - top), brushColor_);
    return;
  }
  uint32_t* bits = Bits();
  const int64_t stride = image_->bytesPerLine() / 4;
  const uint32_t colour = brushColor_.rgb();
  for (int y = top; y < bottom; ++y) std::fill_n(bits + y * stride + left, right - left, colour);
}

void TCanvas::FloodFill(int x, int y, const QColor& border) {
  Record(TCanvasOp::FloodFill, x, y, static_cast<int>(border.rgb()), 0);
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
  Record(TCanvasOp::Draw, x, y, 0, 0, recording_.AddImage(bitmap));
  QPainter& p = Painter();
  p.setCompositionMode(QPainter::CompositionMode_Source);
  p.drawImage(x, y, bitmap);
  p.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void TCanvas::DrawAnd(int x, int y, const QImage& bitmap) {
  if (bitmap.isNull()) return;
  Record(TCanvasOp::DrawAnd, x, y, 0, 0, recording_.AddImage(bitmap));
  if (image_ == nullptr) return;
  QPainter& p = Painter();
  p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
  p.drawImage(x, y, bitmap);
  p.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void TCanvas::TextOut(int x, int y, const QString& text) {
  Record(TCanvasOp::Text, x, y, 0, 0, recording_.AddText(text));
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

bool ChainWithoutCrossings(const TNube& p, bool closed) {
  const int n = static_cast<int>(p.size());
  const int h = n - 1;
  const int m = closed ? h + 1 : h;
  for (int j = 2; j <= m; ++j) {
    for (int i = 1; i <= j - 1; ++i) {
      if (SegmentIntersection(p[j - 1], p[j % n], p[i - 1], p[i]) == ProperCrossing) return false;
    }
  }
  return true;
}

void TDrawing::CheckPolygonSimple(bool closed) const {
  if (!ChainWithoutCrossings(Doc.Points, closed)) {
    throw UserError("Polygon must be simple. No crossing edges allowed.");
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
  // Every live face cycle, as the pen goes: start(e) at its first half-edge, then step(from,
  // e) for each segment from the origin of from to the origin of e.
  auto walk = [&](auto start, auto step) {
    for (int f = 0; f < s.FaceCount(); ++f) {
      const int first = s.FaceEdge(f);
      if (!valid(first)) continue;
      start(first);
      // A cycle has at most every half-edge once: the bound only guards a damaged structure.
      for (int steps = 0, e = first; steps < halfEdges; ++steps) {
        const int from = e;
        e = s.Next(e);
        if (!valid(e)) break;
        step(from, e);
        if (e == first) break;
      }
    }
  };
  // How often each half-edge is still to be walked.
  std::vector<int> pending(static_cast<size_t>(halfEdges), 0);
  walk([](int) {}, [&](int from, int) { ++pending[from]; });
  // The twin runs back over the same segment, in the same (inner) style.
  auto twinBack = [&](int from, int e) {
    const int t = s.Twin(from);
    if (t < 0 || t >= halfEdges || s.Twin(t) != from || s.Prev(e) != from) return kNone;
    const int back = s.Next(t);
    if (!valid(back) || s.Prev(back) != t || s.Origin(t) != s.Origin(e) ||
        s.Origin(back) != s.Origin(from))
      return kNone;
    return t;
  };
  // An inner edge is drawn whole from the face walked last; from the face before, only the
  // pixels the walk back would not cover, which leaves the pixels of drawing it both ways.
  walk([&](int e) { Canvas.MoveTo(Doc.Points[s.Origin(e)].X, Doc.Points[s.Origin(e)].Y); },
       [&](int from, int e) {
         const int walked = s.Prev(e);
         const bool boundary = walked < 0 || walked >= halfEdges || s.Twin(walked) == kNone;
         const TPenStyle& style = Styles[boundary ? boundaryStyle : innerStyle];
         Canvas.SetPenColor(style.Color);
         Canvas.SetPenWidth(style.Width);
         const TPoint& q = Doc.Points[s.Origin(e)];
         --pending[from];
         const int t = twinBack(from, e);
         if (t != kNone && pending[t] > 0) {
           Canvas.LineToUnlessDrawnBack(q.X, q.Y);
         } else if (t != kNone && pending[from] > 0) {
           Canvas.MoveTo(q.X, q.Y);  // walked again this way: drawn then
         } else {
           Canvas.LineTo(q.X, q.Y);
         }
       });
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
