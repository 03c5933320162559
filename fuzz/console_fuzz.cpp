// Console lines against an editor holding a model with a selection. Each
// input is one or more lines (split at line feeds), run in a fresh editor in a
// scratch directory that holds a model file and a texture; file names are
// kept inside that directory. After the lines the model must be intact.

#include <dirent.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/editor.h"
#include "support/model_invariants.h"
#include "support/bmp_file.h"

namespace {

// Two groups (the current one textured), four vertices, a root with a child.
constexpr const char* kModelFile =
    "4\n0 0 0\n1 0 0\n0 1 0\n1e300 -2 0.5\n"
    "2\n1\n0 1 2 0 1 0 0 0 1 \n0\n1 0 0 1\n"
    "2\n1 2 3 0.25 0.5 0.75 0 0 0 \n3 0 1 0 0 0 0 0 0 \n1\ntex.bmp\n0.5 0.5 0.5 1\n"
    "2\n1 0 0 0 0 0 0 -1\n2 0 1 0 0 0 1 2 -1\n";

void writeFile(const char* name, const void* data, size_t size) {
  std::FILE* file = std::fopen(name, "wb");
  if (!file) std::abort();
  std::fwrite(data, 1, size, file);
  std::fclose(file);
}

void emptyWorkingDirectory() {
  DIR* dir = opendir(".");
  if (!dir) std::abort();
  while (dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") std::remove(name.c_str());
  }
  closedir(dir);
}

// Empties the working directory and lays out the model and the texture.
void resetDirectory() {
  emptyWorkingDirectory();
  writeFile("model.mdl", kModelFile, std::string_view(kModelFile).size());
  const std::string texture = tinyBmp();
  writeFile("tex.bmp", texture.data(), texture.size());
}

// File commands take a name; with every '/' turned into '_' the name stays in
// the working directory.
std::string confined(std::string line) {
  for (const char* command : {"/open", "/save", "/loadtex"}) {
    const std::string_view word(command);
    if (line.compare(0, word.size(), word) == 0 &&
        (line.size() == word.size() || line[word.size()] == ' ')) {
      for (size_t i = word.size(); i < line.size(); ++i)
        if (line[i] == '/') line[i] = '_';
    }
  }
  return line;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // In memory where there is such a file system: every save syncs its file,
  // and an input of a few hundred /save lines must not take seconds on disk.
  char inMemory[] = "/dev/shm/vantorel-console-fuzz-XXXXXX";
  char onDisk[] = "/tmp/vantorel-console-fuzz-XXXXXX";
  const char* dir = mkdtemp(inMemory);
  if (!dir) dir = mkdtemp(onDisk);
  if (!dir || chdir(dir) != 0) std::abort();
  static const std::string workingDirectory = dir;
  std::atexit([] {
    emptyWorkingDirectory();
    if (chdir("/") == 0) rmdir(workingDirectory.c_str());
  });
  // The editor's trace would only slow the fuzzer down.
  if (!std::freopen("/dev/null", "w", stdout)) std::abort();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  resetDirectory();
  Editor editor;
  if (!editor.model->load("model.mdl")) std::abort();
  editor.model->name = "current.mdl";
  editor.selectAllVertices();
  editor.selectAllPolygons();
  editor.selectedBone = editor.model->rootBone();

  const std::string_view input(reinterpret_cast<const char*>(data), size);
  size_t start = 0;
  while (start <= input.size()) {
    size_t end = input.find('\n', start);
    if (end == std::string_view::npos) end = input.size();
    editor.runConsoleCommand(confined(std::string(input.substr(start, end - start))));
    start = end + 1;
  }
  if (!findModelFault(*editor.model).empty()) std::abort();
  return 0;
}
