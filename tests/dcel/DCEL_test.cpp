#include "dcel/DCEL.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "methods/Triangulos.h"

namespace qv {
namespace {

using V = std::vector<int>;
using testing_triangles::CycleFromSmallest;

// Vertices first .. first + n - 1 as a counterclockwise cycle of face f, built by hand: its
// half-edges follow in that order.
void AddCycle(TDCEL& d, int f, int first, int n) {
  const int h = d.HalfEdgeCount();
  d.SetFaceEdge(f, h);
  for (int i = 0; i < n; ++i)
    d.AddHalfEdge(first + i, i ? h + i - 1 : kNone, i == n - 1 ? h : kNone, kNone, f);
}

TDCEL Square() {
  TDCEL d;
  AddCycle(d, 0, 0, 4);
  return d;
}

void ExpectValid(const TDCEL& d) {
  std::string why;
  EXPECT_TRUE(d.IsValid(&why)) << why;
}

TEST(DCELBasics, EmptyGrowthAndTheHandBuiltSquare) {
  TDCEL d;
  EXPECT_EQ((V{d.VertexCount(), d.HalfEdgeCount(), d.FaceCount(), d.VertexEdge(0), d.FaceEdge(0),
               d.FaceOf(-1), d.FaceOf(0)}),
            (V{0, 0, 0, kNone, kNone, kNone, kNone}));
  d.SetVertexEdge(2, 9);  // grows with empty entries
  EXPECT_EQ((V{d.VertexCount(), d.VertexEdge(0), d.VertexEdge(1), d.VertexEdge(2)}),
            (V{3, kNone, kNone, 9}));
  d.Clear();
  d.AddHalfEdge(0, kNone, 0, kNone, 0);  // links only neighbours that exist, not itself
  EXPECT_EQ((V{d.VertexCount(), d.Prev(0), d.Next(0)}), (V{1, kNone, 0}));
  d = Square();
  ExpectValid(d);
  EXPECT_EQ((V{d.Prev(0), d.Next(3)}), (V{3, 0}));  // closing onto the first fills its Prev
  EXPECT_EQ(d.FindEdgeInFace(2, 0), 2);
  EXPECT_EQ(d.FindEdgeInFace(0, 0), 0);  // the face edge itself is tested last
  EXPECT_EQ(d.FindEdgeInFace(7, 0), kNone);
  EXPECT_TRUE(d.FaceOnBoundary(0));
}

// Edits of the square 0-1-2-3, checked by the cycles of its faces afterwards (none when dead):
// s splits by 0 -> 2 (half-edge 4, its twin 5), f flips 4, b flips boundary half-edge 0, e makes
// half-edge 5 the entry of face 1, r removes 4, p joins 1 and 3 through a new vertex 9.
TEST(DCELEdits, EditsOfTheSquareLeaveTheseFaces) {
  const std::pair<std::string, std::vector<V>> rows[] = {
      {"s", {{0, 2, 3}, {0, 1, 2}}},        // face 0 keeps 2 .. 0, face 1 gets 0 .. 2
      {"sf", {{0, 1, 3}, {1, 2, 3}}},       // 3 -> 1; each face keeps the edge before its half
      {"sff", {{0, 1, 2}, {0, 2, 3}}},      // back to 0 - 2, so the faces change sides
      {"sb", {{0, 2, 3}, {0, 1, 2}}},       // no twin: nothing
      {"sef", {{0, 1, 3}, {1, 2, 3}}},      // the entry on the flipped twin moves on
      {"sr", {{}, {0, 1, 2, 3}}},           // merged into the twin's face
      {"p", {{0, 1, 9, 3}, {1, 2, 3, 9}}},  // last .. first, apex; first .. last, apex
  };
  for (const auto& [ops, expected] : rows) {
    TDCEL d = Square();
    for (char op : ops) {
      if (op == 's') d.SplitFace(0, 0, 2);
      if (op == 'f' || op == 'b') d.FlipEdge(op == 'f' ? 4 : 0);
      if (op == 'e') d.StoreFaceEdge(1, 5);
      if (op == 'r') d.RemoveEdge(4);
      if (op == 'p') d.SplitFaceWithPath(0, 1, 3, 9);
    }
    ExpectValid(d);
    std::vector<V> faces;
    for (int f = 0; f < d.FaceCount(); ++f) faces.push_back(CycleFromSmallest(d, f));
    EXPECT_EQ(faces, expected) << ops;
  }
}

TEST(DCELEdits, RemoveFaceLeavesOneMergedFace) {
  // A triangle 0-1-2 (face 0) with an outer triangle (i+1) -> i -> 3+i on each edge (face 1+i).
  TDCEL d = testing_triangles::FromTriangles({{0, 1, 2}, {1, 0, 3}, {2, 1, 4}, {0, 2, 5}});
  ExpectValid(d);
  d.RemoveFace(0);
  ExpectValid(d);
  // Only the face across the third removed edge survives, around all six points.
  EXPECT_EQ((V{d.FaceEdge(0), d.FaceEdge(1), d.FaceEdge(2)}), V(3, kNone));
  EXPECT_EQ(CycleFromSmallest(d, 3), (V{0, 3, 1, 4, 2, 5}));
}

TEST(DCELEdits, CopyFromRenumbersBoundaryAndKeepsInnerIndices) {
  // Source: a quadrilateral 0..3 with diagonal 0-2, boundary half-edges 0..3.
  TDCEL src = Square();
  src.SplitFace(0, 0, 2);
  // Target: the same polygon over vertices 10, 11, 12, 13, its boundary half-edges numbered
  // in another order (target half-edge k stands for source half-edge (k + 1) % 4).
  TDCEL dst;
  dst.SetFaceEdge(0, 0);
  const V vertexMap{10, 11, 12, 13}, edgeMap{3, 0, 1, 2};
  for (int k = 0; k < 4; ++k)
    dst.AddHalfEdge(vertexMap[(k + 1) % 4], k ? k - 1 : kNone, k == 3 ? 0 : kNone, kNone, 0);
  dst.CopyFrom(src, edgeMap, vertexMap);
  ExpectValid(dst);
  EXPECT_EQ((V{dst.FaceCount(), dst.HalfEdgeCount()}), (V{2, 6}));
  EXPECT_EQ((V{dst.Origin(4), dst.Origin(5), dst.Twin(4), dst.Next(4), dst.Twin(edgeMap[0])}),
            (V{10, 12, 5, edgeMap[2], kNone}));
  EXPECT_EQ(CycleFromSmallest(dst, 0), (V{10, 12, 13}));
  EXPECT_EQ(CycleFromSmallest(dst, 1), (V{10, 11, 12}));
}

// One row per kind of damage; the reason names the invariant that broke.
TEST(DCELCheck, IsValidNamesEachKindOfDamage) {
  TDCEL d = Square();
  d.SplitFace(0, 0, 2);
  ExpectValid(d);
  const int inner = d.Twin(4) == kNone ? 5 : 4;  // a diagonal half-edge
  TDCEL twoCycles;                               // two triangles that both claim face 0
  for (int first : {0, 3}) AddCycle(twoCycles, 0, first, 3);
  const std::pair<std::function<void(TDCEL&)>, const char*> rows[] = {
      {[](TDCEL& b) { b.SetPrev(0, 2); }, "next/prev not inverse"},
      {[](TDCEL& b) { b.SetNext(0, 2); }, "next/prev not inverse"},
      {[](TDCEL& b) { b.SetNext(0, 99); }, "next/prev not live"},
      {[&](TDCEL& b) { b.SetTwin(inner, 1); }, "twin not symmetric"},
      {[](TDCEL& b) { b.SetTwin(0, 2), b.SetTwin(2, 0); }, "twin not reversed"},
      {[](TDCEL& b) { b.SetTwin(0, 1), b.SetTwin(1, 0); }, "twin in the same face"},
      {[](TDCEL& b) { b.SetFace(2, 1); }, "cycle changes face"},
      {[](TDCEL& b) {
         for (THalfEdge& h : b.HalfEdges) h.Face = h.Face == 1 ? 2 : h.Face;  // one past
       },
       "face missing"},
      {[&](TDCEL& b) { b.StoreFaceEdge(0, b.Twin(inner) == kNone ? inner : b.Twin(inner)); },
       "entry not on the face"},
      {[](TDCEL& b) { b.SetVertexEdge(3, 0); }, "entry does not leave it"},
      {[&](TDCEL& b) { b = twoCycles; }, "a second cycle"},
  };
  for (const auto& [damage, reason] : rows) {
    TDCEL bad = d;
    damage(bad);
    std::string why;
    EXPECT_FALSE(bad.IsValid(&why)) << reason;
    EXPECT_NE(why.find(reason), std::string::npos) << why << " / " << reason;
  }
}

}  // namespace
}  // namespace qv
