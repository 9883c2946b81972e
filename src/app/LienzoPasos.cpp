#include "app/LienzoPasos.h"

#include <cmath>

namespace qv {

namespace {

constexpr int kDash = 6, kGap = 4;  // pixels along a removed edge

bool Valid(const TDrawing& d, const TEdge& e) {
  const int n = d.Doc.PointCount();
  return e.A >= 0 && e.B >= 0 && e.A < n && e.B < n;
}

void Segment(TDrawing& d, const TEdge& e) {
  const TPoint a = d.Doc.Points[static_cast<size_t>(e.A)];
  const TPoint b = d.Doc.Points[static_cast<size_t>(e.B)];
  d.Canvas.MoveTo(a.X, a.Y);
  d.Canvas.LineTo(b.X, b.Y);
}

// Dashes of kDash pixels with gaps of kGap from a to b, the last dash cut at b.
void DashedSegment(TDrawing& d, const TEdge& e) {
  const TPoint a = d.Doc.Points[static_cast<size_t>(e.A)];
  const TPoint b = d.Doc.Points[static_cast<size_t>(e.B)];
  const double dx = double(b.X) - a.X, dy = double(b.Y) - a.Y;
  const double length = std::hypot(dx, dy);
  if (!(length > 0.0) || length > 1e5) {  // off-canvas lengths: one solid segment
    Segment(d, e);
    return;
  }
  const auto at = [&](double s) {
    return TPoint{static_cast<int32_t>(std::lround(a.X + dx * s / length)),
                  static_cast<int32_t>(std::lround(a.Y + dy * s / length))};
  };
  for (double s = 0.0; s < length; s += kDash + kGap) {
    const TPoint p = at(s), q = at(std::min(s + kDash, length));
    d.Canvas.MoveTo(p.X, p.Y);
    d.Canvas.LineTo(q.X, q.Y);
  }
}

void Pen(TDrawing& d, const QColor& color, int width) {
  d.Canvas.SetPenColor(color);
  d.Canvas.SetPenWidth(width);
}

}  // namespace

void DrawStepFrame(TDrawing& d, const TStepFrame& frame) {
  const QColor fill = d.Canvas.BrushColor();
  d.Canvas.SetBrushColor(Qt::white);
  d.Canvas.FillRect(0, 0, d.Canvas.Width(), d.Canvas.Height());
  d.Canvas.SetBrushColor(fill);
  if (d.Doc.BackgroundLoaded && !d.Doc.BackgroundBitmap.isNull())
    d.Canvas.Draw((d.Canvas.Width() - d.Doc.BackgroundBitmap.width()) / 2,
                  (d.Canvas.Height() - d.Doc.BackgroundBitmap.height()) / 2,
                  d.Doc.BackgroundBitmap);
  if (d.Doc.GridVisible) d.DrawGrid();
  const TPenStyle& inner = d.Styles[TPenStyles::kInternalEdges];
  Pen(d, inner.Color, inner.Width);
  for (const TEdge& e : frame.Edges)
    if (Valid(d, e)) Segment(d, e);
  Pen(d, kStepRemovedColor, inner.Width);
  for (const TEdge& e : frame.Removed)
    if (Valid(d, e)) DashedSegment(d, e);
  Pen(d, kStepAddedColor, inner.Width + 1);
  for (const TEdge& e : frame.Added)
    if (Valid(d, e)) Segment(d, e);
  d.Canvas.SetPenColor(Qt::black);
  d.Canvas.SetPenWidth(1);
  d.DrawPoints(false);
  for (int v : frame.Marked)
    if (v >= 0 && v < d.Doc.PointCount())
      d.DrawPoint(d.Doc.Points[static_cast<size_t>(v)].X, d.Doc.Points[static_cast<size_t>(v)].Y,
                  d.Styles[TPenStyles::kSelectedPoints]);
}

}  // namespace qv
