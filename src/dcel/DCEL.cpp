#include "dcel/DCEL.h"

#include <cassert>

namespace qv {

void TDCEL::Clear() {
  Vertices.clear();
  HalfEdges.clear();
  Faces.clear();
}

void TDCEL::SetVertexEdge(int v, int e) {
  assert(v >= 0);
  if (v >= VertexCount()) Vertices.resize(static_cast<size_t>(v) + 1, kNone);
  Vertices[v] = e;
}

void TDCEL::AddHalfEdge(int origin, int prev, int next, int twin, int face) {
  const int h = HalfEdgeCount();
  HalfEdges.push_back({origin, prev, next, twin, face});
  if (origin >= 0) SetVertexEdge(origin, h);
  if (prev >= 0 && prev < h) HalfEdges[prev].Next = h;
  if (next >= 0 && next < h) HalfEdges[next].Prev = h;
  if (twin != kNone) {
    assert(twin >= 0 && twin < h);
    HalfEdges[twin].Twin = h;
  }
}

int TDCEL::AddTriangle(int a, int b, int c, int twinAB, int twinBC, int twinCA, int face) {
  const int h = HalfEdgeCount();
  AddHalfEdge(a, kNone, kNone, twinAB, face);
  AddHalfEdge(b, h, kNone, twinBC, face);
  AddHalfEdge(c, h + 1, h, twinCA, face);
  return h;
}

void TDCEL::SetFaceEdge(int f, int e) {
  assert(f >= 0 && f <= FaceCount());
  if (f == FaceCount()) Faces.push_back(e);
  Faces[f] = e;
}

int TDCEL::VertexEdge(int v) const {
  return (v < 0 || v >= VertexCount()) ? kNone : Vertices[v];
}

int TDCEL::FaceEdge(int f) const {
  return (f < 0 || f >= FaceCount()) ? kNone : Faces[f];
}

int TDCEL::FaceOf(int e) const {
  return (e < 0 || e >= HalfEdgeCount()) ? kNone : HalfEdges[e].Face;
}

int TDCEL::FindEdgeInFace(int v, int f) const {
  const int start = Faces[f];
  int e = start;
  do {
    e = Next(e);
    if (Origin(e) == v) return e;
  } while (e != start);
  return kNone;
}

bool TDCEL::FaceOnBoundary(int f) const {
  const int start = Faces[f];
  int e = start;
  do {
    if (Twin(e) == kNone) return true;
    e = Next(e);
  } while (e != start);
  return false;
}

void TDCEL::RemoveEdge(int e) {
  const int t = Twin(e);
  assert(t != kNone && FaceOf(e) != FaceOf(t));
  const int ep = Prev(e), en = Next(e), tp = Prev(t), tn = Next(t);
  if (Vertices[Origin(e)] == e) Vertices[Origin(e)] = tn;
  if (Vertices[Origin(t)] == t) Vertices[Origin(t)] = en;
  const int survivor = HalfEdges[t].Face;
  Faces[HalfEdges[e].Face] = kNone;
  if (Faces[survivor] == t) Faces[survivor] = tn;
  HalfEdges[en].Prev = tp;
  HalfEdges[tp].Next = en;
  HalfEdges[ep].Next = tn;
  HalfEdges[tn].Prev = ep;
  // The surviving half-edges of e's former face now belong to the twin's face.
  for (int x = ep; x != en; x = Prev(x)) HalfEdges[x].Face = survivor;
  HalfEdges[en].Face = survivor;
  HalfEdges[e].Origin = kNone;
  HalfEdges[t].Origin = kNone;
}

void TDCEL::RemoveFace(int f) {
  int e = Faces[f];
  for (int i = 0; i < 3; ++i) {
    RemoveEdge(e);
    e = Next(e);
  }
  Faces[f] = kNone;
}

// Before: e = a->b is the shared diagonal of triangles a-b-c (face of e) and b-a-d (face of
// the twin t). After: e = c->d and t = d->c, triangles d-c-a and c-d-b, same sense of turn.
//
//        a                 a
//      / | .             /   .
//     c  e  d    ==>    c-----d
//      . | /             .   /
//        b                 b
void TDCEL::SplitFace(int f, int a, int b) {
  int ea = kNone, eb = kNone;
  const int start = Faces[f];
  int e = start;
  do {
    if (Origin(e) == a && ea == kNone) ea = e;
    if (Origin(e) == b && eb == kNone) eb = e;
    e = Next(e);
  } while ((ea == kNone || eb == kNone) && e != start);
  assert(ea != kNone && eb != kNone);
  const int pa = Prev(ea), pb = Prev(eb);
  const int n = FaceCount();
  SetFaceEdge(n, ea);
  Faces[f] = eb;
  AddHalfEdge(a, pa, eb, kNone, f);
  const int ab = HalfEdgeCount() - 1;
  AddHalfEdge(b, pb, ea, ab, n);
  const int ba = HalfEdgeCount() - 1;
  for (int x = ea; x != ba; x = Next(x)) HalfEdges[x].Face = n;
}

void TDCEL::SplitFaceWithPath(int f, int first, int last, int apex) {
  int ea = Faces[f];
  for (int guard = HalfEdgeCount(); Origin(ea) != first && guard != 0; --guard) ea = Next(ea);
  assert(Origin(ea) == first);
  const int pa = Prev(ea);
  const int fresh = FaceCount();
  AddHalfEdge(apex, kNone, ea, kNone, fresh);
  const int h1 = HalfEdgeCount() - 1;
  int el = ea;
  for (int guard = HalfEdgeCount(); Origin(el) != last && guard != 0; --guard) {
    HalfEdges[el].Face = fresh;
    el = Next(el);
  }
  assert(Origin(el) == last);
  Faces[f] = el;
  AddHalfEdge(last, Prev(el), h1, kNone, fresh);
  const int h2 = HalfEdgeCount() - 1;
  AddHalfEdge(first, pa, kNone, h1, f);
  const int h3 = HalfEdgeCount() - 1;
  AddHalfEdge(apex, h3, el, h2, f);
  SetFaceEdge(FaceCount(), ea);
}

void TDCEL::CopyFrom(const TDCEL& source, const std::vector<int>& edgeMap,
                     const std::vector<int>& vertexMap) {
  const int n = source.VertexCount();
  auto map = [&](int x) { return (x >= 0 && x < n) ? edgeMap[x] : x; };
  for (int i = 0; i < n; ++i) Vertices[vertexMap[i]] = map(source.Vertices[i]);
  Faces.resize(source.Faces.size());
  for (size_t k = 0; k < Faces.size(); ++k) Faces[k] = map(source.Faces[k]);
  HalfEdges.resize(source.HalfEdges.size());
  for (int i = 0; i < n; ++i) {
    const THalfEdge& s = source.HalfEdges[i];
    HalfEdges[edgeMap[i]] = {vertexMap[s.Origin], map(s.Prev), map(s.Next), kNone, s.Face};
  }
  for (int i = n; i < source.HalfEdgeCount(); ++i) {
    const THalfEdge& s = source.HalfEdges[i];
    const int origin = s.Origin < 0 ? kNone : vertexMap[s.Origin];
    HalfEdges[i] = {origin, map(s.Prev), map(s.Next), map(s.Twin), s.Face};
  }
}

int TDCEL::FaceDegree(int f) const {
  const int start = FaceEdge(f);
  if (start == kNone) return 0;
  int d = 0;
  int e = start;
  do {
    ++d;
    e = Next(e);
  } while (e != start && d <= HalfEdgeCount());
  return d;
}

bool TDCEL::IsValid(std::string* why) const {
  const int nh = HalfEdgeCount(), nf = FaceCount();
  auto live = [&](int e) { return e >= 0 && e < nh && HalfEdges[e].Origin != kNone; };
  auto fail = [&](const std::string& text) {
    if (why) *why = text;
    return false;
  };
  for (int e = 0; e < nh; ++e) {
    const THalfEdge& h = HalfEdges[e];
    if (h.Origin == kNone) continue;
    // The message is made only for the half-edge that fails.
    auto failAt = [&](const char* text) {
      return fail("half-edge " + std::to_string(e) + ": " + text);
    };
    if (!live(h.Next) || !live(h.Prev)) return failAt("next/prev not live");
    if (Prev(h.Next) != e || Next(h.Prev) != e) return failAt("next/prev not inverse");
    if (HalfEdges[h.Next].Face != h.Face) return failAt("cycle changes face");
    if (h.Face < 0 || h.Face >= nf || Faces[h.Face] == kNone) return failAt("face missing");
    if (h.Twin != kNone) {
      if (!live(h.Twin) || Twin(h.Twin) != e) return failAt("twin not symmetric");
      if (Origin(h.Twin) != Destination(e)) return failAt("twin not reversed");
      if (HalfEdges[h.Twin].Face == h.Face) return failAt("twin in the same face");
    }
  }
  // Each face entry names a live half-edge of that face, and its cycle holds all of them.
  std::vector<uint8_t> seen(static_cast<size_t>(nh), 0);
  for (int f = 0; f < nf; ++f) {
    if (Faces[f] == kNone) continue;
    if (!live(Faces[f]) || HalfEdges[Faces[f]].Face != f)
      return fail("face " + std::to_string(f) + ": entry not on the face");
    int e = Faces[f];
    do {
      seen[e] = 1;
      e = Next(e);
    } while (e != Faces[f]);
  }
  for (int e = 0; e < nh; ++e)
    if (live(e) && !seen[e])
      return fail("half-edge " + std::to_string(e) + ": a second cycle in its face");
  for (int v = 0; v < VertexCount(); ++v) {
    const int e = Vertices[v];
    if (e != kNone && (!live(e) || Origin(e) != v))
      return fail("vertex " + std::to_string(v) + ": entry does not leave it");
  }
  return true;
}

}  // namespace qv
