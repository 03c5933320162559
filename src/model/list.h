#pragma once
// The one container of the model and the editor: a doubly linked list of item
// pointers with an iteration cursor kept in the list itself. The list owns its
// nodes, never its items; items are compared by address and may be held more
// than once.
//
// Beside the links, a list can keep a membership index (item -> copies held,
// first node from the head), so contains() is O(1) and remove(), addMissing(),
// removeAll() and pushFrontAll() cost time linear in the items they touch,
// while order, first-match semantics and the cursor behave as a plain list's.
// The index is built by the first operation that asks about membership and
// kept up to date from then on until clear(): most lists (query results, the
// model's own lists) are only filled and walked, and never pay for it.
//
// Nodes come from chunks owned by the list, so filling a list costs no
// allocation per item and clear() releases a large list at once.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <vector>

#include <absl/container/flat_hash_map.h>

#include "model/chunk_store.h"

struct ListNode {
  ListNode* next = nullptr;  // towards the tail, null at the tail
  ListNode* prev = nullptr;  // towards the head, null at the head
  void* data = nullptr;      // the item
};

// Raised by remove() ("Item not found") and at() ("Index out of range.").
class ListError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class UntypedList {
 public:
  UntypedList() = default;
  ~UntypedList();
  UntypedList(const UntypedList&) = delete;
  UntypedList& operator=(const UntypedList&) = delete;
  UntypedList(UntypedList&& other) noexcept;
  UntypedList& operator=(UntypedList&& other) noexcept;

  ListNode* head() const { return head_; }
  ListNode* tail() const { return tail_; }
  ListNode* current() const { return current_; }
  int count() const { return count_; }
  bool empty() const { return count_ == 0; }
  // Makes room for `more` items, before bulk fills.
  void reserve(int more);

  // The cursor walk: first() puts the cursor on the head, next() moves it one
  // node towards the tail. Both answer false when there is no node to visit;
  // after a complete walk the cursor rests on the tail.
  bool first();
  bool next();
  void setCurrent(ListNode* node) { current_ = node; }

  ListNode* pushFront(void* item);
  ListNode* pushBack(void* item);
  void remove(const void* item);  // throws ListError("Item not found")
  bool contains(const void* item) const;
  int copiesOf(const void* item) const;
  void clear();
  void* at(int index) const;  // throws ListError("Index out of range.")
  void* popBack();            // removes the tail node; the list must not be empty
  void moveToFront(const void* item);
  void swapWithNext(const void* item);
  void swapWithPrevious(const void* item);

  // Each walks `other` from its head with other's cursor.
  void pushFrontAll(UntypedList& other);
  void addMissing(UntypedList& other);
  void removeAll(UntypedList& other);

 protected:
  // Takes out one node in a pass over the list. The membership index, if any,
  // is dropped rather than mended; it is rebuilt when next needed.
  void eraseInPass(ListNode* node);

 private:
  static constexpr size_t kFirstChunk = 16;
  struct Membership {
    int copies = 0;
    ListNode* first = nullptr;  // node nearest the head, null when not known
  };
  ListNode* firstNodeOf(const void* item);
  void unlink(ListNode* node);
  void linkAtHead(ListNode* node);
  // Builds the membership index from the links if it is not kept yet.
  void useIndex() const;
  void noteAdded(const void* item, ListNode* node, bool atHead);
  ListNode* newNode(void* item);
  void freeNode(ListNode* node);

  ListNode* head_ = nullptr;
  ListNode* tail_ = nullptr;
  ListNode* current_ = nullptr;
  int count_ = 0;
  mutable bool indexed_ = false;
  mutable absl::flat_hash_map<const void*, Membership> index_;
  // Node storage, and the nodes removed one by one, linked through `next`,
  // for reuse.
  ChunkStore<ListNode> nodes_{kFirstChunk};
  ListNode* freeNodes_ = nullptr;
};

// The typed face of the list: the same list holding T pointers.
template <class T>
class List : public UntypedList {
 public:
  class Iterator {
   public:
    explicit Iterator(ListNode* node) : node_(node) {}
    T* operator*() const { return static_cast<T*>(node_->data); }
    Iterator& operator++() {
      node_ = node_->next;
      return *this;
    }
    bool operator!=(const Iterator& other) const { return node_ != other.node_; }

   private:
    ListNode* node_;
  };

  // Range-for walks head to tail without touching the cursor.
  Iterator begin() const { return Iterator(head()); }
  Iterator end() const { return Iterator(nullptr); }

  ListNode* pushFront(T* item) { return UntypedList::pushFront(voidOf(item)); }
  ListNode* pushBack(T* item) { return UntypedList::pushBack(voidOf(item)); }
  void remove(const T* item) { UntypedList::remove(item); }
  bool contains(const T* item) const { return UntypedList::contains(item); }
  T* at(int index) const { return static_cast<T*>(UntypedList::at(index)); }
  T* headItem() const { return head() ? static_cast<T*>(head()->data) : nullptr; }
  T* tailItem() const { return tail() ? static_cast<T*>(tail()->data) : nullptr; }
  T* currentItem() const { return current() ? static_cast<T*>(current()->data) : nullptr; }
  void moveToFront(const T* item) { UntypedList::moveToFront(item); }
  void swapWithNext(const T* item) { UntypedList::swapWithNext(item); }
  void swapWithPrevious(const T* item) { UntypedList::swapWithPrevious(item); }
  void pushFrontAll(List<T>& other) { UntypedList::pushFrontAll(other); }
  void addMissing(List<T>& other) { UntypedList::addMissing(other); }
  void removeAll(List<T>& other) { UntypedList::removeAll(other); }
  // Takes out every node whose item satisfies `doomed`, in one walk.
  template <class Predicate>
  void removeIf(Predicate doomed) {
    for (ListNode* n = head(); n;) {
      ListNode* next = n->next;
      if (doomed(static_cast<T*>(n->data))) eraseInPass(n);
      n = next;
    }
  }

 private:
  static void* voidOf(T* item) { return const_cast<void*>(static_cast<const void*>(item)); }
};
