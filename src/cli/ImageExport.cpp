#include "cli/ImageExport.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>
#include <QString>

#include "app/Exportar.h"
#include "app/LienzoCaminos.h"
#include "app/LienzoCapas.h"
#include "geometry/UserError.h"

namespace qv::cli {

bool ImageTypeKnown(const std::string& path) {
  return ExportTypeKnown(QString::fromStdString(path));
}

namespace {

// The layer table back from the document's rows (x, y, layer, prev, next, link1, link2).
TPTCapas LayerTable(const TCliDocument& document) {
  TPTCapas layers;
  for (const std::vector<long long>& row : document.Layers) {
    TCapa r;
    int32_t* fields[] = {&r.X, &r.Y, &r.Layer, &r.LayerPrev, &r.LayerNext, &r.Link1, &r.Link2};
    for (size_t k = 0; k < 7 && k < row.size(); ++k) *fields[k] = static_cast<int32_t>(row[k]);
    layers.Records.push_back(r);
  }
  return layers;
}

void DropMessage(QtMsgType, const QMessageLogContext&, const QString&) {}

// Keeps Qt's messages away from the terminal while it lives.
class TQuietQt {
 public:
  TQuietQt() : previous_(qInstallMessageHandler(DropMessage)) {}
  ~TQuietQt() { qInstallMessageHandler(previous_); }
  TQuietQt(const TQuietQt&) = delete;
  TQuietQt& operator=(const TQuietQt&) = delete;

 private:
  QtMessageHandler previous_;
};

}  // namespace

// Text and charts need a GUI application (fonts, graphics widgets); the tool has none of its own,
// so one widgets application is made on the offscreen platform the first time one is needed.
void EnsureGuiApplication() {
  if (QCoreApplication::instance() != nullptr) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "quilvaron-cli";
  static char* argv[] = {name, nullptr};
  static QApplication application(argc, argv);
}

std::string ResultImage(const TCliOptions& options, const TCliDocument& document) {
  const TQuietQt quiet;
  TDocumento doc;
  doc.Points = document.Points;
  doc.CurrentPT = document.PT;
  doc.SweepAngle = options.Angle;
  const TPenStyles styles;  // the window's pens at start
  TDrawFunction draw;
  // Qt's PDF writer lays out its page with the platform's fonts.
  if (QFileInfo(QString::fromStdString(options.ImageFile)).suffix().toLower() ==
      QLatin1String("pdf"))
    EnsureGuiApplication();
  if (document.HasSubdivision && options.Method == "shortest-paths") {
    // The chooser's boxes as they start: "Labels" on, "Monocolor" off; "Pockets" from the
    // command line. The vertex numbers are text, which needs the platform's fonts.
    EnsureGuiApplication();
    const TShortestPathsLook look{true, options.Pockets, false};
    draw = [&document, look](TDrawing& d) {
      d.ClearCanvas();
      DrawShortestPaths(d, d.Doc.CurrentPT, document.Ranges, look);
    };
  } else if (document.HasSubdivision) {
    draw = [](TDrawing& d) { DrawSubdivisionResult(d); };
  } else if (options.Method == "layers") {
    draw = [layers = LayerTable(document)](TDrawing& d) { DrawConvexLayersResult(d, layers); };
  } else {
    throw UserError("--image cannot draw the result of method '" + options.Method + "' yet.");
  }
  if (options.Fit) {
    const TVista view =
        TVista::Fit(PointsBox(doc.Points), QSizeF(options.CanvasWidth, options.CanvasHeight),
                    TVista::kFitMargin);
    draw = [view, result = std::move(draw)](TDrawing& d) {
      d.Canvas.SetView(view);
      result(d);
    };
  }
  return EncodeDrawing(ImageType(QString::fromStdString(options.ImageFile)), doc, styles,
                       options.CanvasWidth, options.CanvasHeight, draw);
}

}  // namespace qv::cli
