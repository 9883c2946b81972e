// The computing half of the incremental driver, shared by the window and the command-line
// tool: the sort of each variant, the refusals, the hull and the construction.
#include <string>

#include "geometry/UserError.h"
#include "methods/Constructores.h"
#include "methods/Ejecucion.h"
#include "methods/Incremental.h"
#include "methods/Pasos.h"

namespace qv {

int PrepareIncrementalFace(TNube& points, int& draggedPoint, TDCEL& pt) {
  if (points.size() < 3) throw UserError("At least 3 points are needed.");
  pt.Clear();
  // Ascending y, ties ascending x: the insertion order and the axis of the face estimate.
  SortPointsByDirection(points, 0, 1, draggedPoint);
  RefuseDegenerateSortedPoints(points, 0, 1);
  BuildHull(points, pt);
  ReduceHullToCorners(points, pt);
  if (TRecorder* recorder = ActiveRecorder()) {
    NoteSortedPoints(points.size(), "from the top down");
    recorder->StepTo(pt, "Convex hull: " + std::to_string(pt.HalfEdgeCount()) + " corners");
  }
  return pt.HalfEdgeCount();
}

void ComputeIncrementalFace(TNube& points, int& draggedPoint,
                            const std::function<TDCEL(int)>& choose, TDCEL& pt) {
  const int n = PrepareIncrementalFace(points, draggedPoint, pt);
  const TDCEL chosen = n > 3 ? choose(n) : TDCEL{};
  CompleteIncrementalFace(points, draggedPoint, chosen, pt);
}

void ComputeIncrementalVertex(TNube& points, int& draggedPoint, TDCEL& pt,
                              std::vector<int>* counters, bool indexed) {
  if (points.size() < 3) throw UserError("At least 3 points are needed.");
  pt.Clear();
  // Ascending x, ties descending y: an index range stands for an x range.
  SortPointsByDirection(points, 1, 0, draggedPoint);
  RefuseDegenerateSortedPoints(points, 1, 0);
  BuildHull(points, pt);
  AddHullBoundaryVertices(points, pt);
  if (TRecorder* recorder = ActiveRecorder()) {
    NoteSortedPoints(points.size(), "from left to right");
    recorder->StepTo(pt, "Convex hull: " + std::to_string(pt.FaceDegree(0)) +
                             " vertices, every point on its sides included");
  }
  RunBoundedVertexDegree(points, pt, counters, indexed);
}

}  // namespace qv
