#pragma once
// Foreign files are imported in a child process, so that a file that makes
// the importer crash, hang or swallow memory cannot take the editor and its
// unsaved model down. The child is the program itself, started with a hidden
// argument; it writes what it found as lines ("progress PERCENT" as it reads,
// "change TEXT", or "error TEXT")
// and then "image BYTES" and the model's image (import/image_transfer.h) on
// its standard output.

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/model.h"

// The program's own executable, which the program itself names as the child.
inline constexpr const char* kOwnProgram = "/proc/self/exe";

struct ImportSettings {
  std::string program;       // the child's executable; none, and nothing is imported
  int seconds = 20;          // the time limit
  uint64_t memoryBytes = 0;  // the memory limit; 0 picks half the machine's memory
  // Where the percentage the importer reports goes, as it reads (not owned).
  std::atomic<int>* progress = nullptr;
};

struct ImportResult {
  std::unique_ptr<Model> model;      // null when the import failed
  std::string reason;                // why, for the user
  std::vector<std::string> changes;  // what the model file could not keep
};

// Imports `path` into a new model named `modelName`, in a child process.
// Texture files the import writes go beside `modelName`.
ImportResult importInChild(const std::string& path, const std::string& modelName,
                           TextureCache* textures, const ImportSettings& settings);

// The child's side: imports `path` for a model to be saved as `modelName`
// and writes the result to standard output; returns the exit status. The
// environment variable VANTOREL_IMPORT_FAULT ("crash", "hang", "memory", or
// "longline": 64 MB without a line feed) makes it fail that way, for tests.
int runImportChild(const std::string& path, uint64_t memoryBytes, const std::string& modelName);
