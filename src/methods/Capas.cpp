#include "methods/Capas.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <functional>
#include <set>
#include <string>

#include "geometry/CierreConvexo.h"
#include "geometry/FuncionesMatematicas.h"
#include "geometry/UserError.h"
#include "methods/Ejecucion.h"
#include "methods/Pasos.h"

namespace qv {

namespace {

const char* const kCoincident = "No coincident points allowed.";
const char* const kNotNested = "The convex layers are not nested; they cannot be joined.";

TPoint At(const TPTCapas& layers, int i) {
  return {layers[i].X, layers[i].Y};
}

[[maybe_unused]] bool SortedByYThenX(const TNube& points) {
  return std::is_sorted(points.begin(), points.end(),
                        [](TPoint a, TPoint b) { return a.Y != b.Y ? a.Y < b.Y : a.X < b.X; });
}

// ---- Peeling -------------------------------------------------------------------------------

// A record on a chain, with its coordinates at hand.
struct TChainPoint {
  TPoint P;
  int Index;
};

// Appends p to the chain (in index order, which is (y, x) order) that never turns by
// wrongTurn (+1 clockwise on the screen, -1 counterclockwise): the right-hand chain of a set
// for wrongTurn = -1, its left-hand chain for +1. Points on the chain's edges stay on it,
// which is what the bearing walks give (equal bearings, nearest first).
void ExtendChain(TChainPoint p, int wrongTurn, std::vector<TChainPoint>& chain) {
  while (chain.size() >= 2 &&
         OrientationSign(chain[chain.size() - 2].P, chain.back().P, p.P) == wrongTurn)
    chain.pop_back();
  chain.push_back(p);
}

// The right-hand and left-hand chains of the records still in the peel, kept in a tree over
// blocks of consecutive indices. A point on the chain of a set is on the chain of every
// subset that holds it (nothing of the subset can pass beyond it), so the chain of a union
// is the chain of its parts' chains, concatenated in index order: removing records rebuilds
// only the nodes above them, each from its children's chains.
class TChainTree {
 public:
  explicit TChainTree(const TPTCapas& layers) : layers_(layers) {
    const int n = layers.Size();
    // A power of two of leaves, enough for every record.
    leaves_ = static_cast<int>(std::bit_ceil(static_cast<unsigned>((n + kLeaf - 1) / kLeaf)));
    in_.assign(static_cast<size_t>(n), 1);
    for (int side = 0; side < 2; ++side) {
      chains_[side].resize(static_cast<size_t>(2 * leaves_));
      dirty_[side].assign(static_cast<size_t>(2 * leaves_), 0);
      for (int node = 2 * leaves_ - 1; node >= 1; --node) Rebuild(node, side);
    }
  }

  // The chain of every record still in: 0 right-hand, 1 left-hand.
  const std::vector<TChainPoint>& Chain(int side) const { return chains_[side][1]; }
  bool Empty() const { return chains_[0][1].empty(); }

  // Takes a record out. Only chains that hold it change: the walk up stops at the first
  // node whose chain is up to date and does not hold it (no chain above can hold it then).
  void Remove(int record) {
    in_[static_cast<size_t>(record)] = 0;
    for (int side = 0; side < 2; ++side) {
      std::vector<char>& dirty = dirty_[side];
      for (int node = leaves_ + record / kLeaf; node >= 1; node /= 2) {
        if (dirty[node]) continue;
        if (!Holds(chains_[side][static_cast<size_t>(node)], record)) break;
        dirty[node] = 1;
        stale_[side].push_back(node);
      }
    }
  }

  // Rebuilds one side's chains above the records removed since its last refresh, children
  // first.
  void Refresh(int side) {
    std::vector<int>& stale = stale_[side];
    std::sort(stale.begin(), stale.end(), std::greater<int>());
    for (int node : stale) {
      Rebuild(node, side);
      dirty_[side][node] = 0;
    }
    stale.clear();
  }

 private:
  static constexpr int kLeaf = 32;
  static constexpr int kWrongTurn[2] = {-1, +1};

  // Chains run in index order.
  static bool Holds(const std::vector<TChainPoint>& chain, int record) {
    const auto it = std::lower_bound(chain.begin(), chain.end(), record,
                                     [](const TChainPoint& p, int r) { return p.Index < r; });
    return it != chain.end() && it->Index == record;
  }

  void Rebuild(int node, int side) {
    std::vector<TChainPoint>& chain = chains_[side][static_cast<size_t>(node)];
    chain.clear();
    if (node >= leaves_) {
      const int lo = (node - leaves_) * kLeaf, hi = std::min(lo + kLeaf, layers_.Size());
      for (int p = lo; p < hi; ++p)
        if (in_[static_cast<size_t>(p)]) ExtendChain({At(layers_, p), p}, kWrongTurn[side], chain);
      return;
    }
    for (int child : {2 * node, 2 * node + 1})
      for (const TChainPoint& p : chains_[side][static_cast<size_t>(child)])
        ExtendChain(p, kWrongTurn[side], chain);
  }

  const TPTCapas& layers_;
  int leaves_ = 1;
  std::vector<char> in_;
  std::vector<std::vector<TChainPoint>> chains_[2];  // per side, per node (heap order, root 1)
  std::vector<char> dirty_[2];
  std::vector<int> stale_[2];
};

// Peels layer L off the records still in the tree and returns its size. The right-hand
// chain runs from the top down clockwise, the left-hand one counterclockwise over the records
// the right-hand chain did not take; both end at the bottom record.
int PeelLayer(TPTCapas& layers, TChainTree& tree, int L, std::vector<int>& right) {
  right.clear();
  for (const TChainPoint& p : tree.Chain(0)) right.push_back(p.Index);
  const int first = right.front(), last = right.back();
  layers[first].Layer = L;
  if (first == last) {
    tree.Remove(first);
    tree.Refresh(0);
    return 1;
  }
  for (size_t k = 1; k + 1 < right.size(); ++k) {
    layers[right[k]].Layer = L;
    tree.Remove(right[k]);
  }
  tree.Refresh(1);
  const std::vector<TChainPoint>& left = tree.Chain(1);
  for (size_t k = 1; k < right.size(); ++k) {
    layers[right[k]].LayerPrev = right[k - 1];
    layers[right[k - 1]].LayerNext = right[k];
  }
  for (size_t k = 1; k < left.size(); ++k) {
    layers[left[k].Index].Layer = L;
    layers[left[k].Index].LayerNext = left[k - 1].Index;
    layers[left[k - 1].Index].LayerPrev = left[k].Index;
  }
  const int size = static_cast<int>(right.size() + left.size()) - 2;
  for (const TChainPoint& p : left) tree.Remove(p.Index);
  tree.Refresh(0);
  return size;
}

// p lies on the open segment a-b.
bool StrictlyBetween(TPoint a, TPoint b, TPoint p) {
  if (Orientation(a, b, p) != Collinear || p == a || p == b) return false;
  return std::min(a.X, b.X) <= p.X && p.X <= std::max(a.X, b.X) && std::min(a.Y, b.Y) <= p.Y &&
         p.Y <= std::max(a.Y, b.Y);
}

// ---- Joining -------------------------------------------------------------------------------

class TJoin {
 public:
  explicit TJoin(TPTCapas& layers) : L_(layers), limit_(layers.Size() + 2) {}

  void Run() {
    const int K = L_.Count;
    if (K == 0) return;
    tops_.assign(static_cast<size_t>(K) + 1, kNone);
    for (int i = L_.Size() - 1; i >= 0; --i) tops_[static_cast<size_t>(L_[i].Layer)] = i;
    FanInnermost(tops_[static_cast<size_t>(K)]);
    for (int k = K - 1; k >= 1; --k) JoinLayer(k);
    OpenCollinearInnermost(tops_[static_cast<size_t>(K)]);
    RingFree(ring_);
  }

 private:
  TPTCapas& L_;
  TRing ring_;
  std::vector<int> tops_;  // lowest index of each layer
  int limit_;              // no walk passes more records than there are

  TPoint P(int i) const { return At(L_, i); }

  void Step(int& steps) const {
    if (++steps > limit_) throw UserError(kNotNested);
  }
  int Next(int v) const {
    const int n = RingNext(v, ring_);
    if (n == kNone) throw UserError(kNotNested);
    return n;
  }

  // v lies on a layer edge through t (the fan edge t-v would run along the boundary).
  bool OnEdgeLineThrough(int t, int v) const {
    return Orientation(P(t), P(L_[t].LayerNext), P(v)) == Collinear ||
           Orientation(P(t), P(L_[t].LayerPrev), P(v)) == Collinear;
  }

  // The innermost layer becomes the ring, clockwise from its top t, and is fanned from t. A
  // vertex on one of the two layer edges through t gets no fan edge: that edge would run over
  // the boundary points between them.
  void FanInnermost(int t) {
    RingPushBack(t, ring_);
    int steps = 0;
    for (int v = L_[t].LayerNext;; v = L_[v].LayerNext) {
      Step(steps);
      const bool alongBoundary = v != L_[t].LayerPrev && OnEdgeLineThrough(t, v);
      if (L_[v].LayerPrev != t && !alongBoundary) L_[v].Link1 = t;
      L_[v].Link2 = L_[v].LayerNext;
      if (v == t) break;
      RingPushBack(v, ring_);
    }
  }

  // Inner layer of one point a: the outer top o and its clockwise neighbour s both join a.
  int JoinAroundPoint(int a, int& o) {
    RingPushFront(o, ring_);
    L_[o].Link1 = a;
    L_[a].LayerNext = o;
    const int s = L_[o].LayerNext;
    if (Orientation(P(o), P(s), P(a)) == CounterClockwise)
      RingPushBack(s, ring_);
    else
      RingInsertAfter(s, o, ring_);
    L_[s].Link2 = a;
    L_[a].LayerPrev = s;
    o = L_[s].LayerNext;
    return s;
  }

  // Inner layer of two points a (top) and b: the outer top o joins both, closing a triangle.
  // When o lies on the line through a and b it joins only a: the frontier is then the segment
  // o-a-b read as a flat ring o, a, b.
  int JoinAroundSegment(int a, int& o) {
    const int b = L_[a].LayerNext;
    const uint8_t turn = Orientation(P(o), P(a), P(b));
    if (turn == Collinear) {
      RingPushFront(o, ring_);
      L_[o].Link1 = a;
      L_[o].Link2 = a;
    } else if (turn == CounterClockwise) {
      RingReplaceBetween(a, b, o, ring_);
      L_[a].LayerNext = o;
      L_[o].Link1 = a;
      L_[o].Link2 = b;
    } else {
      RingPushFront(o, ring_);
      L_[o].Link1 = b;
      L_[o].Link2 = a;
      L_[b].LayerNext = o;
    }
    const int from = o;
    o = L_[o].LayerNext;
    return from;
  }

  // Joins layer k to the frontier of the region inside it.
  void JoinLayer(int k) {
    const int a = tops_[static_cast<size_t>(k) + 1];
    int o = tops_[static_cast<size_t>(k)];
    const int start = o;
    int from = a;
    if (ring_.Size() == 1)
      from = JoinAroundPoint(a, o);
    else if (ring_.Size() == 2)
      from = JoinAroundSegment(a, o);
    JoinTop(o, from, start);
    int steps = 0;
    for (int prev = o, v = L_[o].LayerNext; v != start; prev = v, v = L_[v].LayerNext) {
      Step(steps);
      L_[v].Link1 = L_[v].LayerPrev;
      const bool pending = PendingOnChordToStart(v, start);
      int t = Next(prev);
      if (pending && t == start) {
        // Only start is left to see, and only through the vertices still to come: v adds
        // no edge and the face closes at start with v and them as straight points.
        RingReplaceBetween(prev, start, v, ring_);
        L_[v].Link2 = L_[v].LayerNext;
        continue;
      }
      t = ClockwiseTangent(v, t, pending ? start : kNone);
      RingReplaceBetween(prev, t, v, ring_);
      L_[v].Link2 = t;
    }
  }

  // The layer vertices after v (not yet joined) lie on the segment from v to start: v and
  // start are on one layer edge line, so v sees start only through them.
  bool PendingOnChordToStart(int v, int start) const {
    const int next = L_[v].LayerNext;
    return next != start && StrictlyBetween(P(v), P(start), P(next));
  }

  // The first frontier vertex t, going clockwise from t, at which the frontier turns
  // clockwise or runs straight as seen from v; the walk stops short of the vertex out of reach
  // (kNone for none).
  int ClockwiseTangent(int v, int t, int outOfReach = kNone) const {
    int steps = 0;
    while (!TurnTest(P(v), P(t), P(Next(t)), ClockwiseOrStraight) && Next(t) != outOfReach) {
      Step(steps);
      t = Next(t);
    }
    return t;
  }

  // The first vertex o of the layer joins the two tangent points of the frontier and takes the
  // place of the frontier vertices between them.
  void JoinTop(int o, int from, int start) {
    int t1 = from, steps = 0;
    while (!TurnTest(P(o), P(t1), P(L_[t1].LayerPrev), CounterClockwiseOrStraight)) {
      Step(steps);
      t1 = L_[t1].LayerPrev;
    }
    L_[o].Link1 = t1;
    const int t2 = ClockwiseTangent(o, from, PendingOnChordToStart(o, start) ? start : kNone);
    L_[o].Link2 = t2;
    if (t1 != t2) {
      RingReplaceBetween(t1, t2, o, ring_);
    } else {
      // Both tangents at one vertex: o lies on the line of a flat (collinear) frontier,
      // beyond its end t1, and extends it; the ring reads o, t1, ... with the way back
      // from the far end arriving at o.
      const int before = RingPrev(t1, ring_);
      if (before == kNone || before == t1) throw UserError(kNotNested);
      RingReplaceBetween(before, t1, o, ring_);
    }
  }

  // A collinear innermost layer of three or more points is a path, not a ring: its ring link
  // from the far end back to the top would lie over the points between them.
  void OpenCollinearInnermost(int t) {
    const int last = L_[t].LayerPrev;
    if (L_[t].LayerNext == last) return;  // one or two points: their fields are edges
    int steps = 0;
    for (int v = L_[t].LayerNext; v != t; v = L_[v].LayerNext) {
      Step(steps);
      if (Orientation(P(t), P(last), P(v)) != Collinear) return;
    }
    L_[t].LayerPrev = t;
    L_[last].LayerNext = last;
    if (L_[last].Link1 == t) L_[last].Link1 = last;
    if (L_[last].Link2 == t) L_[last].Link2 = last;
  }
};

}  // namespace

void BuildConvexLayers(const TNube& points, TPTCapas& layers) {
  assert(SortedByYThenX(points));
  // Sorted, coincident points are neighbours.
  for (size_t i = 1; i < points.size(); ++i)
    if (points[i] == points[i - 1]) throw UserError(kCoincident);
  const int n = static_cast<int>(points.size());
  layers.Records.assign(points.size(), TCapa{});
  layers.Sizes.clear();
  layers.Count = 0;
  for (int i = 0; i < n; ++i)
    layers[i] = {points[static_cast<size_t>(i)].X, points[static_cast<size_t>(i)].Y, 0, i, i, i, i};
  TChainTree tree(layers);
  std::vector<int> right;
  for (int L = 1; !tree.Empty(); ++L) {
    layers.Sizes.push_back(std::max(1, PeelLayer(layers, tree, L, right)));
    layers.Count = L;
  }
}

void ConnectConvexLayers(TPTCapas& layers) {
  TJoin(layers).Run();
}

std::vector<TEdge> LayerEdges(const TPTCapas& layers) {
  std::vector<TEdge> edges;
  const int n = layers.Size();
  for (int v = 0; v < n; ++v) {
    for (int w : {layers[v].LayerNext, layers[v].Link1, layers[v].Link2}) {
      if (w == v || w < 0 || w >= n) continue;
      edges.push_back({std::min(v, w), std::max(v, w)});
    }
  }
  std::sort(edges.begin(), edges.end());
  edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
  return edges;
}

namespace {

// The construction as steps, read off the finished table: one step per peeled layer (its ring),
// then one per pair of consecutive layers (the edges joining them) and the fan of the innermost
// layer. An edge the table repeats is added once, where it first appears.
void RecordLayers(const TPTCapas& layers, TRecorder& recorder) {
  const int n = layers.Size(), count = layers.Count;
  std::set<TEdge> seen;
  const auto fresh = [&seen, n](int v, int w) {
    return v != w && w >= 0 && w < n && seen.insert({std::min(v, w), std::max(v, w)}).second;
  };
  std::vector<std::vector<int>> members(static_cast<size_t>(count) + 1);
  for (int v = 0; v < n; ++v) members[static_cast<size_t>(layers[v].Layer)].push_back(v);
  for (int k = 1; k <= count; ++k) {
    std::vector<TEdge> ring;
    for (int v : members[static_cast<size_t>(k)])
      if (fresh(v, layers[v].LayerNext)) ring.push_back({v, layers[v].LayerNext});
    const size_t m = members[static_cast<size_t>(k)].size();
    recorder.Step(std::move(ring), {},
                  "Layer " + std::to_string(k) + " found: " + std::to_string(m) +
                      (m == 1 ? " point" : " points"),
                  members[static_cast<size_t>(k)]);
  }
  // Links by the outer layer they leave: between layer k and k + 1, or inside the innermost one.
  std::vector<std::vector<TEdge>> links(static_cast<size_t>(count) + 1);
  for (int v = 0; v < n; ++v)
    for (int w : {layers[v].Link1, layers[v].Link2})
      if (fresh(v, w))
        links[static_cast<size_t>(std::min(layers[v].Layer, layers[w].Layer))].push_back({v, w});
  for (int k = 1; k <= count; ++k) {
    std::vector<TEdge>& edges = links[static_cast<size_t>(k)];
    if (edges.empty()) continue;
    const std::string many =
        std::to_string(edges.size()) + (edges.size() == 1 ? " edge" : " edges");
    std::string text = k < count ? "Layer " + std::to_string(k) + " joined to layer " +
                                       std::to_string(k + 1) + " by tangents: " + many
                                 : "Innermost layer " + std::to_string(k) + " fanned: " + many;
    recorder.Step(std::move(edges), {}, std::move(text));
  }
}

}  // namespace

void ComputeConvexLayers(TNube& points, int& draggedPoint, TPTCapas& layers) {
  if (points.size() < 3) throw UserError("At least 3 points are needed.");
  SortPointsByDirection(points, 0.0, 1.0, draggedPoint);
  RefuseDegenerateSortedPoints(points, 0.0, 1.0);
  BuildConvexLayers(points, layers);
  ConnectConvexLayers(layers);
  if (TRecorder* recorder = ActiveRecorder()) {
    NoteSortedPoints(points.size(), "from the top down");
    RecordLayers(layers, *recorder);
  }
}

}  // namespace qv
