// The triangulation chooser dialog: its drawing follows the choice, its buttons and boxes are
// wired as the methods expect, and its modal answer.
#include "app/EleccionT.h"

#include <gtest/gtest.h>

#include <QTest>
#include <QTimer>
#include <functional>
#include <set>
#include <utility>

#include "Pixeles.h"
#include "methods/Aleatorio.h"
#include "methods/Triangulos.h"

namespace qv {
namespace {

using test::Is;
using test::SegmentDrawn;

using testing_triangles::Diagonals;

bool HasDark(const QImage& image, const QRect& area) {
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (image.rect().contains(x, y) && qGray(image.pixel(x, y)) < 100) return true;
  return false;
}

// The vertex pairs, not neighbours on the polygon, whose middle half is drawn in black.
std::set<TEdge> DrawnDiagonals(const QImage& surface, const TNube& polygon) {
  std::set<TEdge> out;
  const int n = static_cast<int>(polygon.size());
  for (int a = 0; a < n; ++a) {
    for (int b = a + 2; b < n; ++b) {
      if (a == 0 && b == n - 1) continue;
      const TPoint p = polygon[a], q = polygon[b];
      const QPoint from(p.X + (q.X - p.X) / 4, p.Y + (q.Y - p.Y) / 4);
      const QPoint to(p.X + 3 * (q.X - p.X) / 4, p.Y + 3 * (q.Y - p.Y) / 4);
      if (SegmentDrawn(surface, from, to, Qt::black)) out.insert({a, b});
    }
  }
  return out;
}

class Chooser : public ::testing::Test {
 protected:
  void Show(int n) {
    dialog.Tag = n;
    dialog.FormShow();
  }
  // The drawing shows exactly the model's diagonals, vertex 0 green and the others red.
  void ExpectDrawingFollowsModel() {
    const TTriangulationChoice& c = dialog.Choice();
    EXPECT_EQ(DrawnDiagonals(dialog.Surface(), c.Polygon()), Diagonals(c));
    for (int v = 0; v < c.Size(); ++v) {
      const TPoint p = c.Polygon()[v];
      EXPECT_TRUE(Is(dialog.Surface(), p.X, p.Y, v == 0 ? QColor(0, 128, 0) : QColor(255, 0, 0)))
          << v;
    }
  }
  // Runs the dialog modally; script acts on it once it is shown.
  bool RunModal(int n, std::function<void()> script) {
    QTimer::singleShot(0, &dialog, std::move(script));
    return dialog.ShowModal(n);
  }

  TRandom random{20240611u};
  TFEleccionT dialog{nullptr, random};
};

TEST_F(Chooser, ShowsTheFanWithNumberedVerticesAndFlipsOneDiagonalPerPress) {
  Show(6);
  ExpectDrawingFollowsModel();
  // Each vertex carries its number just outside the polygon.
  for (const TVertexLabel& label :
       VertexLabels(dialog.Choice().Polygon(), dialog.Choice().Triangulation()))
    EXPECT_TRUE(HasDark(dialog.Surface(), QRect(label.X, label.Y, 12, 18))) << label.Text;
  Show(4);
  dialog.Choice().Recompute = false;
  QTest::mouseClick(dialog.BotonSig, Qt::LeftButton);
  EXPECT_TRUE(dialog.Choice().Recompute);
  EXPECT_EQ(Diagonals(dialog.Choice()), (std::set<TEdge>{{1, 3}}));
  ExpectDrawingFollowsModel();
  // "Random" draws from the generator it was given.
  Show(9);
  const uint32_t state = random.State();
  QTest::mouseClick(dialog.BotonRandom, Qt::LeftButton);
  EXPECT_NE(random.State(), state);
  ExpectDrawingFollowsModel();
}

TEST_F(Chooser, AnswersOkOnlyThroughItsButtonKeepsTheChoiceAndMonocolorImpliesPockets) {
  EXPECT_TRUE(RunModal(6, [this] {
    QTest::mouseClick(dialog.BotonSig, Qt::LeftButton);
    QTest::mouseClick(dialog.BotonOK, Qt::LeftButton);
  }));
  const auto chosen = Diagonals(dialog.Choice());
  const QImage drawing = dialog.Surface().copy();
  EXPECT_NE(chosen, (std::set<TEdge>{{0, 2}, {0, 3}, {0, 4}}));
  // Shown again for the same size: the last choice, as drawn; closed without "OK".
  EXPECT_FALSE(RunModal(6, [this] { dialog.close(); }));
  EXPECT_EQ(Diagonals(dialog.Choice()), chosen);
  EXPECT_EQ(dialog.Surface(), drawing);
  // "Monocolor" implies "Pockets", and "Pockets" sets the recompute flag.
  EXPECT_TRUE(dialog.Labels() && !dialog.Pockets() && !dialog.Monocolor());
  dialog.Choice().Recompute = false;
  dialog.CBmonocolor->click();
  EXPECT_TRUE(dialog.Pockets() && dialog.Monocolor() && dialog.Choice().Recompute);
  dialog.Choice().Recompute = false;
  dialog.CBbolsillos->click();
  EXPECT_FALSE(dialog.Pockets() || dialog.Monocolor());
  EXPECT_TRUE(dialog.Choice().Recompute);
  // "Labels" is the main window's concern only.
  dialog.Choice().Recompute = false;
  dialog.CBnumeros->click();
  EXPECT_FALSE(dialog.Labels() || dialog.Choice().Recompute);
}

}  // namespace
}  // namespace qv
