// Both incremental variants on seeded random point sets in general position (coordinates up to
// 2^20, so that no walk meets a collinear configuration). The points are sorted once
// beforehand, so the driver's bubble sort costs one pass.
#include <benchmark/benchmark.h>

#include "PuntosBench.h"
#include "dcel/DCEL.h"
#include "methods/Constructores.h"
#include "methods/Ejecucion.h"
#include "methods/Incremental.h"

namespace {

qv::TNube RandomPoints(int n, uint32_t seed, double dirX, double dirY) {
  qv::TNube points = qv::bench::DistinctRandomPoints(n, seed);
  int dragged = qv::kNone;
  qv::SortPointsByDirection(points, dirX, dirY, dragged);
  return points;
}

// The fan from vertex 0 of the abstract n-gon, as the triangulation chooser first offers it.
qv::TDCEL Fan(int n) {
  qv::TDCEL d;
  qv::BuildPolygon(qv::TNube(static_cast<size_t>(n)), d);
  for (int k = 2; k <= n - 2; ++k) d.SplitFace(0, 0, k);
  return d;
}

void BM_IncrementalFace(benchmark::State& state) {
  const qv::TNube sorted = RandomPoints(static_cast<int>(state.range(0)), 42, 0, 1);
  for (auto _ : state) {
    qv::TNube points = sorted;
    qv::TDCEL pt;
    int dragged = qv::kNone;
    qv::ComputeIncrementalFace(points, dragged, Fan, pt);
    benchmark::DoNotOptimize(pt.FaceCount());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_IncrementalFace)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_IncrementalVertex(benchmark::State& state) {
  const qv::TNube sorted = RandomPoints(static_cast<int>(state.range(0)), 42, 1, 0);
  for (auto _ : state) {
    qv::TNube points = sorted;
    qv::TDCEL pt;
    int dragged = qv::kNone;
    qv::ComputeIncrementalVertex(points, dragged, pt);
    benchmark::DoNotOptimize(pt.FaceCount());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_IncrementalVertex)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
