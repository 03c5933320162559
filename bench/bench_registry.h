#pragma once
// The benchmark suite's cases. Each case file registers its cases at start-up;
// the runner (bench_main.cpp) calls every case once per model size and writes
// one CSV line per measured row:
//
//   section,row,unit,size,value,note
//
// `size` is the case's notion of model size (triangles for the model cases,
// vertices for the frame cases); bench/run_bench.py joins the lines of all
// sizes into one table.

#include <functional>
#include <string>

namespace bench {

class Report {
 public:
  virtual ~Report() = default;
  virtual void row(const std::string& name, const std::string& unit, double value,
                   const std::string& note = "") = 0;
};

struct Context {
  int size = 0;  // triangles (model cases) or vertices (frame cases)
  int runs = 5;  // runs per median
};

using CaseFunction = std::function<void(const Context&, Report&)>;

// Sections order the table: rows of a lower section come first.
bool addCase(int section, const std::string& name, CaseFunction run);

}  // namespace bench

#define BENCH_CONCAT2(a, b) a##b
#define BENCH_CONCAT(a, b) BENCH_CONCAT2(a, b)
// BENCH_CASE(section, "name") { ... uses `context` and `report` ... }
#define BENCH_CASE(section, name)                                                       \
  static void BENCH_CONCAT(benchCase, __LINE__)(const bench::Context&, bench::Report&); \
  static const bool BENCH_CONCAT(benchRegistered, __LINE__) =                           \
      bench::addCase(section, name, BENCH_CONCAT(benchCase, __LINE__));                 \
  static void BENCH_CONCAT(benchCase, __LINE__)(const bench::Context& context,          \
                                                bench::Report& report)
