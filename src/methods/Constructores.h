// The builders that start a subdivision from points: the convex hull, a polygon, or one
// boundary cycle of an existing subdivision.
#pragma once

#include "dcel/DCEL.h"
#include "geometry/Tipos.h"

namespace qv {

// Builds the convex hull of the points as face 0 of an empty subdivision, counterclockwise on
// the screen: right-hand chain half-edges first (top down), then the left-hand chain.
// Does nothing for fewer than 3 points or a non-empty subdivision, and leaves the subdivision
// empty when every point lies on one line.
void BuildHull(const TNube& points, TDCEL& subdivision);
// Builds the polygon through the points in their order as face 0 of an empty subdivision:
// half-edge i runs from vertex i to vertex i + 1 (the last back to 0).
void BuildPolygon(const TNube& polygon, TDCEL& subdivision);
// Replaces the subdivision by its face cycle through half-edge 0, renumbered from the
// destination of the old half-edge 0, with a vertex slot for every point.
void ReduceToBoundary(const TNube& points, TDCEL& subdivision);

}  // namespace qv
