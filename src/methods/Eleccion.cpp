#include "methods/Eleccion.h"

#include <cmath>
#include <numbers>

#include "geometry/CierreConvexo.h"
#include "geometry/FuncionesMatematicas.h"
#include "methods/Aleatorio.h"
#include "methods/CaminosMinimos.h"

namespace qv {

bool TTriangulationChoice::Prepare(int n) {
  if (triangulation_.HalfEdgeCount() > 0 && triangulation_.VertexCount() == n) return false;
  triangulation_.Clear();
  polygon_.assign(static_cast<size_t>(std::max(n, 0)), TPoint{});
  for (int k = 0; k < n; ++k) {
    const double a = k * 2.0 * std::numbers::pi / n + std::numbers::pi / 2.0;
    polygon_[k] = {static_cast<int32_t>(std::nearbyint(150.0 * std::cos(a) + 180.0)),
                   static_cast<int32_t>(std::nearbyint(180.0 - 150.0 * std::sin(a)))};
  }
  if (n >= 3) ConvexPolygonFan(n, triangulation_);
  position_ = 0;
  return true;
}

void TTriangulationChoice::Flip() {
  triangulation_.FlipEdge(Size() + position_);
  Recompute = true;
}

void TTriangulationChoice::Next() {
  if (Diagonals() == 0) return;
  Flip();
  const int last = 2 * (Diagonals() - 1);
  position_ = position_ >= last ? 0 : position_ + 2;
}

void TTriangulationChoice::Prev() {
  if (Diagonals() == 0) return;
  Flip();
  const int last = 2 * (Diagonals() - 1);
  position_ = position_ <= 0 ? last : position_ - 2;
}

void TTriangulationChoice::RandomFlips(TRandom& rng) {
  if (Diagonals() == 0) return;
  Recompute = true;
  const int n = Size();
  const int flips = 1 + rng.Random(3 * Diagonals());
  for (int i = 0; i < flips; ++i) {
    position_ = rng.Random(triangulation_.HalfEdgeCount() - n);
    Flip();
  }
  // A position on a diagonal's second half-edge would make the stepping miss its wrap
  // values: keep it on the first half-edge of the same diagonal.
  position_ -= position_ % 2;
}

std::vector<TVertexLabel> VertexLabels(const TNube& points, const TDCEL& s) {
  std::vector<TVertexLabel> labels;
  const int n = s.VertexCount();
  for (int i = 0; i < n; ++i) {
    const int k = (i + 1) % n;
    const TPoint A = points[s.Origin(k)], B = points[s.Origin(i)], C = points[s.Destination(k)];
    const double bx = double(B.X) - A.X, by = double(B.Y) - A.Y;
    const double cx = double(C.X) - A.X, cy = double(C.Y) - A.Y;
    const double lb = std::hypot(bx, by), lc = std::hypot(cx, cy);
    double vx, vy;
    if (lb >= lc) {
      vx = (lb > 0 ? lc / lb : 0) * bx + cx;
      vy = (lb > 0 ? lc / lb : 0) * by + cy;
    } else {
      vx = (lb / lc) * cx + bx;
      vy = (lb / lc) * cy + by;
    }
    if (vx == 0 && vy == 0) {
      vx = double(B.Y) - C.Y;
      vy = double(C.X) - B.X;
    }
    const bool oneDigit = i < 9 || i == n - 1;
    const double radius = std::sqrt(oneDigit ? 389.0 : 545.0) / 2.0;
    const double len = std::hypot(vx, vy);
    if (len > 0) {
      vx *= radius / len;
      vy *= radius / len;
    }
    if (Orientation(B, A, C) == CounterClockwise) {
      vx = -vx;
      vy = -vy;
    }
    const double dx = oneDigit ? 3.0 : 6.0;
    labels.push_back({std::to_string(s.Origin(k)), A.X + static_cast<int>(std::nearbyint(vx - dx)),
                      A.Y + static_cast<int>(std::nearbyint(vy - 6.5))});
  }
  return labels;
}

}  // namespace qv
