// The index-based doubly connected edge list every method builds into.
//
// Conventions: there is no record for the unbounded region (an outer-boundary edge is a single
// half-edge with Twin -1); removal only marks entries (Origin -1 for a half-edge, face entry
// -1 for a face), so indices stay stable until Clear; vertex i is point i of the point set the
// subdivision was built over. The structure knows no coordinates.
#pragma once

#include <string>
#include <vector>

#include "geometry/Tipos.h"

namespace qv {

struct THalfEdge {
  int Origin = kNone;
  int Prev = kNone;
  int Next = kNone;
  int Twin = kNone;
  int Face = kNone;
  friend bool operator==(const THalfEdge&, const THalfEdge&) = default;
};

class TDCEL {
 public:
  // Per vertex: one half-edge leaving it, or -1.
  std::vector<int> Vertices;
  std::vector<THalfEdge> HalfEdges;
  // Per face: one half-edge of its boundary cycle, or -1 once the face is gone.
  std::vector<int> Faces;

  void Clear();

  // Grows the vertex table to cover v (new slots -1), then Vertices[v] := e.
  void SetVertexEdge(int v, int e);
  // Appends a half-edge, links prev.Next, next.Prev and twin.Twin to it when they name
  // existing half-edges, and makes it the origin's vertex edge.
  void AddHalfEdge(int origin, int prev, int next, int twin, int face);
  // Appends the cycle a -> b -> c -> a of three half-edges in the given face, with the twins of
  // its sides a-b, b-c and c-a (or kNone), and returns the index of a -> b; the others follow.
  int AddTriangle(int a, int b, int c, int twinAB, int twinBC, int twinCA, int face);
  // f = FaceCount() appends a face; otherwise overwrites an existing entry.
  void SetFaceEdge(int f, int e);
  void StoreFaceEdge(int f, int e) { Faces[f] = e; }
  void SetFace(int e, int f) { HalfEdges[e].Face = f; }

  int Origin(int e) const { return HalfEdges[e].Origin; }
  int Prev(int e) const { return HalfEdges[e].Prev; }
  int Next(int e) const { return HalfEdges[e].Next; }
  int Twin(int e) const { return HalfEdges[e].Twin; }
  int Destination(int e) const { return Origin(Next(e)); }
  void SetOrigin(int e, int v) { HalfEdges[e].Origin = v; }
  void SetPrev(int e, int p) { HalfEdges[e].Prev = p; }
  void SetNext(int e, int n) { HalfEdges[e].Next = n; }
  void SetTwin(int e, int t) { HalfEdges[e].Twin = t; }
  int VertexEdge(int v) const;
  int FaceEdge(int f) const;
  int FaceOf(int e) const;
  bool HasTwin(int e) const { return Twin(e) != kNone; }
  int VertexCount() const { return static_cast<int>(Vertices.size()); }
  int HalfEdgeCount() const { return static_cast<int>(HalfEdges.size()); }
  int FaceCount() const { return static_cast<int>(Faces.size()); }

  // The half-edge of face f's cycle leaving v (Next of the face edge tested first, the face
  // edge itself last), or -1.
  int FindEdgeInFace(int v, int f) const;
  // True when some half-edge of face f's cycle has no twin.
  bool FaceOnBoundary(int f) const;

  // Deletes the edge {e, Twin(e)} and merges e's face into the twin's face.
  void RemoveEdge(int e);
  // Removes the three edges of the triangle f; it and its three neighbours become one face.
  void RemoveFace(int f);
  // Replaces the diagonal e of two triangles by the other diagonal, reusing the records.
  // Inline: the Delaunay flips run it millions of times.
  inline void FlipEdge(int e);
  // Adds the diagonal a-b of face f; the new face is the chain from a forward to b.
  void SplitFace(int f, int a, int b);
  // Joins the new vertex apex inside f to the vertices first and last of f.
  void SplitFaceWithPath(int f, int first, int last, int apex);
  // Installs a subdivision of a convex polygon whose boundary this one already holds.
  void CopyFrom(const TDCEL& source, const std::vector<int>& edgeMap,
                const std::vector<int>& vertexMap);

  // Number of edges of the face cycle of f (0 for a removed face).
  int FaceDegree(int f) const;
  // Checks the structural invariants: next/prev inverse, one face per cycle and every cycle
  // recorded by its face, twins symmetric and reversed, vertex entries naming live half-edges
  // leaving the vertex. On failure returns false and, when why is given, says what broke.
  bool IsValid(std::string* why = nullptr) const;
};

inline void TDCEL::FlipEdge(int e) {
  const int t = Twin(e);
  if (t == kNone) return;
  const int en = Next(e), ep = Prev(e), tn = Next(t), tp = Prev(t);
  const int fe = HalfEdges[e].Face, ft = HalfEdges[t].Face;
  const int a = Origin(e), b = Origin(t);
  Vertices[a] = tn;
  Vertices[b] = en;
  if (Faces[fe] == en || Faces[fe] == e) Faces[fe] = ep;
  if (Faces[ft] == tn || Faces[ft] == t) Faces[ft] = tp;
  auto wire = [this](int x, int prev, int next, int face) {
    HalfEdges[x].Prev = prev;
    HalfEdges[x].Next = next;
    HalfEdges[x].Face = face;
  };
  wire(ep, t, tn, fe);
  wire(e, en, tp, ft);
  wire(en, tp, e, ft);
  wire(tp, e, en, ft);
  wire(t, tn, ep, fe);
  wire(tn, ep, t, fe);
  HalfEdges[e].Origin = Origin(ep);
  HalfEdges[t].Origin = Origin(tp);
}

}  // namespace qv
