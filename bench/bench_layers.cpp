// Convex-layers pseudo-triangulation on seeded random canvas sets: the peeling alone, the whole
// computation of one execution (sort, peeling, joining), the layer figures, and the peeling by
// the walkers that scan every record on every step, for comparison.
#include <benchmark/benchmark.h>

#include <random>

#include "../tests/methods/CapasOraculos.h"
#include "methods/Capas.h"
#include "stats/EstadisticasCapas.h"

namespace {

using namespace qv;

// n distinct random points on a canvas of about 4n by 3n/4 pixels per thousand points
// (1000 points: 1200 x 900), sorted top down.
TNube Canvas(int n) {
  std::mt19937 rng(42);
  const int w = 1200 * std::max(1, n / 1000), h = 900 * std::max(1, n / 1000);
  return qv::testing::Prepared(qv::testing::Draw(rng, n, 0, std::min(w, h)));
}

void Label(benchmark::State& state, const TNube& p, const TPTCapas& l) {
  state.SetLabel("n=" + std::to_string(p.size()) + " layers=" + std::to_string(l.Count));
}

void BM_BuildConvexLayers(benchmark::State& state) {
  const TNube p = Canvas(static_cast<int>(state.range(0)));
  TPTCapas l;
  for (auto _ : state) {
    BuildConvexLayers(p, l);
    benchmark::DoNotOptimize(l.Count);
  }
  Label(state, p, l);
}
BENCHMARK(BM_BuildConvexLayers)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond);

// One execution as the window runs it while a point is dragged: the set arrives in its
// previous order with one point moved, is sorted, peeled and joined.
void BM_ComputeConvexLayers(benchmark::State& state) {
  const TNube sorted = Canvas(static_cast<int>(state.range(0)));
  TPTCapas l;
  for (auto _ : state) {
    state.PauseTiming();
    TNube p = sorted;
    p[p.size() / 2].Y += 7;
    int dragged = static_cast<int>(p.size() / 2);
    state.ResumeTiming();
    ComputeConvexLayers(p, dragged, l);
    benchmark::DoNotOptimize(l.Count);
  }
  Label(state, sorted, l);
}
BENCHMARK(BM_ComputeConvexLayers)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_LayerFigures(benchmark::State& state) {
  const TNube p = Canvas(static_cast<int>(state.range(0)));
  TPTCapas l;
  BuildConvexLayers(p, l);
  ConnectConvexLayers(l);
  for (auto _ : state) {
    const TStatistics s = ComputeLayerStatistics(p, l, ",");
    benchmark::DoNotOptimize(s.Faces);
  }
  Label(state, p, l);
}
BENCHMARK(BM_LayerFigures)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_WalkerPeeling(benchmark::State& state) {
  const TNube p = Canvas(static_cast<int>(state.range(0)));
  TPTCapas l;
  for (auto _ : state) {
    qv::testing::ScanningBuild(p, l);
    benchmark::DoNotOptimize(l.Count);
  }
  Label(state, p, l);
}
BENCHMARK(BM_WalkerPeeling)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
