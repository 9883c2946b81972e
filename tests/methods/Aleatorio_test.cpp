#include "methods/Aleatorio.h"

#include <gtest/gtest.h>

#include <set>

#include "geometry/UserError.h"

namespace qv {
namespace {

std::set<std::pair<int, int>> AsSet(const TNube& p) {
  std::set<std::pair<int, int>> s;
  for (TPoint q : p) s.insert({q.X, q.Y});
  return s;
}

std::string Refusal(auto generate) {
  try {
    generate();
  } catch (const UserError& e) {
    return e.what();
  }
  return "";
}

TEST(RandomSource, IsTheLinearCongruentialGeneratorOfItsSeed) {
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
}

TEST(RandomSource, SeedOfTheTimeOfDay) {
  EXPECT_EQ(SeedFromTimeOfDay(1, 2, 3, 4), 3723004u);
  EXPECT_EQ(SeedFromTimeOfDay(23, 59, 59, 999), 86399999u);
  EXPECT_LT(ClockSeed(), 86400000u);
}

TEST(RandomDistribution, UniformStaysInTheDrawRangeAndIsDistinct) {
  TRandom r(42);
  const TNube p = GenerateUniform(r, 50, 1000, 600);
  ASSERT_EQ(p.size(), 50u);
  for (TPoint q : p) {
    EXPECT_GE(q.X, 0);
    EXPECT_LE(q.X, 989);
    EXPECT_GE(q.Y, 0);
    EXPECT_LE(q.Y, 589);
  }
  EXPECT_EQ(AsSet(p).size(), 50u);
  // The first point is the first two draws.
  TRandom again(42);
  const int x = again.Random(990), y = again.Random(590);
  EXPECT_EQ(p[0], (TPoint{x, y}));
}

TEST(RandomDistribution, NormalClustersAroundTheCentreInsideTheCanvas) {
  TRandom r(9);
  const TNube p = GenerateNormal(r, 50, 100, 1000, 600);
  ASSERT_EQ(p.size(), 50u);
  double sx = 0, sy = 0;
  for (TPoint q : p) {
    EXPECT_GE(q.X, 0);
    EXPECT_LE(q.X, 999);
    EXPECT_GE(q.Y, 0);
    EXPECT_LE(q.Y, 599);
    sx += q.X;
    sy += q.Y;
  }
  EXPECT_NEAR(sx / 50, 500, 60);
  EXPECT_NEAR(sy / 50, 300, 60);
  EXPECT_EQ(AsSet(p).size(), 50u);
  // Deviation 0 puts the only point at the centre; halves round to even (3.5 -> 4, 2.5 -> 2).
  TRandom c(1);
  EXPECT_EQ(GenerateNormal(c, 1, 0, 7, 5), (TNube{{4, 2}}));
}

TEST(RandomDistribution, SameSeedSameSetAndTheSequenceContinues) {
  TRandom a(123), b(123);
  const TNube first = GenerateNormal(a, 40, 50, 800, 500);
  EXPECT_EQ(first, GenerateNormal(b, 40, 50, 800, 500));
  EXPECT_NE(first, GenerateNormal(a, 40, 50, 800, 500));
  EXPECT_EQ(GenerateUniform(a, 0, 800, 500).size(), 0u);
  EXPECT_EQ(GenerateUniform(a, -3, 800, 500).size(), 0u);
}

TEST(RandomDistribution, RepeatedDrawsAreDrawnAgainUntilTheRangeIsFull) {
  // A 2 x 2 range: four points must be its four cells.
  TRandom r(5);
  const TNube p = GenerateUniform(r, 4, 12, 12);
  EXPECT_EQ(AsSet(p), (std::set<std::pair<int, int>>{{0, 0}, {0, 1}, {1, 0}, {1, 1}}));
}

TEST(RandomDistribution, CanvasWithoutRoomIsRefusedInsteadOfLoopingForever) {
  const std::string text = "The canvas is too small for this distribution.";
  TRandom r(1);
  EXPECT_EQ(Refusal([&] { GenerateUniform(r, 1, 10, 600); }), text);
  EXPECT_EQ(Refusal([&] { GenerateUniform(r, 5, 12, 12); }), text);
  EXPECT_EQ(Refusal([&] { GenerateNormal(r, 1, 100, 0, 600); }), text);
  // The deviation, not the canvas, leaves no room: one cell, 13 x 13 cells, and a square of
  // 61 x 61 cells whose rim the draws almost never reach.
  const std::string narrow = "The deviation is too small for this many points.";
  EXPECT_EQ(Refusal([&] { GenerateNormal(r, 2, 0, 1000, 600); }), narrow);
  EXPECT_EQ(Refusal([&] { GenerateNormal(r, 1000, 1, 1000, 600); }), narrow);
  EXPECT_EQ(Refusal([&] { GenerateNormal(r, 2000, 5, 1014, 653); }), narrow);
  // Reachable in principle, but the draws almost never land: bounded, then refused.
  EXPECT_EQ(Refusal([&] { GenerateNormal(r, 3, 1e9, 20, 20); }), text);
}

}  // namespace
}  // namespace qv
