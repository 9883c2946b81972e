// Drags over a shown result: every mouse move re-executes the selected method and redraws the
// whole 1920 x 1080 canvas, statistics on, as the window does while a point is held. One
// benchmark per method and variant, on seeded random points (1,000 and 10,000) and, for the
// shortest paths, on star-shaped and spiral polygons (256 and 1,000 vertices) laid on the
// canvas, with the chooser's first triangulation (the fan from vertex 0) and its boxes as they
// start ("Labels" on).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <functional>
#include <numbers>
#include <random>
#include <set>
#include <utility>

#include "../tests/methods/PoligonosAleatorios.h"
#include "app/Principal.h"
#include "app/Seams.h"
#include "geometry/UserError.h"
#include "methods/CaminosMinimos.h"

namespace {

constexpr int kWidth = 1920, kHeight = 1080;

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

// The polygon scaled into the canvas with a margin of 20 pixels.
qv::TNube OnCanvas(const qv::TNube& polygon) {
  int64_t x0 = INT32_MAX, y0 = INT32_MAX, x1 = INT32_MIN, y1 = INT32_MIN;
  for (const qv::TPoint& p : polygon) {
    x0 = std::min<int64_t>(x0, p.X), x1 = std::max<int64_t>(x1, p.X);
    y0 = std::min<int64_t>(y0, p.Y), y1 = std::max<int64_t>(y1, p.Y);
  }
  const double scale =
      std::min((kWidth - 40.0) / double(x1 - x0 + 1), (kHeight - 40.0) / double(y1 - y0 + 1));
  qv::TNube out;
  for (const qv::TPoint& p : polygon)
    out.push_back({20 + int(std::lround(double(p.X - x0) * scale)),
                   20 + int(std::lround(double(p.Y - y0) * scale))});
  return out;
}

// A star-shaped polygon around the canvas centre: n vertices at evenly spaced angles with
// random radii between 320 and 520 pixels (a denser star of random angles would fold when
// rounded to pixels).
qv::TNube CanvasStar(int n, unsigned seed) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> radius(320.0, 520.0);
  qv::TNube p;
  for (int i = 0; i < n; ++i) {
    const double a = 2 * std::numbers::pi * i / n, r = radius(random);
    p.push_back({kWidth / 2 + int(std::lround(r * std::cos(a))),
                 kHeight / 2 + int(std::lround(r * std::sin(a)))});
  }
  return p;
}

// A window whose canvas is exactly 1920 x 1080, answered by a scripted chooser.
struct TWindow {
  TWindow() : form(std::make_unique<qv::TForm1>()), chooser(form->RandomSource) {
    form->SetChooser(&chooser);
    form->setWindowState(Qt::WindowNoState);
    form->show();
    QCoreApplication::processEvents();
    const QSize extra = form->size() - form->ClientArea->size();
    form->resize(kWidth + extra.width(), kHeight + extra.height());
    QCoreApplication::processEvents();
  }
  ~TWindow() { form->SetChooser(nullptr); }
  std::unique_ptr<qv::TForm1> form;
  qv::TScriptedChooser chooser;
};

// Selects the method (and variant) on the window's menus.
using TSelect = std::function<void(qv::TForm1&)>;

void Drag(benchmark::State& state, const TSelect& select, qv::TNube points, bool polygon,
          bool statistics = true, double zoom = 1.0) {
  TWindow window;
  qv::TForm1& form = *window.form;
  if (form.ClientArea->size() != QSize(kWidth, kHeight)) {
    state.SkipWithError("the canvas could not be set up");
    return;
  }
  if (!statistics) form.StatDisabled->setChecked(true);
  select(form);
  // Zoomed around the canvas centre: the drawing reaches far beyond the canvas on every side.
  qv::TVista view;
  view.ZoomAt(QPointF(kWidth / 2.0, kHeight / 2.0), zoom);
  form.SetVista(view);
  qv::TDocumento& doc = form.Doc;
  doc.Points = std::move(points);
  doc.PolygonClosed = polygon;
  // The shortest-paths driver asks the chooser at every run; one "OK" computes and draws.
  auto answer = [&] {
    if (polygon) window.chooser.Answers.push_back({"", true});
  };
  try {
    answer();
    form.tbEjecutarClick();
    doc.DraggedPoint = doc.PointCount() / 2;
    int step = 0;
    for (auto _ : state) {
      // The held point wanders by a few pixels, as under the mouse.
      const int d = (step++ % 8) < 4 ? 1 : -1;
      doc.Points[doc.DraggedPoint].X += d;
      doc.Points[doc.DraggedPoint].Y += d;
      answer();
      form.ExecuteSelectedMethod();
      benchmark::DoNotOptimize(form.Pizarra->Surface().constBits());
    }
  } catch (const qv::UserError& e) {
    state.SkipWithError(e.what());
    return;
  }
  if (!doc.ResultShown) state.SkipWithError("no result shown");
  state.SetLabel("n=" + std::to_string(doc.PointCount()));
}

void DragPoints(benchmark::State& state, const TSelect& select) {
  Drag(state, select, RandomPoints(static_cast<int>(state.range(0)), kWidth, kHeight, 20240601u),
       false);
}

void BM_DragSweepLine(benchmark::State& state) {
  DragPoints(state, [](qv::TForm1& f) { f.tbBarrido->trigger(); });
}
void BM_DragConvexLayers(benchmark::State& state) {
  DragPoints(state, [](qv::TForm1& f) { f.tbCapas->trigger(); });
}
void Remove(benchmark::State& state, QAction* qv::TForm1::*variant) {
  DragPoints(state, [variant](qv::TForm1& f) {
    (f.*variant)->trigger();
    f.tbRemover->trigger();
  });
}
void BM_DragRemoveSweepTriangulation(benchmark::State& s) {
  Remove(s, &qv::TForm1::RBarrido);
}
void BM_DragRemoveDelaunay(benchmark::State& s) {
  Remove(s, &qv::TForm1::RDelaunay);
}
void BM_DragRemoveEdges(benchmark::State& s) {
  Remove(s, &qv::TForm1::RRemoverA);
}
void BM_DragRemoveEdgesAndTriangles(benchmark::State& s) {
  Remove(s, &qv::TForm1::RRemoverT);
}
void Incremental(benchmark::State& state, QAction* qv::TForm1::*variant) {
  DragPoints(state, [variant](qv::TForm1& f) {
    (f.*variant)->trigger();
    f.tbIncremental->trigger();
  });
}
void BM_DragIncrementalFace(benchmark::State& s) {
  Incremental(s, &qv::TForm1::IBoundedF);
}
void BM_DragIncrementalVertex(benchmark::State& s) {
  Incremental(s, &qv::TForm1::IBoundedV);
}

// Arguments: vertices, 0 star / 1 spiral.
void BM_DragShortestPaths(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const qv::TNube p =
      state.range(1) == 0 ? CanvasStar(n, 42) : OnCanvas(qv::testing_polygons::Spiral(n, 42));
  if (!qv::IsSimplePolygon(p)) {
    state.SkipWithError("the scaled polygon is not simple");
    return;
  }
  Drag(
      state, [](qv::TForm1& f) { f.tbCaminos->trigger(); }, p, true);
  state.SetLabel(std::string(state.range(1) == 0 ? "star" : "spiral") +
                 " n=" + std::to_string(p.size()));
}

// The sweep line without the statistics panel, for the share of the figures.
void BM_DragSweepLineWithoutStatistics(benchmark::State& state) {
  Drag(
      state, [](qv::TForm1& f) { f.tbBarrido->trigger(); },
      RandomPoints(static_cast<int>(state.range(0)), kWidth, kHeight, 20240601u), false, false);
}

// The sweep line at 1:1 and zoomed 4 times. Arguments: points, zoom.
void BM_DragSweepLineZoomed(benchmark::State& state) {
  Drag(
      state, [](qv::TForm1& f) { f.tbBarrido->trigger(); },
      RandomPoints(static_cast<int>(state.range(0)), kWidth, kHeight, 20240601u), false, true,
      static_cast<double>(state.range(1)));
  state.SetLabel("n=" + std::to_string(state.range(0)) + " zoom " + std::to_string(state.range(1)));
}

void Points(benchmark::internal::Benchmark* b) {
  b->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_DragSweepLine)->Apply(Points);
BENCHMARK(BM_DragSweepLineWithoutStatistics)->Apply(Points);
BENCHMARK(BM_DragSweepLineZoomed)
    ->Args({1000, 1})
    ->Args({1000, 4})
    ->Args({10000, 1})
    ->Args({10000, 4})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DragConvexLayers)->Apply(Points);
BENCHMARK(BM_DragRemoveSweepTriangulation)->Apply(Points);
BENCHMARK(BM_DragRemoveDelaunay)->Apply(Points);
BENCHMARK(BM_DragRemoveEdges)->Apply(Points);
BENCHMARK(BM_DragRemoveEdgesAndTriangles)->Apply(Points);
BENCHMARK(BM_DragIncrementalFace)->Apply(Points);
BENCHMARK(BM_DragIncrementalVertex)->Apply(Points);
BENCHMARK(BM_DragShortestPaths)
    ->Args({256, 0})
    ->Args({1000, 0})
    ->Args({256, 1})
    ->Args({1000, 1})
    ->Unit(benchmark::kMillisecond);

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
