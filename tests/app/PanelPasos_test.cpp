// The Steps panel in the window: it plays the construction of the result on show, steps with
// the keys, draws the frame it is on, and rewinds when the result changes.
#include "app/PanelPasos.h"

#include <tuple>

#include "VentanaPrueba.h"

namespace qv {
namespace {

class StepsPanel : public test::Ventana {
 protected:
  void SetUp() override {
    test::Ventana::SetUp();
    form->PanelPasos->show();
    form->activateWindow();
    QCoreApplication::processEvents();
  }
  TPanelPasos& Steps() { return *form->PanelPasos; }
  bool Drawn(const TEdge& e, const QColor& c) { return MiddleDrawn(Canvas(), e.A, e.B, c); }
  // Pixels of colour c along the middle half of edge e.
  int Ink(const TEdge& e, const QColor& c) {
    const QImage img = Canvas();
    const TPoint p = form->Doc.Points[size_t(e.A)], q = form->Doc.Points[size_t(e.B)];
    int ink = 0;
    for (int i = 25; i <= 75; ++i) {
      const int x = p.X + (q.X - p.X) * i / 100, y = p.Y + (q.Y - p.Y) * i / 100;
      for (int d = -1; d <= 1; ++d) ink += test::Is(img, x + d, y, c) || test::Is(img, x, y + d, c);
    }
    return ink;
  }
};

TEST_F(StepsPanel, PlaysAndStepsTheConstructionDrawsItsFramesAndAnEditRewinds) {
  // A background that New put away stays out of the frames.
  QImage background(form->Pizarra->Surface().size(), QImage::Format_RGB32);
  background.fill(Qt::cyan);
  dialogs.Names = {Path("bg.bmp")};
  ASSERT_TRUE(background.save(dialogs.Names[0], "BMP"));
  form->tbCargarFondo->trigger();
  form->tbLimpiar->trigger();
  form->Doc.Points = {{100, 100}, {400, 120}, {250, 300}, {180, 420}, {520, 380}, {330, 520}};
  Execute(form->tbBarrido);
  ExpectNoMessage();
  // The sort, the first triangle, one step per later point; the end shows the finished result.
  ASSERT_EQ(Steps().StepCount(), 5);
  EXPECT_TRUE(Steps().ShowsEnd() && ResultDrawn());

  Steps().ShowStep(1);  // the first triangle, all of it new
  const TStepFrame first = Steps().Frame();
  ASSERT_EQ(first.Edges.size(), 3u);
  for (const TEdge& e : first.Edges) EXPECT_TRUE(Drawn(e, kStepAddedColor));
  // The later edges not there yet, nor the background; points, faces and triangles shown.
  EXPECT_EQ(std::tuple(ResultDrawn(), test::Is(Canvas(), 1, 1, Qt::cyan), form->StatusText(0),
                       Panel().mid(3)),
            std::tuple(false, false, QStringLiteral("Triangle 0-1-2 starts the sweep"),
                       QStringList{"6", "1", "1"}));

  QTest::keyClick(form.get(), Qt::Key_Period, Qt::NoModifier);  // forward: point 3 joins
  ASSERT_EQ(Steps().Shown(), 2);
  const TStepFrame second = Steps().Frame();
  ASSERT_EQ(second.Added.size(), 2u);
  for (const TEdge& e : first.Edges) EXPECT_TRUE(Drawn(e, Qt::black));
  for (const TEdge& e : second.Added) EXPECT_TRUE(Drawn(e, kStepAddedColor));
  QTest::keyClick(form.get(), Qt::Key_Comma, Qt::NoModifier);
  EXPECT_EQ(Steps().Shown(), 1);

  // Played to the end, fast: the finished result again.
  Steps().Velocidad->setValue(60);
  Steps().PlayClick();
  EXPECT_TRUE(Steps().Playing());
  EXPECT_TRUE(QTest::qWaitFor([&] { return Steps().ShowsEnd() && !Steps().Playing(); }, 5000) &&
              ResultDrawn());

  // Every frame saved, numbered.
  dialogs.Names.push_back(Path("frame.png"));
  Steps().BotonGuardarTodo->click();
  ExpectNoMessage();
  for (const char* name : {"frame_001.png", "frame_005.png", "frame_006.png"})
    EXPECT_EQ(QImage(Path(name)).isNull(), name[8] == '6') << name;

  // A removal is drawn dashed in its step's frame.
  Execute(form->RRemoverA);
  ExpectNoMessage();
  int removal = 0;
  for (int k = 0; k < Steps().StepCount() && removal == 0; ++k)
    if (!Steps().Frame(k).Removed.empty()) removal = k;
  ASSERT_GT(removal, 0);
  Steps().ShowStep(removal);
  const TEdge gone = Steps().Frame().Removed[0];
  // Ink with gaps: not a solid line.
  EXPECT_TRUE(Ink(gone, kStepRemovedColor) > 0 && !Drawn(gone, kStepRemovedColor));

  // A re-run rewinds and gives back the status text a caption took (statistics off: the run
  // itself writes none).
  Steps().ShowStep(Steps().StepCount() - 1);
  form->StatDisabled->trigger();
  const QString done = form->StatusText(0);
  Steps().ShowStep(1);
  EXPECT_EQ(form->StatusText(0), Steps().Caption());
  form->tbEjecutar->trigger();
  EXPECT_EQ(std::pair(Steps().ShowsEnd(), form->StatusText(0)), std::pair(true, done));

  // An edit in the middle of a playback: the new result, shown finished, with its own steps.
  Steps().ShowStep(1);
  form->tbPunto->trigger();
  Click(600, 200);
  ExpectNoMessage();
  EXPECT_EQ(std::tuple(form->Doc.PointCount(), Steps().ShowsEnd(), ResultDrawn()),
            std::tuple(7, true, true));
  EXPECT_EQ(Steps().Frame(Steps().StepCount() - 1).Edges, EdgeList(form->Doc.CurrentPT));
}

}  // namespace
}  // namespace qv
