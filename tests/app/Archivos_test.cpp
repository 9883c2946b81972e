// The file commands of the window: Open, Save, Save As, Load background and Save image, driven
// through the toolbar, the menu keys and scripted file dialogs.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QImage>
#include <QImageReader>
#include <QRegularExpression>
#include <cmath>
#include <csignal>
#include <tuple>

#include "Pixeles.h"
#include "VentanaPrueba.h"
#include "app/Jpeg.h"
#include "app/Seams.h"

namespace qv {
namespace {

using test::InkBox;
using test::Is;
using test::SegmentDrawn;

const char* const kPtFilter = "PT Files (*.pt)|*.PT";

class Files : public test::Ventana {
 protected:
  // The file dialogs answer the path to the action's request.
  void Choose(const QString& path, QAction* action) {
    dialogs.Names = {path};
    action->trigger();
  }
  void Open(const QString& path) { Choose(path, form->tbCargar); }
  void OpenContent(const std::string& content) {
    Spit(Path("in.pt"), content);
    Open(Path("in.pt"));
  }
  void SaveAs(const QString& path) { Choose(path, form->tbGuardar); }
};

// Everything a failed command must leave as it was.
struct TSnapshot {
  TNube Points;
  TEditMode Mode;
  TMethod Method;
  bool ResultShown, PolygonClosed, BackgroundLoaded;
  QImage Canvas, Background;
  QString Caption, Count, Weight;
  bool operator==(const TSnapshot&) const = default;
};

// Some pixel of the point's disc (x - 3 .. x + 2, y - 3 .. y + 2) has the colour.
bool DiscHas(const QImage& img, int x, int y, const QColor& colour) {
  for (int dy = -3; dy <= 2; ++dy)
    for (int dx = -3; dx <= 2; ++dx)
      if (Is(img, x + dx, y + dy, colour)) return true;
  return false;
}

TSnapshot Snap(TForm1& f) {
  return {f.Doc.Points,        f.Doc.EditMode,         f.Doc.SelectedMethod, f.Doc.ResultShown,
          f.Doc.PolygonClosed, f.Doc.BackgroundLoaded, f.Pizarra->Surface(), f.Doc.BackgroundBitmap,
          f.windowTitle(),     f.StatusText(1),        f.LPeso->text()};
}

TEST_F(Files, SavedPointsComeBackSortedWithCaptionCountAndNoMethod) {
  ClickAll({{300, 350}, {100, 300}, {420, 220}, {200, 100}, {100, 200}});
  const TNube placed = form->Doc.Points;
  SaveAs(Path("cloud.pt"));
  EXPECT_EQ(Slurp(Path("cloud.pt")),
            "NUB\r\n300\r\n350\r\n100\r\n300\r\n420\r\n220\r\n200\r\n100\r\n100\r\n200\r\n");
  EXPECT_EQ(dialogs.Requests.back().Filter, QString::fromLatin1(kPtFilter));
  form->tbEjecutar->trigger();
  Key(Qt::Key_N);
  dialogs.Names = {Path("cloud.pt")};
  Key(Qt::Key_O);
  // Ascending x along the sweep direction (angle 0), the lower point first on a tie.
  EXPECT_EQ(form->Doc.Points, (TNube{{100, 300}, {100, 200}, {200, 100}, {300, 350}, {420, 220}}));
  EXPECT_EQ(form->Doc.SelectedMethod, TMethod::NoMethod);
  for (const TPoint& p : placed) EXPECT_TRUE(Is(Canvas(), p.X, p.Y, Qt::red));
  EXPECT_TRUE(Shown().empty());
}

TEST_F(Files, HeaderCountsOnlyWithThePolygonTool) {
  const TNube fileOrder{{100, 100}, {300, 120}, {200, 300}};
  const TNube sorted{{100, 100}, {200, 300}, {300, 120}};
  // The polygon tool chosen before, the header, then the document opened.
  const std::tuple<bool, const char*, TNube, TEditMode, bool> rows[] = {
      {false, "POL", sorted, TEditMode::PlacePoints, false},    // a point set without the tool
      {true, "POL", fileOrder, TEditMode::DrawPolygon, true},   // a polygon in file order
      {false, "pol", fileOrder, TEditMode::DrawPolygon, true},  // already drawing: any but "NUB"
      {false, "NUB", sorted, TEditMode::ChainPolygon, false},   // a set to chain, none chained yet
  };
  for (const auto& [tool, header, points, mode, closed] : rows) {
    if (tool) form->tbUnir->trigger();
    OpenContent(std::string(header) + "\r\n100\r\n100\r\n300\r\n120\r\n200\r\n300\r\n");
    EXPECT_EQ(std::tuple(form->Doc.Points, form->Doc.EditMode, form->Doc.PolygonClosed),
              std::tuple(points, mode, closed))
        << header;
    if (!tool) continue;
    // The opened polygon's outline, its first point highlighted.
    EXPECT_EQ(form->Doc.SelectedMethod, TMethod::ShortestPaths);
    const QImage img = Canvas();
    EXPECT_TRUE(DiscHas(img, 100, 100, QColor(0, 255, 0)));
    EXPECT_TRUE(SegmentDrawn(img, {110, 120}, {190, 280}, Qt::black));  // the closing edge
  }
  EXPECT_TRUE(Shown().empty());
}

TEST_F(Files, AFailedOpenLeavesDocumentAndCanvasAsTheyWere) {
  OpenContent("NUB\r\n100\r\n300\r\n200\r\n100\r\n300\r\n350\r\n420\r\n220\r\n");
  form->tbEjecutar->trigger();
  const TSnapshot before = Snap(*form);
  for (const char* bad : {"NUB\r\n1\r\n2\r\n3\r\n4\r\n5\r\nfive\r\n", "NUB\r\n1\r\n"}) {
    OpenContent(bad);
    ASSERT_EQ(Shown().size(), 1u) << bad;
    EXPECT_TRUE(Snap(*form) == before) << bad;
  }
  Open(Path("missing.pt"));
  EXPECT_EQ(Shown(), One("File does not exist. Cannot load."));
  EXPECT_TRUE(Snap(*form) == before);

  // A polygon that crosses itself is refused before anything changes.
  form->tbUnir->trigger();
  const TSnapshot polygonTool = Snap(*form);
  OpenContent("POL\r\n0\r\n0\r\n100\r\n100\r\n100\r\n0\r\n0\r\n100\r\n");
  EXPECT_EQ(Shown(), One("Polygon must be simple. No crossing edges allowed."));
  EXPECT_TRUE(Snap(*form) == polygonTool);
}

TEST_F(Files, SaveAsWritesThePolygonHeaderOnlyForAClosedShortestPathsPolygon) {
  form->tbUnir->trigger();  // a triangle drawn and closed with the polygon tool
  ClickAll({{100, 100}, {300, 120}, {200, 300}});
  Click(10, 10, Qt::RightButton);
  ASSERT_TRUE(form->Doc.PolygonClosed);
  SaveAs(Path("tri.pt"));
  EXPECT_EQ(Slurp(Path("tri.pt")), "POL\r\n100\r\n100\r\n300\r\n120\r\n200\r\n300\r\n");
  Key(Qt::Key_Z);  // the closing taken back
  SaveAs(Path("open.pt"));
  EXPECT_EQ(Slurp(Path("open.pt")), "NUB\r\n100\r\n100\r\n300\r\n120\r\n200\r\n300\r\n");
  SaveAs(QString());  // cancelled
  EXPECT_EQ(std::pair(FilesInDir(), Shown().empty()), std::pair(2, true));
}

TEST_F(Files, SaveAsksUntilSaveAsHasChosenAName) {
  Click(10, 20);
  dialogs.Names = {Path("a.pt")};
  Key(Qt::Key_S);  // no name yet: Save is Save As
  ASSERT_EQ(dialogs.Requests.size(), 1u);
  EXPECT_EQ(Slurp(Path("a.pt")), "NUB\r\n10\r\n20\r\n");
  Click(30, 40);
  Key(Qt::Key_S);  // now written without asking
  EXPECT_EQ(
      std::tuple(dialogs.Requests.size(), Slurp(Path("a.pt")), dialogs.Requests.back().Remembered),
      std::tuple(1u, "NUB\r\n10\r\n20\r\n30\r\n40\r\n", QString()));

  // A saved image does not become the points' file.
  Click(70, 80);
  Choose(Path("shot.bmp"), form->tbGuardarFondo);
  Key(Qt::Key_S);
  EXPECT_EQ(Slurp(Path("a.pt")), "NUB\r\n10\r\n20\r\n30\r\n40\r\n70\r\n80\r\n");
  EXPECT_EQ(dialogs.Requests.back().Remembered, Path("a.pt"));  // the dialog's own memory

  // After New, and after Open, Save asks again.
  for (QAction* action : {form->FNuevo, form->FAbrir}) {
    dialogs.Names = {action == form->FAbrir ? Path("a.pt") : QString()};
    action->trigger();
    Click(5, 5);
    const size_t asked = dialogs.Requests.size();
    Key(Qt::Key_S);  // cancelled
    EXPECT_EQ(dialogs.Requests.size(), asked + 1);
  }
  EXPECT_TRUE(Shown().empty());
  // Save As onto a file that exists asks first; "No" leaves the file as it was.
  const std::string kept = Slurp(Path("a.pt"));
  messages.Confirmations = {false};
  dialogs.Names = {Path("a.pt")};
  form->FGuardarComo->trigger();
  EXPECT_EQ(std::pair(Slurp(Path("a.pt")), messages.Questions.back()),
            std::pair(kept, QStringLiteral("a.pt already exists.\nDo you want to replace it?")));
}

TEST_F(Files, AFailedSaveLeavesTheOldFileAndNoTemporary) {
  form->tbGuardar->trigger();
  EXPECT_EQ(Shown(), One("No distribution to save."));
  EXPECT_TRUE(dialogs.Requests.empty());
  Spit(Path("keep.pt"), "NUB\r\n1\r\n2\r\n");
  for (int i = 0; i < 50; ++i) Click(20 + 10 * i, 300 + (i % 7));
  // Files may not grow past 16 bytes: the write fails half way, as on a full disk.
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  const rlimit small{16, old.rlim_max};
  setrlimit(RLIMIT_FSIZE, &small);
  SaveAs(Path("keep.pt"));
  setrlimit(RLIMIT_FSIZE, &old);
  EXPECT_EQ(std::tuple(Shown(), Slurp(Path("keep.pt")), FilesInDir()),
            std::tuple(One("Disk full"), "NUB\r\n1\r\n2\r\n", 1));
  SaveAs(Path("nowhere/x.pt"));
  EXPECT_EQ(std::pair(Shown(), FilesInDir()), std::pair(One("Folder not found"), 1));
}

TEST_F(Files, SaveImageWritesJpegBmpPngOrSvgByTheNamesType) {
  ClickAll({{100, 300}, {200, 100}, {300, 350}, {420, 220}});
  form->tbEjecutar->trigger();
  const QImage canvas = Canvas();
  for (const char* name : {"SHOT.JPG", "Shot.JpEg"}) {
    Choose(Path(name), form->tbGuardarFondo);
    const std::string bytes = Slurp(Path(name));
    EXPECT_EQ(DecodeJpeg(std::vector<unsigned char>(bytes.begin(), bytes.end())).size(),
              canvas.size());
  }
  std::filesystem::create_directories(dir / "dir.jpg");
  for (const char* name : {"shot.bmp", "shot", "dir.jpg/shot"}) {
    Choose(Path(name), form->tbGuardarFondo);
    QImageReader reader(Path(name), "BMP");
    EXPECT_EQ(reader.read().convertToFormat(QImage::Format_RGB32), canvas) << name;
  }
  // The drawing types hold what the canvas shows: after Clean canvas and one click, one point.
  for (int shown : {4, 1}) {
    const QString png = Path("shot" + std::to_string(shown) + ".png");
    const QString svg = Path("shot" + std::to_string(shown) + ".svg");
    Choose(png, form->tbGuardarFondo);
    EXPECT_EQ(QImage(png).convertToFormat(QImage::Format_RGB32), Canvas());
    Choose(svg, form->tbGuardarFondo);
    EXPECT_EQ(QString::fromStdString(Slurp(svg)).count(QStringLiteral("<circle")), shown);
    form->tbLimpiar->trigger();
    Click(50, 60);
  }
  EXPECT_TRUE(Shown().empty());
}

QImage Picture(QColor colour) {
  QImage picture(120, 80, QImage::Format_RGB32);
  picture.fill(colour);
  return picture;
}

TEST_F(Files, LoadBackgroundDecodesFirstAndKeepsTheDrawingOnFailure) {
  const QColor tan(200, 150, 100);
  ASSERT_TRUE(Picture(tan).save(Path("bg.bmp"), "BMP"));
  Click(30, 30);
  Choose(Path("bg.bmp"), form->tbCargarFondo);
  // No result shown: the image alone, centred, the point gone until the next redraw.
  const QSize size = form->Pizarra->Surface().size();
  const QPoint corner((size.width() - 120) / 2, (size.height() - 80) / 2);
  EXPECT_EQ(InkBox(Canvas()), QRect(corner, QSize(120, 80)));
  EXPECT_TRUE(Is(Canvas(), corner.x() + 5, corner.y() + 5, tan));

  // Damaged images: the decoder's message, drawing and background as they were.
  const TSnapshot before = Snap(*form);
  Spit(Path("bad.bmp"), "BM this is no bitmap");
  ASSERT_TRUE(Picture(Qt::blue).save(Path("real.png"), "PNG"));
  Spit(Path("bad.jpeg"), "\xFF\xD8 this is no jpeg");
  const std::pair<const char*, const char*> bad[] = {{"bad.bmp", "^Bitmap image is not valid$"},
                                                     {"real.png", "^Bitmap image is not valid$"},
                                                     {"bad.jpeg", "^JPEG error #\\d+$"},
                                                     {"missing.bmp", "^File not found$"}};
  for (const auto& [name, message] : bad) {
    Choose(Path(name), form->tbCargarFondo);
    const std::vector<QString> shown = Shown();
    ASSERT_EQ(shown.size(), 1u) << name;
    EXPECT_TRUE(shown[0].contains(QRegularExpression(message))) << name;
    EXPECT_TRUE(Snap(*form) == before) << name;
  }

  // A ".JPEG" file is decoded as JPEG; with a result shown the method runs over the image.
  const std::vector<unsigned char> jpeg = EncodeJpeg(Picture(Qt::gray));
  Spit(Path("grey.JPEG"), std::string(jpeg.begin(), jpeg.end()));
  ClickAll({{100, 300}, {200, 100}, {300, 350}});
  form->tbEjecutar->trigger();
  Choose(Path("grey.JPEG"), form->tbCargarFondo);
  EXPECT_TRUE(Shown().empty());
  const QImage img = Canvas();
  EXPECT_LT(
      std::abs(qGray(img.pixel(corner.x() + 5, corner.y() + 5)) - qGray(QColor(Qt::gray).rgb())),
      4);
  EXPECT_TRUE(Is(img, 200, 100, Qt::red));
  EXPECT_TRUE(SegmentDrawn(img, {110, 280}, {190, 120}, Qt::black));
}

TEST(DialogFilters, EachPairBecomesALabelWithItsPatternsInBothCases) {
  EXPECT_EQ(
      DialogNameFilters(QStringLiteral("Bitmap Files (*.bmp, *.jpg)|*.BMP;*.JPG|PT Files|*.PT")),
      (QStringList{QStringLiteral("Bitmap Files (*.BMP *.bmp *.JPG *.jpg)"),
                   QStringLiteral("PT Files (*.PT *.pt)")}));
}

}  // namespace
}  // namespace qv
