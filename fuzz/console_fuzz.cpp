// Console lines (split at line feeds) in a fresh editor holding a model, a selection
// and a texture in a scratch directory: afterwards the model must be intact.

#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "app/editor.h"
#include "console/console_commands.h"
#include "formats/model_file.h"
#include "support/bmp_file.h"
#include "support/model_invariants.h"
#include "tools/selection.h"

constexpr const char* kModelFile =
    "4\n0 0 0\n1 0 0\n0 1 0\n1e300 -2 0.5\n"
    "2\n1\n0 1 2 0 1 0 0 0 1 \n0\n1 0 0 1\n"
    "2\n1 2 3 0.25 0.5 0.75 0 0 0 \n3 0 1 0 0 0 0 0 0 \n1\ntex.bmp\n0.5 0.5 0.5 1\n"
    "2\n1 0 0 0 0 0 0 -1\n2 0 1 0 0 0 1 2 -1\n";

static std::filesystem::path workingDirectory;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // In memory if possible: every save syncs its file.
  char inMemory[] = "/dev/shm/vantorel-console-fuzz-XXXXXX";
  char onDisk[] = "/tmp/vantorel-console-fuzz-XXXXXX";
  const char* dir = mkdtemp(inMemory) ? inMemory : mkdtemp(onDisk);
  if (!dir || chdir(dir) != 0) std::abort();
  workingDirectory = dir;
  std::atexit([] {
    std::error_code ignored;
    std::filesystem::remove_all(workingDirectory, ignored);
  });
  if (!std::freopen("/dev/null", "w", stdout)) std::abort();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  for (const auto& entry : std::filesystem::directory_iterator(workingDirectory))
    std::filesystem::remove_all(entry.path());
  std::ofstream("model.mdl") << kModelFile;
  std::ofstream("tex.bmp", std::ios::binary) << tinyBmp();
  Editor editor;
  if (!load(*editor.doc.model, "model.mdl")) std::abort();
  editor.doc.model->name = "current.mdl";
  selectAllVertices(editor);
  selectAllPolygons(editor);
  editor.doc.selectedBone = editor.doc.model->rootBone();

  const std::string_view input(reinterpret_cast<const char*>(data), size);
  for (size_t start = 0; start <= input.size();) {
    const size_t end = std::min(input.find('\n', start), input.size());
    std::string line(input.substr(start, end - start));
    if (line.size() > 1) std::replace(line.begin() + 1, line.end(), '/', '_');
    runConsoleCommand(editor, line);
    start = end + 1;
  }
  if (!findModelFault(*editor.doc.model).empty()) std::abort();
  return 0;
}
