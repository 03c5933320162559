#pragma once
// What the console's commands keep between commands: the tokenizer, how
// files of other formats are imported, the open under way, and a quit asked for.

#include <chrono>
#include <memory>

#include "console/tokenizer.h"
#include "import/import_child.h"

struct BackgroundOpen;

struct CommandState {
  CommandState();
  ~CommandState();
  Tokenizer tokenizer{' '};
  ImportSettings importSettings;  // how files of other formats are imported
  // Opens read on a thread of their own while the window keeps drawing (the
  // window sets this; without it an open is done before the command returns),
  // saying how far they have got once they take longer than openProgressAfter.
  bool opensInBackground = false;
  std::chrono::steady_clock::duration openProgressAfter = std::chrono::seconds(1);
  std::unique_ptr<BackgroundOpen> backgroundOpen;  // the open under way
  // Set by "/quit": the window closes after the frame pump, as when the user
  // closes it (unsaved changes go to the recovery file).
  bool quitRequested = false;
};
