#include "methods/Ejecucion.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <vector>

#include "geometry/CierreConvexo.h"
#include "geometry/FuncionesMatematicas.h"
#include "geometry/UserError.h"
#include "methods/Barrido.h"

namespace qv {

namespace {

struct TSortKey {
  double K1 = 0.0;
  double K2 = 0.0;
  int Index = 0;
};

// Both keys of a point, always through this one function so that equal points get equal keys.
TSortKey KeyOf(TPoint p, double dirX, double dirY, int index) {
  const double x = p.X, y = p.Y;
  return {x * dirX + y * dirY, x * dirY - y * dirX, index};
}

// The strict order of the sort: k1, then k2. Keys that compare equal on both are ties.
bool KeyLess(const TSortKey& a, const TSortKey& b) {
  if (a.K1 != b.K1) return a.K1 < b.K1;
  return a.K2 < b.K2;
}

bool SameKeys(const TSortKey& a, const TSortKey& b) {
  return !KeyLess(a, b) && !KeyLess(b, a);
}

// Sorting by (k1, k2, original index) orders ties by their original position, which is exactly
// what a stable sort (and so the adjacent-swap sort the order is defined by) does with them.
bool KeyIndexLess(const TSortKey& a, const TSortKey& b) {
  if (KeyLess(a, b)) return true;
  if (KeyLess(b, a)) return false;
  return a.Index < b.Index;
}

double RoundTo10Places(double v) {
  return std::round(v * 1e10) / 1e10;
}

double SignOf(double v) {
  return static_cast<double>((v > 0.0) - (v < 0.0));
}

// Equal points have equal keys, so after the sort they lie in one run of equal keys. Runs hold
// a single point except where rounding makes distinct points' keys equal (huge coordinates).
bool HasCoincidentSorted(const TNube& points, double dirX, double dirY) {
  const int n = static_cast<int>(points.size());
  std::vector<TPoint> run;
  for (int i = 0; i < n;) {
    const TSortKey head = KeyOf(points[i], dirX, dirY, i);
    int j = i + 1;
    while (j < n && SameKeys(head, KeyOf(points[j], dirX, dirY, j))) ++j;
    if (j - i > 1) {
      run.assign(points.begin() + i, points.begin() + j);
      std::sort(run.begin(), run.end(),
                [](TPoint a, TPoint b) { return a.X != b.X ? a.X < b.X : a.Y < b.Y; });
      if (std::adjacent_find(run.begin(), run.end()) != run.end()) return true;
    }
    i = j;
  }
  return false;
}

}  // namespace

void SortPointsByDirection(TNube& points, double dirX, double dirY, int& draggedPoint) {
  const int n = static_cast<int>(points.size());
  std::vector<TSortKey> keys(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    keys[i] = KeyOf(points[i], dirX, dirY, i);
    // Keys out of range (a direction of absurd size) have no order: leave the points as they are.
    if (!std::isfinite(keys[i].K1) || !std::isfinite(keys[i].K2)) return;
  }
  // A shown result is recomputed on every edit, mostly on points already in order.
  if (std::is_sorted(keys.begin(), keys.end(), KeyLess)) return;
  std::sort(keys.begin(), keys.end(), KeyIndexLess);

  TNube sorted(static_cast<size_t>(n));
  int dragged = draggedPoint;
  for (int i = 0; i < n; ++i) {
    sorted[i] = points[keys[i].Index];
    if (keys[i].Index == draggedPoint) dragged = i;
  }
  points.swap(sorted);
  draggedPoint = dragged;
}

void SweepDirectionFromAngle(int angleDeg, double& dirX, double& dirY) {
  const int a = ((angleDeg % 360) + 360) % 360;
  const double radians = a * std::numbers::pi / 180.0;
  const double c = RoundTo10Places(std::cos(radians));
  const double s = RoundTo10Places(std::sin(radians));
  dirX = SignOf(c);
  dirY = -SignOf(s);
  if (c != 0.0 && s != 0.0) {
    if (std::abs(c) > std::abs(s)) dirX *= std::abs(c / s);
    if (std::abs(s) > std::abs(c)) dirY *= std::abs(s / c);
  }
}

bool CollinearStart(TNube& points) {
  if (points.size() < 3) return false;
  if (Orientation(points[0], points[1], points[2]) != Collinear) return false;
  if (points[0].X == std::numeric_limits<int32_t>::min()) return false;
  points[0].X -= 1;
  return true;
}

void RefuseDegenerateSortedPoints(const TNube& points, double dirX, double dirY) {
  if (HasCoincidentSorted(points, dirX, dirY)) throw UserError("No coincident points allowed.");
  if (AllCollinearPoints(points)) throw UserError("At least 3 non-collinear points are needed.");
}

void ComputeSweepLine(TNube& points, double dirX, double dirY, int& draggedPoint, TDCEL& pt) {
  if (points.size() < 3) throw UserError("At least 3 points are needed.");
  pt.Clear();
  SortPointsByDirection(points, dirX, dirY, draggedPoint);
  RefuseDegenerateSortedPoints(points, dirX, dirY);
  const bool nudged = CollinearStart(points);
  try {
    // The set has no coincident points, so one now can only be the moved point's doing.
    if (nudged && std::find(points.begin() + 1, points.end(), points[0]) != points.end())
      throw UserError("The points cannot be swept at this angle.");
    Sweep(points, pt);
  } catch (const UserError&) {
    if (nudged) points[0].X += 1;
    throw;
  }
}

}  // namespace qv
