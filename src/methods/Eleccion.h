// The model behind the triangulation chooser: a triangulation of an abstract convex n-gon,
// stepped by flips. Vertices are 0 .. n-1, half-edges 0 .. n-1 are the boundary (half-edge k
// leaves vertex k, no twins) and every later half-edge belongs to a diagonal, the two
// half-edges of diagonal d being n + 2d and n + 2d + 1.
#pragma once

#include <string>
#include <vector>

#include "dcel/DCEL.h"
#include "geometry/Tipos.h"

namespace qv {

class TRandom;

class TTriangulationChoice {
 public:
  static constexpr int kSurfaceSize = 360;

  // Prepares a showing for n vertices: the last triangulation is kept when it has the same
  // size, otherwise the regular n-gon is laid out and triangulated by the fan from vertex 0.
  // Returns true when it started afresh.
  bool Prepare(int n);
  // Flip the diagonal at the current position, then move to the next (previous) diagonal,
  // cyclically. Nothing happens when there is no diagonal.
  void Next();
  void Prev();
  // 1 + R(3(n - 3)) flips of random diagonals; the position ends on the first half-edge of
  // the last flipped diagonal.
  void RandomFlips(TRandom& rng);

  const TDCEL& Triangulation() const { return triangulation_; }
  // Drawing positions of the vertices on the 360 x 360 surface.
  const TNube& Polygon() const { return polygon_; }
  int Size() const { return triangulation_.VertexCount(); }
  int FlipPosition() const { return position_; }
  int Diagonals() const { return Size() >= 3 ? Size() - 3 : 0; }

  // Set whenever the triangulation changes; consumed by the callers.
  bool Recompute = true;

 private:
  void Flip();

  TDCEL triangulation_;
  TNube polygon_;
  int position_ = 0;
};

// A vertex number written next to a vertex: the text's top-left corner.
struct TVertexLabel {
  std::string Text;
  int X = 0;
  int Y = 0;
};

// Where the vertex numbers go: outside a convex corner, inside a reflex one, along the angle's
// bisector. S's half-edges 0 .. n-1 are a counterclockwise polygon boundary, half-edge k
// leaving vertex k.
std::vector<TVertexLabel> VertexLabels(const TNube& points, const TDCEL& s);

}  // namespace qv
