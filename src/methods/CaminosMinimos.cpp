// Geodesic insertion, pockets and the computing half of the shortest-paths driver.
#include "methods/CaminosMinimos.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "geometry/FuncionesMatematicas.h"
#include "geometry/UserError.h"
#include "methods/Constructores.h"
#include "methods/Pasos.h"
#include "methods/Triangulacion.h"

namespace qv {
namespace {

// p lies strictly between a and b on the segment a-b.
bool OnOpenSegment(TPoint a, TPoint b, TPoint p) {
  if (OrientationSign(a, b, p) != 0 || p == a || p == b) return false;
  return std::min(a.X, b.X) <= p.X && p.X <= std::max(a.X, b.X) && std::min(a.Y, b.Y) <= p.Y &&
         p.Y <= std::max(a.Y, b.Y);
}

// Splits u-v into the face that holds both ends, unless they are already joined there.
void InsertSegment(int u, int v, TDCEL& subdivision) {
  if (u == v) return;
  bool ok = false;
  const int f = FindSplitFace(u, v, subdivision, ok);
  if (ok) subdivision.SplitFace(f, u, v);
}

// The vertices of the hull cycle of the points, in its order, with every point that lies on a
// hull edge added between the edge's ends (ordered along the edge).
std::vector<int> HullBoundary(const TNube& points) {
  TDCEL hull;
  BuildHull(points, hull);
  if (hull.HalfEdgeCount() == 0) return {};
  ReduceToBoundary(points, hull);
  std::vector<int> corners;
  int e = 0;
  for (int guard = hull.HalfEdgeCount(); guard != 0; --guard) {
    corners.push_back(hull.Origin(e));
    e = hull.Next(e);
    if (e == 0) break;
  }
  const int n = static_cast<int>(points.size());
  std::vector<int> boundary;
  for (size_t k = 0; k < corners.size(); ++k) {
    const int a = corners[k], b = corners[(k + 1) % corners.size()];
    const TPoint pa = points[a], pb = points[b];
    std::vector<int> between;
    for (int c = 0; c < n; ++c)
      if (OnOpenSegment(pa, pb, points[c])) between.push_back(c);
    // Along a segment both coordinates change monotonically, so the distance from a along
    // either axis orders the points.
    std::sort(between.begin(), between.end(), [&](int x, int y) {
      const int64_t dx =
          std::abs(int64_t{points[x].X} - pa.X) - std::abs(int64_t{points[y].X} - pa.X);
      if (dx != 0) return dx < 0;
      return std::abs(int64_t{points[x].Y} - pa.Y) < std::abs(int64_t{points[y].Y} - pa.Y);
    });
    boundary.push_back(a);
    boundary.insert(boundary.end(), between.begin(), between.end());
  }
  return boundary;
}

}  // namespace

// ---- The polygon -------------------------------------------------------------------------

bool OrientPolygon(TNube& points) {
  TDCEL hull;
  BuildHull(points, hull);
  if (hull.HalfEdgeCount() < 3) return false;
  // Three or four consecutive hull corners appear along the polygon in the same cyclic order;
  // their indices tell whether the hull walk runs with increasing or decreasing index.
  const int a = hull.Origin(0), b = hull.Destination(0);
  const int e1 = hull.Next(0);
  const int c = hull.Destination(e1);
  const int d = hull.Destination(hull.Next(e1));
  if (a < b && b < c) return false;
  if (d > c && (b < c || b > a)) return false;
  std::reverse(points.begin(), points.end());
  return true;
}

// ---- Geodesics ---------------------------------------------------------------------------

int FindSplitFace(int u, int v, const TDCEL& subdivision, bool& ok) {
  const TDCEL& s = subdivision;
  ok = false;
  const int e0 = s.VertexEdge(u);
  if (e0 == kNone || v < 0 || v >= s.VertexCount()) return kNone;
  const int limit = s.HalfEdgeCount() + 1;
  // From e (leaving u), the first half-edge of the face cycle that leaves v, or the one leaving
  // u again when v is not on the face.
  auto walk = [&](int e) {
    int guard = limit;
    do e = s.Next(e);
    while (s.Origin(e) != u && s.Origin(e) != v && --guard != 0);
    return e;
  };
  // v found on face f at the half-edge e leaving it; split only when u-v is not a side of f.
  auto found = [&](int f, int e) {
    ok = s.Origin(s.Prev(e)) != u && s.Destination(e) != u;
    return f;
  };
  // Turn one way around u, from face to face across the half-edges entering u.
  int e = e0;
  for (int turns = 0; turns < limit; ++turns) {
    const int x = walk(e);
    if (s.Origin(x) == v) return found(s.FaceOf(e), x);
    e = s.Twin(s.Prev(x));
    if (e == kNone) break;      // the boundary is reached
    if (e == e0) return kNone;  // all around an inner vertex
  }
  // Then the other way, across the half-edges leaving u, starting beyond e0.
  if (s.Twin(e0) == kNone) return kNone;
  e = s.Next(s.Twin(e0));
  for (int turns = 0; turns < limit; ++turns) {
    const int x = walk(e);
    if (s.Origin(x) == v) return found(s.FaceOf(e), x);
    if (s.Twin(x) == kNone) return kNone;
    e = s.Next(s.Twin(x));
  }
  return kNone;
}

// ---- Triangulations of the abstract convex polygon ---------------------------------------

void ConvexPolygonFan(int m, TDCEL& t) {
  t.Clear();
  if (m < 3) return;
  BuildPolygon(TNube(static_cast<size_t>(m)), t);
  FanTriangulation(t);
}

void RandomConvexTriangulation(int m, const TRandomSource& random, TDCEL& t) {
  ConvexPolygonFan(m, t);
  if (m <= 3) return;
  const int flips = random(3 * (m - 3)) + 1;
  for (int i = 0; i < flips; ++i) {
    const int k = t.VertexCount() + random(t.HalfEdgeCount() - t.VertexCount());
    t.FlipEdge(k);
  }
}

// ---- Pockets -----------------------------------------------------------------------------

void FillPockets(const TNube& points, TDCEL& subdivision,
                 const TTriangulationSource& pocketTriangulation) {
  const int n = static_cast<int>(points.size());
  const std::vector<int> boundary = HullBoundary(points);
  const int count = static_cast<int>(boundary.size());
  for (int k = 0; k < count; ++k) {
    const int a = boundary[k], b = boundary[(k + 1) % count];
    if (b == (a + 1) % n) continue;  // a polygon edge on the hull
    // The lid a -> b closes the chain a, a + 1, ..., b; the pocket runs a, b, b - 1, ..., a + 1.
    const int b1 = b < a ? b + n : b;
    const int m = b1 - a + 1;
    TNube pocket(static_cast<size_t>(m));
    pocket[0] = points[a];
    for (int t = 1; t < m; ++t) pocket[t] = points[(b1 - t + 1) % n];
    TDCEL pocketSubdivision;
    const int edges = subdivision.HalfEdgeCount();
    PocketPT(pocket, pocketSubdivision, pocketTriangulation);
    MergePocket(a, subdivision, pocketSubdivision);
    if (TRecorder* recorder = ActiveRecorder())
      recorder->StepAdded(subdivision, edges,
                          "Pocket under hull edge {0}-{1} pseudo-triangulated by its geodesics",
                          {a, b});
  }
}

void PocketPT(const TNube& pocket, TDCEL& pocketSubdivision,
              const TTriangulationSource& pocketTriangulation) {
  const int m = static_cast<int>(pocket.size());
  BuildPolygon(pocket, pocketSubdivision);
  TDCEL triangulation;
  pocketTriangulation(m, triangulation);
  for (const auto& [u, v] : GeodesicSegments(pocket, triangulation))
    InsertSegment(u, v, pocketSubdivision);
}

void MergePocket(int a, TDCEL& subdivision, const TDCEL& pocketSubdivision) {
  const TDCEL& p = pocketSubdivision;
  const int m = p.VertexCount(), big = subdivision.VertexCount();
  const int b = (a + m - 1) % big;
  const int h0 = subdivision.HalfEdgeCount(), f0 = subdivision.FaceCount();
  auto shift = [h0](int x) { return x < 0 ? x : x + h0; };
  auto vertex = [&](int t) { return (a + (m - t) % m) % big; };
  for (int e = 0; e < p.HalfEdgeCount(); ++e) {
    int origin = vertex(p.Origin(e)), twin = shift(p.Twin(e));
    if (e == 0) {
      origin = a;  // the lid joins the outer boundary
      twin = kNone;
    } else if (e < m) {
      // The pocket side of the polygon chain, against the boundary half-edge running back.
      origin = (b - e + 1 + big) % big;
      twin = (b - e + big) % big;
    }
    // A twin further on is linked when that half-edge is appended (AddHalfEdge links both).
    if (twin >= subdivision.HalfEdgeCount()) twin = kNone;
    subdivision.AddHalfEdge(origin, shift(p.Prev(e)), shift(p.Next(e)), twin,
                            p.FaceOf(e) < 0 ? kNone : p.FaceOf(e) + f0);
  }
  for (int g = 0; g < p.FaceCount(); ++g) subdivision.SetFaceEdge(f0 + g, shift(p.FaceEdge(g)));
}

// ---- The computing half of the driver ----------------------------------------------------

namespace {

// The same insertion as the plain loop over GeodesicSegments, reported one geodesic a step (a
// geodesic whose segments are all there already adds none and is not a step).
void InsertGeodesicsRecorded(const TNube& points, const TDCEL& triangulation, TDCEL& result,
                             TRecorder& recorder) {
  std::vector<std::array<int, 2>> owners;
  const std::vector<std::array<int, 2>> segments = GeodesicSegments(points, triangulation, &owners);
  int start = result.HalfEdgeCount();
  for (size_t i = 0; i < segments.size(); ++i) {
    InsertSegment(segments[i][0], segments[i][1], result);
    if (i + 1 < segments.size() && owners[i + 1] == owners[i]) continue;
    const int added = (result.HalfEdgeCount() - start) / 2;  // a split adds two half-edges
    if (added > 0)
      recorder.StepAdded(result, start,
                         "Geodesic {0}-{1} inserted: " + std::to_string(added) +
                             (added == 1 ? " new segment" : " new segments"),
                         {owners[i][0], owners[i][1]});
    start = result.HalfEdgeCount();
  }
}

}  // namespace

TShortestPathsRun::TShortestPathsRun(TNube& points) : points_(points) {
  if (!IsSimplePolygon(points))
    throw UserError("Polygon must be simple. No crossing edges allowed.");
  reversed_ = OrientPolygon(points);
}

THalfEdgeRanges TShortestPathsRun::Compute(const TDCEL& triangulation, bool pockets,
                                           const TTriangulationSource& pocketTriangulation,
                                           TDCEL& result) {
  const int n = static_cast<int>(points_.size());
  if (triangulation.VertexCount() != n)
    throw std::invalid_argument("the triangulation's vertex count differs from the polygon's");
  result.Clear();
  BuildPolygon(points_, result);
  TRecorder* const recorder = ActiveRecorder();
  if (recorder) {
    recorder->StepAdded(result, 0, "Polygon: " + std::to_string(n) + " sides");
    InsertGeodesicsRecorded(points_, triangulation, result, *recorder);
  } else {
    for (const auto& [u, v] : GeodesicSegments(points_, triangulation)) InsertSegment(u, v, result);
  }
  THalfEdgeRanges ranges;
  ranges.PolygonEnd = result.VertexCount();
  ranges.ResultEnd = result.HalfEdgeCount();
  if (pockets) FillPockets(points_, result, pocketTriangulation);
  ranges.PocketsEnd = result.HalfEdgeCount();
  return ranges;
}

THalfEdgeRanges ShortestPathsPT(TNube& points, const TDCEL& triangulation, bool pockets,
                                const TRandomSource& random, TDCEL& result) {
  TShortestPathsRun run(points);
  return run.Compute(
      triangulation, pockets, [&](int m, TDCEL& t) { RandomConvexTriangulation(m, random, t); },
      result);
}

}  // namespace qv
