#pragma once
// The program's arguments. `vantorel [FILE]` opens the editor (with FILE);
// everything else runs without a window and without a display: `--convert IN
// OUT`, `--help`, `--version`, and the import child's hidden `--import-child
// FILE BYTES MODEL`. GLUT's own options (-display, -geometry, ...) are passed on to
// GLUT when the editor opens.

#include <cstdint>
#include <string>
#include <vector>

#include "import/import_child.h"

struct CommandLine {
  enum Action { kOpenEditor, kHelp, kVersion, kConvert, kImportChild, kMistake };
  Action action = kOpenEditor;
  std::string input;                       // FILE, IN, or the import child's file
  std::string output;                      // OUT, or the import child's MODEL
  uint64_t memoryBytes = 0;                // the import child's memory limit
  std::string mistake;                     // what is wrong with the arguments
  std::vector<std::string> glutArguments;  // the program's name and GLUT's options
};

CommandLine parseCommandLine(const std::vector<std::string>& arguments);

// Carries out every action but kOpenEditor; returns the exit status. Errors
// go to standard error as one line each.
int runWithoutWindow(const CommandLine& command, const ImportSettings& settings);

// Converts IN to OUT: IN is read as "/open" reads it, OUT is written in the
// format its extension names, or as a model file. False with the reason.
bool convertModel(const std::string& in, const std::string& out, const ImportSettings& settings,
                  std::string* reason);
