#pragma once
// Window tests of whole frames: an Editor with its main panel, as the program
// builds them, drawing into the shared test window.

#include <gtest/gtest.h>

#include <memory>

#include "app/editor.h"
#include "support/gl_window.h"

class EditorWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    REQUIRE_WINDOW();
    editor = std::make_unique<Editor>();
    mainPanel = std::make_unique<Panel>("main", 100, 100, 800, 600, editor->uiContext());
    editor->setMainWidget(mainPanel.get());
    editor->layoutViews();
  }

  // Pointer at a window position with y up.
  void pointAt(int x, int y) { editor->mouseMoved(x, 600 - y); }

  std::unique_ptr<Editor> editor;
  std::unique_ptr<Panel> mainPanel;
};
