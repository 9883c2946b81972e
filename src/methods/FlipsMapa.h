// Inside the flips unit: the plane embedding of an edge list (neighbours of each vertex by
// increasing raw angle, in flat arrays reused between searches) and the exact tests the flips
// share.
#pragma once

#include <span>
#include <vector>

#include "geometry/Tipos.h"
#include "methods/Verificador.h"

namespace qv {

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

// At least one neighbour, and one of them with all the others strictly on one side of the line
// through v and it: the neighbours then lie in an open half-plane, so some angle between
// consecutive edges at v exceeds 180 degrees.
bool PointedAround(const TNube& points, int v, std::span<const int> neighbours);

// Do the closed segments x-y and c-d meet anywhere but at a shared end? (Two segments from one
// end overlap when they point the same way along one line.)
bool SegmentsConflict(const TNube& points, int x, int y, int c, int d);

// The edge that replaces the interior edge e (kNoEdge when there is none or it is not unique),
// map being the embedding of edges.
TEdge NextPseudoTriangulation(const TNube& points, const TFlipMap& map,
                              const std::vector<TEdge>& edges, TEdge e);
TEdge NextTriangulation(const TNube& points, const TFlipMap& map, TEdge e);

}  // namespace qv
