// The checker works on its own copy of the result: a plain edge list over the point indices.
// It rebuilds the planar embedding from the coordinates alone (no trust in any half-edge
// links), traces the faces and judges them. Every geometric decision goes through the exact
// orientation predicate; nothing is measured with floating point.
//
// Frame: the raw coordinates (x right, y down). OrientationSign(p, q, r) > 0 is a left turn in
// that frame (clockwise on the screen). Around each vertex the edges are sorted by increasing
// raw angle; the traced bounded faces then run with their interior on the left (positive raw
// area) and the outer face runs the other way.
#include "methods/Verificador.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <iterator>
#include <memory_resource>
#include <numeric>
#include <set>
#include <span>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "geometry/FuncionesMatematicas.h"

namespace qv {
namespace {

__extension__ using Int128 = __int128;

std::string EdgeName(const TEdge& e) {
  return std::to_string(e.A) + "-" + std::to_string(e.B);
}

int Sign64(int64_t v) {
  return (v > 0) - (v < 0);
}

// The graph under test. Half-edge 2e runs A -> B of edge e, half-edge 2e + 1 runs B -> A.
struct TGraph {
  const TNube* Points = nullptr;
  std::vector<TEdge> Edges;
  std::vector<bool> Active;       // vertex of the region: a polygon vertex or on an edge
  std::vector<int> ByXY;          // every point index in (x, y) order
  std::vector<int> AroundStart;   // per vertex: the start of its leaving half-edges in Around
  std::vector<int> Around;        // leaving half-edges, vertex by vertex, by increasing angle
  std::vector<int> Slot;          // per half-edge: its position in Around
  std::vector<int> Next;          // per half-edge: the next one on its face
  std::vector<int> Face;          // per half-edge: its traced face
  std::vector<int> FaceStart{0};  // per traced face: the start of its half-edges in FaceList
  std::vector<int> FaceList;      // half-edges, traced face by traced face, in cycle order
  int Outer = kNone;

  int FaceCount() const { return static_cast<int>(FaceStart.size()) - 1; }
  std::span<const int> Cycle(int f) const {
    return {FaceList.data() + FaceStart[f], static_cast<size_t>(FaceStart[f + 1] - FaceStart[f])};
  }
  int Degree(int v) const { return AroundStart[v + 1] - AroundStart[v]; }
  int Origin(int h) const { return (h & 1) ? Edges[h >> 1].B : Edges[h >> 1].A; }
  int Dest(int h) const { return Origin(h ^ 1); }
  TPoint P(int v) const { return (*Points)[v]; }
  int HalfEdgeCount() const { return 2 * static_cast<int>(Edges.size()); }
  // The half-edge u -> v, or kNone when there is no edge u-v.
  int Find(int u, int v) const {
    // Once the embedding is built, a vertex of small degree is searched among its own edges.
    if (!AroundStart.empty() && Degree(u) <= 16) {
      for (int i = AroundStart[u]; i < AroundStart[u + 1]; ++i)
        if (Dest(Around[i]) == v) return Around[i];
      return kNone;
    }
    TEdge key{std::min(u, v), std::max(u, v)};
    auto it = std::lower_bound(Edges.begin(), Edges.end(), key);
    if (it == Edges.end() || *it != key) return kNone;
    return 2 * static_cast<int>(it - Edges.begin()) + (u > v ? 1 : 0);
  }
};

bool Fail(TCheckReport& report, const std::string& why) {
  report.Valid = false;
  report.Reason = why;
  return false;
}

// ---- Input sanity ----------------------------------------------------------------------

bool CheckDistinctPoints(const TNube& points, std::vector<int>& order, TCheckReport& report) {
  // (x, y) as one number keeps the order and makes the sort a plain one.
  std::vector<std::pair<int64_t, int>> keyed(points.size());
  for (size_t i = 0; i < points.size(); ++i)
    keyed[i] = {int64_t{points[i].X} * (int64_t{1} << 32) + (int64_t{points[i].Y} - INT32_MIN),
                static_cast<int>(i)};
  std::sort(keyed.begin(), keyed.end());
  order.resize(points.size());
  bool repeated = false;
  for (size_t i = 0; i < keyed.size(); ++i) {
    order[i] = keyed[i].second;
    repeated = repeated || (i > 0 && keyed[i - 1].first == keyed[i].first);
  }
  if (!repeated) return true;
  // The pair named is the first one the index sort below meets.
  std::iota(order.begin(), order.end(), 0);
  auto less = [&](int a, int b) {
    if (points[a].X != points[b].X) return points[a].X < points[b].X;
    return points[a].Y < points[b].Y;
  };
  std::sort(order.begin(), order.end(), less);
  for (size_t i = 1; i < order.size(); ++i) {
    if (points[order[i - 1]] == points[order[i]]) {
      int a = std::min(order[i - 1], order[i]), b = std::max(order[i - 1], order[i]);
      return Fail(report,
                  "points " + std::to_string(a) + " and " + std::to_string(b) + " coincide");
    }
  }
  return true;
}

bool NormalizeEdges(int n, const std::vector<TEdge>& in, TGraph& g, TCheckReport& report) {
  g.Edges.clear();
  g.Edges.reserve(in.size());
  for (const TEdge& e : in) {
    if (e.A < 0 || e.B < 0 || e.A >= n || e.B >= n)
      return Fail(report, "edge " + EdgeName(e) + " names a point that does not exist");
    if (e.A == e.B) return Fail(report, "edge " + EdgeName(e) + " joins a point to itself");
    g.Edges.push_back({std::min(e.A, e.B), std::max(e.A, e.B)});
  }
  if (!std::is_sorted(g.Edges.begin(), g.Edges.end())) std::sort(g.Edges.begin(), g.Edges.end());
  auto dup = std::adjacent_find(g.Edges.begin(), g.Edges.end());
  if (dup != g.Edges.end()) return Fail(report, "edge " + EdgeName(*dup) + " is given twice");
  g.Active.assign(n, false);
  for (const TEdge& e : g.Edges) g.Active[e.A] = g.Active[e.B] = true;
  return true;
}

// ---- Planarity -------------------------------------------------------------------------

// p lies on the closed segment a-b (exact).
bool OnSegment(TPoint a, TPoint b, TPoint p) {
  if (OrientationSign(a, b, p) != 0) return false;
  return std::min(a.X, b.X) <= p.X && p.X <= std::max(a.X, b.X) && std::min(a.Y, b.Y) <= p.Y &&
         p.Y <= std::max(a.Y, b.Y);
}

// Two edges meet anywhere but in a shared endpoint (called once no point lies on an edge).
bool EdgesConflict(const TGraph& g, const TEdge& e, const TEdge& f) {
  int s = kNone, p = kNone, q = kNone;
  if (e.A == f.A) s = e.A, p = e.B, q = f.B;
  if (e.A == f.B) s = e.A, p = e.B, q = f.A;
  if (e.B == f.A) s = e.B, p = e.A, q = f.B;
  if (e.B == f.B) s = e.B, p = e.A, q = f.A;
  if (s != kNone) {
    // Sharing an endpoint, they overlap only when they leave it in the same direction.
    TPoint S = g.P(s), Pp = g.P(p), Q = g.P(q);
    if (OrientationSign(S, Pp, Q) != 0) return false;
    return Sign64(int64_t{Pp.X} - S.X) == Sign64(int64_t{Q.X} - S.X) &&
           Sign64(int64_t{Pp.Y} - S.Y) == Sign64(int64_t{Q.Y} - S.Y);
  }
  TPoint a = g.P(e.A), b = g.P(e.B), c = g.P(f.A), d = g.P(f.B);
  int o1 = OrientationSign(a, b, c), o2 = OrientationSign(a, b, d);
  int o3 = OrientationSign(c, d, a), o4 = OrientationSign(c, d, b);
  // Without a shared endpoint, two closed segments that touch but do not cross properly have
  // an endpoint of one on the other; CheckPointsOffEdges has refused that already.
  return o1 * o2 < 0 && o3 * o4 < 0;
}

struct TBox {
  int32_t MinX, MaxX, MinY, MaxY;
  int Edge;
};

bool CheckEdgePairs(const TGraph& g, TCheckReport& report) {
  // Sweep by x: only edges whose boxes overlap are compared.
  std::vector<TBox> boxes;
  boxes.reserve(g.Edges.size());
  for (int i = 0; i < static_cast<int>(g.Edges.size()); ++i) {
    TPoint a = g.P(g.Edges[i].A), b = g.P(g.Edges[i].B);
    boxes.push_back(
        {std::min(a.X, b.X), std::max(a.X, b.X), std::min(a.Y, b.Y), std::max(a.Y, b.Y), i});
  }
  std::sort(boxes.begin(), boxes.end(),
            [](const TBox& a, const TBox& b) { return a.MinX < b.MinX; });
  for (size_t i = 0; i < boxes.size(); ++i) {
    const TBox& p = boxes[i];
    for (size_t j = i + 1; j < boxes.size() && boxes[j].MinX <= p.MaxX; ++j) {
      const TBox& q = boxes[j];
      if (q.MinY > p.MaxY || q.MaxY < p.MinY) continue;
      const TEdge& e = g.Edges[p.Edge];
      const TEdge& f = g.Edges[q.Edge];
      if (!EdgesConflict(g, e, f)) continue;
      bool shared = e.A == f.A || e.A == f.B || e.B == f.A || e.B == f.B;
      return Fail(report, "edges " + EdgeName(std::min(e, f)) + " and " + EdgeName(std::max(e, f)) +
                              (shared ? " overlap" : " cross"));
    }
  }
  return true;
}

bool CheckPointsOffEdges(const TGraph& g, const std::vector<bool>& tested, TCheckReport& report) {
  std::vector<int> order;
  for (int v = 0; v < static_cast<int>(tested.size()); ++v)
    if (tested[v]) order.push_back(v);
  std::sort(order.begin(), order.end(), [&](int a, int b) { return g.P(a).X < g.P(b).X; });
  for (const TEdge& e : g.Edges) {
    TPoint a = g.P(e.A), b = g.P(e.B);
    int lo = std::min(a.X, b.X), hi = std::max(a.X, b.X);
    auto it = std::lower_bound(order.begin(), order.end(), lo,
                               [&](int v, int x) { return g.P(v).X < x; });
    for (; it != order.end() && g.P(*it).X <= hi; ++it) {
      if (*it == e.A || *it == e.B || !OnSegment(a, b, g.P(*it))) continue;
      return Fail(report, "point " + std::to_string(*it) + " lies on edge " + EdgeName(e));
    }
  }
  return true;
}

// ---- Planarity by a sweep ------------------------------------------------------------
//
// The two checks above compare every pair of edges (and every vertex and edge) whose x ranges
// overlap, which grows as n^2 once long edges span the set. A plane drawing is confirmed
// faster by a sweep in (x, y) order: the edges crossing the sweep line are kept ordered from
// the raw -y side to the +y side, and the leftmost fault (a vertex inside an edge, two edges
// meeting in anything but a shared end) shows between neighbours of that order, or between a
// vertex and the edge it is on, at an event no later than the fault, while everything left of
// it is still plane. Only a drawing the sweep finds faulty goes through the pair checks, which
// name the fault.

bool XYLess(TPoint a, TPoint b) {
  return a.X < b.X || (a.X == b.X && a.Y < b.Y);
}

// An edge on the sweep line: its ends in (x, y) order, and its index (kQuery for the event
// point, an edge of length 0).
struct TSweepKey {
  TPoint Low, High;
  int Edge;
};
constexpr int kQuery = -1;

// Edge a runs on the -y side of edge b where the sweep line crosses both, at the later of their
// first ends. Degenerate is set when a comparison meets a point on an edge's line, or two edges
// leaving one point in one direction.
struct TSweepLess {
  bool* Degenerate;
  bool operator()(const TSweepKey& a, const TSweepKey& b) const {
    if (a.Edge == b.Edge) return false;
    int sign;
    if (b.Edge == kQuery) {
      sign = OrientationSign(a.Low, a.High, b.Low);
    } else if (a.Low == b.Low) {
      sign = OrientationSign(a.Low, a.High, b.High);
    } else if (XYLess(a.Low, b.Low)) {
      sign = OrientationSign(a.Low, a.High, b.Low);
    } else {
      sign = -OrientationSign(b.Low, b.High, a.Low);
    }
    if (sign == 0) {
      *Degenerate = true;
      return a.Edge < b.Edge;
    }
    return sign > 0;
  }
};

// Closed edges e and f meet in anything but a shared end.
bool EdgesMeet(const TGraph& g, const TEdge& e, const TEdge& f) {
  if (e.A == f.A || e.A == f.B || e.B == f.A || e.B == f.B) return EdgesConflict(g, e, f);
  TPoint a = g.P(e.A), b = g.P(e.B), c = g.P(f.A), d = g.P(f.B);
  if (OnSegment(a, b, c) || OnSegment(a, b, d) || OnSegment(c, d, a) || OnSegment(c, d, b))
    return true;
  return OrientationSign(a, b, c) * OrientationSign(a, b, d) < 0 &&
         OrientationSign(c, d, a) * OrientationSign(c, d, b) < 0;
}

// True when no active vertex lies on an edge other than at its ends and no two edges meet but
// in a shared end.
bool PlaneBySweep(const TGraph& g) {
  const int n = static_cast<int>(g.Active.size());
  const int m = static_cast<int>(g.Edges.size());
  std::vector<TSweepKey> keys(m);
  std::vector<int> low(m), high(m);
  // Per vertex, the edges it starts and the edges it ends, as index ranges.
  std::vector<int> startAt(n + 1, 0), endAt(n + 1, 0);
  for (int e = 0; e < m; ++e) {
    low[e] = g.Edges[e].A, high[e] = g.Edges[e].B;
    if (XYLess(g.P(high[e]), g.P(low[e]))) std::swap(low[e], high[e]);
    keys[e] = {g.P(low[e]), g.P(high[e]), e};
    ++startAt[low[e] + 1];
    ++endAt[high[e] + 1];
  }
  for (int v = 0; v < n; ++v) startAt[v + 1] += startAt[v], endAt[v + 1] += endAt[v];
  std::vector<int> starting(m), ending(m);
  {
    std::vector<int> s(startAt.begin(), startAt.end() - 1), t(endAt.begin(), endAt.end() - 1);
    for (int e = 0; e < m; ++e) starting[s[low[e]]++] = e, ending[t[high[e]]++] = e;
  }

  bool degenerate = false;
  const TSweepLess less{&degenerate};
  std::pmr::unsynchronized_pool_resource pool;
  using TStatus = std::pmr::set<TSweepKey, TSweepLess>;
  TStatus status(less, &pool);
  std::vector<TStatus::iterator> where(m);
  std::vector<TSweepKey> fresh;
  auto meet = [&](TStatus::iterator x, TStatus::iterator y) {
    return x != status.end() && y != status.end() &&
           EdgesMeet(g, g.Edges[x->Edge], g.Edges[y->Edge]);
  };
  for (int v : g.ByXY) {
    if (!g.Active[v]) continue;
    const TPoint p = g.P(v);
    TStatus::iterator above, below;
    if (endAt[v] == endAt[v + 1]) {
      above = status.lower_bound(TSweepKey{p, p, kQuery});
      if (above != status.end() && OrientationSign(above->Low, above->High, p) == 0) return false;
      below = above == status.begin() ? status.end() : std::prev(above);
    } else {
      // The edges ending at v are neighbours on the line; v lies between the edges around them.
      auto lo = where[ending[endAt[v]]], hi = lo;
      int run = 1;
      for (; lo != status.begin() && std::prev(lo)->High == p; --lo) ++run;
      for (; std::next(hi) != status.end() && std::next(hi)->High == p; ++hi) ++run;
      if (run != endAt[v + 1] - endAt[v]) return false;
      below = lo == status.begin() ? status.end() : std::prev(lo);
      above = std::next(hi);
      for (int k = endAt[v]; k < endAt[v + 1]; ++k) status.erase(where[ending[k]]);
      if ((below != status.end() && OrientationSign(below->Low, below->High, p) <= 0) ||
          (above != status.end() && OrientationSign(above->Low, above->High, p) >= 0))
        return false;
    }
    if (startAt[v] == startAt[v + 1]) {
      if (meet(below, above)) return false;
      continue;
    }
    // The new edges leave v; by angle they go in one after another just below `above`.
    fresh.clear();
    for (int k = startAt[v]; k < startAt[v + 1]; ++k) fresh.push_back(keys[starting[k]]);
    std::sort(fresh.begin(), fresh.end(), less);
    for (size_t k = 0; k < fresh.size(); ++k) {
      if (k > 0 && OrientationSign(p, fresh[k - 1].High, fresh[k].High) == 0) return false;
      where[fresh[k].Edge] = status.insert(above, fresh[k]);
    }
    if (degenerate) return false;
    if (meet(below, where[fresh.front().Edge]) || meet(where[fresh.back().Edge], above))
      return false;
  }
  return true;
}

// ---- Embedding and faces ---------------------------------------------------------------

// Half-plane of a direction: 0 for angles in [0, 180), 1 for [180, 360) (raw frame).
int HalfPlane(TPoint from, TPoint to) {
  if (to.Y != from.Y) return to.Y > from.Y ? 0 : 1;
  return to.X > from.X ? 0 : 1;
}

void BuildEmbedding(TGraph& g) {
  int n = static_cast<int>(g.Active.size());
  g.AroundStart.assign(n + 1, 0);
  for (int h = 0; h < g.HalfEdgeCount(); ++h) ++g.AroundStart[g.Origin(h) + 1];
  for (int v = 0; v < n; ++v) g.AroundStart[v + 1] += g.AroundStart[v];
  g.Around.resize(g.HalfEdgeCount());
  {
    std::vector<int> at(g.AroundStart.begin(), g.AroundStart.end() - 1);
    for (int h = 0; h < g.HalfEdgeCount(); ++h) g.Around[at[g.Origin(h)]++] = h;
  }
  for (int v = 0; v < n; ++v) {
    TPoint o = g.P(v);
    auto byAngle = [&](int h1, int h2) {
      TPoint p = g.P(g.Dest(h1)), q = g.P(g.Dest(h2));
      int a = HalfPlane(o, p), b = HalfPlane(o, q);
      if (a != b) return a < b;
      return OrientationSign(o, p, q) > 0;
    };
    std::sort(g.Around.begin() + g.AroundStart[v], g.Around.begin() + g.AroundStart[v + 1],
              byAngle);
  }
  g.Slot.assign(g.HalfEdgeCount(), 0);
  for (int v = 0; v < n; ++v)
    for (int i = g.AroundStart[v]; i < g.AroundStart[v + 1]; ++i)
      g.Slot[g.Around[i]] = i - g.AroundStart[v];
  // Entering v along h, the face continues on the edge just clockwise (raw) of h's twin.
  g.Next.assign(g.HalfEdgeCount(), kNone);
  for (int h = 0; h < g.HalfEdgeCount(); ++h) {
    const int v = g.Dest(h), deg = g.Degree(v);
    g.Next[h] = g.Around[g.AroundStart[v] + (g.Slot[h ^ 1] + deg - 1) % deg];
  }
}

// Twice the signed raw area of a face cycle, exact.
Int128 FaceArea2(const TGraph& g, std::span<const int> cycle) {
  Int128 sum = 0;
  for (int h : cycle) {
    TPoint p = g.P(g.Origin(h)), q = g.P(g.Dest(h));
    sum += Int128{p.X} * q.Y - Int128{p.Y} * q.X;
  }
  return sum;
}

bool TraceFaces(TGraph& g, TCheckReport& report) {
  g.Face.assign(g.HalfEdgeCount(), kNone);
  g.FaceStart.assign(1, 0);
  g.FaceList.clear();
  g.FaceList.reserve(g.HalfEdgeCount());
  for (int start = 0; start < g.HalfEdgeCount(); ++start) {
    if (g.Face[start] != kNone) continue;
    int id = g.FaceCount();
    // Next is a permutation of the half-edges, so the walk returns to start.
    for (int h = start; g.Face[h] == kNone; h = g.Next[h]) {
      g.Face[h] = id;
      g.FaceList.push_back(h);
    }
    g.FaceStart.push_back(static_cast<int>(g.FaceList.size()));
  }
  for (int f = 0; f < g.FaceCount(); ++f) {
    if (FaceArea2(g, g.Cycle(f)) > 0) continue;
    if (g.Outer != kNone) return Fail(report, "the edges do not form one connected piece");
    g.Outer = f;
  }
  if (g.Outer == kNone) return Fail(report, "no outer face found");
  return true;
}

int FindRoot(std::vector<int>& parent, int v) {
  while (parent[v] != v) v = parent[v] = parent[parent[v]];
  return v;
}

bool CheckConnected(const TGraph& g, TCheckReport& report) {
  int n = static_cast<int>(g.Active.size());
  std::vector<int> parent(n);
  std::iota(parent.begin(), parent.end(), 0);
  for (const TEdge& e : g.Edges) parent[FindRoot(parent, e.A)] = FindRoot(parent, e.B);
  int root = kNone;
  for (int v = 0; v < n; ++v) {
    if (!g.Active[v]) continue;
    if (root == kNone) root = FindRoot(parent, v);
    if (FindRoot(parent, v) != root)
      return Fail(report, "the edges do not form one connected piece (point " + std::to_string(v) +
                              " is apart)");
  }
  return true;
}

bool CheckEuler(const TGraph& g, TCheckReport& report) {
  long long vertices = std::count(g.Active.begin(), g.Active.end(), true);
  long long edges = static_cast<long long>(g.Edges.size());
  long long faces = static_cast<long long>(static_cast<size_t>(g.FaceCount()));
  if (vertices - edges + faces != 2) return Fail(report, "the embedding breaks Euler's formula");
  return true;
}

// ---- Region boundary -------------------------------------------------------------------

// Convex hull of the active points in increasing raw angle order, points on hull edges
// included (monotone chain keeping collinear points; the points are distinct and not all
// on one line).
std::vector<int> HullWithBoundaryPoints(const TGraph& g) {
  std::vector<int> order;
  for (int v : g.ByXY)
    if (g.Active[v]) order.push_back(v);
  std::vector<int> hull;
  auto chain = [&](auto first, auto last) {
    size_t base = hull.size();
    for (auto it = first; it != last; ++it) {
      while (hull.size() >= base + 2 &&
             OrientationSign(g.P(hull[hull.size() - 2]), g.P(hull.back()), g.P(*it)) < 0)
        hull.pop_back();
      hull.push_back(*it);
    }
    hull.pop_back();  // the last point starts the other chain
  };
  chain(order.begin(), order.end());
  chain(order.rbegin(), order.rend());
  return hull;
}

// The outer face is exactly the closed walk through boundary[0], boundary[1], ...
bool OuterFaceIs(const TGraph& g, const std::vector<int>& boundary, const char* what,
                 TCheckReport& report) {
  int k = static_cast<int>(boundary.size());
  for (int i = 0; i < k; ++i) {
    int u = boundary[i], v = boundary[(i + 1) % k];
    int h = g.Find(u, v);
    if (h == kNone)
      return Fail(report, std::string(what) + " edge " +
                              EdgeName({std::min(u, v), std::max(u, v)}) + " is missing");
    if (g.Face[h] != g.Outer && g.Face[h ^ 1] != g.Outer)
      return Fail(report, std::string(what) + " edge " +
                              EdgeName({std::min(u, v), std::max(u, v)}) +
                              " is not on the outer boundary: some edge lies outside the " + what);
  }
  if (static_cast<int>(g.Cycle(g.Outer).size()) != k)
    return Fail(report, std::string("some edge lies outside the ") + what);
  return true;
}

bool CheckPolygonIndices(int n, const std::vector<int>& polygon, TCheckReport& report) {
  if (polygon.size() < 3) return Fail(report, "the polygon has fewer than 3 vertices");
  std::vector<bool> seen(n, false);
  for (int v : polygon) {
    if (v < 0 || v >= n)
      return Fail(report, "polygon vertex " + std::to_string(v) + " is not a point");
    if (seen[v]) return Fail(report, "polygon vertex " + std::to_string(v) + " is repeated");
    seen[v] = true;
  }
  return true;
}

// ---- Faces and vertices ----------------------------------------------------------------

bool CheckBoundedFaces(const TGraph& g, TCheckReport& report) {
  std::vector<int> stamp(g.Active.size(), kNone);
  for (int f = 0; f < g.FaceCount(); ++f) {
    if (f == g.Outer) continue;
    const std::span<const int> cycle = g.Cycle(f);
    int corners = 0;
    for (int h : cycle) {
      int v = g.Origin(h);
      if (stamp[v] == f)
        return Fail(report, "the face through edge " + EdgeName(g.Edges[cycle[0] >> 1]) +
                                " is not a simple polygon (point " + std::to_string(v) +
                                " repeats)");
      stamp[v] = f;
      // Interior on the left: a convex corner is a strict left turn.
      if (OrientationSign(g.P(g.Origin(h)), g.P(g.Dest(h)), g.P(g.Dest(g.Next[h]))) > 0) ++corners;
    }
    if (corners != 3)
      return Fail(report, "the face through edge " + EdgeName(g.Edges[cycle[0] >> 1]) + " has " +
                              std::to_string(corners) + " convex corners");
  }
  return true;
}

void CountFaces(const TGraph& g, TCheckReport& report) {
  report.Faces = report.Triangles = 0;
  for (int f = 0; f < g.FaceCount(); ++f) {
    if (f == g.Outer) continue;
    ++report.Faces;
    if (g.Cycle(f).size() == 3) ++report.Triangles;
  }
}

// A vertex is pointed when one of the angles between consecutive edges around it (the outer
// one included) exceeds 180 degrees.
void ReportPointedness(const TGraph& g, TCheckReport& report) {
  report.NonPointedVertices.clear();
  for (int v = 0; v + 1 < static_cast<int>(g.AroundStart.size()); ++v) {
    const int* ring = g.Around.data() + g.AroundStart[v];
    int deg = g.Degree(v);
    if (deg == 0) continue;
    bool pointed = deg == 1;
    for (int i = 0; i < deg && !pointed; ++i) {
      TPoint p = g.P(g.Dest(ring[i])), q = g.P(g.Dest(ring[(i + 1) % deg]));
      pointed = OrientationSign(g.P(v), p, q) < 0;
    }
    if (!pointed) report.NonPointedVertices.push_back(v);
  }
  report.NonPointed = static_cast<int>(report.NonPointedVertices.size());
}

// ---- Driver ----------------------------------------------------------------------------

bool AllOnOneLine(const TNube& points) {
  // The points are distinct, so points 0 and 1 fix a line.
  for (const TPoint& p : points)
    if (OrientationSign(points[0], points[1], p) != 0) return false;
  return true;
}

// Fills g.Active for the region: the polygon's vertices and the edges' ends; for the hull
// every point must be an edge's end.
bool MarkRegionVertices(const TNube& points, const std::vector<int>* polygon, TGraph& g,
                        TCheckReport& report) {
  if (polygon) {
    for (int v : *polygon) g.Active[v] = true;
    return true;
  }
  if (AllOnOneLine(points)) return Fail(report, "all points lie on one line");
  for (int v = 0; v < static_cast<int>(points.size()); ++v)
    if (!g.Active[v]) return Fail(report, "point " + std::to_string(v) + " is on no edge");
  return true;
}

// Shared by both regions; polygon is nullptr for the convex hull.
bool CheckGraph(const TNube& points, const std::vector<int>* polygon,
                const std::vector<TEdge>& edges, TGraph& g, TCheckReport& report) {
  int n = static_cast<int>(points.size());
  g.Points = &points;
  if (n < 3) return Fail(report, "fewer than 3 points");
  if (!CheckDistinctPoints(points, g.ByXY, report)) return false;
  if (polygon && !CheckPolygonIndices(n, *polygon, report)) return false;
  if (!NormalizeEdges(n, edges, g, report)) return false;
  if (!MarkRegionVertices(points, polygon, g, report)) return false;
  if (!PlaneBySweep(g) && (!CheckPointsOffEdges(g, g.Active, report) || !CheckEdgePairs(g, report)))
    return false;
  if (!CheckConnected(g, report)) return false;
  BuildEmbedding(g);
  ReportPointedness(g, report);
  if (!TraceFaces(g, report) || !CheckEuler(g, report)) return false;
  CountFaces(g, report);
  bool covered = polygon ? OuterFaceIs(g, *polygon, "polygon", report)
                         : OuterFaceIs(g, HullWithBoundaryPoints(g), "hull", report);
  if (!covered || !CheckBoundedFaces(g, report)) return false;
  report.Valid = true;
  report.Reason.clear();
  return true;
}

// ---- Subdivision records against the traced faces ---------------------------------------

// The live half-edges of face f in cycle order, or empty when the cycle is broken.
void FaceCycle(const TDCEL& pt, int f, std::vector<int>& cycle) {
  cycle.clear();
  int start = pt.Faces[f];
  int h = start;
  do {
    if (h < 0 || h >= pt.HalfEdgeCount() || pt.HalfEdges[h].Face != f) return cycle.clear();
    cycle.push_back(h);
    h = pt.HalfEdges[h].Next;
  } while (h != start && static_cast<int>(cycle.size()) <= pt.HalfEdgeCount());
  if (h != start) cycle.clear();
}

// The traced face that face record f's cycle runs around: sense 0 when the record runs as the
// traced faces do (interior on the raw left), 1 when it runs the other way; kNone when the
// cycle is not one bounded face in that sense.
int TracedFaceOf(const TGraph& g, const TDCEL& pt, const std::vector<int>& cycle, int sense) {
  int traced = kNone;
  for (int h : cycle) {
    int t = g.Find(pt.HalfEdges[h].Origin, pt.HalfEdges[pt.HalfEdges[h].Next].Origin);
    if (t == kNone) return kNone;
    int face = g.Face[t ^ sense];
    if (face == g.Outer || (traced != kNone && face != traced)) return kNone;
    traced = face;
    // A half-edge without twin must have the outer face on its other side.
    if (pt.HalfEdges[h].Twin == kNone && g.Face[t ^ sense ^ 1] != g.Outer) return kNone;
  }
  return traced;
}

// Every face record is one traced bounded face (in either sense) and every traced bounded face
// has one record; a half-edge without twin lies on the outer boundary.
bool CheckFaceRecords(const TGraph& g, const TDCEL& pt, TCheckReport& report) {
  std::vector<int> owner(static_cast<size_t>(g.FaceCount()), kNone);
  int live = 0;
  size_t recorded = 0;
  std::vector<int> cycle;
  for (int f = 0; f < pt.FaceCount(); ++f) {
    if (pt.Faces[f] == kNone) continue;
    ++live;
    FaceCycle(pt, f, cycle);
    const std::string name = "face record ";
    if (cycle.empty()) return Fail(report, name + std::to_string(f) + " has a broken cycle");
    int traced = TracedFaceOf(g, pt, cycle, 0);
    if (traced == kNone) traced = TracedFaceOf(g, pt, cycle, 1);
    if (traced == kNone || cycle.size() != g.Cycle(traced).size() || owner[traced] != kNone)
      return Fail(report, name + std::to_string(f) + " is not one face of the edges");
    owner[traced] = f;
    recorded += cycle.size();
  }
  if (live != report.Faces)
    return Fail(report, "the subdivision records " + std::to_string(live) + " faces, the edges " +
                            "make " + std::to_string(report.Faces));
  size_t halfEdges = 0;
  for (const THalfEdge& h : pt.HalfEdges) halfEdges += h.Origin != kNone ? 1 : 0;
  if (halfEdges != recorded) return Fail(report, "a live half-edge belongs to no face record");
  return true;
}

TCheckReport CheckRecords(const TNube& points, const std::vector<int>* polygon, const TDCEL& pt) {
  TCheckReport report;
  std::string why;
  if (!pt.IsValid(&why)) {
    Fail(report, "invalid subdivision: " + why);
    return report;
  }
  for (const THalfEdge& h : pt.HalfEdges) {
    if (h.Origin != kNone && (h.Origin < 0 || h.Origin >= static_cast<int>(points.size()))) {
      Fail(report, "a half-edge starts at a vertex with no point");
      return report;
    }
  }
  // The edge list of a valid subdivision: every edge once, from the half-edge with the smaller
  // index (or the one without twin), as EdgeList gives it.
  std::vector<uint64_t> keys;
  keys.reserve(pt.HalfEdges.size() / 2 + 1);
  for (int e = 0; e < pt.HalfEdgeCount(); ++e) {
    const THalfEdge& h = pt.HalfEdges[e];
    if (h.Origin == kNone || (h.Twin != kNone && h.Twin < e)) continue;
    const uint32_t a = static_cast<uint32_t>(h.Origin),
                   b = static_cast<uint32_t>(pt.Destination(e));
    keys.push_back(uint64_t{std::min(a, b)} << 32 | std::max(a, b));
  }
  std::sort(keys.begin(), keys.end());
  keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
  std::vector<TEdge> edges(keys.size());
  for (size_t k = 0; k < keys.size(); ++k)
    edges[k] = {static_cast<int>(keys[k] >> 32), static_cast<int>(keys[k] & 0xffffffffu)};
  keys = {};
  TGraph g;
  if (CheckGraph(points, polygon, edges, g, report) && !CheckFaceRecords(g, pt, report))
    report.Valid = false;
  return report;
}

}  // namespace

std::vector<TEdge> EdgeList(const TDCEL& subdivision) {
  std::vector<TEdge> edges;
  const int count = subdivision.HalfEdgeCount();
  for (const THalfEdge& h : subdivision.HalfEdges) {
    if (h.Origin == kNone || h.Next < 0 || h.Next >= count) continue;
    int dest = subdivision.HalfEdges[h.Next].Origin;
    if (dest == kNone) continue;
    edges.push_back({std::min(h.Origin, dest), std::max(h.Origin, dest)});
  }
  std::sort(edges.begin(), edges.end());
  edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
  return edges;
}

TCheckReport CheckPseudoTriangulation(const TNube& points, const std::vector<TEdge>& edges) {
  TCheckReport report;
  TGraph g;
  CheckGraph(points, nullptr, edges, g, report);
  return report;
}

TCheckReport CheckPseudoTriangulationOfPolygon(const TNube& points, const std::vector<int>& polygon,
                                               const std::vector<TEdge>& edges) {
  TCheckReport report;
  TGraph g;
  CheckGraph(points, &polygon, edges, g, report);
  return report;
}

TCheckReport CheckSubdivision(const TNube& points, const TDCEL& subdivision) {
  return CheckRecords(points, nullptr, subdivision);
}

TCheckReport CheckSubdivisionOfPolygon(const TNube& points, const std::vector<int>& polygon,
                                       const TDCEL& subdivision) {
  return CheckRecords(points, &polygon, subdivision);
}

}  // namespace qv
