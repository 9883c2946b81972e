// The sweep-line computation (sort along the direction, sweep, statistics) beside a plain
// std::sort of the same points, on seeded uniform sets of 1,000 to 1,000,000 points.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>
#include <vector>

#include "methods/Aleatorio.h"
#include "methods/Ejecucion.h"
#include "stats/Estadisticas.h"

namespace {

// One seeded set per size, in generation (random) order, on a canvas roomy enough for all.
const qv::TNube& Points(int n) {
  static std::map<int, qv::TNube> cache;
  auto it = cache.find(n);
  if (it == cache.end()) {
    qv::TRandom random(20240601u);
    it = cache.emplace(n, qv::GenerateUniform(random, n, 40000, 30000)).first;
  }
  return it->second;
}

void BM_StdSort(benchmark::State& state) {
  const qv::TNube& points = Points(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    qv::TNube p = points;
    std::sort(p.begin(), p.end(),
              [](qv::TPoint a, qv::TPoint b) { return a.X != b.X ? a.X < b.X : a.Y > b.Y; });
    benchmark::DoNotOptimize(p.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_SortSweepStatistics(benchmark::State& state) {
  const qv::TNube& points = Points(static_cast<int>(state.range(0)));
  double dirX = 0, dirY = 0;
  qv::SweepDirectionFromAngle(static_cast<int>(state.range(1)), dirX, dirY);
  // Like the document's subdivision, kept from run to run: one untimed run sizes its tables.
  qv::TDCEL pt;
  {
    qv::TNube p = points;
    int dragged = qv::kNone;
    qv::ComputeSweepLine(p, dirX, dirY, dragged, pt);
  }
  for (auto _ : state) {
    qv::TNube p = points;
    int dragged = qv::kNone;
    qv::ComputeSweepLine(p, dirX, dirY, dragged, pt);
    const qv::TStatistics stats = qv::ComputeStatistics(p, pt, ",");
    benchmark::DoNotOptimize(stats.WeightValue);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

}  // namespace

// The machine is shared: the least time of the repetitions is the steadiest figure.
static double Least(const std::vector<double>& v) {
  return *std::min_element(v.begin(), v.end());
}

BENCHMARK(BM_StdSort)
    ->Arg(1000)
    ->Arg(100000)
    ->Arg(1000000)
    ->ComputeStatistics("min", Least)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortSweepStatistics)
    ->Args({1000, 0})
    ->Args({100000, 0})
    ->Args({1000000, 0})
    ->Args({1000000, 30})
    ->ComputeStatistics("min", Least)
    ->Unit(benchmark::kMillisecond);
