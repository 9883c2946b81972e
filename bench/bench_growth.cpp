// Growth of every method and of the checker on its result, at n, 2n and 4n points, on two
// kinds of input: general position (distinct random coordinates in +-2^30, no three points on
// a line in practice) and the dense uniform canvas (the canvas generator on 100000 x 100000,
// where many points share an x and lie on common lines). The ratio of neighbouring rows shows
// the growth rate; n log n doubles a little more than twice.
//
// BM_Method/<kind>/<method>/<n> times the method alone; BM_Check/<kind>/<method>/<n> times the
// checker on the method's result (the subdivision's own records included, as --check does).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <map>
#include <random>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "dcel/DCEL.h"
#include "methods/Aleatorio.h"
#include "methods/Capas.h"
#include "methods/Constructores.h"
#include "methods/Ejecucion.h"
#include "methods/Incremental.h"
#include "methods/Remocion.h"
#include "methods/Verificador.h"

namespace {

enum Kind { kGeneral = 0, kDenseCanvas = 1 };
enum Method {
  kSweep,
  kLayers,
  kSweepTriangulation,
  kDelaunay,
  kRemoveEdges,
  kRemoveTriangles,
  kIncrementalFace,
  kIncrementalVertex,
  kMethods
};
const char* const kMethodNames[kMethods] = {
    "sweep",        "layers",           "sweep-triangulation", "delaunay",
    "remove-edges", "remove-triangles", "incremental-face",    "incremental-vertex"};

qv::TNube Points(int kind, int n) {
  static std::map<std::pair<int, int>, qv::TNube> cache;
  auto it = cache.find({kind, n});
  if (it != cache.end()) return it->second;
  qv::TNube points;
  if (kind == kGeneral) {
    std::mt19937 rng(20260);
    std::uniform_int_distribution<int32_t> coord(-(1 << 30), 1 << 30);
    std::set<std::pair<int32_t, int32_t>> seen;
    while (static_cast<int>(points.size()) < n) {
      const qv::TPoint p{coord(rng), coord(rng)};
      if (seen.insert({p.X, p.Y}).second) points.push_back(p);
    }
  } else {
    qv::TRandom random(1);
    points = qv::GenerateUniform(random, n, 100000, 100000);
  }
  return cache.emplace(std::make_pair(kind, n), std::move(points)).first->second;
}

// The fan from vertex 0 of the abstract n-gon, the chooser's first offer.
qv::TDCEL Fan(int n) {
  qv::TDCEL d;
  qv::BuildPolygon(qv::TNube(static_cast<size_t>(n)), d);
  for (int k = 2; k <= n - 2; ++k) d.SplitFace(0, 0, k);
  return d;
}

// Runs the method on a copy of the points; the result is a subdivision, or for the layers an
// edge list.
struct TResult {
  qv::TNube Points;
  qv::TDCEL PT;
  std::vector<qv::TEdge> Edges;
  bool Subdivision = true;
};

void Run(int method, TResult& r) {
  int dragged = qv::kNone;
  switch (method) {
    case kSweep:
      qv::ComputeSweepLine(r.Points, 1.0, 0.0, dragged, r.PT);
      break;
    case kLayers: {
      qv::TPTCapas layers;
      qv::ComputeConvexLayers(r.Points, dragged, layers);
      r.Edges = qv::LayerEdges(layers);
      r.Subdivision = false;
      break;
    }
    case kSweepTriangulation:
    case kDelaunay:
    case kRemoveEdges:
    case kRemoveTriangles: {
      const qv::TRemocionVariant variants[] = {
          qv::TRemocionVariant::Sweep, qv::TRemocionVariant::Delaunay,
          qv::TRemocionVariant::RemoveEdges, qv::TRemocionVariant::RemoveTriangles};
      qv::ComputeTriangulateRemove(r.Points, variants[method - kSweepTriangulation], dragged, r.PT);
      break;
    }
    case kIncrementalFace:
      qv::ComputeIncrementalFace(r.Points, dragged, Fan, r.PT);
      break;
    default:
      qv::ComputeIncrementalVertex(r.Points, dragged, r.PT);
  }
}

void BM_Method(benchmark::State& state) {
  const int kind = static_cast<int>(state.range(0)), method = static_cast<int>(state.range(1));
  const qv::TNube& points = Points(kind, static_cast<int>(state.range(2)));
  for (auto _ : state) {
    TResult r;
    r.Points = points;
    Run(method, r);
    benchmark::DoNotOptimize(r.PT.FaceCount());
  }
  state.SetLabel(kMethodNames[method]);
}

void BM_Check(benchmark::State& state) {
  const int kind = static_cast<int>(state.range(0)), method = static_cast<int>(state.range(1));
  TResult r;
  r.Points = Points(kind, static_cast<int>(state.range(2)));
  Run(method, r);
  for (auto _ : state) {
    const qv::TCheckReport report = r.Subdivision ? qv::CheckSubdivision(r.Points, r.PT)
                                                  : qv::CheckPseudoTriangulation(r.Points, r.Edges);
    if (!report.Valid) state.SkipWithError(report.Reason.c_str());
    benchmark::DoNotOptimize(report.Faces);
  }
  state.SetLabel(kMethodNames[method]);
}

// 125,000 to 1,000,000 points, each row run once: at a million points one run takes seconds.
void Sizes(benchmark::internal::Benchmark* b) {
  for (int kind : {kGeneral, kDenseCanvas})
    for (int method = 0; method < kMethods; ++method)
      for (int n : {125000, 250000, 500000, 1000000}) b->Args({kind, method, n});
  b->ArgNames({"kind", "method", "n"});
  b->Unit(benchmark::kMillisecond)->Iterations(1);
}
BENCHMARK(BM_Method)->Apply(Sizes);
BENCHMARK(BM_Check)->Apply(Sizes);

}  // namespace
