// Incremental pseudo-triangulation with bounded face degree: installation of the chosen hull
// triangulation, point location, the nudge off edge lines and the two insertion rules.
//
// Every face met here is a triangle or a four-vertex pseudo-triangle (a "dart" with one reflex
// vertex): the hull triangulation consists of triangles, a point strictly inside a triangle
// leaves a triangle and a dart, and a point strictly inside a dart leaves two darts. A point is
// inserted only when it lies strictly inside its face and on no edge line of it, which keeps
// every new edge inside the face.
#include "methods/Incremental.h"

#include <algorithm>
#include <cassert>
#include <climits>
#include <cmath>
#include <functional>
#include <iterator>
#include <queue>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "geometry/FuncionesMatematicas.h"
#include "geometry/UserError.h"
#include "methods/Pasos.h"

namespace qv {
namespace {

__extension__ using Int128 = __int128;

bool FaceIsTriangle(int f, const TDCEL& pt) {
  const int e = pt.FaceEdge(f);
  return pt.Next(pt.Next(pt.Next(e))) == e;
}

// p lies on the closed segment a-b (exact).
bool OnClosedSegment(TPoint a, TPoint b, TPoint p) {
  if (OrientationSign(a, b, p) != 0) return false;
  return std::min(a.X, b.X) <= p.X && p.X <= std::max(a.X, b.X) && std::min(a.Y, b.Y) <= p.Y &&
         p.Y <= std::max(a.Y, b.Y);
}

// Last resort of the point location: the face whose crossing number holds p, exactly one for
// p strictly inside the hull. (Points on the hull boundary become vertices before any point is
// located.)
int FindFaceByScan(const TNube& points, TPoint p, const TDCEL& pt) {
  for (int f = 0; f < pt.FaceCount(); ++f)
    if (pt.FaceEdge(f) != kNone && PointInFace(points, f, p, pt)) return f;
  throw UserError("A point lies outside the convex hull.");
}

// Jump: a face index proportional to the position of p between the first and the last point
// along the axis.
int EstimatedFace(const TNube& points, TPoint p, const TDCEL& pt, char axis) {
  const int nf = pt.FaceCount();
  const bool alongY = axis == 'Y';
  const double lo = alongY ? points.front().Y : points.front().X;
  const double hi = alongY ? points.back().Y : points.back().X;
  const double at = alongY ? p.Y : p.X;
  int s = 0;
  if (hi != lo) s = static_cast<int>(std::nearbyint((nf - 1) * (at - lo) / (hi - lo)));
  return std::clamp(s, 0, nf - 1);
}

// Starts a walk: afterwards a face counts as entered only when marked during this walk.
void BeginWalk(TLocator& marks, int faces) {
  if (marks.Marks.size() < static_cast<size_t>(faces)) marks.Marks.resize(faces, 0);
  if (++marks.Walk == 0) {  // the counter wrapped: old marks could look current
    std::fill(marks.Marks.begin(), marks.Marks.end(), 0);
    marks.Walk = 1;
  }
}

// The half-edge of the current face crossed by the segment p - R nearest to p, leaving aside
// the twin of the entry half-edge `came`; kNone when no other one crosses. crossed tells
// whether any half-edge crossed at all.
int NearestCrossing(const TNube& points, TPoint p, TPoint R, int e, int came, const TDCEL& pt,
                    bool& crossed) {
  crossed = false;
  int best = kNone;
  double bestDistance = 0.0;
  int h = e;
  do {
    h = pt.Next(h);
    const TPoint a = points[pt.Origin(h)], b = points[pt.Destination(h)];
    if (SegmentIntersection(p, R, a, b) != ProperCrossing) continue;
    crossed = true;
    if (came != kNone && pt.Twin(h) == came) continue;
    TPointF x;
    LineIntersection(p, R, a, b, x);
    const double d = DistanceF({double(p.X), double(p.Y)}, x);
    if (best == kNone || d < bestDistance) {
      best = h;
      bestDistance = d;
    }
  } while (h != e);
  return best;
}

// The walk from face s along the segment from p to r, the origin of s's half-edge: the face
// holding p, or kNone when the walk dead-ends (it would enter a face entered before, or the
// segment slips past p through a vertex).
int WalkFrom(int s, int e, const TNube& points, TPoint p, const TDCEL& pt, TLocator& marks,
             int& facesEntered) {
  if (PointInFace(points, s, p, pt)) return s;
  const int nf = pt.FaceCount();
  BeginWalk(marks, nf);
  auto open = [&](int face) { return face != kNone && marks.Marks[face] != marks.Walk; };
  marks.Marks[s] = marks.Walk;
  ++facesEntered;
  const int r = pt.Origin(e);
  const TPoint R = points[r];
  int came = kNone;
  for (int step = 0; step <= nf; ++step) {
    const int current = pt.FaceOf(e);
    if (PointInFace(points, current, p, pt)) return current;
    bool crossed = false;
    const int best = NearestCrossing(points, p, R, e, came, pt, crossed);
    if (!crossed) {
      // The segment leaves r outside this face: turn around r towards p, to the side whose
      // direction is nearer to p's, never into a face entered before (a hull edge at r has no
      // face across).
      const int acrossNext = pt.FaceOf(pt.Twin(e)), acrossPrev = pt.FaceOf(pt.Twin(pt.Prev(e)));
      const TPoint A = points[pt.Origin(pt.Prev(e))], B = points[pt.Destination(e)];
      const double vx = double(p.X) - R.X, vy = double(p.Y) - R.Y;
      const double towardsB =
          (vx * (double(B.X) - R.X) + vy * (double(B.Y) - R.Y)) / Distance(R, B);
      const double towardsA =
          (vx * (double(A.X) - R.X) + vy * (double(A.Y) - R.Y)) / Distance(R, A);
      bool crossNext = towardsB >= towardsA && open(acrossNext);
      if (!crossNext && !open(acrossPrev)) crossNext = true;
      if (!open(crossNext ? acrossNext : acrossPrev)) return kNone;
      e = crossNext ? pt.Twin(e) : pt.Twin(pt.Prev(e));
      marks.Marks[pt.FaceOf(e)] = marks.Walk;
      ++facesEntered;
      for (int guard = pt.HalfEdgeCount(); pt.Origin(e) != r && guard != 0; --guard) e = pt.Next(e);
      continue;
    }
    // Only the entry edge crossed, yet p is not here: the segment slipped past p through a
    // vertex. Or the nearest crossing leaves the hull, or leads back into an entered face.
    if (best == kNone || !open(pt.FaceOf(pt.Twin(best)))) return kNone;
    came = best;
    e = pt.Twin(best);
    marks.Marks[pt.FaceOf(e)] = marks.Walk;
    ++facesEntered;
  }
  return kNone;
}

// The hull half-edge (no twin) leaving hull vertex v: turning from face to face across the
// half-edge leaving v ends at the one without twin.
int BoundaryEdgeLeaving(int v, const TDCEL& pt) {
  int e = pt.VertexEdge(v);
  for (int guard = pt.HalfEdgeCount(); guard != 0 && pt.Twin(e) != kNone; --guard)
    e = pt.Next(pt.Twin(e));
  return e;
}

// q lies strictly inside the hull whose boundary passes through vertex 0 (point 0 is the
// topmost point, always a hull corner, and never moves).
bool StrictlyInsideHull(const TNube& points, TPoint q, const TDCEL& pt) {
  const int first = BoundaryEdgeLeaving(0, pt);
  int e = first;
  for (int guard = pt.HalfEdgeCount(); guard != 0; --guard) {
    // Faces run counterclockwise on the screen: the interior is where a -> b -> q turns so.
    if (OrientationSign(points[pt.Origin(e)], points[pt.Destination(e)], q) >= 0) return false;
    e = BoundaryEdgeLeaving(pt.Destination(e), pt);
    if (e == first) return true;
  }
  return false;
}

// The hull boundary as StrictlyInsideHull walks it, as the points of its vertices (empty when
// the walk does not close). Only interior points are inserted and vertices never move, so it
// stays the hull for a whole construction; turning around each hull vertex on every nudge costs
// the degree of the hull's vertices, which grows with the points joined to them.
std::vector<TPoint> HullBoundary(const TNube& points, const TDCEL& pt) {
  std::vector<TPoint> boundary;
  const int first = BoundaryEdgeLeaving(0, pt);
  int e = first;
  for (int guard = pt.HalfEdgeCount(); guard != 0; --guard) {
    boundary.push_back(points[pt.Origin(e)]);
    e = BoundaryEdgeLeaving(pt.Destination(e), pt);
    if (e == first) return boundary;
  }
  return {};
}

bool StrictlyInsideBoundary(const std::vector<TPoint>& boundary, TPoint q) {
  const size_t n = boundary.size();
  for (size_t k = 0; k < n; ++k)
    if (OrientationSign(boundary[k], boundary[(k + 1) % n], q) >= 0) return false;
  return true;
}

// (y, x) order of the bounded-face-degree variant.
bool Before(TPoint a, TPoint b) {
  return a.Y < b.Y || (a.Y == b.Y && a.X < b.X);
}

// Moves point i to position k (the points between shift by one towards i) and renumbers the
// subdivision's vertices and the dragged point with them. Vertex i has no edges yet.
void MovePoint(int i, int k, TNube& points, TDCEL& pt, int* draggedPoint) {
  assert(!IsVertexPresent(i, pt));
  if (k == i) return;
  const int lo = std::min(i, k), hi = std::max(i, k);
  const int shift = k > i ? -1 : 1;  // what the points between i and k move by
  auto renumber = [&](int v) { return v == i ? k : (v >= lo && v <= hi ? v + shift : v); };
  if (k > i) {
    std::rotate(points.begin() + i, points.begin() + i + 1, points.begin() + k + 1);
  } else {
    std::rotate(points.begin() + k, points.begin() + i, points.begin() + i + 1);
  }
  if (draggedPoint && *draggedPoint != kNone) *draggedPoint = renumber(*draggedPoint);
  if (TRecorder* recorder = ActiveRecorder()) recorder->Renumber(lo, hi, renumber);
  bool anyVertex = false;
  for (int v = lo; v <= hi && !anyVertex; ++v) anyVertex = v != i && IsVertexPresent(v, pt);
  if (!anyVertex) return;
  if (pt.VertexCount() <= hi) pt.Vertices.resize(static_cast<size_t>(hi) + 1, kNone);
  std::vector<int> entries(pt.Vertices.begin() + lo, pt.Vertices.begin() + hi + 1);
  for (int v = lo; v <= hi; ++v) pt.Vertices[renumber(v)] = entries[v - lo];
  for (THalfEdge& h : pt.HalfEdges)
    if (h.Origin >= lo && h.Origin <= hi) h.Origin = renumber(h.Origin);
}

// The vertices of the hull face in cycle order from point 0 (the order in which
// InstallHullTriangulation numbers them).
std::vector<int> HullCycle(const TDCEL& pt) {
  std::vector<int> cycle;
  const int first = pt.VertexEdge(0);
  int e = first;
  for (int guard = pt.HalfEdgeCount(); guard != 0; --guard) {
    cycle.push_back(pt.Origin(e));
    e = pt.Next(e);
    if (e == first) break;
  }
  return cycle;
}

// Point p on the hull half-edge e = a -> b of the triangle a, b, c: e becomes a -> p, and the
// new edge p - c splits the triangle.
//
//          c                      c
//        /   \                  / | \          f keeps a -> p -> c,
//       a --e-> b     ==>      a  p  b         the new face is p -> b -> c.
void SplitBoundaryEdge(int e, int p, TDCEL& pt) {
  const int f = pt.FaceOf(e), eb = pt.Next(e), ec = pt.Next(eb);
  const int c = pt.Origin(ec);
  const int g = pt.FaceCount();
  const int h1 = pt.HalfEdgeCount();
  pt.AddHalfEdge(p, e, ec, kNone, f);  // p -> c
  const int h2 = pt.HalfEdgeCount();
  pt.AddHalfEdge(p, kNone, eb, kNone, g);  // p -> b, on the hull
  pt.AddHalfEdge(c, eb, h2, h1, g);        // c -> p
  pt.SetFace(eb, g);
  pt.SetFaceEdge(g, h2);
  pt.StoreFaceEdge(f, e);
}

// Makes every point lying on a hull side (not a corner) a vertex, while all faces are still
// triangles: its hull edge is split and it is joined to the opposite corner.
void InsertHullBoundaryPoints(const TNube& points, const std::vector<int>& corners, TDCEL& pt) {
  const int n = static_cast<int>(points.size()), h = static_cast<int>(corners.size());
  for (int j = 0; j < n; ++j) {
    if (IsVertexPresent(j, pt)) continue;
    bool onSide = false;
    for (int k = 0; k < h && !onSide; ++k)
      onSide = OnClosedSegment(points[corners[k]], points[corners[(k + 1) % h]], points[j]);
    if (!onSide) continue;
    int edge = kNone;
    for (int e = 0; e < pt.HalfEdgeCount() && edge == kNone; ++e)
      if (pt.Origin(e) != kNone && pt.Twin(e) == kNone &&
          OnClosedSegment(points[pt.Origin(e)], points[pt.Destination(e)], points[j]))
        edge = e;
    if (edge == kNone || !FaceIsTriangle(pt.FaceOf(edge), pt))
      throw UserError("The chosen triangulation does not fit the convex hull.");
    if (TRecorder* recorder = ActiveRecorder()) {
      const int a = pt.Origin(edge), b = pt.Destination(edge);
      const int c = pt.Origin(pt.Prev(edge));
      recorder->Step({{a, j}, {j, b}, {j, c}}, {{a, b}},
                     "Point {0} lies on hull edge {1}-{2}: it splits the edge and joins corner {3}",
                     {j, a, b, c});
    }
    SplitBoundaryEdge(edge, j, pt);
  }
}

}  // namespace

void InstallHullTriangulation(const TNube& points, const TDCEL& chosen, TDCEL& pt) {
  (void)points;
  const int n = pt.HalfEdgeCount();
  std::vector<int> edgeMap(static_cast<size_t>(n)), vertexMap(static_cast<size_t>(n));
  int h = pt.VertexEdge(0);
  for (int k = 0; k < n; ++k) {
    edgeMap[k] = h;
    vertexMap[k] = pt.Origin(h);
    h = pt.Next(h);
  }
  pt.CopyFrom(chosen, edgeMap, vertexMap);
}

bool IsVertexPresent(int i, const TDCEL& pt) {
  return pt.VertexEdge(i) != kNone;
}

bool PointInFace(const TNube& points, int f, TPoint p, const TDCEL& pt) {
  const int start = pt.FaceEdge(f);
  bool inside = false;
  int e = start;
  for (int guard = pt.HalfEdgeCount(); guard != 0; --guard) {
    const TPoint a = points[pt.Origin(e)], b = points[pt.Destination(e)];
    if (a.Y != b.Y && std::min(a.Y, b.Y) < p.Y && p.Y <= std::max(a.Y, b.Y) &&
        std::max(a.X, b.X) >= p.X) {
      if (a.X == b.X) {
        inside = !inside;
      } else {
        // p.x <= a.x + (p.y - a.y)(b.x - a.x) / (b.y - a.y), multiplied out by b.y - a.y.
        const Int128 lhs = Int128{int64_t{p.X} - a.X} * (int64_t{b.Y} - a.Y);
        const Int128 rhs = Int128{int64_t{p.Y} - a.Y} * (int64_t{b.X} - a.X);
        if (b.Y > a.Y ? lhs <= rhs : lhs >= rhs) inside = !inside;
      }
    }
    e = pt.Next(e);
    if (e == start) break;
  }
  return inside;
}

// The sweep line of the locator. Edges are named by one of their half-edges; an edge is on the
// line while its upper end (smaller y) is on or above it and its lower end strictly below. Edges
// never cross, so their order along the line stays the order in which the line met them.
struct TYSweep {
  // An edge on the line: its upper and lower ends (vertices never move) and a half-edge of it.
  struct TKey {
    TPoint Upper, Lower;
    int Edge;
  };
  static constexpr int kQuery = -1;  // the edge of the point being located, of length 0
  int32_t Y = INT32_MIN;

  static TKey KeyOf(const TNube& points, const TDCEL& pt, int h) {
    const TPoint a = points[pt.Origin(h)], b = points[pt.Destination(h)];
    return a.Y < b.Y ? TKey{a, b, h} : TKey{b, a, h};
  }
  // Edge a meets the line left of edge b, compared where the later of their upper ends lies. A
  // tie (a point on an edge's line) orders by index: such an answer is never trusted, every face
  // found is tested.
  struct TLess {
    bool operator()(const TKey& a, const TKey& b) const {
      int sign;  // below 0: b's point lies right of a
      if (a.Upper == b.Upper) {
        sign = OrientationSign(a.Upper, a.Lower, b.Lower);
      } else if (b.Upper.Y >= a.Upper.Y) {
        sign = OrientationSign(a.Upper, a.Lower, b.Upper);
      } else {
        sign = -OrientationSign(b.Upper, b.Lower, a.Upper);
      }
      return sign < 0 || (sign == 0 && a.Edge < b.Edge);  // a key against itself: sign 0
    }
  };
  using TLine = std::set<TKey, TLess>;
  using TEvent = std::pair<int32_t, int>;  // y, half-edge
  using TQueue = std::priority_queue<TEvent, std::vector<TEvent>, std::greater<TEvent>>;
  TLine Line;
  std::vector<TLine::iterator> Where;  // per half-edge on the line
  std::vector<char> OnLine;
  TQueue Arriving, Leaving;  // by the upper and by the lower end's y

  TYSweep(const TNube& points, const TDCEL& pt) {
    for (int h = 0; h < pt.HalfEdgeCount(); ++h)
      if (pt.Origin(h) != kNone && (pt.Twin(h) == kNone || h < pt.Twin(h)))
        Arriving.push({KeyOf(points, pt, h).Upper.Y, h});
  }

  void Add(const TNube& points, const TDCEL& pt, int h) {
    const TKey key = KeyOf(points, pt, h);
    if (key.Lower.Y <= Y) return;  // horizontal, or already passed
    if (OnLine.size() <= static_cast<size_t>(h)) {
      OnLine.resize(static_cast<size_t>(h) + 1, 0);
      Where.resize(static_cast<size_t>(h) + 1);
    }
    Where[h] = Line.insert(key).first;
    OnLine[h] = 1;
    Leaving.push({key.Lower.Y, h});
  }
  // The face holding p, or kNone when the line cannot tell (p above the line, or p beside an
  // edge whose faces do not hold it).
  int Locate(const TNube& points, TPoint p, const TDCEL& pt) {
    if (p.Y < Y) return kNone;
    Y = p.Y;
    while (!Leaving.empty() && Leaving.top().first <= Y) {
      const int h = Leaving.top().second;
      Leaving.pop();
      if (OnLine[h]) Line.erase(Where[h]), OnLine[h] = 0;
    }
    while (!Arriving.empty() && Arriving.top().first <= Y) {
      const int h = Arriving.top().second;
      Arriving.pop();
      Add(points, pt, h);
    }
    auto right = Line.lower_bound(TKey{p, p, kQuery});
    for (auto it : {right == Line.begin() ? Line.end() : std::prev(right), right}) {
      if (it == Line.end()) continue;
      for (const int h : {it->Edge, pt.Twin(it->Edge)})
        if (h != kNone && PointInFace(points, pt.FaceOf(h), p, pt)) return pt.FaceOf(h);
    }
    return kNone;
  }
  // Vertex v was just joined by its two edges.
  void Received(const TNube& points, int v, const TDCEL& pt) {
    const int e = pt.VertexEdge(v);
    Add(points, pt, e);
    if (pt.Twin(e) != kNone && pt.Next(pt.Twin(e)) != e) Add(points, pt, pt.Next(pt.Twin(e)));
  }
};

int TLocator::Column(const TNube& points, int64_t x) {
  if (ColumnEdges.empty()) {
    const auto [lo, hi] = std::minmax_element(points.begin(), points.end(),
                                              [](TPoint a, TPoint b) { return a.X < b.X; });
    Left = lo->X;
    Width = int64_t{hi->X} - lo->X + 1;
    // A column receives a point about every `columns` insertions: more columns bring the last
    // point of p's column closer in x but farther up in y. The walk crosses faces both ways, so
    // the square root balances the two.
    ColumnEdges.assign(static_cast<size_t>(std::sqrt(double(points.size()))) + 1, kNone);
  }
  const int64_t columns = static_cast<int64_t>(ColumnEdges.size());
  return static_cast<int>(std::clamp<int64_t>((x - Left) * columns / Width, 0, columns - 1));
}

void TLocator::Received(const TNube& points, int v, int f, const TDCEL& pt) {
  PreviousEdge = pt.FindEdgeInFace(v, f);
  if (StartAtPrevious) ColumnEdges[Column(points, points[v].X)] = PreviousEdge;
  if (Sweep) Sweep->Received(points, v, pt);
}

int LocateFace(const TNube& points, TPoint p, const TDCEL& pt, char axis, int* facesEntered,
               TLocator* locator) {
  int walked = 0;
  if (!facesEntered) facesEntered = &walked;
  *facesEntered = 0;
  TLocator local;
  TLocator& marks = locator ? *locator : local;
  if (locator && marks.StartAtPrevious) {
    if (!marks.Sweep) marks.Sweep = std::make_shared<TYSweep>(points, pt);
    const int f = marks.Sweep->Locate(points, p, pt);
    if (f != kNone) return f;
  }
  if (marks.StartAtPrevious && marks.PreviousEdge != kNone) {
    int e = marks.ColumnEdges[marks.Column(points, p.X)];
    if (e == kNone) e = marks.PreviousEdge;
    const int f = WalkFrom(pt.FaceOf(e), e, points, p, pt, marks, *facesEntered);
    if (f != kNone) return f;
  }
  const int s = EstimatedFace(points, p, pt, axis);
  const int f = WalkFrom(s, pt.FaceEdge(s), points, p, pt, marks, *facesEntered);
  return f != kNone ? f : FindFaceByScan(points, p, pt);
}

TCollinearEdge FindCollinearEdge(int i, int f, const TNube& points, const TDCEL& pt) {
  const TPoint p = points[i];
  const int start = pt.FaceEdge(f);
  int e = start;
  for (int guard = pt.HalfEdgeCount(); guard != 0; --guard) {
    const TPoint a = points[pt.Origin(e)], d = points[pt.Destination(e)];
    if (OrientationSign(a, d, p) == 0) return {true, d.X == p.X, d.Y == p.Y};
    e = pt.Next(e);
    if (e == start) break;
  }
  return {};
}

int NudgeInsertPoint(int i, TNube& points, bool sameY, TDCEL& pt, int* draggedPoint,
                     bool backwardFirst, const std::vector<TPoint>* hull) {
  // The forward move first (down or right); where it would leave the interior of the hull, the
  // backward move (up or left). A point that had to move backward keeps doing so, or it would
  // swing between two edge lines.
  const TPoint p = points[i];
  TPoint q = p;
  for (const bool forward : {!backwardFirst, backwardFirst}) {
    int32_t& coordinate = sameY ? q.Y : q.X;
    q = p;
    if (coordinate == (forward ? INT32_MAX : INT32_MIN)) continue;
    coordinate += forward ? 1 : -1;
    if (hull ? StrictlyInsideBoundary(*hull, q) : StrictlyInsideHull(points, q, pt)) break;
    q = p;
  }
  if (q == p)
    throw UserError("A point on the line of an edge cannot be moved off it inside the hull.");
  points[i] = q;
  const int n = static_cast<int>(points.size());
  int k = i;
  while (k + 1 < n && Before(points[k + 1], q)) ++k;
  while (k > 0 && Before(q, points[k - 1])) --k;
  MovePoint(i, k, points, pt, draggedPoint);
  return k;
}

void InsertInTriangle(int f, int i, const TNube& points, TDCEL& pt) {
  const int e = pt.FaceEdge(f);
  const int a = pt.Origin(e), b = pt.Destination(e), c = pt.Destination(pt.Next(e));
  const TPoint p = points[i];
  const double da = Distance(p, points[a]), db = Distance(p, points[b]),
               dc = Distance(p, points[c]);
  int first, last;
  if (da < db) {
    first = a;
    last = db < dc ? b : c;
  } else {
    first = b;
    last = da < dc ? a : c;
  }
  pt.SplitFaceWithPath(f, first, last, i);
}

int FirstReflexVertex(int f, const TNube& points, const TDCEL& pt) {
  const int start = pt.FaceEdge(f);
  int h = start;
  for (int guard = pt.HalfEdgeCount(); guard != 0; --guard) {
    const int a = pt.Origin(h), b = pt.Destination(h), c = pt.Destination(pt.Next(h));
    if (Orientation(points[a], points[b], points[c]) == Clockwise) return b;
    h = pt.Next(h);
    if (h == start) break;
  }
  return kNone;
}

void InsertInReflexFace(int f, int i, const TNube& points, TDCEL& pt) {
  const int r = FirstReflexVertex(f, points, pt);
  if (r == kNone) throw UserError("A face of the construction has no reflex vertex.");
  const int er = pt.FindEdgeInFace(r, f);
  const int w = pt.Destination(er), u = pt.Origin(pt.Prev(er));
  const int t = pt.Origin(pt.Prev(pt.Prev(er)));
  const TPoint p = points[i];
  if (Orientation(p, points[u], points[r]) == CounterClockwise &&
      Orientation(p, points[r], points[w]) == CounterClockwise) {
    pt.SplitFaceWithPath(f, u, w, i);
  } else {
    pt.SplitFaceWithPath(f, r, t, i);
  }
}

namespace {

// Reports point i joined inside face f by the half-edges from edges on: the two edges split f
// into f and the newest face.
[[gnu::cold, gnu::noinline]] void RecordInsertion(int i, int f, bool triangle, int edges,
                                                  const TDCEL& pt, TRecorder& recorder) {
  std::vector<int> named = {i};
  for (int e = edges; e < pt.HalfEdgeCount(); ++e)
    if (pt.Origin(e) == i) named.push_back(pt.Destination(e));
  const int g = pt.FaceCount() - 1;
  std::string text = "Point {0} falls in face " + std::to_string(f) +
                     (triangle ? " (a triangle)" : " (a pseudo-triangle)") + ": edges to {1} and " +
                     "{2} split it into faces of degree " + std::to_string(pt.FaceDegree(f)) +
                     " and " + std::to_string(pt.FaceDegree(g));
  recorder.StepAdded(pt, edges, std::move(text), std::move(named));
}

// Point k was moved one pixel off the line of an edge of face f.
[[gnu::cold, gnu::noinline]] void RecordNudge(int k, int f, TRecorder& recorder) {
  recorder.Step({}, {},
                "Point {0} moved one pixel off the line of an edge of face " + std::to_string(f),
                {k});
}

}  // namespace

void InsertPointBoundedFace(int i, TNube& points, TDCEL& pt, int* draggedPoint, TLocator* locator) {
  // Every nudge moves a point one pixel; a run of them longer than the point count plus a
  // margin means the points cannot be freed from the edge lines.
  const int budget = static_cast<int>(points.size()) + 64;
  // On return every point up to index i is a vertex: after a forward nudge the point now at
  // index i is the one inserted (it may be a vertex already), after a backward nudge the moved
  // point.
  int at = i;
  int movedBack = kNone;  // index of the point that last moved backward
  for (int nudges = 0; nudges <= budget; ++nudges) {
    while (at <= i && IsVertexPresent(at, pt)) ++at;
    if (at > i) return;
    const int f = LocateFace(points, points[at], pt, 'Y', nullptr, locator);
    const TCollinearEdge line = FindCollinearEdge(at, f, points, pt);
    if (!line.Found) {
      const int edges = pt.HalfEdgeCount();
      const bool triangle = FaceIsTriangle(f, pt);
      if (triangle) {
        InsertInTriangle(f, at, points, pt);
      } else {
        InsertInReflexFace(f, at, points, pt);
      }
      if (TRecorder* recorder = ActiveRecorder())
        RecordInsertion(at, f, triangle, edges, pt, *recorder);
      if (locator) locator->Received(points, at, f, pt);
      continue;
    }
    const TPoint before = points[at];
    if (locator && locator->Hull.empty()) locator->Hull = HullBoundary(points, pt);
    const int k = NudgeInsertPoint(at, points, line.SameY, pt, draggedPoint, at == movedBack,
                                   locator && !locator->Hull.empty() ? &locator->Hull : nullptr);
    if (TRecorder* recorder = ActiveRecorder()) RecordNudge(k, f, *recorder);
    movedBack = Before(points[k], before) ? k : kNone;
    at = std::min(at, k);
  }
  throw UserError("A point could not be moved off the lines of the edges around it.");
}

void ReduceHullToCorners(const TNube& points, TDCEL& pt) {
  const std::vector<int> cycle = HullCycle(pt);
  const int h = static_cast<int>(cycle.size());
  std::vector<int> corners;
  for (int k = 0; k < h; ++k) {
    const TPoint a = points[cycle[(k + h - 1) % h]], b = points[cycle[k]],
                 c = points[cycle[(k + 1) % h]];
    if (OrientationSign(a, b, c) != 0) corners.push_back(cycle[k]);
  }
  if (static_cast<int>(corners.size()) == h) return;
  // Rebuild face 0 through the corners only, half-edge k leaving the k-th corner after point 0.
  pt.Clear();
  pt.SetFaceEdge(0, 0);
  const int n = static_cast<int>(corners.size());
  for (int k = 0; k < n; ++k) pt.AddHalfEdge(corners[k], k - 1, k == n - 1 ? 0 : kNone, kNone, 0);
}

void CompleteIncrementalFace(TNube& points, int& draggedPoint, const TDCEL& chosen, TDCEL& pt,
                             bool startAtPrevious) {
  const std::vector<int> corners = HullCycle(pt);
  const int n = static_cast<int>(corners.size());
  if (n > 3) {
    // A triangulation of the n-gon: n vertices, n - 3 diagonals, n - 2 triangles.
    if (chosen.VertexCount() != n || chosen.HalfEdgeCount() != n + 2 * (n - 3) ||
        chosen.FaceCount() != n - 2)
      throw UserError("The chosen triangulation does not fit the convex hull.");
    InstallHullTriangulation(points, chosen, pt);
    if (TRecorder* recorder = ActiveRecorder())
      recorder->StepTo(pt, "The hull triangulated as chosen: " + std::to_string(n - 3) +
                               (n == 4 ? " diagonal" : " diagonals"));
  }
  InsertHullBoundaryPoints(points, corners, pt);
  TLocator locator;
  locator.StartAtPrevious = startAtPrevious;
  for (int i = 0; i < static_cast<int>(points.size()); ++i)
    if (!IsVertexPresent(i, pt)) InsertPointBoundedFace(i, points, pt, &draggedPoint, &locator);
}

}  // namespace qv
