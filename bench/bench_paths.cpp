// Shortest-paths pseudo-triangulation: the geodesics' segments and the whole computation of one
// confirmation, on seeded star-shaped polygons and spirals (about half of a spiral's vertices are
// reflex).
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

void BM_GeodesicSegments(benchmark::State& state) {
  const TNube p = Polygon(state);
  const TDCEL t = RandomTriangulation(static_cast<int>(p.size()));
  for (auto _ : state) benchmark::DoNotOptimize(GeodesicSegments(p, t).size());
  Label(state, p);
}

// What a first confirmation in the chooser costs: check, orient, geodesics and their insertion.
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

BENCHMARK(BM_GeodesicSegments)->Apply(Sizes);
BENCHMARK(BM_WholeRun)->Apply(Sizes);
// Alone, for the peak resident size: /usr/bin/time -v quilvaron_bench
// --benchmark_filter=BM_WholeRun10000
void BM_WholeRun10000(benchmark::State& state) {
  BM_WholeRun(state);
}
BENCHMARK(BM_WholeRun10000)->Args({10000, 0})->Args({10000, 1})->Unit(benchmark::kMillisecond);

}  // namespace
