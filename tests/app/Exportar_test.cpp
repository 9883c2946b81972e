// Off-screen drawing of a result into image files.
#include "app/Exportar.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "Pixeles.h"
#include "app/Jpeg.h"
#include "geometry/UserError.h"
#include "methods/Ejecucion.h"

namespace qv {
namespace {

struct Result {
  Result() {
    int dragged = kNone;
    ComputeSweepLine(points, 1.0, 0.0, dragged, pt);
  }
  TNube points{TPoint{20, 100}, TPoint{60, 10}, TPoint{90, 70}, TPoint{150, 30}};
  TDCEL pt;
  TPenStyles styles;
};

TEST(Export, RasterFormatsHoldTheSameDrawingAsTheWindowCanvas) {
  Result r;
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  TDocumento doc;
  doc.Points = r.points;
  doc.CurrentPT = r.pt;
  const QImage reference =
      RenderImage(doc, r.styles, 160, 120, [](TDrawing& d) { DrawSubdivisionResult(d); });
  EXPECT_TRUE(test::Is(reference, 60, 10, Qt::red));
  EXPECT_TRUE(test::SegmentDrawn(reference, QPoint(25, 90), QPoint(55, 20), Qt::black));
  for (const char* name : {"a.bmp", "a.png"}) {
    const QString path = dir.filePath(QString::fromLatin1(name));
    ExportSubdivision(path, r.points, r.pt, r.styles, 160, 120, false, 0);
    const QImage back(path);
    ASSERT_FALSE(back.isNull()) << name;
    EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), reference) << name;
  }
  const QString jpg = dir.filePath(QStringLiteral("a.jpg"));
  ExportSubdivision(jpg, r.points, r.pt, r.styles, 160, 120, false, 0);
  QFile file(jpg);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  ASSERT_GT(bytes.size(), 2);
  EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xFF);
  EXPECT_EQ(LoadJpeg(jpg).size(), QSize(160, 120));
}

TEST(Export, SvgIsAVectorDrawingOfEveryEdge) {
  Result r;
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("a.svg"));
  ExportSubdivision(path, r.points, r.pt, r.styles, 160, 120, true, 90);
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QString svg = QString::fromUtf8(file.readAll());
  EXPECT_TRUE(svg.contains(QStringLiteral("<svg")));
  EXPECT_TRUE(svg.contains(QStringLiteral("viewBox=\"0 0 160 120\"")));
  // Four points as ellipses, and the grid in silver (#c0c0c0) under the edges.
  EXPECT_EQ(svg.count(QStringLiteral("<ellipse")) + svg.count(QStringLiteral("<circle")), 4);
  EXPECT_TRUE(svg.contains(QStringLiteral("#c0c0c0"), Qt::CaseInsensitive));
  EXPECT_GE(svg.count(QStringLiteral("<polyline")) + svg.count(QStringLiteral("<line")) +
                svg.count(QStringLiteral("<path")),
            r.pt.HalfEdgeCount());
}

TEST(Export, PdfIsOnePageOfTheCanvasSizeAndTikzReadsAsOnScreen) {
  Result r;
  QTemporaryDir dir;
  const QString pdf = dir.filePath(QStringLiteral("a.pdf"));
  const QString tikz = dir.filePath(QStringLiteral("a.tikz"));
  ExportSubdivision(pdf, r.points, r.pt, r.styles, 160, 120, false, 0);
  ExportSubdivision(tikz, r.points, r.pt, r.styles, 160, 120, false, 0);
  QFile pdfFile(pdf), tikzFile(tikz);
  ASSERT_TRUE(pdfFile.open(QIODevice::ReadOnly) && tikzFile.open(QIODevice::ReadOnly));
  const QByteArray page = pdfFile.readAll();
  EXPECT_TRUE(page.startsWith("%PDF-"));
  EXPECT_TRUE(page.contains("/MediaBox [0 0 160.000000 120.000000]"));
  const QString picture = QString::fromUtf8(tikzFile.readAll());
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
  QTemporaryDir dir;
  EXPECT_THROW(
      ExportSubdivision(dir.filePath("a.gif"), r.points, r.pt, r.styles, 100, 100, false, 0),
      UserError);
  EXPECT_THROW(ExportSubdivision(dir.filePath("a.png"), r.points, r.pt, r.styles, 0, 100, false, 0),
               UserError);
  EXPECT_FALSE(QFile::exists(dir.filePath("a.gif")));
}

}  // namespace
}  // namespace qv
