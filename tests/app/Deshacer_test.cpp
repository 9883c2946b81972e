// The history without a window: edit scripts between point sequences, the bound of the history
// and what its steps keep, and the folding of changes made outside it.
#include "app/Deshacer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>

namespace qv {
namespace {

constexpr TPoint kFar{99, -9};  // never among the random points

TNube RandomPoints(std::mt19937& g, int n) {
  std::uniform_int_distribution<int> c(0, 40);  // few values: equal points recur
  TNube p;
  for (int i = 0; i < n; ++i) p.push_back({c(g), c(g)});
  return p;
}

TEST(Diferencia, TurnsEachSequenceIntoTheOtherKeepingOnlyWhatDiffers) {
  using G = std::mt19937;
  const std::vector<std::pair<std::function<void(TNube&, G&)>, std::size_t>> rows{
      {[](TNube&, G&) {}, 0},  // the bound on stored points is for 300 points
      {[](TNube& p, G&) { p.push_back(kFar); }, 1},
      {[](TNube& p, G&) { p.push_back(p.back()); }, 1},  // the common prefix is all of before
      {[](TNube& p, G&) { p.erase(p.begin() + 17); }, 1},
      {[](TNube& p, G&) { p.erase(p.erase(p.begin() + 250) - 233); }, 2},  // far apart
      {[](TNube& p, G&) { p[150] = kFar; }, 2},
      {[](TNube& p, G&) { std::rotate(p.begin() + 40, p.end() - 1, p.end()); }, 2},
      {[](TNube& p, G&) { p.clear(); }, 300},
      {[](TNube& p, G&) { std::reverse(p.begin(), p.end()); }, 600},
      {[](TNube& p, G& g) { std::shuffle(p.begin(), p.end(), g); }, 600},
      {[](TNube& p, G& g) { p = RandomPoints(g, 200); }, 500},
      // Too many edits: the middles are kept whole, without the common end.
      {[](TNube& p, G& g) { std::shuffle(p.begin(), p.begin() + 200, g); }, 400},
  };
  for (const auto& [change, maxStored] : rows) {
    for (unsigned seed = 1; seed <= 3; ++seed) {
      G g(seed);
      const TNube before = RandomPoints(g, 300);
      TNube after = before;
      change(after, g);
      const TDiferencia d = TDiferencia::Between(before, after);
      EXPECT_EQ(std::pair(d.Forward(before), d.Backward(after)), std::pair(after, before))
          << maxStored;
      EXPECT_LE(d.StoredPoints(), maxStored);
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
  while (history.Undo() != nullptr) continue;
  EXPECT_EQ(doc.Points, states[50]);
  while (history.Redo() != nullptr) continue;
  EXPECT_EQ(std::pair(doc.Points, history.Top()->text()),
            std::pair(states.back(), QStringLiteral("Move Point")));
}

TEST(Historia, FoldsOutsideChangesIntoTheStepTheyFollowAndMergesAngles) {
  TDocumento doc;
  doc.Points = {{5, 5}, {1, 1}, {3, 3}};
  THistoria history(doc);
  doc.Points.push_back({2, 2});
  history.Record(TTipoCambio::PlacePoint, {}, {});
  // An execution sorts the points and shows its result: the place step now ends there.
  std::sort(doc.Points.begin(), doc.Points.end(), [](TPoint a, TPoint b) { return a.X < b.X; });
  doc.ResultShown = true;
  history.Undo();
  EXPECT_EQ(std::pair(doc.Points, doc.ResultShown),
            std::pair(TNube{{5, 5}, {1, 1}, {3, 3}}, false));
  history.Redo();
  EXPECT_EQ(std::pair(doc.Points, doc.ResultShown),
            std::pair(TNube{{1, 1}, {2, 2}, {3, 3}, {5, 5}}, true));
  // A method chosen alone, without a run, ends the step as well,
  doc.SelectedMethod = TMethod::ConvexLayers;
  history.Undo();
  history.Redo();
  EXPECT_EQ(doc.SelectedMethod, TMethod::ConvexLayers);
  doc.ResultShown = false;  // and so does a result put away alone
  history.Undo();
  history.Redo();
  EXPECT_FALSE(doc.ResultShown);
  // Angle changes in a row make one step; a row that returns to its start makes none.
  for (int angle : {10, 20, 30, 0}) {
    doc.SweepAngle = angle;
    history.Record(TTipoCambio::SweepAngle, {}, {});
    EXPECT_EQ(history.Stack().count(), angle == 0 ? 1 : 2);
  }
  EXPECT_EQ(history.Top()->text(), QStringLiteral("Place Point"));
}

}  // namespace
}  // namespace qv
