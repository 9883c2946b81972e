#include "app/Exportar.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QSvgGenerator>

#include "app/Jpeg.h"
#include "geometry/UserError.h"
#include "io/Salida.h"

namespace qv {

namespace {

void CheckSize(int width, int height) {
  if (width < 1 || height < 1 || width > 20000 || height > 20000) {
    throw UserError("The canvas size must be between 1 and 20000 pixels on each side.");
  }
}

// Qt's name of a raster type, "JPG" for libjpeg's, or nullptr for a type not written.
const char* RasterFormat(const QString& type) {
  const QString t = type.toLower();
  if (t == QLatin1String("jpg") || t == QLatin1String("jpeg")) return "JPG";
  if (t == QLatin1String("bmp")) return "BMP";
  if (t == QLatin1String("png")) return "PNG";
  return nullptr;
}

const char* KnownRasterFormat(const QString& type) {
  const char* format = RasterFormat(type);
  if (format == nullptr) {
    throw UserError("Unknown image type '" + type.left(40).toStdString() +
                    "': use .bmp, .jpg, .png or .svg.");
  }
  return format;
}

}  // namespace

QString ImageType(const QString& path) {
  return QFileInfo(path).suffix().toLower();
}

QImage RenderImage(TDocumento& document, const TPenStyles& styles, int width, int height,
                   const TDrawFunction& draw) {
  CheckSize(width, height);
  QImage image(width, height, QImage::Format_RGB32);
  if (image.isNull()) {
    throw UserError("Not enough memory for a canvas of " + std::to_string(width) + " x " +
                    std::to_string(height) + " pixels.");
  }
  image.fill(Qt::white);
  QImage compass;
  {
    TCanvas canvas(&image);
    TDrawing drawing(canvas, compass, document, styles);
    draw(drawing);
  }
  return image;
}

std::string RenderSvg(TDocumento& document, const TPenStyles& styles, int width, int height,
                      const TDrawFunction& draw) {
  CheckSize(width, height);
  QByteArray svg;
  QBuffer buffer(&svg);
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator generator;
  generator.setOutputDevice(&buffer);
  generator.setSize(QSize(width, height));
  generator.setViewBox(QRect(0, 0, width, height));
  generator.setTitle(QStringLiteral("Quilvaron"));
  QImage compass;
  {
    TCanvas canvas(&generator, width, height);
    TDrawing drawing(canvas, compass, document, styles);
    draw(drawing);
  }
  return svg.toStdString();
}

std::string EncodeRaster(const QImage& image, const QString& type) {
  const std::string format = KnownRasterFormat(type);
  if (format == "JPG") {
    const std::vector<unsigned char> jpeg = EncodeJpeg(image, kJpegQuality);
    return std::string(jpeg.begin(), jpeg.end());
  }
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, format.c_str())) throw UserError("Bitmap image is not valid");
  return bytes.toStdString();
}

std::string EncodeDrawing(const QString& type, TDocumento& document, const TPenStyles& styles,
                          int width, int height, const TDrawFunction& draw) {
  if (type.toLower() == QLatin1String("svg")) {
    return RenderSvg(document, styles, width, height, draw);
  }
  KnownRasterFormat(type);  // refused before anything is drawn
  return EncodeRaster(RenderImage(document, styles, width, height, draw), type);
}

void ExportDrawing(const QString& path, TDocumento& document, const TPenStyles& styles, int width,
                   int height, const TDrawFunction& draw) {
  WriteFileSafely(QFile::encodeName(path).toStdString(),
                  EncodeDrawing(ImageType(path), document, styles, width, height, draw));
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
