// Incremental pseudo-triangulation with bounded vertex degree: faces still holding points are
// taken from a work list and split by convex chains, or have a corner cut off.
//
// The points are sorted ascending by x, ties descending by y, so an index range between two
// vertices stands for the points lying between them in x. Faces on the work list are convex;
// the corners cut off and the middle parts of splits are final pseudo-triangles.
//
// Each chain step is a gift-wrapping step: among the candidate points, the one seen from the
// current point c at the largest angle away from the target t. Angles are compared exactly (by
// orientation), and a chain edge never passes over a point: when one lies on the open segment,
// the chain steps to the nearest such point first.
#include <algorithm>
#include <cassert>
#include <limits>
#include <numeric>
#include <optional>
#include <string>
#include <utility>

#include "geometry/BloquesXY.h"
#include "geometry/FuncionesMatematicas.h"
#include "geometry/UserError.h"
#include "methods/Incremental.h"
#include "methods/Pasos.h"

namespace qv {
namespace {

__extension__ using Int128 = __int128;

const char* const kDegenerate =
    "The points are too degenerate for the bounded vertex degree method.";

int Sign(int64_t v) {
  return (v > 0) - (v < 0);
}

void Link(TDCEL& pt, int from, int to) {
  pt.SetNext(from, to);
  pt.SetPrev(to, from);
}

// chain runs from A = Origin(ea) to B = Origin(eb), both on face f; its inner vertices have no
// edges yet. The new face (index FaceCount before the call) takes f's boundary from A forward to
// B, closed by the chain back to A; f keeps the boundary from B forward to A, closed by the
// chain. Representatives: ea for the new face, eb for f. Returns the new face.
//
//    A ---- boundary ----> B           new face: A ~~> B ~~chain back~~> A
//     \__ chain (inside f) _/          f:        B ~~> A ~~chain~~> B
int SplitFaceByChain(int f, int ea, int eb, const std::vector<int>& chain, TDCEL& pt) {
  const int k = static_cast<int>(chain.size()) - 1;
  assert(k >= 1 && pt.Origin(ea) == chain.front() && pt.Origin(eb) == chain.back());
  const int pa = pt.Prev(ea), pb = pt.Prev(eb);
  const int fresh = pt.FaceCount();
  std::vector<int> forward(static_cast<size_t>(k)), backward(static_cast<size_t>(k));
  for (int i = 0; i < k; ++i) {
    forward[i] = pt.HalfEdgeCount();
    pt.AddHalfEdge(chain[i], kNone, kNone, kNone, f);
    backward[i] = pt.HalfEdgeCount();
    pt.AddHalfEdge(chain[i + 1], kNone, kNone, forward[i], fresh);
  }
  Link(pt, pa, forward[0]);
  for (int i = 0; i + 1 < k; ++i) Link(pt, forward[i], forward[i + 1]);
  Link(pt, forward[k - 1], eb);
  Link(pt, pb, backward[k - 1]);
  for (int i = k - 1; i > 0; --i) Link(pt, backward[i], backward[i - 1]);
  Link(pt, backward[0], ea);
  for (int x = ea, guard = pt.HalfEdgeCount(); guard != 0; x = pt.Next(x), --guard) {
    pt.SetFace(x, fresh);
    if (x == pb) break;
  }
  pt.SetFaceEdge(fresh, ea);
  pt.StoreFaceEdge(f, eb);
  return fresh;
}

// Index ranges at least this long are searched in the runs sorted by y rather than scanned.
constexpr int kScanBelow = 64;

// The answer of a gift-wrapping step: from the runs (when there are) on long index ranges.
int WidestTurn(const TNube& points, const TBlocksXY* search, const TTurnQuery& q) {
  return search && q.Hi - q.Lo >= kScanBelow ? search->WidestTurn(q) : WidestTurnByScan(points, q);
}

// The point of the open segment c - n at lattice position k of g (points sorted ascending by
// x, ties descending by y, searched in [lo, hi)), or kNone.
int PointAtLattice(const TNube& points, TPoint C, int64_t dx, int64_t dy, int64_t k, int64_t g,
                   int lo, int hi) {
  const TPoint p{static_cast<int32_t>(C.X + k * (dx / g)),
                 static_cast<int32_t>(C.Y + k * (dy / g))};
  const auto at =
      std::lower_bound(points.begin() + lo, points.begin() + hi, p,
                       [](TPoint a, TPoint b) { return a.X != b.X ? a.X < b.X : a.Y > b.Y; });
  return at != points.begin() + hi && *at == p ? static_cast<int>(at - points.begin()) : kNone;
}

// The point nearest to c on the open segment c - n, or n when there is none. With the points
// sorted by x (ties by y), such points have indices strictly between c and n. With `lattice`,
// a long range is not scanned: the only places on the open segment for integer points are the
// g - 1 lattice points between its ends (g the gcd of its coordinate differences), looked up
// nearest first.
int NearestOnSegment(const TNube& points, int c, int n, bool lattice) {
  const TPoint C = points[c], N = points[n];
  const int lo = std::min(c, n) + 1, hi = std::max(c, n);
  const int64_t dx = int64_t{N.X} - C.X, dy = int64_t{N.Y} - C.Y;
  if (lattice && hi - lo >= 16) {
    const int64_t g = std::gcd(dx, dy);
    if ((g - 1) * 16 < hi - lo) {
      for (int64_t k = 1; k < g; ++k)
        if (const int j = PointAtLattice(points, C, dx, dy, k, g, lo, hi); j != kNone) return j;
      return n;
    }
  }
  int best = n;
  Int128 bestD = 0;
  for (int j = lo; j < hi; ++j) {
    const TPoint P = points[j];
    if (OrientationSign(C, N, P) != 0 || P == C || P == N) continue;
    if (std::min(C.X, N.X) > P.X || P.X > std::max(C.X, N.X) || std::min(C.Y, N.Y) > P.Y ||
        P.Y > std::max(C.Y, N.Y))
      continue;
    const Int128 ex = int64_t{P.X} - C.X, ey = int64_t{P.Y} - C.Y;
    const Int128 d = ex * ex + ey * ey;
    if (best == n || d < bestD) {
      best = j;
      bestD = d;
    }
  }
  return best;
}

// The split chain step from c towards t, t being one end of the opposite edge o -> d. A
// candidate lies on the same side of the line c - t as the other end q, and on the inner side
// of the opposite edge or on its line; with skipSameX points with c's x are left out. The
// answer has the largest angle at c away from c -> t (the lowest index on equal angles), or t.
int SplitChainStep(const TNube& points, const TBlocksXY* search, int c, int t, int d, int o, int lo,
                   int hi, bool skipSameX) {
  const TPoint C = points[c], T = points[t], D = points[d], O = points[o];
  const TPoint Q = (t == d) ? O : D;
  const int side = OrientationSign(C, Q, T);
  if (side == 0) return t;
  // The candidates lie in the cone at t between the ray towards q (along the opposite edge)
  // and the ray towards c, when c is strictly inside that edge's line. When both rays lead to
  // one side of t's vertical, every candidate lies on that side too: the points are sorted by
  // x, so the scan leaves out the points beyond it (and keeps its order).
  const auto first = points.begin() + std::max(lo, 0);
  const auto last = points.begin() + std::min(hi + 1, static_cast<int>(points.size()));
  auto from = first, to = last;
  if (first < last && OrientationSign(D, C, O) < 0) {
    if (Q.X >= T.X && C.X >= T.X)
      from = std::partition_point(first, last, [&](TPoint p) { return p.X < T.X; });
    else if (Q.X <= T.X && C.X <= T.X)
      to = std::partition_point(first, last, [&](TPoint p) { return p.X <= T.X; });
  }
  // Every candidate turns from c -> t to c -> p in the sense -side; a larger angle turns on.
  TTurnQuery q;
  q.C = C;
  q.T = T;
  q.Sense = -side;
  q.Lo = static_cast<int>(from - points.begin());
  q.Hi = static_cast<int>(to - points.begin());
  q.Excluded = {c, t, kNone};
  q.A[0] = O;  // the inner side of the opposite edge o -> d, or its line
  q.B[0] = D;
  q.HalfPlanes = 1;
  q.SkipX = skipSameX;
  q.SkippedX = C.X;
  const int best = WidestTurn(points, search, q);
  return best == kNone ? t : best;
}

// The corner chain step from c in the triangle c, w, x (counterclockwise on the screen): among
// the points of the closed triangle, the one at the largest angle at c away from c -> x (angle
// above 0, the lowest index on equal angles), or x.
int CornerChainStep(const TNube& points, const TBlocksXY* search, int w, int c, int x, int lo,
                    int hi) {
  const TPoint W = points[w], C = points[c], X = points[x];
  const int sense = OrientationSign(C, X, W);
  if (sense == 0) return x;
  // Only points within the triangle's x extent can lie in it; the points are sorted by x, so
  // that part of the index range is found by bisection (and scanned in the same order).
  const int32_t minX = std::min({W.X, C.X, X.X}), maxX = std::max({W.X, C.X, X.X});
  const auto begin = points.begin() + std::max(lo, 0);
  const auto end = points.begin() + std::min(hi + 1, static_cast<int>(points.size()));
  if (begin >= end) return x;
  const auto from = std::partition_point(begin, end, [&](TPoint p) { return p.X < minX; });
  const auto to = std::partition_point(from, end, [&](TPoint p) { return p.X <= maxX; });
  TTurnQuery q;
  q.C = C;
  q.T = X;
  q.Sense = sense;
  q.Lo = static_cast<int>(from - points.begin());
  q.Hi = static_cast<int>(to - points.begin());
  q.Excluded = {c, x, w};
  q.A = {C, W, X};  // the closed triangle
  q.B = {W, X, C};
  q.HalfPlanes = 3;
  const int best = WidestTurn(points, search, q);
  return best == kNone ? x : best;
}

// Chain vertices with a straight angle: such a vertex keeps that angle in the final face beside
// the chain, so it can never become pointed (with no three points collinear there are none).
// They are counted over the chains of one candidate split or corner as the chains grow. A candidate
// is only taken when it has fewer than the best one found before it, so its chains are abandoned as
// soon as the count reaches that number: the search over candidates then costs little more than the
// candidates that are taken.
struct TStraightCount {
  int Count = 0;
  int Limit = std::numeric_limits<int>::max();
  bool Reached() const { return Count >= Limit; }
};

// Appends the step's answer n to the chain, through the points lying on the segment from the
// chain's end to n. Chain vertices other than the target must be new vertices, and not on
// `taken` (a chain planned before this one in the same split). Stops early, the chain unfinished,
// once `straight` reaches its limit.
void ExtendChain(std::vector<int>& chain, int n, int target, const TNube& points,
                 const TBlocksXY* search, const TDCEL& pt, TStraightCount& straight,
                 const std::vector<int>& taken = {}) {
  for (int guard = static_cast<int>(points.size()); guard != 0; --guard) {
    const int next = NearestOnSegment(points, chain.back(), n, search != nullptr);
    if (next != target &&
        (IsVertexPresent(next, pt) || std::find(chain.begin(), chain.end(), next) != chain.end() ||
         std::find(taken.begin(), taken.end(), next) != taken.end()))
      throw UserError(kDegenerate);
    chain.push_back(next);
    const size_t k = chain.size();
    if (k >= 3 &&
        OrientationSign(points[chain[k - 3]], points[chain[k - 2]], points[chain[k - 1]]) == 0 &&
        (++straight.Count, straight.Reached()))
      return;
    if (next == n) return;
  }
  throw UserError(kDegenerate);
}

// The chain of a split from m towards t whose first step answered n; later steps search the
// indices between the target and the current point ([t, c] when leftwards, else [c, t]).
std::vector<int> SplitChain(int m, int n, int t, int d, int o, bool leftwards, bool skipSameX,
                            const TNube& points, const TBlocksXY* search, const TDCEL& pt,
                            TStraightCount& straight, const std::vector<int>& taken = {}) {
  std::vector<int> chain{m};
  for (int guard = static_cast<int>(points.size()) + 1; guard != 0; --guard) {
    ExtendChain(chain, n, t, points, search, pt, straight, taken);
    const int c = chain.back();
    if (c == t || straight.Reached()) return chain;
    n = leftwards ? SplitChainStep(points, search, c, t, d, o, t, c, skipSameX)
                  : SplitChainStep(points, search, c, t, d, o, c, t, false);
  }
  throw UserError(kDegenerate);
}

// True when f's boundary from the half-edge `from` forward to vertex b is one straight segment
// (a single edge, or collinear edges): a chain straight to b would run along it.
bool StraightBoundary(int from, int b, const TNube& points, const TDCEL& pt) {
  const TPoint A = points[pt.Origin(from)], B = points[b];
  // b is on f's boundary, so the walk ends.
  for (int e = from;; e = pt.Next(e)) {
    const int v = pt.Destination(e);
    if (v == b) return true;
    if (OrientationSign(A, B, points[v]) != 0) return false;
  }
}

// Vertices of f where the boundary turns (a straight angle is no corner).
int CornerCount(int f, const TNube& points, const TDCEL& pt) {
  int corners = 0;
  const int start = pt.FaceEdge(f);
  int e = start;
  for (int guard = pt.HalfEdgeCount(); guard != 0; --guard) {
    const TPoint a = points[pt.Origin(e)], b = points[pt.Destination(e)],
                 c = points[pt.Destination(pt.Next(e))];
    if (OrientationSign(a, b, c) != 0) ++corners;
    e = pt.Next(e);
    if (e == start) break;
  }
  return corners;
}

// A split of face f at vertex m, computed before anything is added: the opposite edge o -> d,
// the side, and the two chains (empty when skipped), each running from m to its target.
// Straight counts the straight vertices of both chains; with Straight.Reached() the plan was
// abandoned, its chains unfinished.
struct TSplitPlan {
  int M = kNone;
  int Opposite = kNone;
  bool Up = false;
  std::vector<int> First, Second;
  TStraightCount Straight;
  int Chains() const { return !First.empty() + !Second.empty(); }
};

TSplitPlan PlanSplit(int f, int m, int left, int right, const TNube& points,
                     const TBlocksXY* search, const TDCEL& pt,
                     int straightLimit = std::numeric_limits<int>::max()) {
  TSplitPlan plan;
  plan.Straight.Limit = straightLimit;
  plan.M = m;
  const int em = pt.FindEdgeInFace(m, f);
  const int64_t xm = points[m].X;
  // 1. The opposite edge o -> d, met by the vertical line through m.
  int opposite = kNone;
  for (int h = pt.Next(em), guard = pt.HalfEdgeCount(); h != em && guard != 0;
       h = pt.Next(h), --guard) {
    if (Sign(xm - points[pt.Origin(h)].X) != Sign(xm - points[pt.Destination(h)].X)) {
      opposite = h;
      break;
    }
  }
  if (opposite == kNone || pt.Origin(opposite) == m || pt.Destination(opposite) == m)
    throw UserError(kDegenerate);
  plan.Opposite = opposite;
  const int o = pt.Origin(opposite), d = pt.Destination(opposite);
  // 2. up: m lies below the opposite edge as displayed (the edge then runs right to left).
  const int area = OrientationSign(points[d], points[m], points[o]);
  const bool up = points[d].X >= points[o].X ? area > 0 : area < 0;
  plan.Up = up;
  // 3. First chain, towards the left end t1; it cuts off the left part. It is skipped when it
  // would be one edge along the boundary (t1 adjacent to m, or joined to it by a straight run).
  const int t1 = up ? d : o;
  const bool skipSameX = !up && xm == points[d].X;
  const int n1 = SplitChainStep(points, search, m, t1, d, o, left, m, skipSameX);
  const bool firstAlongBoundary =
      up ? StraightBoundary(pt.Next(opposite), m, points, pt) : StraightBoundary(em, o, points, pt);
  if (!(n1 == t1 && firstAlongBoundary))
    plan.First = SplitChain(m, n1, t1, d, o, true, skipSameX, points, search, pt, plan.Straight);
  if (plan.Straight.Reached()) return plan;
  // 4. Second chain, towards the right end t2; it cuts off the right part. The first chain
  // leaves the boundary it is compared with untouched: with up the part from m forward to o,
  // otherwise the part from d forward to m.
  const int t2 = up ? o : d;
  const int firstLo = points[t1].X >= xm ? std::max(m, t1) + 1 : m;
  const int n2 = SplitChainStep(points, search, m, t2, d, o, firstLo, right, false);
  const bool secondAlongBoundary =
      up ? StraightBoundary(em, o, points, pt) : StraightBoundary(pt.Next(opposite), m, points, pt);
  if (!(n2 == t2 && secondAlongBoundary))
    plan.Second =
        SplitChain(m, n2, t2, d, o, false, false, points, search, pt, plan.Straight, plan.First);
  return plan;
}

// Builds a planned split; returns the number of chains built. The new faces are the two outer
// parts; f keeps the middle part.
int ApplySplit(int f, const TSplitPlan& plan, TDCEL& pt, std::vector<int>& counters) {
  const int m = plan.M, opposite = plan.Opposite;
  const int em = pt.FindEdgeInFace(m, f);
  if (!plan.First.empty()) {
    const std::vector<int>& first = plan.First;
    if (plan.Up) {
      SplitFaceByChain(f, pt.Next(opposite), em, {first.rbegin(), first.rend()}, pt);
    } else {
      SplitFaceByChain(f, em, opposite, first, pt);
    }
    pt.StoreFaceEdge(f, opposite);
    ++counters[m];
    ++counters[first.back()];
  }
  if (!plan.Second.empty()) {
    const std::vector<int>& second = plan.Second;
    const int em2 = pt.FindEdgeInFace(m, f);
    if (plan.Up) {
      SplitFaceByChain(f, em2, opposite, second, pt);
    } else {
      SplitFaceByChain(f, pt.Next(opposite), em2, {second.rbegin(), second.rend()}, pt);
    }
    pt.StoreFaceEdge(f, opposite);
    ++counters[m];
    ++counters[second.back()];
  }
  return plan.Chains();
}

// f's vertices merged by x from its leftmost vertex, as MedianVertex orders them.
std::vector<int> VerticesByX(int f, int left, const TNube& points, const TDCEL& pt) {
  const int el = pt.FindEdgeInFace(left, f);
  int forward = el, backward = pt.Prev(el);
  int a = pt.Destination(forward), b = pt.Origin(backward);
  std::vector<int> order{left};
  while (a != b) {  // the two walks meet at the last vertex
    if (points[a].X >= points[b].X) {
      order.push_back(b);
      backward = pt.Prev(backward);
      b = pt.Origin(backward);
    } else {
      order.push_back(a);
      forward = pt.Next(forward);
      a = pt.Destination(forward);
    }
  }
  order.push_back(a);
  return order;
}

// The split of f at the median vertex m, unless its chains would thread points on a straight
// path (three or more collinear points on a chain): then the vertex nearest to the median in x
// order whose split builds a chain and threads fewer points, none when possible.
TSplitPlan BestSplit(int f, int m, const TFaceSummary& s, const TNube& points,
                     const TBlocksXY* search, const TDCEL& pt) {
  TSplitPlan best = PlanSplit(f, m, s.Left, s.Right, points, search, pt);
  int straight = best.Straight.Count;
  if (straight == 0) return best;
  const std::vector<int> order = VerticesByX(f, s.Left, points, pt);
  assert(static_cast<int>(order.size()) == s.Count);
  const int median = static_cast<int>(std::find(order.begin(), order.end(), m) - order.begin());
  const int size = static_cast<int>(order.size());
  for (int step = 1; step < size && straight > 0; ++step) {
    for (const int at : {median - step, median + step}) {
      if (at < 0 || at >= size || order[at] == m || straight == 0) continue;
      try {
        TSplitPlan plan = PlanSplit(f, order[at], s.Left, s.Right, points, search, pt, straight);
        if (plan.Chains() > 0 && !plan.Straight.Reached()) {
          straight = plan.Straight.Count;
          best = std::move(plan);
        }
      } catch (const UserError&) {
        // No split at this vertex (its vertical line leaves through a neighbouring vertex).
      }
    }
  }
  return best;
}

// The corner chain from the vertex before w to the vertex after w on f (unfinished when
// `straight` reaches its limit).
std::vector<int> CornerChain(int f, int w, int left, int right, const TNube& points,
                             const TBlocksXY* search, const TDCEL& pt, TStraightCount& straight) {
  const int ew = pt.FindEdgeInFace(w, f);
  const int u = pt.Origin(pt.Prev(ew)), x = pt.Destination(ew);
  std::vector<int> chain{u};
  for (int guard = right - left + 2; chain.back() != x && !straight.Reached(); --guard) {
    if (guard <= 0) throw UserError(kDegenerate);
    ExtendChain(chain, CornerChainStep(points, search, w, chain.back(), x, left, right), x, points,
                search, pt, straight);
  }
  return chain;
}

// The corner to cut and its chain: w, unless its chain would thread points on a straight path;
// then the vertex of f with the same counter whose chain threads fewest points (w on equal
// numbers).
std::pair<int, std::vector<int>> BestCorner(int f, int w, int left, int right,
                                            const std::vector<int>& counters, const TNube& points,
                                            const TBlocksXY* search, const TDCEL& pt) {
  TStraightCount first;
  std::pair<int, std::vector<int>> best{w,
                                        CornerChain(f, w, left, right, points, search, pt, first)};
  int straight = first.Count;
  const int start = pt.FaceEdge(f);
  int e = start;
  for (int guard = pt.HalfEdgeCount(); guard != 0 && straight > 0; --guard) {
    const int v = pt.Origin(e);
    if (v != w && counters[v] == counters[w]) {
      try {
        TStraightCount k{0, straight};
        std::vector<int> chain = CornerChain(f, v, left, right, points, search, pt, k);
        // A chain of one edge is the edge between v's neighbours: only in a triangle.
        const bool triangle = pt.Next(pt.Next(e)) == pt.Prev(e);
        if (!k.Reached() && !(chain.size() == 2 && triangle)) {
          best = {v, std::move(chain)};
          straight = k.Count;
        }
      } catch (const UserError&) {
        // This corner's chain cannot be built.
      }
    }
    e = pt.Next(e);
    if (e == start) break;
  }
  return best;
}

// Cuts off the corner at w along its chain.
void CutCornerAlong(int f, int w, const std::vector<int>& chain, TDCEL& pt,
                    std::vector<int>& counters) {
  const int ew = pt.FindEdgeInFace(w, f);
  const int eu = pt.Prev(ew), ex = pt.Next(ew);
  const int u = pt.Origin(eu), x = pt.Destination(ew);
  if (chain.size() == 2 && pt.Next(ex) == eu) throw UserError(kDegenerate);  // u - x exists
  const int corner = SplitFaceByChain(f, eu, ex, chain, pt);
  pt.SetFaceEdge(corner, ew);
  pt.StoreFaceEdge(f, ex);
  ++counters[u];
  ++counters[x];
}
}  // namespace

TFaceSummary FaceSummary(int f, const TNube& points, const TDCEL& pt) {
  TFaceSummary s;
  const int start = pt.FaceEdge(f);
  int e = start;
  for (int guard = pt.HalfEdgeCount(); guard != 0; --guard) {
    const int v = pt.Origin(e);
    const TPoint p = points[v];
    ++s.Count;
    if (s.Left == kNone || p.X < points[s.Left].X || (p.X == points[s.Left].X && v < s.Left))
      s.Left = v;
    if (s.Right == kNone || p.X > points[s.Right].X || (p.X == points[s.Right].X && v > s.Right))
      s.Right = v;
    e = pt.Next(e);
    if (e == start) break;
  }
  return s;
}

bool FaceHasNoPoint(int f, int left, int right, const TNube& points, const TDCEL& pt) {
  const int start = pt.FaceEdge(f);
  for (int j = left; j <= right; ++j) {
    const TPoint p = points[j];
    bool inside = true;
    int e = start;
    for (int guard = pt.HalfEdgeCount(); guard != 0 && inside; --guard) {
      inside = Orientation(p, points[pt.Origin(e)], points[pt.Destination(e)]) == CounterClockwise;
      e = pt.Next(e);
      if (e == start) break;
    }
    if (inside) return false;
  }
  return true;
}

int MedianVertex(int f, int left, int count, const TNube& points, const TDCEL& pt) {
  const int el = pt.FindEdgeInFace(left, f);
  int forward = el, backward = pt.Prev(el);
  int a = pt.Destination(forward), b = pt.Origin(backward);
  const int wanted = count / 2;
  int at = left;
  for (int position = 1; position <= wanted; ++position) {
    if (a == b) return a;  // the walks meet at the last vertex
    if (points[a].X >= points[b].X) {
      at = b;
      backward = pt.Prev(backward);
      b = pt.Origin(backward);
    } else {
      at = a;
      forward = pt.Next(forward);
      a = pt.Destination(forward);
    }
  }
  return at;
}

namespace {

// The corner of face f at corner was cut off along chain (half-edges from edges on) because
// vertex w already ends `ended` chains. Kept out of the face loop, as is RecordSplit.
[[gnu::cold, gnu::noinline]] void RecordCornerCut(int f, int corner, const std::vector<int>& chain,
                                                  int w, int ended, int edges, const TDCEL& pt,
                                                  TRecorder& recorder) {
  recorder.StepAdded(pt, edges,
                     "Vertex {3} already ends " + std::to_string(ended) +
                         " chains: corner {0} of face " + std::to_string(f) +
                         " is cut off by a convex chain from {1} to {2}",
                     {corner, chain.front(), chain.back(), w});
}

// Face f was split at its median vertex m by k chains (half-edges from edges on).
[[gnu::cold, gnu::noinline]] void RecordSplit(int f, int m, int k, int edges, const TDCEL& pt,
                                              TRecorder& recorder) {
  recorder.StepAdded(pt, edges,
                     "Face " + std::to_string(f) + " split at its median vertex {0} by " +
                         std::to_string(k) + (k == 1 ? " convex chain" : " convex chains"),
                     {m});
}

}  // namespace

void ProcessFace(TPila& work, std::vector<int>& counters, TDCEL& pt, const TNube& points,
                 const TBlocksXY* search) {
  const int f = work.Pop();
  const TFaceSummary s = FaceSummary(f, points, pt);
  if (CornerCount(f, points, pt) == 3 && FaceHasNoPoint(f, s.Left, s.Right, points, pt)) return;
  // The vertex with the largest counter, later ones winning ties.
  int w = kNone;
  const int start = pt.FaceEdge(f);
  int e = start;
  for (int guard = pt.HalfEdgeCount(); guard != 0; --guard) {
    const int v = pt.Origin(e);
    if (w == kNone || counters[v] >= counters[w]) w = v;
    e = pt.Next(e);
    if (e == start) break;
  }
  if (counters[w] >= 2) {
    const auto [corner, chain] = BestCorner(f, w, s.Left, s.Right, counters, points, search, pt);
    const int edges = pt.HalfEdgeCount(), ended = counters[w];
    CutCornerAlong(f, corner, chain, pt, counters);
    if (TRecorder* recorder = ActiveRecorder())
      RecordCornerCut(f, corner, chain, w, ended, edges, pt, *recorder);
    work.Push(f);
    return;
  }
  const int m = MedianVertex(f, s.Left, s.Count, points, pt);
  const int edges = pt.HalfEdgeCount();
  const int k = ApplySplit(f, BestSplit(f, m, s, points, search, pt), pt, counters);
  if (TRecorder* recorder = ActiveRecorder(); recorder && k > 0)
    RecordSplit(f, m, k, edges, pt, *recorder);
  // A split that builds no chain leaves f as it was, still holding points.
  if (k == 0) throw UserError(kDegenerate);
  work.Push(pt.FaceCount() - 1);
  if (k == 2) work.Push(pt.FaceCount() - 2);
}

void RunBoundedVertexDegree(const TNube& points, TDCEL& pt, std::vector<int>* counters,
                            bool indexed) {
  const int n = static_cast<int>(points.size());
  std::optional<TBlocksXY> search;
  if (indexed) search.emplace(points);
  std::vector<int> count(static_cast<size_t>(n), 0);
  TPila work;
  work.Push(0);
  // Every pass either finishes a face or adds at least one edge; a planar subdivision of n
  // points has fewer than 3n edges and 2n faces.
  const int64_t bound = 8 * int64_t{n} + 16;
  for (int64_t pass = 0; !work.IsEmpty(); ++pass) {
    if (pass > bound) throw UserError(kDegenerate);
    ProcessFace(work, count, pt, points, search ? &*search : nullptr);
  }
  for (int j = 0; j < n; ++j)
    if (!IsVertexPresent(j, pt)) throw UserError(kDegenerate);
  if (counters) *counters = std::move(count);
}

void AddHullBoundaryVertices(const TNube& points, TDCEL& pt) {
  std::vector<int> cycle;
  bool added = false;
  const int start = pt.FaceEdge(0);
  int e = start;
  for (int guard = pt.HalfEdgeCount(); guard != 0; --guard) {
    const int a = pt.Origin(e), b = pt.Destination(e);
    cycle.push_back(a);
    // Points strictly inside the side a - b, nearest to a first.
    std::vector<int> on;
    for (int j = std::min(a, b) + 1; j < std::max(a, b); ++j) {
      if (IsVertexPresent(j, pt)) continue;
      const TPoint A = points[a], B = points[b], P = points[j];
      if (OrientationSign(A, B, P) == 0 && std::min(A.X, B.X) <= P.X && P.X <= std::max(A.X, B.X) &&
          std::min(A.Y, B.Y) <= P.Y && P.Y <= std::max(A.Y, B.Y))
        on.push_back(j);
    }
    const TPoint A = points[a];
    std::sort(on.begin(), on.end(), [&](int i, int j) {
      const int64_t di =
          std::abs(int64_t{points[i].X} - A.X) + std::abs(int64_t{points[i].Y} - A.Y);
      const int64_t dj =
          std::abs(int64_t{points[j].X} - A.X) + std::abs(int64_t{points[j].Y} - A.Y);
      return di < dj;
    });
    cycle.insert(cycle.end(), on.begin(), on.end());
    added = added || !on.empty();
    e = pt.Next(e);
    if (e == start) break;
  }
  if (!added) return;
  pt.Clear();
  pt.SetFaceEdge(0, 0);
  const int n = static_cast<int>(cycle.size());
  for (int k = 0; k < n; ++k) pt.AddHalfEdge(cycle[k], k - 1, k == n - 1 ? 0 : kNone, kNone, 0);
}

}  // namespace qv
