#include "model/list.h"

#include <algorithm>
#include <new>
#include <utility>

namespace {
// Below this many items a membership question is answered by walking the
// list, which is quicker than building an index for it.
constexpr int kWalkLimit = 8;
}  // namespace

UntypedList::~UntypedList() {
  clear();
}

UntypedList::UntypedList(UntypedList&& other) noexcept {
  *this = std::move(other);
}

UntypedList& UntypedList::operator=(UntypedList&& other) noexcept {
  if (this == &other) return *this;
  clear();
  head_ = std::exchange(other.head_, nullptr);
  tail_ = std::exchange(other.tail_, nullptr);
  current_ = std::exchange(other.current_, nullptr);
  count_ = std::exchange(other.count_, 0);
  indexed_ = std::exchange(other.indexed_, false);
  index_ = std::move(other.index_);
  other.index_.clear();
  nodes_ = std::move(other.nodes_);
  freeNodes_ = std::exchange(other.freeNodes_, nullptr);
  return *this;
}

void UntypedList::reserve(int more) {
  if (more <= 0) return;
  if (indexed_) index_.reserve(index_.size() + more);
  nodes_.expect(more);
}

ListNode* UntypedList::newNode(void* item) {
  ListNode* node = freeNodes_;
  if (!node) return new (nodes_.take()) ListNode{nullptr, nullptr, item};
  freeNodes_ = node->next;
  *node = ListNode{nullptr, nullptr, item};
  return node;
}

void UntypedList::freeNode(ListNode* node) {
  node->next = freeNodes_;
  freeNodes_ = node;
}

void UntypedList::useIndex() const {
  if (indexed_) return;
  index_.reserve(count_);
  for (ListNode* n = head_; n; n = n->next) {
    Membership& m = index_[n->data];
    if (m.copies++ == 0) m.first = n;
  }
  indexed_ = true;
}

void UntypedList::noteAdded(const void* item, ListNode* node, bool atHead) {
  if (!indexed_) return;
  Membership& m = index_[item];
  if (m.copies++ == 0 || atHead) m.first = node;
}

bool UntypedList::first() {
  current_ = head_;
  return current_ != nullptr;
}

bool UntypedList::next() {
  if (!current_ || !current_->next) return false;
  current_ = current_->next;
  return true;
}

void UntypedList::linkAtHead(ListNode* node) {
  node->prev = nullptr;
  node->next = head_;
  if (head_) {
    head_->prev = node;
  } else {
    tail_ = node;
  }
  head_ = node;
}

void UntypedList::unlink(ListNode* node) {
  if (node->prev) {
    node->prev->next = node->next;
  } else {
    head_ = node->next;
  }
  if (node->next) {
    node->next->prev = node->prev;
  } else {
    tail_ = node->prev;
  }
}

ListNode* UntypedList::pushFront(void* item) {
  ListNode* node = newNode(item);
  linkAtHead(node);
  ++count_;
  noteAdded(item, node, /*atHead=*/true);
  return node;
}

ListNode* UntypedList::pushBack(void* item) {
  if (!tail_) return pushFront(item);
  ListNode* node = newNode(item);
  node->prev = tail_;
  tail_->next = node;
  tail_ = node;
  ++count_;
  noteAdded(item, node, /*atHead=*/false);
  return node;
}

ListNode* UntypedList::firstNodeOf(const void* item) {
  useIndex();
  auto it = index_.find(item);
  if (it == index_.end()) return nullptr;
  if (!it->second.first) {
    for (ListNode* n = head_; n; n = n->next) {
      if (n->data == item) {
        it->second.first = n;
        break;
      }
    }
  }
  return it->second.first;
}

void UntypedList::remove(const void* item) {
  ListNode* node = firstNodeOf(item);
  if (!node) throw ListError("Item not found");
  auto it = index_.find(item);
  if (--it->second.copies == 0) {
    index_.erase(it);
  } else {
    // The removed node was the first copy, so the next one lies after it.
    ListNode* n = node->next;
    while (n && n->data != item) n = n->next;
    it->second.first = n;
  }
  unlink(node);
  --count_;
  freeNode(node);
}

bool UntypedList::contains(const void* item) const {
  if (!indexed_ && count_ <= kWalkLimit) {
    for (ListNode* n = head_; n; n = n->next) {
      if (n->data == item) return true;
    }
    return false;
  }
  useIndex();
  return index_.contains(item);
}

int UntypedList::copiesOf(const void* item) const {
  useIndex();
  auto it = index_.find(item);
  return it == index_.end() ? 0 : it->second.copies;
}

void UntypedList::clear() {
  head_ = tail_ = current_ = nullptr;
  count_ = 0;
  indexed_ = false;
  index_.clear();
  nodes_.clear();
  freeNodes_ = nullptr;
}

void* UntypedList::at(int index) const {
  if (index < 0 || index >= count_) throw ListError("Index out of range.");
  ListNode* n = head_;
  for (int i = 0; i < index; ++i) n = n->next;
  return n->data;
}

void* UntypedList::popBack() {
  ListNode* node = tail_;
  void* item = node->data;
  if (indexed_) {
    auto it = index_.find(item);
    if (--it->second.copies == 0) {
      index_.erase(it);
    } else if (it->second.first == node) {
      it->second.first = nullptr;
    }
  }
  unlink(node);
  --count_;
  freeNode(node);
  return item;
}

void UntypedList::moveToFront(const void* item) {
  ListNode* node = firstNodeOf(item);
  if (!node || node == head_) return;
  unlink(node);
  linkAtHead(node);
}

void UntypedList::swapWithNext(const void* item) {
  ListNode* node = firstNodeOf(item);
  if (!node || node == tail_) return;
  ListNode* after = node->next;
  void* other = after->data;
  if (other == item) return;
  std::swap(node->data, after->data);
  index_[item].first = after;
  Membership& m = index_[other];
  if (m.first == after) m.first = node;
}

void UntypedList::swapWithPrevious(const void* item) {
  ListNode* node = firstNodeOf(item);
  if (!node || node == head_) return;
  ListNode* before = node->prev;
  void* other = before->data;
  if (other == item) return;
  std::swap(node->data, before->data);
  index_[item].first = before;
  Membership& m = index_[other];
  if (m.first == before) m.first = node;
}

void UntypedList::pushFrontAll(UntypedList& other) {
  if (other.count_ == 0) return;
  for (ListNode* n = other.head_; n; n = n->next) pushFront(n->data);
  other.current_ = other.tail_;
}

void UntypedList::addMissing(UntypedList& other) {
  if (other.count_ == 0) return;
  for (ListNode* n = other.head_; n; n = n->next) {
    if (!contains(n->data)) pushFront(n->data);
  }
  other.current_ = other.tail_;
}

void UntypedList::eraseInPass(ListNode* node) {
  if (indexed_) {
    indexed_ = false;
    index_.clear();
  }
  unlink(node);
  --count_;
  freeNode(node);
}

void UntypedList::removeAll(UntypedList& other) {
  if (other.count_ == 0) return;
  if (&other == this) {
    clear();
    return;
  }
  if (indexed_) {
    for (ListNode* n = other.head_; n; n = n->next) {
      if (contains(n->data)) remove(n->data);
    }
  } else {
    // Removing, for each item of `other`, the first copy still held leaves
    // the same list as one walk from the head that drops as many copies of
    // each item as `other` holds: no index of this list is needed.
    absl::flat_hash_map<const void*, int> pending;
    pending.reserve(other.count_);
    for (ListNode* n = other.head_; n; n = n->next) ++pending[n->data];
    for (ListNode* n = head_; n && !pending.empty();) {
      ListNode* next = n->next;
      auto it = pending.find(n->data);
      if (it != pending.end()) {
        eraseInPass(n);
        if (--it->second == 0) pending.erase(it);
      }
      n = next;
    }
  }
  other.current_ = other.tail_;
}
