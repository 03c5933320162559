#include "gui/console_panel.h"

ConsolePanel buildConsolePanel(UiContext* ui) {
  ConsolePanel console;
  console.panel = std::make_unique<Panel>("Console", 100, 100, 400, 200, ui);
  console.prompt = std::make_unique<TextEntry>("Console Prompt", 5, 5, 390, 25);
  TextEntry& prompt = *console.prompt;
  prompt.setWidthMode(kFillSize);
  prompt.setHeightMode(kKeepSize);
  prompt.hideLabel();
  prompt.setLabelOutside(1);
  prompt.setLabelAlignment(0, 0);
  console.messages = std::make_unique<MessageBox>("Console Messages", 5, 35, 390, 140);
  MessageBox& messages = *console.messages;
  messages.setHeightMode(kProportionalSize);
  messages.setWidthMode(kFillSize);
  messages.setLabelOutside(1);
  messages.hideLabel();
  // The prompt is added last, so it is the front child and stacked lowest.
  Panel& panel = *console.panel;
  panel.addMessageBox(&messages);
  panel.addEntry(&prompt);
  panel.stretchChildren();
  panel.stackChildren();
  panel.configure({.resizable = true, .editable = true, .minimisable = true});
  return console;
}
