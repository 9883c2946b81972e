// The Flip tool on the window: a click near an interior edge flips it (checked result, figures,
// a highlight that fades), Shift+click flips back, and results that cannot flip are refused.
#include <gtest/gtest.h>

#include <QTest>
#include <cmath>
#include <tuple>

#include "VentanaPrueba.h"
#include "methods/Capas.h"
#include "methods/Flips.h"
#include "methods/Verificador.h"

namespace qv {
namespace {

using test::Is;

class FlipWindow : public test::Ventana {
 protected:
  const TNube six{{150, 300}, {300, 120}, {520, 160}, {610, 380}, {380, 480}, {330, 290}};
  const QString kNeedPointed = QStringLiteral("Flips need a pointed pseudo-triangulation.");

  // The edges of a convex-layers result as the window keeps them.
  std::vector<TEdge> LayerEdgesShown() const {
    TNube points = form->Doc.Points;
    int dragged = kNone;
    TPTCapas layers;
    ComputeConvexLayers(points, dragged, layers);
    return LayerEdges(layers);
  }
  TEdge AnInteriorEdge(QPoint& near, double off = 2.0) const {
    return AnInteriorEdgeOf(EdgeList(form->Doc.CurrentPT), near, off);
  }
  // The first interior edge of edges, and a canvas point off its middle by the given distance
  // along its normal.
  TEdge AnInteriorEdgeOf(const std::vector<TEdge>& edges, QPoint& near, double off = 2.0) const {
    const std::vector<TEdge> inner = InteriorEdges(edges, HullEdges(form->Doc.Points));
    const TPoint a = form->Doc.Points[inner[0].A], b = form->Doc.Points[inner[0].B];
    const double len = std::hypot(b.X - a.X, b.Y - a.Y);
    near = QPoint(static_cast<int>(std::lround((a.X + b.X) / 2.0 - off * (b.Y - a.Y) / len)),
                  static_cast<int>(std::lround((a.Y + b.Y) / 2.0 + off * (b.X - a.X) / len)));
    return inner[0];
  }
};

TEST_F(FlipWindow, ClickFlipsShiftClickFlipsBackLayersFlipAndResultsNotPointedAreRefused) {
  ClickAll(six);
  Execute(form->tbBarrido);
  ExpectNoMessage();
  const std::vector<TEdge> before = EdgeList(form->Doc.CurrentPT);
  form->tbFlip->trigger();
  QPoint near;
  AnInteriorEdge(near, 6.0);
  for (QPoint p : {near, QPoint(265, 390), QPoint(5, 5)}) {  // off an edge, on the hull, away
    Click(p.x(), p.y());
    EXPECT_EQ(EdgeList(form->Doc.CurrentPT), before);
  }
  const TEdge e = AnInteriorEdge(near);
  Click(near.x(), near.y());
  const std::vector<TEdge> after = EdgeList(form->Doc.CurrentPT);
  EXPECT_FALSE(std::binary_search(after.begin(), after.end(), e));
  const TCheckReport r = CheckSubdivision(form->Doc.Points, form->Doc.CurrentPT);
  ASSERT_TRUE(r.Valid && r.Pointed()) << r.Reason;
  EXPECT_TRUE(form->StatusText(0).startsWith(QStringLiteral("FLIPS: 1")));
  // The new edge is highlighted under the points, then drawn as an inner edge again.
  std::vector<TEdge> added;
  std::set_difference(after.begin(), after.end(), before.begin(), before.end(),
                      std::back_inserter(added));
  ASSERT_EQ(added.size(), 1u);
  const TPoint a = form->Doc.Points[added[0].A], b = form->Doc.Points[added[0].B];
  EXPECT_TRUE(Is(Canvas(), (a.X + b.X) / 2, (a.Y + b.Y) / 2, QColor(255, 140, 0)) && PointsDrawn());
  QTest::qWait(900);
  EXPECT_TRUE(MiddleDrawn(Canvas(), added[0].A, added[0].B, Qt::black));
  QTest::mouseClick(form->Pizarra, Qt::LeftButton, Qt::ShiftModifier, QPoint(5, 5));
  EXPECT_EQ(EdgeList(form->Doc.CurrentPT), before);
  EXPECT_TRUE(form->StatusText(0).startsWith(QStringLiteral("FLIPS: 0")));

  // A convex-layers result flips too.
  Execute(form->tbCapas);
  form->tbFlip->trigger();
  AnInteriorEdgeOf(LayerEdgesShown(), near);
  Click(near.x(), near.y());
  const std::vector<TEdge> flipped = EdgeList(form->Doc.CurrentPT);
  EXPECT_TRUE(form->StatusText(0).startsWith(QStringLiteral("FLIPS: 1")));
  // A resize runs the method again on the same points: the flip stays.
  Resize({900, 650});
  EXPECT_EQ(EdgeList(form->Doc.CurrentPT), flipped);
  EXPECT_TRUE(form->StatusText(0).startsWith(QStringLiteral("FLIPS: 1")));
  // An edit of the points drops it, and says so.
  form->tbPunto->trigger();
  Click(330, 250);
  EXPECT_EQ(form->StatusText(0), QStringLiteral("1 FLIP DROPPED: THE POINTS CHANGED"));
  EXPECT_EQ(form->FlipsMade(), 0);
  // Results that are not pointed are refused in the status bar.
  for (QAction* method : {static_cast<QAction*>(nullptr), form->RBarrido}) {
    form->tbLimpiarClick();
    form->tbPunto->trigger();
    ClickAll(six);
    if (method) Execute(method);  // none: no result shown
    form->tbFlip->trigger();
    EXPECT_EQ(form->StatusText(0), kNeedPointed);
    const std::vector<TEdge> unchanged = EdgeList(form->Doc.CurrentPT);
    Click(330, 292);
    EXPECT_EQ(std::tuple(form->StatusText(0), EdgeList(form->Doc.CurrentPT), Shown().empty()),
              std::tuple(kNeedPointed, unchanged, true));
  }
}

}  // namespace
}  // namespace qv
