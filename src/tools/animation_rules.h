#pragma once
// What animation mode does to the keys, menu commands, console commands and
// tools it refuses or changes, one row each. The places that take those
// inputs look their row up instead of asking whether the mode is on; an
// operation reached by several inputs (fit in view, playback) has the row of
// its console command.

#include <span>
#include <string_view>

struct ToolContext;

inline constexpr const char* kMeshEditsOff =
    "Mesh edits are off in animation mode: press A or type /anim to leave it.";

struct ModeRule {
  enum Input { kKey, kMenu, kCommand, kTool };
  enum Effect {
    kRefused,      // in the mode: says `message` and does nothing
    kPosesBone,    // poses the selected bone and keys it (a tool: not in the UV view)
    kPicksPosed,   // picks vertices and bones where the pose shows them
    kFramesPosed,  // fits the views to the posed model
    kNeedsMode,    // outside the mode: says `message` and does nothing
  };
  Input input;
  int code;             // the key, menu command code or tool; 0 for a console command
  const char* command;  // the console command; "" for the others
  Effect effect;
  const char* message;  // what a refusal says; "" for the others
};

std::span<const ModeRule> animationModeRules();

// The input's row when it holds as the editor stands (kNeedsMode rows with
// the mode off, the others with it on); null when the mode leaves it alone.
const ModeRule* modeRule(const ToolContext& e, ModeRule::Input input, int code,
                         std::string_view command = "");

// When the row refuses the input now: says its message and answers true.
bool refusedByMode(ToolContext& e, ModeRule::Input input, int code, std::string_view command = "");
