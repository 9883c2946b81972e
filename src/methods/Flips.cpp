// Flips on the edge-list form. Every geometric decision is an exact orientation sign.
//
// Frame: raw coordinates (x right, y down). OrientationSign(o, p, q) > 0 when q lies
// counterclockwise of p around o in that frame. Around each vertex the neighbours are kept by
// increasing raw angle; the face to the left of u -> v then continues with v -> w, w the
// neighbour of v just before u in that order.
#include "methods/Flips.h"

#include <ext/pb_ds/assoc_container.hpp>
#include <ext/pb_ds/tree_policy.hpp>

#include <algorithm>
#include <cassert>

#include "geometry/FuncionesMatematicas.h"
#include "methods/FlipsMapa.h"

namespace qv {
namespace {

// Does the new segment x-y keep x pointed? x keeps its neighbours but dropped (the far end of
// the edge being flipped, or kNone).
// The neighbours stay in angular order (y put in its place), so the test is linear in x's degree.
template <class TMap>
bool PointedWith(const TNube& points, const TMap& map, int x, int dropped, int y,
                 std::vector<int>& scratch) {
  scratch.clear();
  bool placed = false;
  for (int w : map.Around(x)) {
    if (w == dropped) continue;
    if (!placed && AngleLess(points[x], points[y], points[w])) {
      scratch.push_back(y);
      placed = true;
    }
    scratch.push_back(w);
  }
  if (!placed) scratch.push_back(y);
  return PointedAroundSorted(points, x, scratch);
}

bool SameEdge(TEdge e, int x, int y) {
  return e.A == std::min(x, y) && e.B == std::max(x, y);
}

// Is y strictly inside the wedge swept counterclockwise (raw frame) from q to p around o?
// q == p: everything but the direction of q (the two sides of a dangling edge).
bool InWedge(const TNube& points, int o, int q, int p, int y) {
  const TPoint po = points[o], pq = points[q], pp = points[p], py = points[y];
  if (q == p) return !SegmentsConflict(points, o, y, o, q);
  const int turn = OrientationSign(po, pq, pp);
  if (turn > 0) return OrientationSign(po, pq, py) > 0 && OrientationSign(po, py, pp) > 0;
  if (turn < 0) return !(OrientationSign(po, pp, py) >= 0 && OrientationSign(po, py, pq) >= 0);
  return OrientationSign(po, pq, py) > 0;
}

// The pointed pseudo-triangulations containing E - e are exactly two: E, and E - e + f for the
// one segment f of the geodesic between the other two corners of the pseudo-quadrilateral Q left
// by the removal (every pointed non-crossing graph on 2n - 3 edges is a pointed
// pseudo-triangulation). f lies inside Q, so its ends are vertices of Q:
//
//        c1 ______ c2            c1 ______ c2
//          \  e  ./                \.   ./
//           \  ./    flip  -->      \ f/ .
//            \/ ___/                /\ ___/
//           c4 '  c3               c4 '  c3
//
// Q's boundary walk (interior on the left) is the two faces' walks without e. A segment from
// a vertex x of the walk that starts into Q (inside the wedge of Q at one visit of x) and meets
// no edge of the walk stays inside Q, so it meets no edge at all. The search keeps those pairs
// whose segment leaves both ends pointed; in general position exactly one pair remains.
//
// has(f) tells whether f is already an edge; walkOut, when given, receives Q's walk.
template <class TMap, class THas>
TEdge FindPseudoTriangulationFlip(const TNube& points, const TMap& map, THas has, TEdge e,
                                  std::vector<int>* walkOut = nullptr) {
  const std::vector<int> left = map.FaceVertices(e.A, e.B), right = map.FaceVertices(e.B, e.A);
  std::vector<int> local;
  std::vector<int>& walk = walkOut ? *walkOut : local;
  walk.assign(left.begin() + 1, left.end());
  walk.insert(walk.end(), right.begin() + 1, right.end());
  const int k = static_cast<int>(walk.size());
  auto at = [&](int i) { return walk[(i + k) % k]; };
  std::vector<int> scratch;
  TEdge found = kNoEdge;
  auto dropped = [&](int v) { return v == e.A ? e.B : (v == e.B ? e.A : kNone); };
  for (int i = 0; i < k; ++i) {
    const int x = walk[i];
    for (int j = 0; j < k; ++j) {
      const int y = walk[j];
      if (x == y || y == at(i - 1) || y == at(i + 1) || SameEdge(e, x, y) ||
          !InWedge(points, x, at(i + 1), at(i - 1), y))
        continue;
      const TEdge f{std::min(x, y), std::max(x, y)};
      if (f == found || has(f)) continue;
      if (!PointedWith(points, map, x, dropped(x), y, scratch) ||
          !PointedWith(points, map, y, dropped(y), x, scratch))
        continue;
      bool free = true;
      for (int s = 0; s < k && free; ++s)
        free = !SegmentsConflict(points, x, y, walk[s], at(s + 1));
      if (!free) continue;
      if (found != kNoEdge) return kNoEdge;  // degenerate points: no single flip
      found = f;
    }
  }
  return found;
}

// Replaces e by f in the sorted list, keeping it sorted.
void Replace(std::vector<TEdge>& edges, TEdge e, TEdge f) {
  edges.erase(std::lower_bound(edges.begin(), edges.end(), e));
  edges.insert(std::lower_bound(edges.begin(), edges.end(), f), f);
}

bool IsInterior(const std::vector<TEdge>& edges, TEdge e, const std::vector<TEdge>& hull) {
  return std::binary_search(edges.begin(), edges.end(), e) &&
         !std::binary_search(hull.begin(), hull.end(), e);
}

TEdge Normalised(TEdge e) {
  return TEdge{std::min(e.A, e.B), std::max(e.A, e.B)};
}

// In the sorted list of edges.
auto InList(const std::vector<TEdge>& edges) {
  return [&edges](TEdge f) { return std::binary_search(edges.begin(), edges.end(), f); };
}

}  // namespace

TEdge FlipPseudoTriangulationEdge(const TNube& points, std::vector<TEdge>& edges, TEdge e,
                                  const std::vector<TEdge>& hull) {
  e = Normalised(e);
  if (!IsInterior(edges, e, hull)) return kNoEdge;
  TFlipMap map;
  map.Build(points, edges);
  const TEdge f = FindPseudoTriangulationFlip(points, map, InList(edges), e);
  if (f == kNoEdge) return kNoEdge;
  // Points on a line can leave one candidate that is still no pseudo-triangulation: the
  // checker has the last word, and such an edge stays put.
  std::vector<TEdge> result = edges;
  Replace(result, e, f);
  if (!CheckPseudoTriangulation(points, result).Valid) return kNoEdge;
  edges = std::move(result);
  return f;
}

// The interior edges in a balanced tree that also finds the i-th by sorted order.
using TEdgeTree =
    __gnu_pbds::tree<TEdge, __gnu_pbds::null_type, std::less<TEdge>, __gnu_pbds::rb_tree_tag,
                     __gnu_pbds::tree_order_statistics_node_update>;

struct TPseudoTriangulationFlipper::TImpl {
  const TNube& Points;
  std::vector<TEdge> Hull;
  TLocalFlipMap Map;
  TEdgeTree Inner;
  bool Valid = false;  // the start passed the checker: the local tests can then decide
  std::vector<int> Walk;
};

TPseudoTriangulationFlipper::TPseudoTriangulationFlipper(const TNube& points,
                                                         const std::vector<TEdge>& edges)
    : impl_(new TImpl{points, HullEdges(points), {}, {}, false, {}}) {
  impl_->Map.Build(points, edges);
  for (const TEdge& e : InteriorEdges(edges, impl_->Hull)) impl_->Inner.insert(e);
  impl_->Valid = CheckPseudoTriangulation(points, edges).Valid;
}

TPseudoTriangulationFlipper::~TPseudoTriangulationFlipper() = default;

size_t TPseudoTriangulationFlipper::InteriorCount() const {
  return impl_->Inner.size();
}

TEdge TPseudoTriangulationFlipper::Interior(size_t i) const {
  return *impl_->Inner.find_by_order(i);
}

std::vector<TEdge> TPseudoTriangulationFlipper::InteriorList() const {
  return std::vector<TEdge>(impl_->Inner.begin(), impl_->Inner.end());
}

std::vector<TEdge> TPseudoTriangulationFlipper::Edges() const {
  return impl_->Map.Edges();
}

TEdge TPseudoTriangulationFlipper::Flip(TEdge e) {
  TImpl& m = *impl_;
  e = Normalised(e);
  if (m.Inner.find(e) == m.Inner.end()) return kNoEdge;
  const TLocalFlipMap& map = m.Map;
  const TEdge f = FindPseudoTriangulationFlip(
      m.Points, map, [&map](TEdge g) { return map.Has(g.A, g.B); }, e, &m.Walk);
  if (f == kNoEdge) return kNoEdge;
  // With no straight corner on Q's walk (a dangling end, left by a vertex of degree two, is
  // no corner) and no walk vertex on the line of the new edge, the faces either side of it are
  // pseudo-triangles and every vertex stays pointed, as in general position. Anything else goes
  // to the checker, as a single flip does.
  bool general = m.Valid;
  const size_t k = m.Walk.size();
  for (size_t i = 0; i < k && general; ++i) {
    const int w = m.Walk[i], prev = m.Walk[(i + k - 1) % k], next = m.Walk[(i + 1) % k];
    general =
        (prev == next || OrientationSign(m.Points[prev], m.Points[w], m.Points[next]) != 0) &&
        (w == f.A || w == f.B || OrientationSign(m.Points[f.A], m.Points[f.B], m.Points[w]) != 0);
  }
  if (!general) {
    std::vector<TEdge> result = m.Map.Edges();
    Replace(result, e, f);
    if (!CheckPseudoTriangulation(m.Points, result).Valid) return kNoEdge;
  }
  m.Map.Remove(e.A, e.B);
  m.Map.Add(f.A, f.B);
  m.Inner.erase(e);
  if (!std::binary_search(m.Hull.begin(), m.Hull.end(), f)) m.Inner.insert(f);
  return f;
}

std::vector<TEdge> InteriorEdges(const std::vector<TEdge>& edges, const std::vector<TEdge>& hull) {
  std::vector<TEdge> out;
  for (const TEdge& e : edges)
    if (!std::binary_search(hull.begin(), hull.end(), e)) out.push_back(e);
  return out;
}

bool IsPointed(const TNube& points, const std::vector<TEdge>& edges) {
  std::vector<std::vector<int>> around(points.size());
  for (const TEdge& e : edges) {
    if (e.A < 0 || e.B < 0 || e.A >= static_cast<int>(points.size()) ||
        e.B >= static_cast<int>(points.size()) || e.A == e.B)
      return false;
    around[e.A].push_back(e.B);
    around[e.B].push_back(e.A);
  }
  for (int v = 0; v < static_cast<int>(points.size()); ++v)
    if (around[v].empty() || !PointedAround(points, v, around[v])) return false;
  return true;
}

bool IsPointed(const TNube& points, const TDCEL& subdivision) {
  return IsPointed(points, EdgeList(subdivision));
}

}  // namespace qv
