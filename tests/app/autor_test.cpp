// The About box's logo and the pictures of the toolbar buttons.
#include "app/autor.h"

#include <gtest/gtest.h>

#include <tuple>

#include "Pixeles.h"
#include "app/Iconos.h"

namespace qv {
namespace {

// The logo is a pseudo-triangle on corners (8, 52), (72, 52), (40, 6): each side bends inwards,
// so the middle of every chord between corners lies outside it and the centre inside.
TEST(Pictures, TheLogosSidesBendInwardsAndUndoPointsLeftRedoRight) {
  const QImage logo = AboutLogo().toImage();
  for (QPoint chordMiddle : {QPoint(40, 51), QPoint(55, 30), QPoint(25, 30)})
    EXPECT_TRUE(test::Is(logo, chordMiddle.x(), chordMiddle.y(), Qt::white)) << chordMiddle.x();
  EXPECT_TRUE(test::Is(logo, 40, 36, QColor(166, 202, 240)));
  const QImage undo = ToolbarImage(kImgDeshacer), redo = ToolbarImage(kImgRehacer);
  // The arrow's head on one side at (6, 18) or its mirror (25, 18), nothing on the other.
  for (const auto& [icon, head, empty] : {std::tuple(undo, 6, 25), std::tuple(redo, 25, 6)}) {
    EXPECT_GT(qAlpha(icon.pixel(head, 18)), 0) << head;
    EXPECT_EQ(qAlpha(icon.pixel(empty, 18)), 0) << head;
  }
}

// Undo's arrow turns back to the left, redo's, drawn mirrored, to the right.

}  // namespace
}  // namespace qv
