#include "methods/Ejecucion.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <utility>
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
};

// Both keys of a point, always through this one function so that equal points get equal keys.
TSortKey KeyOf(TPoint p, double dirX, double dirY) {
  const double x = p.X, y = p.Y;
  return {x * dirX + y * dirY, x * dirY - y * dirX};
}

// The strict order of the sort: k1, then k2. Keys that compare equal on both are ties.
bool KeyLess(const TSortKey& a, const TSortKey& b) {
  if (a.K1 != b.K1) return a.K1 < b.K1;
  return a.K2 < b.K2;
}

bool SameKeys(const TSortKey& a, const TSortKey& b) {
  return !KeyLess(a, b) && !KeyLess(b, a);
}

// A code of the first key whose unsigned order is the order of the doubles (-0 and +0 share
// one code, as they compare equal).
uint64_t OrderedBits(double d) {
  const uint64_t b = std::bit_cast<uint64_t>(d + 0.0);
  return (b >> 63) != 0 ? ~b : b | (uint64_t{1} << 63);
}

struct TKeyed {
  uint64_t Key;  // OrderedBits of the first key
  TPoint P;
};

// Stable least-significant-digit radix sort on Key, 16 bits a pass; a pass whose digit is the
// same for every record is skipped (the high digits of nearby keys mostly are).
void RadixSort(std::vector<TKeyed>& a) {
  std::vector<TKeyed> out(a.size());
  std::vector<size_t> start(size_t{1} << 16);
  for (int shift = 0; shift < 64; shift += 16) {
    std::fill(start.begin(), start.end(), 0);
    for (const TKeyed& r : a) ++start[(r.Key >> shift) & 0xFFFF];
    if (start[(a[0].Key >> shift) & 0xFFFF] == a.size()) continue;
    size_t sum = 0;
    for (size_t& c : start) sum += std::exchange(c, sum);
    for (const TKeyed& r : a) out[start[(r.Key >> shift) & 0xFFFF]++] = r;
    a.swap(out);
  }
}

// Sorts a run of points with equal first keys stably by the second key, computed once each.
void SortRunBySecondKey(TNube::iterator first, TNube::iterator last, double dirX, double dirY,
                        std::vector<std::pair<double, TPoint>>& run) {
  run.clear();
  for (auto it = first; it != last; ++it) run.emplace_back(KeyOf(*it, dirX, dirY).K2, *it);
  const auto less = [](const std::pair<double, TPoint>& a, const std::pair<double, TPoint>& b) {
    return a.first < b.first;
  };
  if (run.size() > 32) {
    std::stable_sort(run.begin(), run.end(), less);
  } else {  // insertion sort, stable, quicker on the short runs that are the rule
    for (size_t i = 1; i < run.size(); ++i)
      for (size_t j = i; j > 0 && less(run[j], run[j - 1]); --j) std::swap(run[j], run[j - 1]);
  }
  for (const auto& [k2, p] : run) *first++ = p;
}

// A stable sort by (k1, k2): a radix sort on k1, then each run of equal k1 sorted stably by k2.
// Small sets go straight to a comparison sort.
void StableSortByKeys(TNube& points, double dirX, double dirY) {
  const auto less = [dirX, dirY](TPoint a, TPoint b) {
    return KeyLess(KeyOf(a, dirX, dirY), KeyOf(b, dirX, dirY));
  };
  const size_t n = points.size();
  if (n < 4096) {
    std::stable_sort(points.begin(), points.end(), less);
    return;
  }
  std::vector<TKeyed> keyed(n);
  for (size_t i = 0; i < n; ++i)
    keyed[i] = {OrderedBits(KeyOf(points[i], dirX, dirY).K1), points[i]};
  RadixSort(keyed);
  for (size_t i = 0; i < n; ++i) points[i] = keyed[i].P;
  std::vector<std::pair<double, TPoint>> run;
  for (size_t i = 0; i < n;) {
    size_t j = i + 1;
    while (j < n && keyed[j].Key == keyed[i].Key) ++j;
    if (j - i > 1) SortRunBySecondKey(points.begin() + i, points.begin() + j, dirX, dirY, run);
    i = j;
  }
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
    const TSortKey head = KeyOf(points[i], dirX, dirY);
    int j = i + 1;
    while (j < n && SameKeys(head, KeyOf(points[j], dirX, dirY))) ++j;
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
  // Keys stay finite for every 32-bit point below this size of direction; beyond it (absurd
  // directions) they have no order, and the points are left as they are.
  const double limit = std::numeric_limits<double>::max() / 8589934592.0;
  if (!(std::abs(dirX) + std::abs(dirY) < limit)) return;
  const auto less = [dirX, dirY](TPoint a, TPoint b) {
    return KeyLess(KeyOf(a, dirX, dirY), KeyOf(b, dirX, dirY));
  };
  // A shown result is recomputed on every edit, mostly on points already in order.
  if (std::is_sorted(points.begin(), points.end(), less)) return;

  // Points with equal keys keep their order, so the dragged point ends as many places into its
  // run of equal keys as it was among them before.
  const int n = static_cast<int>(points.size());
  const bool tracked = draggedPoint >= 0 && draggedPoint < n;
  TPoint dragged;
  int rank = 0;
  if (tracked) {
    dragged = points[draggedPoint];
    for (int i = 0; i < draggedPoint; ++i)
      if (!less(points[i], dragged) && !less(dragged, points[i])) ++rank;
  }
  StableSortByKeys(points, dirX, dirY);
  if (tracked) {
    const auto run = std::lower_bound(points.begin(), points.end(), dragged, less);
    draggedPoint = static_cast<int>(run - points.begin()) + rank;
  }
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
