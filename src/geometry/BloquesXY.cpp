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

// The corner of the box [minX, maxX] x [minY, maxY] where sense * OrientationSign(a, b, p) is
// largest: a linear function of p, so the signs of its coefficients pick the corner.
TPoint LargestCorner(TPoint a, TPoint b, int sense, int32_t minX, int32_t maxX, int32_t minY,
                     int32_t maxY) {
  const int64_t alongY = sense * (int64_t{b.X} - a.X);  // the coefficient of p.Y
  const int64_t alongX = sense * (int64_t{a.Y} - b.Y);  // the coefficient of p.X
  return {alongX > 0 ? maxX : minX, alongY > 0 ? maxY : minY};
}

// Whether the box can hold a candidate that beats the best so far: every test is the sign
// of a linear function at the box corner where it is largest, so a box that fails one holds
// no point that passes it.
bool MayHold(const TTurnQuery& q, const TBlocksXY::TBox& b, int best, TPoint bestPoint) {
  if (b.MaxIndex < q.Lo || b.MinIndex >= q.Hi) return false;
  if (q.SkipX && b.MinX == q.SkippedX && b.MaxX == q.SkippedX) return false;
  if (q.Sense * OrientationSign(q.C, q.T,
                                LargestCorner(q.C, q.T, q.Sense, b.MinX, b.MaxX, b.MinY, b.MaxY)) <=
      0)
    return false;
  for (int k = 0; k < q.HalfPlanes; ++k)
    if (OrientationSign(q.A[k], q.B[k],
                        LargestCorner(q.A[k], q.B[k], -1, b.MinX, b.MaxX, b.MinY, b.MaxY)) > 0)
      return false;
  if (best == kNone) return true;
  const int further = q.Sense * OrientationSign(q.C, bestPoint,
                                                LargestCorner(q.C, bestPoint, q.Sense, b.MinX,
                                                              b.MaxX, b.MinY, b.MaxY));
  return further > 0 || (further == 0 && b.MinIndex < best);
}

// Narrows [yLo, yHi] to the y of the points p with x in [x1, x2] and
// sense * OrientationSign(a, b, p) >= 0 (with a margin for rounding).
void NarrowY(TPoint a, TPoint b, int sense, int32_t x1, int32_t x2, double& yLo, double& yHi) {
  const double u = sense * (double{1} * b.X - a.X);  // the coefficient of p.Y - a.Y
  const double v = sense * (double{1} * a.Y - b.Y);  // the coefficient of p.X - a.X
  if (u == 0) return;
  const double r1 = a.Y - v * (double{1} * x1 - a.X) / u, r2 = a.Y - v * (double{1} * x2 - a.X) / u;
  if (u > 0) {
    const double r = std::min(r1, r2);
    yLo = std::max(yLo, r - 1 - std::abs(r) * 0x1p-40);
  } else {
    const double r = std::max(r1, r2);
    yHi = std::min(yHi, r + 1 + std::abs(r) * 0x1p-40);
  }
}

// MayHold, and the y range the half-planes leave over the box's x extent meets the box's.
bool MayHoldInSlab(const TTurnQuery& q, const TBlocksXY::TBox& b, int best, TPoint bestPoint,
                   double& yLo, double& yHi) {
  if (!MayHold(q, b, best, bestPoint)) return false;
  yLo = b.MinY;
  yHi = b.MaxY;
  NarrowY(q.C, q.T, q.Sense, b.MinX, b.MaxX, yLo, yHi);
  for (int k = 0; k < q.HalfPlanes; ++k) NarrowY(q.A[k], q.B[k], -1, b.MinX, b.MaxX, yLo, yHi);
  if (best != kNone) NarrowY(q.C, bestPoint, q.Sense, b.MinX, b.MaxX, yLo, yHi);
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

void TBlocksXY::SearchRun(const TTurnQuery& q, int r, int& best, TPoint& bestPoint) const {
  const TBox& b = Runs[static_cast<size_t>(r)];
  double yLo = 0, yHi = 0;
  if (!MayHoldInSlab(q, b, best, bestPoint, yLo, yHi)) return;
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
}

int TBlocksXY::WidestTurn(const TTurnQuery& q) const {
  const int lo = std::max(q.Lo, 0), hi = std::min(q.Hi, static_cast<int>(ByY.size()));
  if (lo >= hi) return kNone;
  int best = kNone;
  TPoint bestPoint;
  const int firstRun = lo / kBlock, lastRun = (hi - 1) / kBlock;
  const int firstGroup = firstRun / kGroup, lastGroup = lastRun / kGroup;
  // Runs are searched from the end of the range nearer to c in x, where the turns tend to be
  // widest, so that the best prunes early.
  const bool down = int64_t{q.C.X} - Runs[static_cast<size_t>(firstRun)].MinX >
                    int64_t{Runs[static_cast<size_t>(lastRun)].MaxX} - q.C.X;
  for (int i = firstGroup; i <= lastGroup; ++i) {
    const int g = down ? lastGroup - (i - firstGroup) : i;
    double yLo = 0, yHi = 0;
    if (!MayHoldInSlab(q, Groups[static_cast<size_t>(g)], best, bestPoint, yLo, yHi)) continue;
    const int r0 = std::max(firstRun, g * kGroup), r1 = std::min(lastRun, g * kGroup + kGroup - 1);
    for (int j = r0; j <= r1; ++j) SearchRun(q, down ? r1 - (j - r0) : j, best, bestPoint);
  }
  return best;
}

}  // namespace qv
