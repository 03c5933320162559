#pragma once
// What an editing tool acts on: the document, the views, the tools' own
// state, animation mode and the pointer. The editor hands every tool one of
// these; no tool sees the rest of the editor.

#include <functional>
#include <string>

#include "document/document.h"
#include "tools/animation_state.h"
#include "tools/tool_state.h"
#include "view/pointer.h"
#include "view/view_set.h"

struct ToolContext {
  Document& doc;
  ViewSet& viewSet;
  ToolState& toolState;
  AnimationState& animation;
  const Pointer& pointer;
  // Poses the model for animation mode's views at the current frame: "" when
  // done, else why not (what the pose had built is let go). The editor gives
  // it, since the pose is kept with the views' drawing.
  std::function<std::string()> poseForViews;

  // A line for the console's message list.
  void consoleMessage(const std::string& text) const { doc.tell(text); }
};
