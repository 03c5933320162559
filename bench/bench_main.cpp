// Runs the registered cases once per size and writes their rows as CSV on
// standard output. The editor's trace, which some operations print per
// polygon, goes to /dev/null: it is still formatted and written, as in the
// program, but does not mix with the results. Progress goes to standard error.
//
//   bench_model [--sizes 10000,100000,1000000] [--runs 5] [--filter TEXT]

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_registry.h"

namespace bench {
namespace {

struct Case {
  int section;
  std::string name;
  CaseFunction run;
};

std::vector<Case>& cases() {
  static std::vector<Case> all;
  return all;
}

// A CSV field: names and notes may hold commas.
std::string quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

class CsvReport : public Report {
 public:
  CsvReport(std::FILE* out, int section, int size) : out_(out), section_(section), size_(size) {}
  void row(const std::string& name, const std::string& unit, double value,
           const std::string& note) override {
    std::fprintf(out_, "%d,%s,%s,%d,%.6g,%s\n", section_, quoted(name).c_str(), unit.c_str(), size_,
                 value, quoted(note).c_str());
    std::fflush(out_);
    std::fprintf(stderr, "  %-52s %8d %12.3f %s %s\n", name.c_str(), size_, value, unit.c_str(),
                 note.c_str());
  }

 private:
  std::FILE* out_;
  int section_, size_;
};

std::vector<int> parseSizes(const char* text) {
  std::vector<int> sizes;
  for (const char* p = text; *p;) {
    char* end;
    sizes.push_back(static_cast<int>(std::strtol(p, &end, 10)));
    p = *end == ',' ? end + 1 : end;
    if (end == p && *p) break;
  }
  return sizes;
}

}  // namespace

bool addCase(int section, const std::string& name, CaseFunction run) {
  cases().push_back({section, name, std::move(run)});
  return true;
}

}  // namespace bench

int main(int argc, char** argv) {
  std::vector<int> sizes = {10000, 100000, 1000000};
  int runs = 5;
  std::string filter;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string flag = argv[i];
    if (flag == "--sizes") sizes = bench::parseSizes(argv[i + 1]);
    if (flag == "--runs") runs = std::max(1, std::atoi(argv[i + 1]));
    if (flag == "--filter") filter = argv[i + 1];
  }

  std::fflush(stdout);
  std::FILE* results = fdopen(dup(STDOUT_FILENO), "w");
  const int devNull = open("/dev/null", O_WRONLY);
  dup2(devNull, STDOUT_FILENO);
  close(devNull);

  auto& all = bench::cases();
  std::stable_sort(all.begin(), all.end(),
                   [](const auto& a, const auto& b) { return a.section < b.section; });
  for (int size : sizes) {
    // Large models take long to build for every run; three runs still give a median.
    const bench::Context context{size, size >= 1000000 ? std::min(runs, 3) : runs};
    for (const auto& c : all) {
      if (!filter.empty() && c.name.find(filter) == std::string::npos) continue;
      std::fprintf(stderr, "%s, size %d\n", c.name.c_str(), size);
      bench::CsvReport report(results, c.section, size);
      c.run(context, report);
    }
  }
  std::fclose(results);
  return 0;
}
