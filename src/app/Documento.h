// The document the main window edits: the point set, the polygon drawn over it, the current
// pseudo-triangulation and the settings that steer its construction.
#pragma once

#include <QImage>
#include <QString>
#include <cstdint>

#include "dcel/DCEL.h"
#include "geometry/Tipos.h"

namespace qv {

// What a click on the canvas does.
enum class TEditMode : uint8_t {
  PlacePoints = 0,
  MovePoints = 1,
  RemovePoints = 2,
  ChainPolygon = 3,  // define the polygon by clicking existing points
  DrawPolygon = 4,   // define the polygon by placing new points
  FlipEdges = 5,     // flip edges of the shown pointed pseudo-triangulation
};

// The construction method executed on the points.
enum class TMethod : uint8_t {
  NoMethod = 0,
  SweepLine = 1,
  ConvexLayers = 2,
  TriangulateRemove = 3,
  Incremental = 4,
  ShortestPaths = 5,
};

struct TDocumento {
  // The point set in canvas pixels. When a polygon is defined its vertices are the points in
  // index order, closing back to point 0.
  TNube Points;
  // The result of the last execution; vertex i is Points[i].
  TDCEL CurrentPT;
  QImage BackgroundBitmap;
  // Sweep direction vector, derived from SweepAngle whenever the compass is drawn.
  double SweepDirX = 1.0;
  double SweepDirY = 0.0;
  bool GridVisible = false;
  // A result (or a polygon closed point by point) stands on the canvas: edits and redraw
  // requests run the selected method again.
  bool ResultShown = false;
  bool BackgroundLoaded = false;
  TEditMode EditMode = TEditMode::PlacePoints;
  // The point held by the mouse (move, remove) or hovered (chaining); kNone when none. It keeps
  // designating the same point across the reorderings of an execution.
  int DraggedPoint = kNone;
  TMethod SelectedMethod = TMethod::NoMethod;
  int SweepAngle = 0;  // degrees, 0..359, counterclockwise as displayed
  bool PolygonClosed = false;
  // Points chained so far in ChainPolygon mode (indices 0 .. PolygonLength - 1).
  int PolygonLength = 0;

  int PointCount() const { return static_cast<int>(Points.size()); }
  // Index of the point at exactly (x, y), or kNone.
  int PointAt(int x, int y) const;
  // Lowest index of a point within tolerance pixels of (x, y) on both axes, or kNone.
  int HitPoint(int x, int y, int tolerance) const;
};

// The text of status panel 1: "POINTS: " followed by the count.
QString PointsText(int count);

}  // namespace qv
