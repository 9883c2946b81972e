#include "geometry/CierreConvexo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "geometry/FuncionesMatematicas.h"

namespace qv {
namespace {

using V = std::vector<int>;

// The values from the head forward, once around.
V Values(const TRing& r) {
  V out;
  for (const RingNode* n = r.Head; n != nullptr && (out.empty() || n != r.Head); n = n->NextNode)
    out.push_back(n->Value);
  return out;
}

void Fill(TRing& r, const V& values) {
  for (int v : values) RingPushBack(v, r);
}

TEST(Ring, PushNextPrevInsertAndPop) {
  TRing r, empty, one;
  for (int v : {2, 1}) RingPushFront(v, r);
  RingPushBack(3, r);
  EXPECT_EQ(RingInsertAfter(5, 1, empty), nullptr);
  EXPECT_EQ(RingInsertAfter(8, 42, r), nullptr);  // absent: nothing
  EXPECT_NE(RingInsertAfter(9, 2, r), nullptr);
  EXPECT_EQ(Values(r), (V{1, 2, 9, 3}));
  EXPECT_EQ((V{r.Size(), RingNext(3, r), RingPrev(1, r), RingNext(7, r), RingNext(1, empty),
               RingPrev(1, empty)}),
            (V{4, 1, 3, kNone, kNone, kNone}));
  // One node points to itself; popping it empties the ring, popping again changes nothing.
  RingPushBack(7, one);
  EXPECT_EQ((V{RingNext(7, one), RingPrev(7, one)}), (V{7, 7}));
  RingPopFront(one);
  RingPopFront(one);
  EXPECT_TRUE(one.Empty());
  // With a value twice the first from the head is found, and the other once that one goes.
  Fill(r, {1});
  EXPECT_EQ(RingNext(1, r), 2);
  RingPopFront(r);
  EXPECT_EQ((V{RingNext(1, r), RingPrev(1, r)}), (V{2, 3}));
}

TEST(Ring, ReplaceBetweenRemovesTheForwardRun) {
  const std::tuple<V, int, int, V> rows[] = {
      {{1, 2, 3, 4, 5}, 1, 4, {1, 9, 4, 5}},
      {{2, 3, 4, 5, 1}, 1, 4, {4, 5, 1, 9}},     // the head lay in the run: it moves on to b
      {{1, 2, 3, 4, 5}, 4, 1, {1, 2, 3, 4, 9}},  // wraps: removes 5
      {{1, 2, 3}, 1, 2, {1, 9, 2, 3}},           // adjacent: pure insertion
      {{1, 2, 3}, 3, 3, {1, 2, 3}},              // a = b: nothing
  };
  for (const auto& [ring, a, b, expected] : rows) {
    TRing r;
    Fill(r, ring);
    RingReplaceBetween(a, b, 9, r);
    EXPECT_EQ(Values(r), expected) << a << "-" << b;
    EXPECT_EQ(r.Size(), static_cast<int>(expected.size()));
    for (int v : ring)  // removed values leave the index too
      EXPECT_EQ(RingNext(v, r) == kNone, std::ranges::count(expected, v) == 0) << v;
  }
}

}  // namespace
}  // namespace qv
