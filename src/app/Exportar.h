// Drawing a result off screen, through the same operations as the window's canvas, into the
// content of an image file: BMP, JPEG (libjpeg, baseline, quality 90), PNG, SVG and PDF as vector
// drawings (Qt's writers), or TikZ for LaTeX. The vector types replay what the canvas recorded,
// so every type shows what the canvas shows. Contents are built in memory and written by the one
// safe writer (io/Salida.h), so a file is never left half written and several outputs can be
// written together.
#pragma once

#include <QImage>
#include <QString>
#include <functional>
#include <string>

#include "app/Documento.h"
#include "app/Lienzo.h"

namespace qv {

using TDrawFunction = std::function<void(TDrawing&)>;

// The type a file name asks for: its extension in lower case.
QString ImageType(const QString& path);
// True for the types written: bmp, jpg, jpeg, png, svg, pdf and tikz (any case).
bool ImageTypeWritten(const QString& type);
// True when the path's extension names a type written.
bool ExportTypeKnown(const QString& path);
// A raster as the content of a file of the given type: "bmp", "jpg" or "jpeg", "png" (any
// case); anything else fails.
std::string EncodeRaster(const QImage& image, const QString& type);
// What the canvas shows as the content of a file of the given type; an unknown type fails, and
// so does a raster type for a canvas that is no raster.
std::string EncodeCanvas(const QString& type, TCanvas& canvas);
// The drawing as the content of a file of the given type; an unknown type fails before anything
// is drawn.
std::string EncodeDrawing(const QString& type, TDocumento& document, const TPenStyles& styles,
                          int width, int height, const TDrawFunction& draw);

}  // namespace qv
