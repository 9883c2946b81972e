// Flips of pointed pseudo-triangulations and of triangulations, and the counts of both over a
// point set, by a search of their flip graphs.
//
// A pseudo-triangulation is held here as its canonical form: the sorted list of its edges
// (A < B, vertex i = point i). Two pseudo-triangulations are equal exactly when their lists are.
// The flips and counts assume points in general position (distinct, no three on a line); every
// entry point that a user can reach checks that first.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "dcel/DCEL.h"
#include "geometry/Tipos.h"
#include "methods/Verificador.h"

namespace qv {

// "No edge": what a flip returns when it cannot be made.
inline constexpr TEdge kNoEdge{kNone, kNone};

// True when every point of the set is the end of some edge and, at every point, two edges that
// are consecutive around it enclose an angle strictly larger than 180 degrees (hull points
// included; a point with one edge counts as pointed). Edges may be given in any order.
bool IsPointed(const TNube& points, const std::vector<TEdge>& edges);
bool IsPointed(const TNube& points, const TDCEL& subdivision);

// Distinct points, no three on one line.
bool InGeneralPosition(const TNube& points);

// The edges of the convex hull of points (at least 3, not all on a line), sorted.
std::vector<TEdge> HullEdges(const TNube& points);

// The inner edges of edges: those not on the hull (hull as given by HullEdges).
std::vector<TEdge> InteriorEdges(const std::vector<TEdge>& edges, const std::vector<TEdge>& hull);

// Flips the interior edge e of the pointed pseudo-triangulation edges (sorted): e is removed
// and the one segment of the geodesic between the two other corners of the pseudo-quadrilateral
// left behind is inserted, keeping the list sorted. Returns the inserted edge, or kNoEdge (the
// list untouched) when e is not an edge, is a hull edge, or the points are degenerate so that
// no single flip exists.
TEdge FlipPseudoTriangulationEdge(const TNube& points, std::vector<TEdge>& edges, TEdge e,
                                  const std::vector<TEdge>& hull);

// A pointed pseudo-triangulation kept for many flips, with the results of
// FlipPseudoTriangulationEdge: a flip costs about the sizes of the two faces it touches and the
// degrees of their corners (and a logarithm of the edge count), not the size of the set. Where
// points on a line meet at the flip, the checker still has the last word.
class TPseudoTriangulationFlipper {
 public:
  TPseudoTriangulationFlipper(const TNube& points, const std::vector<TEdge>& edges);
  ~TPseudoTriangulationFlipper();
  TPseudoTriangulationFlipper(const TPseudoTriangulationFlipper&) = delete;
  TPseudoTriangulationFlipper& operator=(const TPseudoTriangulationFlipper&) = delete;

  // The interior edges, as InteriorEdges lists them.
  size_t InteriorCount() const;
  TEdge Interior(size_t i) const;
  std::vector<TEdge> InteriorList() const;
  // As FlipPseudoTriangulationEdge.
  TEdge Flip(TEdge e);
  // The edges, sorted.
  std::vector<TEdge> Edges() const;

 private:
  struct TImpl;
  std::unique_ptr<TImpl> impl_;
};

// Starting points of the searches, for points in general position (at least 3): the points are
// added in lexicographic (x, y) order, each joined to the hull of those before it, to its two
// tangent points only (a pointed pseudo-triangulation) or to every hull point it sees (a
// triangulation).
std::vector<TEdge> SweepPseudoTriangulation(const TNube& points);
std::vector<TEdge> SweepTriangulationEdges(const TNube& points);

// Called with every pseudo-triangulation (or triangulation) found; returning false stops the
// search.
using TVisitEdges = std::function<bool(const std::vector<TEdge>&)>;
// Called now and then during a search with the number found so far.
using TSearchProgress = std::function<void(uint64_t)>;

// The largest set the searches take (one bit per point in a machine word).
inline constexpr int kMaxSearchedPoints = 64;

enum class TFlipGraph { Pointed, Triangulations };

// One run of a split search covers part Part (0 .. Parts - 1) of Parts disjoint parts, whose
// counts add up to the whole and whose listings together are the whole listing, on Threads
// threads. The parts and their order do not depend on Threads.
struct TSearchSplit {
  int Threads = 1;
  int Part = 0;
  int Parts = 1;
};

struct TSearchCallbacks {
  // Called first with the number of tasks the part is cut into.
  std::function<void(size_t tasks)> Begin;
  // Called with every element, on the thread running its task, in a fixed order within it.
  std::function<void(size_t task, const std::vector<TEdge>&)> Visit;
  // Called once per task after its last visit: one at a time, in increasing task order, so that
  // what the tasks made can be written in the one order every number of threads gives.
  std::function<void(size_t task)> TaskDone;
  // Called on the calling thread a few times a second with the number found so far.
  TSearchProgress Progress;
  // Set (by a callback, say) to end the search early; the number returned is then partial.
  const std::atomic<bool>* Stop = nullptr;
};

// Walks the flip graph's tree of parents (a reverse search: no set of visited ones, memory that
// grows with the number of points only), each vertex of the part visited once, and returns the
// number visited (all of the part unless Stop ended the search). Points in general position, at
// least 3, at most kMaxSearchedPoints.
uint64_t SearchFlipGraph(const TNube& points, TFlipGraph graph, const TSearchSplit& split,
                         const TSearchCallbacks& callbacks = {});

// Builds the subdivision of the pseudo-triangulation edges over points: one face per bounded
// face, every cycle counterclockwise on the screen, hull edges as single half-edges without
// twin, vertex i = point i. edges must be planar and connected, covering the hull.
void BuildSubdivision(const TNube& points, const std::vector<TEdge>& edges, TDCEL& subdivision);

}  // namespace qv
