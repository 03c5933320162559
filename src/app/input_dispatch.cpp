// Mouse input: pointer motion and button events, offered first to the panels
// (front to back) and then to the view under the pointer.
//
// dragMode transitions of the views:
//   from  event                                     to
//   0     middle press, Ctrl alone                  3 Zoom View
//   0     middle press, not the Full view           1 Scroll View
//   0     left press in the Full view               2 Rotate View (Weight Paint: 6)
//   0     left press elsewhere                      4, 6 or 0 by tool (tool gestures)
//   0     right press anywhere                      7 pop-up menu
//   1, 3  middle release                            0 (Scroll View folds its offset)
//   2     left release                              0
//   4     left release                              0, then the rubber-band selection
//   6     left release                              0, then the tool's release reaction
//   7     press outside the menu, or a menu hit     0

#include <cmath>
#include <cstdio>

#include "app/editor.h"
#include "document/undo.h"
#include "tools/selection.h"
#include "tools/tool_gestures.h"
#include "view/input_codes.h"
#include "view/view_layout.h"

namespace {
// Rows a notch of the mouse wheel scrolls a message box by.
constexpr int kWheelRows = 3;

bool ctrlAlone(int modifiers) {
  return (modifiers & kModifierMask) == kCtrl;
}

// Whether a panel is there for the pointer: shown and under it. The menu page
// is only while it is popped up; the animation panel is among the panels only
// in animation mode, and shows there whether the other panels do or not.
bool underPointer(const Editor& e, const Panel* panel) {
  const bool popupOpen = e.toolState.dragMode == kPopupMenu;
  const bool shown = panel == e.activeMenu ? popupOpen : e.panelsShown || panel == e.timelineWidget;
  return shown && !panel->isHidden() && panel->contains(e.pointer.mouseX, e.pointer.mouseY);
}
}  // namespace

void Editor::mouseMoved(int x, int y) {
  pointer.mouseX = x;
  pointer.mouseY = static_cast<int>(std::trunc(windowHeight() - y));
  ui->setMousePosition(pointer.mouseX, pointer.mouseY);
  placeUvView();
  Viewport& v = viewSet.views[viewSet.activeView];
  switch (toolState.dragMode) {
    case kScrollView:
      v.panX = (pointer.mouseX - pointer.pressX) / v.pixelWidth * (v.right - v.left) + pressPanX;
      v.panY = (pointer.mouseY - pointer.pressY) / v.pixelHeight * (v.top - v.bottom) + pressPanY;
      break;
    case kRotateView:
      v.rotY = (pointer.mouseX - pointer.pressX) * 0.3 + pressRotY;
      v.rotX = pressRotX - (pointer.mouseY - pointer.pressY) * 0.3;
      break;
    case kZoomView:
      v.zoom = (pointer.mouseY - pointer.pressY) * 0.1 + pressZoom;
      if (v.zoom < 1.0) v.zoom = 1.0;
      applyZoom(v);
      break;
    case kToolDrag:
      viewSet.sceneChanged();  // the live preview moves
      toolMotion(*this);
      break;
    default:
      break;
  }
}

void Editor::mouseButton(int button, int state) {
  ui->setButton(button, state);
  const bool press = state == kButtonDown;
  if (button == kWheelUp || button == kWheelDown) {
    // The wheel scrolls the message box under the pointer, and does nothing else.
    for (Panel* panel : widgets) {
      if (!underPointer(*this, panel)) continue;
      if (press) panel->scrollMessages(button == kWheelUp ? kWheelRows : -kWheelRows);
      break;
    }
    return;
  }

  if (toolState.dragMode == kPopupMenu && press &&
      !activeMenu->contains(pointer.mouseX, pointer.mouseY))
    toolState.dragMode = kNoDrag;

  bool taken = false;
  if (button == kRightButton && press && toolState.dragMode == kNoDrag) {
    toolState.dragMode = kPopupMenu;
    viewSet.activeView = viewAt(pointer.mouseX, pointer.mouseY);
    taken = true;
  }

  bool uvPress = false;
  for (ListNode* node = widgets.head(); node;) {
    auto* panel = static_cast<Panel*>(node->data);
    node = node->next;
    const bool takes = !taken && underPointer(*this, panel);
    if (takes) {
      taken = true;
      widgets.moveToFront(panel);
      std::printf("Clicked in %s\n", panel->name().c_str());
      if (panel->mouseButton(button, state) && panel == activeMenu) toolState.dragMode = kNoDrag;
      if (panel == uvMapperWidget && !panel->inTitleBar(pointer.mouseX, pointer.mouseY))
        uvPress = true;
    }
    if (!press) panel->buttonReleased(button);
    if (takes) break;
  }

  if (ctrlAlone(pointer.modifiers)) {
    showMenuPage(3);
  } else if (uvPress && menuPage != 0) {
    showMenuPage(0);
  } else if (!taken && menuPage != 1) {
    showMenuPage(1);
  }

  if (toolState.dragMode == kPopupMenu) {
    activeMenu->popUpAt(pointer.mouseX, pointer.mouseY);
    widgets.moveToFront(activeMenu);
  }

  if (press && !taken) ui->setFocusedEntry(nullptr);
  if (press && taken && !uvPress) return;

  Viewport* v = &viewSet.views[viewSet.activeView];
  if (button == kMiddleButton) {
    if (press && toolState.dragMode == kNoDrag) {
      viewSet.activeView = viewAt(pointer.mouseX, pointer.mouseY);
      v = &viewSet.views[viewSet.activeView];
      if (ctrlAlone(pointer.modifiers)) {
        toolState.dragMode = kZoomView;
        pointer.pressX = pointer.mouseX;
        pointer.pressY = pointer.mouseY;
        pressZoom = v->zoom;
      } else if (v->kind != kFullView) {
        toolState.dragMode = kScrollView;
        pointer.pressX = pointer.mouseX;
        pointer.pressY = pointer.mouseY;
        pressPanX = v->panX;
        pressPanY = v->panY;
      }
    } else if (!press && toolState.dragMode == kScrollView) {
      v->left -= v->panX;
      v->right -= v->panX;
      v->bottom -= v->panY;
      v->top -= v->panY;
      v->panX = v->panY = 0;
      toolState.dragMode = kNoDrag;
    } else if (!press && toolState.dragMode == kZoomView) {
      toolState.dragMode = kNoDrag;
    }
  } else if (button == kLeftButton) {
    if (press && toolState.dragMode == kNoDrag) {
      viewSet.activeView = viewAt(pointer.mouseX, pointer.mouseY);
      v = &viewSet.views[viewSet.activeView];
      // Weight Paint paints in the Full view too, which then does not turn.
      if (v->kind == kFullView && toolState.tool != kWeightPaint) {
        std::printf("Rotating on %d.\n", viewSet.activeView);
        toolState.dragMode = kRotateView;
        pointer.pressX = pointer.mouseX;
        pointer.pressY = pointer.mouseY;
        pressRotX = v->rotX;
        pressRotY = v->rotY;
      } else {
        pointer.pressX = pointer.mouseX;
        pointer.pressY = pointer.mouseY;
        viewSet.sceneChanged();
        runEdit(doc, [this] { toolPress(*this); });
      }
    } else if (!press && toolState.dragMode == kRotateView) {
      toolState.dragMode = kNoDrag;
    } else if (!press && toolState.dragMode == kRubberBand) {
      toolState.dragMode = kNoDrag;
      double ha = v->viewX(pointer.pressX), va = v->viewY(pointer.pressY);
      double hb = v->viewX(pointer.mouseX), vb = v->viewY(pointer.mouseY);
      std::printf("make selection on %d from [%lf %lf] -> [%lf %lf]\n", viewSet.activeView, ha, va,
                  hb, vb);
      viewSet.sceneChanged();
      selectInRect(*this, ha, va, hb, vb);
    } else if (!press && toolState.dragMode == kToolDrag) {
      viewSet.sceneChanged();
      toolState.dragMode = kNoDrag;
      runEdit(doc, [this] { toolRelease(*this); });
    }
  }
}
