// The triangulate-and-remove method on seeded random sets and on a grid: each variant end to
// end (sort, collinear start, sweep triangulation, flips, removals), and the two main stages
// alone.
#include <benchmark/benchmark.h>

#include "PuntosBench.h"
#include "dcel/DCEL.h"
#include "methods/Remocion.h"
#include "methods/Triangulacion.h"

namespace {

using qv::TRemocionVariant;

using qv::bench::Grid;
using qv::bench::RandomPoints;

// range(0): variant; range(1): point count, or 0 for the 300 x 300 grid.
qv::TNube InputOf(const benchmark::State& state) {
  return state.range(1) == 0 ? Grid(300) : RandomPoints(static_cast<int>(state.range(1)), 42);
}

void BM_TriangulateRemove(benchmark::State& state) {
  const qv::TNube input = InputOf(state);
  const auto variant = static_cast<TRemocionVariant>(state.range(0));
  for (auto _ : state) {
    qv::TNube points = input;
    qv::TDCEL pt;
    int dragged = qv::kNone;
    qv::ComputeTriangulateRemove(points, variant, dragged, pt);
    benchmark::DoNotOptimize(pt.HalfEdgeCount());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(input.size()));
  state.SetLabel(qv::RemocionStatusText(variant));
}
BENCHMARK(BM_TriangulateRemove)
    ->ArgNames({"variant", "n"})
    ->ArgsProduct({{0, 1, 2, 3}, {1000, 100000, 0}})
    ->Unit(benchmark::kMillisecond);

// The flips alone, from the sweep triangulation of the same sorted points.
void BM_DelaunayFlipsAfterSweep(benchmark::State& state) {
  qv::TNube points = InputOf(state);
  qv::TDCEL sweep;
  int dragged = qv::kNone;
  qv::ComputeTriangulateRemove(points, TRemocionVariant::Sweep, dragged, sweep);
  for (auto _ : state) {
    state.PauseTiming();
    qv::TDCEL d = sweep;
    state.ResumeTiming();
    qv::DelaunayFlips(points, d);
    benchmark::DoNotOptimize(d.HalfEdgeCount());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(points.size()));
}
BENCHMARK(BM_DelaunayFlipsAfterSweep)
    ->ArgNames({"unused", "n"})
    ->ArgsProduct({{0}, {1000, 100000, 0}})
    ->Unit(benchmark::kMillisecond);

}  // namespace
