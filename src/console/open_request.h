#pragma once
// Opening a model without stopping the window: the file is read (or imported
// by the import child) on a thread of its own, the window keeps drawing and
// the console says how far the open has got once it takes a while; the model
// takes the current one's place at the next poll after the read is done.

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "import/open_model.h"

struct CommandContext;

// Where an open was asked for: "/open" keeps a model file's views and answers
// in the console; the command line shows any model whole and says on standard
// error why a file could not be opened.
enum class OpenRequest { kConsole, kCommandLine };

struct BackgroundOpen {
  BackgroundOpen(CommandContext& e, const std::string& path, OpenRequest from);
  ~BackgroundOpen();  // waits for the read
  BackgroundOpen(const BackgroundOpen&) = delete;
  BackgroundOpen& operator=(const BackgroundOpen&) = delete;

  const std::string path;
  const OpenRequest from;
  const std::chrono::steady_clock::time_point started = std::chrono::steady_clock::now();
  std::atomic<int> percent{-1};  // how far the importer says it has got, -1 before it says
  std::atomic<bool> done{false};
  OpenedModel opened;     // the outcome, once done
  std::string lastShown;  // the progress line last put in the console
  std::string next;       // the file asked for meanwhile, opened once this one is done
  std::thread worker;
};

// Opens `path` as openModel does: at once, or in the background when the
// editor opens so. A file asked for while an open is under way is opened
// after it (the newest such request wins).
void requestOpen(CommandContext& e, const std::string& path, OpenRequest from);
// Finishes the open under way once its file is read; until then, after
// openProgressAfter, the console says how far it has got ("Opening
// ship.fbx: 40%", or the seconds so far when the reader cannot tell). True
// when the console or the model changed.
bool pollOpen(CommandContext& e);
