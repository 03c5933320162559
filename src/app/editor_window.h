#pragma once
// The editor in its window: every event goes to the one Editor, a frame is
// drawn after each, and the timers of recovery, playback, background opens
// and expiring console lines run only while they have work.

#include <functional>
#include <string>
#include <vector>

class Editor;
class Panel;

// Opens the window (render/window.h) for `editor`, with `mainWidget` sized to
// it, runs `whenOpen` once it is open, and never returns: closing the window
// ends the process once unsaved work is on disk.
void runEditorWindow(Editor* editor, Panel* mainWidget,
                     const std::vector<std::string>& glutArguments,
                     const std::function<void()>& whenOpen);
