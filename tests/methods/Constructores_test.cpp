#include "methods/Constructores.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

using V = std::vector<int>;

// Origin and destination of every half-edge, in index order.
V Ends(const TDCEL& d) {
  V out;
  for (int e = 0; e < d.HalfEdgeCount(); ++e)
    out.insert(out.end(), {d.Origin(e), d.Destination(e)});
  return out;
}

TEST(BuildHull, NumberingOfTheWorkedExamples) {
  const std::pair<TNube, V> rows[] = {
      // A diamond around an inner point.
      {{{50, 0}, {100, 50}, {50, 100}, {0, 50}, {50, 50}}, {1, 0, 2, 1, 0, 3, 3, 2}},
      // T = 0; its counterclockwise neighbour is the bottommost point: the left chain is one edge.
      {{{10, 0}, {30, 20}, {0, 40}}, {1, 0, 2, 1, 0, 2}},
      // Two points share the smallest y: the lower index is T and the other is r1, to its right;
      // point 4 on the same bearing loses to the lower index 1.
      {{{0, 0}, {20, 0}, {20, 20}, {0, 20}, {10, 0}, {10, 10}}, {1, 0, 2, 1, 0, 3, 3, 2}},
  };
  for (const auto& [points, ends] : rows) {
    TDCEL d;
    BuildHull(points, d);
    ASSERT_TRUE(d.IsValid());
    EXPECT_EQ(Ends(d), ends);
    EXPECT_EQ(d.FaceCount(), 1);
    EXPECT_EQ(d.VertexCount(), static_cast<int>(ends.size() / 2));  // hull corners only
    for (const auto& h : d.HalfEdges) EXPECT_EQ(h.Twin, kNone);
  }
  // Mirrored: the other point on the top line lies to the left, so it is l1.
  TDCEL left;
  BuildHull({{20, 0}, {0, 0}, {0, 20}, {20, 20}}, left);
  ASSERT_TRUE(left.IsValid());
  EXPECT_EQ(left.Destination(left.FindEdgeInFace(0, 0)), 1);
}

TEST(ReduceToBoundary, RenumbersTheCycleFromTheDestinationOfHalfEdgeZero) {
  const TNube pts{{50, 0}, {100, 50}, {50, 100}, {0, 50}, {50, 50}, {60, 60}};
  TDCEL d;
  BuildHull(pts, d);
  d.SplitFace(0, 1, 3);  // add a diagonal: half-edge 0 keeps its cycle
  ReduceToBoundary(pts, d);
  ASSERT_TRUE(d.IsValid());
  // Old half-edge 0 runs 1 -> 0; its face cycle there is 1 -> 0 -> 3 -> 1.
  EXPECT_EQ(Ends(d), (V{0, 3, 3, 1, 1, 0}));
  EXPECT_EQ(d.VertexCount(), 6);
  EXPECT_EQ((V{d.VertexEdge(4), d.VertexEdge(5)}), (V{kNone, kNone}));
}

}  // namespace
}  // namespace qv
