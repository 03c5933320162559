// What the menu buttons' command codes do.

#include "tools/tool_menu.h"
#include "tools/tool_context.h"
#include "tools/animation_mode.h"
#include "tools/animation_rules.h"
#include "tools/fit_views.h"
#include "tools/polygon_ops.h"

namespace {

struct MenuCommand {
  int code;
  void (*run)(ToolContext&);
};

template <int mode>
void setRenderMode(ToolContext& e) {
  e.viewSet.activeViewport().renderMode = mode;
}

template <int tool>
void selectTool(ToolContext& e) {
  e.toolState.tool = tool;
}

template <Axis axis>
void flatten(ToolContext& e) {
  flattenSelection(e, axis);
}

// Codes 0-3 belong to the panels' own control buttons and do nothing here.
const MenuCommand kMenuCommands[] = {
    {4, setRenderMode<kWireframe>},
    {5, setRenderMode<kFlatShaded>},
    {6, setRenderMode<kSmoothShaded>},
    {7, setRenderMode<kTextured>},
    {8, [](ToolContext& e) { uvMapSelected(e, e.viewSet.activeViewport()); }},
    {9, flatten<kAxisX>},
    {10, flatten<kAxisY>},
    {11, flatten<kAxisZ>},
    {12, flatten<kAxisU>},
    {13, flatten<kAxisV>},
    {14, [](ToolContext& e) { flattenPolygons(e); }},
    {15, [](ToolContext& e) { smoothPolygons(e.doc.selectedPolygons); }},
    {16, assignSelectedPolygonsToBone},
    {17, selectTool<kSelectVertex>},
    {18, selectTool<kSelectPolygon>},
    {19, selectTool<kSelectBone>},
    {20, selectTool<kMove>},
    {21, selectTool<kRotate>},
    {22, selectTool<kScale2D>},
    {23, selectTool<kScale3D>},
    {24, selectTool<kCreateBox>},
    {25, selectTool<kCreateCylinder>},
    {26, selectTool<kAddVertex>},
    {27, selectTool<kAddBone>},
    {28, selectTool<kCreateSpline>},
    {29, selectTool<kExtrude>},
    {30, fitViews},
};

}  // namespace

void toolMenuCommand(ToolContext& e, int code) {
  if (refusedByMode(e, ModeRule::kMenu, code)) return;
  if (animationCommand(e, code)) return;
  for (const MenuCommand& command : kMenuCommands) {
    if (command.code == code) {
      command.run(e);
      return;
    }
  }
}
