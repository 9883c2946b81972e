#include "stats/EstadisticasCapas.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "geometry/FuncionesMatematicas.h"

namespace qv {

namespace {

__extension__ typedef __int128 Int128;

int LayerOf(const TPTCapas& layers, int i) {
  return layers[i].Layer;
}

TPoint At(const TPTCapas& layers, int i) {
  return {layers[i].X, layers[i].Y};
}

// The distinct edges of the table as (lower, higher) index pairs.
std::vector<std::pair<int, int>> TableEdges(const TPTCapas& layers) {
  std::vector<std::pair<int, int>> edges;
  const int n = layers.Size();
  for (int v = 0; v < n; ++v)
    for (int w : {layers[v].LayerNext, layers[v].Link1, layers[v].Link2})
      if (w != v && w >= 0 && w < n) edges.emplace_back(std::min(v, w), std::max(v, w));
  std::sort(edges.begin(), edges.end());
  edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
  return edges;
}

// Half-edges 2e (lower -> higher end of edge e) and 2e + 1 (the reverse), sorted around each
// point by direction (exact), give for each half-edge the next one on its face.
struct TFaces {
  const TPTCapas& L;
  std::vector<std::pair<int, int>> Edges;
  std::vector<int> Next;

  explicit TFaces(const TPTCapas& layers) : L(layers), Edges(TableEdges(layers)) {
    const int h = 2 * static_cast<int>(Edges.size());
    std::vector<std::vector<int>> around(static_cast<size_t>(L.Size()));
    for (int e = 0; e < h; ++e) around[static_cast<size_t>(Origin(e))].push_back(e);
    std::vector<int> slot(static_cast<size_t>(h));
    for (int v = 0; v < L.Size(); ++v) {
      auto& fan = around[static_cast<size_t>(v)];
      std::sort(fan.begin(), fan.end(), [&](int a, int b) { return Before(v, a, b); });
      for (size_t i = 0; i < fan.size(); ++i) slot[static_cast<size_t>(fan[i])] = int(i);
    }
    Next.resize(static_cast<size_t>(h));
    for (int e = 0; e < h; ++e) {
      const auto& fan = around[static_cast<size_t>(Origin(e ^ 1))];
      const size_t k = fan.size(), twin = static_cast<size_t>(slot[static_cast<size_t>(e ^ 1)]);
      Next[static_cast<size_t>(e)] = fan[(twin + k - 1) % k];
    }
  }

  int Origin(int e) const {
    const auto& edge = Edges[static_cast<size_t>(e >> 1)];
    return (e & 1) ? edge.second : edge.first;
  }

  // Direction order around v: the half-plane below v (y grows downwards) first, each turning
  // clockwise on the screen.
  bool Before(int v, int a, int b) const {
    const TPoint o = At(L, v), p = At(L, Origin(a ^ 1)), q = At(L, Origin(b ^ 1));
    auto below = [&](TPoint r) { return r.Y != o.Y ? r.Y > o.Y : r.X > o.X; };
    if (below(p) != below(q)) return below(p);
    return OrientationSign(o, p, q) > 0;
  }
};

}  // namespace

double LayersWeight(const TNube& points, const TPTCapas& layers) {
  double weight = 0.0;
  for (int v = 0; v < layers.Size(); ++v) {
    const TCapa& r = layers[v];
    const TPoint p = points[static_cast<size_t>(v)];
    auto length = [&](int w) { return Distance(p, points[static_cast<size_t>(w)]); };
    const int next = r.LayerNext;
    if (next != v && LayerOf(layers, next) == r.Layer && (layers[next].LayerNext != v || next > v))
      weight += length(next);
    if (r.Link1 != v && r.Link1 != r.LayerPrev && r.Link1 != next) weight += length(r.Link1);
    if (r.Link2 != v && r.Link2 != r.LayerPrev && r.Link2 != next && r.Link2 != r.Link1)
      weight += length(r.Link2);
  }
  return weight;
}

int LayersVertexDegree(const TNube& points, const TPTCapas& layers) {
  std::vector<int> degree(points.size(), 0);
  for (int v = 0; v < layers.Size(); ++v) {
    const TCapa& r = layers[v];
    auto& own = degree[static_cast<size_t>(v)];
    // On a layer of two points both ring fields name the same neighbour: one edge.
    if (r.LayerPrev != v && LayerOf(layers, r.LayerPrev) == r.Layer) ++own;
    if (r.LayerNext != v && r.LayerNext != r.LayerPrev && LayerOf(layers, r.LayerNext) == r.Layer)
      ++own;
    if (r.Link1 != v && r.Link1 != r.LayerPrev && r.Link1 != r.LayerNext) {
      ++degree[static_cast<size_t>(r.Link1)];
      ++own;
    }
    if (r.Link2 != v && r.Link2 != r.LayerPrev && r.Link2 != r.LayerNext && r.Link2 != r.Link1) {
      ++degree[static_cast<size_t>(r.Link2)];
      ++own;
    }
  }
  const int largest = degree.empty() ? 0 : *std::max_element(degree.begin(), degree.end());
  return std::max(2, largest);
}

void LayersFaceStats(const TPTCapas& layers, int& triangles, int& others, int& maxDegree) {
  triangles = 0;
  others = 0;
  maxDegree = 3;
  const TFaces faces(layers);
  std::vector<char> seen(faces.Next.size(), 0);
  for (size_t start = 0; start < faces.Next.size(); ++start) {
    if (seen[start]) continue;
    int degree = 0;
    Int128 area = 0;
    for (size_t e = start; !seen[e]; e = static_cast<size_t>(faces.Next[e])) {
      seen[e] = 1;
      ++degree;
      const TPoint p = At(layers, faces.Origin(int(e))), q = At(layers, faces.Origin(int(e) ^ 1));
      area += Int128{p.X} * q.Y - Int128{p.Y} * q.X;
    }
    if (area <= 0) continue;  // the unbounded side runs the other way round
    (degree == 3 ? triangles : others) += 1;
    maxDegree = std::max(maxDegree, degree);
  }
}

TStatistics ComputeLayerStatistics(const TNube& points, const TPTCapas& layers,
                                   const std::string& thousandsSeparator) {
  TStatistics s;
  s.Points = static_cast<int>(points.size());
  s.WeightValue = LayersWeight(points, layers);
  s.Weight = WeightText(s.WeightValue, thousandsSeparator);
  int triangles = 0, others = 0;
  LayersFaceStats(layers, triangles, others, s.FaceDegree);
  s.Triangles = triangles;
  s.Faces = triangles + others;
  s.VertexDegree = LayersVertexDegree(points, layers);
  return s;
}

}  // namespace qv
