// Random distributions from the window's panel: what replaces the point set, where the points
// lie, their order, and the refusals.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <set>

#include "VentanaPrueba.h"
#include "methods/Aleatorio.h"
#include "methods/Ejecucion.h"

namespace qv {
namespace {

using test::Is;

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

TEST_F(RandomPanel, NormalPointsReplaceEverythingClusteredAroundTheCentre) {
  // A shown result over a closed polygon, with its statistics.
  form->Doc.Points = {{100, 300}, {200, 100}, {300, 350}, {420, 220}, {520, 320}};
  form->tbEjecutar->trigger();
  ASSERT_TRUE(form->Doc.ResultShown);
  form->Doc.PolygonClosed = true;
  form->Doc.PolygonLength = 5;
  ASSERT_NE(form->LPuntos->text(), QStringLiteral("0"));
  const int edges = form->Doc.CurrentPT.HalfEdgeCount();

  Generate();
  ASSERT_TRUE(messages.Messages.empty()) << messages.Messages[0].toStdString();
  const TNube& points = form->Doc.Points;
  ASSERT_EQ(points.size(), 50u);
  double sx = 0, sy = 0, sxx = 0, syy = 0;
  std::set<std::pair<int, int>> distinct;
  for (const TPoint& p : points) {
    EXPECT_TRUE(p.X >= 0 && p.X <= 999 && p.Y >= 0 && p.Y <= 599) << p.X << "," << p.Y;
    sx += p.X, sy += p.Y, sxx += double(p.X) * p.X, syy += double(p.Y) * p.Y;
    distinct.insert({p.X, p.Y});
    EXPECT_TRUE(Is(form->Pizarra->Surface(), p.X, p.Y, QColor(255, 0, 0)));
  }
  EXPECT_EQ(distinct.size(), 50u);
  // Mean near (500, 300) and spread near the deviation 100 (four standard errors).
  EXPECT_NEAR(sx / 50, 500, 60);
  EXPECT_NEAR(sy / 50, 300, 60);
  EXPECT_NEAR(std::sqrt(sxx / 50 - (sx / 50) * (sx / 50)), 100, 45);
  EXPECT_NEAR(std::sqrt(syy / 50 - (sy / 50) * (sy / 50)), 100, 45);
  // Sorted along the sweep direction (angle 0): ascending x, ties larger y first.
  for (size_t i = 0; i + 1 < points.size(); ++i) {
    EXPECT_TRUE(points[i].X < points[i + 1].X ||
                (points[i].X == points[i + 1].X && points[i].Y > points[i + 1].Y));
  }
  EXPECT_EQ(form->StatusText(1), QStringLiteral("POINTS: 50"));
  EXPECT_EQ(form->StatusText(0), QStringLiteral("PLACE POINTS IN THE CANVAS"));
  for (QLabel* l :
       {form->LPeso, form->LGradoV, form->LGradoC, form->LPuntos, form->LNumCaras, form->LNumT}) {
    EXPECT_EQ(l->text(), QStringLiteral("0"));
  }
  EXPECT_FALSE(form->Doc.PolygonClosed);
  EXPECT_EQ(form->Doc.PolygonLength, 0);
  EXPECT_FALSE(form->Doc.ResultShown);
  // Nothing executed: the method and the last result stay; the canvas shows only points.
  EXPECT_EQ(form->Doc.SelectedMethod, TMethod::SweepLine);
  EXPECT_EQ(form->Doc.CurrentPT.HalfEdgeCount(), edges);

  // "Play" executes the selected method on the new points.
  QTest::mouseClick(form->BotonPlay, Qt::LeftButton);
  EXPECT_TRUE(form->Doc.ResultShown);
  EXPECT_EQ(form->LPuntos->text(), QStringLiteral("50"));
}

TEST_F(RandomPanel, UniformPointsLeaveTenPixelsOnTheFarSides) {
  form->DUniforme->trigger();
  form->SpinPuntos->SetText(QStringLiteral("999"));
  form->SpinPuntos->stepBy(1);  // up to 1000
  Generate();
  const TNube& points = form->Doc.Points;
  ASSERT_EQ(points.size(), 1000u);
  std::set<std::pair<int, int>> distinct;
  int maxX = 0, maxY = 0;
  for (const TPoint& p : points) {
    EXPECT_TRUE(p.X >= 0 && p.X <= 989 && p.Y >= 0 && p.Y <= 589) << p.X << "," << p.Y;
    maxX = std::max(maxX, p.X), maxY = std::max(maxY, p.Y);
    distinct.insert({p.X, p.Y});
  }
  EXPECT_EQ(distinct.size(), 1000u);
  // Spread over the whole range, not clustered.
  EXPECT_GT(maxX, 950);
  EXPECT_GT(maxY, 550);
  EXPECT_EQ(form->StatusText(1), QStringLiteral("POINTS: 1000"));
}

TEST_F(RandomPanel, EmptyFieldsFallBackAndTheSequenceContinuesAcrossGenerations) {
  form->SpinPuntos->SetText(QString());
  form->SpinDesv->SetText(QString());
  Generate();
  const TNube first = form->Doc.Points;
  Generate();
  const TNube second = form->Doc.Points;
  // The same two generations from one generator seeded alike: 50 points, deviation 100.
  TRandom random(kSeed);
  EXPECT_EQ(first, Sorted(GenerateNormal(random, 50, 100, 1000, 600)));
  EXPECT_EQ(second, Sorted(GenerateNormal(random, 50, 100, 1000, 600)));
  EXPECT_NE(first, second);
  EXPECT_EQ(form->RandomSource.State(), random.State());
}

TEST_F(RandomPanel, RefusalsSayWhyAndLeaveThePointsAlone) {
  form->Doc.Points = {{100, 300}, {200, 100}, {300, 350}};
  const TNube before = form->Doc.Points;
  form->SpinPuntos->SetText(QStringLiteral("0"));
  Generate();
  form->SpinPuntos->SetText(QStringLiteral("-5"));
  Generate();
  // A deviation of 1 reaches a 13 x 13 square around the centre: no room for 999 points.
  form->SpinPuntos->SetText(QStringLiteral("999"));
  form->SpinDesv->SetText(QStringLiteral("1"));
  Generate();
  ASSERT_EQ(messages.Messages.size(), 3u);
  EXPECT_EQ(messages.Messages[0], QStringLiteral("The number of points must be at least 1."));
  EXPECT_EQ(messages.Messages[1], QStringLiteral("The number of points must be at least 1."));
  EXPECT_EQ(messages.Messages[2],
            QStringLiteral("The deviation is too small for this many points."));
  EXPECT_EQ(form->Doc.Points, before);
}

}  // namespace
}  // namespace qv
