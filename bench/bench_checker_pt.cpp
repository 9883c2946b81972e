// The result checker on two triangulations, and the ".pt" reader on a large content held in
// memory.
#include <benchmark/benchmark.h>

#include "io/ArchivoPT.h"
#include "methods/Verificador.h"

namespace {

void RunCheck(benchmark::State& state, const qv::TNube& pts, const std::vector<qv::TEdge>& edges) {
  for (auto _ : state) {
    qv::TCheckReport r = qv::CheckPseudoTriangulation(pts, edges);
    if (!r.Valid) state.SkipWithError(r.Reason.c_str());
    benchmark::DoNotOptimize(r.Faces);
  }
}

// A strip of two rows joined by a zigzag: short edges, the usual case.
void BM_CheckStrip(benchmark::State& state) {
  const int k = static_cast<int>(state.range(0)) / 2;
  qv::TNube pts;
  for (int i = 0; i < k; ++i) {
    pts.push_back({10 * i, 0});
    pts.push_back({10 * i + 5, 50});
  }
  std::vector<qv::TEdge> edges;
  for (int i = 0; i < k; ++i) {
    edges.push_back({2 * i, 2 * i + 1});
    if (i + 1 == k) break;
    edges.push_back({2 * i, 2 * i + 2});
    edges.push_back({2 * i + 1, 2 * i + 3});
    edges.push_back({2 * i + 1, 2 * i + 2});
  }
  RunCheck(state, pts, edges);
}
BENCHMARK(BM_CheckStrip)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// A fan from the first of n points in convex position: every edge's x range overlaps every
// other's, the worst case of the pair test.
void BM_CheckFan(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  qv::TNube pts;
  for (int i = 0; i < n; ++i) pts.push_back({i, i * i});
  std::vector<qv::TEdge> edges;
  for (int i = 0; i + 1 < n; ++i) edges.push_back({i, i + 1});
  edges.push_back({0, n - 1});
  for (int i = 2; i + 1 < n; ++i) edges.push_back({0, i});
  RunCheck(state, pts, edges);
}
BENCHMARK(BM_CheckFan)->Arg(1000)->Arg(4000)->Unit(benchmark::kMillisecond);

void BM_ParsePT(benchmark::State& state) {
  qv::TNube pts;
  for (int i = 0; i < state.range(0); ++i) pts.push_back({i * 7 % 1014, -i * 13 % 653});
  const std::string content = qv::FormatPT(pts, false);
  for (auto _ : state) benchmark::DoNotOptimize(qv::ParsePT(content).Points.size());
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(content.size()));
}
BENCHMARK(BM_ParsePT)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
