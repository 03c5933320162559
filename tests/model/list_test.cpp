// The List (and addMissingByMarks) against a plain sequence: after every random step
// the same items both ways round, answers, errors and cursor, with or without its index.

#include "model/list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <random>
#include <string>
#include <vector>

#include "model/marks.h"
#include "model/model.h"

namespace {

struct Plain : std::deque<Vertex*> {
  iterator find(const Vertex* v) { return std::find(begin(), end(), v); }
  long copiesOf(const Vertex* v) const { return std::count(begin(), end(), v); }
  bool remove(const Vertex* v) {
    const auto at = find(v);
    return at != end() && (erase(at), true);
  }
};

void expectSame(const List<Vertex>& list, const Plain& plain) {
  Plain forwards, backwards;
  for (Vertex* v : list) forwards.push_back(v);
  for (ListNode* n = list.tail(); n; n = n->prev)
    backwards.push_front(static_cast<Vertex*>(n->data));
  ASSERT_EQ(forwards, plain);
  ASSERT_EQ(backwards, plain);
  ASSERT_EQ(list.count(), static_cast<int>(plain.size()));
}

template <class Operation>
std::string errorOf(Operation operation) try {
  return operation(), "";
} catch (const ListError& e) {
  return e.what();
}

TEST(ListTest, RandomOperationsMatchAPlainSequence) {
  std::vector<Vertex> pool(12);
  for (unsigned seed = 1; seed <= 40; ++seed) {
    std::mt19937 random(seed);
    auto anyItem = [&] { return &pool[random() % pool.size()]; };
    List<Vertex> list;
    Plain plain;
    for (int step = 0; step < 300; ++step) {
      SCOPED_TRACE("seed " + std::to_string(seed) + " step " + std::to_string(step));
      Vertex* item = anyItem();
      if (seed % 2) list.contains(item);  // builds the index
      const auto at = plain.find(item);
      List<Vertex> other;  // bulk operations' argument, items repeating
      Plain others;
      for (int n = random() % 6; n > 0; --n)
        others.push_back(anyItem()), other.pushBack(others.back());
      const int index = static_cast<int>(random() % (plain.size() + 2)) - 1;
      const bool inside = index >= 0 && index < static_cast<int>(plain.size());
      Vertex* found = nullptr;
      Plain walked;
      const int kind = random() % 14;
      switch (kind) {
        case 0:
          list.reserve(index);
          list.pushFront(item), plain.push_front(item);
          break;
        case 1:
          list.pushBack(item), plain.push_back(item);
          break;
        case 2:
          EXPECT_EQ(errorOf([&] { list.remove(item); }),
                    plain.remove(item) ? "" : "Item not found");
          break;
        case 3:
          EXPECT_EQ(plain.empty() ? nullptr : list.popBack(),
                    plain.empty() ? nullptr : plain.back());
          if (!plain.empty()) plain.pop_back();
          break;
        case 4:
          list.moveToFront(item);
          if (plain.remove(item)) plain.push_front(item);
          break;
        case 5:
          list.swapWithNext(item);
          if (at != plain.end() && at + 1 != plain.end()) std::iter_swap(at, at + 1);
          break;
        case 6:
          list.swapWithPrevious(item);
          if (at != plain.end() && at != plain.begin()) std::iter_swap(at, at - 1);
          break;
        case 7:
          EXPECT_EQ(errorOf([&] { found = list.at(index); }), inside ? "" : "Index out of range.");
          EXPECT_EQ(found, inside ? plain[index] : nullptr);
          break;
        case 8:
          list.pushFrontAll(other);
          for (Vertex* v : others) plain.push_front(v);
          break;
        case 9:  // each item neither held nor met earlier in the walk
          random() % 2 ? list.addMissing(other) : addMissingByMarks(list, other);
          for (Vertex* v : others)
            if (!plain.copiesOf(v)) plain.push_front(v);
          break;
        case 10:
          list.removeAll(other);
          for (Vertex* v : others) plain.remove(v);
          break;
        case 11:
          list.removeIf([&](const Vertex* v) { return v - pool.data() < index; });
          std::erase_if(plain, [&](const Vertex* v) { return v - pool.data() < index; });
          break;
        case 12:  // a walk with the list's cursor rests on the tail
          for (bool more = list.first(); more; more = list.next())
            walked.push_back(list.currentItem());
          EXPECT_EQ(walked, plain);
          EXPECT_EQ(list.current(), list.tail());
          break;
        default:
          if (index < 0) {
            random() % 2 ? list.clear() : list.removeAll(list);
            plain.clear();
          } else {  // the moved-to list holds everything, the moved-from one is reusable
            List<Vertex> moved(std::move(list));
            expectSame(moved, plain);
            EXPECT_EQ(moved.copiesOf(item), plain.copiesOf(item));
            for (Vertex* v : moved) list.pushBack(v);
          }
      }
      EXPECT_TRUE(kind < 8 || kind > 10 || other.current() == other.tail());  // walked with it
      expectSame(list, plain);
      if (seed % 2 == 0 && step % 50 != 49) continue;
      for (Vertex& v : pool) {
        ASSERT_EQ(list.contains(&v), plain.copiesOf(&v) > 0);
        ASSERT_EQ(list.copiesOf(&v), plain.copiesOf(&v));
      }
    }
  }
}

}  // namespace
