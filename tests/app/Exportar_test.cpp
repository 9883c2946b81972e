// Off-screen drawing of a result into image files.
#include "app/Exportar.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "Pixeles.h"
#include "app/Jpeg.h"
#include "geometry/UserError.h"
#include "methods/Ejecucion.h"

namespace qv {
namespace {

// A sweep result over four points, exported into a scratch folder.
struct Result {
  Result() {
    int dragged = kNone;
    ComputeSweepLine(points, 1.0, 0.0, dragged, pt);
  }
  QByteArray Export(const char* name, bool grid = false, int angle = 0) {
    const QString path = dir.filePath(QString::fromLatin1(name));
    ExportSubdivision(path, points, pt, styles, 160, 120, grid, angle);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return file.readAll();
  }
  TNube points{TPoint{20, 100}, TPoint{60, 10}, TPoint{90, 70}, TPoint{150, 30}};
  TDCEL pt;
  TPenStyles styles;
  QTemporaryDir dir;
};

TEST(Export, RasterFormatsHoldTheSameDrawingAsTheWindowCanvas) {
  Result r;
  TDocumento doc;
  doc.Points = r.points;
  doc.CurrentPT = r.pt;
  const QImage reference =
      RenderImage(doc, r.styles, 160, 120, [](TDrawing& d) { DrawSubdivisionResult(d); });
  for (const TPoint& p : r.points) EXPECT_TRUE(test::Is(reference, p.X, p.Y, Qt::red));
  EXPECT_TRUE(test::SegmentDrawn(reference, QPoint(25, 90), QPoint(55, 20), Qt::black));
  for (const char* name : {"a.bmp", "a.png"}) {
    EXPECT_EQ(QImage::fromData(r.Export(name)).convertToFormat(QImage::Format_RGB32), reference)
        << name;
  }
  EXPECT_TRUE(r.Export("a.jpg").startsWith("\xFF\xD8"));
  EXPECT_EQ(LoadJpeg(r.dir.filePath("a.jpg")).size(), QSize(160, 120));
}

TEST(Export, SvgPdfAndTikzAreVectorDrawingsOfTheCanvas) {
  Result r;
  const QString svg = QString::fromUtf8(r.Export("a.svg", true, 90));
  EXPECT_TRUE(svg.contains(QStringLiteral("viewBox=\"0 0 160 120\"")));
  // Four points as ellipses, and the grid in silver (#c0c0c0) under the edges.
  EXPECT_EQ(svg.count(QStringLiteral("<ellipse")) + svg.count(QStringLiteral("<circle")), 4);
  EXPECT_TRUE(svg.contains(QStringLiteral("#c0c0c0"), Qt::CaseInsensitive));
  EXPECT_GE(svg.count(QStringLiteral("<polyline")) + svg.count(QStringLiteral("<line")) +
                svg.count(QStringLiteral("<path")),
            r.pt.HalfEdgeCount());
  const QByteArray page = r.Export("a.pdf");
  EXPECT_TRUE(page.startsWith("%PDF-"));
  EXPECT_TRUE(page.contains("/MediaBox [0 0 160.000000 120.000000]"));
  const QString picture = QString::fromUtf8(r.Export("a.tikz"));
  // 160 pixels become 12 cm (0.075 cm each) and y turns upwards: (60, 10) lies at
  // (4.5, (120 - 10) * 0.075) and the hull edge from (20, 100) to (60, 10) is drawn.
  EXPECT_EQ(picture.count(QStringLiteral("ellipse [")), 4);
  EXPECT_TRUE(picture.contains(QStringLiteral("(4.500,8.250) ellipse")));
  EXPECT_TRUE(picture.contains(QStringLiteral("(1.500,1.500) -- (4.500,8.250)")) ||
              picture.contains(QStringLiteral("(4.500,8.250) -- (1.500,1.500)")));
  EXPECT_TRUE(picture.contains(QStringLiteral("\\clip (0.000,0.000) rectangle (12.000,9.000)")));
}

TEST(Export, UnknownTypesAndSizesAreRefused) {
  Result r;
  const QString gif = r.dir.filePath("a.gif"), png = r.dir.filePath("a.png");
  EXPECT_THROW(ExportSubdivision(gif, r.points, r.pt, r.styles, 100, 100, false, 0), UserError);
  EXPECT_THROW(ExportSubdivision(png, r.points, r.pt, r.styles, 0, 100, false, 0), UserError);
  EXPECT_FALSE(QFile::exists(gif));
}

}  // namespace
}  // namespace qv
