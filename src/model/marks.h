#pragma once
// Membership and numbering of vertices and UV points within one operation,
// without hashing. An operation takes a fresh pass number and marks items by
// storing it in them; an item is marked in that pass when its markPass equals
// the number. Pass numbers never repeat, so marks left by earlier passes never
// count, and nothing needs clearing afterwards.
//
// One pass at a time per kind of item: between marking and its last test, an
// operation must not call anything that starts another pass on the same items.
// The helpers below give exactly the results of the List operations they
// stand for, in time linear in both lists and without a membership index.

#include <cstdint>

#include "model/list.h"

uint64_t newMarkPass();

template <class T>
void markAll(const List<T>& list, uint64_t pass) {
  for (T* item : list) item->markPass = pass;
}

template <class T>
bool isMarked(const T* item, uint64_t pass) {
  return item->markPass == pass;
}

// target.addMissing(from): each item of `from` that target does not hold yet
// (nor received earlier in this walk) is pushed at target's head, in from's
// order; from's cursor ends on its tail.
template <class T>
void addMissingByMarks(List<T>& target, List<T>& from) {
  if (from.empty()) return;
  const uint64_t pass = newMarkPass();
  markAll(target, pass);
  for (T* item : from) {
    if (isMarked(item, pass)) continue;
    item->markPass = pass;
    target.pushFront(item);
  }
  from.setCurrent(from.tail());
}
