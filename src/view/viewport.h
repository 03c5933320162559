#pragma once
// One view of the model: its visible rectangle in view units, zoom, the
// temporary scroll offset of a Scroll View drag, the Full view's rotation, its
// pixel rectangle in the window, its render mode and the picture behind it.

#include "model/vec3.h"
#include "view/reference_image.h"

enum ViewKind { kSideView = 0, kFrontView = 1, kTopView = 2, kFullView = 3, kUvView = 4 };

enum RenderMode { kWireframe = 0, kFlatShaded = 1, kSmoothShaded = 2, kTextured = 3 };

class Viewport {
 public:
  explicit Viewport(int kind) : kind(kind) {}

  // Window pixel -> view coordinate (the scroll offset is ignored).
  double viewX(double px) const { return left + (px - rectLeft) / pixelWidth * (right - left); }
  double viewY(double py) const {
    return bottom + (py - rectBottom) / pixelHeight * (top - bottom);
  }

  // "Side", "Front", "Top", "Full" (empty for the UV view).
  const char* caption() const;

  double panX = 0, panY = 0;            // offset while a Scroll View drag runs, else 0
  double rotX = 0, rotY = 0, rotZ = 0;  // Full view rotation in degrees
  double zoom = 4.0;                    // half the visible width; never below 1 after zooming
  double right = 1.0, left = -1.0;
  double top = 0.75, bottom = -0.75;
  double pixelWidth = 400, pixelHeight = 300;  // set by the layout
  double aspect = 0.75;                        // pixelHeight / pixelWidth, refreshed by zooming
  int kind = 0;
  int rectLeft = 0, rectBottom = 0, rectRight = 0, rectTop = 0;  // window pixels, y up
  int renderMode = kWireframe;
  // How far the view reaches in front of and behind its plane (the Full view:
  // its turning point); fitting a large model reaches further.
  double depth = 100;
  // The point the Full view turns about, shown at view coordinates (0, 0).
  Vec3 pivot{0, 0, 0};
  // Shown behind a flat view by "/refimage"; kept as models are opened.
  ReferenceImage reference;
};
