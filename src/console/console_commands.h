#pragma once
// The console's slash commands.

#include <string>
#include <vector>

struct CommandContext;

// Runs one typed line: a line not starting with '/' is ignored; otherwise it
// is split into words, the first picking the command and the others being its
// parameters. The words and the command found are traced on standard output;
// answers for the user go to the console's message list. Too few parameters
// are refused with "Error! Not right # of parameters!"; a first word that
// names no command is answered "Unknown command: /xyz (type /help)".
void runConsoleCommand(CommandContext& e, const std::string& line);

// The names of every command, in the order the trace numbers them.
std::vector<std::string> consoleCommandNames();
