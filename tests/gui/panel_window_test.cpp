// Panels drawn into the real window and read back by pixel. The overlay
// relies on the depth test at depth 0: the first fragment at a pixel wins.

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

#include "gui/message_box.h"
#include "gui/panel.h"
#include "gui/text_entry.h"
#include "gui/ui_context.h"
#include "support/gl_window.h"

namespace {

// The colour table the editor loads at start-up.
constexpr float kColours[UiContext::kColourSlots][4] = {
    {0.65f, 0.65f, 0.7f, 1.0f}, {0.7f, 0.7f, 0.7f, 1.0f},  {0.6f, 0.6f, 0.6f, 0.5f},
    {0.6f, 0.6f, 0.6f, 0.5f},   {0.7f, 0.6f, 0.9f, 0.9f},  {0.1f, 0.1f, 0.1f, 1.0f},
    {0.6f, 0.3f, 0.3f, 1.0f},   {0.7f, 0.7f, 0.75f, 1.0f}, {0.8f, 0.8f, 0.9f, 1.0f},
    {0.3f, 0.2f, 0.0f, 1.0f},   {0.2f, 0.3f, 0.0f, 1.0f},  {0.4f, 0.4f, 0.4f, 1.0f},
    {0.3f, 0.3f, 0.3f, 1.0f},   {0.9f, 0.9f, 0.9f, 1.0f},  {0.1f, 0.1f, 0.1f, 1.0f},
    {0.0f, 0.0f, 0.0f, 1.0f},
};

enum Slot {
  kBackground = 0,
  kBackgroundHovered = 1,
  kTitleBand = 4,
  kMenuButton = 7,
  kMenuButtonHovered = 8,
  kEntryFocused = 11,
  kEntryUnfocused = 12,
};

// A slot's colour as it lands on the cleared black frame (alpha blending).
std::array<int, 3> onBlack(int slot) {
  const float* c = kColours[slot];
  std::array<int, 3> rgb{};
  for (int i = 0; i < 3; ++i) rgb[i] = static_cast<int>(std::lround(255 * c[i] * c[3]));
  return rgb;
}

bool near(const std::array<int, 3>& a, const std::array<int, 3>& b) {
  for (int i = 0; i < 3; ++i) {
    if (std::abs(a[i] - b[i]) > 2) return false;
  }
  return true;
}

#define EXPECT_PIXEL(x, y, slot)                                                                \
  do {                                                                                          \
    const auto got = testwindow::pixel(x, y);                                                   \
    const auto want = onBlack(slot);                                                            \
    EXPECT_TRUE(near(got, want)) << "pixel (" << (x) << ", " << (y) << ") is " << got[0] << "," \
                                 << got[1] << "," << got[2] << "; slot " << (slot) << " gives " \
                                 << want[0] << "," << want[1] << "," << want[2];                \
  } while (0)

class PanelWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    REQUIRE_WINDOW();
    ui.setTitleBarHeight(20);
    ui.setWindowSize(testwindow::kWidth, testwindow::kHeight);
    for (int slot = 0; slot < UiContext::kColourSlots; ++slot) {
      const float* c = kColours[slot];
      ui.setColour(slot, c[0], c[1], c[2], c[3]);
    }
    ui.setMousePosition(790, 590);  // away from every panel
    clearOverlay();
  }

  // The editor's overlay pass: window-sized orthographic projection at depth 0.
  static void clearOverlay() {
    glViewport(0, 0, testwindow::kWidth, testwindow::kHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, testwindow::kWidth, 0, testwindow::kHeight, 0, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  }

  UiContext ui;
};

TEST_F(PanelWindow, TitleBandOverTheBackgroundWhichFollowsThePointer) {
  Panel panel("Console", 100, 100, 400, 200, &ui);
  panel.configure(1, 1, 1);
  panel.draw();
  EXPECT_PIXEL(300, 290, kTitleBand);  // band 280..300, right of the title text
  EXPECT_PIXEL(300, 150, kBackground);

  ui.setMousePosition(300, 150);
  clearOverlay();
  panel.draw();
  EXPECT_PIXEL(300, 150, kBackgroundHovered);
}

TEST_F(PanelWindow, MenuRowUnderThePointerIsHighlightedAndLabelsShow) {
  std::vector<std::unique_ptr<Button>> owned;
  List<Button> items;
  for (int i = 0; i < 3; ++i) {
    owned.push_back(std::make_unique<Button>("Render: Wireframe", 0, 0, 100, 50, 4 + i, 0));
    items.pushFront(owned.back().get());
  }
  Panel page("Menu :J", 100, 100, 100, 200, &ui);
  page.makeMenu(&items, 180, 1, 18);  // rows at y 100, 118, 136
  ui.setMousePosition(150, 127);      // over the middle row
  page.draw();
  EXPECT_PIXEL(260, 127, kMenuButtonHovered);
  EXPECT_PIXEL(260, 109, kMenuButton);

  // The bottom row's label starts 5 in from its left and bottom edges.
  const std::vector<unsigned char> frame = testwindow::readFrame();
  const auto fill = onBlack(kMenuButton);
  int textPixels = 0;
  for (int y = 105; y < 117; ++y) {
    for (int x = 105; x < 200; ++x) {
      const unsigned char* p = &frame[(y * testwindow::kWidth + x) * 3];
      if (!near({p[0], p[1], p[2]}, fill)) ++textPixels;
    }
  }
  EXPECT_GT(textPixels, 20);
}

TEST_F(PanelWindow, FocusedEntryIsLighterThanAnUnfocusedOne) {
  Panel console("Console", 100, 100, 400, 200, &ui);
  console.configure(1, 1, 1);
  TextEntry prompt("Console Prompt", 5, 5, 390, 25);
  console.addEntry(&prompt);
  console.stackChildren();
  console.draw();
  EXPECT_PIXEL(450, 117, kEntryUnfocused);

  ui.setFocusedEntry(&prompt);
  clearOverlay();
  console.draw();
  EXPECT_PIXEL(450, 117, kEntryFocused);
}

TEST_F(PanelWindow, PanelDrawnFirstHidesTheOneDrawnAfterIt) {
  // Where they overlap (x 250..300), front's body covers back's title band
  // (y 230..250); the pixel lies right of back's title text.
  Panel front("Front", 100, 100, 200, 200, &ui);
  Panel back("Back", 250, 50, 200, 200, &ui);
  front.draw();
  back.draw();
  EXPECT_PIXEL(294, 240, kBackground);
  EXPECT_PIXEL(400, 240, kTitleBand);  // outside the overlap the band shows

  clearOverlay();
  back.draw();
  front.draw();
  EXPECT_PIXEL(294, 240, kTitleBand);
}

}  // namespace
