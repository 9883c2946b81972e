// Canvas editing on the real window through QTest mouse and key events: moving and removing
// points, both ways of defining a polygon with their refusals, the hover highlight and the keys.
#include <gtest/gtest.h>

#include <QSpinBox>
#include <algorithm>

#include "Pixeles.h"
#include "VentanaPrueba.h"

namespace qv {
namespace {

using test::Is;
using test::SegmentDrawn;

const QColor kLime(0, 255, 0);
const char* const kNotSimple = "Polygon must be simple. No crossing edges allowed.";

class Editing : public test::Ventana {
 protected:
  // Every edge of the current result is drawn in black.
  bool ResultDrawn() {
    const QImage img = Canvas();
    const TDCEL& pt = form->Doc.CurrentPT;
    for (int e = 0; e < pt.HalfEdgeCount(); ++e) {
      const TPoint a = form->Doc.Points[pt.Origin(e)], b = form->Doc.Points[pt.Destination(e)];
      const QPoint p(a.X + (b.X - a.X) / 4, a.Y + (b.Y - a.Y) / 4);
      const QPoint q(a.X + 3 * (b.X - a.X) / 4, a.Y + 3 * (b.Y - a.Y) / 4);
      if (!SegmentDrawn(img, p, q, Qt::black)) return false;
    }
    return pt.HalfEdgeCount() > 0;
  }
  int Count(TPoint p) const {
    return static_cast<int>(std::count(form->Doc.Points.begin(), form->Doc.Points.end(), p));
  }
  const TNube square{{100, 100}, {300, 100}, {300, 300}, {100, 300}};
};

TEST_F(Editing, MovingGrabsWithinThreePixelsLowestIndexFirst) {
  ClickAll({{100, 100}, {300, 300}, {302, 301}});
  form->tbMover->trigger();
  for (QPoint miss : {QPoint(104, 100), QPoint(100, 96), QPoint(96, 104)}) {
    Press(miss.x(), miss.y());
    EXPECT_EQ(form->Doc.DraggedPoint, kNone) << miss.x() << "," << miss.y();
    Release(miss.x(), miss.y());
  }
  Press(301, 301);  // both are within 3: the lower index wins
  EXPECT_EQ(form->Doc.DraggedPoint, 1);
  Release(301, 301);
  EXPECT_EQ(form->Doc.DraggedPoint, kNone);

  Press(103, 97);
  EXPECT_EQ(form->Doc.DraggedPoint, 0);
  MoveTo(150, 160);
  EXPECT_EQ(form->Doc.Points[0], (TPoint{150, 160}));
  EXPECT_TRUE(Is(Canvas(), 150, 160, Qt::red));
  EXPECT_TRUE(Is(Canvas(), 100, 100, Qt::white));
  MoveTo(300, 300);  // onto another point's pixel: allowed
  Release(300, 300);
  EXPECT_EQ(form->Doc.Points, (TNube{{300, 300}, {300, 300}, {302, 301}}));
  MoveTo(400, 400);  // no button held: nothing moves
  EXPECT_EQ(Count({300, 300}), 2);
  EXPECT_TRUE(Shown().empty());
}

TEST_F(Editing, ADragFollowedByTheResultKeepsHoldingThePointThroughTheSort) {
  ClickAll({{100, 300}, {200, 100}, {300, 350}, {420, 220}, {520, 320}});
  form->tbEjecutar->trigger();
  form->tbMover->trigger();
  Press(101, 299);  // the leftmost point, first in sweep order
  ASSERT_EQ(form->Doc.DraggedPoint, 0);
  for (QPoint to : {QPoint(600, 250), QPoint(610, 180), QPoint(50, 50)}) {
    MoveTo(to.x(), to.y());
    ASSERT_NE(form->Doc.DraggedPoint, kNone);
    EXPECT_EQ(form->Doc.Points[form->Doc.DraggedPoint], (TPoint{to.x(), to.y()}));
    EXPECT_EQ(form->Doc.CurrentPT.VertexCount(), 5);
    EXPECT_TRUE(ResultDrawn());
  }
  EXPECT_EQ(form->Doc.Points.front(), (TPoint{50, 50}));  // sorted first again
  for (TPoint p : {TPoint{200, 100}, TPoint{300, 350}, TPoint{420, 220}, TPoint{520, 320}}) {
    EXPECT_EQ(Count(p), 1);
  }
  // Onto another point: refused without a message while held, the points still drawn; the
  // result comes back at the next position the method accepts.
  const QString done = form->StatusText(0);
  MoveTo(200, 100);
  EXPECT_TRUE(Shown().empty());
  EXPECT_EQ(form->StatusText(0), QStringLiteral("No coincident points allowed."));
  for (TPoint p : {TPoint{200, 100}, TPoint{300, 350}, TPoint{520, 320}})
    EXPECT_TRUE(Is(Canvas(), p.X, p.Y, Qt::red));
  MoveTo(50, 50);
  EXPECT_TRUE(ResultDrawn());
  EXPECT_EQ(form->StatusText(0), done);
  MoveTo(420, 220);
  Release(420, 220);  // let go there: now the refusal is told
  EXPECT_EQ(Shown(), One("No coincident points allowed."));
  EXPECT_FALSE(form->Doc.ResultShown);
  // The drag is one step all the same, taken back whole.
  EXPECT_EQ(form->EDeshacer->text(), QStringLiteral("Undo Move Point"));
  form->EDeshacer->trigger();
  EXPECT_EQ(Count(TPoint{420, 220}), 1);
  EXPECT_EQ(Count(TPoint{100, 300}), 1);
}

TEST_F(Editing, RemovingTakesTheLowestIndexHitAndRerunsAShownResult) {
  ClickAll({{100, 100}, {102, 102}, {300, 300}, {400, 100}});
  form->tbBorrar->trigger();
  Click(104, 104);  // 4 from the first, 2 from the second
  EXPECT_EQ(form->Doc.Points, (TNube{{100, 100}, {300, 300}, {400, 100}}));
  EXPECT_EQ(form->StatusText(1), QStringLiteral("POINTS: 3"));
  EXPECT_EQ(form->Doc.DraggedPoint, kNone);
  Click(96, 96);  // 4 pixels off: out of reach
  EXPECT_EQ(form->Doc.PointCount(), 3);
  EXPECT_TRUE(Is(Canvas(), 300, 300, Qt::red));

  form->tbPunto->trigger();
  ClickAll({{200, 400}, {500, 250}});
  form->tbEjecutar->trigger();
  form->tbBorrar->trigger();
  Click(498, 252);
  EXPECT_EQ(form->Doc.PointCount(), 4);
  EXPECT_EQ(form->Doc.CurrentPT.VertexCount(), 4);
  EXPECT_TRUE(ResultDrawn());
  EXPECT_TRUE(Is(Canvas(), 500, 250, Qt::white));
  Click(400, 100);
  Click(200, 400);  // two left: the re-run refuses after the point is gone
  EXPECT_EQ(Shown(), One("At least 3 points are needed."));
  EXPECT_EQ(form->Doc.PointCount(), 2);
  EXPECT_EQ(form->Doc.SelectedMethod, TMethod::NoMethod);
}

TEST_F(Editing, DrawingAPolygonPointByPointWithEveryRefusal) {
  form->tbUnir->trigger();
  ASSERT_EQ(form->Doc.EditMode, TEditMode::DrawPolygon);
  ClickAll({{100, 100}, {300, 100}});
  Click(5, 5, Qt::RightButton);
  EXPECT_EQ(Shown(), One("At least 3 points needed to define polygon."));
  Click(300, 100);
  EXPECT_EQ(Shown(), One("No coincident points allowed."));
  Click(100, 300);
  EXPECT_TRUE(SegmentDrawn(Canvas(), {290, 110}, {110, 290}, Qt::black));
  Click(250, 20);  // its edge would cross the first one
  EXPECT_EQ(Shown(), One(kNotSimple));
  Click(300, 300);  // a Z: fine until it is closed
  EXPECT_EQ(form->StatusText(1), QStringLiteral("POINTS: 4"));
  Click(5, 5, Qt::RightButton);
  EXPECT_EQ(Shown(), One("Can't close polygon. No crossing edges allowed."));
  EXPECT_FALSE(form->Doc.PolygonClosed);

  Key(Qt::Key_Z);  // the Z loses its last stroke; the triangle closes
  EXPECT_EQ(form->Doc.Points, (TNube{{100, 100}, {300, 100}, {100, 300}}));
  EXPECT_EQ(form->StatusText(1), QStringLiteral("POINTS: 3"));
  Click(5, 5, Qt::RightButton);
  EXPECT_TRUE(form->Doc.PolygonClosed);
  EXPECT_TRUE(form->Doc.ResultShown);
  EXPECT_TRUE(SegmentDrawn(Canvas(), {100, 280}, {100, 120}, Qt::black));
  Click(200, 200);
  EXPECT_EQ(Shown(), One("Polygon already closed. No further point insertion allowed."));
  EXPECT_EQ(form->Doc.CurrentPT.HalfEdgeCount(), 0);  // no method ran

  Key(Qt::Key_Z);  // the closing taken back
  EXPECT_FALSE(form->Doc.PolygonClosed);
  EXPECT_EQ(form->Doc.PointCount(), 3);
  EXPECT_FALSE(SegmentDrawn(Canvas(), {100, 280}, {100, 120}, Qt::black));
  Key(Qt::Key_Z);
  Key(Qt::Key_Z);  // then the vertices, last first
  EXPECT_EQ(form->Doc.Points, (TNube{{100, 100}}));
  EXPECT_TRUE(Shown().empty());
}

TEST_F(Editing, ChainingExistingPointsWithEveryRefusal) {
  ClickAll(square);
  form->tbUnir->trigger();
  ASSERT_EQ(form->Doc.EditMode, TEditMode::ChainPolygon);
  Click(106, 100);  // 6 pixels: out of reach
  Click(100, 106);
  EXPECT_EQ(form->Doc.PolygonLength, 0);
  Click(105, 105);
  EXPECT_EQ(form->Doc.PolygonLength, 1);
  Click(100, 100);
  EXPECT_EQ(Shown(), One("All points must be used."));
  Click(305, 95);
  EXPECT_EQ(form->Doc.PolygonLength, 2);
  EXPECT_TRUE(SegmentDrawn(Canvas(), {110, 100}, {290, 100}, Qt::black));
  Click(100, 100);
  EXPECT_EQ(Shown(), One("All points must be used."));
  Click(300, 100);
  EXPECT_EQ(Shown(), One(kNotSimple));

  // Chaining across the square: the clicked point moves to the next index.
  Click(100, 300);
  Click(300, 300);
  EXPECT_EQ(form->Doc.Points, (TNube{{100, 100}, {300, 100}, {100, 300}, {300, 300}}));
  Click(100, 100);  // the closing edge would cross the diagonal
  EXPECT_EQ(Shown(), One(kNotSimple));
  EXPECT_FALSE(form->Doc.PolygonClosed);

  Key(Qt::Key_Z);
  Key(Qt::Key_Z);  // unchained where they stand
  EXPECT_EQ(form->Doc.PolygonLength, 2);
  ClickAll({{300, 300}, {100, 300}, {100, 100}});
  EXPECT_EQ(form->Doc.Points, square);
  EXPECT_TRUE(form->Doc.PolygonClosed);
  EXPECT_EQ(form->Doc.PolygonLength, 5);
  EXPECT_TRUE(SegmentDrawn(Canvas(), {100, 280}, {100, 120}, Qt::black));
  Click(300, 300);  // closed: clicks do nothing
  EXPECT_EQ(form->Doc.PolygonLength, 5);

  Key(Qt::Key_Z);  // reopens with every point chained; point 0 closes it again
  EXPECT_FALSE(form->Doc.PolygonClosed);
  EXPECT_EQ(form->Doc.PolygonLength, 4);
  Click(100, 100);
  EXPECT_TRUE(form->Doc.PolygonClosed);
  EXPECT_EQ(form->Doc.CurrentPT.HalfEdgeCount(), 0);
  EXPECT_TRUE(Shown().empty());
}

TEST_F(Editing, ChainingTakesTheLowestIndexAndHoverHighlightsUnchainedPoints) {
  ClickAll({{100, 100}, {200, 200}, {204, 200}});
  form->tbUnir->trigger();
  Click(203, 200);  // within 5 of both: the lower index
  EXPECT_EQ(form->Doc.Points[0], (TPoint{200, 200}));
  EXPECT_EQ(form->Doc.PolygonLength, 1);

  MoveTo(104, 95);  // hovering an unchained point
  EXPECT_EQ(form->Doc.DraggedPoint, 1);
  EXPECT_EQ(form->Doc.Points[1], (TPoint{100, 100}));
  EXPECT_TRUE(Is(Canvas(), 100, 100, kLime));
  MoveTo(150, 150);  // left: red again
  EXPECT_EQ(form->Doc.DraggedPoint, kNone);
  EXPECT_TRUE(Is(Canvas(), 100, 100, Qt::red));
  MoveTo(197, 203);  // a chained point stays highlighted
  MoveTo(150, 150);
  EXPECT_EQ(form->Doc.DraggedPoint, 0);
  EXPECT_TRUE(Is(Canvas(), 198, 200, kLime));
  EXPECT_EQ(form->StatusText(3), QStringLiteral("150"));
}

TEST_F(Editing, CtrlZActsOnlyWithCtrlAloneAndBeforeAFocusedField) {
  form->tbUnir->trigger();
  ClickAll({{100, 100}, {300, 100}, {200, 300}});
  for (Qt::KeyboardModifiers other :
       {Qt::ControlModifier | Qt::ShiftModifier, Qt::ControlModifier | Qt::AltModifier,
        Qt::KeyboardModifiers(Qt::NoModifier)}) {
    Key(Qt::Key_Z, other);
    Key(Qt::Key_N, other);
    EXPECT_EQ(form->Doc.PointCount(), 3);
  }
  // The angle field would take Ctrl+Z as its own undo; the window sees it first.
  form->tbBrujula->trigger();
  form->SpinAngulo->setFocus();
  QTest::keyClicks(form->SpinAngulo, QStringLiteral("5"));
  const QString angle = form->SpinAngulo->text();
  QTest::keyClick(form->SpinAngulo, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(form->Doc.PointCount(), 2);
  EXPECT_EQ(form->SpinAngulo->text(), angle);

  // In the chaining mode the same keys unchain, and only Ctrl alone.
  Key(Qt::Key_N);
  form->tbPunto->trigger();
  Click(400, 400);
  form->tbUnir->trigger();
  Click(400, 400);
  Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(form->Doc.PolygonLength, 1);
  Key(Qt::Key_Z);
  EXPECT_EQ(form->Doc.PolygonLength, 0);
  Key(Qt::Key_Z);  // nothing chained: only a repaint
  EXPECT_EQ(form->Doc.PolygonLength, 0);
  EXPECT_TRUE(Is(Canvas(), 400, 400, Qt::red));

  // Ctrl+O and Ctrl+S each ask once.
  Key(Qt::Key_O);
  Key(Qt::Key_S);
  ASSERT_EQ(dialogs.Requests.size(), 2u);
  EXPECT_FALSE(dialogs.Requests[0].Save);
  EXPECT_TRUE(dialogs.Requests[1].Save);
  EXPECT_TRUE(Shown().empty());

  // Once per press from inside a field too, also when the command fails.
  Key(Qt::Key_N);
  form->tbAleatoria->trigger();
  Spit(Path("bad.pt"), "NUB\r\n1\r\n");
  for (TSpinEdit* field : {form->SpinAngulo, form->SpinPuntos}) {
    dialogs.Requests.clear();
    dialogs.Names = {Path("bad.pt"), Path("bad.pt")};
    QTest::keyClick(field, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(Shown(), One("No distribution to save."));
    QTest::keyClick(field, Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(Shown().size(), 1u);
    EXPECT_EQ(dialogs.Requests.size(), 1u);
  }
}

}  // namespace
}  // namespace qv
