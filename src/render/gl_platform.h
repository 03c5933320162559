#pragma once
// Window-system set-up shared by the program and the window tests.

#include <vector>

class TextureCache;

// Initialises GLUT with the command line and opens the double-buffered
// window "Vantorel", 800 x 600 at (100, 100); closing it ends the process with
// status 0.
void openWindow(int* argc, char** argv);
// The initial OpenGL state: flat shading, depth test, normalisation, alpha
// blending, filled polygons.
void setInitialGlState();
// The back buffer's RGB pixels, rows from the bottom, once drawing has finished.
std::vector<unsigned char> readBackBuffer(int width, int height);
// Makes the texture cache hand decoded images to OpenGL.
void connectTextureUploads(TextureCache* textures);
// Takes the current window off the screen now, not at the next turn of the
// event loop.
void hideWindowNow();
