// Inside the flips unit: the plane embedding of an edge list (neighbours of each vertex by
// increasing raw angle, in flat arrays reused between searches) and the exact tests the flips
// share.
#pragma once

#include <span>
#include <vector>

#include "geometry/Tipos.h"
#include "methods/Verificador.h"

namespace qv {

// By increasing raw angle around o: the order of the neighbours in the maps below.
bool AngleLess(TPoint o, TPoint p, TPoint q);

// The vertices of the face to the left of u -> v, from u on, each next one found by Before;
// the walk stops after limit + 1 vertices, a length no face of a valid map reaches.
template <class TMap>
std::vector<int> FaceCycle(const TMap& map, int u, int v, size_t limit) {
  std::vector<int> out;
  int a = u, b = v;
  do {
    out.push_back(a);
    const int c = map.Before(b, a);
    a = b;
    b = c;
  } while ((a != u || b != v) && out.size() <= limit);
  return out;
}

class TFlipMap {
 public:
  // Rebuilds the embedding of edges (valid vertex indices) over points.
  void Build(const TNube& points, const std::vector<TEdge>& edges);
  std::span<const int> Around(int v) const {
    return {around_.data() + start_[v], around_.data() + start_[v + 1]};
  }
  // The neighbour of v just before (after) u by increasing raw angle, cyclically.
  int Before(int v, int u) const;
  int After(int v, int u) const;
  // The vertices of the face to the left of u -> v in the raw frame, from u on.
  std::vector<int> FaceVertices(int u, int v) const;

 private:
  int Position(int v, int u) const;
  std::vector<int> start_;
  std::vector<int> around_;
  std::vector<int> fill_;
};

// The same embedding kept across flips: each vertex's neighbours in a sorted array of their own,
// so that finding, adding and removing a neighbour costs a binary search and a shift of that
// vertex's list only.
class TLocalFlipMap {
 public:
  void Build(const TNube& points, const std::vector<TEdge>& edges);
  std::span<const int> Around(int v) const { return around_[v]; }
  int Before(int v, int u) const;
  std::vector<int> FaceVertices(int u, int v) const;
  bool Has(int u, int v) const;
  void Add(int u, int v);
  void Remove(int u, int v);
  // Every edge, sorted.
  std::vector<TEdge> Edges() const;

 private:
  // The position of u among v's neighbours, or the end when it is none.
  size_t Position(int v, int u) const;
  const TNube* points_ = nullptr;
  std::vector<std::vector<int>> around_;
  size_t halfEdges_ = 0;
};

// At least one neighbour, and one of them with all the others strictly on one side of the line
// through v and it: the neighbours then lie in an open half-plane, so some angle between
// consecutive edges at v exceeds 180 degrees.
bool PointedAround(const TNube& points, int v, std::span<const int> neighbours);

// PointedAround for neighbours given by increasing raw angle: only the ends of a gap of a
// half-turn or more can have all the others on one side, so the test costs O(neighbours).
bool PointedAroundSorted(const TNube& points, int v, std::span<const int> neighbours);

// Do the closed segments x-y and c-d meet anywhere but at a shared end? (Two segments from one
// end overlap when they point the same way along one line.)
bool SegmentsConflict(const TNube& points, int x, int y, int c, int d);

}  // namespace qv
