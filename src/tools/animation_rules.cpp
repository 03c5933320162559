#include "tools/animation_rules.h"

#include "tools/menu_command.h"
#include "tools/tool_context.h"

namespace {

constexpr const char* kPlaybackNeedsMode =
    "Playback shows in animation mode: press A or type /anim first.";

using R = ModeRule;

constexpr ModeRule kRules[] = {
    // Keys that edit the mesh: Delete, Assign to Bone, Clamp, Duplicate,
    // Flip, Weld, Orient Outward, Polygon from Selection, Revolve Spline.
    {R::kKey, 127, "", R::kRefused, kMeshEditsOff},
    {R::kKey, 'B', "", R::kRefused, kMeshEditsOff},
    {R::kKey, '`', "", R::kRefused, kMeshEditsOff},
    {R::kKey, 'd', "", R::kRefused, kMeshEditsOff},
    {R::kKey, 'f', "", R::kRefused, kMeshEditsOff},
    {R::kKey, 'n', "", R::kRefused, kMeshEditsOff},
    {R::kKey, 'N', "", R::kRefused, kMeshEditsOff},
    {R::kKey, 'i', "", R::kRefused, kMeshEditsOff},
    {R::kKey, 'u', "", R::kRefused, kMeshEditsOff},
    {R::kKey, 'j', "", R::kRefused, kMeshEditsOff},
    {R::kKey, 'X', "", R::kRefused, kMeshEditsOff},
    {R::kKey, 'U', "", R::kRefused, kMeshEditsOff},
    {R::kKey, 'y', "", R::kRefused, kMeshEditsOff},
    {R::kKey, 'Y', "", R::kRefused, kMeshEditsOff},
    {R::kKey, 'h', "", R::kRefused, kMeshEditsOff},
    {R::kKey, 'H', "", R::kRefused, kMeshEditsOff},
    {R::kKey, 'o', "", R::kRefused, kMeshEditsOff},
    {R::kKey, 'p', "", R::kRefused, kMeshEditsOff},
    {R::kKey, 'w', "", R::kRefused, kMeshEditsOff},
    {R::kKey, 'R', "", R::kPosesBone, ""},  // a quarter turn of the bone, not the vertices
    // Menu commands that edit the mesh: UV Map Selected, Flatten X Y Z U V,
    // Flatten Polys, Smooth Polys, Assign Polys to Bone.
    {R::kMenu, kUvMapSelected, "", R::kRefused, kMeshEditsOff},
    {R::kMenu, kFlattenOnX, "", R::kRefused, kMeshEditsOff},
    {R::kMenu, kFlattenOnY, "", R::kRefused, kMeshEditsOff},
    {R::kMenu, kFlattenOnZ, "", R::kRefused, kMeshEditsOff},
    {R::kMenu, kFlattenOnU, "", R::kRefused, kMeshEditsOff},
    {R::kMenu, kFlattenOnV, "", R::kRefused, kMeshEditsOff},
    {R::kMenu, kFlattenPolygons, "", R::kRefused, kMeshEditsOff},
    {R::kMenu, kSmoothPolygons, "", R::kRefused, kMeshEditsOff},
    {R::kMenu, kAssignPolygonsToBone, "", R::kRefused, kMeshEditsOff},
    {R::kCommand, 0, "/setx", R::kRefused, kMeshEditsOff},
    {R::kCommand, 0, "/sety", R::kRefused, kMeshEditsOff},
    {R::kCommand, 0, "/setz", R::kRefused, kMeshEditsOff},
    {R::kCommand, 0, "/smoothpolys", R::kRefused, kMeshEditsOff},
    {R::kCommand, 0, "/flattenpolys", R::kRefused, kMeshEditsOff},
    {R::kCommand, 0, "/move", R::kPosesBone, ""},  // moves the bone's joint and keys it
    {R::kCommand, 0, "/rotate", R::kRefused, kMeshEditsOff},
    {R::kCommand, 0, "/scale", R::kRefused, kMeshEditsOff},
    {R::kCommand, 0, "/subdivide", R::kRefused, kMeshEditsOff},
    {R::kCommand, 0, "/merge", R::kRefused, kMeshEditsOff},
    {R::kCommand, 0, "/project", R::kRefused, kMeshEditsOff},
    {R::kCommand, 0, "/unwrap", R::kRefused, kMeshEditsOff},
    {R::kCommand, 0, "/pack", R::kRefused, kMeshEditsOff},
    {R::kCommand, 0, "/symmetrize", R::kRefused, kMeshEditsOff},
    {R::kCommand, 0, "/seam", R::kRefused, kMeshEditsOff},
    {R::kCommand, 0, "/mirrorbones", R::kRefused, kMeshEditsOff},
    {R::kCommand, 0, "/mirrorweights", R::kRefused, kMeshEditsOff},
    {R::kCommand, 0, "/fit", R::kFramesPosed, ""},                 // also A and the menu's Fit
    {R::kCommand, 0, "/play", R::kNeedsMode, kPlaybackNeedsMode},  // also the panel's Play
    {R::kTool, kSelectVertex, "", R::kPicksPosed, ""},
    {R::kTool, kSelectPolygon, "", R::kPicksPosed, ""},
    {R::kTool, kSelectBone, "", R::kPicksPosed, ""},
    {R::kTool, kMove, "", R::kPosesBone, ""},
    {R::kTool, kRotate, "", R::kPosesBone, ""},
    {R::kTool, kScale2D, "", R::kRefused, kMeshEditsOff},
    {R::kTool, kScale3D, "", R::kRefused, kMeshEditsOff},
    {R::kTool, kAddVertex, "", R::kRefused, kMeshEditsOff},
    {R::kTool, kCreateBox, "", R::kRefused, kMeshEditsOff},
    {R::kTool, kCreateCylinder, "", R::kRefused, kMeshEditsOff},
    {R::kTool, kExtrude, "", R::kRefused, kMeshEditsOff},
    {R::kTool, kAddBone, "", R::kRefused, kMeshEditsOff},
    {R::kTool, kCreateSpline, "", R::kRefused, kMeshEditsOff},
    {R::kTool, kWeightPaint, "", R::kRefused, kMeshEditsOff},
};

}  // namespace

std::span<const ModeRule> animationModeRules() {
  return kRules;
}

const ModeRule* modeRule(const ToolContext& e, ModeRule::Input input, int code,
                         std::string_view command) {
  for (const ModeRule& rule : kRules) {
    if (rule.input != input || (input == R::kCommand ? command != rule.command : code != rule.code))
      continue;
    return (rule.effect == R::kNeedsMode) != e.animation.on ? &rule : nullptr;
  }
  return nullptr;
}

bool refusedByMode(ToolContext& e, ModeRule::Input input, int code, std::string_view command) {
  const ModeRule* rule = modeRule(e, input, code, command);
  if (!rule) return false;
  // Posing turns a bone in a flat view; the UV view has none to turn.
  const bool refused = rule->effect == R::kRefused || rule->effect == R::kNeedsMode ||
                       (rule->effect == R::kPosesBone && input == R::kTool &&
                        e.viewSet.views[e.viewSet.activeView].kind == kUvView);
  if (refused) e.consoleMessage(*rule->message ? rule->message : kMeshEditsOff);
  return refused;
}
