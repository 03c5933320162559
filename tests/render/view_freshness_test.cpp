// Which views' content an event changes (bit i for view i): the key a kept picture is compared
// with. Pointer motion, panels, typing and tool choices change none; a view's own camera or
// render mode changes that view; edits and selections change all four.

#include <functional>
#include <vector>

#include "support/editor_fixture.h"
#include "support/fixtures.h"

namespace {

TEST_F(EditorTest, EventsChangeTheContentOfTheViewsThatShowTheirEffectOnly) {
  addUnitBox(*editor.model, true);
  auto command = [&](int code) {
    editor.ui->pushCommand(code);
    editor.framePump();
  };
  struct Case {
    const char* what;
    std::function<void()> act;
    int changed;
  };
  const std::vector<Case> cases = {
      {"pointer motion", [&] { moveTo(100, 100); }, 0},
      {"panels shown", [&] { special(kKeyHome); }, 0},
      {"typing into the prompt",
       [&] { editor.ui->setFocusedEntry(editor.consolePrompt), key('l'), key('z'); }, 0},
      {"console line run", [&] { key(13), editor.framePump(); }, 15},
      {"tool chosen from the menu", [&] { command(20); }, 0},
      {"Top view flat shaded from the menu", [&] { editor.activeView = 2, command(5); }, 4},
      {"Flatten on X from the menu", [&] { command(9); }, 15},
      {"panels hidden", [&] { special(kKeyHome); }, 0},
      {"Shift+F1 selects all", [&] { special(kKeyF1, kShift); }, 15},
      {"Left scrolls the Top view under the pointer", [&] { special(kKeyLeft); }, 4},
      {"F9 hides the grid", [&] { special(kKeyF9); }, 15},
      {"'l' held shows normals", [&] { editor.setKeyState('l', 1); }, 15},
      {"'k' held, no skeleton", [&] { editor.setKeyState('k', 1); }, 0},
      {"Full view turned", [&] { drag(kLeftButton, 600, 150, 620, 150); }, 8},
      {"Side view scroll press", [&] { press(kMiddleButton, 200, 450); }, 0},
      {"Side view scrolled", [&] { moveTo(190, 450); }, 1},
      {"Side view scroll release", [&] { release(kMiddleButton, 190, 450); }, 0},
      {"pop-up menu", [&] { click(kRightButton, 200, 450); }, 0},
      {"undo key", [&] { key('z'); }, 15},
  };
  for (const Case& c : cases) {
    ViewContent before[4];
    for (int i = 0; i < 4; ++i) before[i] = viewContent(editor, i);
    c.act();
    int changed = 0;
    for (int i = 0; i < 4; ++i) changed |= !(viewContent(editor, i) == before[i]) << i;
    EXPECT_EQ(changed, c.changed) << c.what;
  }
}

}  // namespace
