// The mark-based list helpers and the one-walk removeAll must give exactly the
// lists of the plain List operations they stand for, duplicates included.

#include "model/marks.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "model/model.h"

namespace {

std::vector<Vertex*> itemsOf(const List<Vertex>& list) {
  std::vector<Vertex*> out;
  for (Vertex* v : list) out.push_back(v);
  return out;
}

// A list of `length` picks from `pool`, so items repeat.
void fill(List<Vertex>& list, std::vector<Vertex>& pool, int length, std::mt19937& random) {
  for (int i = 0; i < length; ++i) list.pushFront(&pool[random() % pool.size()]);
}

TEST(MarksTest, AddMissingByMarksMatchesAddMissing) {
  std::vector<Vertex> pool(30);
  for (unsigned seed = 1; seed <= 200; ++seed) {
    std::mt19937 random(seed);
    List<Vertex> plain, marked, from;
    const int length = random() % 25;
    fill(plain, pool, length, random);
    for (Vertex* v : plain) marked.pushBack(v);
    fill(from, pool, random() % 25, random);
    if (seed % 3 == 0) plain.contains(&pool[0]);  // with the index kept as well
    plain.addMissing(from);
    const ListNode* cursorAfterPlain = from.current();
    from.first();
    addMissingByMarks(marked, from);
    EXPECT_EQ(itemsOf(marked), itemsOf(plain)) << "seed " << seed;
    EXPECT_EQ(from.current(), cursorAfterPlain);
  }
}

TEST(MarksTest, RemoveAllGivesTheSameListWithOrWithoutAnIndex) {
  std::vector<Vertex> pool(20);
  for (unsigned seed = 1; seed <= 200; ++seed) {
    std::mt19937 random(seed);
    List<Vertex> indexed, walked, other;
    fill(indexed, pool, random() % 40, random);
    for (Vertex* v : indexed) walked.pushBack(v);
    fill(other, pool, random() % 30, random);
    indexed.contains(&pool[0]);  // builds the index: removal one item at a time
    indexed.removeAll(other);
    walked.removeAll(other);  // no index: one walk
    EXPECT_EQ(itemsOf(walked), itemsOf(indexed)) << "seed " << seed;
    for (Vertex& v : pool) EXPECT_EQ(walked.copiesOf(&v), indexed.copiesOf(&v));
  }
}

TEST(MarksTest, RemoveIfTakesEveryMatchingNodeAndKeepsMembershipRight) {
  std::vector<Vertex> pool(10);
  List<Vertex> list;
  for (int i = 0; i < 30; ++i) list.pushFront(&pool[i % 10]);
  list.contains(&pool[0]);
  list.removeIf([&](const Vertex* v) { return v - pool.data() < 5; });
  EXPECT_EQ(list.count(), 15);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(list.copiesOf(&pool[i]), i < 5 ? 0 : 3) << i;
  EXPECT_EQ(list.headItem(), &pool[9]);
}

TEST(MarksTest, PassesNeverRepeat) {
  const uint64_t a = newMarkPass(), b = newMarkPass();
  EXPECT_NE(a, 0u);
  EXPECT_GT(b, a);
  Vertex v;
  EXPECT_FALSE(isMarked(&v, a));
}

}  // namespace
