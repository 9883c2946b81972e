#include "app/Lienzo.h"

#include <QPen>
#include <QPolygonF>
#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdint>
#include <limits>
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
    if (view_.Ratio != 1.0) {
      QFont font = painter_->font();
      if (font.pixelSize() > 0) {
        font.setPixelSize(static_cast<int>(std::lround(font.pixelSize() * view_.Ratio)));
      } else {
        font.setPointSizeF(font.pointSizeF() * view_.Ratio);
      }
      painter_->setFont(font);
    }
    ApplyPen();
    painter_->setBrush(brushColor_);
  }
  return *painter_;
}

void TCanvas::ApplyPen() {
  if (!painter_) return;
  // A one-pixel line leaves out its last pixel, as the next segment of a chain starts there;
  // wider lines get round ends so that the segments of a chain join without notches.
  const Qt::PenCapStyle cap = drawWidth_ <= 1 ? Qt::FlatCap : Qt::RoundCap;
  painter_->setPen(QPen(penColor_, std::max(1, drawWidth_), Qt::SolidLine, cap, Qt::RoundJoin));
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
  drawWidth_ = std::clamp(static_cast<int>(std::lround(width * view_.Ratio)), 1, kMaxDeviceWidth);
  ApplyPen();
}

void TCanvas::SetView(const TVista& view) {
  view_ = view;
  view_.Ratio = std::clamp(view.Ratio, 1.0, 4.0);
  drawWidth_ =
      std::clamp(static_cast<int>(std::lround(penWidth_ * view_.Ratio)), 1, kMaxDeviceWidth);
  ApplyPen();
  if (painter_) {
    QFont font;
    if (view_.Ratio != 1.0) font.setPointSizeF(font.pointSizeF() * view_.Ratio);
    painter_->setFont(font);
  }
}

int TCanvas::ScreenWidth() const {
  return static_cast<int>(std::lround(width_ / view_.Ratio));
}

int TCanvas::ScreenHeight() const {
  return static_cast<int>(std::lround(height_ / view_.Ratio));
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
  static std::array<std::vector<QPoint>, TCanvas::kMaxDeviceWidth + 1> brushes;
  width = std::clamp(width, 1, TCanvas::kMaxDeviceWidth);
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

bool TCanvas::DeviceSegment(TPoint from, TPoint to, TPoint& a, TPoint& b, bool& far) const {
  const QPointF p = view_.DocToDevice(QPointF(from.X, from.Y));
  const QPointF q = view_.DocToDevice(QPointF(to.X, to.Y));
  // Ends within this reach are rounded as they are; farther ones are first brought in along the
  // segment to a box around the surface, so that they fit in 32 bits and the segment keeps its
  // direction.
  constexpr double kReach = 1 << 28;
  auto within = [](QPointF v) { return std::abs(v.x()) < kReach && std::abs(v.y()) < kReach; };
  auto pixel = [](QPointF v) {
    return TPoint{static_cast<int>(std::lround(v.x())), static_cast<int>(std::lround(v.y()))};
  };
  far = !within(p) || !within(q);
  if (!far) {
    a = pixel(p);
    b = pixel(q);
    return true;
  }
  const double m = 2.0 * (drawWidth_ + 2);
  double t0 = 0.0, t1 = 1.0;
  if (!ClipRange(p.x(), p.y(), q.x(), q.y(), -m, -m, width_ + m, height_ + m, t0, t1)) return false;
  a = pixel(p + t0 * (q - p));
  b = pixel(p + t1 * (q - p));
  return true;
}

void TCanvas::LineTo(int x, int y) {
  const TPoint from = penPos_;
  penPos_ = TPoint{x, y};
  if (from == penPos_) return;
  Keep(TDocumentOp::Segment, from, penPos_, 0);
  if (view_.Identity()) {
    LinePixels(from, penPos_);
    return;
  }
  TPoint a, b;
  bool far = false;
  if (DeviceSegment(from, penPos_, a, b, far) && a != b) LinePixels(a, b);
}

void TCanvas::LinePixels(TPoint from, TPoint to) {
  const int x = to.X, y = to.Y;
  Record(TCanvasOp::Line, from.X, from.Y, x, y);
  if (direct_) {
    RasterSegment(from, to);
    return;
  }
  const int margin = drawWidth_ + 2;
  double t0 = 0.0, t1 = 1.0;
  if (!ClipRange(from.X, from.Y, x, y, -margin, -margin, width_ + margin, height_ + margin, t0,
                 t1)) {
    return;
  }
  const double dx = static_cast<double>(x) - from.X, dy = static_cast<double>(y) - from.Y;
  // A one-pixel line on integer coordinates covers its start pixel and leaves out its last;
  // a wider one is centred on the pixel centres so that it grows evenly on both sides.
  const double o = drawWidth_ <= 1 ? 0.0 : kHalf;
  Painter().drawLine(QLineF(from.X + t0 * dx + o, from.Y + t0 * dy + o, from.X + t1 * dx + o,
                            from.Y + t1 * dy + o));
}

void TCanvas::LineToUnlessDrawnBack(int x, int y) {
  const TPoint from = penPos_;
  penPos_ = TPoint{x, y};
  if (from == penPos_ || !direct_) return;
  if (view_.Identity()) {
    RasterSegment(from, penPos_, true);
    return;
  }
  // Both directions map their ends alike, so the pixels are those of the segment drawn back;
  // ends brought in from afar are not, and the segment is drawn whole.
  TPoint a, b;
  bool far = false;
  if (DeviceSegment(from, penPos_, a, b, far) && a != b) RasterSegment(a, b, !far);
}

void TCanvas::RasterSegment(TPoint from, TPoint to, bool onlyOneWay) {
  const int margin = drawWidth_ + 2;
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
  const bool thin = drawWidth_ <= 1;
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
  const std::vector<QPoint>& brush = Brush(drawWidth_);
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
    if (s.Width == width && s.Height == height && s.PenWidth == drawWidth_ && s.Pen == pen &&
        s.Brush == brush) {
      return s;
    }
  }
  if (sprites_.size() > 32) sprites_.clear();
  const int margin = drawWidth_ + 2;
  QImage image(width + 2 * margin, height + 2 * margin, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  {
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(penColor_, drawWidth_, Qt::SolidLine,
                  drawWidth_ <= 1 ? Qt::FlatCap : Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(brushColor_);
    p.drawEllipse(QRectF(margin + kHalf, margin + kHalf, width - 1, height - 1));
  }
  TSprite sprite{width, height, drawWidth_, pen, brush, {}, {}, {}};
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
  recording_.Add({kind, x1, y1, x2, y2, penColor_.rgb(), drawWidth_, brushColor_.rgb(), item});
}

void TCanvas::Keep(TDocumentOp::TKind kind, TPoint a, TPoint b, int size) {
  if (pictureKept_) {
    picture_.Ops.push_back({kind, a, b, size, penColor_.rgb(), penWidth_, brushColor_.rgb()});
  }
}

void TCanvas::Disc(int x, int y, int radius) {
  Keep(TDocumentOp::Disc, TPoint{x, y}, TPoint{x, y}, radius);
  const QPointF c = view_.DocToDevice(QPointF(x, y));
  // A point far off the canvas leaves no trace; skipping it keeps the box from overflowing.
  constexpr double kFar = 1 << 28;
  if (std::abs(c.x()) >= kFar || std::abs(c.y()) >= kFar) return;
  const int cx = static_cast<int>(std::lround(c.x())), cy = static_cast<int>(std::lround(c.y()));
  const int r = std::max(1, static_cast<int>(std::lround(radius * view_.Ratio)));
  Ellipse(cx - r, cy - r, cx + r, cy + r);
}

void TCanvas::TextAt(int x, int y, const QString& text) {
  Keep(TDocumentOp::Label, TPoint{x, y}, TPoint{x, y}, static_cast<int>(picture_.Texts.size()));
  if (pictureKept_) picture_.Texts.push_back(text);
  const QPointF at = view_.DocToDevice(QPointF(x, y));
  constexpr double kFar = 1 << 28;
  if (std::abs(at.x()) >= kFar || std::abs(at.y()) >= kFar) return;
  TextOut(static_cast<int>(std::lround(at.x())), static_cast<int>(std::lround(at.y())), text);
}

void TCanvas::DrawPicture(const TDocumentPicture& picture) {
  for (const TDocumentOp& op : picture.Ops) {
    SetPenColor(QColor(op.Pen));
    SetPenWidth(op.PenWidth);
    SetBrushColor(QColor(op.Brush));
    switch (op.Kind) {
      case TDocumentOp::Segment:
        MoveTo(op.A.X, op.A.Y);
        LineTo(op.B.X, op.B.Y);
        break;
      case TDocumentOp::Disc:
        Disc(op.A.X, op.A.Y, op.Size);
        break;
      case TDocumentOp::Label:
        if (op.Size >= 0 && op.Size < static_cast<int>(picture.Texts.size())) {
          TextAt(op.A.X, op.A.Y, picture.Texts[static_cast<size_t>(op.Size)]);
        }
        break;
    }
  }
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  if (x2 - x1 < 1 || y2 - y1 < 1) return;
  const int margin = drawWidth_ + 2;
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
  if (left == 0 && top == 0 && right == width_ && bottom == height_) {
    recording_.Clear();
    picture_.Ops.clear();  // the capacity stays for the next picture
    picture_.Texts.clear();
  }
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

void TCanvas::Draw(const QRectF& box, const QImage& bitmap) {
  if (bitmap.isNull() || box.isEmpty()) return;
  // Far outside the surface nothing shows; a huge box would only cost time.
  const QRectF visible = box & QRectF(0, 0, width_, height_);
  if (visible.isEmpty()) return;
  Record(TCanvasOp::Draw, static_cast<int>(std::lround(box.x())),
         static_cast<int>(std::lround(box.y())), static_cast<int>(std::lround(box.width())),
         static_cast<int>(std::lround(box.height())), recording_.AddImage(bitmap));
  // Only the part of the bitmap that lands on the surface is stretched.
  const double sx = bitmap.width() / box.width(), sy = bitmap.height() / box.height();
  const QRectF source((visible.x() - box.x()) * sx, (visible.y() - box.y()) * sy,
                      visible.width() * sx, visible.height() * sy);
  QPainter& p = Painter();
  p.setCompositionMode(QPainter::CompositionMode_Source);
  p.drawImage(visible, bitmap, source);
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
  // A vector device has a resolution of its own: its text takes the pixel size the canvas's
  // text has, so that a label is as large in an SVG or PDF as on the screen.
  if (image_ == nullptr && !vectorFont_) {
    p.setFont(CanvasFont());
    vectorFont_ = true;
  }
  p.drawText(QRect(x, y, width_ + 1, height_ + 1), Qt::AlignLeft | Qt::AlignTop, text);
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
    // Centred on the canvas as it shows at 1:1; the quotients truncate toward zero, also for an
    // image larger than the canvas. That place is in the document, which the view maps.
    const QImage& bitmap = Doc.BackgroundBitmap;
    const int left = (Canvas.ScreenWidth() - bitmap.width()) / 2;
    const int top = (Canvas.ScreenHeight() - bitmap.height()) / 2;
    const TVista& view = Canvas.View();
    if (view.Identity()) {
      Canvas.Draw(left, top, bitmap);
    } else {
      const double size = view.Scale * view.Ratio;
      Canvas.Draw(QRectF(view.DocToDevice(QPointF(left, top)),
                         QSizeF(bitmap.width() * size, bitmap.height() * size)),
                  bitmap);
    }
  }
  Doc.ResultShown = false;
  Doc.PolygonClosed = false;
  Doc.PolygonLength = 0;
}

void TDrawing::DrawPoint(int x, int y, const TPenStyle& style) {
  Canvas.SetPenColor(Qt::black);
  Canvas.SetPenWidth(style.Width);
  Canvas.SetBrushColor(style.Color);
  // 6 screen pixels across at any zoom.
  Canvas.Disc(x, y, 3);
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

void TDrawing::DrawAgain() {
  const TDocumentPicture picture = Canvas.Picture();
  const bool shown = Doc.ResultShown, closed = Doc.PolygonClosed;
  const int length = Doc.PolygonLength;
  ClearCanvas();
  Doc.ResultShown = shown;
  Doc.PolygonClosed = closed;
  Doc.PolygonLength = length;
  if (Doc.GridVisible) DrawGrid();
  Canvas.DrawPicture(picture);
}

void TDrawing::DrawGrid() {
  // The grid is drawn anew with every picture, never replayed with it.
  struct TLeftOut {
    TCanvas& C;
    bool Was;
    ~TLeftOut() { C.SetPictureKept(Was); }
  } leftOut{Canvas, Canvas.PictureKept()};
  Canvas.SetPictureKept(false);
  DrawCompass(Doc.SweepAngle);
  const double x = Doc.SweepDirX, y = Doc.SweepDirY;
  Canvas.SetPenColor(kGridColor);
  Canvas.SetPenWidth(1);
  if (!Canvas.View().Identity()) {
    DrawGridThroughView();
    return;
  }
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

// The grid of the 1:1 canvas is a family of parallel lines in the document: through P(k) along
// D, for k = 10, 20, ... Through another view the same family is drawn wherever it shows, every
// line of it while they stay a few pixels apart, else every second, fourth, ... one.
void TDrawing::DrawGridThroughView() {
  const double x = Doc.SweepDirX, y = Doc.SweepDirY;
  const double w = Canvas.ScreenWidth(), h = Canvas.ScreenHeight();
  const double ax = std::abs(x), ay = std::abs(y);
  // P(k) = P0 + k * Pk; the lines run along D.
  QPointF p0, pk, d;
  if (x == 0.0) {
    pk = {0, 1}, d = {1, 0};
  } else if (y == 0.0) {
    pk = {1, 0}, d = {0, 1};
  } else if (x * y < 0.0 && ax == 1.0) {
    p0 = {0, h}, pk = {0, -1}, d = {ay, 1};
  } else if (x * y < 0.0 && ay == 1.0) {
    p0 = {0, h}, pk = {1, 0}, d = {1, ax};
  } else if (x * y > 0.0 && ax == 1.0) {
    pk = {0, 1}, d = {ay, -1};
  } else if (x * y > 0.0 && ay == 1.0) {
    pk = {1, 0}, d = {1, -ax};
  } else {
    return;
  }
  // Along the normal n the line for k sits at n.P0 + k n.Pk.
  const QPointF n(-d.y(), d.x());
  const double base = QPointF::dotProduct(n, p0), per = QPointF::dotProduct(n, pk);
  if (per == 0.0) return;
  const TVista view = Canvas.View();
  const QRectF seen = view.VisibleDoc(QSizeF(w, h));
  double lo = std::numeric_limits<double>::max(), hi = std::numeric_limits<double>::lowest();
  for (const QPointF& corner :
       {seen.topLeft(), seen.topRight(), seen.bottomLeft(), seen.bottomRight()}) {
    const double k = (QPointF::dotProduct(n, corner) - base) / per;
    lo = std::min(lo, k);
    hi = std::max(hi, k);
  }
  // Lines at least 4 screen pixels apart.
  const double apart = std::abs(per) / std::hypot(n.x(), n.y()) * view.Scale;
  double step = 10.0;
  while (step * apart < 4.0) step *= 2.0;
  const double reach = std::hypot(seen.width(), seen.height()) + 1.0;
  const double dl = std::hypot(d.x(), d.y());
  const QPointF u = d / dl;
  // The ends below are pixels; the line keeps its one screen pixel of width.
  Canvas.SetView(TVista{});
  Canvas.SetPenWidth(static_cast<int>(std::lround(view.Ratio)));
  for (double k = std::ceil(lo / step) * step; k <= hi; k += step) {
    const QPointF on = p0 + k * pk;
    // The point of the line nearest the middle of the view, and both ways from it.
    const QPointF mid = on + QPointF::dotProduct(seen.center() - on, u) * u;
    const QPointF a = view.DocToDevice(mid - reach * u), b = view.DocToDevice(mid + reach * u);
    Canvas.MoveTo(static_cast<int>(std::lround(a.x())), static_cast<int>(std::lround(a.y())));
    Canvas.LineTo(static_cast<int>(std::lround(b.x())), static_cast<int>(std::lround(b.y())));
  }
  Canvas.SetView(view);
  Canvas.SetPenWidth(1);
}

void DrawSubdivisionResult(TDrawing& drawing) {
  drawing.ClearCanvas();
  if (drawing.Doc.GridVisible) drawing.DrawGrid();
  drawing.DrawPT(drawing.Doc.CurrentPT, TPenStyles::kHull, TPenStyles::kInternalEdges);
  drawing.DrawPoints(false);
}

}  // namespace qv
