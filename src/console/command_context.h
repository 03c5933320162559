#pragma once
// What a console command acts on: everything a tool does, and the unsaved
// work's recovery, the commands' own state and the texture cache.

#include "console/command_state.h"
#include "images/texture_cache.h"
#include "recovery/recovery_state.h"
#include "tools/tool_context.h"

struct CommandContext : ToolContext {
  RecoveryState& recovery;
  CommandState& commandState;
  TextureCache& textures;
};
