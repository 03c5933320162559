#pragma once
// Drawing the editor's frame: each shown view's picture inside its rectangle
// (kept or drawn again), then the 2D overlay over the whole window. Every
// function here needs a current GL context.

struct DrawingState;
struct FrameInput;
class Spline;
class Viewport;

// --- the frame (frame_draw.cpp) ---
void drawFrame(const FrameInput& e);
// Shading, lighting and polygon mode for a view's render mode.
void applyRenderMode(int mode);
// The shading the overlay draws with: what the last view's drawing leaves.
void setOverlayShading(const FrameInput& e);
// Viewport, scissor and projection of the 2D overlay: the whole window in pixels.
void setUpOverlay(const FrameInput& e);
void drawCursorLabel(const FrameInput& e);
void drawWidgets(const FrameInput& e);
void drawViewFrames(const FrameInput& e);
// Creates the one light, the first time a frame is drawn (light_gl.cpp).
void setUpLight(DrawingState& drawing);

// --- one view's scene (scene_draw.cpp) ---
void drawAxesAndGrid(const Viewport& view);
void drawScene(const FrameInput& e, const Viewport& view);
void drawBoundingBox(const FrameInput& e);
void drawSelectedMarkers(const FrameInput& e, double size, bool moving);
// The scene in animation mode: the model posed (posed_scene_draw.cpp).
void drawPosedScene(const FrameInput& e, const Viewport& view);
// The spline through its control points, `count` segments (spline_draw.cpp).
void drawSpline(const Spline& spline, int count);

// The image "/refimage" put behind a flat view, if any (reference_image_draw.cpp).
void drawReferenceImage(const FrameInput& e, const Viewport& view);

// --- vertex markers (vertex_markers_draw.cpp) ---
void drawVertexMarkers(const FrameInput& e, double size);
bool drawMarkersAsPoints(const FrameInput& e, double size, const int face[4]);

// --- the UV view (uv_view_draw.cpp) ---
void drawUvView(const FrameInput& e);
// The UV view's two parts: the rubber band over it, in the overlay, and its
// picture inside its own rectangle (which leaves the viewport there).
void drawUvRubberBand(const FrameInput& e);
void drawUvContent(const FrameInput& e);
