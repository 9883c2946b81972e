// The triangulate-and-remove method run from the main window: its four variants, a result that
// follows the edits, the statistics switch and a refusal.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>

#include "VentanaPrueba.h"
#include "methods/Verificador.h"

namespace qv {
namespace {

using test::Is;
using test::SegmentDrawn;

class RemoveWindow : public test::Ventana {
 protected:
  // A hexagon around three inner points: the Delaunay triangulation has a removable edge.
  const TNube nine{TPoint{100, 300}, TPoint{250, 120}, TPoint{450, 110},
                   TPoint{600, 300}, TPoint{460, 480}, TPoint{240, 470},
                   TPoint{330, 280}, TPoint{420, 330}, TPoint{300, 420}};
};

TEST_F(RemoveWindow, EachVariantRunsEndToEndAndKeepsItsSelectionText) {
  ClickAll(nine);
  const struct {
    QAction* item;
    const char* text;
    bool triangulation;
  } variants[] = {{form->RBarrido, "SWEEP LINE TRIANGULATION", true},
                  {form->RDelaunay, "DELAUNAY TRIANGULATION", true},
                  {form->RRemoverA, "TRIANGULATE FIRST, THEN REMOVE EDGES", false},
                  {form->RRemoverT, "TRIANGULATE FIRST, THEN REMOVE EDGES AND TRIANGLES", false}};
  for (const auto& v : variants) {
    v.item->trigger();
    form->tbEjecutar->trigger();
    ASSERT_TRUE(messages.Messages.empty()) << messages.Messages[0].toStdString();
    EXPECT_TRUE(form->Doc.ResultShown);
    EXPECT_EQ(form->Doc.SelectedMethod, TMethod::TriangulateRemove);
    EXPECT_EQ(form->StatusText(0), QString::fromLatin1(v.text));
    const TCheckReport report = CheckSubdivision(form->Doc.Points, form->Doc.CurrentPT);
    EXPECT_TRUE(report.Valid) << v.text << ": " << report.Reason;
    if (v.triangulation) {
      EXPECT_EQ(report.Triangles, report.Faces) << v.text;
      EXPECT_EQ(report.Faces, 10) << v.text;  // 2n - h - 2 with 6 hull points
    } else {
      // A triangulation of 9 points with 6 on the hull has 18 edges; some went.
      EXPECT_LT(EdgeList(form->Doc.CurrentPT).size(), 18u) << v.text;
    }
    EXPECT_EQ(form->LPuntos->text(), QStringLiteral("9")) << v.text;
    EXPECT_EQ(form->LNumCaras->text(), QString::number(report.Faces)) << v.text;
    EXPECT_EQ(form->LNumT->text(), QString::number(report.Triangles)) << v.text;
    EXPECT_TRUE(ResultDrawn()) << v.text;
    for (const TPoint& p : form->Doc.Points)
      EXPECT_TRUE(Is(form->Pizarra->Surface(), p.X, p.Y, Qt::red));
  }
}

TEST_F(RemoveWindow, AShownResultFollowsEveryNewPoint) {
  ClickAll({nine[0], nine[1], nine[2]});
  form->RRemoverT->trigger();
  form->tbEjecutar->trigger();
  ASSERT_TRUE(form->Doc.ResultShown);
  for (size_t i = 3; i < nine.size(); ++i) {
    ClickAll({nine[i]});
    EXPECT_EQ(form->Doc.CurrentPT.VertexCount(), static_cast<int>(i) + 1);
    const TCheckReport report = CheckSubdivision(form->Doc.Points, form->Doc.CurrentPT);
    EXPECT_TRUE(report.Valid) << i << ": " << report.Reason;
    EXPECT_TRUE(ResultDrawn());
  }
  EXPECT_TRUE(messages.Messages.empty());
}

TEST_F(RemoveWindow, MovedPointsAreCountedAfterTheVariantTextUntilARunMovesNone) {
  // The first three lie on one line: the first moves one pixel left.
  ClickAll({TPoint{100, 100}, TPoint{200, 200}, TPoint{300, 300}, TPoint{400, 150}});
  form->RDelaunay->trigger();
  form->tbEjecutar->trigger();
  EXPECT_EQ(form->StatusText(0), QStringLiteral("DELAUNAY TRIANGULATION (1 POINT MOVED)"));
  ClickAll({TPoint{250, 400}});  // the moved point stays where it went; nothing moves now
  EXPECT_EQ(form->StatusText(0), QStringLiteral("DELAUNAY TRIANGULATION"));
}

TEST_F(RemoveWindow, DisabledStatisticsLeaveThePanelAndStatusAlone) {
  form->StatDisabled->trigger();
  ClickAll(nine);
  form->RDelaunay->trigger();
  form->tbEjecutar->trigger();
  EXPECT_TRUE(form->Doc.ResultShown);
  EXPECT_TRUE(ResultDrawn());
  EXPECT_EQ(form->StatusText(0), QStringLiteral("DELAUNAY TRIANGULATION"));
  EXPECT_EQ(form->LPuntos->text(), QStringLiteral("0"));
  EXPECT_EQ(form->LNumCaras->text(), QStringLiteral("0"));
}

TEST_F(RemoveWindow, PointsOnOneLineAreRefusedAndStayWhereTheyWere) {
  ClickAll({TPoint{300, 200}, TPoint{100, 200}, TPoint{200, 200}});
  form->RRemoverA->trigger();
  form->tbEjecutar->trigger();
  ASSERT_EQ(messages.Messages.size(), 1u);
  EXPECT_EQ(messages.Messages[0], QStringLiteral("At least 3 non-collinear points are needed."));
  EXPECT_FALSE(form->Doc.ResultShown);
  EXPECT_EQ(form->Doc.Points, (TNube{TPoint{100, 200}, TPoint{200, 200}, TPoint{300, 200}}));
  EXPECT_EQ(form->LPuntos->text(), QStringLiteral("0"));
}

}  // namespace
}  // namespace qv
