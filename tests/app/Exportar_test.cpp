// Off-screen drawing of a result into the vector image types; the raster types are proven by
// the window's Save image and the command line.
#include "app/Exportar.h"

#include <gtest/gtest.h>

#include <QPainter>

#include "methods/Ejecucion.h"

namespace qv {
namespace {

TEST(Export, SvgPdfAndTikzAreVectorDrawingsOfTheCanvas) {
  TNube points{TPoint{20, 100}, TPoint{60, 10}, TPoint{90, 70}, TPoint{150, 30}};
  TDCEL pt;
  int dragged = kNone;
  ComputeSweepLine(points, 1.0, 0.0, dragged, pt);
  const auto exported = [&](const char* type, bool grid) {
    TDocumento document;
    document.Points = points;
    document.CurrentPT = pt;
    document.GridVisible = grid;
    document.SweepAngle = 90;
    const std::string bytes =
        EncodeDrawing(QString::fromLatin1(type), document, TPenStyles(), 160, 120,
                      [](TDrawing& drawing) { DrawSubdivisionResult(drawing); });
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
  };
  const QString svg = exported("svg", true);
  // The grid, sized in the canvas's pixels, its text as large as on the canvas.
  EXPECT_TRUE(svg.contains(QStringLiteral("#c0c0c0"), Qt::CaseInsensitive) &&
              svg.contains(QStringLiteral("width=\"160px\" height=\"120px\"")));
  QImage probe(1, 1, QImage::Format_RGB32);
  QPainter painter(&probe);
  EXPECT_EQ(CanvasFont().pixelSize(), painter.fontInfo().pixelSize());
  EXPECT_TRUE(
      exported("pdf", false).contains(QStringLiteral("/MediaBox [0 0 160.000000 120.000000]")));
  const QString picture = exported("tikz", false);
  // 160 pixels become 12 cm (0.075 cm each) and y turns upwards: (60, 10) lies at
  // (4.5, (120 - 10) * 0.075), every point a disc of radius 2.5 pixels, and the hull edge from
  // (20, 100) to (60, 10) is drawn.
  EXPECT_EQ(picture.count(QStringLiteral("ellipse [x radius=0.188cm,y radius=0.188cm]")), 4);
  EXPECT_FALSE(picture.contains(QStringLiteral("{RGB}{0,255,0}")));  // no point highlighted
  EXPECT_TRUE(picture.contains(QStringLiteral("(4.500,8.250) ellipse")));
  EXPECT_TRUE(picture.contains(QStringLiteral("(1.500,1.500) -- (4.500,8.250)")) ||
              picture.contains(QStringLiteral("(4.500,8.250) -- (1.500,1.500)")));
  EXPECT_TRUE(picture.contains(QStringLiteral("\\clip (0.000,0.000) rectangle (12.000,9.000)")));
}

}  // namespace
}  // namespace qv
