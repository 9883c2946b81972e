#include "app/Exportar.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPageSize>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <regex>

#include "app/Jpeg.h"
#include "app/LienzoGrabacion.h"
#include "geometry/UserError.h"

namespace qv {

namespace {

const char* const kKnownTypes[] = {"bmp", "jpg", "jpeg", "png", "svg", "pdf", "tikz"};

void CheckSize(int width, int height) {
  if (width < 1 || height < 1 || width > 20000 || height > 20000) {
    throw UserError("The canvas size must be between 1 and 20000 pixels on each side.");
  }
}

[[noreturn]] void UnknownType(const QString& type) {
  throw UserError("Unknown image type '" + type.left(40).toStdString() +
                  "': use .bmp, .jpg, .png, .svg, .pdf or .tikz.");
}

// Qt's name of a raster type, "JPG" for libjpeg's, or nullptr for a type that is no raster.
const char* RasterFormat(const QString& type) {
  const QString t = type.toLower();
  if (t == QLatin1String("jpg") || t == QLatin1String("jpeg")) return "JPG";
  if (t == QLatin1String("bmp")) return "BMP";
  if (t == QLatin1String("png")) return "PNG";
  return nullptr;
}

// A blank raster of the canvas's size; refused when memory is short.
QImage BlankImage(int width, int height) {
  CheckSize(width, height);
  QImage image(width, height, QImage::Format_RGB32);
  if (image.isNull()) {
    throw UserError("Not enough memory for a canvas of " + std::to_string(width) + " x " +
                    std::to_string(height) + " pixels.");
  }
  image.fill(Qt::white);
  return image;
}

std::string SvgBytes(const TCanvasRecording& recording, int width, int height) {
  QByteArray svg;
  QBuffer buffer(&svg);
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
  // The generator states the size in millimetres at its resolution; viewers read a pixel as
  // 1/96 inch, so the size is stated in pixels, the canvas's own unit.
  std::string text = svg.toStdString();
  static const std::regex kSize(R"(width="[0-9.]+mm" height="[0-9.]+mm")");
  return std::regex_replace(
      text, kSize,
      "width=\"" + std::to_string(width) + "px\" height=\"" + std::to_string(height) + "px\"",
      std::regex_constants::format_first_only);
}

// One page of the canvas's size at 72 dots per inch: a pixel becomes a point.
std::string PdfBytes(const TCanvasRecording& recording, int width, int height) {
  QByteArray pdf;
  QBuffer buffer(&pdf);
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
  return pdf.toStdString();
}

}  // namespace

QString ImageType(const QString& path) {
  return QFileInfo(path).suffix().toLower();
}

bool ImageTypeWritten(const QString& type) {
  const QString t = type.toLower();
  for (const char* known : kKnownTypes) {
    if (t == QLatin1String(known)) return true;
  }
  return false;
}

bool ExportTypeKnown(const QString& path) {
  return ImageTypeWritten(ImageType(path));
}

std::string EncodeRaster(const QImage& image, const QString& type) {
  const char* format = RasterFormat(type);
  if (format == nullptr) UnknownType(type);
  if (std::string(format) == "JPG") {
    const std::vector<unsigned char> jpeg = EncodeJpeg(image, kJpegQuality);
    return std::string(jpeg.begin(), jpeg.end());
  }
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, format)) throw UserError("Bitmap image is not valid");
  return bytes.toStdString();
}

std::string EncodeCanvas(const QString& type, TCanvas& canvas) {
  const QString t = type.toLower();
  const TCanvasRecording& recording = canvas.Recording();
  const int w = canvas.Width(), h = canvas.Height();
  if (t == QLatin1String("svg")) return SvgBytes(recording, w, h);
  if (t == QLatin1String("pdf")) return PdfBytes(recording, w, h);
  if (t == QLatin1String("tikz")) return TikzPicture(recording, w, h);
  if (RasterFormat(t) == nullptr) UnknownType(type);
  const QImage* image = canvas.Image();
  if (image == nullptr) UnknownType(type);
  return EncodeRaster(*image, t);
}

std::string EncodeDrawing(const QString& type, TDocumento& document, const TPenStyles& styles,
                          int width, int height, const TDrawFunction& draw) {
  if (!ImageTypeWritten(type)) UnknownType(type);  // refused before anything is drawn
  QImage image = BlankImage(width, height);
  QImage compass;
  TCanvas canvas(&image);
  {
    TDrawing drawing(canvas, compass, document, styles);
    draw(drawing);
  }
  return EncodeCanvas(type, canvas);
}

}  // namespace qv
