// quilvaron-cli --image: the result drawn by the window's rendering into image files.
#include "cli/ImageExport.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <string>

#include "cli/CliPrueba.h"
#include "io/ArchivoPT.h"

namespace qv {
namespace {

class CliImage : public test::CliPrueba {
 protected:
  // In sweep order for angle 0 already, so that the drawn positions are these.
  const TNube cloud{TPoint{20, 100}, TPoint{60, 15}, TPoint{110, 120}, TPoint{200, 40}};
};

bool Is(const QImage& img, int x, int y, QRgb c) {
  return (img.pixel(x, y) & 0xFFFFFFu) == (c & 0xFFFFFFu);
}

TEST_F(CliImage, DrawsTheSweepResultOnTheCanvasSizeInEveryRasterType) {
  SavePT(Path("c.pt"), cloud, false);
  for (const char* name : {"r.png", "r.bmp", "r.jpg"}) {
    ASSERT_EQ(Cli("--image " + Path(name) + " --canvas 240x160 " + Path("c.pt")), 0) << name;
    const QImage img(QString::fromStdString(Path(name)));
    ASSERT_EQ(img.size(), QSize(240, 160)) << name;
    if (std::string(name) == "r.jpg") {
      QFile f(QString::fromStdString(Path(name)));
      ASSERT_TRUE(f.open(QIODevice::ReadOnly));
      EXPECT_TRUE(f.readAll().contains("\xFF\xC0"));  // baseline frame header
      continue;
    }
    for (const TPoint& p : cloud) EXPECT_TRUE(Is(img, p.X, p.Y, qRgb(255, 0, 0))) << name;
    // The hull edge from (20, 100) to (60, 15), at a third of its length.
    EXPECT_TRUE(Is(img, 33, 72, qRgb(0, 0, 0)) || Is(img, 34, 72, qRgb(0, 0, 0)) ||
                Is(img, 32, 72, qRgb(0, 0, 0)))
        << name;
    EXPECT_TRUE(Is(img, 230, 150, qRgb(255, 255, 255))) << name;
  }
}

TEST_F(CliImage, WritesAVectorDrawingForSvg) {
  SavePT(Path("c.pt"), cloud, false);
  ASSERT_EQ(Cli("--image " + Path("r.svg") + " --canvas 240x160 " + Path("c.pt")), 0);
  QFile f(QString::fromStdString(Path("r.svg")));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray svg = f.readAll();
  EXPECT_TRUE(svg.contains("viewBox=\"0 0 240 160\""));
  EXPECT_EQ(svg.count("<ellipse") + svg.count("<circle"), 4);
}

TEST_F(CliImage, ShortestPathsShowTheThickerPolygonAndTheHighlightedFirstPoint) {
  const TNube polygon{TPoint{20, 20}, TPoint{200, 30}, TPoint{120, 70}, TPoint{210, 140},
                      TPoint{30, 130}};
  SavePT(Path("p.pt"), polygon, true);
  ASSERT_EQ(
      Cli("--method shortest-paths --image " + Path("p.png") + " --canvas 240x160 " + Path("p.pt")),
      0);
  const QImage img(QString::fromStdString(Path("p.png")));
  ASSERT_EQ(img.size(), QSize(240, 160));
  int highlighted = 0, plain = 0;
  for (const TPoint& p : polygon) {
    highlighted += Is(img, p.X, p.Y, qRgb(0, 255, 0)) ? 1 : 0;
    plain += Is(img, p.X, p.Y, qRgb(255, 0, 0)) ? 1 : 0;
  }
  EXPECT_EQ(highlighted, 1);
  EXPECT_EQ(plain, 4);
  // The boundary edge (30, 130) - (20, 20) is two pixels wide: style 1, one thicker.
  int width = 0;
  for (int x = 18; x <= 30; ++x) width += Is(img, x, 75, qRgb(0, 0, 0)) ? 1 : 0;
  EXPECT_EQ(width, 2);
}

TEST_F(CliImage, ConvexLayersShowTheirLayerPens) {
  // A triangle around a smaller one: two layers, joined by inter-layer edges.
  const TNube nested{TPoint{120, 10}, TPoint{10, 150}, TPoint{230, 150},
                     TPoint{120, 60}, TPoint{90, 110}, TPoint{150, 110}};
  SavePT(Path("n.pt"), nested, false);
  ASSERT_EQ(Cli("--method layers --image " + Path("n.png") + " --canvas 240x160 " + Path("n.pt")),
            0);
  const QImage img(QString::fromStdString(Path("n.png")));
  ASSERT_EQ(img.size(), QSize(240, 160));
  int red = 0, green = 0;
  for (int y = 0; y < img.height(); ++y) {
    for (int x = 0; x < img.width(); ++x) {
      red += Is(img, x, y, qRgb(255, 0, 0)) ? 1 : 0;
      green += Is(img, x, y, qRgb(0, 128, 0)) ? 1 : 0;
    }
  }
  EXPECT_GT(green, 20);  // inter-layer edges, style 4
  EXPECT_GT(red, 200);   // layer edges, style 3, beyond the six point discs
}

TEST(CliImageTypes, KnowsTheWrittenExtensions) {
  EXPECT_TRUE(cli::ImageTypeKnown("a.PNG"));
  EXPECT_TRUE(cli::ImageTypeKnown("dir.x/a.jpeg"));
  EXPECT_TRUE(cli::ImageTypeKnown("a.svg"));
  EXPECT_TRUE(cli::ImageTypeKnown("a.Pdf"));
  EXPECT_TRUE(cli::ImageTypeKnown("a.tikz"));
  EXPECT_FALSE(cli::ImageTypeKnown("a.gif"));
  EXPECT_FALSE(cli::ImageTypeKnown("png"));
}

}  // namespace
}  // namespace qv
