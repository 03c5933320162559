#pragma once
// The console panel: a message box over a one-line prompt, both as wide as
// the panel; the messages take the height the panel gains or loses. The
// panel can be resized, edited and minimised.

#include <memory>

#include "gui/message_box.h"
#include "gui/panel.h"
#include "gui/text_entry.h"
#include "gui/ui_context.h"

struct ConsolePanel {
  std::unique_ptr<Panel> panel;          // "Console", 400 x 200 at (100, 100)
  std::unique_ptr<TextEntry> prompt;     // the front child, stacked lowest
  std::unique_ptr<MessageBox> messages;  // above the prompt
};

// The panel keeps pointers to the prompt and the messages; the caller keeps
// all three alive together.
ConsolePanel buildConsolePanel(UiContext* ui);
