// The flip-graph searches on seeded random sets: pointed pseudo-triangulations and
// triangulations visited per second (items, one thread), and random flips on large results (a
// sweep result, and a bounded-face-degree result with its hub vertex) at n, 2n and 4n points.
#include <benchmark/benchmark.h>

#include <random>

#include "PuntosBench.h"
#include "dcel/DCEL.h"
#include "methods/Constructores.h"
#include "methods/Ejecucion.h"
#include "methods/Flips.h"
#include "methods/Incremental.h"

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
  for (auto _ : state) found = qv::SearchFlipGraph(points, qv::TFlipGraph::Pointed, {});
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(found));
  state.counters["count"] = static_cast<double>(found);
}
BENCHMARK(BM_EnumeratePointed)->Arg(10)->Arg(12)->Arg(13)->Arg(14)->Unit(benchmark::kMillisecond);

void BM_EnumerateTriangulations(benchmark::State& state) {
  const qv::TNube points = GeneralPoints(static_cast<int>(state.range(0)), 42);
  uint64_t found = 0;
  for (auto _ : state) found = qv::SearchFlipGraph(points, qv::TFlipGraph::Triangulations, {});
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(found));
  state.counters["count"] = static_cast<double>(found);
}
BENCHMARK(BM_EnumerateTriangulations)->Arg(10)->Arg(12)->Arg(14)->Unit(benchmark::kMillisecond);

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

// n random points with coordinates in +-2^30: no three on a line but by a rare accident, which
// the flips would hand to the checker.
qv::TNube WidePoints(int n, uint32_t seed) {
  std::mt19937 gen(seed);
  std::uniform_int_distribution<int32_t> coordinate(-(1 << 30), 1 << 30);
  qv::TNube points(static_cast<size_t>(n));
  for (qv::TPoint& p : points) p = qv::TPoint{coordinate(gen), coordinate(gen)};
  return points;
}

// 1,000 flips of uniformly drawn interior edges, as --flips does, from a method's result (its
// points and edges); the start is built outside the timing.
template <class TStart>
void RandomFlips(benchmark::State& state, TStart start) {
  const auto [points, edges] = start(WidePoints(static_cast<int>(state.range(0)), 7));
  for (auto _ : state) {
    state.PauseTiming();
    qv::TPseudoTriangulationFlipper flipper(points, edges);
    std::mt19937 gen(3);
    state.ResumeTiming();
    for (int k = 0; k < 1000; ++k)
      benchmark::DoNotOptimize(flipper.Flip(flipper.Interior(gen() % flipper.InteriorCount())));
  }
  state.SetItemsProcessed(state.iterations() * 1000);
}

void BM_FlipsSweepResult(benchmark::State& state) {
  RandomFlips(state, [](const qv::TNube& points) {
    return std::pair(points, qv::SweepPseudoTriangulation(points));
  });
}
BENCHMARK(BM_FlipsSweepResult)->Arg(4000)->Arg(8000)->Arg(16000)->Unit(benchmark::kMillisecond);

void BM_FlipsFaceDegreeResult(benchmark::State& state) {
  RandomFlips(state, [](qv::TNube points) {
    int dragged = qv::kNone;
    qv::SortPointsByDirection(points, 0, 1, dragged);
    qv::TDCEL pt;
    auto fan = [](int n) {
      qv::TDCEL d;
      qv::BuildPolygon(qv::TNube(static_cast<size_t>(n)), d);
      for (int k = 2; k <= n - 2; ++k) d.SplitFace(0, 0, k);  // the chooser's first fan
      return d;
    };
    qv::ComputeIncrementalFace(points, dragged, fan, pt);
    return std::pair(points, qv::EdgeList(pt));
  });
}
BENCHMARK(BM_FlipsFaceDegreeResult)
    ->Arg(4000)
    ->Arg(8000)
    ->Arg(16000)
    ->Unit(benchmark::kMillisecond);

}  // namespace
