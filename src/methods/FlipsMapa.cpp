// The embedding of an edge list and the exact tests behind the flips (raw frame: x right,
// y down; OrientationSign(o, p, q) > 0 when q is counterclockwise of p around o in it).
#include "methods/FlipsMapa.h"

#include <algorithm>
#include <numeric>

#include "geometry/FuncionesMatematicas.h"
#include "methods/Flips.h"

namespace qv {
namespace {

__extension__ using Int128 = __int128;

// p lies in the later half-plane around o, raw angles [180, 360): above it on the screen, or
// level with it on the left.
bool LaterHalf(TPoint o, TPoint p) {
  return p.Y < o.Y || (p.Y == o.Y && p.X < o.X);
}

Int128 Dot(TPoint o, TPoint p, TPoint q) {
  return Int128{int64_t{p.X} - o.X} * (int64_t{q.X} - o.X) +
         Int128{int64_t{p.Y} - o.Y} * (int64_t{q.Y} - o.Y);
}

bool Between(int32_t a, int32_t b, int32_t c, int32_t d) {  // [a, b] meets [c, d]
  return std::max(std::min(a, b), std::min(c, d)) <= std::min(std::max(a, b), std::max(c, d));
}

}  // namespace

bool AngleLess(TPoint o, TPoint p, TPoint q) {
  const bool lp = LaterHalf(o, p);
  if (lp != LaterHalf(o, q)) return !lp;
  return OrientationSign(o, p, q) > 0;
}

void TFlipMap::Build(const TNube& points, const std::vector<TEdge>& edges) {
  const int n = static_cast<int>(points.size());
  start_.assign(n + 2, 0);
  for (const TEdge& e : edges) {
    ++start_[e.A + 2];
    ++start_[e.B + 2];
  }
  std::partial_sum(start_.begin(), start_.end(), start_.begin());
  around_.resize(2 * edges.size());
  for (const TEdge& e : edges) {
    around_[start_[e.A + 1]++] = e.B;
    around_[start_[e.B + 1]++] = e.A;
  }
  start_.pop_back();  // start_[v] .. start_[v + 1] now holds v's neighbours
  for (int v = 0; v < n; ++v)
    std::sort(around_.begin() + start_[v], around_.begin() + start_[v + 1],
              [&](int p, int q) { return AngleLess(points[v], points[p], points[q]); });
}

int TFlipMap::Position(int v, int u) const {
  for (int i = start_[v]; i < start_[v + 1]; ++i)
    if (around_[i] == u) return i;
  return kNone;
}

int TFlipMap::Before(int v, int u) const {
  const int i = Position(v, u);
  return around_[i == start_[v] ? start_[v + 1] - 1 : i - 1];
}

int TFlipMap::After(int v, int u) const {
  const int i = Position(v, u);
  return around_[i + 1 == start_[v + 1] ? start_[v] : i + 1];
}

std::vector<int> TFlipMap::FaceVertices(int u, int v) const {
  return FaceCycle(*this, u, v, around_.size());
}

namespace {

// Every neighbour but p strictly on one side of the line through v and p.
bool OthersOnOneSide(const TNube& points, int v, int p, std::span<const int> neighbours) {
  const TPoint o = points[v];
  int side = 0;
  for (int q : neighbours) {
    if (q == p) continue;
    const int s = OrientationSign(o, points[p], points[q]);
    if (s == 0 || (side != 0 && s != side)) return false;
    side = s;
  }
  return true;
}

}  // namespace

bool PointedAround(const TNube& points, int v, std::span<const int> neighbours) {
  for (int p : neighbours)
    if (OthersOnOneSide(points, v, p, neighbours)) return true;
  return false;
}

bool PointedAroundSorted(const TNube& points, int v, std::span<const int> neighbours) {
  // A p with every other neighbour strictly counterclockwise within a half-turn follows a gap
  // of more than a half-turn; one with them all clockwise precedes one.
  const size_t k = neighbours.size();
  if (k <= 1) return k == 1;
  for (size_t i = 0; i < k; ++i) {
    const int a = neighbours[i], b = neighbours[(i + 1) % k];
    if (OrientationSign(points[v], points[a], points[b]) > 0) continue;
    if (OthersOnOneSide(points, v, b, neighbours) || OthersOnOneSide(points, v, a, neighbours))
      return true;
  }
  return false;
}

void TLocalFlipMap::Build(const TNube& points, const std::vector<TEdge>& edges) {
  points_ = &points;
  TFlipMap map;
  map.Build(points, edges);
  around_.assign(points.size(), {});
  halfEdges_ = 2 * edges.size();
  for (size_t v = 0; v < points.size(); ++v) {
    const std::span<const int> a = map.Around(static_cast<int>(v));
    around_[v].assign(a.begin(), a.end());
  }
}

size_t TLocalFlipMap::Position(int v, int u) const {
  const std::vector<int>& a = around_[v];
  const TNube& p = *points_;
  auto it = std::lower_bound(a.begin(), a.end(), u,
                             [&](int x, int y) { return AngleLess(p[v], p[x], p[y]); });
  // Neighbours in one direction (only on overlapping edges) compare equal: look along them.
  while (it != a.end() && *it != u && !AngleLess(p[v], p[u], p[*it])) ++it;
  if (it != a.end() && *it == u) return static_cast<size_t>(it - a.begin());
  return a.size();
}

int TLocalFlipMap::Before(int v, int u) const {
  const std::vector<int>& a = around_[v];
  const size_t i = Position(v, u);
  return a[i == 0 ? a.size() - 1 : i - 1];
}

std::vector<int> TLocalFlipMap::FaceVertices(int u, int v) const {
  return FaceCycle(*this, u, v, halfEdges_);
}

bool TLocalFlipMap::Has(int u, int v) const {
  return Position(u, v) < around_[u].size();
}

void TLocalFlipMap::Add(int u, int v) {
  const TNube& p = *points_;
  halfEdges_ += 2;
  for (auto [x, y] : {std::pair(u, v), std::pair(v, u)}) {
    std::vector<int>& a = around_[x];
    a.insert(std::upper_bound(a.begin(), a.end(), y,
                              [&](int s, int t) { return AngleLess(p[x], p[s], p[t]); }),
             y);
  }
}

void TLocalFlipMap::Remove(int u, int v) {
  halfEdges_ -= 2;
  for (auto [x, y] : {std::pair(u, v), std::pair(v, u)})
    around_[x].erase(around_[x].begin() + static_cast<std::ptrdiff_t>(Position(x, y)));
}

std::vector<TEdge> TLocalFlipMap::Edges() const {
  std::vector<TEdge> edges;
  for (size_t v = 0; v < around_.size(); ++v)
    for (int u : around_[v])
      if (u > static_cast<int>(v)) edges.push_back(TEdge{static_cast<int>(v), u});
  std::sort(edges.begin(), edges.end());
  return edges;
}

bool SegmentsConflict(const TNube& points, int x, int y, int c, int d) {
  if (x == d || y == d) std::swap(c, d);
  if (x == c || y == c) {  // one shared end: overlap along one line
    const int s = c, o1 = (x == c ? y : x), o2 = d;
    return OrientationSign(points[s], points[o1], points[o2]) == 0 &&
           Dot(points[s], points[o1], points[o2]) > 0;
  }
  const TPoint px = points[x], py = points[y], pc = points[c], pd = points[d];
  const int o1 = OrientationSign(px, py, pc), o2 = OrientationSign(px, py, pd);
  const int o3 = OrientationSign(pc, pd, px), o4 = OrientationSign(pc, pd, py);
  if (o1 * o2 > 0 || o3 * o4 > 0) return false;
  if (o1 == 0 && o2 == 0)  // one line: do the extents overlap?
    return Between(px.X, py.X, pc.X, pd.X) && Between(px.Y, py.Y, pc.Y, pd.Y);
  return true;
}

std::vector<TEdge> HullEdges(const TNube& points) {
  // Andrew's monotone chain, dropping straight vertices.
  std::vector<int> order(points.size());
  std::iota(order.begin(), order.end(), 0);
  std::ranges::sort(order, {}, [&](int i) { return points[i]; });
  std::vector<int> chain;
  for (int pass = 0; pass < 2; ++pass) {
    const size_t base = chain.size();
    for (int i : order) {
      while (chain.size() >= base + 2 &&
             OrientationSign(points[chain[chain.size() - 2]], points[chain.back()], points[i]) <= 0)
        chain.pop_back();
      chain.push_back(i);
    }
    chain.pop_back();
    std::reverse(order.begin(), order.end());
  }
  std::vector<TEdge> hull;
  for (size_t i = 0; i < chain.size(); ++i) {
    const int a = chain[i], b = chain[(i + 1) % chain.size()];
    hull.push_back(TEdge{std::min(a, b), std::max(a, b)});
  }
  std::sort(hull.begin(), hull.end());
  return hull;
}

bool InGeneralPosition(const TNube& points) {
  // Around each point, the others by the direction of their line through it, folded into one
  // half-plane: two on one line with it (or a repeat of it) come out next to each other.
  struct TDir {
    int64_t X, Y;
  };
  auto cross = [](TDir u, TDir v) { return Int128{u.X} * v.Y - Int128{u.Y} * v.X; };
  std::vector<TDir> dirs;
  for (size_t i = 0; i < points.size(); ++i) {
    dirs.clear();
    for (size_t j = 0; j < points.size(); ++j) {
      if (j == i) continue;
      TDir d{int64_t{points[j].X} - points[i].X, int64_t{points[j].Y} - points[i].Y};
      if (d.X == 0 && d.Y == 0) return false;
      if (d.Y < 0 || (d.Y == 0 && d.X < 0)) d = TDir{-d.X, -d.Y};
      dirs.push_back(d);
    }
    std::sort(dirs.begin(), dirs.end(), [&](TDir u, TDir v) { return cross(u, v) > 0; });
    for (size_t k = 1; k < dirs.size(); ++k)
      if (cross(dirs[k - 1], dirs[k]) == 0) return false;
  }
  return true;
}

}  // namespace qv
