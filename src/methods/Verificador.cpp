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
#include <array>
#include <cassert>
#include <climits>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <memory>
#include <memory_resource>
#include <numeric>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "geometry/FuncionesMatematicas.h"

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace qv {
namespace {

__extension__ using Int128 = __int128;

std::string EdgeName(const TEdge& e) {
  return std::to_string(e.A) + "-" + std::to_string(e.B);
}

int Sign64(int64_t v) {
  return (v > 0) - (v < 0);
}

// The checker fills arrays of many megabytes once each: where the system backs memory with
// huge pages on request, it is asked to for those, which saves a page fault per 4 KB.
void PreferHugePages(const void* data, size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  constexpr size_t kHuge = size_t{2} << 20;
  static const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  if (bytes < 2 * kHuge || page == 0 || page > kHuge) return;
  const uintptr_t first = (reinterpret_cast<uintptr_t>(data) + page - 1) / page * page;
  madvise(reinterpret_cast<void*>(first), reinterpret_cast<uintptr_t>(data) + bytes - first,
          MADV_HUGEPAGE);
#else
  (void)data, (void)bytes;
#endif
}

// Room for count elements, on huge pages where offered, before anything is written.
template <class T>
void ReserveBig(std::vector<T>& v, size_t count) {
  v.reserve(count);
  PreferHugePages(v.data(), count * sizeof(T));
}

template <class T>
std::vector<T> BigArray(size_t count, const T& value) {
  std::vector<T> v;
  ReserveBig(v, count);
  v.resize(count, value);
  return v;
}

// A half-edge once the embedding is built: the next one on its face and whether its face turns
// left there (a convex corner), its traced face and its end. Every field is written when the
// embedding is built.
struct THalf {
  uint32_t Link;  // 2 * next + (1 when convex)
  int Face;
  int Dest;
  int Next() const { return static_cast<int>(Link >> 1); }
  int Convex() const { return static_cast<int>(Link & 1); }
};

// The graph under test. Half-edge 2e runs A -> B of edge e, half-edge 2e + 1 runs B -> A.
struct TGraph {
  const TNube* Points = nullptr;
  std::vector<TEdge> Edges;
  std::vector<uint8_t> Active;    // vertex of the region: a polygon vertex or on an edge
  std::vector<int> ByXY;          // every point index in (x, y) order
  std::unique_ptr<THalf[]> Half;  // per half-edge
  std::vector<int> NonPointed;    // vertices with no angle above 180 degrees, in index order
  bool Overlap = false;           // two edges leave a vertex in one direction
  // Per traced face: its first half-edge (the walk starts there), its number of half-edges,
  // its convex corners, the first vertex it repeats and whether its raw area is positive.
  struct TFace {
    int First, Size, Corners, Repeated;
    bool Positive;
  };
  std::vector<TFace> Faces;
  int Outer = kNone;

  int FaceCount() const { return static_cast<int>(Faces.size()); }
  int Face(int h) const { return Half[h].Face; }
  int Origin(int h) const { return (h & 1) ? Edges[h >> 1].B : Edges[h >> 1].A; }
  int Dest(int h) const { return Origin(h ^ 1); }
  TPoint P(int v) const { return (*Points)[v]; }
  int HalfEdgeCount() const { return 2 * static_cast<int>(Edges.size()); }
  // The half-edge u -> v, or kNone when there is no edge u-v.
  int Find(int u, int v) const {
    TEdge key{std::min(u, v), std::max(u, v)};
    auto it = std::lower_bound(Edges.begin(), Edges.end(), key);
    if (it == Edges.end() || *it != key) return kNone;
    return 2 * static_cast<int>(it - Edges.begin()) + (u > v ? 1 : 0);
  }
};

// A sort key, the index it belongs to and one more number that goes with it.
struct TKeyed {
  uint64_t Key;
  int Item;
  int Extra = kNone;
};

bool KeyedLess(const TKeyed& a, const TKeyed& b) {
  return a.Key != b.Key ? a.Key < b.Key : a.Item < b.Item;
}

// Sorts by key, equal keys by item. Long input is dealt into about one bucket per element by
// the keys' leading bits, one pass that stays local when the input is nearly sorted (as the
// methods leave their edges), and each bucket is sorted on its own.
void SortKeyed(std::vector<TKeyed>& v) {
  if (v.size() < 4096) return std::sort(v.begin(), v.end(), KeyedLess);
  uint64_t lo = v[0].Key, hi = v[0].Key;
  bool sorted = true;
  for (size_t i = 1; i < v.size(); ++i) {
    lo = std::min(lo, v[i].Key), hi = std::max(hi, v[i].Key);
    sorted = sorted && !KeyedLess(v[i], v[i - 1]);
  }
  if (sorted) return;
  int shift = 0;
  while (((hi - lo) >> shift) >= v.size()) ++shift;
  const size_t buckets = static_cast<size_t>((hi - lo) >> shift) + 1;
  std::vector<uint32_t> start(buckets + 1, 0);
  for (const TKeyed& k : v) ++start[((k.Key - lo) >> shift) + 1];
  for (size_t b = 0; b < buckets; ++b) start[b + 1] += start[b];
  std::vector<TKeyed> dealt = BigArray(v.size(), TKeyed{});
  // Dealt with start[b] as bucket b's cursor, which ends at the start of bucket b + 1.
  for (const TKeyed& k : v) dealt[start[(k.Key - lo) >> shift]++] = k;
  for (size_t b = buckets; b > 0; --b) start[b] = start[b - 1];
  start[0] = 0;
  for (size_t b = 0; b < buckets; ++b) {
    const auto first = dealt.begin() + start[b], last = dealt.begin() + start[b + 1];
    if (last - first > 16) {
      std::sort(first, last, KeyedLess);
      continue;
    }
    for (auto it = first; it < last; ++it) {
      const TKeyed k = *it;
      auto to = it;
      for (; to > first && KeyedLess(k, *(to - 1)); --to) *to = *(to - 1);
      *to = k;
    }
  }
  v.swap(dealt);
}

bool Fail(TCheckReport& report, const std::string& why) {
  report.Valid = false;
  report.Reason = why;
  return false;
}

// ---- Input sanity ----------------------------------------------------------------------

bool CheckDistinctPoints(const TNube& points, std::vector<int>& order, TCheckReport& report) {
  const int n = static_cast<int>(points.size());
  order.resize(points.size());
  std::iota(order.begin(), order.end(), 0);
  auto less = [&](int a, int b) {
    if (points[a].X != points[b].X) return points[a].X < points[b].X;
    return points[a].Y < points[b].Y;
  };
  // The methods leave their points by increasing x (equal x in either order): then only runs of
  // equal x need sorting, by y and index.
  bool byX = true;
  for (int i = 1; i < n && byX; ++i) byX = points[i - 1].X <= points[i].X;
  if (byX) {
    for (int i = 0, j = 1; i < n; i = j++) {
      while (j < n && points[j].X == points[i].X) ++j;
      if (j - i > 1)
        std::sort(order.begin() + i, order.begin() + j, [&](int a, int b) {
          return points[a].Y != points[b].Y ? points[a].Y < points[b].Y : a < b;
        });
    }
  } else {
    // (x, y) as one unsigned number keeps the order and makes the sort a plain one.
    std::vector<TKeyed> keyed(points.size());
    for (int i = 0; i < n; ++i)
      keyed[i] = {uint64_t{static_cast<uint32_t>(points[i].X) ^ 0x80000000u} << 32 |
                      (static_cast<uint32_t>(points[i].Y) ^ 0x80000000u),
                  i};
    SortKeyed(keyed);
    for (int i = 0; i < n; ++i) order[i] = keyed[i].Item;
  }
  bool repeated = false;
  for (int i = 1; i < n; ++i) repeated = repeated || points[order[i - 1]] == points[order[i]];
  if (!repeated) return true;
  // The pair named is the first one the index sort below meets.
  std::iota(order.begin(), order.end(), 0);
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

bool NormalizeEdges(int n, std::vector<TEdge> edges, TGraph& g, TCheckReport& report) {
  for (TEdge& e : edges) {
    if (e.A < 0 || e.B < 0 || e.A >= n || e.B >= n)
      return Fail(report, "edge " + EdgeName(e) + " names a point that does not exist");
    if (e.A == e.B) return Fail(report, "edge " + EdgeName(e) + " joins a point to itself");
    e = {std::min(e.A, e.B), std::max(e.A, e.B)};
  }
  g.Edges = std::move(edges);
  if (!std::is_sorted(g.Edges.begin(), g.Edges.end())) {
    std::vector<TKeyed> keyed(g.Edges.size());
    for (size_t i = 0; i < g.Edges.size(); ++i)
      keyed[i] = {
          uint64_t{static_cast<uint32_t>(g.Edges[i].A)} << 32 | static_cast<uint32_t>(g.Edges[i].B),
          static_cast<int>(i)};
    SortKeyed(keyed);
    for (size_t i = 0; i < keyed.size(); ++i)
      g.Edges[i] = {static_cast<int>(keyed[i].Key >> 32),
                    static_cast<int>(keyed[i].Key & 0xffffffffu)};
    auto dup = std::adjacent_find(g.Edges.begin(), g.Edges.end());
    if (dup != g.Edges.end()) return Fail(report, "edge " + EdgeName(*dup) + " is given twice");
  }
  g.Active.assign(n, 0);
  for (const TEdge& e : g.Edges) g.Active[e.A] = g.Active[e.B] = 1;
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

bool CheckPointsOffEdges(const TGraph& g, const std::vector<uint8_t>& tested,
                         TCheckReport& report) {
  std::vector<int> order;
  for (int v = 0; v < static_cast<int>(tested.size()); ++v)
    if (tested[v]) order.push_back(v);
  std::ranges::sort(order, {}, [&](int a) { return g.P(a).X; });
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
// name the fault. Over the hull the traced faces usually settle planarity first (see
// Certified), and the sweep runs only for a drawing that fails.

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
    } else if (a.Low < b.Low) {
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
    if (g.P(high[e]) < g.P(low[e])) std::swap(low[e], high[e]);
    keys[e] = {g.P(low[e]), g.P(high[e]), e};
    ++startAt[low[e] + 1];
    ++endAt[high[e] + 1];
  }
  for (int v = 0; v < n; ++v) startAt[v + 1] += startAt[v], endAt[v + 1] += endAt[v];
  std::vector<int> starting(m), ending(m);
  {
    std::vector<int> s = startAt, t = endAt;
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

// A leaving half-edge with its far end, for the angular sort around one vertex. Angle is a
// rounded monotone stand-in for the angle (0 to 4 around the circle), only a first guess.
struct TSpoke {
  TPoint To;
  int HalfPlane;
  int HalfEdge;
  double Angle;
};

TSpoke MakeSpoke(TPoint from, TPoint to, int halfEdge) {
  const double dx = static_cast<double>(int64_t{to.X} - from.X),
               dy = static_cast<double>(int64_t{to.Y} - from.Y);
  const int half = HalfPlane(from, to);
  const double along = dx / (std::abs(dx) + std::abs(dy));
  return {to, half, halfEdge, half == 0 ? 1 - along : 3 + along};
}

void BuildEmbedding(TGraph& g) {
  const int n = static_cast<int>(g.Active.size()), m = static_cast<int>(g.Edges.size());
  // The edges are sorted: those a vertex starts are consecutive, those it ends are gathered by
  // their end (dealt with endStart[v] as v's cursor, which ends at the start of v + 1).
  std::vector<int> endStart = BigArray(static_cast<size_t>(n) + 1, 0),
                   ending = BigArray(static_cast<size_t>(m), 0);
  for (const TEdge& e : g.Edges) ++endStart[e.B + 1];
  for (int v = 0; v < n; ++v) endStart[v + 1] += endStart[v];
  for (int e = 0; e < m; ++e) ending[endStart[g.Edges[e].B]++] = e;
  for (int v = n; v > 0; --v) endStart[v] = endStart[v - 1];
  endStart[0] = 0;
  g.Half = std::make_unique_for_overwrite<THalf[]>(2 * static_cast<size_t>(m));
  PreferHugePages(g.Half.get(), 2 * static_cast<size_t>(m) * sizeof(THalf));
  g.NonPointed.clear();
  g.Overlap = false;
  std::vector<TSpoke> ring;
  std::vector<int> turns;
  for (int v = 0, started = 0; v < n; ++v) {
    const TPoint o = g.P(v);
    ring.clear();
    for (int k = endStart[v]; k < endStart[v + 1]; ++k)
      ring.push_back(MakeSpoke(o, g.P(g.Edges[ending[k]].A), 2 * ending[k] + 1));
    for (; started < m && g.Edges[started].A == v; ++started)
      ring.push_back(MakeSpoke(o, g.P(g.Edges[started].B), 2 * started));
    const int deg = static_cast<int>(ring.size());
    if (deg == 0) continue;
    // Sorted by the rounded angle, then confirmed exactly, pair by pair; sorted exactly when
    // rounding misled.
    std::sort(ring.begin(), ring.end(),
              [](const TSpoke& a, const TSpoke& b) { return a.Angle < b.Angle; });
    turns.resize(ring.size());
    bool exact = true;
    for (int i = 0; i < deg; ++i) {
      const TSpoke& before = ring[i > 0 ? i - 1 : deg - 1];
      turns[i] = OrientationSign(o, before.To, ring[i].To);
      exact = exact && (i == 0 || before.HalfPlane < ring[i].HalfPlane ||
                        (before.HalfPlane == ring[i].HalfPlane && turns[i] > 0));
    }
    if (!exact) {
      std::sort(ring.begin(), ring.end(), [o](const TSpoke& a, const TSpoke& b) {
        if (a.HalfPlane != b.HalfPlane) return a.HalfPlane < b.HalfPlane;
        return OrientationSign(o, a.To, b.To) > 0;
      });
      for (int i = 0; i < deg; ++i)
        turns[i] = OrientationSign(o, ring[i > 0 ? i - 1 : deg - 1].To, ring[i].To);
    }
    // Entering v along the twin of one spoke, the face continues on the spoke just clockwise
    // (raw) of it, and turns left when the angle between the two is below 180 degrees. A
    // vertex is pointed when one of these angles (the outer one included) exceeds 180.
    bool pointed = deg == 1;
    for (int i = 0; i < deg; ++i) {
      const TSpoke& before = ring[i > 0 ? i - 1 : deg - 1];
      const int turn = turns[i];
      g.Half[ring[i].HalfEdge ^ 1] = {static_cast<uint32_t>(before.HalfEdge) << 1 | (turn > 0),
                                      kNone, v};
      pointed = pointed || turn < 0;
      g.Overlap = g.Overlap || (deg > 1 && turn == 0 && before.HalfPlane == ring[i].HalfPlane);
    }
    if (!pointed) g.NonPointed.push_back(v);
  }
}

// Walks every face once, in order of its lowest half-edge, and notes what the later checks ask
// of it: the sign of its raw area, its convex corners and the first vertex it meets twice.
void TraceFaces(TGraph& g) {
  const int halfEdges = g.HalfEdgeCount();
  g.Faces.clear();
  // A plane drawing has E - V + 2 faces.
  ReserveBig(g.Faces, std::max<size_t>(g.Edges.size() + 2, g.Active.size()) - g.Active.size());
  std::vector<int> stamp = BigArray(g.Active.size(), kNone);
  for (int start = 0; start < halfEdges; ++start) {
    if (g.Half[start].Face != kNone) continue;
    const int id = g.FaceCount();
    Int128 area = 0;
    int size = 0, corners = 0, repeated = kNone;
    // The vertices in walk order are the start's origin, then each half-edge's end but the
    // last one's. Next is a permutation of the half-edges, so the walk returns to start.
    stamp[g.Half[start ^ 1].Dest] = id;
    TPoint from = g.P(g.Half[start ^ 1].Dest);
    for (int h = start; g.Half[h].Face == kNone;) {
      THalf& half = g.Half[h];
      half.Face = id;
      ++size;
      corners += half.Convex();
      const TPoint to = g.P(half.Dest);
      area += Int128{int64_t{from.X} * to.Y} - int64_t{from.Y} * to.X;
      from = to;
      h = half.Next();
      if (h == start) break;
      if (stamp[half.Dest] == id && repeated == kNone) repeated = half.Dest;
      stamp[half.Dest] = id;
    }
    g.Faces.push_back({start, size, corners, repeated, area > 0});
  }
}

// Exactly one face, the outer one, has no positive area.
bool CheckOuterFace(TGraph& g, TCheckReport& report) {
  g.Outer = kNone;
  for (int f = 0; f < g.FaceCount(); ++f) {
    if (g.Faces[f].Positive) continue;
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
  order.reserve(g.ByXY.size());
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
    if (g.Face(h) != g.Outer && g.Face(h ^ 1) != g.Outer)
      return Fail(report, std::string(what) + " edge " +
                              EdgeName({std::min(u, v), std::max(u, v)}) +
                              " is not on the outer boundary: some edge lies outside the " + what);
  }
  if (g.Faces[g.Outer].Size != k)
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
  for (int f = 0; f < g.FaceCount(); ++f) {
    const TGraph::TFace& face = g.Faces[f];
    if (f == g.Outer || (face.Repeated == kNone && face.Corners == 3)) continue;
    const std::string name = "the face through edge " + EdgeName(g.Edges[face.First >> 1]);
    if (face.Repeated != kNone)
      return Fail(report, name + " is not a simple polygon (point " +
                              std::to_string(face.Repeated) + " repeats)");
    return Fail(report, name + " has " + std::to_string(face.Corners) + " convex corners");
  }
  return true;
}

void CountFaces(const TGraph& g, TCheckReport& report) {
  report.Faces = report.Triangles = 0;
  for (int f = 0; f < g.FaceCount(); ++f) {
    if (f == g.Outer) continue;
    ++report.Faces;
    if (g.Faces[f].Size == 3) ++report.Triangles;
  }
}

void ReportPointedness(const TGraph& g, TCheckReport& report) {
  report.NonPointedVertices = g.NonPointed;
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
    for (int v : *polygon) g.Active[v] = 1;
    return true;
  }
  if (AllOnOneLine(points)) return Fail(report, "all points lie on one line");
  for (int v = 0; v < static_cast<int>(points.size()); ++v)
    if (!g.Active[v]) return Fail(report, "point " + std::to_string(v) + " is on no edge");
  return true;
}

// No active vertex lies inside an edge and no two edges meet but in a shared end; otherwise
// the first such fault (in the pair checks' order) is the reason.
bool CheckPlane(TGraph& g, TCheckReport& report) {
  return PlaneBySweep(g) || (CheckPointsOffEdges(g, g.Active, report) && CheckEdgePairs(g, report));
}

// The verdicts on the traced faces, in their order, once the drawing is known to be plane and
// connected; polygon is nullptr for the convex hull.
bool JudgeFaces(const std::vector<int>* polygon, TGraph& g, TCheckReport& report) {
  ReportPointedness(g, report);
  if (!CheckOuterFace(g, report) || !CheckEuler(g, report)) return false;
  CountFaces(g, report);
  bool covered = polygon ? OuterFaceIs(g, *polygon, "polygon", report)
                         : OuterFaceIs(g, HullWithBoundaryPoints(g), "hull", report);
  if (!covered || !CheckBoundedFaces(g, report)) return false;
  report.Valid = true;
  report.Reason.clear();
  return true;
}

// A drawing over the hull is plane and connected, and passes every verdict after those, when no
// two edges leave a vertex in one direction, exactly one traced face (the outer one) has no
// positive area, Euler's formula V - E + F = 2 holds, the outer face turns right or goes
// straight at each corner, and every other face has no repeated vertex and exactly three convex
// corners. The sweep, the search for pieces and the hull then run only to name the first fault
// of a drawing that fails. Why:
// - Around each vertex the edges are in exact angular order, so each corner of a traced face
//   has the angle between two consecutive edges, strictly between 0 and 360 degrees, and the
//   corners at a vertex add up to 360. Summed over the faces of one connected piece, exterior
//   angles and Euler's formula for its genus g make the faces' turning numbers add up to
//   faces - 2 + 2g. The outer face turns at least once clockwise; a face with three convex
//   corners (each turning by less than 180) and no other left turn turns at most once. So the
//   piece holding the outer face has genus 0, its outer face is a convex polygon and its other
//   faces turn once; V - E + F = 2 over all pieces then leaves every other piece genus 1 and
//   all its faces turning once too.
// - A face that turns once is a simple polygon: its three reflex chains turn by less than 180
//   degrees in all, so each is monotone in some direction and simple, and two chains meeting
//   away from their shared corner would close a simple loop through that corner whose turning
//   lies strictly between -360 and 360 degrees.
// - The face cycles of a piece cancel edge by edge, so its faces' winding numbers add up to
//   zero: no second piece (its faces would all be counterclockwise simple polygons), and in
//   the one piece each point inside the outer polygon is inside exactly one face, each point
//   outside it in none. A vertex outside it or on one of its sides would have faces around it
//   reaching outside, so the outer face is the hull boundary through every point on it. Two
//   edges crossing, or an edge through a vertex, would put points near the meeting inside two
//   faces, or make one face's boundary meet itself.
// Inside a polygon the boundary itself may cross, so there the sweep always runs.
bool Certified(TGraph& g) {
  if (g.Overlap) return false;
  TCheckReport unused;
  if (!CheckOuterFace(g, unused) || !CheckEuler(g, unused) || g.Faces[g.Outer].Corners != 0)
    return false;
  for (int f = 0; f < g.FaceCount(); ++f)
    if (f != g.Outer && (g.Faces[f].Repeated != kNone || g.Faces[f].Corners != 3)) return false;
  return true;
}

bool CheckGraph(const TNube& points, const std::vector<int>* polygon, std::vector<TEdge> edges,
                TGraph& g, TCheckReport& report) {
  int n = static_cast<int>(points.size());
  g.Points = &points;
  if (n < 3) return Fail(report, "fewer than 3 points");
  if (!CheckDistinctPoints(points, g.ByXY, report)) return false;
  if (polygon && !CheckPolygonIndices(n, *polygon, report)) return false;
  if (!NormalizeEdges(n, std::move(edges), g, report)) return false;
  if (!MarkRegionVertices(points, polygon, g, report)) return false;
  if (!polygon) {
    BuildEmbedding(g);
    TraceFaces(g);
    if (Certified(g)) {
      // What the checks below conclude, without the sweep, the pieces and the hull.
      [[maybe_unused]] TCheckReport full;
      assert(CheckPlane(g, full) && CheckConnected(g, full) && JudgeFaces(nullptr, g, full));
      ReportPointedness(g, report);
      CountFaces(g, report);
      report.Valid = true;
      report.Reason.clear();
      return true;
    }
  }
  if (!CheckPlane(g, report) || !CheckConnected(g, report)) return false;
  if (polygon) {
    BuildEmbedding(g);
    TraceFaces(g);
  }
  return JudgeFaces(polygon, g, report);
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
// cycle is not one bounded face in that sense. traced gives each live half-edge of the record
// the traced half-edge with its ends.
int TracedFaceOf(const TGraph& g, const TDCEL& pt, const std::vector<int>& traced,
                 const std::vector<int>& cycle, int sense) {
  int face = kNone;
  for (int h : cycle) {
    const int t = traced[h] ^ sense;
    if (g.Face(t) == g.Outer || (face != kNone && g.Face(t) != face)) return kNone;
    face = g.Face(t);
    // A half-edge without twin must have the outer face on its other side.
    if (pt.HalfEdges[h].Twin == kNone && g.Face(t ^ 1) != g.Outer) return kNone;
  }
  return face;
}

// Every face record is one traced bounded face (in either sense) and every traced bounded face
// has one record; a half-edge without twin lies on the outer boundary.
bool CheckFaceRecords(const TGraph& g, const TDCEL& pt, const std::vector<int>& traced,
                      size_t liveHalfEdges, TCheckReport& report) {
  std::vector<int> owner = BigArray(static_cast<size_t>(g.FaceCount()), kNone);
  int live = 0;
  size_t recorded = 0;
  std::vector<int> cycle;
  for (int f = 0; f < pt.FaceCount(); ++f) {
    if (pt.Faces[f] == kNone) continue;
    ++live;
    FaceCycle(pt, f, cycle);
    const auto name = [f] { return "face record " + std::to_string(f); };
    if (cycle.empty()) return Fail(report, name() + " has a broken cycle");
    int face = TracedFaceOf(g, pt, traced, cycle, 0);
    if (face == kNone) face = TracedFaceOf(g, pt, traced, cycle, 1);
    if (face == kNone || static_cast<int>(cycle.size()) != g.Faces[face].Size ||
        owner[face] != kNone)
      return Fail(report, name() + " is not one face of the edges");
    owner[face] = f;
    recorded += cycle.size();
  }
  if (live != report.Faces)
    return Fail(report, "the subdivision records " + std::to_string(live) + " faces, the edges " +
                            "make " + std::to_string(report.Faces));
  if (liveHalfEdges != recorded) return Fail(report, "a live half-edge belongs to no face record");
  return true;
}

TCheckReport CheckRecords(const TNube& points, const std::vector<int>* polygon, const TDCEL& pt) {
  TCheckReport report;
  std::string why;
  if (!pt.IsValid(&why)) {
    Fail(report, "invalid subdivision: " + why);
    return report;
  }
  // The edge list of a valid subdivision: every edge once, from the half-edge with the smaller
  // index (or the one without twin), as EdgeList gives it; traced names, for each live
  // half-edge, the graph's half-edge with the same ends (its twin's reversed, when the twin
  // gave the edge).
  std::vector<TKeyed> keyed;
  ReserveBig(keyed, pt.HalfEdges.size() / 2 + 1);
  size_t live = 0;
  for (int e = 0; e < pt.HalfEdgeCount(); ++e) {
    const THalfEdge& h = pt.HalfEdges[e];
    if (h.Origin == kNone) continue;
    if (h.Origin < 0 || h.Origin >= static_cast<int>(points.size())) {
      Fail(report, "a half-edge starts at a vertex with no point");
      return report;
    }
    ++live;
    if (h.Twin != kNone && h.Twin < e) continue;
    const uint32_t a = static_cast<uint32_t>(h.Origin),
                   b = static_cast<uint32_t>(pt.Destination(e));
    keyed.push_back(
        {uint64_t{std::min(a, b)} << 32 | std::max(a, b), 2 * e + (a > b ? 1 : 0), h.Twin});
  }
  SortKeyed(keyed);
  std::vector<TEdge> edges;
  ReserveBig(edges, keyed.size());
  std::vector<int> traced = BigArray(pt.HalfEdges.size(), kNone);
  for (size_t k = 0; k < keyed.size(); ++k) {
    if (k == 0 || keyed[k].Key != keyed[k - 1].Key)
      edges.push_back(
          {static_cast<int>(keyed[k].Key >> 32), static_cast<int>(keyed[k].Key & 0xffffffffu)});
    const int t = 2 * (static_cast<int>(edges.size()) - 1) + (keyed[k].Item & 1);
    traced[keyed[k].Item >> 1] = t;
    if (keyed[k].Extra != kNone) traced[keyed[k].Extra] = t ^ 1;
  }
  keyed = {};
  TGraph g;
  if (CheckGraph(points, polygon, std::move(edges), g, report) &&
      !CheckFaceRecords(g, pt, traced, live, report))
    report.Valid = false;
  return report;
}

}  // namespace

std::vector<TEdge> EdgeList(const TDCEL& subdivision) {
  std::vector<TEdge> edges;
  for (const THalfEdge& h : subdivision.HalfEdges) {
    if (h.Origin == kNone) continue;  // removed
    // Subdivisions come from the methods, never from input: a live half-edge's next is live.
    assert(h.Next >= 0 && h.Next < subdivision.HalfEdgeCount());
    const int dest = subdivision.HalfEdges[h.Next].Origin;
    assert(dest != kNone);
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
