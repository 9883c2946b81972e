// quilvaron-cli --image: the result drawn by the window's rendering into image files.
#include "cli/ImageExport.h"

#include <gtest/gtest.h>

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
  return int(std::ranges::count_if(
      pts, [&](TPoint p) { return (img.pixel(p.X, p.Y) & 0xFFFFFFu) == (c & 0xFFFFFFu); }));
}

TEST_F(CliImage, DrawsTheResultInEveryTypeWithTheMethodsScene) {
  // In sweep order for angle 0 already, so that the drawn positions are these.
  const TNube cloud{{20, 100}, {60, 15}, {110, 120}, {200, 40}};
  for (const char* name : {"r.png", "r.bmp"}) {
    const QImage img = Draw("", name, cloud, false);
    EXPECT_EQ(Drawn(img, cloud, qRgb(255, 0, 0)), 4) << name;
    // The hull edge from (20, 100) to (60, 15) at a third of its length; a corner stays white.
    EXPECT_GT(Drawn(img, {{32, 72}, {33, 72}, {34, 72}}, 0), 0) << name;
    EXPECT_EQ(Drawn(img, {{230, 150}}, qRgb(255, 255, 255)), 1) << name;
  }
  Draw("", "r.jpg", cloud, false);
  EXPECT_NE(Slurp(Path("r.jpg")).find("\xFF\xC0"), std::string::npos);  // baseline frame header
  ASSERT_EQ(Cli("--image " + Path("r.svg") + " --canvas 240x160 " + Path("in.pt")), 0);
  const QByteArray svg = QByteArray::fromStdString(Slurp(Path("r.svg")));
  EXPECT_TRUE(svg.contains("viewBox=\"0 0 240 160\""));
  EXPECT_EQ(svg.count("<ellipse") + svg.count("<circle"), 4);
  EXPECT_TRUE(cli::ImageTypeKnown("a.PNG") && cli::ImageTypeKnown("dir.x/a.jpeg") &&
              cli::ImageTypeKnown("a.Pdf") && cli::ImageTypeKnown("a.tikz"));
  EXPECT_FALSE(cli::ImageTypeKnown("a.gif") || cli::ImageTypeKnown("png"));
  // The shortest paths scene highlights the first point of the polygon.
  const TNube polygon{{20, 20}, {200, 30}, {120, 70}, {210, 140}, {30, 130}};
  const QImage img = Draw("--method shortest-paths", "p.png", polygon, true);
  EXPECT_EQ(Drawn(img, polygon, qRgb(0, 255, 0)), 1);
  EXPECT_EQ(Drawn(img, polygon, qRgb(255, 0, 0)), 4);
}

}  // namespace
}  // namespace qv
