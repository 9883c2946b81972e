// Our Delaunay variant against CGAL's Delaunay_triangulation_2 on the same seeded points, in one
// binary, so that the two figures compare directly. Built only when CGAL is installed.
#include <CGAL/Delaunay_triangulation_2.h>
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <benchmark/benchmark.h>

#include <vector>

#include "../PuntosBench.h"
#include "dcel/DCEL.h"
#include "methods/Remocion.h"

namespace {

using Kernel = CGAL::Exact_predicates_inexact_constructions_kernel;
using Delaunay = CGAL::Delaunay_triangulation_2<Kernel>;

using qv::bench::Grid;
using qv::bench::RandomPoints;

qv::TNube InputOf(const benchmark::State& state) {
  return state.range(0) == 0 ? Grid(300) : RandomPoints(static_cast<int>(state.range(0)), 42);
}

// Sort, sweep triangulation and flips, as the "Delaunay" variant runs them.
void BM_OurDelaunay(benchmark::State& state) {
  const qv::TNube input = InputOf(state);
  for (auto _ : state) {
    qv::TNube points = input;
    qv::TDCEL pt;
    int dragged = qv::kNone;
    qv::ComputeTriangulateRemove(points, qv::TRemocionVariant::Delaunay, dragged, pt);
    benchmark::DoNotOptimize(pt.HalfEdgeCount());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(input.size()));
}

// CGAL's incremental Delaunay triangulation (spatially sorted insertion) of the same points.
void BM_CgalDelaunay(benchmark::State& state) {
  const qv::TNube input = InputOf(state);
  std::vector<Kernel::Point_2> points;
  points.reserve(input.size());
  for (const qv::TPoint& p : input) points.emplace_back(p.X, p.Y);
  for (auto _ : state) {
    Delaunay dt(points.begin(), points.end());
    benchmark::DoNotOptimize(dt.number_of_faces());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(input.size()));
}

BENCHMARK(BM_OurDelaunay)
    ->ArgName("n")
    ->Arg(1000)
    ->Arg(100000)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CgalDelaunay)
    ->ArgName("n")
    ->Arg(1000)
    ->Arg(100000)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond);

}  // namespace
