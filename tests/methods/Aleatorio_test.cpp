#include "methods/Aleatorio.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <tuple>

#include "Rechazo.h"

namespace qv {
namespace {

TEST(RandomSource, IsTheLinearCongruentialGeneratorOfItsSeedOrOfTheTimeOfDay) {
  TRandom r(7);
  uint32_t state = 7;
  for (int i = 0; i < 1000; ++i) {
    state = state * 134775813u + 1u;
    if (i % 2 == 0) {
      const int m = 1 + i * 37;
      EXPECT_EQ(r.Random(m), static_cast<int>((uint64_t{static_cast<uint32_t>(m)} * state) >> 32));
    } else {
      EXPECT_EQ(r.Random(), state / 4294967296.0);
    }
  }
  EXPECT_EQ(r.State(), state);
  TRandom zero(0);
  EXPECT_EQ(zero.Random(), 1.0 / 4294967296.0);  // the first state from seed 0 is 1
  EXPECT_EQ(zero.Random(0), 0);
  // The time-of-day seed: milliseconds since midnight.
  EXPECT_EQ(SeedFromTimeOfDay(1, 2, 3, 4), 3723004u);
  EXPECT_EQ(SeedFromTimeOfDay(23, 59, 59, 999), 86399999u);
  EXPECT_LT(ClockSeed(), 86400000u);
}

// Every point inside [0, maxX] x [0, maxY], all distinct.
void ExpectInsideAndDistinct(const TNube& p, size_t n, int maxX, int maxY) {
  ASSERT_EQ(p.size(), n);
  for (TPoint q : p)
    EXPECT_TRUE(q.X >= 0 && q.X <= maxX && q.Y >= 0 && q.Y <= maxY) << q.X << "," << q.Y;
  EXPECT_EQ(std::set(p.begin(), p.end()).size(), n);
}

TEST(RandomDistribution, UniformStaysInTheDrawRangeAndIsDistinct) {
  TRandom r(42);
  const TNube p = GenerateUniform(r, 50, 1000, 600);
  ExpectInsideAndDistinct(p, 50, 989, 589);
  // The first point is the first two draws.
  TRandom again(42);
  const int x = again.Random(990), y = again.Random(590);
  EXPECT_EQ(p[0], (TPoint{x, y}));
  // A 2 x 2 range: four points must be its four cells, drawn again until all are found.
  const TNube cells = GenerateUniform(r, 4, 12, 12);
  EXPECT_EQ(std::set(cells.begin(), cells.end()),
            (std::set<TPoint>{{0, 0}, {0, 1}, {1, 0}, {1, 1}}));
}

TEST(RandomDistribution, NormalClustersAroundTheCentreInsideTheCanvas) {
  TRandom r(9);
  const TNube p = GenerateNormal(r, 50, 100, 1000, 600);
  ExpectInsideAndDistinct(p, 50, 999, 599);
  double sx = 0, sy = 0;
  for (TPoint q : p) sx += q.X, sy += q.Y;
  EXPECT_NEAR(sx / 50, 500, 60);
  EXPECT_NEAR(sy / 50, 300, 60);
  // Deviation 0 puts the only point at the centre; halves round to even (3.5 -> 4, 2.5 -> 2,
  // 0.5 -> 0), also on a one-pixel canvas, room for exactly one point. No points asked for: none
  // given.
  TRandom c(1);
  EXPECT_EQ(GenerateNormal(c, 1, 0, 7, 5), (TNube{{4, 2}}));
  EXPECT_EQ(GenerateNormal(c, 1, 0, 1, 1), (TNube{{0, 0}}));
  EXPECT_TRUE(GenerateUniform(c, 0, 800, 500).empty() && GenerateNormal(c, -3, 5, 80, 50).empty());
}

TEST(RandomDistribution, NoRoomIsRefusedInsteadOfLoopingForever) {
  const std::string canvas = "The canvas is too small for this distribution.";
  // The deviation, not the canvas, leaves no room: one cell, 13 x 13 cells, and a square of
  // 61 x 61 cells whose rim the draws almost never reach.
  const std::string narrow = "The deviation is too small for this many points.";
  TRandom r(1);
  // Rows: the generation, its refusal, whether it came from counting the reachable cells before
  // any draw.
  const std::tuple<std::function<void()>, std::string, bool> rows[] = {
      {[&] { GenerateUniform(r, 1, 10, 600); }, canvas, true},
      {[&] { GenerateUniform(r, 5, 12, 12); }, canvas, true},
      {[&] { GenerateNormal(r, 1, 100, 0, 600); }, canvas, true},
      {[&] { GenerateNormal(r, 2, 0, 1000, 600); }, narrow, true},
      {[&] { GenerateNormal(r, 1000, 1, 1000, 600); }, narrow, true},
      {[&] { GenerateNormal(r, 2000, 5, 1014, 653); }, narrow, false},
      // Reachable in principle, but the draws almost never land: bounded, then refused.
      {[&] { GenerateNormal(r, 3, 1e9, 20, 20); }, canvas, false},
  };
  for (const auto& [generate, text, counted] : rows) {
    const uint32_t state = r.State();
    EXPECT_EQ(testing::Refusal(generate), text);
    EXPECT_EQ(r.State() == state, counted) << text;
  }
}

}  // namespace
}  // namespace qv
