#pragma once
// The editor's window: GLUT opens it, and its callbacks forward every event
// to the one Editor and draw a frame after each.

#include <functional>
#include <string>
#include <vector>

class Editor;
class Panel;

// Opens the window "Vantorel" with GLUT's options in `glutArguments` (the
// program's name first), registers the callbacks, sets the initial OpenGL
// state, lays out the views, runs `whenOpen` once the window and its OpenGL
// context exist, then hands control to GLUT's main loop, which never returns:
// closing the window ends the process once unsaved work is on disk.
void runEditorWindow(Editor* editor, Panel* mainWidget,
                     const std::vector<std::string>& glutArguments,
                     const std::function<void()>& whenOpen);
