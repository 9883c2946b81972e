// The incremental pseudo-triangulation in two variants.
//
// Bounded face degree: a triangulation of the convex hull, chosen by the caller as a
// triangulation of an abstract convex n-gon, is installed on the hull; every other point is
// then located (jump and walk) and joined to two vertices of its face, so that each insertion
// cuts off one triangle or one four-vertex pseudo-triangle and the new point is pointed.
//
// Bounded vertex degree: the hull is decomposed face by face, from a work list, by convex
// chains through the points inside; every vertex counts the chains it ends, and a face with a
// vertex whose count reached 2 has that vertex's corner cut off instead of being split.
//
// Screen sense: y grows downwards; faces run counterclockwise as displayed; hull edges are
// single half-edges without twin; vertex i is point i.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "dcel/DCEL.h"
#include "geometry/BloquesXY.h"
#include "geometry/Pila.h"
#include "geometry/Tipos.h"

namespace qv {

// ---- Bounded face degree ------------------------------------------------------------------

// Replaces the hull held by pt (face 0, n boundary half-edges) by the chosen triangulation of
// the abstract n-gon: chosen vertex k stands for the hull vertex k steps after point 0 along
// the hull cycle, chosen half-edge k (k < n, leaving chosen vertex k) for the hull half-edge
// leaving that vertex. Diagonals keep their indices (n and up).
void InstallHullTriangulation(const TNube& points, const TDCEL& chosen, TDCEL& pt);

// True when point i is already a vertex of the subdivision.
bool IsVertexPresent(int i, const TDCEL& pt);

// Crossing-number test towards +x (half-open on the edges; exact for every 32-bit input).
bool PointInFace(const TNube& points, int f, TPoint p, const TDCEL& pt);

// What point location carries from one insertion to the next. The points arrive sorted by y,
// so the next point probably lies close to the last point received in its column of x (or, in
// a column that received none yet, to the last point received at all): the walk starts from a
// half-edge leaving that point, in the face of that half-edge. Every face stays a face and every
// half-edge keeps its point, so such a start never goes stale. Marks are the faces the current
// walk has entered (face f when Marks[f] equals Walk): a walk costs only the faces it enters.
struct TYSweep;
struct TLocator {
  bool StartAtPrevious = true;
  int PreviousEdge = kNone;
  std::vector<int> ColumnEdges;  // per column of x, kNone where no point was received yet
  int64_t Left = 0, Width = 1;   // the x range the columns divide
  std::vector<uint32_t> Marks;
  uint32_t Walk = 0;
  // With StartAtPrevious, the edges crossing the horizontal line through the last point
  // located, ordered by x: the face holding the next point (never above that line) lies beside
  // the edge nearest to it on the line. Built on first use from the subdivision, then kept up to
  // date by Received.
  std::shared_ptr<TYSweep> Sweep;
  // The hull boundary's points from point 0, taken at the first nudge: insertions never change it.
  std::vector<TPoint> Hull;

  // The column of x; on first use the x range of the points is divided into about the square
  // root of their number of columns.
  int Column(const TNube& points, int64_t x);
  // Point v was received by face f.
  void Received(const TNube& points, int v, int f, const TDCEL& pt);
};

// The face holding p by the crossing-number test: in a subdivision of the hull every point
// strictly inside the hull is held by exactly one face, so the answer does not depend on where
// the walk starts. With a locator that has received points, the walk starts near the last one of
// p's column (see TLocator); otherwise, or when that walk dead-ends, it starts from the face whose
// index is proportional to p's position along y (axis 'Y'; any other letter uses x) between the
// first and the last point. Each walk follows the segment from p to a vertex of its start face; one
// that dead-ends (the segment passes through a vertex) falls back to testing every face. Before
// any walk, a locator that starts at previous points asks its sweep line (see TLocator).
// facesEntered, when given, receives the number of faces the walks entered (0 when the first start
// face holds p).
int LocateFace(const TNube& points, TPoint p, const TDCEL& pt, char axis = 'Y',
               int* facesEntered = nullptr, TLocator* locator = nullptr);

// Whether point i lies on the supporting line of an edge of face f (the first one met from
// the face's half-edge), with flags for that edge's destination: same x, same y as the point.
struct TCollinearEdge {
  bool Found = false;
  bool SameX = false;
  bool SameY = false;
};
TCollinearEdge FindCollinearEdge(int i, int f, const TNube& points, const TDCEL& pt);

// Moves point i one pixel down (sameY) or right, then forward in the (y, x) order past the
// points it now follows; where that would leave the interior of the hull, one pixel up or left
// instead, then backward past the points it now precedes. The subdivision's vertices are
// renumbered along with the points and *draggedPoint keeps naming the same point. Returns the
// point's new index. When neither move stays inside the hull, fails and changes nothing.
// backwardFirst tries the backward move first; hull, when given, is the hull's boundary as
// HullBoundary lists it (otherwise the boundary is walked on each call).
int NudgeInsertPoint(int i, TNube& points, bool sameY, TDCEL& pt, int* draggedPoint = nullptr,
                     bool backwardFirst = false, const std::vector<TPoint>* hull = nullptr);

// Joins point i, strictly inside the triangle f, to the two vertices nearest to it.
void InsertInTriangle(int f, int i, const TNube& points, TDCEL& pt);
// The first vertex of f's cycle (from its face half-edge) where the boundary turns clockwise
// on the screen, or -1.
int FirstReflexVertex(int f, const TNube& points, const TDCEL& pt);
// Joins point i, strictly inside the pseudo-triangle f, to two vertices around its reflex
// vertex.
void InsertInReflexFace(int f, int i, const TNube& points, TDCEL& pt);

// Inserts point i: locates it, nudges it off edge lines and joins it by two edges. After a
// forward nudge the point now at index i, if not yet a vertex, is the one inserted; after a
// backward nudge the moved point is. A locator carries the face that received the point on to
// the next insertion.
void InsertPointBoundedFace(int i, TNube& points, TDCEL& pt, int* draggedPoint = nullptr,
                            TLocator* locator = nullptr);

// Rebuilds a hull face built by BuildHull through its corners only, dropping vertices with a
// straight angle (half-edge k then leaves the k-th corner after point 0). Points on hull edges
// become vertices later, in CompleteIncrementalFace.
void ReduceHullToCorners(const TNube& points, TDCEL& pt);

// The computing half of the driver. PrepareIncrementalFace sorts the points ascending by y,
// ties ascending by x (draggedPoint carried along), refuses coincident or collinear sets, and
// builds the hull of the points into pt with one vertex per corner; it returns the number of
// corners n, the size of the polygon the chosen triangulation must have (none is needed when
// n is 3). CompleteIncrementalFace installs the chosen triangulation, makes the points lying
// on hull edges vertices (each joined to the opposite corner of its triangle) and inserts
// every other point in index order, each located from the face that received the one before
// (from the estimated face alone when startAtPrevious is false; the result is the same).
int PrepareIncrementalFace(TNube& points, int& draggedPoint, TDCEL& pt);
void CompleteIncrementalFace(TNube& points, int& draggedPoint, const TDCEL& chosen, TDCEL& pt,
                             bool startAtPrevious = true);
// Both halves; choose(n) answers the triangulation of the n-gon and is called only for n > 3.
void ComputeIncrementalFace(TNube& points, int& draggedPoint,
                            const std::function<TDCEL(int)>& choose, TDCEL& pt);

// ---- Bounded vertex degree ----------------------------------------------------------------

struct TFaceSummary {
  int Count = 0;      // vertices on the cycle
  int Left = kNone;   // smallest x, ties the smallest index
  int Right = kNone;  // largest x, ties the largest index
};
TFaceSummary FaceSummary(int f, const TNube& points, const TDCEL& pt);

// True when no point with index from left to right lies strictly inside the convex face f.
bool FaceHasNoPoint(int f, int left, int right, const TNube& points, const TDCEL& pt);

// The vertex at position count / 2 when the two boundary chains leaving `left` are merged by x.
int MedianVertex(int f, int left, int count, const TNube& points, const TDCEL& pt);

// Pops one face from the work list and treats it (final, corner cut, or split). With a search
// (built on points, which must then be sorted ascending by x, ties descending by y, as
// ComputeIncrementalVertex sorts them), the chain steps search long index ranges in its runs
// sorted by y; without, they scan every range. The result is the same.
void ProcessFace(TPila& work, std::vector<int>& counters, TDCEL& pt, const TNube& points,
                 const TBlocksXY* search = nullptr);

// Decomposes face 0 (the hull) of pt. When counters is given it receives the chain counters.
// indexed: the chain steps search the points (sorted as ComputeIncrementalVertex sorts them)
// bucketed by x, then y, rather than scanning every index range; the result is the same.
void RunBoundedVertexDegree(const TNube& points, TDCEL& pt, std::vector<int>* counters = nullptr,
                            bool indexed = true);

// Rebuilds a hull face built by BuildHull so that every point lying on a hull edge is a vertex
// of it (BuildHull keeps only some of them); half-edge 0 keeps its origin.
void AddHullBoundaryVertices(const TNube& points, TDCEL& pt);

// The computing half of the driver: sorts the points ascending by x, ties descending by y
// (draggedPoint carried along), refuses coincident or collinear sets, builds the hull with
// every point on a hull edge as a vertex, and runs the decomposition (indexed as in
// RunBoundedVertexDegree).
void ComputeIncrementalVertex(TNube& points, int& draggedPoint, TDCEL& pt,
                              std::vector<int>* counters = nullptr, bool indexed = true);

}  // namespace qv
