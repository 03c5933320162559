// Entry point: the command line's work without a window, or the one Editor
// and its main panel in the window, which never returns.
#include <cstdio>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/editor.h"
#include "app/editor_window.h"
#include "console/open_request.h"
#include "recovery/recovery_session.h"

int main(int argc, char** argv) {
  // The trace on standard output is followed line by line by whoever watches it.
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  const CommandLine command = parseCommandLine(std::vector<std::string>(argv, argv + argc));
  ImportSettings imports;
  imports.program = kOwnProgram;
  if (command.action != CommandLine::kOpenEditor) return runWithoutWindow(command, imports);

  Editor* editor = new Editor();
  editor->commandState.importSettings = imports;
  Panel* mainWidget = new Panel("main", 100, 100, 800, 600, editor->uiContext());
  runEditorWindow(editor, mainWidget, command.glutArguments, [&] {
    // After the window is up, so that the model's texture reaches OpenGL; the
    // window draws while the file is read.
    editor->commandState.opensInBackground = true;
    if (!command.input.empty()) {
      requestOpen(*editor, command.input, OpenRequest::kCommandLine);
    } else {
      offerRecovery(editor->recovery);
    }
  });
  return 0;
}
