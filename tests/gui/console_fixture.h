#pragma once
// The editor's console as the editor builds it: a 400 x 200 panel at
// (100, 100) holding a prompt (front child, stacked lowest) and a message box.
//
//   y 300 +-------------------------+
//         | title band (280..300)   |
//         | messages  (5,35) 390x135|
//         | prompt    (5,5)  390x25 |
//   y 100 +-------------------------+
//         x 100                     x 500

#include <memory>

#include "gui/message_box.h"
#include "gui/panel.h"
#include "gui/text_entry.h"
#include "gui/ui_context.h"

struct Console {
  UiContext ui;
  std::unique_ptr<Panel> panel;
  std::unique_ptr<TextEntry> prompt;
  std::unique_ptr<MessageBox> messages;

  Console() {
    ui.setTitleBarHeight(20);
    ui.setWindowSize(800, 600);
    panel = std::make_unique<Panel>("Console", 100, 100, 400, 200, &ui);
    prompt = std::make_unique<TextEntry>("Console Prompt", 5, 5, 390, 25);
    prompt->setWidthMode(kFillSize);
    prompt->setHeightMode(kKeepSize);
    prompt->hideLabel();
    prompt->setLabelOutside(1);
    prompt->setLabelAlignment(0, 0);
    messages = std::make_unique<MessageBox>("Console Messages", 5, 35, 390, 140);
    messages->setHeightMode(kProportionalSize);
    messages->setWidthMode(kFillSize);
    messages->setLabelOutside(1);
    messages->hideLabel();
    panel->addMessageBox(messages.get());
    panel->addEntry(prompt.get());
    panel->stretchChildren();
    panel->stackChildren();
    panel->configure(1, 1, 1);
  }

  // Puts the pointer at window (x, y) and presses and releases a button there.
  void click(int button, int x, int y) {
    ui.setMousePosition(x, y);
    ui.setButton(button, 0);
    panel->mouseButton(button, 0);
    ui.setButton(button, 1);
    panel->mouseButton(button, 1);
  }
};
