#include "app/editor_frame.h"

#include "app/editor.h"
#include "render/frame_draw.h"
#include "tools/animation_mode.h"

FrameInput frameInput(Editor& e) {
  FrameInput in{.doc = e.doc,
                .viewSet = e.viewSet,
                .toolState = e.toolState,
                .animation = e.animation,
                .posedModel = e.animation.posedModel,
                .pointer = e.pointer,
                .keyDown = e.keyDown,
                .textures = *e.ui->textures(),
                .drawing = e.drawing,
                .widgets = e.widgets,
                .activeMenu = e.activeMenu,
                .uvMapperWidget = e.uvMapperWidget,
                .timelineWidget = e.timelineWidget,
                .panelsShown = e.panelsShown,
                .uvViewShown = e.uvViewShown(),
                .windowWidth = e.windowWidth(),
                .windowHeight = e.windowHeight(),
                .overlayWidth = e.ui->windowWidth(),
                .overlayHeight = e.ui->windowHeight(),
                .viewUnderPointer = e.viewAt(e.pointer.mouseX, e.pointer.mouseY),
                .cursorLabel = e.cursorLabelName(),
                .viewCaptions = {}};
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
