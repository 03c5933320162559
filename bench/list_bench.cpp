// List bulk operations at selection sizes: addMissing and removeAll of
// 100,000 items into a list of 100,000, and contains over all of them.

#include <vector>

#include "bench_util.h"
#include "model/list.h"

namespace {
struct Item {
  int id;
};
}  // namespace

int main() {
  const int n = 100000;
  std::vector<Item> items(2 * n);
  List<Item> base, others, overlap;
  for (int i = 0; i < n; ++i) base.pushFront(&items[i]);
  for (int i = n; i < 2 * n; ++i) others.pushFront(&items[i]);
  for (int i = n / 2; i < n + n / 2; ++i) overlap.pushFront(&items[i]);

  List<Item> target;
  auto fill = [&] {
    target.clear();
    target.pushFrontAll(base);
  };
  bench::row("pushFrontAll 100k into empty", bench::medianMs(
                                                  7, [&] { target.clear(); },
                                                  [&] { target.pushFrontAll(base); }));
  bench::row("addMissing 100k new into 100k", bench::medianMs(7, fill, [&] {
               target.addMissing(others);
             }));
  bench::row("addMissing 100k half-held into 100k", bench::medianMs(7, fill, [&] {
               target.addMissing(overlap);
             }));
  bench::row("removeAll 100k held from 100k", bench::medianMs(7, fill, [&] {
               target.removeAll(base);
             }));
  bench::row("removeAll 100k half-held from 100k", bench::medianMs(7, fill, [&] {
               target.removeAll(overlap);
             }));
  int found = 0;
  bench::row("contains x 200k on 100k", bench::medianMs(7, fill, [&] {
               for (auto& item : items) found += target.contains(&item);
             }));
  return found == 0;  // keeps the loop from being optimised away
}
