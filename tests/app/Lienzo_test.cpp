// Rendering: the drawing operations, pixel by pixel.
#include "app/Lienzo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>
#include <tuple>

#include "Pixeles.h"
#include "app/LienzoCapas.h"
#include "app/LienzoGrabacion.h"
#include "methods/Ejecucion.h"

namespace qv {
namespace {

using test::InkBox;
using test::Is;
using test::SegmentDrawn;

// A white image with a drawing bound to it.
struct Scene {
  Scene(int width, int height) : image(width, height, QImage::Format_RGB32) {
    image.fill(Qt::white);
    canvas = std::make_unique<TCanvas>(&image);
  }
  TDrawing Drawing() { return TDrawing(*canvas, compass, doc, styles); }
  const QImage& Image() { return *canvas->Image(); }

  QImage image;
  QImage compass;
  std::unique_ptr<TCanvas> canvas;
  TDocumento doc;
  TPenStyles styles;
};

TEST(DrawPoint, CoversTheSixPixelBoxAndAWiderStyleGrowsTheBlackOutline) {
  for (int width : {1, 3}) {
    Scene scene(40, 40);
    scene.styles[6].Width = width;
    scene.Drawing().DrawPoint(20, 20, scene.styles[6]);
    const QImage& img = scene.Image();
    const int grow = width == 3;
    EXPECT_EQ(InkBox(img), QRect(QPoint(17 - grow, 17 - grow), QPoint(22 + grow, 22 + grow)));
    EXPECT_TRUE(Is(img, 20, 20, Qt::red));  // filled with the style's colour
    EXPECT_TRUE(Is(img, 17 - grow, 20, Qt::black) || Is(img, 17 - grow, 19, Qt::black));
    EXPECT_EQ(scene.canvas->BrushColor(), QColor(Qt::white));
  }
  // Far off the canvas no trace; partly inside, clipped, not skipped, also in the TikZ picture
  // (a wide outline reaches into it from a box that ends on its edge or beyond it, and so does
  // a wide segment drawn beside the picture).
  for (auto [width, x] : {std::pair(1, -2), std::pair(3, -3), std::pair(5, -4)}) {
    Scene scene(20, 20);
    scene.styles[6].Width = width;
    scene.Drawing().DrawPoint(2147483647, -2147483647 - 1, scene.styles[6]);
    scene.Drawing().DrawPoint(x, 10, scene.styles[6]);
    scene.canvas->SetPenWidth(width);
    scene.canvas->MoveTo(-width / 2, 17);
    scene.canvas->LineTo(-width / 2, 19);
    const std::string tikz = TikzPicture(scene.canvas->Recording(), 20, 20);
    EXPECT_EQ(std::tuple(InkBox(scene.Image()).right(), !Is(scene.Image(), 0, 18, Qt::white),
                         tikz.find(" ellipse ") != tikz.npos, tikz.find(" -- ") != tikz.npos),
              std::tuple(0, true, true, true))
        << width;
  }
  Scene cut(20, 20);  // a polygon across the top is cut along it, at x = 12.5 and 7.5
  cut.canvas->Polygon({QPoint(5, -10), QPoint(15, -10), QPoint(10, 10)});
  const std::string tikz = TikzPicture(cut.canvas->Recording(), 20, 20);
  EXPECT_NE(tikz.find("(7.500,12.000) -- (6.000,6.000) -- (4.500,12.000) -- cycle"), tikz.npos)
      << tikz;
}

TDCEL SweepOf(TNube& points) {
  TDCEL pt;
  int dragged = kNone;
  ComputeSweepLine(points, 1.0, 0.0, dragged, pt);
  return pt;
}

// Every face cycle drawn whole, so that an inner edge is drawn once from each of its faces, the
// hull in style 1 and inner edges in style 2.
void DrawEveryCycleWhole(Scene& scene, const TDCEL& s) {
  const TNube& p = scene.doc.Points;
  for (int f = 0; f < s.FaceCount(); ++f) {
    const int first = s.FaceEdge(f);
    if (first == kNone) continue;
    scene.canvas->MoveTo(p[s.Origin(first)].X, p[s.Origin(first)].Y);
    int e = first;
    do {
      e = s.Next(e);
      const TPenStyle& style = scene.styles[s.Twin(s.Prev(e)) == kNone ? 1 : 2];
      scene.canvas->SetPenColor(style.Color);
      scene.canvas->SetPenWidth(style.Width);
      scene.canvas->LineTo(p[s.Origin(e)].X, p[s.Origin(e)].Y);
    } while (e != first);
  }
}

TEST(DrawPT, DrawingEachInnerEdgeOnceLeavesThePixelsOfDrawingItFromBothFaces) {
  std::mt19937 rng(7);
  // Dense sets (many nearly parallel edges sharing pixels), sets reaching off the canvas,
  // and far-off ends; hull and inner pens of different colours and widths; through views that
  // zoom in, out, and draw at a device ratio of 2.
  const struct {
    int count, lo, hi;
    int hullWidth, innerWidth;
    TVista view = {};
  } rows[] = {{300, 0, 199, 1, 1},
              {300, 0, 199, 2, 1},
              {120, -60, 260, 1, 3},
              {60, 0, 199, 3, 2},
              {40, -(1 << 24), 1 << 24, 1, 1},
              {40, -(1 << 24), 1 << 24, 2, 2},
              {300, 0, 199, 1, 1, {4.0, -150.0, -90.0, 1.0}},
              {120, -60, 260, 2, 1, {0.3, 40.0, 30.0, 1.0}},
              {60, 0, 199, 1, 2, {1.0, 0.0, 0.0, 2.0}},
              {40, -(1 << 24), 1 << 24, 1, 2, {4.0, 7.0, 3.0, 2.0}}};
  for (const auto& row : rows) {
    std::uniform_int_distribution<int> c(row.lo, row.hi);
    TNube points;
    for (int i = 0; i < row.count; ++i) points.push_back({c(rng), c(rng)});
    std::sort(points.begin(), points.end());
    points.erase(std::unique(points.begin(), points.end()), points.end());
    TDCEL pt = SweepOf(points);
    for (bool removeOne : {false, true}) {
      if (removeOne) pt.StoreFaceEdge(pt.FaceCount() / 2, kNone);
      Scene once(200, 200), twice(200, 200);
      for (Scene* scene : {&once, &twice}) {
        scene->canvas->SetView(row.view);
        scene->doc.Points = points;
        scene->styles[1] = TPenStyle{QColor(0, 0, 255), row.hullWidth};
        scene->styles[2] = TPenStyle{QColor(0, 160, 0), row.innerWidth};
      }
      once.Drawing().DrawPT(pt, 1, 2);
      EXPECT_EQ(once.canvas->PenColor(), QColor(Qt::black));
      DrawEveryCycleWhole(twice, pt);
      EXPECT_EQ(once.Image(), twice.Image())
          << row.count << " points, widths " << row.hullWidth << "/" << row.innerWidth
          << " removed " << removeOne << " scale " << row.view.Scale << " ratio " << row.view.Ratio;
    }
  }
}

TEST(ClearCanvas, CentresTheBackgroundCutOnBothSidesAndEndsPolygonAndResult) {
  const struct {
    QSize canvas, background;
    QPoint offset;  // (canvas - background) / 2
    bool loaded;    // else held but not shown
  } rows[] = {{{40, 30}, {20, 10}, {10, 10}, true},
              {{21, 11}, {41, 31}, {-10, -10}, true},
              {{40, 30}, {20, 10}, {10, 10}, false}};
  for (const auto& row : rows) {
    Scene scene(row.canvas.width(), row.canvas.height());
    QImage& bg = scene.doc.BackgroundBitmap = QImage(row.background, QImage::Format_RGB32);
    for (int y = 0; y < bg.height(); ++y)
      for (int x = 0; x < bg.width(); ++x) bg.setPixel(x, y, qRgb(x, y, 7));
    scene.doc.BackgroundLoaded = row.loaded;
    scene.doc.ResultShown = scene.doc.PolygonClosed = true;
    scene.doc.PolygonLength = 4;
    scene.image.fill(Qt::black);
    scene.Drawing().ClearCanvas();
    const QRect ink = row.loaded ? QRect(row.offset, row.background) & scene.image.rect() : QRect();
    EXPECT_EQ(std::tuple(scene.doc.ResultShown, scene.doc.PolygonClosed, scene.doc.PolygonLength,
                         InkBox(scene.Image())),
              std::tuple(false, false, 0, ink));
    if (!row.loaded) continue;
    for (const QPoint& p : {ink.topLeft(), ink.bottomRight()}) {
      const QPoint b = p - row.offset;
      EXPECT_EQ(scene.Image().pixel(p), qRgb(b.x(), b.y(), 7)) << p.x() << "," << p.y();
    }
  }
}

// A layer table may hold records with no layer yet or beyond the points: they draw nothing.
TEST(DrawConvexLayers, DrawsTheRingsOfAssignedRecordsOfExistingPointsOnly) {
  Scene scene(120, 120);
  scene.doc.Points = {TPoint{10, 10}, TPoint{110, 10}, TPoint{60, 100}, TPoint{60, 40}};
  TPTCapas layers;
  layers.Records = {{10, 10, 1, 2, 1, kNone, kNone},
                    {110, 10, 1, 0, 2, kNone, kNone},
                    {60, 100, 1, 1, 0, kNone, kNone},
                    {60, 40, 0, kNone, kNone, 0, kNone},  // unassigned, its slot naming 0
                    {0, 0, 1, kNone, 0, kNone, kNone}};   // no such point
  TDrawing drawing = scene.Drawing();
  DrawConvexLayers(drawing, layers);
  // (35, 25) is the middle of 3-0.
  EXPECT_EQ(std::tuple(SegmentDrawn(scene.Image(), QPoint(20, 10), QPoint(100, 10), Qt::red),
                       Is(scene.Image(), 35, 25, Qt::white), InkBox(scene.Image())),
            std::tuple(true, true, QRect(QPoint(10, 10), QPoint(110, 100))));
}

// A 100 x 60 canvas with the grid for the angle.
QImage GridAt(int angle) {
  Scene scene(100, 60);
  scene.doc.SweepAngle = angle;
  scene.Drawing().DrawGrid();
  EXPECT_EQ(scene.canvas->PenWidth(), 1);
  return scene.Image().copy();
}

const QColor kSilver(192, 192, 192);

TEST(DrawGrid, AtFortyFiveThirtyAndHundredFiftyDegreesDrawsSlantedLinesToTheFarCorner) {
  const QImage at45 = GridAt(45), at30 = GridAt(30), at150 = GridAt(150);
  // At 45: lines (0, H - k) to (k, H) for k = 10 .. 150 (while k < H + W = 160): x - y = k - 60.
  for (int k = 10; k <= 150; k += 10) {
    const int x0 = std::max(0, k - 60), x1 = std::min(99, k - 1);
    EXPECT_TRUE(SegmentDrawn(at45, QPoint(x0, x0 + 60 - k), QPoint(x1, x1 + 60 - k), kSilver)) << k;
  }
  // At 30: lines (k, H) to (0, H - round(1.732.. k)); at 150, the mirror of 30 in the top
  // edge: lines (k, 0) to (0, round(1.732.. k)).
  for (int k = 10; k <= 30; k += 10) {
    const int rise = static_cast<int>(std::nearbyint(std::sqrt(3.0) * k));
    EXPECT_TRUE(SegmentDrawn(at30, QPoint(k, 60), QPoint(0, 60 - rise), kSilver)) << k;
    EXPECT_TRUE(SegmentDrawn(at150, QPoint(k, 0), QPoint(0, rise), kSilver)) << k;
  }
  // The last line at 45 (k = 150), then pixels between lines.
  const std::tuple<const QImage&, int, int, bool> pixels[] = {
      {at45, 99, 9, true}, {at45, 99, 8, false}, {at45, 50, 55, false}, {at30, 15, 59, false}};
  for (const auto& [img, x, y, ink] : pixels)
    EXPECT_EQ(Is(img, x, y, kSilver), ink) << x << "," << y;
}

TEST(Compass, EveryAngleShowsABlackDartOnASkyBlueDisc) {
  const double pi = std::acos(-1.0);
  for (int angle = 0; angle < 360; ++angle) {
    // Whatever size it had, the compass comes back 30 x 30.
    QImage compass(angle % 2 == 0 ? 30 : 20, angle % 2 == 0 ? 20 : 30, QImage::Format_RGB32);
    double dx = 0, dy = 0;
    DrawCompass(compass, angle, dx, dy);
    ASSERT_EQ(compass.size(), QSize(30, 30));
    const double a = angle * pi / 180.0;
    auto at = [&](double r, double turn) {
      return QPoint(static_cast<int>(std::lround(15 + r * std::cos(a + turn))),
                    static_cast<int>(std::lround(15 - r * std::sin(a + turn))));
    };
    const QPoint tip = at(9, 0), tail = at(10, pi);
    EXPECT_TRUE(Is(compass, tip.x(), tip.y(), Qt::black)) << angle;
    // The flood fill started inside the dart: the rest of the disc keeps its colour.
    EXPECT_TRUE(Is(compass, tail.x(), tail.y(), kCompassColor)) << angle;
  }
}

template <class F>
QImage Drawn(int width, int height, F draw, QImage::Format format = QImage::Format_RGB32) {
  QImage img(width, height, format);
  img.fill(Qt::white);
  {
    TCanvas c(&img);
    draw(c);
  }
  return img;
}

TEST(Canvas, SegmentsAreClippedNotMisdrawnOnePixelOnesLeaveOutTheirLastPixel) {
  const QImage img = Drawn(50, 20, [](TCanvas& c) {
    c.MoveTo(-2000000000, 10);
    c.LineTo(2000000000, 10);
    c.MoveTo(25, -2147483647 - 1);
    c.LineTo(25, 2147483647);
  });
  for (int x = 0; x < 50; ++x) EXPECT_TRUE(Is(img, x, 10, Qt::black)) << x;
  for (int y = 0; y < 20; ++y) EXPECT_TRUE(Is(img, 25, y, Qt::black)) << y;
  EXPECT_TRUE(Is(img, 10, 5, Qt::white));
  // Zoomed, ends beyond 32 bits on the device are first brought in along the segment.
  const QImage zoomed = Drawn(100, 60, [](TCanvas& c) {
    c.SetView(TVista{2.0, 0.0, 0.0, 1.0});
    c.MoveTo(-1500000000, -499999995);
    c.LineTo(1500000000, 500000005);
  });
  EXPECT_TRUE(SegmentDrawn(zoomed, QPoint(0, 10), QPoint(99, 43), Qt::black));
  // Cut by the canvas edges, a segment keeps the pixels it has on a canvas that holds it whole.
  const QImage cut = Drawn(100, 60, [](TCanvas& c) {
    c.MoveTo(-37, 5);
    c.LineTo(140, 58);
  });
  const QImage whole = Drawn(300, 60, [](TCanvas& c) {
    c.MoveTo(63, 5);
    c.LineTo(240, 58);
  });
  EXPECT_EQ(cut, whole.copy(100, 0, 100, 60));
  // A one-pixel segment leaves out its last pixel; a wide one is centred, an even width having
  // its extra row below the segment or its extra column right of it.
  const QImage thin = Drawn(20, 20, [](TCanvas& c) {
    c.MoveTo(2, 2);
    c.LineTo(10, 2);
    c.SetPenWidth(3);
    c.MoveTo(2, 10);
    c.LineTo(10, 10);
    c.SetPenWidth(2);
    c.MoveTo(2, 15);
    c.LineTo(10, 15);
    c.MoveTo(15, 2);
    c.LineTo(15, 8);
  });
  EXPECT_EQ(
      std::tuple(Is(thin, 2, 2, Qt::black), Is(thin, 9, 2, Qt::black), Is(thin, 10, 2, Qt::black)),
      std::tuple(true, true, false));
  for (int i = 8; i <= 17; ++i) {
    EXPECT_EQ(std::pair(Is(thin, 6, i, Qt::black), Is(thin, i, 5, Qt::black)),
              std::pair((i >= 9 && i <= 11) || i == 15 || i == 16, i == 15 || i == 16))
        << i;
  }
}

// Every ink pixel of one image has ink of the same colour within one pixel in the other.
bool CloseTo(const QImage& a, const QImage& b) {
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      bool near = (a.pixel(x, y) & 0xFFFFFFu) == 0xFFFFFFu;
      for (int dy = -1; dy <= 1 && !near; ++dy)
        for (int dx = -1; dx <= 1 && !near; ++dx) near = Is(b, x + dx, y + dy, a.pixel(x, y));
      if (!near) return false;
    }
  }
  return true;
}

// The same scene on a 32-bit image (written pixel by pixel) and on a 24-bit one (drawn by
// QPainter): discs alike, lines alike within one pixel.
TEST(Canvas, PixelWritesMatchQtsOwnDrawing) {
  // The drawing, whether the images must be equal, the least width of ink.
  const std::tuple<std::function<void(TCanvas&)>, bool, int> rows[] = {
      {[](TCanvas& c) {
         for (int w = 1; w <= 4; ++w) {
           c.SetPenWidth(w);
           c.SetBrushColor(w % 2 ? Qt::red : Qt::green);
           c.Ellipse(10 + 25 * w, 10, 16 + 25 * w, 16);
           c.Ellipse(5 + 25 * w, 40, 25 + 25 * w, 55);
         }
         c.Ellipse(-3, -3, 3, 3);  // cut by the corner
       },
       true, 0},
      {[](TCanvas& c) {
         // One zigzag per width, in its own band, with steep, shallow and diagonal pieces.
         const QPoint ends[] = {{2, 2}, {110, 8}, {60, 26}, {3, 12}, {40, 2}, {52, 27}};
         for (int w = 1; w <= 3; ++w) {
           c.SetPenWidth(w);
           c.SetPenColor(QColor(w * 60, 0, 255 - w * 60));
           const int top = 30 * (w - 1);
           c.MoveTo(ends[0].x(), ends[0].y() + top);
           for (const QPoint& p : ends) c.LineTo(p.x(), p.y() + top);
         }
       },
       false, 0},
      {[](TCanvas& c) {
         // Segments leaving the canvas on every side, or crossing it.
         const QPoint ends[][2] = {{{-40, 10}, {160, 80}},  {{60, 45}, {60, -300}},
                                   {{60, 45}, {400, 60}},   {{-5, 95}, {125, -5}},
                                   {{30, 200}, {90, -200}}, {{119, 0}, {0, 89}}};
         for (const auto& e : ends) {
           c.MoveTo(e[0].x(), e[0].y());
           c.LineTo(e[1].x(), e[1].y());
         }
       },
       false, 110}};
  for (const auto& [draw, exact, minInkWidth] : rows) {
    const QImage direct = Drawn(120, 90, draw);
    const QImage painted =
        Drawn(120, 90, draw, QImage::Format_RGB888).convertToFormat(QImage::Format_RGB32);
    EXPECT_TRUE(!exact || direct == painted) << minInkWidth;
    EXPECT_TRUE(CloseTo(direct, painted) && CloseTo(painted, direct)) << minInkWidth;
    EXPECT_GT(InkBox(direct).width(), minInkWidth);
  }
}

// What the vector exports replay: every operation with its own pen, fill and polygon.
TEST(Canvas, AReplayedRecordingDrawsTheSameImage) {
  const auto scene = [](TCanvas& c) {
    c.SetPenWidth(2);
    c.MoveTo(5, 5);
    c.LineTo(60, 30);
    c.SetBrushColor(Qt::green);
    c.Polygon({QPoint(10, 40), QPoint(30, 20), QPoint(50, 45)});
    c.SetBrushColor(Qt::blue);
    c.Polygon({QPoint(40, 5), QPoint(70, 5), QPoint(55, 25)});
    c.Ellipse(20, 20, 30, 30);
    // A U-shaped room, filled from the top of its left arm.
    c.SetPenWidth(1);
    c.SetBrushColor(Qt::red);
    c.MoveTo(62, 33);
    for (QPoint p : {QPoint(78, 33), QPoint(78, 48), QPoint(62, 48), QPoint(62, 33)})
      c.LineTo(p.x(), p.y());
    c.MoveTo(70, 33);
    c.LineTo(70, 44);
    c.FloodFill(64, 35, Qt::black);
  };
  QImage replayed = Drawn(80, 50, [](TCanvas&) {});
  const QImage drawn = Drawn(80, 50, [&](TCanvas& c) {
    scene(c);
    TCanvas target(&replayed);
    ReplayRecording(c.Recording(), target);
  });
  EXPECT_EQ(replayed, drawn);
  // The fill went down the left arm and up the right one, and stopped at the walls.
  EXPECT_EQ(std::tuple(Is(drawn, 64, 47, Qt::red), Is(drawn, 77, 34, Qt::red),
                       Is(drawn, 70, 40, Qt::black), Is(drawn, 79, 40, Qt::white)),
            std::tuple(true, true, true, true));
}

}  // namespace
}  // namespace qv
