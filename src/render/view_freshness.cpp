#include "render/view_freshness.h"

#include "model/skeleton.h"
#include "render/frame_input.h"
#include "tools/menu_command.h"
#include "view/input_codes.h"

bool weightsShown(const FrameInput& e) {
  // Animation mode refuses the tool, but a held 'k' shows the posed mesh's weights.
  return e.doc.model->hasSkeleton && e.doc.selectedBone &&
         ((e.toolState.tool == kWeightPaint && !e.animation.on) || e.keyDown[int{'k'}]);
}

ViewContent viewContent(const FrameInput& e, int i) {
  const Viewport& v = e.viewSet.views[i];
  ViewContent c;
  c.sceneRevision = e.viewSet.sceneRevision;
  c.kind = v.kind;
  c.renderMode = v.renderMode;
  c.showGrid = e.viewSet.showGrid;
  // Held 'l' draws the normals of the last group; held 'k' the bone links.
  const PolygonGroup* last = e.doc.model->groups.tailItem();
  c.normalsHeld = e.keyDown[int{'l'}] && last && !last->polygons.empty();
  c.boneLinksHeld = e.keyDown[int{'k'}] && e.doc.model->hasSkeleton && e.doc.model->rootBone();
  c.weightsShown = weightsShown(e);
  c.batchDrawing = e.drawing.batchDrawing;
  const bool scrolling = i == e.viewSet.activeView && e.toolState.dragMode == kScrollView;
  const double panX = scrolling ? v.panX : 0, panY = scrolling ? v.panY : 0;
  c.left = v.left - panX, c.right = v.right - panX;
  c.bottom = v.bottom - panY, c.top = v.top - panY;
  if (v.kind == kFullView) c.rotX = v.rotX, c.rotY = v.rotY, c.rotZ = v.rotZ, c.pivot = v.pivot;
  c.depth = v.depth;
  c.rectLeft = v.rectLeft, c.rectBottom = v.rectBottom;
  c.rectRight = v.rectRight, c.rectTop = v.rectTop;
  if (v.kind == kUvView) {
    c.uvTexture = e.viewSet.showUvTexture ? e.viewSet.uvTexture : 0;
    c.renderMode = c.showGrid = c.normalsHeld = c.boneLinksHeld = c.weightsShown = 0;
  }
  return c;
}

bool menuCommandChangesScene(int code) {
  const bool renderMode = code >= kRenderWireframe && code <= kRenderTextured;
  const bool toolChoice = code >= kChooseSelectVertex && code <= kChooseExtrude;
  const bool panelControl = code >= 0 && code < kRenderWireframe;
  return !(renderMode || toolChoice || panelControl);
}

bool specialKeyChangesScene(int key) {
  switch (key) {
    case kKeyF4:  // the one-view layout's view
    case kKeyF5:  // save
    case kKeyF8:  // layout
    case kKeyF9:  // grid
    case kKeyLeft:
    case kKeyUp:
    case kKeyRight:
    case kKeyDown:
    case kKeyPageUp:
    case kKeyPageDown:
    case kKeyHome:  // panels
      return false;
    default:
      // Shift, Ctrl and Alt pressed alone do nothing.
      return !(key >= 112 && key <= 116);
  }
}
