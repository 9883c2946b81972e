// Sweep-line pseudo-triangulation: the points are inserted one at a time in sweep order; each
// new point is joined to the two points where its tangents touch the hull of the points before
// it, and the region between the point and the hull chain it sees becomes one new face.
#pragma once

#include "dcel/DCEL.h"
#include "geometry/Tipos.h"

namespace qv {

// Builds the sweep-line pseudo-triangulation of points, taken in their index order, into
// subdivision (its previous content is released). Vertex i is point i; face 0 is the
// triangle 0, 1, 2 and face f >= 1 the pseudo-triangle created by point f + 2; every face cycle
// runs counterclockwise on the screen and the twinless half-edges are the final hull. When the
// first points 0 .. m-1 (m >= 3) lie on one line, the first m - 1 faces are the triangles of
// point m over the segments of that run, and face f >= m - 1 is the one point f + 2 created;
// either way there are n - 2 faces and 2n - 3 edges.
//
// Every point from index 3 on (from m + 1 after a collinear run) must lie strictly outside the
// hull of the points before it, and a run must advance along its line (the order along a sweep
// direction gives both). Input that breaks this is refused with a UserError before the face
// that would be wrong is built, and subdivision is left empty (and valid):
//   fewer than 3 points                      "At least 3 points are needed."
//   a point equal to an earlier one           "No coincident points allowed."
//   all points on one line                    "At least 3 non-collinear points are needed."
//   a point on or inside the earlier hull     "The points cannot be swept at this angle."
void Sweep(const TNube& points, TDCEL& subdivision);

}  // namespace qv
