#pragma once
// The console's animation commands: /anim, /clip NAME, /frame N, /key,
// /unkey, /play, /stop, /fps N, /length N and /weight W (or auto).

#include <string>
#include <vector>

class Editor;

using CommandWords = std::vector<std::string>;

void animCommand(Editor& e, const CommandWords& words);
void clipCommand(Editor& e, const CommandWords& words);
void frameCommand(Editor& e, const CommandWords& words);
void keyCommand(Editor& e, const CommandWords& words);
void unkeyCommand(Editor& e, const CommandWords& words);
void playCommand(Editor& e, const CommandWords& words);
void stopCommand(Editor& e, const CommandWords& words);
void fpsCommand(Editor& e, const CommandWords& words);
void lengthCommand(Editor& e, const CommandWords& words);
void weightCommand(Editor& e, const CommandWords& words);
