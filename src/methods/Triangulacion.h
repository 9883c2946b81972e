// Triangulations other methods start from: the sweep triangulation of a point set, the
// Delaunay triangulation reached from any triangulation by edge flips, and the fan of a convex
// polygon from its vertex 0.
//
// Screen sense: y grows downwards; every face built or flipped here is a triangle whose cycle
// runs counterclockwise as displayed. Hull edges are single half-edges without twin.
#pragma once

#include "dcel/DCEL.h"
#include "geometry/Tipos.h"

namespace qv {

// Triangulates the points, inserted in index order, into the empty subdivision by a sweep
// from left to right: each point is joined to the chain of hull edges it sees.
//
// Precondition: at least 3 points, sorted ascending by x and, among equal x, descending by y.
// A point equal to the last inserted point is moved one pixel to the right (NudgePoint), in the
// point set itself, until it differs. A point on the line of a hull edge at the last inserted
// point is moved the same way where one pixel cures that without reordering the points or
// landing on the next one; otherwise it is inserted where it lies and the earlier point stays on
// the hull as a straight vertex. When points 0, 1, 2 are collinear the sweep starts from the fan
// of the first point off their line over the leading collinear run. draggedPoint, when given,
// keeps naming the same point through the nudges.
//
// Refusals (UserError; the subdivision is left empty):
//   every point on one line, checked before anything changes:
//     "At least 3 non-collinear points are needed."
//   a point equal to the one before it that cannot be moved (x at its largest value):
//     "No coincident points allowed."
void SweepTriangulation(TNube& points, TDCEL& subdivision, int* draggedPoint = nullptr);

// Moves point k one pixel to the right and then forward in the set past every point that now
// precedes it in the sweep order (smaller x, or equal x and larger y). The caller makes sure
// that x is below its largest value.
void NudgePoint(int k, TNube& points, int* draggedPoint = nullptr);

// Flips illegal edges until every inner edge is legal in the weak sense (no point strictly
// inside the circle across it). Every face must be a triangle. An edge that was flipped because
// its four points lie exactly on one circle is not flipped again while they still do (so five
// or more cocircular points, or a grid, cannot make the flips cycle); a flip across a point
// strictly inside the circle clears that mark.
void DelaunayFlips(const TNube& points, TDCEL& subdivision);

// Splits face 0, a convex polygon held as one boundary cycle with vertex 0 on it, into the fan
// of diagonals from vertex 0. Face 0 becomes the triangle at the first boundary edge after
// vertex 0; the other triangles follow around the polygon. A triangle is left alone.
void FanTriangulation(TDCEL& subdivision);

}  // namespace qv
