#include "methods/Barrido.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "geometry/UserError.h"
#include "methods/SweepChecks.h"

namespace qv {
namespace {

using testing::CheckSweepResult;
using testing::FaceCycle;
using V = std::vector<int>;

THalfEdge He(int origin, int prev, int next, int twin, int face) {
  return {origin, prev, next, twin, face};
}

std::string MessageOf(const TNube& p) {
  TDCEL d;
  try {
    Sweep(p, d);
  } catch (const UserError& e) {
    return e.what();
  }
  return "";
}

TEST(SweepLine, WorkedExampleHasTwoFacesAndSevenHalfEdges) {
  const TNube p = {{0, 20}, {0, 0}, {10, 10}, {100, 10}};
  TDCEL d;
  Sweep(p, d);
  ASSERT_EQ(d.HalfEdgeCount(), 7);
  // 0: 0->2, 1: 2->1, 2: 1->0 (face 0); 3: 3->1, 4: 1->2, 5: 2->0, 6: 0->3 (face 1).
  const std::vector<THalfEdge> expected = {
      He(0, 2, 1, 5, 0), He(2, 0, 2, 4, 0), He(1, 1, 0, -1, 0), He(3, 6, 4, -1, 1),
      He(1, 3, 5, 1, 1), He(2, 4, 6, 0, 1), He(0, 5, 3, -1, 1)};
  EXPECT_EQ(d.HalfEdges, expected);
  EXPECT_EQ(d.Faces, (V{0, 6}));
  EXPECT_EQ(CheckSweepResult(p, d), "");
}

// The face a point creates: its cycle counterclockwise on the screen, from its smallest vertex.
TEST(SweepLine, EachPointMakesOneFaceOverTheChainItSees) {
  struct Row {
    TNube p;
    int face;
    V cycle;
  };
  const std::vector<Row> rows = {
      {{{0, 0}, {0, 10}, {10, 5}}, 0, {0, 1, 2}},             // kept as given
      {{{0, 10}, {0, 0}, {10, 5}}, 0, {0, 2, 1}},             // mirrored
      {{{0, 0}, {0, 20}, {10, 10}, {11, 14}}, 1, {1, 3, 2}},  // one seen edge: a triangle
      // 3 lies on the line of the hull edge 2 -> 0, beyond 2: only the edge 1 -> 2 is seen.
      {{{0, 0}, {0, 20}, {10, 10}, {12, 12}}, 1, {1, 3, 2}},
      // After point 4 the hull is 0, 3, 4, 1; point 5 far right sees the chain 0, 3, 4, 1.
      {{{0, 0}, {0, 100}, {10, 50}, {20, 10}, {20, 90}, {1000, 50}}, 3, {0, 3, 4, 1, 5}},
      // Order not along one direction: 3 sees only the edge 0 -> 1, away from point 2.
      {{{9, 0}, {10, 1}, {10, 2}, {9, -1}}, 1, {0, 1, 3}},
  };
  for (const Row& r : rows) {
    TDCEL d;
    Sweep(r.p, d);
    EXPECT_EQ(CheckSweepResult(r.p, d), "") << r.p.size();
    V cycle = FaceCycle(d, r.face);
    std::rotate(cycle.begin(), std::min_element(cycle.begin(), cycle.end()), cycle.end());
    EXPECT_EQ(cycle, r.cycle) << r.p.size();
  }
}

TEST(SweepLine, RefusesDegenerateOrdersAndLeavesNoPartialResult) {
  EXPECT_EQ(MessageOf({{0, 0}, {1, 1}}), "At least 3 points are needed.");
  EXPECT_EQ(MessageOf({{0, 0}, {1, 0}, {2, 0}, {3, 0}}),
            "At least 3 non-collinear points are needed.");
  EXPECT_EQ(MessageOf({{0, 0}, {0, 10}, {10, 5}, {0, 10}}), "No coincident points allowed.");
  // A leading run on one line must advance along it; coincidence is named first.
  EXPECT_EQ(MessageOf({{0, 0}, {0, 0}, {0, 0}}), "No coincident points allowed.");
  EXPECT_EQ(MessageOf({{0, 0}, {1, 0}, {1, 0}, {3, 5}}), "No coincident points allowed.");
  EXPECT_EQ(MessageOf({{0, 0}, {2, 0}, {1, 0}, {3, 5}}),
            "The points cannot be swept at this angle.");
  // Inside, on an edge, on the line of an edge inside the hull: nothing seen.
  EXPECT_EQ(MessageOf({{0, 0}, {0, 10}, {10, 5}, {3, 5}}),
            "The points cannot be swept at this angle.");
  EXPECT_EQ(MessageOf({{0, 0}, {0, 10}, {10, 5}, {0, 5}}),
            "The points cannot be swept at this angle.");

  // Refused at the last point, after two faces were built: nothing of them is left.
  TDCEL d;
  Sweep({{0, 20}, {0, 0}, {10, 10}, {100, 10}}, d);
  EXPECT_THROW(Sweep({{0, 0}, {0, 10}, {10, 5}, {20, 5}, {20, 0}, {5, 5}}, d), UserError);
  EXPECT_EQ(d.HalfEdgeCount(), 0);
  EXPECT_EQ(d.FaceCount(), 0);
  EXPECT_EQ(d.VertexCount(), 0);
}

TEST(SweepLine, CollinearStartIsFannedFromTheFirstPointOffTheLine) {
  struct Row {
    TNube p;
    int apex;  // the first point off the line of points 0 and 1
  };
  const std::vector<Row> rows = {
      {{{0, 0}, {10, 0}, {20, 0}, {15, 10}, {40, 5}}, 3},  // apex below the run on the screen
      {{{0, 0}, {10, 0}, {20, 0}, {30, 0}, {15, -10}, {40, 5}}, 4},  // above
      {{{5, 30}, {5, 20}, {5, 10}, {5, 0}, {40, 15}}, 4},            // a column, run to the end
      {{{0, 0}, {10, 10}, {20, 20}, {30, 5}, {25, 40}, {60, 20}}, 3},
  };
  for (const Row& r : rows) {
    TDCEL d;
    Sweep(r.p, d);
    EXPECT_EQ(CheckSweepResult(r.p, d), "") << r.apex;
    // One triangle over each segment of the run, all sharing the apex.
    for (int f = 0; f + 1 < r.apex; ++f) {
      V cycle = FaceCycle(d, f);
      std::sort(cycle.begin(), cycle.end());
      EXPECT_EQ(cycle, (V{f, f + 1, r.apex})) << r.apex;
    }
  }
}

}  // namespace
}  // namespace qv
