// The List's bulk operations at selection sizes: n items, half of them held,
// added to or removed from a list of n.

#include <vector>

#include "bench_registry.h"
#include "bench_util.h"
#include "model/list.h"

namespace {
struct Item {
  int id;
};
}  // namespace

BENCH_CASE(40, "list") {
  const int n = context.size;
  std::vector<Item> items(n + n / 2);
  List<Item> base, overlap, target;
  for (int i = 0; i < n; ++i) base.pushFront(&items[i]);
  for (int i = n / 2; i < n + n / 2; ++i) overlap.pushFront(&items[i]);
  auto fill = [&] {
    target.clear();
    target.pushFrontAll(base);
  };
  report.row("list: addMissing n, half held, into n", "ms",
             bench::medianMs(context.runs, fill, [&] { target.addMissing(overlap); }));
  report.row("list: removeAll n, half held, from n", "ms",
             bench::medianMs(context.runs, fill, [&] { target.removeAll(overlap); }));
}
