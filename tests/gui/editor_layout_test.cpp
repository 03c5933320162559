#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/editor_fixture.h"

namespace {

using LayoutTest = EditorTest;

std::vector<std::string> rowsTopToBottom(Panel* page) {
  std::vector<std::pair<double, std::string>> rows;
  for (Button* b : page->buttons()) rows.push_back({-b->y(), b->name()});
  std::sort(rows.begin(), rows.end());
  std::vector<std::string> names;
  for (auto& r : rows) names.push_back(r.second);
  return names;
}

TEST_F(LayoutTest, PanelsStandFrontToBackAsBuilt) {
  std::vector<std::string> names;
  for (Panel* p : editor.widgets) names.push_back(p->name());
  EXPECT_EQ(names, (std::vector<std::string>{"Fancy Tools :O", "Menu :P", "Menu :J", "Menu :D",
                                             "UV Mapper", "Console"}));
  EXPECT_EQ(editor.activeMenu, editor.menuPages[1]);
  for (int i : {0, 2, 3}) EXPECT_TRUE(editor.menuPages[i]->isHidden()) << i;
  EXPECT_FALSE(editor.menuPages[1]->isHidden());
  EXPECT_EQ(editor.consoleMessages->currentList()->messageAt(0),
            "List initialized. (Name: Init). This is a stupid unnecessary message.");
}

TEST_F(LayoutTest, ConsoleStacksItsPromptBelowTheMessages) {
  TextEntry* prompt = editor.consolePrompt;
  MessageBox* box = editor.consoleMessages;
  EXPECT_EQ(prompt->x(), 5);
  EXPECT_EQ(prompt->y(), 5);
  EXPECT_EQ(prompt->width(), 390);
  EXPECT_EQ(prompt->height(), 25);
  EXPECT_EQ(box->x(), 5);
  EXPECT_EQ(box->y(), 35);
  EXPECT_EQ(box->width(), 390);
  EXPECT_EQ(box->height(), 135);
  EXPECT_TRUE(editor.consoleWidget->isEditable());
  EXPECT_FALSE(editor.uvMapperWidget->isEditable());
  EXPECT_TRUE(editor.uvMapperWidget->isMinimisable());
  EXPECT_EQ(editor.uvView().pixelWidth, 256);
}

TEST_F(LayoutTest, MenuPagesHoldTheirButtonsInOrder) {
  EXPECT_EQ(editor.menuPages[0]->height(), 56);
  EXPECT_EQ(editor.menuPages[1]->height(), 218);
  EXPECT_EQ(editor.menuPages[2]->height(), 20);
  EXPECT_EQ(editor.menuPages[3]->height(), 254);
  EXPECT_EQ(rowsTopToBottom(editor.menuPages[0]),
            (std::vector<std::string>{"Flatten on V", "Flatten on U"}));
  EXPECT_EQ(rowsTopToBottom(editor.menuPages[1]),
            (std::vector<std::string>{"Assign Polys to Bone", "Smooth Polygons",
                                      "Flatten Polygons", "Flatten on Z", "Flatten on Y",
                                      "Flatten on X", "UV Map Selected", "Render: Textured",
                                      "Render: Smoothshade", "Render: Flatshade",
                                      "Render: Wireframe"}));
  std::vector<std::string> tools = rowsTopToBottom(editor.menuPages[3]);
  EXPECT_EQ(tools.front(), "Extrude");
  EXPECT_EQ(tools.back(), "Select Vertex");
  EXPECT_EQ(tools.size(), 13u);
  for (Panel* page : editor.menuPages) EXPECT_EQ(page->width(), 180);
}

TEST_F(LayoutTest, ButtonsAreStoredWithFifteenBeforeFourteen) {
  std::vector<int> codes;
  for (Button* b : editor.buttons) codes.push_back(b->code());
  std::vector<int> expected = {4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 15, 14};
  for (int c = 16; c <= 29; ++c) expected.push_back(c);
  EXPECT_EQ(codes, expected);
}

TEST_F(LayoutTest, ClickingAMenuButtonPostsItsCode) {
  editor.showMenuPage(3);
  Panel* page = editor.menuPages[3];
  for (Button* b : page->buttons()) {
    if (b->name() != "Create Spline") continue;
    editor.ui->setMousePosition(static_cast<int>(page->x() + b->x() + 3),
                                static_cast<int>(page->y() + b->y() + 3));
    editor.ui->setButton(kLeftButton, kButtonDown);
    EXPECT_EQ(page->mouseButton(kLeftButton, kButtonDown), 1);
  }
  EXPECT_EQ(editor.ui->popCommand(), 28);
}

}  // namespace
