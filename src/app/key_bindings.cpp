// Keyboard bindings. Character keys go to the focused text entry when there is
// one; function, arrow and page keys always reach the editor. Modifier tests
// look only at Shift, Ctrl and Alt, so lock keys never disable a binding.

#include <cstdio>

#include "app/editor.h"
#include "console/modelling_commands.h"
#include "document/undo.h"
#include "formats/model_file.h"
#include "recovery/recovery_session.h"
#include "tools/animation_mode.h"
#include "tools/animation_rules.h"
#include "tools/creation.h"
#include "tools/fit_views.h"
#include "tools/mirror.h"
#include "tools/polygon_ops.h"
#include "tools/selection.h"
#include "tools/snapping.h"
#include "tools/spline_tool.h"
#include "tools/tool_menu.h"
#include "tools/transforms.h"
#include "tools/unwrap.h"
#include "tools/uv_projection.h"
#include "tools/weight_paint.h"
#include "view/input_codes.h"
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

// The projections of the keys, in the view under the pointer.
void project(Editor& e, Projection how) {
  const Viewport& view = e.viewSet.views[e.viewSet.activeView];
  projectSelection(e, how, view, textureSizeFor(e.commands()));
}

struct KeyBinding {
  unsigned char key;
  void (*action)(Editor&);
};

const KeyBinding kKeyBindings[] = {
    {8, [](Editor& e) { deselectAll(e); }},
    {' ',
     [](Editor& e) {
       e.toolState.tool = (e.toolState.tool == kSelectVertex)    ? kSelectPolygon
                          : (e.toolState.tool == kSelectPolygon) ? kSelectBone
                                                                 : kSelectVertex;
     }},
    {'/',
     [](Editor& e) {
       if (heldModifiers(e.pointer.modifiers) == kCtrl) e.arrangeWidgets();
     }},
    {'B', [](Editor& e) { assignSelectedPolygonsToBone(e); }},
    {'R',
     [](Editor& e) {
       e.viewSet.activeView = e.viewAt(e.pointer.mouseX, e.pointer.mouseY);
       if (modeRule(e, ModeRule::kKey, 'R')) {
         rotatePose(e, 1.5707963267948966);
       } else {
         rotateSelection(e, 1.5707963267948966);
       }
     }},
    {'`', [](Editor& e) { clampAllVertices(e); }},
    {'A', [](Editor& e) { toggleAnimationMode(e); }},
    {'a', [](Editor& e) { fitViews(e); }},
    {'b', [](Editor& e) { e.toolState.tool = kCreateBox; }},
    {'c', [](Editor& e) { e.toolState.tool = kCreateCylinder; }},
    {'d', [](Editor& e) { duplicateSelection(e); }},
    {'e', [](Editor& e) { e.toolState.tool = kExtrude; }},
    {'f', [](Editor& e) { flipSelectedPolygons(e); }},
    {'h', [](Editor& e) { project(e, Projection::kSphere); }},
    {'H', [](Editor& e) { project(e, Projection::kView); }},
    {'i', [](Editor& e) { subdivideSelection(e); }},
    {'j', [](Editor& e) { markSeamsOfSelection(e); }},
    {'M', [](Editor& e) { toggleMirror(e); }},
    {'T',
     [](Editor& e) {
       e.viewSet.showReferenceImages = !e.viewSet.showReferenceImages;
       e.viewSet.sceneChanged();
     }},
    {'X',
     [](Editor& e) {
       const ToolState& s = e.toolState;
       symmetrize(e, s.mirrorAxis >= 0 ? s.mirrorAxis : s.lastMirrorAxis, /*negative=*/false);
     }},
    {'N', [](Editor& e) { mergeSelectedVertices(e, e.toolState.mergeDistance); }},
    {'g', [](Editor& e) { toggleSnapping(e.toolState.snapping); }},
    {'m', [](Editor& e) { e.toolState.tool = kMove; }},
    {'n', [](Editor& e) { weldSelectedVertices(e); }},
    {'o', [](Editor& e) { orientPolygonsOutward(e); }},
    {'p', [](Editor& e) { createPolygonFromSelection(e); }},
    {'q', [](Editor& e) { e.toolState.tool = kCreateSpline; }},
    {'r', [](Editor& e) { e.toolState.tool = kRotate; }},
    {'s',
     [](Editor& e) {
       if (heldModifiers(e.pointer.modifiers) == kCtrl) {
         saveModel(e, false);
       } else {
         e.toolState.tool = (e.toolState.tool == kScale2D) ? kScale3D : kScale2D;
       }
     }},
    {'u', [](Editor& e) { unwrapSelection(e, kDefaultUnwrapAngle, textureSizeFor(e.commands())); }},
    {'U', [](Editor& e) { packCommand(e.commands(), {"/pack"}); }},
    {'v', [](Editor& e) { e.toolState.tool = kAddVertex; }},
    {'w', [](Editor& e) { revolveSpline(e); }},
    {'x', [](Editor& e) { e.toolState.tool = kAddBone; }},
    {'W', [](Editor& e) { chooseWeightPaint(e); }},
    {'y', [](Editor& e) { project(e, Projection::kBox); }},
    {'Y', [](Editor& e) { project(e, Projection::kCylinder); }},
    {'z', [](Editor& e) { undo(e.doc); }},
    {'Z', [](Editor& e) { redo(e.doc); }},
    {127,
     [](Editor& e) {
       if (e.toolState.tool == kCreateSpline) {
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
  viewSet.sceneChanged();
  key = keyUnderCtrl(key, pointer.modifiers);
  if (refusedByMode(*this, ModeRule::kKey, key)) return;
  for (const KeyBinding& binding : kKeyBindings) {
    if (binding.key == key) {
      runEdit(doc, [&] { binding.action(*this); });
      return;
    }
  }
}

void Editor::specialKeyPressed(int key, int, int) {
  const int held = heldModifiers(pointer.modifiers);
  Viewport& under = viewSet.views[viewAt(pointer.mouseX, pointer.mouseY)];
  if (specialKeyChangesScene(key)) viewSet.sceneChanged();
  switch (key) {
    case kKeyF1:
      if (held == kShift) {
        selectAllVertices(*this);
      } else if (held == kCtrl) {
        doc.selectedVertices.clear();
      } else {
        toolState.tool = kSelectVertex;
      }
      break;
    case kKeyF2:
      if (held == kShift) {
        selectAllPolygons(*this);
      } else if (held == kCtrl) {
        deselectPolygons(*this);
      } else {
        toolState.tool = kSelectPolygon;
      }
      break;
    case kKeyF3:
      if (held == kShift && doc.model->hasSkeleton) {
        doc.selectedBone = doc.model->rootBone();
      } else if (held == kCtrl) {
        doc.selectedBone = nullptr;
      } else {
        toolState.tool = kSelectBone;
      }
      break;
    case kKeyF4:
      viewSet.singleView = (viewSet.singleView + 1) % 4;
      if (viewSet.layoutMode == 0) layoutViews();
      break;
    case kKeyF5:
      saveModel(*this, true);
      break;
    case kKeyF8:
      viewSet.layoutMode = (viewSet.layoutMode == 1) ? 0 : 1;
      layoutViews();
      break;
    case kKeyF9:
      viewSet.showGrid = !viewSet.showGrid;
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
