// Entry point: the command line's work without a window, or the one Editor
// and its main panel in the window, which never returns.
#include <cstdio>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/editor.h"
#include "console/model_commands.h"
#include "render/window.h"
#include "tools/fit_views.h"
#include "tools/recovery.h"

int main(int argc, char** argv) {
  // The trace on standard output is followed line by line by whoever watches it.
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  const CommandLine command = parseCommandLine(std::vector<std::string>(argv, argv + argc));
  ImportSettings imports;
  imports.program = kOwnProgram;
  if (command.action != CommandLine::kOpenEditor) return runWithoutWindow(command, imports);

  Editor* editor = new Editor();
  editor->importSettings = imports;
  Panel* mainWidget = new Panel("main", 100, 100, 800, 600, editor->uiContext());
  runEditorWindow(editor, mainWidget, command.glutArguments, [&] {
    // After the window is up, so that the model's texture reaches OpenGL.
    std::string reason;
    if (!command.input.empty()) {
      if (openModel(*editor, command.input, &reason)) {
        fitViews(*editor);  // the model asked for is shown whole, whatever its size
      } else {
        std::fprintf(stderr, "vantorel: %s: %s\n", command.input.c_str(), reason.c_str());
      }
    }
    if (command.input.empty()) offerRecovery(*editor);
  });
  return 0;
}
