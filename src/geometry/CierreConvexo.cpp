#include "geometry/CierreConvexo.h"

#include <algorithm>
#include <cassert>

#include "geometry/FuncionesMatematicas.h"

namespace qv {

// ---- Ring bookkeeping ----------------------------------------------------------------------

TRing::~TRing() {
  RingFree(*this);
}

RingNode* TRing::Indexed(int value) const {
  if (value >= 0 && value < kDenseLimit)
    return static_cast<size_t>(value) < dense_.size() ? dense_[value] : nullptr;
  auto it = sparse_.find(value);
  return it == sparse_.end() ? nullptr : it->second;
}

void TRing::SetIndexed(int value, RingNode* node) {
  if (value >= 0 && value < kDenseLimit) {
    if (static_cast<size_t>(value) >= dense_.size())
      dense_.resize(std::max<size_t>(static_cast<size_t>(value) + 1, dense_.size() * 2), nullptr);
    dense_[value] = node;
  } else if (node == nullptr) {
    sparse_.erase(value);
  } else {
    sparse_[value] = node;
  }
}

RingNode* TRing::NewNode(int value) {
  constexpr size_t kBlock = 256;
  RingNode* node;
  if (free_ != nullptr) {
    node = free_;
    free_ = free_->NextNode;
  } else {
    if (blocks_.empty() || blockUsed_ == kBlock) {
      blocks_.push_back(std::make_unique<RingNode[]>(kBlock));
      blockUsed_ = 0;
    }
    node = &blocks_.back()[blockUsed_++];
  }
  *node = RingNode{value, nullptr, nullptr};
  if (Indexed(value) == nullptr) {
    SetIndexed(value, node);
  } else {
    ++duplicates_;
  }
  ++size_;
  return node;
}

void TRing::DeleteNode(RingNode* node) {
  if (Indexed(node->Value) == node) {
    SetIndexed(node->Value, nullptr);
    // Another node may still hold the same value: index it instead.
    if (duplicates_ > 0 && Head != nullptr) {
      for (RingNode* n = Head;;) {
        if (n != node && n->Value == node->Value) {
          SetIndexed(n->Value, n);
          --duplicates_;
          break;
        }
        n = n->NextNode;
        if (n == Head) break;
      }
    }
  } else if (duplicates_ > 0) {
    --duplicates_;
  }
  --size_;
  node->NextNode = free_;
  free_ = node;
}

RingNode* TRing::Find(int value) const {
  if (Head == nullptr) return nullptr;
  if (duplicates_ == 0) return Indexed(value);
  // With repeated values the first node from the head is the one that counts.
  for (RingNode* n = Head;;) {
    if (n->Value == value) return n;
    n = n->NextNode;
    if (n == Head) return nullptr;
  }
}

namespace {

// Links node between before and before->NextNode.
void LinkAfter(RingNode* before, RingNode* node) {
  RingNode* after = before->NextNode;
  node->PrevNode = before;
  node->NextNode = after;
  before->NextNode = node;
  after->PrevNode = node;
}

RingNode* StartRing(int value, TRing& ring) {
  RingNode* node = ring.NewNode(value);
  node->PrevNode = node->NextNode = node;
  ring.Head = node;
  return node;
}

}  // namespace

// ---- Ring operations -----------------------------------------------------------------------

RingNode* RingPushFront(int value, TRing& ring) {
  if (ring.Head == nullptr) return StartRing(value, ring);
  RingNode* node = ring.NewNode(value);
  LinkAfter(ring.Head->PrevNode, node);
  ring.Head = node;
  return node;
}

RingNode* RingPushBack(int value, TRing& ring) {
  if (ring.Head == nullptr) return StartRing(value, ring);
  RingNode* node = ring.NewNode(value);
  LinkAfter(ring.Head->PrevNode, node);
  return node;
}

RingNode* RingInsertAfter(int value, int after, TRing& ring) {
  RingNode* at = ring.Find(after);
  if (at == nullptr) return nullptr;
  RingNode* node = ring.NewNode(value);
  LinkAfter(at, node);
  return node;
}

RingNode* RingReplaceBetween(int a, int b, int value, TRing& ring) {
  if (ring.Head == nullptr || a == b) return nullptr;
  RingNode* nb = ring.Find(b);
  assert(nb != nullptr);  // every caller names two values of the ring
  // The node holding a, searching forward from b's node; with distinct values it is the one
  // the index names, found without walking the ring.
  RingNode* na = nb;
  if (!ring.HasDuplicates()) {
    na = ring.Find(a);
    if (na == nullptr) na = nb;
  } else {
    do {
      na = na->NextNode;
    } while (na->Value != a && na != nb);
  }
  assert(na->Value == a && na != nb);
  // Drop A's successors up to B; a head inside the removed run moves on to B.
  while (na->NextNode != nb) {
    RingNode* gone = na->NextNode;
    na->NextNode = gone->NextNode;
    gone->NextNode->PrevNode = na;
    if (ring.Head == gone) ring.Head = gone->NextNode;
    ring.DeleteNode(gone);
  }
  RingNode* node = ring.NewNode(value);
  LinkAfter(na, node);
  return node;
}

void RingPopFront(TRing& ring) {
  RingNode* head = ring.Head;
  if (head == nullptr) return;
  if (head->NextNode == head) {
    ring.Head = nullptr;
  } else {
    head->PrevNode->NextNode = head->NextNode;
    head->NextNode->PrevNode = head->PrevNode;
    ring.Head = head->NextNode;
  }
  ring.DeleteNode(head);
}

void RingFree(TRing& ring) {
  while (ring.Head != nullptr) RingPopFront(ring);
}

int RingNext(int value, const TRing& ring) {
  const RingNode* node = ring.Find(value);
  return node == nullptr ? kNone : node->NextNode->Value;
}

int RingPrev(int value, const TRing& ring) {
  const RingNode* node = ring.Find(value);
  return node == nullptr ? kNone : node->PrevNode->Value;
}

// ---- Builders ------------------------------------------------------------------------------

bool AllCollinearPoints(const TNube& points) {
  const int n = static_cast<int>(points.size());
  if (n < 3) return true;
  // Find a second point distinct from the first, then any point off their line.
  int second = kNone;
  for (int i = 1; i < n && second == kNone; ++i)
    if (!(points[i] == points[0])) second = i;
  if (second == kNone) return true;
  for (int i = 1; i < n; ++i)
    if (Orientation(points[0], points[second], points[i]) != Collinear) return false;
  return true;
}

}  // namespace qv
