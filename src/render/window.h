#pragma once
// One GLUT window and its callbacks, knowing nothing of what it shows: what
// each event does is handed in, and the window draws a frame after each
// input event.

#include <functional>
#include <string>
#include <vector>

struct WindowHandlers {
  // Draws a frame into the cleared back buffer; false closes the window
  // instead (as the user's close does, calling `close`).
  std::function<bool()> frame;
  std::function<void()> afterFrame;  // once the frame is on screen
  std::function<void(int width, int height)> reshape;
  // Keys and buttons come with GLUT's modifiers at the time of the event.
  std::function<void(unsigned char key, int x, int y, int modifiers)> keyDown;
  std::function<void(unsigned char key)> keyUp;
  std::function<void(int x, int y)> motion;
  std::function<void(int button, int state, int x, int y, int modifiers)> mouse;
  std::function<void(int key, int x, int y, int modifiers)> specialKey;
  // The window has left the screen; the program ends when this returns.
  std::function<void()> close;
};

// Opens the window "Vantorel" with GLUT's options in `glutArguments` (the
// program's name first), registers the handlers, sets the initial OpenGL
// state, runs `whenOpen` once the window and its OpenGL context exist, then
// hands control to GLUT's main loop, which never returns.
void runWindow(const std::vector<std::string>& glutArguments, WindowHandlers handlers,
               const std::function<void()>& whenOpen);

// Asks for a frame as soon as the window is idle.
void postFrame();

// Runs `work` once, on the window's thread, after `ms` milliseconds.
void afterMilliseconds(unsigned ms, std::function<void()> work);
