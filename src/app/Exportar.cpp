#include "app/Exportar.h"

#include <QFileInfo>
#include <QSvgGenerator>

#include "app/Jpeg.h"
#include "geometry/UserError.h"

namespace qv {

namespace {

QString Extension(const QString& path) {
  return QFileInfo(path).suffix().toLower();
}

void CheckSize(int width, int height) {
  if (width < 1 || height < 1 || width > 20000 || height > 20000) {
    throw UserError("The canvas size must be between 1 and 20000 pixels on each side.");
  }
}

}  // namespace

QImage RenderImage(TDocumento& document, const TPenStyles& styles, int width, int height,
                   const TDrawFunction& draw) {
  CheckSize(width, height);
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::white);
  QImage compass;
  {
    TCanvas canvas(&image);
    TDrawing drawing(canvas, compass, document, styles);
    draw(drawing);
  }
  return image;
}

void RenderSvg(const QString& path, TDocumento& document, const TPenStyles& styles, int width,
               int height, const TDrawFunction& draw) {
  CheckSize(width, height);
  QSvgGenerator generator;
  generator.setFileName(path);
  generator.setSize(QSize(width, height));
  generator.setViewBox(QRect(0, 0, width, height));
  generator.setTitle(QStringLiteral("Quilvaron"));
  QImage compass;
  {
    TCanvas canvas(&generator, width, height);
    TDrawing drawing(canvas, compass, document, styles);
    draw(drawing);
  }
  if (!QFileInfo::exists(path)) throw UserError("Cannot write " + path.toStdString());
}

void SaveRaster(const QImage& image, const QString& path) {
  const QString ext = Extension(path);
  if (ext == QLatin1String("jpg") || ext == QLatin1String("jpeg")) {
    SaveJpeg(image, path, kJpegQuality);
    return;
  }
  const char* format = nullptr;
  if (ext == QLatin1String("bmp")) format = "BMP";
  if (ext == QLatin1String("png")) format = "PNG";
  if (format == nullptr) {
    throw UserError("Unknown image type '" + ext.toStdString() +
                    "': use .bmp, .jpg, .png or .svg.");
  }
  if (!image.save(path, format)) throw UserError("Cannot write " + path.toStdString());
}

void ExportDrawing(const QString& path, TDocumento& document, const TPenStyles& styles, int width,
                   int height, const TDrawFunction& draw) {
  if (Extension(path) == QLatin1String("svg")) {
    RenderSvg(path, document, styles, width, height, draw);
  } else {
    SaveRaster(RenderImage(document, styles, width, height, draw), path);
  }
}

void ExportSubdivision(const QString& path, const TNube& points, const TDCEL& result,
                       const TPenStyles& styles, int width, int height, bool grid, int sweepAngle) {
  TDocumento document;
  document.Points = points;
  document.CurrentPT = result;
  document.GridVisible = grid;
  document.SweepAngle = sweepAngle;
  ExportDrawing(path, document, styles, width, height,
                [](TDrawing& drawing) { DrawSubdivisionResult(drawing); });
}

}  // namespace qv
