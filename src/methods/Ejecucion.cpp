#include "methods/Ejecucion.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "geometry/CierreConvexo.h"
#include "geometry/FuncionesMatematicas.h"
#include "geometry/UserError.h"
#include "methods/Barrido.h"
#include "methods/Pasos.h"

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

constexpr int kDigitBits = 16;
// Only the high 32 bits of the code are radix-sorted (sign, exponent and 20 bits of mantissa:
// every integer key below 2^20 exactly, other keys to about one part in a million); points whose
// codes agree there are finished by a comparison sort of their short runs.
constexpr int kLowestDigit = 2;  // of the four 16-bit digits, 0 the lowest
constexpr size_t kBuckets = size_t{1} << kDigitBits;

size_t Digit(uint64_t key, int pass) {
  return static_cast<size_t>(key >> (pass * kDigitBits)) & (kBuckets - 1);
}

// Stable least-significant-digit radix sort of the points on the high half of the code of their
// first key, 16 bits a pass. The histograms come from one read of the points; a digit the same
// for every point needs no pass. The first pass reads the points and the last one writes them,
// so the sort needs one buffer.
void RadixSortByFirstKey(TNube& points, double dirX, double dirY) {
  const size_t n = points.size();
  const auto code = [dirX, dirY](TPoint p) { return OrderedBits(KeyOf(p, dirX, dirY).K1); };
  // start[(d - kLowestDigit) * kBuckets + b]: count, then first slot, of bucket b in pass d.
  std::vector<size_t> start((4 - kLowestDigit) * kBuckets, 0);
  const auto slots = [&start](int d) { return &start[(d - kLowestDigit) * kBuckets]; };
  for (TPoint p : points) {
    const uint64_t key = code(p);
    for (int d = kLowestDigit; d < 4; ++d) ++slots(d)[Digit(key, d)];
  }
  std::vector<int> passes;
  const uint64_t key0 = code(points[0]);
  for (int d = kLowestDigit; d < 4; ++d)
    if (slots(d)[Digit(key0, d)] != n) passes.push_back(d);
  for (int d : passes) {
    size_t sum = 0;
    for (size_t b = 0; b < kBuckets; ++b) sum += std::exchange(slots(d)[b], sum);
  }
  std::vector<TKeyed> from, to;
  for (size_t i = 0; i < passes.size(); ++i) {
    const int d = passes[i];
    size_t* slot = slots(d);
    const bool first = i == 0, last = i + 1 == passes.size();
    if (first && last) {
      TNube out(n);
      for (TPoint p : points) out[slot[Digit(code(p), d)]++] = p;
      points.swap(out);
    } else if (first) {
      to.resize(n);
      for (TPoint p : points) {
        const uint64_t key = code(p);
        to[slot[Digit(key, d)]++] = {key, p};
      }
    } else if (last) {
      for (const TKeyed& r : from) points[slot[Digit(r.Key, d)]++] = r.P;
    } else {
      to.resize(n);
      for (const TKeyed& r : from) to[slot[Digit(r.Key, d)]++] = r;
    }
    from.swap(to);
  }
}

// Sorts a run of points stably by (k1, k2), each key computed once.
void SortRunByKeys(TNube::iterator first, TNube::iterator last, double dirX, double dirY,
                   std::vector<std::pair<TSortKey, TPoint>>& run) {
  run.clear();
  for (auto it = first; it != last; ++it) run.emplace_back(KeyOf(*it, dirX, dirY), *it);
  const auto less = [](const std::pair<TSortKey, TPoint>& a, const std::pair<TSortKey, TPoint>& b) {
    return KeyLess(a.first, b.first);
  };
  if (run.size() > 32) {
    std::stable_sort(run.begin(), run.end(), less);
  } else {  // insertion sort, stable, quicker on the short runs that are the rule
    for (size_t i = 1; i < run.size(); ++i)
      for (size_t j = i; j > 0 && less(run[j], run[j - 1]); --j) std::swap(run[j], run[j - 1]);
  }
  for (const auto& [keys, p] : run) *first++ = p;
}

// A stable sort by (k1, k2): a radix sort on the high half of k1's code, then each run of equal
// high halves sorted stably by both keys. Small sets go straight to a comparison sort.
void StableSortByKeys(TNube& points, double dirX, double dirY) {
  const auto less = [dirX, dirY](TPoint a, TPoint b) {
    return KeyLess(KeyOf(a, dirX, dirY), KeyOf(b, dirX, dirY));
  };
  const size_t n = points.size();
  if (n < 4096) {
    std::stable_sort(points.begin(), points.end(), less);
    return;
  }
  RadixSortByFirstKey(points, dirX, dirY);
  std::vector<std::pair<TSortKey, TPoint>> run;
  const auto high = [dirX, dirY](TPoint p) { return OrderedBits(KeyOf(p, dirX, dirY).K1) >> 32; };
  for (size_t i = 0; i < n;) {
    size_t j = i + 1;
    const uint64_t h = high(points[i]);
    while (j < n && high(points[j]) == h) ++j;
    if (j - i > 1) SortRunByKeys(points.begin() + i, points.begin() + j, dirX, dirY, run);
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
      std::sort(run.begin(), run.end());
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

void NoteSortedPoints(size_t count, const char* order) {
  if (TRecorder* recorder = ActiveRecorder())
    recorder->Step({}, {}, "Points numbered 0 to " + std::to_string(count - 1) + " " + order);
}

int ComputeSweepLine(TNube& points, double dirX, double dirY, int& draggedPoint, TDCEL& pt) {
  if (points.size() < 3) throw UserError("At least 3 points are needed.");
  pt.Clear();
  SortPointsByDirection(points, dirX, dirY, draggedPoint);
  RefuseDegenerateSortedPoints(points, dirX, dirY);
  NoteSortedPoints(points.size(), "along the sweep direction");
  TRecorder* const recorder = ActiveRecorder();
  const size_t sorted = recorder ? recorder->Size() : 0;
  if (CollinearStart(points)) {
    // The set has no coincident points, so one now can only be the moved point's doing.
    const bool usable = Orientation(points[0], points[1], points[2]) != Collinear &&
                        std::find(points.begin() + 1, points.end(), points[0]) == points.end();
    if (usable) {
      if (recorder)
        recorder->Step({}, {},
                       "Point {0} moved one pixel left: points {0}, {1} and {2} were on one line",
                       {0, 1, 2});
      try {
        Sweep(points, pt);
        return 1;
      } catch (const UserError&) {
        // The moved point fell behind later ones: the fan start needs no move.
        if (recorder) recorder->Truncate(sorted);
      }
    }
    points[0].X += 1;
  }
  Sweep(points, pt);
  return 0;
}

namespace {

// Walks two lists sorted by the same strict order of the coordinates: every point of after
// without a partner in before has moved.
template <typename Less>
int CountUnmatched(const TNube& before, const TNube& after, Less less) {
  int moved = 0;
  size_t i = 0;
  for (const TPoint q : after) {
    while (i < before.size() && less(before[i], q)) ++i;
    if (i < before.size() && before[i] == q)
      ++i;
    else
      ++moved;
  }
  return moved;
}

}  // namespace

int CountMovedPoints(const TNube& before, const TNube& after) {
  if (before == after) return 0;
  // The count does not depend on the order the walk uses, only on both lists following it. The
  // sweep keeps its points in sweep order (ascending x, ties descending y) through the nudges,
  // so both lists usually come sorted already; otherwise sort copies.
  const auto sweep = [](TPoint a, TPoint b) { return a.X != b.X ? a.X < b.X : a.Y > b.Y; };
  if (std::is_sorted(before.begin(), before.end(), sweep) &&
      std::is_sorted(after.begin(), after.end(), sweep))
    return CountUnmatched(before, after, sweep);
  TNube a = before, b = after;
  std::sort(a.begin(), a.end());
  std::sort(b.begin(), b.end());
  return CountUnmatched(a, b, std::less<TPoint>());
}

}  // namespace qv
