// Drawing a result off screen, through the same operations as the window's canvas, into the
// content of an image file: BMP, JPEG (libjpeg, baseline, quality 90), PNG, or SVG as a vector
// drawing. Contents are built in memory and written by the one safe writer (io/Salida.h), so a
// file is never left half written and several outputs can be written together.
#pragma once

#include <QImage>
#include <QString>
#include <functional>
#include <string>

#include "app/Documento.h"
#include "app/Lienzo.h"

namespace qv {

using TDrawFunction = std::function<void(TDrawing&)>;

// A width x height raster drawn by draw.
QImage RenderImage(TDocumento& document, const TPenStyles& styles, int width, int height,
                   const TDrawFunction& draw);
// The same drawing as the text of an SVG file.
std::string RenderSvg(TDocumento& document, const TPenStyles& styles, int width, int height,
                      const TDrawFunction& draw);
// A raster as the content of a file of the given type: "bmp", "jpg" or "jpeg", "png" (any
// case); anything else fails.
std::string EncodeRaster(const QImage& image, const QString& type);
// The drawing as the content of a file of the given type, raster or "svg".
std::string EncodeDrawing(const QString& type, TDocumento& document, const TPenStyles& styles,
                          int width, int height, const TDrawFunction& draw);
// The type a file name asks for: its extension in lower case.
QString ImageType(const QString& path);
// Draws into the file named by path, of the type its extension names.
void ExportDrawing(const QString& path, TDocumento& document, const TPenStyles& styles, int width,
                   int height, const TDrawFunction& draw);
// A finished subdivision result (edges and points, with the grid when asked) as a file.
void ExportSubdivision(const QString& path, const TNube& points, const TDCEL& result,
                       const TPenStyles& styles, int width, int height, bool grid, int sweepAngle);

}  // namespace qv
