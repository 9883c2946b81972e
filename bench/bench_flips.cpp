// The flip-graph searches on seeded random sets: pointed pseudo-triangulations and
// triangulations visited per second (items), and one flip on a large set.
#include <benchmark/benchmark.h>

#include "PuntosBench.h"
#include "methods/Flips.h"

namespace {

// n distinct random points with no three on a line.
qv::TNube GeneralPoints(int n, uint32_t seed) {
  qv::TNube points;
  for (uint32_t s = seed; static_cast<int>(points.size()) < n; s += 1000) {
    for (const qv::TPoint& p : qv::bench::RandomPoints(n, s)) {
      points.push_back(p);
      if (!qv::InGeneralPosition(points)) points.pop_back();
      if (static_cast<int>(points.size()) == n) break;
    }
  }
  return points;
}

void BM_EnumeratePointed(benchmark::State& state) {
  const qv::TNube points = GeneralPoints(static_cast<int>(state.range(0)), 42);
  uint64_t found = 0;
  for (auto _ : state) found = qv::EnumeratePointedPseudoTriangulations(points);
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(found));
  state.counters["count"] = static_cast<double>(found);
}
BENCHMARK(BM_EnumeratePointed)->DenseRange(8, 12, 2)->Unit(benchmark::kMillisecond);

void BM_EnumerateTriangulations(benchmark::State& state) {
  const qv::TNube points = GeneralPoints(static_cast<int>(state.range(0)), 42);
  uint64_t found = 0;
  for (auto _ : state) found = qv::EnumerateTriangulations(points);
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(found));
  state.counters["count"] = static_cast<double>(found);
}
BENCHMARK(BM_EnumerateTriangulations)->DenseRange(8, 12, 2)->Unit(benchmark::kMillisecond);

// One flip of every interior edge in turn on the sweep result of 2000 points, as the window
// does on a click.
void BM_FlipLargeSet(benchmark::State& state) {
  const qv::TNube points = GeneralPoints(2000, 7);
  const std::vector<qv::TEdge> hull = qv::HullEdges(points);
  std::vector<qv::TEdge> edges = qv::SweepPseudoTriangulation(points);
  size_t i = 0;
  for (auto _ : state) {
    const std::vector<qv::TEdge> inner = qv::InteriorEdges(edges, hull);
    benchmark::DoNotOptimize(
        qv::FlipPseudoTriangulationEdge(points, edges, inner[i++ % inner.size()], hull));
  }
}
BENCHMARK(BM_FlipLargeSet)->Unit(benchmark::kMillisecond);

}  // namespace
