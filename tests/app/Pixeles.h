// Pixel helpers for rendering tests.
#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <cmath>
#include <cstdlib>

namespace qv::test {

inline bool Is(const QImage& image, int x, int y, const QColor& c) {
  return image.rect().contains(x, y) && (image.pixel(x, y) & 0xFFFFFFu) == (c.rgb() & 0xFFFFFFu);
}

// Bounding box of the pixels that are not white.
inline QRect InkBox(const QImage& image) {
  QRect box;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if ((image.pixel(x, y) & 0xFFFFFFu) != 0xFFFFFFu) box |= QRect(x, y, 1, 1);
  return box;
}

// True when the segment a-b, inside the image, is drawn in colour c: at every step along its
// major axis (ends excluded) a pixel within one of the ideal position has that colour.
inline bool SegmentDrawn(const QImage& image, QPoint a, QPoint b, const QColor& c) {
  const int dx = b.x() - a.x(), dy = b.y() - a.y();
  const bool xMajor = std::abs(dx) >= std::abs(dy);
  const int steps = xMajor ? std::abs(dx) : std::abs(dy);
  int checked = 0;
  for (int i = 1; i < steps; ++i) {
    const double t = static_cast<double>(i) / steps;
    const int x = static_cast<int>(std::lround(a.x() + t * dx));
    const int y = static_cast<int>(std::lround(a.y() + t * dy));
    if (!image.rect().contains(x, y)) continue;
    ++checked;
    const auto near = [&](int d) {
      return xMajor ? Is(image, x, y + d, c) : Is(image, x + d, y, c);
    };
    if (!near(-1) && !near(0) && !near(1)) return false;
  }
  return checked > 0;
}

}  // namespace qv::test
