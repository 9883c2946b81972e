// The history without a window: edit scripts between point sequences, the bound of the history
// and what its steps keep, and the folding of changes made outside it.
#include "app/Deshacer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>

namespace qv {
namespace {

TNube RandomPoints(std::mt19937& g, int n) {
  std::uniform_int_distribution<int> c(0, 40);  // few values: equal points recur
  TNube p;
  for (int i = 0; i < n; ++i) p.push_back({c(g), c(g)});
  return p;
}

TEST(Diferencia, TurnsEachSequenceIntoTheOtherKeepingOnlyWhatDiffers) {
  struct Row {
    const char* name;
    std::function<void(TNube&, std::mt19937&)> change;
    std::size_t maxStored;  // for 300 points
  };
  const std::vector<Row> rows{
      {"same", [](TNube&, std::mt19937&) {}, 0},
      {"appended",
       [](TNube& p, std::mt19937&) {
         p.push_back({99, 99});
       },
       1},
      {"removed", [](TNube& p, std::mt19937&) { p.erase(p.begin() + 17); }, 1},
      {"moved",
       [](TNube& p, std::mt19937&) {
         p[150] = {77, 66};
       },
       2},
      {"rotated into place",
       [](TNube& p, std::mt19937&) { std::rotate(p.begin() + 40, p.end() - 1, p.end()); }, 2},
      {"emptied", [](TNube& p, std::mt19937&) { p.clear(); }, 300},
      {"reversed", [](TNube& p, std::mt19937&) { std::reverse(p.begin(), p.end()); }, 600},
      {"shuffled", [](TNube& p, std::mt19937& g) { std::shuffle(p.begin(), p.end(), g); }, 600},
      {"replaced", [](TNube& p, std::mt19937& g) { p = RandomPoints(g, 200); }, 500},
      {"scattered edits",
       [](TNube& p, std::mt19937& g) {
         for (int i = 0; i < 30; ++i) p[std::uniform_int_distribution<size_t>(0, 299)(g)] = {i, -i};
       },
       60},
  };
  for (const Row& row : rows) {
    for (unsigned seed = 1; seed <= 3; ++seed) {
      std::mt19937 g(seed);
      const TNube before = RandomPoints(g, 300);
      TNube after = before;
      row.change(after, g);
      const TDiferencia d = TDiferencia::Between(before, after);
      EXPECT_EQ(d.Forward(before), after) << row.name;
      EXPECT_EQ(d.Backward(after), before) << row.name;
      EXPECT_LE(d.StoredPoints(), row.maxStored) << row.name;
    }
  }
  EXPECT_EQ(TDiferencia::Between({}, {{1, 2}}).Forward({}), (TNube{{1, 2}}));
}

TEST(Historia, KeepsAThousandStepsOfOnlyWhatEachChanged) {
  TDocumento doc;
  std::mt19937 g(5);
  doc.Points = RandomPoints(g, 1000);
  THistoria history(doc);
  std::vector<TNube> states{doc.Points};
  for (int i = 0; i < THistoria::kLimit + 50; ++i) {
    doc.Points[static_cast<size_t>(i * 7 % 1000)] = {i, 1000 + i};
    history.Record(TTipoCambio::MovePoint, {}, {});
    states.push_back(doc.Points);
  }
  ASSERT_EQ(history.Stack().count(), THistoria::kLimit);
  EXPECT_LE(history.StoredPoints(), 2u * THistoria::kLimit);
  while (history.Undo() != nullptr) {
  }
  EXPECT_EQ(doc.Points, states[50]);
  while (history.Redo() != nullptr) {
  }
  EXPECT_EQ(doc.Points, states.back());
  EXPECT_EQ(history.Top()->text(), QStringLiteral("Move Point"));
}

TEST(Historia, FoldsOutsideChangesIntoTheStepTheyFollowAndMergesAngles) {
  TDocumento doc;
  doc.Points = {{5, 5}, {1, 1}, {3, 3}};
  THistoria history(doc);
  doc.Points.push_back({2, 2});
  history.Record(TTipoCambio::PlacePoint, {}, {});
  const TNube placed = doc.Points;
  // An execution sorts the points and shows its result: the place step now ends there.
  std::sort(doc.Points.begin(), doc.Points.end(), [](TPoint a, TPoint b) { return a.X < b.X; });
  doc.ResultShown = true;
  const TNube sorted = doc.Points;
  history.Undo();
  EXPECT_EQ(doc.Points, (TNube{{5, 5}, {1, 1}, {3, 3}}));
  EXPECT_FALSE(doc.ResultShown);
  history.Redo();
  EXPECT_EQ(doc.Points, sorted);
  EXPECT_TRUE(doc.ResultShown);
  EXPECT_NE(placed, sorted);

  // Angle changes in a row make one step; a row that returns to its start makes none.
  for (int angle : {10, 20, 30}) {
    doc.SweepAngle = angle;
    history.Record(TTipoCambio::SweepAngle, {}, {});
  }
  EXPECT_EQ(history.Stack().count(), 2);
  doc.SweepAngle = 0;
  history.Record(TTipoCambio::SweepAngle, {}, {});
  EXPECT_EQ(history.Stack().count(), 1);
  EXPECT_EQ(history.Top()->text(), QStringLiteral("Place Point"));
}

}  // namespace
}  // namespace qv
