// Simplicity, triangulation and geodesics inside a simple polygon.
//
// Shortest-path trees are grown by carrying funnels through the dual tree of a triangulation,
// so each source costs O(n log n) triangle visits instead of testing every pair against every
// edge; all decisions use the exact orientation predicate.
#include <algorithm>
#include <cassert>
#include <numeric>
#include <unordered_map>
#include <utility>

#include "geometry/FuncionesMatematicas.h"
#include "methods/CaminosMinimos.h"

namespace qv {
namespace {

int Sign64(int64_t v) {
  return (v > 0) - (v < 0);
}

// p lies on the closed segment a-b.
bool OnClosedSegment(TPoint a, TPoint b, TPoint p) {
  if (OrientationSign(a, b, p) != 0) return false;
  return std::min(a.X, b.X) <= p.X && p.X <= std::max(a.X, b.X) && std::min(a.Y, b.Y) <= p.Y &&
         p.Y <= std::max(a.Y, b.Y);
}

// The closed segments a-b and c-d have a point in common.
bool SegmentsMeet(TPoint a, TPoint b, TPoint c, TPoint d) {
  const int o1 = OrientationSign(a, b, c), o2 = OrientationSign(a, b, d);
  const int o3 = OrientationSign(c, d, a), o4 = OrientationSign(c, d, b);
  if (o1 * o2 < 0 && o3 * o4 < 0) return true;
  return OnClosedSegment(a, b, c) || OnClosedSegment(a, b, d) || OnClosedSegment(c, d, a) ||
         OnClosedSegment(c, d, b);
}

// Two edges leaving the common vertex s towards p and q overlap.
bool FoldBack(TPoint s, TPoint p, TPoint q) {
  if (OrientationSign(s, p, q) != 0) return false;
  return Sign64(int64_t{p.X} - s.X) == Sign64(int64_t{q.X} - s.X) &&
         Sign64(int64_t{p.Y} - s.Y) == Sign64(int64_t{q.Y} - s.Y);
}

bool HasCoincidentPoints(const TNube& points) {
  std::vector<TPoint> sorted(points);
  std::sort(sorted.begin(), sorted.end());
  return std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end();
}

// The sign OrientationSign gives at the strictly convex corners of a simple polygon: that of
// the lexicographically smallest vertex, which is always a strictly convex corner.
int PolygonSense(const TNube& points) {
  const int n = static_cast<int>(points.size());
  const int v = static_cast<int>(std::min_element(points.begin(), points.end()) - points.begin());
  return OrientationSign(points[(v + n - 1) % n], points[v], points[(v + 1) % n]);
}

// ---- Ear clipping ------------------------------------------------------------------------

class TEarClipper {
 public:
  explicit TEarClipper(const TNube& points)
      : p_(points), n_(static_cast<int>(points.size())), sense_(PolygonSense(points)) {
    prev_.resize(n_);
    next_.resize(n_);
    for (int v = 0; v < n_; ++v) {
      prev_[v] = (v + n_ - 1) % n_;
      next_[v] = (v + 1) % n_;
    }
    ear_.resize(n_);
    for (int v = 0; v < n_; ++v) ear_[v] = Ear(v);
  }

  std::vector<std::array<int, 3>> Run() {
    std::vector<std::array<int, 3>> triangles;
    triangles.reserve(static_cast<size_t>(n_) - 2);
    int remaining = n_, v = 0;
    while (remaining > 3) {
      v = FindEar(v, remaining);
      if (v == kNone) break;  // impossible for a simple polygon; leave the rest untriangulated
      const int u = prev_[v], w = next_[v];
      triangles.push_back({u, v, w});
      next_[u] = w;
      prev_[w] = u;
      --remaining;
      for (int x : {u, w}) ear_[x] = Ear(x);
      v = w;
    }
    if (remaining == 3) triangles.push_back({prev_[v], v, next_[v]});
    return triangles;
  }

 private:
  bool Convex(int v) const { return OrientationSign(p_[prev_[v]], p_[v], p_[next_[v]]) == sense_; }

  // x lies in the closed triangle a, b, c (given in the polygon's sense).
  bool InTriangle(int a, int b, int c, int x) const {
    return OrientationSign(p_[a], p_[b], p_[x]) != -sense_ &&
           OrientationSign(p_[b], p_[c], p_[x]) != -sense_ &&
           OrientationSign(p_[c], p_[a], p_[x]) != -sense_;
  }

  // v is a strictly convex corner whose closed triangle holds no other remaining vertex.
  bool Ear(int v) const {
    if (!Convex(v)) return false;
    const int u = prev_[v], w = next_[v];
    const TPoint a = p_[u], b = p_[v], c = p_[w];
    const int32_t x0 = std::min({a.X, b.X, c.X}), x1 = std::max({a.X, b.X, c.X});
    const int32_t y0 = std::min({a.Y, b.Y, c.Y}), y1 = std::max({a.Y, b.Y, c.Y});
    for (int x = next_[w]; x != u; x = next_[x]) {
      const TPoint q = p_[x];
      if (q.X < x0 || q.X > x1 || q.Y < y0 || q.Y > y1) continue;
      if (InTriangle(u, v, w, x)) return false;
    }
    return true;
  }

  // A flag once set stays true while the vertex remains (its triangle keeps its corners and
  // the other vertices only go away); a cleared flag may be stale, so when no flagged vertex
  // is left every status is tested afresh.
  int FindEar(int from, int remaining) {
    int v = from;
    for (int steps = 0; steps < remaining; ++steps, v = next_[v])
      if (ear_[v]) return v;
    for (int steps = 0; steps < remaining; ++steps, v = next_[v])
      if ((ear_[v] = Ear(v))) return v;
    return kNone;
  }

  const TNube& p_;
  const int n_;
  const int sense_;
  std::vector<int> prev_, next_;
  std::vector<char> ear_;
};

// ---- Walks through the triangulation ------------------------------------------------------

// A triangulated simple polygon with the adjacency the walks need. Triangles run in the
// polygon's sense; the triangle beyond the side p -> q of one is the triangle holding q -> p.
class TTriangulated {
 public:
  explicit TTriangulated(const TNube& points)
      : P(points), Sense(PolygonSense(points)), Triangles(TriangulateSimplePolygon(points)) {
    const int count = static_cast<int>(Triangles.size());
    Incident.resize(points.size());
    neighbour_.assign(static_cast<size_t>(count), {kNone, kNone, kNone});
    std::unordered_map<int64_t, int> owner;  // directed side a -> b to the triangle holding it
    owner.reserve(static_cast<size_t>(3 * count));
    for (int t = 0; t < count; ++t)
      for (int k = 0; k < 3; ++k) {
        Incident[Triangles[t][k]].push_back(t);
        owner[Key(Triangles[t][k], Triangles[t][(k + 1) % 3])] = t;
      }
    for (int t = 0; t < count; ++t)
      for (int k = 0; k < 3; ++k) {
        const auto it = owner.find(Key(Triangles[t][(k + 1) % 3], Triangles[t][k]));
        if (it != owner.end()) neighbour_[t][k] = it->second;
      }
  }

  // The triangle beyond the side p -> q of triangle t, or -1 when that side is a polygon edge.
  int Beyond(int t, int p, int q) const {
    const std::array<int, 3>& c = Triangles[t];
    for (int k = 0; k < 3; ++k)
      if (c[k] == p && c[(k + 1) % 3] == q) return neighbour_[t][k];
    return kNone;
  }
  int Third(int t, int a, int b) const {
    for (int v : Triangles[t])
      if (v != a && v != b) return v;
    return kNone;
  }
  // The other two corners of a triangle at s, in the polygon's sense.
  std::pair<int, int> Opposite(int t, int s) const {
    int r = 0;
    while (Triangles[t][r] != s) ++r;
    return {Triangles[t][(r + 1) % 3], Triangles[t][(r + 2) % 3]};
  }
  int Turn(int a, int b, int c) const { return OrientationSign(P[a], P[b], P[c]); }

  const TNube& P;
  const int Sense;
  const std::vector<std::array<int, 3>> Triangles;
  std::vector<std::vector<int>> Incident;

 private:
  static int64_t Key(int a, int b) { return (int64_t{a} << 32) | static_cast<uint32_t>(b); }
  std::vector<std::array<int, 3>> neighbour_;  // per triangle and side k (corner k to k + 1)
};

// The shortest-path tree of one source by funnels carried through the dual tree. A funnel is
// the window lo .. hi of buf_: the geodesics to the crossed side run from the source to the
// apex, then along the chain of the window towards either end. A triangle's third corner w
// hangs from the funnel vertex whose wedge holds it; the two funnels beyond are the window up
// to that vertex plus w, and w plus the window from that vertex. Both are made by overwriting
// one slot next to the vertex, undone when the walk returns.
//
// Parent[w] is the vertex w hangs from and Order lists the vertices reached, parents first.
// A walk may be confined to the triangles that lead towards some of the vertices (Wanted):
// a triangulation side p-q is crossed only when a wanted vertex lies beyond it.
class TGeodesicTree {
 public:
  explicit TGeodesicTree(const TTriangulated& tp)
      : Parent(tp.P.size(), kNone),
        Depth(tp.P.size(), 0),
        tp_(tp),
        n_(static_cast<int>(tp.P.size())),
        buf_(static_cast<size_t>(2 * n_ + 8), kNone) {}

  // The part of the tree of s that leads to the wanted vertices (sorted, without s).
  void Towards(int s, const std::vector<int>& wanted) { Grow(s, &wanted); }

  std::vector<int> Order;
  std::vector<int> Parent;
  std::vector<int> Depth;  // segments from the source

 private:
  struct TStep {
    int Triangle;      // the triangle entered; -1 for an undo entry
    int Lo, Hi, Apex;  // the funnel window (Lo holds the side's first end, Hi its second)
    int Slot, Value;   // the slot to overwrite on entry (-1 for none), or the undo entry
  };

  void Grow(int s, const std::vector<int>* wanted) {
    s_ = s;
    wanted_ = wanted;
    Order.clear();
    ++stamp_;
    if (seen_.size() != static_cast<size_t>(n_)) seen_.assign(static_cast<size_t>(n_), 0);
    Depth[static_cast<size_t>(s)] = 0;
    const int c = n_ + 4;  // the middle of buf_: a window grows by at most one per triangle
    for (int t : tp_.Incident[s]) {
      const auto [u, v] = tp_.Opposite(t, s);
      for (int x : {u, v}) Attach(x, s);
      buf_[c - 1] = u;
      buf_[c] = s;
      buf_[c + 1] = v;
      Push(t, u, v, c - 1, c + 1, c, kNone, kNone);
      while (!stack_.empty()) Step();
    }
  }

  // A wanted vertex lies strictly beyond the side p-q, away from the source: in the open
  // index interval between p and q on the side that does not hold s.
  bool WantedBeyond(int p, int q) const {
    if (wanted_ == nullptr) return true;
    auto between = [](int x, int a, int b) { return a < b ? a < x && x < b : x > a || x < b; };
    const int lo = between(s_, p, q) ? q : p, hi = lo == p ? q : p;
    const std::vector<int>& w = *wanted_;
    const auto it = std::upper_bound(w.begin(), w.end(), lo);
    if (lo < hi) return it != w.end() && *it < hi;
    return it != w.end() || (!w.empty() && w.front() < hi);
  }

  void Push(int from, int p, int q, int lo, int hi, int apex, int slot, int value) {
    const int t = tp_.Beyond(from, p, q);
    if (t != kNone && WantedBeyond(p, q)) stack_.push_back({t, lo, hi, apex, slot, value});
  }

  void Attach(int x, int parent) {
    Parent[static_cast<size_t>(x)] = parent;
    Depth[static_cast<size_t>(x)] = Depth[static_cast<size_t>(parent)] + 1;
    // A corner shared by two triangles around the source is reached twice, from the source.
    if (seen_[static_cast<size_t>(x)] != stamp_) Order.push_back(x);
    seen_[static_cast<size_t>(x)] = stamp_;
  }

  void Step() {
    const TStep f = stack_.back();
    stack_.pop_back();
    if (f.Triangle == kNone) {  // leaving a funnel: undo its slot
      buf_[f.Slot] = f.Value;
      return;
    }
    if (f.Slot != kNone) {
      stack_.push_back({kNone, 0, 0, 0, f.Slot, buf_[f.Slot]});
      buf_[f.Slot] = f.Value;
    }
    const int p = buf_[f.Lo], q = buf_[f.Hi];
    const int w = tp_.Third(f.Triangle, p, q);
    const int j = Wedge(f, w);
    Attach(w, buf_[j]);
    // Side w -> q first on the stack, so that side p -> w is walked first.
    Push(f.Triangle, w, q, j - 1, f.Hi, std::max(f.Apex, j), j - 1, w);
    Push(f.Triangle, p, w, f.Lo, j + 1, std::min(f.Apex, j), j + 1, w);
  }

  // The slot of the funnel vertex from which w is reached: along the chain from the apex
  // towards Lo as long as w lies beyond (or on) the extension of each segment, else towards
  // Hi likewise, else the apex itself. Both tests are monotone along a chain, so a binary
  // search finds the last segment passed. A straight continuation stops at the vertex.
  int Wedge(const TStep& f, int w) const {
    const int sense = tp_.Sense;
    auto beyondLo = [&](int k) { return tp_.Turn(buf_[k + 1], buf_[k], w) != sense; };
    auto beyondHi = [&](int k) { return tp_.Turn(buf_[k - 1], buf_[k], w) != -sense; };
    if (f.Apex > f.Lo && beyondLo(f.Apex - 1)) {
      int pass = f.Apex - 1, fail = f.Lo - 1;  // beyondLo(pass) holds; fail: none or failing
      while (pass - fail > 1) {
        const int mid = fail + (pass - fail) / 2;
        (beyondLo(mid) ? pass : fail) = mid;
      }
      return pass;
    }
    if (f.Apex < f.Hi && beyondHi(f.Apex + 1)) {
      int pass = f.Apex + 1, fail = f.Hi + 1;
      while (fail - pass > 1) {
        const int mid = pass + (fail - pass) / 2;
        (beyondHi(mid) ? pass : fail) = mid;
      }
      return pass;
    }
    return f.Apex;
  }

  const TTriangulated& tp_;
  const int n_;
  std::vector<int> buf_;
  std::vector<TStep> stack_;
  std::vector<uint32_t> seen_;
  uint32_t stamp_ = 0;
  int s_ = kNone;
  const std::vector<int>* wanted_ = nullptr;
};

// One segment of a geodesic, keyed by its first use: the diagonal's rank and the segment's
// place along that diagonal's geodesic, directed as that geodesic runs.
struct TFirstUse {
  int Diagonal, Place, From, To;
  bool operator<(const TFirstUse& o) const {
    return Diagonal != o.Diagonal ? Diagonal < o.Diagonal : Place < o.Place;
  }
};

struct TDiagonal {
  int A, B;  // the geodesic runs from A to B
};

// The diagonals of the triangulation in half-edge order.
std::vector<TDiagonal> DiagonalsOf(const TDCEL& t, [[maybe_unused]] int n) {
  std::vector<TDiagonal> diagonals;
  std::vector<char> done(static_cast<size_t>(t.HalfEdgeCount()), 0);
  for (int e = 0; e < t.HalfEdgeCount(); ++e) {
    const int twin = t.Twin(e);
    if (done[e] || twin == kNone || t.Origin(e) == kNone) continue;
    done[e] = done[twin] = 1;
    assert(t.Destination(e) < n && t.Origin(e) != t.Destination(e));  // a diagonal of the n-gon
    diagonals.push_back({t.Origin(e), t.Destination(e)});
  }
  return diagonals;
}

}  // namespace

bool IsSimplePolygon(const TNube& points) {
  const int n = static_cast<int>(points.size());
  if (n < 3 || HasCoincidentPoints(points)) return false;
  // Edge i runs from vertex i to vertex i + 1; only edges whose x ranges overlap can meet.
  auto lo = [&](int i) { return std::min(points[i].X, points[(i + 1) % n].X); };
  auto hi = [&](int i) { return std::max(points[i].X, points[(i + 1) % n].X); };
  std::vector<int> order(static_cast<size_t>(n));
  std::iota(order.begin(), order.end(), 0);
  std::ranges::sort(order, {}, lo);
  for (int x = 0; x < n; ++x) {
    const int i = order[x];
    for (int y = x + 1; y < n && lo(order[y]) <= hi(i); ++y) {
      const int j = order[y];
      const int a = std::min(i, j), b = std::max(i, j);
      const TPoint pa = points[a], pa1 = points[(a + 1) % n];
      const TPoint pb = points[b], pb1 = points[(b + 1) % n];
      if (b == a + 1) {
        if (FoldBack(pb, pa, pb1)) return false;  // edges a and b meet at vertex b
      } else if (a == 0 && b == n - 1) {
        if (FoldBack(pa, pa1, pb)) return false;  // edges n-1 and 0 meet at vertex 0
      } else if (SegmentsMeet(pa, pa1, pb, pb1)) {
        return false;
      }
    }
  }
  return true;
}

std::vector<std::array<int, 3>> TriangulateSimplePolygon(const TNube& points) {
  if (points.size() < 3) return {};
  return TEarClipper(points).Run();
}

std::vector<std::array<int, 2>> GeodesicSegments(const TNube& points, const TDCEL& triangulation,
                                                 std::vector<std::array<int, 2>>* owners) {
  const int n = static_cast<int>(points.size());
  const std::vector<TDiagonal> diagonals = DiagonalsOf(triangulation, n);
  if (n < 3 || diagonals.empty()) return {};
  // Every diagonal is grown from the end that more diagonals share (a fan: its apex only).
  std::vector<int> uses(static_cast<size_t>(n), 0);
  for (const TDiagonal& d : diagonals) ++uses[d.A], ++uses[d.B];
  std::vector<std::vector<int>> bySource(static_cast<size_t>(n));
  for (int k = 0; k < static_cast<int>(diagonals.size()); ++k) {
    const TDiagonal& d = diagonals[k];
    bySource[uses[d.A] >= uses[d.B] ? d.A : d.B].push_back(k);
  }
  const TTriangulated tp(points);
  TGeodesicTree tree(tp);
  std::unordered_map<int64_t, TFirstUse> first;  // per segment (low end, high end)
  std::vector<int> wanted, best(static_cast<size_t>(n), INT32_MAX);
  for (int s = 0; s < n; ++s) {
    if (bySource[s].empty()) continue;
    wanted.clear();
    for (int k : bySource[s]) {
      const int other = diagonals[k].A == s ? diagonals[k].B : diagonals[k].A;
      wanted.push_back(other);
      best[other] = std::min(best[other], k);
    }
    std::sort(wanted.begin(), wanted.end());
    tree.Towards(s, wanted);
    // The first diagonal through each tree edge x -> parent: the lowest rank below x.
    for (auto it = tree.Order.rbegin(); it != tree.Order.rend(); ++it) {
      const int x = *it, parent = tree.Parent[x];
      if (best[x] == INT32_MAX) continue;
      if (parent != s) best[parent] = std::min(best[parent], best[x]);
      const TDiagonal& d = diagonals[best[x]];
      const bool outwards = d.A == s;  // the geodesic runs from s
      const int end = outwards ? d.B : d.A;
      TFirstUse use{best[x], 0, parent, x};
      if (outwards) {
        use.Place = tree.Depth[x] - 1;
      } else {
        use.Place = tree.Depth[end] - tree.Depth[x];
        std::swap(use.From, use.To);
      }
      const int64_t key = (int64_t{std::min(x, parent)} << 32) | std::max(x, parent);
      const auto [slot, added] = first.try_emplace(key, use);
      if (!added && use < slot->second) slot->second = use;
    }
    for (int x : tree.Order) best[x] = INT32_MAX;
    for (int x : wanted) best[x] = INT32_MAX;
  }
  std::vector<TFirstUse> ordered;
  ordered.reserve(first.size());
  for (const auto& [key, use] : first) ordered.push_back(use);
  std::sort(ordered.begin(), ordered.end());
  std::vector<std::array<int, 2>> segments;
  segments.reserve(ordered.size());
  for (const TFirstUse& u : ordered) segments.push_back({u.From, u.To});
  if (owners)
    for (const TFirstUse& u : ordered)
      owners->push_back({diagonals[u.Diagonal].A, diagonals[u.Diagonal].B});
  return segments;
}

}  // namespace qv
