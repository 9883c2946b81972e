// Hull construction on seeded random point sets.
#include <benchmark/benchmark.h>

#include "PuntosBench.h"
#include "dcel/DCEL.h"
#include "methods/Constructores.h"

namespace {

using qv::bench::RandomPoints;

void BM_BuildHull(benchmark::State& state) {
  const qv::TNube points = RandomPoints(static_cast<int>(state.range(0)), 42);
  for (auto _ : state) {
    qv::TDCEL hull;
    qv::BuildHull(points, hull);
    benchmark::DoNotOptimize(hull.HalfEdgeCount());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_BuildHull)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);

}  // namespace
