// The computing half of the method drivers, shared by the window and the command-line tool:
// the sort along a direction, the sweep direction of a compass angle, the collinear-start nudge
// and the sweep-line computation.
#pragma once

#include <cstddef>

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
// (dirX, dirY) with draggedPoint carried along, coincident or all-collinear sets are refused,
// a collinear start is nudged (no sort again) and the pseudo-triangulation is built into pt.
// Where the nudge cannot serve (the start stays collinear, the moved point lands on another
// one or ahead of later points) it is undone and the sweep starts from the fan over the leading
// collinear run instead. Returns the number of points moved (0 or 1); a refusal moves none.
int ComputeSweepLine(TNube& points, double dirX, double dirY, int& draggedPoint, TDCEL& pt);

// Reports a driver's sort to the attached recorder, if any, as a step without edges: the points
// are now numbered 0 to count - 1 in the order named (as in "along the sweep direction").
void NoteSortedPoints(size_t count, const char* order);

// The number of points of after that are not where a point of before was: after is before
// with some points moved (and reordered), and each point of before is matched at most once.
int CountMovedPoints(const TNube& before, const TNube& after);

}  // namespace qv
