// The view between document and screen: the mapping, the canvas drawn at a device ratio of 2,
// and the window opening, fitting, zooming, panning and editing through it.
#include "app/Vista.h"

#include <gtest/gtest.h>

#include <QWheelEvent>
#include <climits>
#include <cmath>

#include "VentanaPrueba.h"
#include "app/Pizarra.h"
#include "methods/Ejecucion.h"

namespace qv {
namespace {

using test::InkBox;
using test::Is;

TEST(Vista, PointsComeBackFromTheScreenZoomKeepsTheCursorPointAndRatioTwoDrawsFiner) {
  const struct {
    TVista view;
    TPoint p;
    QPointF cursor;
    double factor;
  } rows[] = {
      {{}, {0, 0}, {0, 0}, 1.0},  // 1:1 at the origin: the screen is the document
      {{}, {517, -3}, {100, 50}, 1.25},
      {{4, -300, -200}, {123, 77}, {400, 300}, 4},
      {{0.25, 10.5, 20}, {-9999, 88888}, {0, 0}, 0.5},
      {{1.0 / 4096, 500, 300}, {1200000, -800000}, {640, 480}, 1e-9},  // out to the limit
      {{64, 0, 0}, {INT_MAX, INT_MIN}, {1, 1}, 1e9},                   // in to the limit
  };
  for (const auto& row : rows) {
    const TVista& v = row.view;
    EXPECT_EQ(v.ScreenToPoint(v.DocToScreen(QPointF(row.p.X, row.p.Y))), row.p) << row.p.X;
    TVista zoomed = v;
    const QPointF under = v.ScreenToDoc(row.cursor);
    zoomed.ZoomAt(row.cursor, row.factor);
    const QPointF after = zoomed.ScreenToDoc(row.cursor);
    const double tolerance = 1e-9 * std::max(1.0, std::abs(under.x()) + std::abs(under.y()));
    EXPECT_NEAR(after.x(), under.x(), tolerance) << row.p.X;
    EXPECT_NEAR(after.y(), under.y(), tolerance) << row.p.X;
    EXPECT_EQ(zoomed.Scale, std::clamp(v.Scale * row.factor, TVista::kMinScale, TVista::kMaxScale));
  }
  // Beyond 32 bits the document point is the nearest one there is.
  const TVista far{TVista::kMinScale, 0, 0};
  EXPECT_EQ(far.ScreenToPoint(QPointF(1e9, -1e9)), (TPoint{INT_MAX, INT_MIN}));
  // A single point is fitted at 1:1 in the middle.
  const TVista single = TVista::Fit(QRectF(QPointF(-70, 900), QPointF(-70, 900)), {400, 300}, 20);
  EXPECT_EQ(std::pair(single.Scale, single.DocToScreen(QPointF(-70, 900))),
            std::pair(1.0, QPointF(200, 150)));
  // At a device ratio of 2 the canvas is drawn at device resolution with the same geometry.
  TDocumento doc;
  doc.Points = {{20, 20}, {180, 40}, {60, 130}, {150, 120}, {100, 70}, {30, 90}};
  int dragged = kNone;
  ComputeSweepLine(doc.Points, 1.0, 0.0, dragged, doc.CurrentPT);
  doc.GridVisible = true;
  doc.SweepAngle = 30;
  const TPenStyles styles;
  TPizarra one(nullptr, 200, 150, 1.0), two(nullptr, 200, 150, 2.0);
  QImage compass;
  for (TPizarra* canvas : {&one, &two}) {
    canvas->SetView(TVista{1.5, -10, 5});
    TDrawing drawing(canvas->Canvas(), compass, doc, styles);
    DrawSubdivisionResult(drawing);
  }
  const QImage& a = one.Surface();
  const QImage& b = two.Surface();
  ASSERT_EQ(b.size(), QSize(400, 300));
  ASSERT_FALSE(InkBox(a).isEmpty());
  // Wherever the plain canvas shows one colour around a pixel, the dense one shows it over the
  // pixel's four device pixels; and some pixel's four differ: drawn finer, not enlarged.
  int differ = 0, mixed = 0;
  for (int y = 1; y + 1 < a.height(); ++y) {
    for (int x = 1; x + 1 < a.width(); ++x) {
      bool uniform = true;
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
          uniform = uniform && a.pixel(x + dx, y + dy) == a.pixel(x, y);
      const QRgb c = b.pixel(2 * x, 2 * y);
      const bool oneColour = b.pixel(2 * x + 1, 2 * y) == c && b.pixel(2 * x, 2 * y + 1) == c &&
                             b.pixel(2 * x + 1, 2 * y + 1) == c;
      if (!oneColour) ++mixed;
      if (uniform && !(oneColour && c == a.pixel(x, y))) ++differ;
    }
  }
  EXPECT_TRUE(differ == 0 && mixed > 0) << differ << " " << mixed;
}

using VistaVentana = test::Ventana;

TEST_F(VistaVentana, AFarFileOpensFittedAndTheMouseEditsThroughTheView) {
  // Within the canvas a file opens at 1:1 at the origin.
  const QString near = Path("near.pt");
  Spit(near, "NUB\n10\n10\n300\n40\n120\n200\n");
  form->OpenPointsFile(near);
  EXPECT_TRUE(form->Vista.OneToOne());
  // Far off it opens fitted: every point shows (its disc, or a neighbour's over it), inside the
  // margin.
  form->OpenExample(QStringLiteral(QUILVARON_EXAMPLES "/far_coordinates.pt"));
  ExpectNoMessage();
  const TVista fitted = form->Vista;
  ASSERT_FALSE(fitted.OneToOne());
  const int w = form->Pizarra->width(), h = form->Pizarra->height();
  auto shown = [&](const TVista& v) {
    const QImage img = Canvas();
    for (const TPoint& p : form->Doc.Points) {
      const QPointF s = v.DocToScreen(QPointF(p.X, p.Y));
      if (s.x() < TVista::kFitMargin - 1 || s.x() > w - TVista::kFitMargin + 1 ||
          s.y() < TVista::kFitMargin - 1 || s.y() > h - TVista::kFitMargin + 1 ||
          Is(img, int(std::lround(s.x())), int(std::lround(s.y())), Qt::white))
        return false;
    }
    return true;
  };
  EXPECT_TRUE(shown(fitted));
  // A click places the document point under the cursor; X and Y tell document coordinates.
  // (In the margin, away from every other point.)
  const TPoint placed = fitted.ScreenToPoint(QPointF(6, 6));
  MoveTo(6, 6);
  EXPECT_EQ(QStringList({form->StatusText(3), form->StatusText(5)}),
            QStringList({QString::number(placed.X), QString::number(placed.Y)}));
  Click(6, 6);
  ASSERT_EQ(form->Doc.Points.back(), placed);
  // Two screen pixels off is many document units, and still picks the point.
  form->tbMover->trigger();
  Press(8, 7);
  MoveTo(12, 9);
  Release(12, 9);
  EXPECT_EQ(form->Doc.Points.back(), fitted.ScreenToPoint(QPointF(12, 9)));
  // Ctrl+1: 1:1 at the origin, where nothing of these points shows; Ctrl+0 fits again.
  Key(Qt::Key_1);
  EXPECT_TRUE(form->Vista.OneToOne() && InkBox(Canvas()).isEmpty());
  Key(Qt::Key_0);
  EXPECT_TRUE(shown(form->Vista));
  // The wheel zooms around the cursor; the middle button and the arrow keys pan.
  const TVista before = form->Vista;
  QWheelEvent wheel(QPointF(200, 150), form->Pizarra->mapToGlobal(QPointF(200, 150)), {}, {0, 120},
                    Qt::NoButton, {}, Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(form->Pizarra, &wheel);
  EXPECT_DOUBLE_EQ(form->Vista.Scale, before.Scale * 1.25);
  EXPECT_EQ(form->Vista.ScreenToPoint(QPointF(200, 150)), before.ScreenToPoint(QPointF(200, 150)));
  const double x = form->Vista.X, y = form->Vista.Y;
  QTest::mousePress(form->Pizarra, Qt::MiddleButton, {}, QPoint(100, 100));
  QTest::mouseMove(form->Pizarra, QPoint(130, 90));
  QTest::mouseRelease(form->Pizarra, Qt::MiddleButton, {}, QPoint(130, 90));
  EXPECT_EQ(std::pair(form->Vista.X, form->Vista.Y), std::pair(x + 30, y - 10));
  QTest::keyClick(form->Pizarra, Qt::Key_Left, {});
  EXPECT_EQ(form->Vista.X, x + 30 + w / 10.0);
  EXPECT_EQ(form->Doc.PointCount(), 61);  // the view moved, no point did
}

}  // namespace
}  // namespace qv
