// The compare panel's recomputation: every method variant on n uniform random points, as the
// panel does after each execution (the drag budget is measured against this).
#include <benchmark/benchmark.h>

#include <QLocale>

#include "app/PanelComparar.h"
#include "methods/Aleatorio.h"

namespace {

void BM_CompareAllVariants(benchmark::State& state) {
  qv::TRandom random(20240601u);
  qv::TDocumento doc;
  doc.Points = qv::GenerateUniform(random, static_cast<int>(state.range(0)), 1920, 1080);
  for (auto _ : state) benchmark::DoNotOptimize(qv::CompareVariants(doc, ","));
}

BENCHMARK(BM_CompareAllVariants)->Arg(100)->Arg(300)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
