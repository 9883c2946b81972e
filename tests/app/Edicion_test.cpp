// Canvas editing on the real window through QTest mouse and key events: moving and removing
// points, both ways of defining a polygon with their refusals.
#include <gtest/gtest.h>

#include <algorithm>
#include <ranges>
#include <tuple>

#include "Pixeles.h"
#include "VentanaPrueba.h"

namespace qv {
namespace {

using test::Is;
using test::SegmentDrawn;

const char* const kNotSimple = "Polygon must be simple. No crossing edges allowed.";
const char* const kCoincident = "No coincident points allowed.";
const char* const kAllUsed = "All points must be used.";

class Editing : public test::Ventana {
 protected:
  bool Holds(TNube points) const {  // exactly these points, in any order
    return std::ranges::is_permutation(points, form->Doc.Points);
  }
  // Clicks each row's point (the right button at a negative x) and checks what it told.
  void ClickRows(const std::vector<std::tuple<TPoint, int, const char*>>& rows) {
    for (const auto& [at, value, message] : rows) {
      Click(std::abs(at.X), at.Y, at.X < 0 ? Qt::RightButton : Qt::LeftButton);
      const int count = form->Doc.EditMode == TEditMode::DrawPolygon ? form->Doc.PointCount()
                                                                     : form->Doc.PolygonLength;
      EXPECT_EQ(std::pair(Shown(), count),
                std::pair(message ? One(message) : std::vector<QString>{}, value))
          << at.X << "," << at.Y;
    }
  }
};

TEST_F(Editing, MovingGrabsWithinThreePixelsLowestIndexFirst) {
  ClickAll({{100, 100}, {300, 300}, {302, 301}});
  form->tbMover->trigger();
  for (auto [x, y, grabbed] : {std::tuple(104, 100, kNone), std::tuple(100, 96, kNone),
                               std::tuple(96, 104, kNone), std::tuple(301, 301, 1)}) {
    Press(x, y);  // at 301,301 both are within 3: the lower index wins
    EXPECT_EQ(form->Doc.DraggedPoint, grabbed) << x << "," << y;
    Release(x, y);
    EXPECT_EQ(form->Doc.DraggedPoint, kNone);
  }
  Press(103, 97);
  MoveTo(150, 160);
  EXPECT_EQ(std::tuple(form->Doc.Points[0], Is(Canvas(), 150, 160, Qt::red),
                       Is(Canvas(), 100, 100, Qt::white)),
            std::tuple(TPoint{150, 160}, true, true));
  MoveTo(300, 300);  // onto another point's pixel: allowed
  Release(300, 300);
  MoveTo(400, 400);  // no button held: nothing moves
  EXPECT_EQ(form->Doc.Points, (TNube{{300, 300}, {300, 300}, {302, 301}}));
}

TEST_F(Editing, ADragFollowedByTheResultKeepsHoldingThePointThroughTheSort) {
  const TNube start{{100, 300}, {200, 100}, {300, 350}, {420, 220}, {520, 320}};
  ClickAll(start);
  form->tbEjecutar->trigger();
  form->tbMover->trigger();
  Press(101, 299);  // the leftmost point, first in sweep order
  for (TPoint to : {TPoint{600, 250}, TPoint{610, 180}, TPoint{50, 50}}) {
    MoveTo(to.X, to.Y);
    ASSERT_NE(form->Doc.DraggedPoint, kNone);
    EXPECT_EQ(form->Doc.Points[form->Doc.DraggedPoint], to);
    EXPECT_EQ(form->Doc.CurrentPT.VertexCount(), 5);
    EXPECT_TRUE(ResultDrawn());
  }
  EXPECT_EQ(form->Doc.Points.front(), (TPoint{50, 50}));  // sorted first again
  EXPECT_TRUE(Holds({{50, 50}, {200, 100}, {300, 350}, {420, 220}, {520, 320}}));
  // Onto another point: refused without a message while held, the points still drawn; the
  // result comes back at the next position the method accepts.
  const QString done = form->StatusText(0);
  MoveTo(200, 100);
  EXPECT_TRUE(Shown().empty());
  EXPECT_EQ(form->StatusText(0), QString::fromLatin1(kCoincident));
  for (TPoint p : start | std::views::drop(1)) EXPECT_TRUE(Is(Canvas(), p.X, p.Y, Qt::red));
  MoveTo(50, 50);
  EXPECT_EQ(std::pair(ResultDrawn(), form->StatusText(0)), std::pair(true, done));
  MoveTo(420, 220);
  Release(420, 220);  // let go there: told once, the point back where the drag began
  EXPECT_EQ(std::tuple(Shown(), Holds(start), ResultDrawn(), form->StatusText(0)),
            std::tuple(One(kCoincident), true, true, done));
}

TEST_F(Editing, RemovingTakesTheLowestIndexHitAndRerunsAShownResult) {
  ClickAll({{100, 100}, {102, 102}, {300, 300}, {400, 100}});
  form->tbBorrar->trigger();
  Click(104, 104);  // 4 from the first, 2 from the second
  Click(96, 96);    // 4 pixels off: out of reach
  EXPECT_EQ(form->Doc.Points, (TNube{{100, 100}, {300, 300}, {400, 100}}));
  form->tbPunto->trigger();
  ClickAll({{200, 400}, {500, 250}});
  form->tbEjecutar->trigger();
  form->tbBorrar->trigger();
  Click(498, 252);
  EXPECT_EQ(std::tuple(form->Doc.CurrentPT.VertexCount(), ResultDrawn(),
                       Is(Canvas(), 500, 250, Qt::white)),
            std::tuple(4, true, true));
  // Two left: the re-run refuses after the point is gone, and the figures of the result go.
  ClickAll({{400, 100}, {200, 400}});
  const auto refused = std::tuple(One("At least 3 points are needed."), 2, TMethod::NoMethod,
                                  QStringList(6, QStringLiteral("0")));
  EXPECT_EQ(std::tuple(Shown(), form->Doc.PointCount(), form->Doc.SelectedMethod, Panel()),
            refused);
  Execute(form->tbBarrido);  // Execute refuses alike and forgets the method
  EXPECT_EQ(std::tuple(Shown(), form->Doc.PointCount(), form->Doc.SelectedMethod, Panel()),
            refused);
  EXPECT_FALSE(form->Doc.ResultShown);
}

TEST_F(Editing, DrawingAPolygonPointByPointWithEveryRefusal) {
  // Random points taken back under the polygon tool: it goes on, drawing a polygon of new points.
  form->BotonPuntosOK->click();
  form->tbUnir->trigger();
  form->EDeshacer->trigger();
  ASSERT_EQ(std::pair(form->Doc.PointCount(), form->Doc.EditMode),
            std::pair(0, TEditMode::DrawPolygon));
  ClickRows({{{100, 100}, 1, nullptr},
             {{300, 100}, 2, nullptr},
             {{-5, 5}, 2, "At least 3 points needed to define polygon."},
             {{300, 100}, 2, kCoincident},
             {{100, 300}, 3, nullptr},
             {{250, 20}, 3, kNotSimple},  // its edge would cross the first one
             {{300, 300}, 4, nullptr},    // a Z: fine until it is closed
             {{-5, 5}, 4, "Can't close polygon. No crossing edges allowed."}});
  EXPECT_FALSE(form->Doc.PolygonClosed);
  Key(Qt::Key_Z);  // the Z loses its last stroke; the triangle closes
  EXPECT_EQ(form->StatusText(1), QStringLiteral("POINTS: 3"));
  ClickRows({{{-5, 5}, 3, nullptr},
             {{200, 200}, 3, "Polygon already closed. No further point insertion allowed."}});
  // Closed and shown, no method ran.
  EXPECT_EQ(std::tuple(form->Doc.Points, form->Doc.PolygonClosed, form->Doc.ResultShown,
                       SegmentDrawn(Canvas(), {100, 280}, {100, 120}, Qt::black),
                       form->Doc.CurrentPT.HalfEdgeCount()),
            std::tuple(TNube{{100, 100}, {300, 100}, {100, 300}}, true, true, true, 0));
}

TEST_F(Editing, ChainingExistingPointsWithEveryRefusal) {
  const TNube square{{100, 100}, {300, 100}, {300, 300}, {100, 300}};
  ClickAll(square);
  form->tbUnir->trigger();
  ASSERT_EQ(form->Doc.EditMode, TEditMode::ChainPolygon);
  ClickRows({{{106, 100}, 0, nullptr},  // 6 pixels: out of reach
             {{105, 105}, 1, nullptr},
             {{100, 100}, 1, kAllUsed},
             {{305, 95}, 2, nullptr},
             {{300, 100}, 2, kNotSimple},
             {{100, 300}, 3, nullptr},  // across the square: it moves to the next index
             {{300, 300}, 4, nullptr},
             {{100, 100}, 4, kNotSimple}});  // the closing edge would cross the diagonal
  EXPECT_EQ(std::tuple(form->Doc.Points, SegmentDrawn(Canvas(), {110, 100}, {290, 100}, Qt::black),
                       form->Doc.PolygonClosed),
            std::tuple(TNube{{100, 100}, {300, 100}, {100, 300}, {300, 300}}, true, false));
  Key(Qt::Key_Z);
  Key(Qt::Key_Z);  // unchained where they stand
  ClickRows({{{300, 300}, 3, nullptr},
             {{100, 300}, 4, nullptr},
             {{100, 100}, 5, nullptr},
             {{300, 300}, 5, nullptr}});  // closed: clicks do nothing
  EXPECT_EQ(form->Doc.Points, square);
  EXPECT_TRUE(SegmentDrawn(Canvas(), {100, 280}, {100, 120}, Qt::black));
  Key(Qt::Key_Z);  // reopens with every point chained; point 0 closes it again
  ClickRows({{{100, 100}, 5, nullptr}});
  EXPECT_EQ(std::tuple(form->Doc.PolygonClosed, form->Doc.CurrentPT.HalfEdgeCount()),
            std::tuple(true, 0));
}

}  // namespace
}  // namespace qv
