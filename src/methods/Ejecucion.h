// The computing half of the method drivers, shared by the window and the command-line tool:
// the sort along a direction, the sweep direction of a compass angle, the collinear-start nudge
// and the sweep-line computation.
#pragma once

#include "dcel/DCEL.h"
#include "geometry/Tipos.h"

namespace qv {

// Reorders points ascending by k1 = x*dirX + y*dirY, ties (k1 exactly equal) ascending by
// k2 = x*dirY - y*dirX, both in double precision; points with equal keys keep their order.
// draggedPoint (kNone for none) is carried along so that it names the same point afterwards.
// A direction so large that a key is not finite leaves the order unchanged.
void SortPointsByDirection(TNube& points, double dirX, double dirY, int& draggedPoint);

// The sweep direction of a compass angle in degrees (counterclockwise as displayed, 0 to the
// right, 90 up): cos and sin rounded to 10 decimal places give the signs of (dirX, -dirY); when
// both are non-zero the larger component is scaled so that the smaller one has magnitude 1.
void SweepDirectionFromAngle(int angleDeg, double& dirX, double& dirY);

// When points 0, 1, 2 are collinear, moves point 0 one pixel to the left (x - 1) and returns
// true. A point already at the smallest x cannot move and is left alone.
bool CollinearStart(TNube& points);

// Refuses, with the message the window shows, a point set no method can pseudo-triangulate:
// two coincident points ("No coincident points allowed.") or all points on one line ("At least
// 3 non-collinear points are needed."). The set must have been sorted with dirX, dirY.
void RefuseDegenerateSortedPoints(const TNube& points, double dirX, double dirY);

// The sweep-line computation on the document: fewer than 3 points fail with "At least 3 points
// are needed." leaving everything untouched; otherwise pt is cleared, points are sorted along
// (dirX, dirY) with draggedPoint carried along, degenerate sets are refused, a collinear start
// is nudged (no sort again) and the pseudo-triangulation is built into pt. The nudge can spoil
// the sweep order (a start still collinear, the moved point landing on another point or ahead
// of later points); such a run is refused and the nudge undone, so a refusal never moves a point:
// "At least 3 non-collinear points are needed." or "The points cannot be swept at this angle."
void ComputeSweepLine(TNube& points, double dirX, double dirY, int& draggedPoint, TDCEL& pt);

}  // namespace qv
