// quilvaron-cli --image: the result drawn by the window's rendering into image files.
#include "cli/ImageExport.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>

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
};

// How many of the points are drawn in the colour.
int Drawn(const QImage& img, const TNube& pts, QRgb c) {
  return int(std::count_if(pts.begin(), pts.end(), [&](TPoint p) {
    return (img.pixel(p.X, p.Y) & 0xFFFFFFu) == (c & 0xFFFFFFu);
  }));
}

TEST_F(CliImage, DrawsTheSweepResultInEveryType) {
  // In sweep order for angle 0 already, so that the drawn positions are these.
  const TNube cloud{{20, 100}, {60, 15}, {110, 120}, {200, 40}};
  for (const char* name : {"r.png", "r.bmp"}) {
    const QImage img = Draw("", name, cloud, false);
    EXPECT_EQ(Drawn(img, cloud, qRgb(255, 0, 0)), 4) << name;
    // The hull edge from (20, 100) to (60, 15), at a third of its length.
    EXPECT_GT(Drawn(img, {{32, 72}, {33, 72}, {34, 72}}, 0), 0) << name;
    EXPECT_EQ(Drawn(img, {{230, 150}}, qRgb(255, 255, 255)), 1) << name;
  }
  Draw("", "r.jpg", cloud, false);
  QFile jpeg(QString::fromStdString(Path("r.jpg"))), svg(QString::fromStdString(Path("r.svg")));
  EXPECT_TRUE(jpeg.open(QIODevice::ReadOnly) && jpeg.readAll().contains("\xFF\xC0"));  // baseline
  ASSERT_EQ(Cli("--image " + Path("r.svg") + " --canvas 240x160 " + Path("in.pt")), 0);
  ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
  const QByteArray text = svg.readAll();
  EXPECT_TRUE(text.contains("viewBox=\"0 0 240 160\""));
  EXPECT_EQ(text.count("<ellipse") + text.count("<circle"), 4);
  EXPECT_TRUE(cli::ImageTypeKnown("a.PNG") && cli::ImageTypeKnown("dir.x/a.jpeg") &&
              cli::ImageTypeKnown("a.Pdf") && cli::ImageTypeKnown("a.tikz"));
  EXPECT_FALSE(cli::ImageTypeKnown("a.gif") || cli::ImageTypeKnown("png"));
}

// The window's own scenes of the other methods (their pens are proved by the window's tests).
TEST_F(CliImage, ShortestPathsAndLayersDrawTheirOwnScenes) {
  const TNube polygon{{20, 20}, {200, 30}, {120, 70}, {210, 140}, {30, 130}};
  QImage img = Draw("--method shortest-paths", "p.png", polygon, true);
  // One first point highlighted, the others plain.
  EXPECT_EQ(Drawn(img, polygon, qRgb(0, 255, 0)), 1);
  EXPECT_EQ(Drawn(img, polygon, qRgb(255, 0, 0)), 4);
  // A triangle around a smaller one: inter-layer edges in green.
  img = Draw("--method layers", "n.png",
             {{120, 10}, {10, 150}, {230, 150}, {120, 60}, {90, 110}, {150, 110}}, false);
  TNube everywhere;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) everywhere.push_back({x, y});
  EXPECT_GT(Drawn(img, everywhere, qRgb(0, 128, 0)), 20);
}

}  // namespace
}  // namespace qv
