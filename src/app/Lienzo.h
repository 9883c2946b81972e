// Rendering: the raster drawing surface (TCanvas) and the drawing operations that paint the
// document onto it. Everything is a function of the document and the pen styles, so the same
// code draws the window's canvas, a test's image and the command-line tool's exports.
#pragma once

#include <QColor>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QPoint>
#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "app/Documento.h"
#include "app/LienzoGrabacion.h"
#include "app/Vista.h"
#include "dcel/DCEL.h"
#include "geometry/Tipos.h"

namespace qv {

// A pen colour and width (pixels) chosen by the user for one use of the drawing.
struct TPenStyle {
  QColor Color;
  int Width = 1;
  friend bool operator==(const TPenStyle&, const TPenStyle&) = default;
};

// The seven pen styles, indexed 1 to 7.
class TPenStyles {
 public:
  static constexpr int kHull = 1;
  static constexpr int kInternalEdges = 2;
  static constexpr int kConvexLayers = 3;
  static constexpr int kInterLayer = 4;
  static constexpr int kPockets = 5;
  static constexpr int kPoints = 6;
  static constexpr int kSelectedPoints = 7;
  static constexpr int kCount = 7;

  TPenStyles() { SetDefaults(); }
  void SetDefaults();
  TPenStyle& operator[](int index);
  const TPenStyle& operator[](int index) const;

 private:
  std::array<TPenStyle, kCount> styles_;
};

// Fixed colours of the drawing.
inline const QColor kGridColor{192, 192, 192};
inline const QColor kCompassColor{166, 202, 240};

// A drawing surface with a current pen (colour, width; solid), a fill colour and a pen
// position. Boxes exclude their right and bottom bounds. Drawing outside is clipped. Built on
// a QImage every operation is available; on another paint device (an SVG generator) the pixel
// operations (FloodFill, DrawAnd) do nothing.
//
// Segments (MoveTo, LineTo) take document coordinates, which the canvas's view maps to its
// pixels; ellipses, rectangles, bitmaps and texts take pixels. The view also widens every pen by
// its device ratio, so that a high-density surface shows the same geometry with crisper lines.
// With the identity view (the default) a document point is its pixel.
//
// On a 32-bit image, segments, ellipses and rectangles are written straight into the pixels
// (a whole result redraws on every mouse move of a drag): a segment is the integer line from
// the pen position, its last pixel left out at width 1 (the next segment of a chain starts
// there) and both ends rounded by a round brush when wider; an ellipse is Qt's own rendering
// of it, made once per size and pens and then copied. Other devices go through QPainter.
// The font the canvas writes with, at the pixel size it has on a raster canvas.
QFont CanvasFont();

// What the canvas shows in document terms: segments, point discs and labels, with their pens.
// Drawn again through another view it gives the same picture at the new zoom, without
// computing anything again.
struct TDocumentOp {
  enum TKind : uint8_t { Segment, Disc, Label };
  TKind Kind = Segment;
  TPoint A, B;   // the ends of a segment; the centre of a disc or the place of a label
  int Size = 0;  // a disc's radius in screen pixels; a label's index into the texts
  QRgb Pen = 0;
  int PenWidth = 1;
  QRgb Brush = 0;
};

struct TDocumentPicture {
  std::vector<TDocumentOp> Ops;
  std::vector<QString> Texts;
};

class TCanvas {
 public:
  // Pen widths are drawn within 1 .. kMaxPenWidth, times the device ratio.
  static constexpr int kMaxPenWidth = 10;
  static constexpr int kMaxDeviceWidth = 4 * kMaxPenWidth;

  explicit TCanvas(QImage* image);
  TCanvas(QPaintDevice* device, int width, int height);
  ~TCanvas();
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  int Width() const { return width_; }
  int Height() const { return height_; }
  // The mapping from document coordinates to this surface's pixels.
  void SetView(const TVista& view);
  const TVista& View() const { return view_; }
  // The size the surface shows on the screen: its pixels over the device ratio.
  int ScreenWidth() const;
  int ScreenHeight() const;

  void SetPenColor(const QColor& color);
  void SetPenWidth(int width);
  void SetBrushColor(const QColor& color);
  QColor PenColor() const { return penColor_; }
  int PenWidth() const { return penWidth_; }
  QColor BrushColor() const { return brushColor_; }
  TPoint PenPos() const { return penPos_; }  // document coordinates

  void MoveTo(int x, int y);
  // Segment from the pen position to (x, y), which becomes the pen position; both in document
  // coordinates.
  void LineTo(int x, int y);
  // Only the pixels of LineTo(x, y) that the same segment drawn back from (x, y) would not
  // cover: at width 1 its first pixel, and at any width the steps where the integer walk
  // rounds a tie the other way. Followed later by the segment drawn back, it leaves what
  // both directions leave. On another paint device nothing is drawn. The pen moves to (x, y).
  void LineToUnlessDrawnBack(int x, int y);
  // A disc of radius screen pixels around the pixel of the document point (x, y): the box
  // from the centre - radius to the centre + radius, as Ellipse draws it.
  void Disc(int x, int y, int radius);
  // Text with its top-left corner where the view shows the document point (x, y).
  void TextAt(int x, int y, const QString& text);
  // Ellipse inscribed in the box (x1, y1) .. (x2, y2), outlined by the pen, filled.
  void Ellipse(int x1, int y1, int x2, int y2);
  // Closed polygon, outlined by the pen, filled.
  void Polygon(const std::vector<QPoint>& vertices);
  // Fills the box with the fill colour; no outline.
  void FillRect(int x1, int y1, int x2, int y2);
  // Fills, with the fill colour, the 4-connected region around (x, y) bounded by pixels of
  // the border colour. Nothing happens when (x, y) is outside or already of that colour.
  void FloodFill(int x, int y, const QColor& border);
  // Copies the bitmap with its top-left corner at (x, y), pixel for pixel.
  void Draw(int x, int y, const QImage& bitmap);
  // The bitmap stretched over the box (pixels), each pixel taking its nearest source pixel.
  void Draw(const QRectF& box, const QImage& bitmap);
  // Combines the bitmap with the surface by bitwise AND of the colour values.
  void DrawAnd(int x, int y, const QImage& bitmap);
  void TextOut(int x, int y, const QString& text);

  // Finishes pending painting, so that the image can be read or shown.
  void Flush();
  // The raster surface, flushed; nullptr for another paint device.
  const QImage* Image();
  // What the canvas shows, as operations since it was last filled whole.
  const TCanvasRecording& Recording() const { return recording_; }
  // The same in document terms; the grid and the background are not part of it.
  const TDocumentPicture& Picture() const { return picture_; }
  // Draws a picture through the current view.
  void DrawPicture(const TDocumentPicture& picture);
  // While off, what is drawn is left out of the picture.
  void SetPictureKept(bool kept) { pictureKept_ = kept; }
  bool PictureKept() const { return pictureKept_; }

 private:
  // Pixels of one ellipse as Qt draws it, relative to the box's top-left corner.
  struct TSprite {
    int Width, Height, PenWidth;
    QRgb Pen, Brush;
    std::vector<int> Dx, Dy;
    std::vector<QRgb> Colour;
  };

  QPainter& Painter();
  void ApplyPen();
  uint32_t* Bits();
  // onlyOneWay: only the pixels that the walk from the other end would not cover.
  void RasterSegment(TPoint from, TPoint to, bool onlyOneWay = false);
  // The pixels of the segment between two document points; false when it misses the surface.
  // far: an end was brought in from far off the surface, so the two directions differ.
  bool DeviceSegment(TPoint from, TPoint to, TPoint& a, TPoint& b, bool& far) const;
  void LinePixels(TPoint from, TPoint to);
  const TSprite& Sprite(int width, int height);
  void Record(TCanvasOp::TKind kind, int x1, int y1, int x2, int y2, int item = -1);

  QPaintDevice* device_;
  QImage* image_;
  int width_;
  int height_;
  bool direct_;              // a 32-bit image written pixel by pixel
  bool vectorFont_ = false;  // a vector device's text font is set
  std::unique_ptr<QPainter> painter_;
  QColor penColor_{Qt::black};
  int penWidth_ = 1;   // as asked
  int drawWidth_ = 1;  // in pixels: times the device ratio
  TVista view_;
  QColor brushColor_{Qt::white};
  TPoint penPos_;
  std::vector<TSprite> sprites_;
  TCanvasRecording recording_;
  TDocumentPicture picture_;
  bool pictureKept_ = true;
  void Keep(TDocumentOp::TKind kind, TPoint a, TPoint b, int size);
};

// Where DrawCompass starts its flood fill: inside the dart, in the half it points to.
QPoint CompassFillStart(int angle);
// Draws the 30 x 30 compass for the angle (degrees, counterclockwise as displayed) and
// derives the sweep direction vector from the same rounded cosine and sine.
void DrawCompass(QImage& compass, int angle, double& dirX, double& dirY);

// The drawing operations on one canvas, for one document and one set of pen styles.
class TDrawing {
 public:
  TDrawing(TCanvas& canvas, QImage& compass, TDocumento& document, const TPenStyles& styles)
      : Canvas(canvas), Compass(compass), Doc(document), Styles(styles) {}

  // White, then the centred background image when one is loaded. Ends the polygon under
  // definition and the shown result.
  void ClearCanvas();
  // A point: a 6-pixel disc over the box x-3 .. x+2, y-3 .. y+2, outlined in black.
  void DrawPoint(int x, int y, const TPenStyle& style);
  void DrawPoints(bool highlightFirst);
  // The polygon under definition, by edit mode. Fails when a drawn polygon crosses itself.
  void DrawPolygonOutline(bool closed);
  // Every live face cycle: outer-boundary edges in boundaryStyle, the others in innerStyle.
  void DrawPT(const TDCEL& subdivision, int boundaryStyle, int innerStyle);
  void DrawHalfEdgeRange(const TDCEL& subdivision, int first, int last, int style, bool thicker);
  // Positions of the sweep line every 10 pixels along the canvas edge, 1 pixel wide.
  void DrawGrid();
  void DrawCompass(int angle);
  // What the canvas shows, drawn again through its current view: the background, the grid when
  // it is on, and the picture it held. The document is left as it was.
  void DrawAgain();

  TCanvas& Canvas;
  QImage& Compass;
  TDocumento& Doc;
  const TPenStyles& Styles;

 private:
  bool ValidVertex(int v) const { return v >= 0 && v < Doc.PointCount(); }
  void DrawGridThroughView();
  void CheckPolygonSimple(bool closed) const;
};

// True when no two edges of the chain through the points in index order (closed back to point
// 0 when asked) cross properly; edges that share an end, touch or overlap on a line pass.
bool ChainWithoutCrossings(const TNube& points, bool closed);

// The drawing of a result held in the document's subdivision (sweep line, triangulate and
// remove, incremental): a cleared canvas, the grid when it is on, the edges and the points.
void DrawSubdivisionResult(TDrawing& drawing);

}  // namespace qv
