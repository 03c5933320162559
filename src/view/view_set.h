#pragma once
// The five views and what they show beside the model: the layout of the
// window, the active view, the grid and marker settings, the UV view's
// texture, and one revision that moves on whenever something the views show
// may have changed (the model, a selection, a tool's preview, a setting).

#include <cstdint>

#include "view/viewport.h"

struct ViewSet {
  Viewport views[5] = {Viewport(0), Viewport(1), Viewport(2), Viewport(3), Viewport(4)};
  int layoutMode = 1;  // 0 one view, 1 four views
  int activeView = 0;  // view of the last press, 'R' or right press
  int singleView = 3;  // view shown in the one-view layout
  bool showGrid = true;
  bool showSkeleton = true;
  bool showReferenceImages = true;    // 'T' hides them all for a moment, keeping them
  double splitX = 0.5, splitY = 0.5;  // where the four views meet, as shares of the window
  double vertexMarkerScale = 1.0;
  double selectedMarkerScale = 2.0;
  // Set by /loadtex, /showtex, /open; cleared by /hidetex and an untextured model.
  bool showUvTexture = false;
  int uvTexture = 0;  // texture shown in the UV view: the model's current group's, 0 = none
  uint64_t sceneRevision = 0;  // moved on by sceneChanged

  Viewport& activeViewport() { return views[activeView]; }
  const Viewport& activeViewport() const { return views[activeView]; }
  Viewport& uvView() { return views[kUvView]; }
  const Viewport& uvView() const { return views[kUvView]; }
  // Marks a change the views may show: model, selection, preview, settings.
  void sceneChanged() { ++sceneRevision; }
};
