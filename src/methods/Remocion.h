// Triangulate and remove: a triangulation becomes a pseudo-triangulation by deleting edges and
// then whole triangles, greedily and locally. Also the computing half of the method's driver,
// shared by the window and the command-line tool.
//
// Screen sense: y grows downwards; the subdivision has only bounded faces, all counterclockwise
// as displayed; a hull edge is a single half-edge without twin. Removal marks records and never
// renumbers.
#pragma once

#include <cstdint>

#include "dcel/DCEL.h"
#include "geometry/Tipos.h"

namespace qv {

// True when e has a twin in another face and deleting the edge makes exactly one of its two
// endpoints reflex (both of its angles there convex, together more than 180 degrees; exactly
// 180 does not count). Reads only the two faces at the edge, so it answers for the current,
// possibly merged, faces; a removed half-edge is never removable.
bool IsRemovableEdge(int e, const TNube& points, const TDCEL& subdivision);

// Deletes removable edges, from the highest-indexed initially removable one on, queueing the
// still-removable sides of every popped edge; each edge is tested again when popped.
void RemoveEdges(const TNube& points, TDCEL& subdivision);

// Visits the faces in index order and removes every inner triangle whose three neighbours are
// triangles and whose three vertices are reflex in the union of the four: the triangle and its
// three edges go, the four faces become one pseudo-triangle.
void RemoveTriangles(const TNube& points, TDCEL& subdivision);

// The live face f is a triangle.
bool IsTriangle(int f, const TDCEL& subdivision);

// The four variants of the method, in the order of their menu items.
enum class TRemocionVariant : uint8_t { Sweep, Delaunay, RemoveEdges, RemoveTriangles };

// The status text of a variant ("SWEEP LINE TRIANGULATION", ...).
const char* RemocionStatusText(TRemocionVariant variant);

// The computation of the triangulate-and-remove driver on the document: fewer than 3 points
// fail with "At least 3 points are needed." leaving everything untouched; otherwise pt is
// cleared, the points are sorted ascending by x, ties descending by y (draggedPoint carried
// along); when points 0, 1, 2 are collinear point 0 moves one pixel to the left and the points
// are sorted again; then the sweep triangulation (which may nudge points) and the variant's
// stages. Returns the number of points the nudges moved. A refusal of the sweep triangulation
// restores the coordinates the sort left and names coincident points before collinear ones.
int ComputeTriangulateRemove(TNube& points, TRemocionVariant variant, int& draggedPoint, TDCEL& pt);

}  // namespace qv
