#pragma once
// Loading a model file into a model while it is being read.

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

class Model;

// Reads a model file on two threads into `model`, which should be fresh: one
// thread reads and parses, handing polygon lines over in blocks through a
// ring of `ringBlocks` blocks of `blockLines` lines, then helps place them;
// the calling thread builds as the parse goes. False when the file could not
// be read or is not a valid model file (the model is then only fit to be
// thrown away), with the first problem and its line in `error` when given.
// `printNames` prints "Read texture name: %s\n" for each texture name (its
// control characters written out, as in every line of the trace). What the
// read left out goes to `notes`, one line each.
constexpr size_t kBlockLines = 4096, kRingBlocks = 16;
bool readAndBuild(std::FILE* file, size_t sizeHint, Model& model, bool printNames,
                  size_t blockLines = kBlockLines, size_t ringBlocks = kRingBlocks,
                  std::string* error = nullptr, std::vector<std::string>* notes = nullptr);
