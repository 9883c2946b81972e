// Shortest-paths pseudo-triangulation: visibility, distances with the path search, geodesic
// insertion, and the whole computation of one confirmation, on seeded star-shaped polygons and
// spirals (about half of a spiral's vertices are reflex).
#include <benchmark/benchmark.h>

#include <random>

#include "../tests/methods/PoligonosAleatorios.h"
#include "methods/CaminosMinimos.h"
#include "methods/Constructores.h"

namespace {

using namespace qv;

TNube Polygon(const benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  TNube p = state.range(1) == 0 ? testing_polygons::Star(n, 42) : testing_polygons::Spiral(n, 42);
  OrientPolygon(p);
  return p;
}

void Label(benchmark::State& state, const TNube& p) {
  state.SetLabel(std::string(state.range(1) == 0 ? "star" : "spiral") +
                 " n=" + std::to_string(p.size()));
}

TDCEL RandomTriangulation(int n) {
  std::mt19937 rng(7);
  TDCEL t;
  RandomConvexTriangulation(
      n, [&](int m) { return static_cast<int>(rng() % static_cast<unsigned>(m)); }, t);
  return t;
}

void BM_Visibility(benchmark::State& state) {
  const TNube p = Polygon(state);
  TMatrizVisibilidad vis;
  for (auto _ : state) {
    ComputeVisibility(p, vis);
    benchmark::DoNotOptimize(vis[0]);
  }
  Label(state, p);
}

void BM_DistancesAndPaths(benchmark::State& state) {
  const TNube p = Polygon(state);
  TMatrizDistancias dist;
  TMatrizTrazabilidad trace;
  for (auto _ : state) {
    ComputeShortestPaths(p, dist, trace);
    benchmark::DoNotOptimize(trace[0]);
  }
  Label(state, p);
}

// The search one source at a time on the visibility graph, for comparison.
void BM_DistancesAndPathsBySource(benchmark::State& state) {
  const TNube p = Polygon(state);
  const int n = static_cast<int>(p.size());
  TMatrizVisibilidad vis;
  ComputeVisibility(p, vis);
  TMatrizDistancias dist;
  TMatrizTrazabilidad trace;
  for (auto _ : state) {
    ComputeDistances(p, vis, dist);
    for (int s = 0; s < n; ++s) ShortestPathsFrom(s, p, dist, trace);
    benchmark::DoNotOptimize(trace[0]);
  }
  Label(state, p);
}

void BM_Geodesics(benchmark::State& state) {
  const TNube p = Polygon(state);
  const int n = static_cast<int>(p.size());
  TMatrizVisibilidad vis;
  TMatrizDistancias dist;
  TMatrizTrazabilidad trace;
  ComputeVisibility(p, vis);
  ComputeShortestPaths(p, dist, trace);
  const TDCEL t = RandomTriangulation(n);
  for (auto _ : state) {
    TDCEL pt;
    BuildPolygon(p, pt);
    InsertGeodesics(t, pt, vis, trace);
    benchmark::DoNotOptimize(pt.HalfEdgeCount());
  }
  Label(state, p);
}

// What a first confirmation in the chooser costs: check, orient, visibility, distances, paths
// and geodesics.
void BM_WholeRun(benchmark::State& state) {
  const TNube p = Polygon(state);
  const TDCEL t = RandomTriangulation(static_cast<int>(p.size()));
  for (auto _ : state) {
    TNube q = p;
    TDCEL result;
    TShortestPathsRun run(q);
    run.Compute(t, false, nullptr, result);
    benchmark::DoNotOptimize(result.HalfEdgeCount());
  }
  Label(state, p);
}

void Sizes(benchmark::internal::Benchmark* b) {
  for (int kind : {0, 1})
    for (int n : {64, 256, 1000}) b->Args({n, kind});
  b->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_Visibility)->Apply(Sizes);
BENCHMARK(BM_DistancesAndPaths)->Apply(Sizes);
BENCHMARK(BM_DistancesAndPathsBySource)->Apply(Sizes);
BENCHMARK(BM_Geodesics)->Apply(Sizes);
BENCHMARK(BM_WholeRun)->Apply(Sizes);

}  // namespace
