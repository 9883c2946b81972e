// A drag over a shown sweep-line result: every mouse move re-executes the method and redraws
// the whole canvas. 1,000 random points on a 1920 x 1080 canvas, statistics on.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <random>
#include <set>
#include <utility>

#include "app/Principal.h"

namespace {

qv::TNube RandomPoints(int count, int width, int height, unsigned seed) {
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> x(0, width - 1), y(0, height - 1);
  std::set<std::pair<int, int>> seen;
  qv::TNube points;
  while (static_cast<int>(points.size()) < count) {
    const int px = x(random), py = y(random);
    if (seen.insert({px, py}).second) points.push_back(qv::TPoint{px, py});
  }
  return points;
}

// A window whose canvas is exactly width x height, showing the sweep-line result.
std::unique_ptr<qv::TForm1> WindowWithResult(int width, int height, bool statistics) {
  auto form = std::make_unique<qv::TForm1>();
  form->setWindowState(Qt::WindowNoState);
  form->show();
  QCoreApplication::processEvents();
  const QSize extra = form->size() - form->ClientArea->size();
  form->resize(width + extra.width(), height + extra.height());
  QCoreApplication::processEvents();
  if (!statistics) form->StatDisabled->setChecked(true);
  form->Doc.Points = RandomPoints(1000, width, height, 20240601u);
  form->tbEjecutarClick();
  return form;
}

void DragCycle(benchmark::State& state, bool statistics, bool repaint) {
  auto form = WindowWithResult(1920, 1080, statistics);
  if (form->ClientArea->size() != QSize(1920, 1080) || !form->Doc.ResultShown) {
    state.SkipWithError("the canvas could not be set up");
    return;
  }
  qv::TDocumento& doc = form->Doc;
  doc.DraggedPoint = 500;
  int step = 0;
  for (auto _ : state) {
    // The held point wanders by a few pixels, as under the mouse.
    const int d = (step++ % 8) < 4 ? 3 : -3;
    doc.Points[doc.DraggedPoint].X += d;
    doc.Points[doc.DraggedPoint].Y += d;
    form->ExecuteSelectedMethod();
    if (repaint) {
      form->Pizarra->repaint();
    } else {
      benchmark::DoNotOptimize(form->Pizarra->Surface().constBits());
    }
  }
}

void BM_DragSweepLineWithStatistics(benchmark::State& state) {
  DragCycle(state, true, false);
}
void BM_DragSweepLineWithoutStatistics(benchmark::State& state) {
  DragCycle(state, false, false);
}
void BM_DragSweepLineWithStatisticsAndRepaint(benchmark::State& state) {
  DragCycle(state, true, true);
}

BENCHMARK(BM_DragSweepLineWithStatistics)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DragSweepLineWithoutStatistics)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DragSweepLineWithStatisticsAndRepaint)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
