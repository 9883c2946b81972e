#include "app/LienzoCapas.h"

namespace qv {

namespace {

class TLayerPainter {
 public:
  TLayerPainter(TDrawing& drawing, const TPTCapas& layers) : D(drawing), L(layers) {}

  void Paint() {
    for (int v = 0; v < L.Size(); ++v) {
      const TCapa& r = L[v];
      if (r.Layer == 0 || !Valid(v)) continue;
      if (Valid(r.LayerNext)) {
        Pen(SameLayer(v, r.LayerNext) ? TPenStyles::kConvexLayers : TPenStyles::kInterLayer);
        Segment(v, r.LayerNext);
      }
      if (Valid(r.Link1)) {
        if (!RepeatsRing(v, r.Link1)) Pen(TPenStyles::kInterLayer);
        Segment(v, r.Link1);
      }
      if (Valid(r.Link2)) {
        Pen(RepeatsRing(v, r.Link2) ? TPenStyles::kConvexLayers : TPenStyles::kInterLayer);
        Segment(v, r.Link2);
      }
    }
    D.Canvas.SetPenColor(Qt::black);
  }

 private:
  TDrawing& D;
  const TPTCapas& L;

  bool Valid(int i) const { return i >= 0 && i < L.Size() && i < D.Doc.PointCount(); }
  bool SameLayer(int v, int w) const { return L[v].Layer == L[w].Layer; }
  // The link names a ring neighbour of v on v's own layer.
  bool RepeatsRing(int v, int w) const {
    return SameLayer(v, w) && (w == L[v].LayerPrev || w == L[v].LayerNext);
  }
  void Pen(int style) {
    D.Canvas.SetPenColor(D.Styles[style].Color);
    D.Canvas.SetPenWidth(D.Styles[style].Width);
  }
  void Segment(int v, int w) {
    const TPoint& a = D.Doc.Points[static_cast<size_t>(v)];
    const TPoint& b = D.Doc.Points[static_cast<size_t>(w)];
    D.Canvas.MoveTo(a.X, a.Y);
    D.Canvas.LineTo(b.X, b.Y);
  }
};

}  // namespace

void DrawConvexLayers(TDrawing& drawing, const TPTCapas& layers) {
  TLayerPainter(drawing, layers).Paint();
}

void DrawConvexLayersResult(TDrawing& drawing, const TPTCapas& layers) {
  drawing.ClearCanvas();
  if (drawing.Doc.GridVisible) drawing.DrawGrid();
  DrawConvexLayers(drawing, layers);
  drawing.DrawPoints(false);
}

}  // namespace qv
