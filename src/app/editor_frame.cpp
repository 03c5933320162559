#include "app/editor_frame.h"

#include "app/editor.h"
#include "render/frame_draw.h"
#include "tools/animation_mode.h"

FrameInput frameInput(Editor& e) {
  FrameInput in{e.doc,          e.viewSet,        e.toolState,
                e.animation,    e.animation.posedModel, e.pointer,
                e.keyDown,      *e.ui->textures(), e.drawing,
                e.widgets};
  in.activeMenu = e.activeMenu;
  in.uvMapperWidget = e.uvMapperWidget;
  in.timelineWidget = e.timelineWidget;
  in.panelsShown = e.panelsShown;
  in.uvViewShown = e.uvViewShown();
  in.windowWidth = e.windowWidth(), in.windowHeight = e.windowHeight();
  in.overlayWidth = e.ui->windowWidth(), in.overlayHeight = e.ui->windowHeight();
  in.viewUnderPointer = e.viewAt(e.pointer.mouseX, e.pointer.mouseY);
  in.cursorLabel = e.cursorLabelName();
  for (int i = 0; i < 4; ++i) in.viewCaptions[i] = e.viewCaption(i);
  return in;
}

void drawFrame(Editor& e) {
  if (e.animation.on) {
    const std::string why = e.poseForViews();
    if (!why.empty()) {
      leaveAnimationMode(e, why);
      e.refreshTimeline();
    }
  }
  if (e.uvMapperWidget) e.placeUvView();
  drawFrame(frameInput(e));
  DrawingState& drawing = e.drawing;
  if (!drawing.frameInPart) {
    drawing.frameInPartNoted = false;
  } else if (!drawing.frameInPartNoted) {
    drawing.frameInPartNoted = true;
    e.consoleMessage("Not enough memory to draw everything: parts of the views are left out.");
  }
}
