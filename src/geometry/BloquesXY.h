// Points bucketed by x, then by y, for gift-wrapping steps over index ranges of points sorted by
// x: among the points of an index range that lie inside a few half-planes, the one seen from c
// at the largest turn away from c -> t.
//
// A step that scans its index range costs the range's length; on dense point sets (many points
// per column of x) the ranges of a decomposition's upper levels hold a large part of the set,
// and the steps of its many chains add up to far more than n log n. Here each run of kBlock
// consecutive indices (a few columns) is kept sorted by y: within a run, only the points whose y
// can lie in the half-planes (over the run's x extent) are looked at, and a run, or a group of
// runs, whose box cannot hold a point turning at least as far as the best found so far is
// passed over whole.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "geometry/Tipos.h"

namespace qv {

// The question of one gift-wrapping step. A candidate is a point whose index lies in [Lo, Hi)
// and is none of Excluded, that lies strictly on the side Sense of the line c -> t
// (OrientationSign(C, T, p) == Sense) and inside every closed half-plane
// OrientationSign(A[k], B[k], p) <= 0 (k < HalfPlanes), and, with SkipX, whose x is not SkippedX.
// Candidates lie in an open half-plane bounded by a line through c, so their directions from c
// are ordered: p turns further than q when OrientationSign(C, q, p) == Sense. The answer is the
// candidate turning furthest, the lowest index among those on one ray from c.
struct TTurnQuery {
  TPoint C, T;
  int Sense = 0;
  int Lo = 0, Hi = 0;
  std::array<int, 3> Excluded{kNone, kNone, kNone};
  std::array<TPoint, 3> A{}, B{};
  int HalfPlanes = 0;
  bool SkipX = false;
  int32_t SkippedX = 0;
};

// The answer by scanning the index range in order; kNone when there is no candidate.
int WidestTurnByScan(const TNube& points, const TTurnQuery& q);

class TBlocksXY {
 public:
  // The points are kept by index; later changes to them are not followed. Any order is correct;
  // points sorted by x make each run a narrow slab, which is what makes the search fast.
  explicit TBlocksXY(const TNube& points);
  // The same answer as WidestTurnByScan on the points the runs were built from.
  int WidestTurn(const TTurnQuery& q) const;

  // A box of points: their bounds and the bounds of their indices (a run: [MinIndex, MaxIndex]
  // are its slots in ByY).
  struct TBox {
    int32_t MinX = 0, MaxX = 0, MinY = 0, MaxY = 0;
    int MinIndex = 0, MaxIndex = 0;
  };

 private:
  struct TEntry {
    int32_t Y, X;
    int Index;
  };
  static constexpr int kBlock = 16;  // points in a run
  static constexpr int kGroup = 32;  // runs in a group
  std::vector<TBox> Runs, Groups;
  std::vector<TEntry> ByY;  // run r in slots [r * kBlock, ...), ascending y, ties by index
};

}  // namespace qv
