// Hull construction on seeded random point sets.
#include <benchmark/benchmark.h>

#include <random>

#include "dcel/DCEL.h"
#include "geometry/CierreConvexo.h"

namespace {

qv::TNube RandomPoints(int n, uint32_t seed) {
  std::mt19937 rng(seed);
  std::uniform_int_distribution<int32_t> coord(0, 1 << 20);
  qv::TNube points(static_cast<size_t>(n));
  for (auto& p : points) p = {coord(rng), coord(rng)};
  return points;
}

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
