// The editor's interface, built once at start-up: the console with its
// message box and prompt, the UV Mapper panel, four menu pages holding the
// 29 command buttons, and the animation panel.

#include "app/editor.h"
#include "gui/console_panel.h"
#include "tools/menu_command.h"

namespace {

struct MenuButton {
  MenuCommand code;
  const char* label;
  int page;
};

// In creation order: by code, except that Smooth Polygons comes before Flatten Polygons.
constexpr MenuButton kMenuButtons[Editor::kButtonCount] = {
    {kRenderWireframe, "Render: Wireframe", 1},
    {kRenderFlatShaded, "Render: Flatshade", 1},
    {kRenderSmoothShaded, "Render: Smoothshade", 1},
    {kRenderTextured, "Render: Textured", 1},
    {kUvMapSelected, "UV Map Selected", 1},
    {kFlattenOnX, "Flatten on X", 1},
    {kFlattenOnY, "Flatten on Y", 1},
    {kFlattenOnZ, "Flatten on Z", 1},
    {kFlattenOnU, "Flatten on U", 0},
    {kFlattenOnV, "Flatten on V", 0},
    {kSmoothPolygons, "Smooth Polygons", 1},
    {kFlattenPolygons, "Flatten Polygons", 1},
    {kAssignPolygonsToBone, "Assign Polys to Bone", 1},
    {kChooseSelectVertex, "Select Vertex", 3},
    {kChooseSelectPolygon, "Select Polygon", 3},
    {kChooseSelectBone, "Select Bone", 3},
    {kChooseMove, "Move", 3},
    {kChooseRotate, "Rotate", 3},
    {kChooseScale2D, "Scale 2D", 3},
    {kChooseScale3D, "Scale 3D", 3},
    {kChooseCreateBox, "Create Box", 3},
    {kChooseCreateCylinder, "Create Cylinder", 3},
    {kChooseAddVertex, "Create Vertex", 3},
    {kChooseAddBone, "Create Bone", 3},
    {kChooseCreateSpline, "Create Spline", 3},
    {kChooseExtrude, "Extrude", 3},
    {kChooseWeightPaint, "Weight Paint", 3},
    {kFitInView, "Fit in View", 1},
    {kAnimationModeCommand, "Animation Mode", 1},
};

}  // namespace

void Editor::buildInterface() {
  UiContext* context = ui.get();

  ConsolePanel console = buildConsolePanel(context);
  consolePrompt = console.prompt.get();
  consoleMessages = console.messages.get();
  consoleWidget = keepPanel(std::move(console.panel));
  adoptConsoleWidgets(std::move(console.prompt), std::move(console.messages));

  uvMapperWidget = keepPanel(std::make_unique<Panel>("UV Mapper", 100, 100, 300, 325, context));
  Viewport& uv = viewSet.uvView();
  uv.pixelWidth = 256;
  uv.pixelHeight = 256;
  uv.left = 0;
  uv.bottom = 0;
  uv.right = 1;
  uv.top = 1;
  uvMapperWidget->configure({.resizable = true, .editable = false, .minimisable = true});
  // The UV view keeps its pixel size: a resize leaves room for it below the title band.
  uvMapperWidget->setLeastSize(uv.pixelWidth + 10, uv.pixelHeight + 35);

  for (int i = 0; i < kButtonCount; ++i) {
    const MenuButton& b = kMenuButtons[i];
    buttons[i] = keepButton(std::make_unique<Button>(b.label, 0, 0, 100, 50, b.code, 0));
  }
  // Pages receive their buttons in code order, "Flatten Polygons" before
  // "Smooth Polygons"; the last one inserted becomes the top row. "Fit in
  // View", then "Animation Mode", come first, as the bottom rows, so that the
  // rows above keep their places under the pointer.
  auto byCode = [this](int code) {
    for (Button* button : buttons) {
      if (button->code() == code) return button;
    }
    return static_cast<Button*>(nullptr);
  };
  menuItemLists[1].pushFront(byCode(kFitInView));
  menuItemLists[1].pushFront(byCode(kAnimationModeCommand));
  for (int code = kRenderWireframe; code <= kChooseExtrude; ++code) {
    Button* button = byCode(code);
    for (const MenuButton& b : kMenuButtons) {
      if (b.code == code) menuItemLists[b.page].pushFront(button);
    }
  }

  menuPage = 1;
  static const char* const kPageNames[4] = {"Menu :D", "Menu :J", "Menu :P", "Fancy Tools :O"};
  for (int page : {1, 0, 2, 3}) {
    menuPages[page] =
        keepPanel(std::make_unique<Panel>(kPageNames[page], 100, 100, 100, 200, context));
  }
  for (int page : {1, 0, 2, 3})
    menuPages[page]->makeMenu(&menuItemLists[page],
                              {.width = 180, .withTitle = true, .rowHeight = 18});
  activeMenu = menuPages[1];
  showMenuPage(1);

  for (Panel* panel :
       {consoleWidget, uvMapperWidget, menuPages[0], menuPages[1], menuPages[2], menuPages[3]}) {
    widgets.pushFront(panel);
  }
  panelsShown = false;
  buildTimelinePanel();
}

void Editor::arrangeWidgets() {
  const double windowW = windowWidth(), windowH = windowHeight();
  double x = 5, rowOffset = 5;
  for (Panel* panel : widgets) {
    panel->setMinimised(1);
    if (windowW < x + panel->width()) {
      x = 5;
      rowOffset = rowOffset + panel->height() + 5;
    }
    panel->setPosition(x, windowH - panel->height() - rowOffset);
    x = x + panel->width();
  }
}
