// Drawing a result off screen, through the same operations as the window's canvas, into an
// image file: BMP, JPEG (libjpeg, baseline, quality 90), PNG, SVG and PDF as vector drawings
// (Qt's writers), or TikZ for LaTeX. The vector types replay what the canvas recorded, so
// every type shows what the canvas shows.
#pragma once

#include <QByteArray>
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
// True for the extensions written: bmp, jpg, jpeg, png, svg, pdf and tikz (any case).
bool ExportTypeKnown(const QString& path);
// What the canvas shows as the content of a file of the path's type; an unknown type fails.
QByteArray EncodeCanvasAs(const QString& path, TCanvas& canvas);
// Draws into the file named by path, of the type its extension names; a failure leaves no
// partial file.
void ExportDrawing(const QString& path, TDocumento& document, const TPenStyles& styles, int width,
                   int height, const TDrawFunction& draw);
// A finished subdivision result (edges and points, with the grid when asked) as a file.
void ExportSubdivision(const QString& path, const TNube& points, const TDCEL& result,
                       const TPenStyles& styles, int width, int height, bool grid, int sweepAngle);

}  // namespace qv
