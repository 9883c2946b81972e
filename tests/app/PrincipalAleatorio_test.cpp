// Random distributions from the window's panel: what replaces the point set, where the points
// lie, their order, and the refusals.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>
#include <tuple>

#include "VentanaPrueba.h"
#include "methods/Ejecucion.h"

namespace qv {
namespace {

class RandomPanel : public test::Ventana {
 protected:
  void SetUp() override {
    test::Ventana::SetUp();
    SetCanvasSize(1000, 600);
    form->tbAleatoria->trigger();
    form->RandomSource.SetSeed(kSeed);
  }

  void SetCanvasSize(int width, int height) {
    for (int attempt = 0; attempt < 3; ++attempt) {
      const QSize canvas(form->Pizarra->width(), form->Pizarra->height());
      if (canvas == QSize(width, height)) return;
      form->resize(form->size() + QSize(width, height) - canvas);
      QCoreApplication::processEvents();
    }
    ASSERT_EQ(QSize(form->Pizarra->width(), form->Pizarra->height()), QSize(width, height));
  }
  void Generate() { QTest::mouseClick(form->BotonPuntosOK, Qt::LeftButton); }
  static TNube Sorted(TNube points) {
    int none = kNone;
    SortPointsByDirection(points, 1.0, 0.0, none);
    return points;
  }

  static constexpr uint32_t kSeed = 86399999u;  // the last millisecond of a day
};

// The generators' own tests prove where the points lie; here the window's part: which
// generator, with what figures, what the new points replace, and their order.
TEST_F(RandomPanel, NewPointsReplaceEverythingButTheMethodAndTheLastResultRefusalsNothing) {
  form->Doc.Points = {{100, 300}, {200, 100}, {300, 350}, {420, 220}, {520, 320}};
  form->tbEjecutar->trigger();
  form->Doc.PolygonClosed = true;
  form->Doc.PolygonLength = 5;
  const int edges = form->Doc.CurrentPT.HalfEdgeCount();
  // Empty fields fall back to 50 points and deviation 100, and the sequence continues.
  form->SpinPuntos->SetText(QString());
  form->SpinDesv->SetText(QString());
  Generate();
  const TNube first = form->Doc.Points;
  Generate();
  ExpectNoMessage();
  TRandom expected(kSeed);
  EXPECT_EQ(first, Sorted(GenerateNormal(expected, 50, 100, 1000, 600)));
  EXPECT_EQ(form->Doc.Points, Sorted(GenerateNormal(expected, 50, 100, 1000, 600)));
  EXPECT_EQ(std::tuple(PointsDrawn(), form->StatusText(1), Panel(), form->Doc.PolygonClosed,
                       form->Doc.ResultShown, form->Doc.PolygonLength, form->Doc.SelectedMethod,
                       form->Doc.CurrentPT.HalfEdgeCount()),
            std::tuple(true, QStringLiteral("POINTS: 50"), QStringList(6, QStringLiteral("0")),
                       false, false, 0, TMethod::SweepLine, edges));
  // "Play" executes the selected method on the new points.
  QTest::mouseClick(form->BotonPlay, Qt::LeftButton);
  EXPECT_EQ(form->LPuntos->text(), QStringLiteral("50"));
  // The uniform distribution draws from its own generator.
  form->DUniforme->trigger();
  form->SpinPuntos->SetText(QStringLiteral("999"));
  form->SpinPuntos->stepBy(1);  // up to 1000
  Generate();
  EXPECT_EQ(form->Doc.Points, Sorted(GenerateUniform(expected, 1000, 1000, 600)));

  // Refusals say why and leave the points alone.
  form->DNormal->trigger();
  const TNube before = form->Doc.Points;
  // A deviation of 1 reaches a 13 x 13 square around the centre: no room for 999 points.
  const std::pair<const char*, const char*> rows[] = {
      {"0", "The number of points must be at least 1."},
      {"999", "The deviation is too small for this many points."}};
  form->SpinDesv->SetText(QStringLiteral("1"));
  for (const auto& [count, message] : rows) {
    form->SpinPuntos->SetText(QString::fromLatin1(count));
    Generate();
    EXPECT_EQ(Shown(), One(message)) << count;
  }
  EXPECT_EQ(form->Doc.Points, before);
}

}  // namespace
}  // namespace qv
