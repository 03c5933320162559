#pragma once
// Which views must be drawn again. A view's finished picture is kept between
// frames; it stays valid as long as everything the view's drawing reads is
// unchanged. The model, the selections, the tools' live previews, the spline
// and the editor's drawing settings are summed up by one revision number that
// every operation able to change them moves on (ViewSet::sceneChanged); the
// rest (camera, render mode, grid, held keys, pixel rectangle) is compared
// field by field. Pointer motion, hover, typing into the console, panels and
// menus touch none of it, so their frames redraw no view.

#include <cstdint>
#include <optional>

#include "model/vec3.h"

struct FrameInput;

// Everything one view's 3D picture depends on.
struct ViewContent {
  uint64_t sceneRevision = 0;
  int kind = 0, renderMode = 0;
  bool showGrid = false;
  bool normalsHeld = false, boneLinksHeld = false;  // 'l' and 'k', only when they draw something
  bool weightsShown = false;  // the selected bone's weights as colours (weightsShown)
  int batchDrawing = false;
  double left = 0, right = 0, bottom = 0, top = 0;  // visible rectangle, scroll offset applied
  double rotX = 0, rotY = 0, rotZ = 0;
  double depth = 0;
  Vec3 pivot;
  int rectLeft = 0, rectBottom = 0, rectRight = 0, rectTop = 0;
  int uvTexture = 0;  // the UV view's texture when shown, else 0
  bool operator==(const ViewContent&) const = default;
};

// Whether the model views colour the model by the selected bone's weights:
// with a skeleton and a selected bone, while the Weight Paint tool is on
// (outside animation mode) or 'k' is held (the posed mesh in animation mode).
bool weightsShown(const FrameInput& e);

// What view `i` (0 to 3, 4 the UV view) of the editor shows now.
ViewContent viewContent(const FrameInput& e, int i);

// Whether a menu command code can change what any view shows; render modes and
// tool choices cannot (a view's render mode is part of its own content).
bool menuCommandChangesScene(int code);

// Whether a special key can change what any view shows beyond its camera,
// layout and grid: the selection keys can, scrolling, zooming and the layout
// keys cannot.
bool specialKeyChangesScene(int key);

// The kept picture of one view: its GL texture (0 before the first copy), the
// texture's size, and what it shows.
struct KeptPicture {
  std::optional<ViewContent> content;
  unsigned texture = 0;
  int textureWidth = 0, textureHeight = 0;
};

class KeptViews {
 public:
  // Whether view i must be drawn again to show `now`.
  bool stale(int i, const ViewContent& now) const { return pictures_[i].content != now; }
  // Every picture must be drawn again (after changes the revision does not see).
  void forget() {
    for (KeptPicture& p : pictures_) p.content.reset();
  }
  KeptPicture& picture(int i) { return pictures_[i]; }

 private:
  KeptPicture pictures_[5];
};
