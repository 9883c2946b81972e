#include "stats/EstadisticasAristas.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace qv {

namespace {

__extension__ using Int128 = __int128;

// The difference of two 32-bit points: 33 bits a coordinate, so cross products need 128.
struct TDirection {
  int64_t X, Y;
};

// 0 for directions in the half-plane y > 0 or on the positive x axis, 1 for the others.
int HalfOf(TDirection d) {
  return d.Y < 0 || (d.Y == 0 && d.X < 0) ? 1 : 0;
}

// Angular order of directions from the positive x axis, exact for 32-bit coordinates.
bool AngleLess(TDirection a, TDirection b) {
  const int ha = HalfOf(a), hb = HalfOf(b);
  if (ha != hb) return ha < hb;
  return Int128{a.X} * b.Y - Int128{a.Y} * b.X > 0;
}

// Twice the signed area of a closed walk, in the coordinates' own sense of turn.
Int128 WalkArea(const TNube& p, const std::vector<int>& walk) {
  Int128 area = 0;
  for (size_t i = 0; i < walk.size(); ++i) {
    const TPoint a = p[static_cast<size_t>(walk[i])];
    const TPoint b = p[static_cast<size_t>(walk[(i + 1) % walk.size()])];
    area += Int128{a.X} * b.Y - Int128{b.X} * a.Y;
  }
  return area;
}

}  // namespace

TStatistics EdgeGraphStatistics(const TNube& points, const std::vector<TEdge>& edges,
                                const std::string& thousandsSeparator) {
  TStatistics stats;
  const size_t n = points.size();
  stats.Points = static_cast<int>(n);
  // Around every point its neighbours in angular order; arc k of a point leads to around[k].
  std::vector<std::vector<int>> around(n);
  double weight = 0;
  for (const TEdge& e : edges) {
    around[static_cast<size_t>(e.A)].push_back(e.B);
    around[static_cast<size_t>(e.B)].push_back(e.A);
    const TPoint a = points[static_cast<size_t>(e.A)], b = points[static_cast<size_t>(e.B)];
    weight += std::hypot(double(a.X) - b.X, double(a.Y) - b.Y);
  }
  stats.WeightValue = weight;
  stats.Weight = WeightText(weight, thousandsSeparator);
  for (size_t v = 0; v < n; ++v) {
    const TPoint o = points[v];
    std::sort(around[v].begin(), around[v].end(), [&](int a, int b) {
      const TPoint pa = points[static_cast<size_t>(a)], pb = points[static_cast<size_t>(b)];
      return AngleLess({int64_t{pa.X} - o.X, int64_t{pa.Y} - o.Y},
                       {int64_t{pb.X} - o.X, int64_t{pb.Y} - o.Y});
    });
    stats.VertexDegree = std::max(stats.VertexDegree, static_cast<int>(around[v].size()));
  }
  // Walk every arc once: from u -> v on to v -> w, w the neighbour of v just before u in the
  // angular order. Bounded faces come out with positive area, outer walks without.
  std::vector<std::vector<char>> walked(n);
  for (size_t v = 0; v < n; ++v) walked[v].assign(around[v].size(), 0);
  const auto slot = [&](int v, int w) {
    const std::vector<int>& a = around[static_cast<size_t>(v)];
    return static_cast<size_t>(std::find(a.begin(), a.end(), w) - a.begin());
  };
  for (size_t u0 = 0; u0 < n; ++u0) {
    for (size_t k0 = 0; k0 < around[u0].size(); ++k0) {
      if (walked[u0][k0]) continue;
      std::vector<int> walk;
      int u = static_cast<int>(u0);
      size_t k = k0;
      while (!walked[static_cast<size_t>(u)][k]) {
        walked[static_cast<size_t>(u)][k] = 1;
        walk.push_back(u);
        const int v = around[static_cast<size_t>(u)][k];
        const std::vector<int>& at = around[static_cast<size_t>(v)];
        const size_t back = slot(v, u);
        k = (back + at.size() - 1) % at.size();
        u = v;
      }
      if (WalkArea(points, walk) <= 0) continue;
      ++stats.Faces;
      if (walk.size() == 3) ++stats.Triangles;
      stats.FaceDegree = std::max(stats.FaceDegree, static_cast<int>(walk.size()));
    }
  }
  return stats;
}

}  // namespace qv
