// Drawing a result off screen, through the same operations as the window's canvas, into an
// image file: BMP, JPEG (libjpeg, baseline, quality 90), PNG, or SVG as a vector drawing.
#pragma once

#include <QImage>
#include <QString>
#include <functional>

#include "app/Documento.h"
#include "app/Lienzo.h"

namespace qv {

using TDrawFunction = std::function<void(TDrawing&)>;

// A width x height raster drawn by draw.
QImage RenderImage(TDocumento& document, const TPenStyles& styles, int width, int height,
                   const TDrawFunction& draw);
// The same drawing written as an SVG file.
void RenderSvg(const QString& path, TDocumento& document, const TPenStyles& styles, int width,
               int height, const TDrawFunction& draw);
// Writes a raster by the file's extension: .bmp, .jpg/.jpeg or .png; anything else fails.
void SaveRaster(const QImage& image, const QString& path);
// Draws into the file named by path, choosing raster or vector by its extension.
void ExportDrawing(const QString& path, TDocumento& document, const TPenStyles& styles, int width,
                   int height, const TDrawFunction& draw);
// A finished subdivision result (edges and points, with the grid when asked) as a file.
void ExportSubdivision(const QString& path, const TNube& points, const TDCEL& result,
                       const TPenStyles& styles, int width, int height, bool grid, int sweepAngle);

}  // namespace qv
