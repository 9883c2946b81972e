// The starts of the flip-graph searches and the subdivision of an edge list.
#include <algorithm>
#include <cassert>
#include <numeric>

#include "geometry/FuncionesMatematicas.h"
#include "methods/Flips.h"
#include "methods/FlipsMapa.h"

namespace qv {
namespace {

__extension__ using Int128 = __int128;

TEdge MakeEdge(int a, int b) {
  return TEdge{std::min(a, b), std::max(a, b)};
}

// Adds the points in lexicographic order; the hull is kept counterclockwise in the raw frame.
// Each new point sees a run of hull edges (it lies on their right); it is joined to the two
// ends of the run, or to every vertex of it, and replaces the run's inner vertices on the hull.
//
//     hull ... h0 --- h1 --- h2 ... hk ...        h0 ------- hk
//                \     |     /  /              -->   \      /
//                  \   |   /  /                        \  /
//                        p                              p
std::vector<TEdge> SweepEdges(const TNube& points, bool everyVisible) {
  std::vector<int> order(points.size());
  std::iota(order.begin(), order.end(), 0);
  std::ranges::sort(order, {}, [&](int i) { return points[i]; });
  std::vector<int> hull{order[0], order[1], order[2]};
  if (OrientationSign(points[hull[0]], points[hull[1]], points[hull[2]]) < 0)
    std::swap(hull[1], hull[2]);
  std::vector<TEdge> edges{MakeEdge(hull[0], hull[1]), MakeEdge(hull[1], hull[2]),
                           MakeEdge(hull[0], hull[2])};
  for (size_t k = 3; k < order.size(); ++k) {
    const int p = order[k], h = static_cast<int>(hull.size());
    auto sees = [&](int i) {
      return OrientationSign(points[hull[i % h]], points[hull[(i + 1) % h]], points[p]) < 0;
    };
    // The first hull edge p sees after one it does not: every point after the first three lies
    // outside the earlier hull, so some edge is seen and some is not.
    int first = 0;
    while (!(sees(first) && !sees(first + h - 1))) {
      ++first;
      assert(first < h);
    }
    int last = first;
    while (sees(last + 1)) ++last;
    for (int i = first; i <= last + 1; ++i)
      if (everyVisible || i == first || i == last + 1) edges.push_back(MakeEdge(p, hull[i % h]));
    std::vector<int> next{p};
    for (int i = last + 1; i <= first + h; ++i) next.push_back(hull[i % h]);
    hull = std::move(next);
  }
  std::sort(edges.begin(), edges.end());
  return edges;
}

}  // namespace

std::vector<TEdge> SweepPseudoTriangulation(const TNube& points) {
  return SweepEdges(points, false);
}

std::vector<TEdge> SweepTriangulationEdges(const TNube& points) {
  return SweepEdges(points, true);
}

// Half-edge 2i runs A -> B of edge i, 2i + 1 runs B -> A. Following each half-edge u -> v by
// v -> w, w the neighbour just after u by raw angle, walks every face with its interior on the
// right in the raw frame: counterclockwise on the screen. The outer face's walk is the one with
// positive raw area; its half-edges are dropped, leaving the hull edges without twin.
void BuildSubdivision(const TNube& points, const std::vector<TEdge>& edges, TDCEL& subdivision) {
  TFlipMap map;
  map.Build(points, edges);
  const int m = static_cast<int>(edges.size());
  auto origin = [&](int h) { return (h & 1) ? edges[h >> 1].B : edges[h >> 1].A; };
  auto find = [&](int u, int v) {
    const int i = static_cast<int>(std::lower_bound(edges.begin(), edges.end(), MakeEdge(u, v)) -
                                   edges.begin());
    return 2 * i + (u > v ? 1 : 0);
  };
  std::vector<int> next(2 * m), prev(2 * m), face(2 * m, kNone);
  for (int h = 0; h < 2 * m; ++h) {
    next[h] = find(origin(h ^ 1), map.After(origin(h ^ 1), origin(h)));
    prev[next[h]] = h;
  }
  std::vector<int> firsts;
  std::vector<bool> outer;
  for (int h = 0; h < 2 * m; ++h) {
    if (face[h] != kNone) continue;
    Int128 area = 0;
    for (int g = h; face[g] == kNone; g = next[g]) {
      face[g] = static_cast<int>(firsts.size());
      const TPoint p = points[origin(g)], q = points[origin(next[g])];
      area += Int128{p.X} * q.Y - Int128{q.X} * p.Y;
    }
    firsts.push_back(h);
    outer.push_back(area > 0);
  }
  // Dense numbering of the kept half-edges and faces.
  std::vector<int> newEdge(2 * m, kNone), newFace(firsts.size(), kNone);
  int edgeCount = 0, faceCount = 0;
  for (size_t f = 0; f < firsts.size(); ++f)
    if (!outer[f]) newFace[f] = faceCount++;
  for (int h = 0; h < 2 * m; ++h)
    if (!outer[face[h]]) newEdge[h] = edgeCount++;
  subdivision.Clear();
  subdivision.Vertices.assign(points.size(), kNone);
  subdivision.HalfEdges.resize(edgeCount);
  subdivision.Faces.resize(faceCount);
  for (int h = 0; h < 2 * m; ++h) {
    if (newEdge[h] == kNone) continue;
    subdivision.HalfEdges[newEdge[h]] =
        THalfEdge{origin(h), newEdge[prev[h]], newEdge[next[h]], newEdge[h ^ 1], newFace[face[h]]};
    subdivision.Vertices[origin(h)] = newEdge[h];
    if (firsts[face[h]] == h) subdivision.Faces[newFace[face[h]]] = newEdge[h];
  }
}

}  // namespace qv
