// The main window, driven through its actions and QTest mouse and key events.
#include "app/Principal.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QScreen>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <tuple>

#include "VentanaPrueba.h"

namespace qv {
namespace {

using test::InkBox;
using test::Is;

class Window : public test::Ventana {
 protected:
  const TNube five{TPoint{100, 300}, TPoint{200, 100}, TPoint{300, 350}, TPoint{420, 220},
                   TPoint{520, 320}};
};

TEST_F(Window, MethodAndToolSelectionsWriteTheirTextAndExecuteNothing) {
  // The submenus show checked the variants that a first run uses.
  EXPECT_TRUE(form->RRemoverT->isChecked() && form->IBoundedF->isChecked());
  using M = TMethod;
  const auto place = TEditMode::PlacePoints, polygon = TEditMode::DrawPolygon;
  const std::tuple<QAction*, TMethod, TEditMode, const char*> rows[] = {
      {form->tbIncremental, M::Incremental, place,
       "INCREMENTAL (BOUNDED FACE DEGREE) method selected"},
      {form->tbMover, M::Incremental, TEditMode::MovePoints, "MOVE POINTS AROUND THE CANVAS"},
      {form->tbBorrar, M::Incremental, TEditMode::RemovePoints, "REMOVE POINTS FROM THE CANVAS"},
      {form->tbCaminos, M::ShortestPaths, polygon, "SHORTEST PATH method selected"},
      // Polygon definition belongs to shortest paths; another method leaves it.
      {form->tbUnir, M::ShortestPaths, polygon,
       "DEFINE POLYGON (click right button to close, ctrl+Z to delete last edge)"},
      {form->tbBarrido, M::SweepLine, place, "SWEEPLINE method selected"},
  };
  for (const auto& [action, method, mode, text] : rows) {
    action->trigger();
    EXPECT_EQ(std::tuple(form->StatusText(0), form->Doc.SelectedMethod, form->Doc.EditMode),
              std::tuple(QString::fromLatin1(text), method, mode));
  }
  EXPECT_TRUE(form->ABarrido->isChecked());  // the Methods menu follows the toolbar
  // One-shot commands do not stay pressed.
  for (QAction* command : {form->tbCargar, form->tbGuardar, form->tbCargarFondo,
                           form->tbGuardarFondo, form->tbEjecutar, form->tbLimpiar})
    EXPECT_FALSE(command->isCheckable()) << command->objectName().toStdString();
  EXPECT_FALSE(form->Doc.ResultShown);
}

TEST_F(Window, PlacingPointsByMouseRefusesCoincidentOnesAndFollowsAShownResult) {
  Click(100, 100);
  EXPECT_EQ(InkBox(Canvas()), QRect(QPoint(97, 97), QPoint(102, 102)));
  // And on the screen, once the window has repainted.
  QCoreApplication::processEvents();
  const QPoint at = form->Pizarra->mapTo(form.get(), QPoint(100, 100));
  EXPECT_TRUE(Is(form->screen()->grabWindow(form->winId()).toImage(), at.x(), at.y(), Qt::red));
  Click(100, 100);
  EXPECT_EQ(Shown(), One("No coincident points allowed."));
  EXPECT_EQ(form->Doc.PointCount(), 1);
  // A selected method with no result shown is not executed by an edit.
  form->tbBarrido->trigger();
  Click(300, 40);
  Click(200, 250);
  EXPECT_EQ(form->Doc.CurrentPT.HalfEdgeCount(), 0);
  form->tbEjecutar->trigger();
  // Once a result is shown, each new point runs the method again.
  Click(400, 180);
  EXPECT_EQ(std::pair(form->Doc.CurrentPT.VertexCount(), ResultDrawn()), std::pair(4, true));
}

// cos 5 / sin 5 from the cosine and sine rounded to 10 decimal places.
double Cot5Rounded() {
  const double a = 5 * std::acos(-1.0) / 180;
  return std::round(std::cos(a) * 1e10) / std::round(std::sin(a) * 1e10);
}

TEST_F(Window, AngleChangesSetTheDirectionAndRecomputeAShownResult) {
  const struct {
    const char* text;
    int angle;
    double x, y;
  } rows[] = {{"-90", 270, 0.0, 1.0},
              {"725", 5, Cot5Rounded(), -1.0},
              {"", 0, 1.0, 0.0},
              {"30", 30, std::sqrt(3.0), -1.0}};
  for (const auto& r : rows) {
    form->SpinAngulo->SetText(QString::fromLatin1(r.text));
    EXPECT_EQ(form->Doc.SweepAngle, r.angle) << r.text;
    EXPECT_NEAR(form->Doc.SweepDirX, r.x, 1e-9) << r.text;
    EXPECT_EQ(form->Doc.SweepDirY, r.y) << r.text;
  }
  EXPECT_TRUE(Is(form->CompassImage, 23, 11, Qt::black));  // dart up and to the right
  ClickAll(five);
  form->tbEjecutar->trigger();
  form->SpinAngulo->SetText(QStringLiteral("90"));
  // Recomputed along the new direction (0, -1): from the bottom of the canvas upwards.
  EXPECT_TRUE(std::is_sorted(form->Doc.Points.begin(), form->Doc.Points.end(),
                             [](TPoint a, TPoint b) { return a.Y > b.Y; }));
  EXPECT_EQ(std::tuple(ResultDrawn(), Is(form->CompassImage, 15, 6, Qt::black), Shown().empty()),
            std::tuple(true, true, true));
}

TEST_F(Window, ResizeGridRedrawAndNewEachKeepOrDropWhatTheyShould) {
  ClickAll(five);
  Resize({900, 640});
  EXPECT_EQ(form->Pizarra->Surface().size(), form->ClientArea->size());
  EXPECT_TRUE(InkBox(Canvas()).isNull());  // points come back only at the next drawing
  form->tbRejilla->trigger();
  EXPECT_TRUE(Is(Canvas(), 10, 200, QColor(192, 192, 192)) &&
              Is(Canvas(), five[0].X, five[0].Y, Qt::red));
  form->tbRejilla->trigger();
  EXPECT_TRUE(Is(Canvas(), 10, 200, Qt::white) && Is(Canvas(), five[0].X, five[0].Y, Qt::red));
  form->tbEjecutar->trigger();
  form->IBoundedV->trigger();
  form->PonEstado(0, QString());
  form->tbRejilla->trigger();  // Redraw: the method just selected runs
  EXPECT_TRUE(Shown().empty());
  EXPECT_EQ(form->StatusText(0),
            QStringLiteral("PSEUDOTRIANGULATION GENERATED BY INCREMENTAL METHOD (VERTEX)"));
  Resize({1100, 720});  // a shown result is computed again for the new size
  EXPECT_EQ(form->Pizarra->Surface().size(), form->ClientArea->size());
  EXPECT_TRUE(ResultDrawn());
  // New keeps the method, with the grid shown, but not the points nor the result.
  ASSERT_TRUE(form->Doc.GridVisible);
  Key(Qt::Key_N);
  EXPECT_EQ(std::tuple(form->Doc.Points.empty(), form->Doc.SelectedMethod, form->Doc.ResultShown,
                       form->Doc.GridVisible, form->LPuntos->text(), form->StatusText(0),
                       InkBox(Canvas()).isNull()),
            std::tuple(true, TMethod::Incremental, false, false, QStringLiteral("0"),
                       QStringLiteral("PLACE POINTS IN THE CANVAS"), true));
}

TEST_F(Window, DisabledStatisticsStayHiddenAndTheRandomPanelTogglesAboveTheStatusBar) {
  form->tbStat->trigger();
  form->StatDisabled->trigger();
  EXPECT_TRUE(form->PanelStat->isHidden());
  form->tbStat->trigger();
  EXPECT_EQ(Shown(), One("Stats are disabled."));
  EXPECT_TRUE(form->PanelStat->isHidden());
  form->tbAleatoria->trigger();
  EXPECT_FALSE(form->PanelAlea->isHidden());
  // Above the status bar, whole inside the canvas area, also after a resize.
  for (QSize size : {QSize(1000, 700), QSize(700, 500)}) {
    Resize(size);
    EXPECT_TRUE(form->ClientArea->rect().contains(form->PanelAlea->geometry()));
  }
  form->tbAleatoria->trigger();
  EXPECT_TRUE(form->PanelAlea->isHidden());
}

}  // namespace
}  // namespace qv
