// What the menu buttons' command codes do.

#include "tools/tool_menu.h"
#include "tools/animation_mode.h"
#include "tools/animation_rules.h"
#include "tools/fit_views.h"
#include "tools/menu_command.h"
#include "tools/polygon_ops.h"
#include "tools/tool_context.h"
#include "tools/weight_paint.h"

namespace {

struct MenuAction {
  MenuCommand code;
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
const MenuAction kMenuCommands[] = {
    {kRenderWireframe, setRenderMode<kWireframe>},
    {kRenderFlatShaded, setRenderMode<kFlatShaded>},
    {kRenderSmoothShaded, setRenderMode<kSmoothShaded>},
    {kRenderTextured, setRenderMode<kTextured>},
    {kUvMapSelected, [](ToolContext& e) { uvMapSelected(e, e.viewSet.activeViewport()); }},
    {kFlattenOnX, flatten<kAxisX>},
    {kFlattenOnY, flatten<kAxisY>},
    {kFlattenOnZ, flatten<kAxisZ>},
    {kFlattenOnU, flatten<kAxisU>},
    {kFlattenOnV, flatten<kAxisV>},
    {kFlattenPolygons, [](ToolContext& e) { flattenPolygons(e); }},
    {kSmoothPolygons, [](ToolContext& e) { smoothPolygons(e.doc.selectedPolygons); }},
    {kAssignPolygonsToBone, assignSelectedPolygonsToBone},
    {kChooseSelectVertex, selectTool<kSelectVertex>},
    {kChooseSelectPolygon, selectTool<kSelectPolygon>},
    {kChooseSelectBone, selectTool<kSelectBone>},
    {kChooseMove, selectTool<kMove>},
    {kChooseRotate, selectTool<kRotate>},
    {kChooseScale2D, selectTool<kScale2D>},
    {kChooseScale3D, selectTool<kScale3D>},
    {kChooseCreateBox, selectTool<kCreateBox>},
    {kChooseCreateCylinder, selectTool<kCreateCylinder>},
    {kChooseAddVertex, selectTool<kAddVertex>},
    {kChooseAddBone, selectTool<kAddBone>},
    {kChooseCreateSpline, selectTool<kCreateSpline>},
    {kChooseExtrude, selectTool<kExtrude>},
    {kChooseWeightPaint, chooseWeightPaint},
    {kFitInView, fitViews},
};

}  // namespace

void toolMenuCommand(ToolContext& e, int code) {
  if (refusedByMode(e, ModeRule::kMenu, code)) return;
  if (animationCommand(e, code)) return;
  for (const MenuAction& command : kMenuCommands) {
    if (command.code == code) {
      command.run(e);
      return;
    }
  }
}
