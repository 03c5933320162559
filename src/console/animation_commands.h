#pragma once
// The console's animation commands: /anim, /clip NAME, /frame N, /key,
// /unkey, /play, /stop, /fps N, /length N, /weight W (or auto) and /ik [N|off].

#include <string>
#include <vector>

struct CommandContext;

using CommandWords = std::vector<std::string>;

void animCommand(CommandContext& e, const CommandWords& words);
void clipCommand(CommandContext& e, const CommandWords& words);
void frameCommand(CommandContext& e, const CommandWords& words);
void keyCommand(CommandContext& e, const CommandWords& words);
void unkeyCommand(CommandContext& e, const CommandWords& words);
void playCommand(CommandContext& e, const CommandWords& words);
void stopCommand(CommandContext& e, const CommandWords& words);
void fpsCommand(CommandContext& e, const CommandWords& words);
void lengthCommand(CommandContext& e, const CommandWords& words);
void interpCommand(CommandContext& e, const CommandWords& w);
void weightCommand(CommandContext& e, const CommandWords& words);
// /brush RADIUS STRENGTH and /weights normalize|smooth N|auto (tools/weight_paint.h).
void brushCommand(CommandContext& e, const CommandWords& words);
void weightsCommand(CommandContext& e, const CommandWords& words);
void ikCommand(CommandContext& e, const CommandWords& words);
