#pragma once
// The typed transforms: "/move DX DY DZ", "/rotate AXIS DEGREES" and
// "/scale SX SY SZ" on the selection (tools/transforms.h). `words` is the
// whole line split, the command first; numbers convert as every console
// parameter does.

#include <string>
#include <vector>

struct CommandContext;

void moveCommand(CommandContext& e, const std::vector<std::string>& words);
// The axis is x, y or z in either case; any other word is refused with a
// console message and changes nothing.
void rotateCommand(CommandContext& e, const std::vector<std::string>& words);
void scaleCommand(CommandContext& e, const std::vector<std::string>& words);
