#pragma once
// "/help" and "/info": what the console offers, and what the editor holds.

#include <string>
#include <vector>

struct CommandContext;

// One console line per command, in the order given: its name, its words and
// what it does ("/fit - fit every view to the selection or the model").
void listCommands(CommandContext& e, const std::vector<std::string>& names);

// Four console lines: the model's file name and whether it has unsaved
// changes; the vertices, then the triangles, each with how many are
// selected; the groups and bones.
void describeModel(CommandContext& e);
