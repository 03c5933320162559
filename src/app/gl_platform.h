#pragma once
// Window-system set-up shared by the program and the window tests.

class TextureCache;

// The initial OpenGL state: flat shading, depth test, normalisation, alpha
// blending, filled polygons.
void setInitialGlState();
// Makes the texture cache hand decoded images to OpenGL.
void connectTextureUploads(TextureCache* textures);
