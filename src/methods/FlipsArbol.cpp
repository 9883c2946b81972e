// Reverse search of the flip graphs of pointed pseudo-triangulations and of triangulations.
//
// Points are relabelled 0 .. n-1 in lexicographic (x, y) order, P_v = {0, .., v}. Vertex v is
// the last point of P_v, so it is a hull vertex of conv(P_v) and every earlier point lies in the
// half-plane of directions {dx < 0} + {dx = 0, dy < 0} seen from it. The "low degree" of v is
// the number of its neighbours below v.
//
// Pointed pseudo-triangulations. When every w > v has low degree 2, removing those points with
// their two hull edges leaves a pointed pseudo-triangulation T_v of P_v (pointed, planar, 2|P|-3
// edges). The level of T is the largest v whose low degree exceeds 2; without one, T is the sweep
// result (each point joined to its two tangents), the root. The parent of T flips the edge from
// its level v to v's second lower neighbour (the first after the hull edge v-h1 in rotation
// order): v is a convex corner of the pseudo-quadrilateral left behind, so the new edge does not
// touch v, v's low degree drops by one and no point above v changes. (level, low degree)
// decreases lexicographically, so the parent steps reach the root.
//
// Triangulations: the same with Lawson flips, the root being the placing (sweep) triangulation,
// where v's low degree is the number of hull vertices of P_{v-1} it sees. A link vertex x_i of v
// whose quadrilateral v, x_{i-1}, x_i, x_{i+1} is strictly convex exists exactly when v's link is
// not that visible hull chain; the parent flips the first such one.
//
// The children of T are found among the flips that could be undone by the parent rule: for each
// level v at least T's own, an edge e of the face at v inside the wedge h1-v-n1 (pointed) or of a
// triangle at v (triangulations), whose flip gives an edge at v that the rule would pick.
#include <algorithm>
#include <atomic>
#include <cassert>
#include <condition_variable>
#include <mutex>
#include <numeric>
#include <thread>

#include "geometry/FuncionesMatematicas.h"
#include "methods/Flips.h"

namespace qv {
namespace {

struct TStep {  // one flip from a parent to a child: removed a-b, added c-d (internal labels)
  uint8_t A, B, C, D;
};

// What never changes during a search of one point set.
struct TTables {
  TFlipGraph Graph = TFlipGraph::Pointed;
  int N = 0;
  std::vector<int> Original;    // internal label -> index of the point in the input
  std::vector<int8_t> Signs;    // OrientationSign of every triple
  std::vector<uint8_t> Ranks;   // position of u around v, rotation order, lower points first
  std::vector<uint64_t> Hulls;  // bit v of (a, b): a-b is an edge of conv(P_v)
  std::vector<uint8_t> Base;    // low degree of each point in the root
  std::vector<TEdge> Root;      // internal labels

  int Sign(int a, int b, int c) const { return Signs[(a * N + b) * N + c]; }
  int Rank(int v, int u) const { return Ranks[v * N + u]; }
  bool OnHull(int a, int b, int v) const { return (Hulls[a * N + b] >> v) & 1; }
};

TTables MakeTables(const TNube& input, TFlipGraph graph) {
  TTables t;
  t.Graph = graph;
  const int n = t.N = static_cast<int>(input.size());
  t.Original.resize(n);
  std::iota(t.Original.begin(), t.Original.end(), 0);
  std::ranges::sort(t.Original, {}, [&](int i) { return input[i]; });
  TNube p(n);
  std::vector<int> internal(n);
  for (int i = 0; i < n; ++i) {
    p[i] = input[t.Original[i]];
    internal[t.Original[i]] = i;
  }
  t.Signs.resize(static_cast<size_t>(n) * n * n);
  for (int a = 0; a < n; ++a)
    for (int b = 0; b < n; ++b)
      for (int c = 0; c < n; ++c)
        t.Signs[(a * n + b) * n + c] = static_cast<int8_t>(OrientationSign(p[a], p[b], p[c]));
  t.Ranks.resize(static_cast<size_t>(n) * n);
  std::vector<int> around;
  for (int v = 0; v < n; ++v) {
    around.clear();
    for (int u = 0; u < n; ++u)
      if (u != v) around.push_back(u);
    // Lower points first, each half by rotation: one turn read from the lower side's start.
    std::sort(around.begin(), around.end(), [&](int a, int b) {
      if ((a < v) != (b < v)) return a < v;
      return t.Sign(v, a, b) > 0;
    });
    for (int i = 0; i < n - 1; ++i) t.Ranks[v * n + around[i]] = static_cast<uint8_t>(i);
  }
  t.Hulls.assign(static_cast<size_t>(n) * n, 0);
  for (int a = 0; a < n; ++a)
    for (int b = a + 1; b < n; ++b) {
      // a-b is on conv(P_v) while every other point of P_v lies on one side of it; once a point
      // falls on the other side it stays inside every later hull.
      int side = 0;
      bool one = true;
      auto add = [&](int w) {
        const int s = t.Sign(a, b, w);
        if (side == 0) side = s;
        one = one && s == side;
      };
      for (int w = 0; w < b; ++w)
        if (w != a) add(w);
      for (int v = b; v < n && one; ++v) {
        if (v > b) add(v);
        if (!one) break;
        t.Hulls[a * n + b] |= uint64_t{1} << v;
        t.Hulls[b * n + a] |= uint64_t{1} << v;
      }
    }
  const std::vector<TEdge> root = graph == TFlipGraph::Pointed ? SweepPseudoTriangulation(input)
                                                               : SweepTriangulationEdges(input);
  t.Base.assign(n, 0);
  for (const TEdge& e : root) {
    const int a = internal[e.A], b = internal[e.B];
    t.Root.push_back(TEdge{std::min(a, b), std::max(a, b)});
    ++t.Base[std::max(a, b)];
  }
  return t;
}

// One pseudo-triangulation (or triangulation) as a plane map: the neighbours of each vertex in
// rotation order, its lower neighbours first.
class TState {
 public:
  explicit TState(const TTables& t) : t_(t), n_(t.N) {
    for (const TEdge& e : t.Root) Add(e.A, e.B);
  }

  void Add(int a, int b) {
    Insert(a, b);
    Insert(b, a);
  }
  void Drop(int a, int b) {
    Erase(a, b);
    Erase(b, a);
  }
  void Apply(const TStep& s) {
    Drop(s.A, s.B);
    Add(s.C, s.D);
  }
  void Undo(const TStep& s) {
    Drop(s.C, s.D);
    Add(s.A, s.B);
  }

  // The highest point above its root degree, or 2 for the root (whose children start at 3).
  int Level() const { return raised_ == 0 ? 2 : 63 - __builtin_clzll(raised_); }

  // The next child from (level, index) on: its step, with level and index moved past it.
  bool NextChild(int& level, int& index, TStep& step) const {
    for (; level < n_; ++level, index = 0)
      if (t_.Graph == TFlipGraph::Pointed ? PointedChild(level, index, step)
                                          : TriangulationChild(level, index, step))
        return true;
    return false;
  }

  // The edges in input labels, sorted.
  void Edges(std::vector<TEdge>& out) const {
    out.clear();
    for (int v = 0; v < n_; ++v)
      for (int i = 0; i < degree_[v]; ++i) {
        const int u = around_[v][i];
        if (u < v) {
          const int a = t_.Original[u], b = t_.Original[v];
          out.push_back(TEdge{std::min(a, b), std::max(a, b)});
        }
      }
    std::sort(out.begin(), out.end());
  }

 private:
  int Position(int v, int u) const {
    int i = 0;
    while (around_[v][i] != u) ++i;
    return i;
  }
  // The neighbour of v just before u in rotation order.
  int Before(int v, int u) const {
    const int i = Position(v, u);
    return around_[v][i == 0 ? degree_[v] - 1 : i - 1];
  }
  void Insert(int v, int u) {
    int i = degree_[v]++;
    const int r = t_.Rank(v, u);
    for (; i > 0 && t_.Rank(v, around_[v][i - 1]) > r; --i) around_[v][i] = around_[v][i - 1];
    around_[v][i] = static_cast<uint8_t>(u);
    if (u < v) Count(v, +1);
  }
  void Erase(int v, int u) {
    for (int i = Position(v, u); i + 1 < degree_[v]; ++i) around_[v][i] = around_[v][i + 1];
    --degree_[v];
    if (u < v) Count(v, -1);
  }
  void Count(int v, int delta) {
    low_[v] = static_cast<uint8_t>(low_[v] + delta);
    const uint64_t bit = uint64_t{1} << v;
    raised_ = low_[v] > t_.Base[v] ? raised_ | bit : raised_ & ~bit;
  }

  // Pointed: e = w[index]-w[index+1] on the face at v inside the wedge h1-v-n1, flipped to an
  // edge v-z inside that wedge.
  bool PointedChild(int v, int& index, TStep& step) const {
    if (index == 0) index = 1;
    // The face at v between h1 = around[0] and n1 = around[1], walked from v -> h1.
    uint8_t face[64];
    int s = 0;
    face[s++] = static_cast<uint8_t>(v);
    for (int a = v, b = around_[v][0]; b != v;) {
      face[s++] = static_cast<uint8_t>(b);
      const int c = Before(b, a);
      a = b;
      b = c;
    }
    for (; index <= s - 2; ++index) {
      const int x = face[index], y = face[index + 1];
      if (t_.OnHull(x, y, v)) continue;
      const int z = PointedFlipAt(v, face, s, index);
      if (z < 0) continue;
      step = TStep{static_cast<uint8_t>(std::min(x, y)), static_cast<uint8_t>(std::max(x, y)),
                   static_cast<uint8_t>(z), static_cast<uint8_t>(v)};
      ++index;
      return true;
    }
    return false;
  }

  // The far end z of the new edge when the flip of face[i]-face[i+1] gives an edge v-z inside
  // the wedge at v, or -1. The pseudo-quadrilateral Q left by the removal is walked with its
  // interior on the same side as the faces: the face at v from face[i+1] round to face[i], then
  // the other face from face[i] round to face[i+1].
  int PointedFlipAt(int v, const uint8_t* face, int s, int i) const {
    uint8_t q[128];
    int k = 0;
    for (int j = i + 1; j < s; ++j) q[k++] = face[j];
    for (int j = 0; j <= i; ++j) q[k++] = face[j];
    const int x = face[i], y = face[i + 1];
    for (int a = y, b = x;;) {
      const int c = Before(b, a);
      a = b;
      b = c;
      if (a == y) break;
      if (a != x) q[k++] = static_cast<uint8_t>(a);
      if (k >= 127) return -1;
    }
    const int h1 = face[1], n1 = face[s - 1];
    const int rh = t_.Rank(v, h1), rn = t_.Rank(v, n1);
    for (int j = 0; j < k; ++j) {
      const int z = q[j];
      // Strictly inside the wedge h1 .. n1 around v: this leaves out h1 and n1, and v itself,
      // whose rank around itself is 0.
      const int rz = t_.Rank(v, z);
      if (rz <= rh || rz >= rn) continue;
      const int prev = q[j == 0 ? k - 1 : j - 1], next = q[j + 1 == k ? 0 : j + 1];
      // v strictly inside the wedge at this visit of z, swept from next round to prev.
      const int rb = t_.Rank(z, next), ra = t_.Rank(z, prev), rv = t_.Rank(z, v);
      const bool inside = prev == next ? rv != rb
                          : rb < ra    ? (rb < rv && rv < ra)
                                       : (rv > rb || rv < ra);
      if (!inside) continue;
      // z stays pointed: a convex wedge keeps z's big angle elsewhere; a reflex one must keep
      // a part larger than a half-turn.
      if (prev != next && t_.Sign(z, next, prev) < 0 && t_.Sign(z, next, v) > 0 &&
          t_.Sign(z, v, prev) > 0)
        continue;
      bool free = true;
      for (int m = 0; m < k && free; ++m) {
        const int c = q[m], d = q[m + 1 == k ? 0 : m + 1];
        if (c == v || c == z || d == v || d == z) continue;
        free =
            !(t_.Sign(v, z, c) * t_.Sign(v, z, d) < 0 && t_.Sign(c, d, v) * t_.Sign(c, d, z) < 0);
      }
      if (free) return z;
    }
    return -1;
  }

  // Is the quadrilateral v, a, w, b strictly convex (w between a and b around v)?
  bool Flippable(int v, int a, int w, int b) const {
    return t_.Sign(a, b, w) * t_.Sign(a, b, v) < 0 && t_.Sign(v, w, a) * t_.Sign(v, w, b) < 0;
  }

  // Triangulations: e = y-z, consecutive lower neighbours of v, flipped to v-x where x is the
  // first link vertex of v that the parent rule would flip.
  bool TriangulationChild(int v, int& index, TStep& step) const {
    const uint8_t* link = around_[v];
    for (; index + 1 < low_[v]; ++index) {
      const int y = link[index], z = link[index + 1];
      if (t_.OnHull(y, z, v)) continue;
      const int x = Before(y, z);
      if (t_.Sign(v, x, y) * t_.Sign(v, x, z) >= 0) continue;
      bool first = true;
      for (int j = 1; j <= index && first; ++j)
        first = !Flippable(v, link[j - 1], link[j], j < index ? link[j + 1] : x);
      if (!first) continue;
      step = TStep{static_cast<uint8_t>(std::min(y, z)), static_cast<uint8_t>(std::max(y, z)),
                   static_cast<uint8_t>(x), static_cast<uint8_t>(v)};
      ++index;
      return true;
    }
    return false;
  }

  const TTables& t_;
  int n_;
  uint8_t around_[kMaxSearchedPoints][kMaxSearchedPoints] = {};
  uint8_t degree_[kMaxSearchedPoints] = {};
  uint8_t low_[kMaxSearchedPoints] = {};
  uint64_t raised_ = 0;  // bit v: v's low degree is above its root degree
};

// Depth-first walk of the subtree below the state's current vertex, down to maxDepth levels
// below it (no limit when negative); node(depth, path) is called for each vertex, the start
// included, and stops the walk by returning false. The state comes back as it was. The only
// memory is the path: one frame per level.
template <class TNode>
bool WalkSubtree(TState& state, int maxDepth, std::vector<TStep>& path, TNode&& node) {
  struct TFrame {
    int Level, Index;
  };
  const size_t base = path.size();
  std::vector<TFrame> frames{{state.Level(), 0}};
  if (!node(0, path)) return false;
  if (maxDepth == 0) return true;
  while (!frames.empty()) {
    TFrame& f = frames.back();
    TStep step{};
    if (state.NextChild(f.Level, f.Index, step)) {
      state.Apply(step);
      path.push_back(step);
      frames.push_back({state.Level(), 0});
      const int depth = static_cast<int>(frames.size()) - 1;
      if (!node(depth, path)) {
        while (path.size() > base) {
          state.Undo(path.back());
          path.pop_back();
        }
        return false;
      }
      if (depth == maxDepth) frames.back().Level = kMaxSearchedPoints;  // no deeper
      continue;
    }
    frames.pop_back();
    if (!frames.empty()) {
      state.Undo(path.back());
      path.pop_back();
    }
  }
  return true;
}

// A part of the tree: the vertex at the end of Path alone, or its whole subtree.
struct TTask {
  std::vector<TStep> Path;
  bool Subtree = false;
};

// The vertices down to a depth whose count reaches minimum (or the whole tree when smaller), in
// depth-first order: those above that depth alone, those at it with their subtrees.
std::vector<TTask> MakeTasks(const TTables& t, size_t minimum) {
  TState state(t);
  std::vector<TStep> path;
  auto count = [&](int depth) {
    size_t found = 0;
    WalkSubtree(state, depth, path, [&](int, const std::vector<TStep>&) {
      ++found;
      return true;
    });
    return found;
  };
  int depth = 0;
  for (size_t here = count(0);; ++depth) {
    if (here >= minimum) break;
    const size_t deeper = count(depth + 1);
    if (deeper == here) break;
    here = deeper;
  }
  std::vector<TTask> tasks;
  WalkSubtree(state, depth, path, [&](int d, const std::vector<TStep>& p) {
    tasks.push_back(TTask{p, d == depth});
    return true;
  });
  return tasks;
}

}  // namespace

uint64_t SearchFlipGraph(const TNube& points, TFlipGraph graph, const TSearchSplit& split,
                         const TSearchCallbacks& callbacks) {
  assert(points.size() >= 3 && points.size() <= kMaxSearchedPoints);
  assert(split.Parts >= 1 && split.Part >= 0 && split.Part < split.Parts && split.Threads >= 1);
  const TTables tables = MakeTables(points, graph);
  const std::vector<TTask> all =
      MakeTasks(tables, std::max<size_t>(4096, 64 * static_cast<size_t>(split.Parts)));
  std::vector<const TTask*> mine;
  for (size_t i = static_cast<size_t>(split.Part); i < all.size();
       i += static_cast<size_t>(split.Parts))
    mine.push_back(&all[i]);
  if (callbacks.Begin) callbacks.Begin(mine.size());

  std::atomic<size_t> nextTask{0};
  std::atomic<uint64_t> found{0};
  std::mutex lock;
  std::condition_variable turn;
  size_t done = 0;  // tasks handed to TaskDone
  int running = split.Threads;
  auto work = [&] {
    TState state(tables);
    std::vector<TStep> path;
    std::vector<TEdge> edges;
    auto stopped = [&] {
      return callbacks.Stop && callbacks.Stop->load(std::memory_order_relaxed);
    };
    for (size_t i; !stopped() && (i = nextTask.fetch_add(1)) < mine.size();) {
      const TTask& task = *mine[i];
      for (const TStep& s : task.Path) state.Apply(s);
      uint64_t local = 0;
      WalkSubtree(state, task.Subtree ? -1 : 0, path, [&](int, const std::vector<TStep>&) {
        if (callbacks.Visit) {
          state.Edges(edges);
          callbacks.Visit(i, edges);
        }
        if (++local % 4096 == 0) found.fetch_add(4096, std::memory_order_relaxed);
        return local % 4096 != 0 || !stopped();
      });
      found.fetch_add(local % 4096, std::memory_order_relaxed);
      for (auto s = task.Path.rbegin(); s != task.Path.rend(); ++s) state.Undo(*s);
      std::unique_lock<std::mutex> guard(lock);
      turn.wait(guard, [&] { return done == i; });
      if (callbacks.TaskDone) callbacks.TaskDone(i);
      ++done;
      turn.notify_all();
    }
    std::lock_guard<std::mutex> guard(lock);
    --running;
    turn.notify_all();
  };
  std::vector<std::thread> threads;
  for (int i = 0; i < split.Threads; ++i) threads.emplace_back(work);
  {
    std::unique_lock<std::mutex> guard(lock);
    while (running > 0) {
      turn.wait_for(guard, std::chrono::milliseconds(200));
      if (callbacks.Progress) {
        guard.unlock();
        callbacks.Progress(found.load());
        guard.lock();
      }
    }
  }
  for (std::thread& th : threads) th.join();
  return found.load();
}

}  // namespace qv
