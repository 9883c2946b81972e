#include "methods/Eleccion.h"

#include <gtest/gtest.h>

#include <set>

#include "methods/Aleatorio.h"
#include "methods/Triangulos.h"
#include "methods/Verificador.h"

namespace qv {
namespace {

using testing_triangles::Diagonals;

void ExpectTriangulation(const TTriangulationChoice& c) {
  std::string why;
  ASSERT_TRUE(c.Triangulation().IsValid(&why)) << why;
  const auto report = CheckPseudoTriangulation(c.Polygon(), EdgeList(c.Triangulation()));
  EXPECT_TRUE(report.Valid) << report.Reason;
  EXPECT_EQ(report.Triangles, c.Size() - 2);  // every face a triangle
}

TEST(Chooser, StartsWithTheFanKeepsTheChoiceForTheSameSizeAndStepsCyclically) {
  TTriangulationChoice c;
  EXPECT_TRUE(c.Prepare(6));
  // Vertex 0 at the top, then counterclockwise as displayed.
  EXPECT_TRUE(c.Polygon()[0] == (TPoint{180, 30}) && c.Polygon()[3] == (TPoint{180, 330}));
  EXPECT_LT(c.Polygon()[1].X, 180);
  ExpectTriangulation(c);
  EXPECT_EQ(Diagonals(c), (std::set<TEdge>{{0, 2}, {0, 3}, {0, 4}}));
  EXPECT_EQ(c.FlipPosition(), 0);
  c.Next();
  const auto chosen = Diagonals(c);
  EXPECT_FALSE(c.Prepare(6));
  EXPECT_EQ(Diagonals(c), chosen);
  EXPECT_TRUE(c.Prepare(5));
  EXPECT_EQ(Diagonals(c), (std::set<TEdge>{{0, 2}, {0, 3}}));
  // Four vertices flip their only diagonal back and forth.
  c.Prepare(4);
  c.Recompute = false;
  c.Next();
  EXPECT_TRUE(c.Recompute);
  EXPECT_EQ(c.FlipPosition(), 0);
  EXPECT_EQ(Diagonals(c), (std::set<TEdge>{{1, 3}}));
  c.Prev();
  EXPECT_EQ(c.FlipPosition(), 0);
  EXPECT_EQ(Diagonals(c), (std::set<TEdge>{{0, 2}}));
  // Steps visit the diagonals cyclically.
  c.Prepare(7);
  std::vector<int> positions;
  for (int i = 0; i < 6; ++i) {
    c.Next();
    positions.push_back(c.FlipPosition());
    ExpectTriangulation(c);
  }
  EXPECT_EQ(positions, (std::vector<int>{2, 4, 6, 0, 2, 4}));
  c.Prepare(8);
  c.Prev();
  EXPECT_EQ(c.FlipPosition(), 8);  // 2 (n - 4)
  c.Prev();
  EXPECT_EQ(c.FlipPosition(), 6);
}

TEST(Chooser, RandomFlipsStayOnDiagonalsAndTrianglesHaveNone) {
  TRandom rng(12345);
  TTriangulationChoice c;
  c.Prepare(9);
  for (int round = 0; round < 200; ++round) {
    c.RandomFlips(rng);
    ASSERT_TRUE(c.FlipPosition() % 2 == 0 && c.FlipPosition() >= 0 &&
                c.FlipPosition() <= 2 * (9 - 4))
        << c.FlipPosition();
    c.Next();
    c.Prev();
  }
  ExpectTriangulation(c);
  TTriangulationChoice t;
  t.Prepare(3);
  t.Recompute = false;
  const auto before = t.Triangulation().HalfEdges;
  t.Next();
  t.Prev();
  t.RandomFlips(rng);
  EXPECT_EQ(t.Triangulation().HalfEdges, before);
  EXPECT_FALSE(t.Recompute);
}

TEST(VertexLabels, OutsideConvexCornersAtTheirOffsets) {
  TTriangulationChoice c;
  c.Prepare(4);  // (180,30), (30,180), (180,330), (330,180)
  const auto labels = VertexLabels(c.Polygon(), c.Triangulation());
  ASSERT_EQ(labels.size(), 4u);
  // i = 3 labels vertex 0: the bisector points straight up, radius sqrt(389)/2. i = 0 labels
  // vertex 1 at the left corner: pushed left, 6.5 up (-6.5 to even).
  EXPECT_EQ(std::tie(labels[3].Text, labels[3].X, labels[3].Y), std::tuple("0", 177, 14));
  EXPECT_EQ(std::tie(labels[0].Text, labels[0].X, labels[0].Y), std::tuple("1", 17, 174));
}

}  // namespace
}  // namespace qv
