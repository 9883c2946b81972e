// quilvaron-cli --image: the result drawn by the window's rendering into image files.
#include "cli/ImageExport.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <string>

#include "cli/CliPrueba.h"

namespace qv {
namespace {

class CliImage : public test::CliPrueba {
 protected:
  // Draws the points with the method's arguments on a 240x160 canvas into the named file.
  QImage Draw(const std::string& args, const std::string& name, const TNube& pts, bool polygon) {
    EXPECT_EQ(Cli(args + " --canvas 240x160 --image " + Path(name) + " " +
                  WritePT("in.pt", pts, polygon)),
              0)
        << err;
    const QImage img(QString::fromStdString(Path(name)));
    EXPECT_EQ(img.size(), QSize(240, 160)) << name;
    return img;
  }
  QByteArray Bytes(const std::string& name) const {
    QFile f(QString::fromStdString(Path(name)));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
};

bool Is(const QImage& img, int x, int y, QRgb c) {
  return (img.pixel(x, y) & 0xFFFFFFu) == (c & 0xFFFFFFu);
}

TEST_F(CliImage, DrawsTheSweepResultInEveryType) {
  // In sweep order for angle 0 already, so that the drawn positions are these.
  const TNube cloud{TPoint{20, 100}, TPoint{60, 15}, TPoint{110, 120}, TPoint{200, 40}};
  for (const char* name : {"r.png", "r.bmp"}) {
    const QImage img = Draw("", name, cloud, false);
    for (const TPoint& p : cloud) EXPECT_TRUE(Is(img, p.X, p.Y, qRgb(255, 0, 0))) << name;
    // The hull edge from (20, 100) to (60, 15), at a third of its length.
    EXPECT_TRUE(Is(img, 33, 72, 0) || Is(img, 34, 72, 0) || Is(img, 32, 72, 0)) << name;
    EXPECT_TRUE(Is(img, 230, 150, qRgb(255, 255, 255))) << name;
  }
  Draw("", "r.jpg", cloud, false);
  EXPECT_TRUE(Bytes("r.jpg").contains("\xFF\xC0"));  // baseline frame header
  ASSERT_EQ(Cli("--image " + Path("r.svg") + " --canvas 240x160 " + Path("in.pt")), 0);
  const QByteArray svg = Bytes("r.svg");
  EXPECT_TRUE(svg.contains("viewBox=\"0 0 240 160\""));
  EXPECT_EQ(svg.count("<ellipse") + svg.count("<circle"), 4);
  EXPECT_TRUE(cli::ImageTypeKnown("a.PNG") && cli::ImageTypeKnown("dir.x/a.jpeg") &&
              cli::ImageTypeKnown("a.Pdf") && cli::ImageTypeKnown("a.tikz"));
  EXPECT_FALSE(cli::ImageTypeKnown("a.gif") || cli::ImageTypeKnown("png"));
}

// The window's own scenes of the other methods (their pens are proved by the window's tests).
TEST_F(CliImage, ShortestPathsAndLayersDrawTheirOwnScenes) {
  const TNube polygon{TPoint{20, 20}, TPoint{200, 30}, TPoint{120, 70}, TPoint{210, 140},
                      TPoint{30, 130}};
  QImage img = Draw("--method shortest-paths", "p.png", polygon, true);
  int highlighted = 0, plain = 0;  // one first point, the others plain
  for (const TPoint& p : polygon) {
    highlighted += Is(img, p.X, p.Y, qRgb(0, 255, 0)) ? 1 : 0;
    plain += Is(img, p.X, p.Y, qRgb(255, 0, 0)) ? 1 : 0;
  }
  EXPECT_EQ(std::pair(highlighted, plain), std::pair(1, 4));
  // A triangle around a smaller one: inter-layer edges in green.
  img = Draw("--method layers", "n.png",
             {TPoint{120, 10}, TPoint{10, 150}, TPoint{230, 150}, TPoint{120, 60}, TPoint{90, 110},
              TPoint{150, 110}},
             false);
  int green = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) green += Is(img, x, y, qRgb(0, 128, 0)) ? 1 : 0;
  EXPECT_GT(green, 20);
}

}  // namespace
}  // namespace qv
