#pragma once
// The modelling aids typed at the console: "/snap STEP|vertex|off",
// "/subdivide", "/merge DISTANCE", "/mirror x|y|z|off", "/symmetrize
// [-]x|y|z", "/mirrorbones x|y|z", "/mirrorweights x|y|z", and texture mapping: "/project
// box|cylinder|sphere|view", "/unwrap [ANGLE]" and "/pack". `words` is the whole line split, the
// command first.

#include <string>
#include <vector>

struct CommandContext;

void snapCommand(CommandContext& e, const std::vector<std::string>& words);
void subdivideCommand(CommandContext& e, const std::vector<std::string>& words);
void mergeCommand(CommandContext& e, const std::vector<std::string>& words);
void mirrorCommand(CommandContext& e, const std::vector<std::string>& words);
void symmetrizeCommand(CommandContext& e, const std::vector<std::string>& words);
void mirrorBonesCommand(CommandContext& e, const std::vector<std::string>& words);
void mirrorWeightsCommand(CommandContext& e, const std::vector<std::string>& words);
void projectCommand(CommandContext& e, const std::vector<std::string>& words);
void unwrapCommand(CommandContext& e, const std::vector<std::string>& words);
void packCommand(CommandContext& e, const std::vector<std::string>& words);

// Charts lie two texels of the current group's texture apart, or of a
// 1024-texel one without a texture: that texture's larger side.
int textureSizeFor(CommandContext& e);
