#pragma once
// Everything a frame shows, handed to drawing by the editor: the document,
// the views, the tools' previews, animation mode's pose, the pointer and the
// held keys, the panels, and the texts the editor words. Drawing reads it and
// changes nothing but its own memory (the DrawingState).

#include <string>

#include "document/document.h"
#include "gui/panel.h"
#include "images/texture_cache.h"
#include "model/list.h"
#include "render/drawing_state.h"
#include "tools/animation_state.h"
#include "tools/tool_state.h"
#include "view/pointer.h"
#include "view/view_set.h"

struct FrameInput {
  const Document& doc;
  const ViewSet& viewSet;
  const ToolState& toolState;
  const AnimationState& animation;
  // Animation mode's pose for this frame; drawing may work out its normals'
  // turns, which the pose keeps until the next one.
  PosedModel& posedModel;
  const Pointer& pointer;
  const bool* keyDown;  // 256 entries, true while the key with that code is held
  TextureCache& textures;
  DrawingState& drawing;
  // The panels, front-most first, and which of them show.
  const List<Panel>& widgets;
  const Panel* activeMenu = nullptr;
  const Panel* uvMapperWidget = nullptr;
  const Panel* timelineWidget = nullptr;
  bool panelsShown = false;
  bool uvViewShown = false;                      // panels shown and the UV Mapper open
  double windowWidth = 800, windowHeight = 600;  // the main panel's size
  int overlayWidth = 800, overlayHeight = 600;   // the window's, in the overlay's pixels
  int viewUnderPointer = 0;
  std::string cursorLabel;      // the name next to the pointer
  std::string viewCaptions[4];  // "View 0: Side [-4.00:4.00 x -3.00:3.00]"
};
