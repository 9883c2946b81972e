#include "cli/ImageExport.h"

#include <QFileInfo>
#include <QString>

#include "app/Exportar.h"
#include "app/LienzoCaminos.h"
#include "app/LienzoCapas.h"
#include "geometry/UserError.h"

namespace qv::cli {

bool ImageTypeKnown(const std::string& path) {
  const QString ext = QFileInfo(QString::fromStdString(path)).suffix().toLower();
  for (const char* known : {"bmp", "jpg", "jpeg", "png", "svg"}) {
    if (ext == QLatin1String(known)) return true;
  }
  return false;
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

}  // namespace

void WriteResultImage(const TCliOptions& options, const TCliDocument& document) {
  TDocumento doc;
  doc.Points = document.Points;
  doc.CurrentPT = document.PT;
  doc.SweepAngle = options.Angle;
  const TPenStyles styles;  // the window's pens at start
  TDrawFunction draw;
  if (document.HasSubdivision && options.Method == "shortest-paths") {
    // The chooser's "Monocolor" stays off, as it starts in the window.
    draw = [&](TDrawing& d) {
      DrawShortestPathsResult(d, document.Ranges, options.Pockets, false);
    };
  } else if (document.HasSubdivision) {
    draw = [](TDrawing& d) { DrawSubdivisionResult(d); };
  } else if (options.Method == "layers") {
    draw = [layers = LayerTable(document)](TDrawing& d) { DrawConvexLayersResult(d, layers); };
  } else {
    throw UserError("--image cannot draw the result of method '" + options.Method + "' yet.");
  }
  ExportDrawing(QString::fromStdString(options.ImageFile), doc, styles, options.CanvasWidth,
                options.CanvasHeight, draw);
}

}  // namespace qv::cli
