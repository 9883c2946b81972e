#include "geometry/BloquesXY.h"

#include <algorithm>
#include <cmath>

#include "geometry/FuncionesMatematicas.h"

namespace qv {
namespace {

bool IsCandidate(const TTurnQuery& q, int index, TPoint p) {
  if (index < q.Lo || index >= q.Hi) return false;
  if (index == q.Excluded[0] || index == q.Excluded[1] || index == q.Excluded[2]) return false;
  if (p == q.C || (q.SkipX && p.X == q.SkippedX)) return false;
  if (OrientationSign(q.C, q.T, p) != q.Sense) return false;
  for (int k = 0; k < q.HalfPlanes; ++k)
    if (OrientationSign(q.A[k], q.B[k], p) > 0) return false;
  return true;
}

// Candidate p (index) replaces the best so far when it turns further, or as far with a lower
// index.
bool Beats(const TTurnQuery& q, int index, TPoint p, int best, TPoint bestPoint) {
  if (best == kNone) return true;
  const int o = OrientationSign(q.C, bestPoint, p);
  return o == q.Sense || (o == 0 && index < best);
}

// The half-plane sense * OrientationSign(a, b, p) >= 0 as a bound on y over x (p.Y at least or
// at most Y0 + Slope * (p.X - X0)), or, for a vertical line, as a bound on x alone.
struct TBound {
  enum { kAbove, kBelow, kRight, kLeft, kAll } Kind = kAll;
  double X0 = 0, Y0 = 0, Slope = 0;
};

TBound BoundOf(TPoint a, TPoint b, int sense) {
  const double u = sense * (double{1} * b.X - a.X);  // the coefficient of p.Y - a.Y
  const double v = sense * (double{1} * a.Y - b.Y);  // the coefficient of p.X - a.X
  if (u != 0)
    return {u > 0 ? TBound::kAbove : TBound::kBelow, double{1} * a.X, double{1} * a.Y, -v / u};
  if (v != 0) return {v > 0 ? TBound::kRight : TBound::kLeft, double{1} * a.X, 0, 0};
  return {};
}

// Narrows [yLo, yHi] to the y the bound leaves over x in [x1, x2], with a margin for rounding
// (the line's y at x is below 2^31 away from Y0 plus the rounded slope term); false when the
// bound leaves no x of the range.
bool Narrow(const TBound& l, int32_t x1, int32_t x2, double& yLo, double& yHi) {
  switch (l.Kind) {
    case TBound::kAbove:
    case TBound::kBelow: {
      const double r1 = l.Y0 + l.Slope * (x1 - l.X0), r2 = l.Y0 + l.Slope * (x2 - l.X0);
      if (l.Kind == TBound::kAbove) {
        const double r = std::min(r1, r2);
        yLo = std::max(yLo, r - 1 - std::abs(r) * 0x1p-40);
      } else {
        const double r = std::max(r1, r2);
        yHi = std::min(yHi, r + 1 + std::abs(r) * 0x1p-40);
      }
      return true;
    }
    case TBound::kRight:
      return x2 >= l.X0;
    case TBound::kLeft:
      return x1 <= l.X0;
    default:
      return true;
  }
}

// The bounds of a query: the side of c -> t, the half-planes, and, once there is a best, the
// side of c -> best where candidates turn at least as far.
struct TBounds {
  std::array<TBound, 5> Lines;
  int Count = 0;
  void SetBest(const TTurnQuery& q, TPoint bestPoint) {
    Lines[static_cast<size_t>(1 + q.HalfPlanes)] = BoundOf(q.C, bestPoint, q.Sense);
    Count = 2 + q.HalfPlanes;
  }
};

TBounds BoundsOf(const TTurnQuery& q) {
  TBounds b;
  b.Lines[0] = BoundOf(q.C, q.T, q.Sense);
  for (int k = 0; k < q.HalfPlanes; ++k)
    b.Lines[static_cast<size_t>(1 + k)] = BoundOf(q.A[k], q.B[k], -1);
  b.Count = 1 + q.HalfPlanes;
  return b;
}

// Whether the box can hold a candidate that beats the best so far, and the y range the bounds
// leave over its x extent.
bool MayHoldInSlab(const TTurnQuery& q, const TBlocksXY::TBox& b, const TBounds& bounds,
                   double& yLo, double& yHi) {
  if (b.MaxIndex < q.Lo || b.MinIndex >= q.Hi) return false;
  if (q.SkipX && b.MinX == q.SkippedX && b.MaxX == q.SkippedX) return false;
  yLo = b.MinY;
  yHi = b.MaxY;
  for (int k = 0; k < bounds.Count; ++k)
    if (!Narrow(bounds.Lines[static_cast<size_t>(k)], b.MinX, b.MaxX, yLo, yHi)) return false;
  return yLo <= yHi;
}

TBlocksXY::TBox BoxOf(TPoint p, int index) {
  return {p.X, p.X, p.Y, p.Y, index, index};
}

void Include(TBlocksXY::TBox& b, const TBlocksXY::TBox& c) {
  b.MinX = std::min(b.MinX, c.MinX);
  b.MaxX = std::max(b.MaxX, c.MaxX);
  b.MinY = std::min(b.MinY, c.MinY);
  b.MaxY = std::max(b.MaxY, c.MaxY);
  b.MinIndex = std::min(b.MinIndex, c.MinIndex);
  b.MaxIndex = std::max(b.MaxIndex, c.MaxIndex);
}

}  // namespace

int WidestTurnByScan(const TNube& points, const TTurnQuery& q) {
  int best = kNone;
  const int lo = std::max(q.Lo, 0), hi = std::min(q.Hi, static_cast<int>(points.size()));
  for (int k = lo; k < hi; ++k)
    if (IsCandidate(q, k, points[k]) &&
        Beats(q, k, points[k], best, best == kNone ? TPoint{} : points[best]))
      best = k;
  return best;
}

TBlocksXY::TBlocksXY(const TNube& points) {
  const int n = static_cast<int>(points.size());
  ByY.reserve(points.size());
  for (int begin = 0; begin < n; begin += kBlock) {
    const int end = std::min(n, begin + kBlock);
    TBox run = BoxOf(points[begin], begin);
    for (int k = begin; k < end; ++k) {
      Include(run, BoxOf(points[k], k));
      ByY.push_back({points[k].Y, points[k].X, k});
    }
    std::sort(ByY.begin() + begin, ByY.end(), [](const TEntry& a, const TEntry& b) {
      return a.Y != b.Y ? a.Y < b.Y : a.Index < b.Index;
    });
    if (Runs.size() % kGroup == 0) Groups.push_back(run);
    Include(Groups.back(), run);
    Runs.push_back(run);
  }
}

int TBlocksXY::WidestTurn(const TTurnQuery& q) const {
  const int lo = std::max(q.Lo, 0), hi = std::min(q.Hi, static_cast<int>(ByY.size()));
  if (lo >= hi) return kNone;
  int best = kNone;
  TPoint bestPoint;
  TBounds bounds = BoundsOf(q);
  // Offers the candidates of run r in the y range the bounds leave over its x extent.
  const auto searchRun = [&](int r) {
    const TBox& b = Runs[static_cast<size_t>(r)];
    double yLo = 0, yHi = 0;
    if (!MayHoldInSlab(q, b, bounds, yLo, yHi)) return;
    const int before = best;
    const auto end = ByY.begin() + b.MaxIndex + 1;
    for (auto it = std::partition_point(ByY.begin() + b.MinIndex, end,
                                        [yLo](const TEntry& e) { return e.Y < yLo; });
         it != end && it->Y <= yHi; ++it) {
      const TPoint p{it->X, it->Y};
      if (Beats(q, it->Index, p, best, bestPoint) && IsCandidate(q, it->Index, p)) {
        best = it->Index;
        bestPoint = p;
      }
    }
    if (best != before) bounds.SetBest(q, bestPoint);
  };
  const int firstRun = lo / kBlock, lastRun = (hi - 1) / kBlock;
  const int firstGroup = firstRun / kGroup, lastGroup = lastRun / kGroup;
  // Runs are searched from the end of the range nearer to c in x, where the turns tend to be
  // widest, so that the best prunes early.
  const bool down = int64_t{q.C.X} - Runs[static_cast<size_t>(firstRun)].MinX >
                    int64_t{Runs[static_cast<size_t>(lastRun)].MaxX} - q.C.X;
  for (int i = firstGroup; i <= lastGroup; ++i) {
    const int g = down ? lastGroup - (i - firstGroup) : i;
    double yLo = 0, yHi = 0;
    if (!MayHoldInSlab(q, Groups[static_cast<size_t>(g)], bounds, yLo, yHi)) continue;
    const int r0 = std::max(firstRun, g * kGroup), r1 = std::min(lastRun, g * kGroup + kGroup - 1);
    for (int j = r0; j <= r1; ++j) searchRun(down ? r1 - (j - r0) : j);
  }
  return best;
}

}  // namespace qv
