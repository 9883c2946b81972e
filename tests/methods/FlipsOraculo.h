// The breadth-first search of the flip graphs that keeps every vertex it has seen: slow and
// memory-hungry, but plainly right, so the reverse search is checked against it.
#pragma once

#include <algorithm>
#include <deque>
#include <set>
#include <vector>

#include "geometry/FuncionesMatematicas.h"
#include "methods/Flips.h"
#include "methods/FlipsMapa.h"

namespace qv::oracle {

// Breadth-first search of a flip graph: each vertex (a canonical edge list) is visited once;
// its neighbours are the lists one flip of an interior edge away.
template <class TNext>
uint64_t SearchFlipGraph(const TNube& points, const std::vector<TEdge>& start, TNext next,
                         const TVisitEdges& visit) {
  const std::vector<TEdge> hull = HullEdges(points);
  std::set<std::vector<TEdge>> seen{start};
  std::deque<const std::vector<TEdge>*> queue{&*seen.begin()};
  TFlipMap map;
  uint64_t visited = 0;
  for (; !queue.empty(); queue.pop_front()) {
    const std::vector<TEdge>& edges = *queue.front();
    ++visited;
    if (visit && !visit(edges)) return visited;
    map.Build(points, edges);
    for (const TEdge& e : edges) {
      if (std::binary_search(hull.begin(), hull.end(), e)) continue;
      const TEdge f = next(map, edges, e);
      if (f == kNoEdge) continue;
      std::vector<TEdge> flipped = edges;
      flipped.erase(std::lower_bound(flipped.begin(), flipped.end(), e));
      flipped.insert(std::lower_bound(flipped.begin(), flipped.end(), f), f);
      if (auto [it, isNew] = seen.insert(std::move(flipped)); isNew) queue.push_back(&*it);
    }
  }
  return visited;
}

inline uint64_t PointedPseudoTriangulations(const TNube& points, const TVisitEdges& visit = {}) {
  auto next = [&points, hull = HullEdges(points)](const TFlipMap&, const std::vector<TEdge>& edges,
                                                  TEdge e) {
    std::vector<TEdge> flipped = edges;
    return FlipPseudoTriangulationEdge(points, flipped, e, hull);
  };
  return SearchFlipGraph(points, SweepPseudoTriangulation(points), next, visit);
}

// The diagonal a-b of the triangles a b c (c left of a -> b) and b a d becomes c-d, but only
// when the quadrilateral a, c, b, d is strictly convex.
inline TEdge LawsonFlip(const TNube& points, const TFlipMap& map, TEdge e) {
  const int c = map.Before(e.B, e.A), d = map.Before(e.A, e.B);
  const TPoint a = points[e.A], b = points[e.B], pc = points[c], pd = points[d];
  if (OrientationSign(a, b, pc) * OrientationSign(a, b, pd) >= 0) return kNoEdge;
  if (OrientationSign(pc, pd, a) * OrientationSign(pc, pd, b) >= 0) return kNoEdge;
  return TEdge{std::min(c, d), std::max(c, d)};
}

inline uint64_t Triangulations(const TNube& points, const TVisitEdges& visit = {}) {
  auto next = [&](const TFlipMap& map, const std::vector<TEdge>&, TEdge e) {
    return LawsonFlip(points, map, e);
  };
  return SearchFlipGraph(points, SweepTriangulationEdges(points), next, visit);
}

}  // namespace qv::oracle
