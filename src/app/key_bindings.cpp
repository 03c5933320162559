// Keyboard bindings. Character keys go to the focused text entry when there is
// one; function, arrow and page keys always reach the editor. Modifier tests
// look only at Shift, Ctrl and Alt, so lock keys never disable a binding.

#include <cstdio>

#include "app/editor.h"
#include "app/input_codes.h"
#include "document/undo.h"
#include "formats/model_file.h"
#include "recovery/recovery_session.h"
#include "tools/animation_mode.h"
#include "tools/animation_rules.h"
#include "tools/creation.h"
#include "tools/fit_views.h"
#include "tools/polygon_ops.h"
#include "tools/selection.h"
#include "tools/spline_tool.h"
#include "tools/tool_menu.h"
#include "tools/transforms.h"
#include "view/view_layout.h"

namespace {

constexpr unsigned char kEscape = 27;

int heldModifiers(int modifiers) {
  return modifiers & kModifierMask;
}

// With Ctrl held, GLUT delivers letters as control codes (Ctrl+S arrives as
// 19, Ctrl+/ as 31). Only those two reach a binding, and only with Ctrl alone:
// every other control code finds none, so Ctrl+C, Ctrl+V or Ctrl+Z typed out
// of habit leave the model and the tool as they are.
unsigned char keyUnderCtrl(unsigned char key, int modifiers) {
  if (heldModifiers(modifiers) != kCtrl) return key;
  if (key == 19) return 's';
  if (key == 31) return '/';
  return key;
}

void saveModel(Editor& e, bool announceSuccess) {
  if (save(*e.doc.model)) {
    modelSaved(e.recovery);
    if (announceSuccess) e.consoleMessage("Model saved!");
  } else {
    e.consoleMessage("Error! Model failed to save!");
  }
}

struct KeyBinding {
  unsigned char key;
  void (*action)(Editor&);
};

const KeyBinding kKeyBindings[] = {
    {8, [](Editor& e) { deselectAll(e); }},
    {' ',
     [](Editor& e) {
       e.tool = (e.tool == kSelectVertex)    ? kSelectPolygon
                : (e.tool == kSelectPolygon) ? kSelectBone
                                             : kSelectVertex;
     }},
    {'/',
     [](Editor& e) {
       if (heldModifiers(e.modifiers) == kCtrl) arrangeWidgets(e);
     }},
    {'B', assignSelectedPolygonsToBone},
    {'R',
     [](Editor& e) {
       e.activeView = e.viewAt(e.mouseX, e.mouseY);
       if (modeRule(e, ModeRule::kKey, 'R')) {
         rotatePose(e, 1.5707963267948966);
       } else {
         rotateSelection(e, 1.5707963267948966);
       }
     }},
    {'`', [](Editor& e) { clampAllVertices(e); }},
    {'A', [](Editor& e) { toggleAnimationMode(e); }},
    {'a', [](Editor& e) { fitViews(e); }},
    {'b', [](Editor& e) { e.tool = kCreateBox; }},
    {'c', [](Editor& e) { e.tool = kCreateCylinder; }},
    {'d', [](Editor& e) { duplicateSelection(e); }},
    {'e', [](Editor& e) { e.tool = kExtrude; }},
    {'f', [](Editor& e) { flipSelectedPolygons(e); }},
    {'m', [](Editor& e) { e.tool = kMove; }},
    {'n', [](Editor& e) { weldSelectedVertices(e); }},
    {'o', [](Editor& e) { orientPolygonsOutward(e); }},
    {'p', [](Editor& e) { createPolygonFromSelection(e); }},
    {'q', [](Editor& e) { e.tool = kCreateSpline; }},
    {'r', [](Editor& e) { e.tool = kRotate; }},
    {'s',
     [](Editor& e) {
       if (heldModifiers(e.modifiers) == kCtrl) {
         saveModel(e, false);
       } else {
         e.tool = (e.tool == kScale2D) ? kScale3D : kScale2D;
       }
     }},
    {'v', [](Editor& e) { e.tool = kAddVertex; }},
    {'w', [](Editor& e) { revolveSpline(e); }},
    {'x', [](Editor& e) { e.tool = kAddBone; }},
    {'z', [](Editor& e) { undo(e.doc); }},
    {'Z', [](Editor& e) { redo(e.doc); }},
    {127,
     [](Editor& e) {
       if (e.tool == kCreateSpline) {
         clearSpline(e);
       } else {
         deleteSelection(e);
       }
     }},
};

}  // namespace

void Editor::keyPressed(unsigned char key, int, int) {
  if (TextEntry* entry = ui->focusedEntry()) {
    // Escape gives the keys back to the views; what was typed stays there.
    if (key == kEscape) {
      ui->setFocusedEntry(nullptr);
    } else {
      entry->typeKey(key);
    }
    return;
  }
  sceneChanged();
  key = keyUnderCtrl(key, modifiers);
  if (refusedByMode(*this, ModeRule::kKey, key)) return;
  for (const KeyBinding& binding : kKeyBindings) {
    if (binding.key == key) {
      runEdit(doc, [&] { binding.action(*this); });
      return;
    }
  }
}

void Editor::specialKeyPressed(int key, int, int) {
  const int held = heldModifiers(modifiers);
  Viewport& under = views[viewAt(mouseX, mouseY)];
  if (specialKeyChangesScene(key)) sceneChanged();
  switch (key) {
    case kKeyF1:
      if (held == kShift) {
        selectAllVertices(*this);
      } else if (held == kCtrl) {
        doc.selectedVertices.clear();
      } else {
        tool = kSelectVertex;
      }
      break;
    case kKeyF2:
      if (held == kShift) {
        selectAllPolygons(*this);
      } else if (held == kCtrl) {
        deselectPolygons(*this);
      } else {
        tool = kSelectPolygon;
      }
      break;
    case kKeyF3:
      if (held == kShift && doc.model->hasSkeleton) {
        doc.selectedBone = doc.model->rootBone();
      } else if (held == kCtrl) {
        doc.selectedBone = nullptr;
      } else {
        tool = kSelectBone;
      }
      break;
    case kKeyF4:
      singleView = (singleView + 1) % 4;
      if (layoutMode == 0) layoutViews();
      break;
    case kKeyF5:
      saveModel(*this, true);
      break;
    case kKeyF8:
      layoutMode = (layoutMode == 1) ? 0 : 1;
      layoutViews();
      break;
    case kKeyF9:
      showGrid = !showGrid;
      break;
    case kKeyLeft:
      scrollViewBy(-keyScrollStep, 0, under);
      break;
    case kKeyUp:
      scrollViewBy(0, keyScrollStep, under);
      break;
    case kKeyRight:
      scrollViewBy(keyScrollStep, 0, under);
      break;
    case kKeyDown:
      scrollViewBy(0, -keyScrollStep, under);
      break;
    case kKeyPageUp:
      zoomViewBy(keyScrollStep, under);
      break;
    case kKeyPageDown:
      zoomViewBy(-keyScrollStep, under);
      break;
    case kKeyHome:
      panelsShown = !panelsShown;
      // Keys typed afterwards belong to the editor, not to a hidden prompt.
      if (!panelsShown) ui->setFocusedEntry(nullptr);
      break;
    default:
      break;
  }
}
