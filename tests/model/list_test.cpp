#include "model/list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <random>
#include <string>
#include <vector>

namespace {

struct Item {
  int id;
};

std::vector<int> ids(const List<Item>& list) {
  std::vector<int> out;
  for (Item* item : list) out.push_back(item->id);
  return out;
}

// Walks from the tail through the prev links, to check both directions agree.
std::vector<int> idsBackwards(const List<Item>& list) {
  std::vector<int> out;
  for (ListNode* n = list.tail(); n; n = n->prev)
    out.insert(out.begin(), static_cast<Item*>(n->data)->id);
  return out;
}

class ListTest : public ::testing::Test {
 protected:
  Item a{1}, b{2}, c{3}, d{4}, x{9};
};

TEST_F(ListTest, NewListIsEmptyAndClearMakesItNewAgain) {
  List<Item> list;
  EXPECT_EQ(list.count(), 0);
  EXPECT_EQ(list.head(), nullptr);
  EXPECT_EQ(list.tail(), nullptr);
  EXPECT_EQ(list.current(), nullptr);
  list.pushFront(&a);
  list.pushBack(&b);
  list.first();
  list.clear();
  EXPECT_EQ(list.count(), 0);
  EXPECT_EQ(list.head(), nullptr);
  EXPECT_EQ(list.tail(), nullptr);
  EXPECT_EQ(list.current(), nullptr);
  EXPECT_FALSE(list.contains(&a));
}

TEST_F(ListTest, PushFrontPutsNewestAtHeadAndPushBackAtTail) {
  List<Item> list;
  list.pushBack(&a);  // on an empty list the one node is head and tail
  EXPECT_EQ(list.headItem(), &a);
  EXPECT_EQ(list.tailItem(), &a);
  list.pushFront(&b);
  list.pushBack(&c);
  EXPECT_EQ(ids(list), (std::vector<int>{2, 1, 3}));
  EXPECT_EQ(idsBackwards(list), ids(list));
  EXPECT_EQ(list.count(), 3);
}

TEST_F(ListTest, RemoveTakesTheFirstCopyFromTheHead) {
  List<Item> list;
  list.pushFront(&a);
  list.pushFront(&b);
  list.pushFront(&a);  // [a b a]
  list.remove(&a);
  EXPECT_EQ(ids(list), (std::vector<int>{2, 1}));
  EXPECT_TRUE(list.contains(&a));
  list.remove(&a);
  EXPECT_FALSE(list.contains(&a));
  EXPECT_EQ(ids(list), (std::vector<int>{2}));
  EXPECT_EQ(idsBackwards(list), ids(list));
}

TEST_F(ListTest, RemoveOfAbsentItemRaisesItemNotFound) {
  List<Item> list;
  try {
    list.remove(&a);
    FAIL() << "no error";
  } catch (const ListError& e) {
    EXPECT_STREQ(e.what(), "Item not found");
  }
  list.pushFront(&b);
  EXPECT_THROW(list.remove(&a), ListError);
  EXPECT_EQ(list.count(), 1);
}

TEST_F(ListTest, AtWalksFromHeadAndRejectsIndexesOutOfRange) {
  List<Item> list;
  try {
    list.at(0);
    FAIL() << "no error";
  } catch (const ListError& e) {
    EXPECT_STREQ(e.what(), "Index out of range.");
  }
  list.pushFront(&a);
  list.pushFront(&b);
  EXPECT_EQ(list.at(0), &b);
  EXPECT_EQ(list.at(list.count() - 1), &a);
  EXPECT_THROW(list.at(2), ListError);
  EXPECT_THROW(list.at(-1), ListError);
}

TEST_F(ListTest, CursorWalkRestsOnTheTail) {
  List<Item> list;
  EXPECT_FALSE(list.first());
  list.pushFront(&a);
  list.pushFront(&b);
  std::vector<int> seen;
  if (list.first()) {
    do seen.push_back(list.currentItem()->id);
    while (list.next());
  }
  EXPECT_EQ(seen, (std::vector<int>{2, 1}));
  EXPECT_EQ(list.current(), list.tail());
}

TEST_F(ListTest, MoveToFrontRelinksTheNodeAndKeepsCount) {
  List<Item> list;
  list.moveToFront(&a);  // empty list: nothing
  EXPECT_EQ(list.count(), 0);
  list.pushBack(&a);
  list.pushBack(&b);
  list.pushBack(&c);
  list.moveToFront(&c);  // the tail moves, the tail pointer follows
  EXPECT_EQ(ids(list), (std::vector<int>{3, 1, 2}));
  EXPECT_EQ(list.tailItem(), &b);
  list.moveToFront(&c);  // already head
  list.moveToFront(&x);  // absent
  EXPECT_EQ(ids(list), (std::vector<int>{3, 1, 2}));
  EXPECT_EQ(idsBackwards(list), ids(list));
  list.remove(&c);  // the index still finds the moved node
  EXPECT_EQ(ids(list), (std::vector<int>{1, 2}));
}

TEST_F(ListTest, SwapsExchangeDataWithNeighbours) {
  List<Item> list;
  list.pushBack(&a);
  list.pushBack(&b);
  list.swapWithNext(&b);      // tail: nothing
  list.swapWithPrevious(&a);  // head: nothing
  EXPECT_EQ(ids(list), (std::vector<int>{1, 2}));
  list.swapWithNext(&a);
  EXPECT_EQ(ids(list), (std::vector<int>{2, 1}));
  list.swapWithPrevious(&a);
  EXPECT_EQ(ids(list), (std::vector<int>{1, 2}));
  list.pushBack(&c);
  list.swapWithNext(&b);  // [a c b]
  list.remove(&b);
  list.remove(&a);
  EXPECT_EQ(ids(list), (std::vector<int>{3}));
}

TEST_F(ListTest, BulkOperationsKeepThePlainListOrder) {
  List<Item> other;
  other.pushBack(&a);
  other.pushBack(&b);
  other.pushBack(&c);  // [a b c]

  List<Item> pushed;
  pushed.pushFront(&x);
  pushed.pushFrontAll(other);
  EXPECT_EQ(ids(pushed), (std::vector<int>{3, 2, 1, 9}));
  EXPECT_EQ(other.current(), other.tail());  // the walk used other's cursor

  List<Item> added;
  added.pushFront(&b);
  other.pushBack(&a);  // a twice in other: added once
  added.addMissing(other);
  EXPECT_EQ(ids(added), (std::vector<int>{3, 1, 2}));

  List<Item> removed;
  removed.pushBack(&a);
  removed.pushBack(&d);
  removed.pushBack(&c);
  List<Item> strangers;
  strangers.pushBack(&x);
  removed.removeAll(strangers);  // nothing held: no change, no error
  EXPECT_EQ(removed.count(), 3);
  removed.removeAll(other);
  EXPECT_EQ(ids(removed), (std::vector<int>{4}));

  List<Item> empty;
  removed.pushFrontAll(empty);
  EXPECT_EQ(ids(removed), (std::vector<int>{4}));
}

TEST_F(ListTest, MovedListKeepsItsItemsAndIndex) {
  List<Item> list;
  list.pushFront(&a);
  list.pushFront(&b);
  List<Item> moved = std::move(list);
  EXPECT_EQ(ids(moved), (std::vector<int>{2, 1}));
  EXPECT_TRUE(moved.contains(&a));
  moved.remove(&a);
  EXPECT_EQ(moved.count(), 1);
  list = std::move(moved);
  EXPECT_TRUE(list.contains(&b));
}

TEST_F(ListTest, ContainsStaysExactAcrossManyItems) {
  std::vector<Item> items(10000);
  List<Item> list, half;
  for (int i = 0; i < 10000; ++i) {
    items[i].id = i;
    list.pushFront(&items[i]);
    if (i % 2 == 0) half.pushBack(&items[i]);
  }
  list.removeAll(half);
  EXPECT_EQ(list.count(), 5000);
  for (int i = 0; i < 10000; ++i) EXPECT_EQ(list.contains(&items[i]), i % 2 == 1) << i;
  EXPECT_EQ(list.headItem()->id, 9999);
  EXPECT_EQ(list.tailItem()->id, 1);
}

// The membership index is built by the first question about membership and
// kept from then on: a list asked early and one asked late, or never, must
// agree with a plain sequence after every step, duplicates and all.
TEST_F(ListTest, RandomOperationsMatchAPlainSequenceWheneverTheIndexIsBuilt) {
  std::vector<Item> items(12);
  for (int i = 0; i < 12; ++i) items[i].id = i;
  for (unsigned seed = 1; seed <= 20; ++seed) {
    std::mt19937 random(seed);
    List<Item> list;
    std::deque<Item*> plain;
    const bool askEarly = seed % 2 == 0;
    for (int step = 0; step < 400; ++step) {
      Item* item = &items[random() % items.size()];
      if (askEarly) list.contains(item);
      const bool held = std::find(plain.begin(), plain.end(), item) != plain.end();
      switch (random() % 8) {
        case 0:
        case 1:
          list.pushFront(item);
          plain.push_front(item);
          break;
        case 2:
          list.pushBack(item);
          plain.push_back(item);
          break;
        case 3:
          if (held) {
            list.remove(item);
            plain.erase(std::find(plain.begin(), plain.end(), item));
          }
          break;
        case 4:
          if (!plain.empty()) {
            EXPECT_EQ(list.popBack(), plain.back());
            plain.pop_back();
          }
          break;
        case 5:
          if (held) {
            list.moveToFront(item);
            auto at = std::find(plain.begin(), plain.end(), item);
            plain.erase(at);
            plain.push_front(item);
          }
          break;
        case 6:
          if (held) {
            list.swapWithNext(item);
            auto at = std::find(plain.begin(), plain.end(), item);
            if (at + 1 != plain.end()) std::iter_swap(at, at + 1);
          }
          break;
        default:
          if (random() % 10 == 0) {
            list.clear();
            plain.clear();
          }
          break;
      }
      std::vector<Item*> listed;
      for (Item* held : list) listed.push_back(held);
      ASSERT_EQ(listed, std::vector<Item*>(plain.begin(), plain.end()))
          << "seed " << seed << " step " << step;
      if (!askEarly && step % 50 != 49) continue;
      for (Item& any : items) {
        ASSERT_EQ(list.contains(&any), std::count(plain.begin(), plain.end(), &any) > 0);
        ASSERT_EQ(list.copiesOf(&any), std::count(plain.begin(), plain.end(), &any));
      }
    }
  }
}

}  // namespace
