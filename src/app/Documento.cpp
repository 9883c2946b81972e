#include "app/Documento.h"

#include <cstdlib>

namespace qv {

int TDocumento::PointAt(int x, int y) const {
  for (int i = 0; i < PointCount(); ++i) {
    if (Points[i].X == x && Points[i].Y == y) return i;
  }
  return kNone;
}

int TDocumento::HitPoint(int x, int y, int tolerance) const {
  for (int i = 0; i < PointCount(); ++i) {
    // 64-bit differences: points may lie anywhere in the 32-bit range.
    const int64_t dx = int64_t{Points[i].X} - x;
    const int64_t dy = int64_t{Points[i].Y} - y;
    if (std::llabs(dx) <= tolerance && std::llabs(dy) <= tolerance) return i;
  }
  return kNone;
}

QString PointsText(int count) {
  return QStringLiteral("POINTS: ") + QString::number(count);
}

}  // namespace qv
