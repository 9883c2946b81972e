// The frontier ring: a circular doubly linked list of point indices.
#pragma once

#include <memory>
#include <unordered_map>
#include <vector>

#include "geometry/Tipos.h"

namespace qv {

struct RingNode {
  int Value = kNone;
  RingNode* PrevNode = nullptr;
  RingNode* NextNode = nullptr;
};

// The caller-owned handle of a ring: its head (nullptr when empty) plus an index from value
// to node, so that lookups by value are O(1). Values are expected to be distinct; when a
// value is inserted twice the lookups fall back to the linear search from the head, which
// finds the first node holding it. Node addresses stay valid while the node is in the ring.
class TRing {
 public:
  TRing() = default;
  TRing(const TRing&) = delete;
  TRing& operator=(const TRing&) = delete;
  ~TRing();

  RingNode* Head = nullptr;

  bool Empty() const { return Head == nullptr; }
  int Size() const { return size_; }
  // The first node holding value, searching from the head; nullptr when absent.
  RingNode* Find(int value) const;
  // True when some value is held by more than one node.
  bool HasDuplicates() const { return duplicates_ > 0; }
  // Internal bookkeeping used by the ring operations.
  RingNode* NewNode(int value);
  void DeleteNode(RingNode* node);

 private:
  // Point indices are small and dense: they index a plain table; other values a hash map.
  static constexpr int kDenseLimit = 1 << 24;
  RingNode* Indexed(int value) const;
  void SetIndexed(int value, RingNode* node);

  std::vector<RingNode*> dense_;
  std::unordered_map<int, RingNode*> sparse_;
  // Nodes come from fixed-size blocks and return to a free list, so their addresses are
  // stable and a ring of n points costs a handful of allocations, not n.
  std::vector<std::unique_ptr<RingNode[]>> blocks_;
  size_t blockUsed_ = 0;
  RingNode* free_ = nullptr;
  int size_ = 0;
  int duplicates_ = 0;
};

RingNode* RingPushFront(int value, TRing& ring);
RingNode* RingPushBack(int value, TRing& ring);
// Inserts value after the node holding after; nothing when the ring is empty or after is
// absent. Returns the new node or nullptr.
RingNode* RingInsertAfter(int value, int after, TRing& ring);
// Removes the nodes strictly between a and b (forward from a) and puts value there, so the
// ring reads ... a, value, b ...; both a and b must be in the ring. Returns the new node, or
// nullptr when nothing was done (empty ring, a = b).
RingNode* RingReplaceBetween(int a, int b, int value, TRing& ring);
void RingPopFront(TRing& ring);
void RingFree(TRing& ring);
// Value after (before) the node holding value; -1 when the ring is empty or value is absent.
int RingNext(int value, const TRing& ring);
int RingPrev(int value, const TRing& ring);

// True when every point of the set lies on one line (fewer than 3 points count as collinear).
bool AllCollinearPoints(const TNube& points);

}  // namespace qv
