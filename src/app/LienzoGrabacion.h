// The record of what a canvas shows: every drawing operation since the canvas was last filled
// whole, with the pen and fill in force. Replayed onto a vector device it gives an SVG or PDF
// of the same drawing; written as TikZ it goes into a LaTeX document.
#pragma once

#include <QImage>
#include <QPoint>
#include <QRgb>
#include <QString>
#include <string>
#include <vector>

namespace qv {

class TCanvas;

struct TCanvasOp {
  enum TKind : uint8_t { Line, Ellipse, Polygon, FillRect, FloodFill, Draw, DrawAnd, Text };
  TKind Kind = Line;
  int X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;  // a segment's ends, a box, or a position
  QRgb Pen = 0;
  int PenWidth = 1;
  QRgb Brush = 0;
  int Item = -1;  // index into Images, Texts or Polygons
};

class TCanvasRecording {
 public:
  // A canvas filled whole shows nothing drawn before: the record starts again.
  void Clear();
  void Add(const TCanvasOp& op) { Ops.push_back(op); }
  int AddImage(const QImage& image);
  int AddText(const QString& text);
  int AddPolygon(const std::vector<QPoint>& vertices);

  std::vector<TCanvasOp> Ops;
  std::vector<QImage> Images;
  std::vector<QString> Texts;
  std::vector<std::vector<QPoint>> Polygons;
};

// Draws the recorded operations onto target, in order, each with its own pen and fill.
void ReplayRecording(const TCanvasRecording& recording, TCanvas& target);

// A TikZ picture of the recorded segments, points (discs), polygons and texts with the pens'
// colours and widths: the larger side of the width x height canvas becomes 12 cm and y grows
// upwards, so that the picture reads as on screen. Pixel operations (background pictures,
// flood fills) have no TikZ form and are left out.
std::string TikzPicture(const TCanvasRecording& recording, int width, int height);

}  // namespace qv
