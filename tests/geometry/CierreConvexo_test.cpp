#include "geometry/CierreConvexo.h"

#include <gtest/gtest.h>


#include "geometry/FuncionesMatematicas.h"
#include "geometry/Pila.h"

namespace qv {
namespace {

using V = std::vector<int>;

TEST(Ring, PushFrontAndBackOrder) {
  TRing front, back;
  for (int v : {1, 2, 3}) {
    RingPushFront(v, front);
    RingPushBack(v, back);
  }
  EXPECT_EQ(front.Values(), (V{3, 2, 1}));
  EXPECT_EQ(back.Values(), (V{1, 2, 3}));
  EXPECT_EQ(RingNext(3, back), 1);
  EXPECT_EQ(RingPrev(1, back), 3);
  EXPECT_EQ(RingNext(9, back), kNone);
  TRing empty;
  EXPECT_EQ(RingNext(1, empty), kNone);
  EXPECT_EQ(RingPrev(1, empty), kNone);
}

TEST(Ring, OneNodeRingPointsToItself) {
  TRing r;
  RingNode* n = RingPushBack(7, r);
  EXPECT_EQ(n->NextNode, n);
  EXPECT_EQ(n->PrevNode, n);
  EXPECT_EQ(RingNext(7, r), 7);
  EXPECT_EQ(RingPrev(7, r), 7);
  RingPopFront(r);
  EXPECT_TRUE(r.Empty());
  RingPopFront(r);  // stays empty
  EXPECT_TRUE(r.Empty());
}

TEST(Ring, InsertAfter) {
  TRing r;
  EXPECT_EQ(RingInsertAfter(5, 1, r), nullptr);  // empty ring: nothing
  for (int v : {1, 2, 3}) RingPushBack(v, r);
  EXPECT_NE(RingInsertAfter(9, 2, r), nullptr);
  EXPECT_EQ(RingInsertAfter(8, 42, r), nullptr);  // absent: nothing
  RingInsertAfterHead(6, r);
  EXPECT_EQ(r.Values(), (V{1, 6, 2, 9, 3}));
  EXPECT_EQ(r.Size(), 5);
}

TEST(Ring, ReplaceBetweenRemovesTheForwardRun) {
  TRing r;
  for (int v : {1, 2, 3, 4, 5}) RingPushBack(v, r);
  RingReplaceBetween(1, 4, 9, r);
  EXPECT_EQ(r.Values(), (V{1, 9, 4, 5}));
  EXPECT_EQ(RingNext(1, r), 9);
  EXPECT_EQ(RingNext(2, r), kNone);  // removed values are gone from the index too

  TRing h;
  for (int v : {2, 3, 4, 5, 1}) RingPushBack(v, h);  // head holds 2
  RingReplaceBetween(1, 4, 9, h);
  EXPECT_EQ(h.Head->Value, 4);  // the head lay in the removed run: it moves on to b
  EXPECT_EQ(h.Values(), (V{4, 5, 1, 9}));

  TRing w;
  for (int v : {1, 2, 3, 4, 5}) RingPushBack(v, w);
  RingReplaceBetween(4, 1, 9, w);  // wraps: removes 5
  EXPECT_EQ(w.Values(), (V{1, 2, 3, 4, 9}));

  TRing adj;
  for (int v : {1, 2, 3}) RingPushBack(v, adj);
  RingReplaceBetween(1, 2, 7, adj);  // adjacent: pure insertion
  EXPECT_EQ(adj.Values(), (V{1, 7, 2, 3}));
  RingReplaceBetween(3, 3, 8, adj);  // a = b: nothing
  EXPECT_EQ(adj.Size(), 4);
}

TEST(Ring, NodeReferencesStayValidAndFreeEmpties) {
  TRing r;
  RingNode* keep = RingPushBack(10, r);
  for (int v = 0; v < 100; ++v) RingPushBack(v, r);
  RingReplaceBetween(10, 50, -3, r);
  EXPECT_EQ(keep->Value, 10);
  EXPECT_EQ(keep->NextNode->Value, -3);
  EXPECT_EQ(RingNext(-3, r), 50);
  RingFree(r);
  EXPECT_TRUE(r.Empty());
  EXPECT_EQ(r.Size(), 0);
}

TEST(Ring, DuplicateValuesFallBackToTheFirstFromTheHead) {
  TRing r;
  for (int v : {1, 2, 1, 3}) RingPushBack(v, r);
  EXPECT_EQ(RingNext(1, r), 2);
  RingPopFront(r);  // the first 1 leaves; the second one is found now
  EXPECT_EQ(RingNext(1, r), 3);
  EXPECT_EQ(RingPrev(1, r), 2);
}

TEST(Stack, LastInFirstOut) {
  TPila s;
  EXPECT_TRUE(s.IsEmpty());
  for (int v : {4, 5, 6}) s.Push(v);
  EXPECT_EQ(s.Count(), 3);
  EXPECT_EQ(s.Pop(), 6);
  EXPECT_EQ(s.Pop(), 5);
  EXPECT_EQ(s.Pop(), 4);
  EXPECT_TRUE(s.IsEmpty());
}

}  // namespace
}  // namespace qv
