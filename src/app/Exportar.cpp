#include "app/Exportar.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QPageSize>
#include <QPdfWriter>
#include <QSvgGenerator>

#include "app/Jpeg.h"
#include "geometry/UserError.h"
#include "io/ArchivoPT.h"

namespace qv {

namespace {

const char* const kKnownTypes[] = {"bmp", "jpg", "jpeg", "png", "svg", "pdf", "tikz"};

QString Extension(const QString& path) {
  return QFileInfo(path).suffix().toLower();
}

void CheckSize(int width, int height) {
  if (width < 1 || height < 1 || width > 20000 || height > 20000) {
    throw UserError("The canvas size must be between 1 and 20000 pixels on each side.");
  }
}

QByteArray SvgBytes(const TCanvasRecording& recording, int width, int height) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator generator;
  generator.setOutputDevice(&buffer);
  generator.setSize(QSize(width, height));
  generator.setViewBox(QRect(0, 0, width, height));
  generator.setTitle(QStringLiteral("Quilvaron"));
  {
    TCanvas canvas(&generator, width, height);
    ReplayRecording(recording, canvas);
  }
  return buffer.data();
}

// One page of the canvas's size at 72 dots per inch: a pixel becomes a point.
QByteArray PdfBytes(const TCanvasRecording& recording, int width, int height) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    writer.setCreator(QStringLiteral("Quilvaron"));
    writer.setResolution(72);
    writer.setPageSize(
        QPageSize(QSizeF(width, height), QPageSize::Point, QString(), QPageSize::ExactMatch));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    TCanvas canvas(&writer, width, height);
    ReplayRecording(recording, canvas);
  }
  return buffer.data();
}

QByteArray RasterBytes(const QImage& image, const char* format) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, format)) throw UserError("Bitmap image is not valid");
  return bytes;
}

}  // namespace

bool ExportTypeKnown(const QString& path) {
  const QString ext = Extension(path);
  for (const char* known : kKnownTypes) {
    if (ext == QLatin1String(known)) return true;
  }
  return false;
}

QByteArray EncodeCanvasAs(const QString& path, TCanvas& canvas) {
  const QString ext = Extension(path);
  const TCanvasRecording& recording = canvas.Recording();
  const int w = canvas.Width(), h = canvas.Height();
  if (ext == QLatin1String("svg")) return SvgBytes(recording, w, h);
  if (ext == QLatin1String("pdf")) return PdfBytes(recording, w, h);
  if (ext == QLatin1String("tikz")) return QByteArray::fromStdString(TikzPicture(recording, w, h));
  const QImage* image = canvas.Image();
  if (image == nullptr || !ExportTypeKnown(path)) {
    throw UserError("Unknown image type '" + ext.toStdString() +
                    "': use .bmp, .jpg, .png, .svg, .pdf or .tikz.");
  }
  if (ext == QLatin1String("jpg") || ext == QLatin1String("jpeg")) {
    const std::vector<unsigned char> jpeg = EncodeJpeg(*image, kJpegQuality);
    return QByteArray(reinterpret_cast<const char*>(jpeg.data()),
                      static_cast<qsizetype>(jpeg.size()));
  }
  return RasterBytes(*image, ext == QLatin1String("png") ? "PNG" : "BMP");
}

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

void ExportDrawing(const QString& path, TDocumento& document, const TPenStyles& styles, int width,
                   int height, const TDrawFunction& draw) {
  CheckSize(width, height);
  if (!ExportTypeKnown(path)) {
    throw UserError("Unknown image type '" + Extension(path).toStdString() +
                    "': use .bmp, .jpg, .png, .svg, .pdf or .tikz.");
  }
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::white);
  QImage compass;
  TCanvas canvas(&image);
  {
    TDrawing drawing(canvas, compass, document, styles);
    draw(drawing);
  }
  WriteFileSafely(QFile::encodeName(path).toStdString(),
                  EncodeCanvasAs(path, canvas).toStdString());
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
